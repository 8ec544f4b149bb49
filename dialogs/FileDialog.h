#pragma once

#include <QFileDialog>
#include <QModelIndexList>

#include <functional>
#include <string>
#include <vector>

class QFileSystemModel;
class QLineEdit;
class QListView;
class QPushButton;

// The dialog that adds files to the list: Qt's widget file dialog for
// several files, except that it takes every name typed into its name box,
// whether the file exists or not, in the order typed, that it opens in the
// upper middle of the monitor that shows its parent, and that it stays quick
// when every file of a folder of 100,000 is selected.
class FileDialog : public QFileDialog {
    Q_OBJECT
public:
    explicit FileDialog(QWidget* parent);

    // Shows a text in the name box, selected so that typing replaces it.
    void setNameBoxText(const QString& text);
    // Hands over the full paths the dialog was accepted with, as the bytes
    // the file system names them by, in the order they were typed or
    // picked; empty until then, and once handed over.
    std::vector<std::string> takeChosenPaths() { return std::move(m_chosen); }

    // Whether the dialog answers changes of the selection itself; false when
    // the Qt in use names its handlers differently, and a select-all of a
    // big folder is then as slow as in Qt's own dialog.
    bool answersSelectionChanges() const { return m_answersSelection; }

protected:
    void accept() override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void takeOverSelectionHandlers();
    void selectionChanged();
    void currentChanged(const QModelIndex& current);
    void updateOpenButton();
    void forEachSelectedRow(const std::function<bool(const QModelIndex& row, const QModelIndex& folder)>& visit) const;
    QStringList typedNames() const;

    QLineEdit* m_nameBox;
    QListView* m_list;
    QPushButton* m_openButton;
    QFileSystemModel* m_model;
    bool m_answersSelection = false;
    std::vector<std::string> m_chosen;
};
