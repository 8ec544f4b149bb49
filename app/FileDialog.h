#pragma once

#include <QFileDialog>

class QLineEdit;
class QListView;
class QPushButton;

// The dialog that adds files to the list: Qt's widget file dialog for
// several files, except that it takes every name typed into its name box,
// whether the file exists or not, in the order typed, and that it opens in
// the upper middle of the monitor that shows its parent.
class FileDialog : public QFileDialog {
    Q_OBJECT
public:
    explicit FileDialog(QWidget* parent);

    // Shows a text in the name box, selected so that typing replaces it.
    void setNameBoxText(const QString& text);
    // The full paths the dialog was accepted with, in the order they were
    // typed or picked; empty until then.
    QStringList chosenFiles() const { return m_chosen; }

protected:
    void accept() override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QStringList typedNames() const;

    QLineEdit* m_nameBox;
    QListView* m_list;
    QPushButton* m_openButton;
    QStringList m_chosen;
};
