#include "app/FileDialog.h"

#include "app/ScreenPlacement.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

FileDialog::FileDialog(QWidget* parent)
    : QFileDialog(parent)
{
    // Typed names are read from the name box of Qt's own dialog; a desktop's
    // native dialog has none to read.
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::ExistingFiles);
    m_nameBox = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    m_list = findChild<QListView*>(QStringLiteral("listView"));
    const auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    m_openButton = buttons ? buttons->button(QDialogButtonBox::Open) : nullptr;
    Q_ASSERT(m_nameBox && m_list && m_openButton);
    m_openButton->installEventFilter(this);
}

void FileDialog::setNameBoxText(const QString& text)
{
    m_nameBox->setText(text);
    m_nameBox->selectAll();
}

// The names in the name box, made full paths within the folder shown: each
// text between double quotes is one name; without quotes the whole text is.
QStringList FileDialog::typedNames() const
{
    const QString text = m_nameBox->text();
    QStringList names;
    if (!text.contains(u'"')) {
        if (!text.trimmed().isEmpty())
            names << text;
    } else {
        const QStringList parts = text.split(u'"');
        for (qsizetype i = 1; i < parts.size(); i += 2) {
            if (!parts[i].isEmpty())
                names << parts[i];
        }
    }
    const QDir folder = directory();
    for (QString& name : names)
        name = QDir::cleanPath(folder.absoluteFilePath(name));
    return names;
}

void FileDialog::accept()
{
    // Files picked with the mouse are Qt's own selection, which the name box
    // only echoes; text typed there wins, and Qt would drop the names of
    // files that do not exist, or even some that do.
    const bool picked = !m_nameBox->isModified() && m_list->selectionModel()->hasSelection();
    const QStringList names = picked ? selectedFiles() : typedNames();
    if (names.isEmpty())
        return;
    for (const QString& name : names) {
        const QFileInfo info(name);
        if (info.isDir()) {
            setDirectory(info.absoluteFilePath());
            m_nameBox->clear();
            return;
        }
    }
    m_chosen = names;
    Q_EMIT filesSelected(m_chosen);
    QDialog::accept();
}

void FileDialog::showEvent(QShowEvent* event)
{
    QFileDialog::showEvent(event);
    placeOnScreen(this, parentWidget(), 3);
}

// Qt disables "Open" while a typed name does not exist; here any name in
// the name box can be opened.
bool FileDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_openButton && event->type() == QEvent::EnabledChange && !m_openButton->isEnabled()
        && !m_nameBox->text().trimmed().isEmpty())
        m_openButton->setEnabled(true);
    return QFileDialog::eventFilter(watched, event);
}
