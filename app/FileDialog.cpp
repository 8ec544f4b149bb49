#include "app/FileDialog.h"

#include "app/CachingIconProvider.h"
#include "app/ScreenPlacement.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSet>
#include <QSignalBlocker>
#include <QTreeView>

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
    m_model = findChild<QFileSystemModel*>();
    Q_ASSERT(m_nameBox && m_list && m_openButton && m_model);
    m_openButton->installEventFilter(this);
    setIconProvider(CachingIconProvider::shared());
    // The detail view measures every row from the top down to the end of a
    // changed selection to repaint it, laying out each row's texts, unless
    // it knows that all rows are equally high, as they are here.
    if (auto* details = findChild<QTreeView*>(QStringLiteral("treeView")))
        details->setUniformRowHeights(true);
    takeOverSelectionHandlers();
}

// On every change of the selection or of the current file, Qt's dialog
// (QFileDialogPrivate::_q_selectionChanged and _q_currentChanged) writes the
// names of all selected files into the name box and then, through
// _q_updateOkButton, looks each selected file up in the folder's model by
// its path, a search along the folder's files each time: a select-all of
// 100,000 files took over half a minute. The dialog answers both changes itself,
// with the same name box text and the same state of "Open", in time linear
// in the selection.
void FileDialog::takeOverSelectionHandlers()
{
    if (m_list->model() != m_model)
        return; // a proxy model stands between them: Qt's handlers stay
    QItemSelectionModel* selection = m_list->selectionModel();
    const bool selectionTaken = disconnect(selection, SIGNAL(selectionChanged(QItemSelection, QItemSelection)), this,
                                           SLOT(_q_selectionChanged()));
    const bool currentTaken = disconnect(selection, SIGNAL(currentChanged(QModelIndex, QModelIndex)), this,
                                         SLOT(_q_currentChanged(QModelIndex)));
    if (selectionTaken != currentTaken) {
        // Half replaced would be worse than Qt's own: Qt's come back.
        connect(selection, SIGNAL(selectionChanged(QItemSelection, QItemSelection)), this, SLOT(_q_selectionChanged()));
        connect(selection, SIGNAL(currentChanged(QModelIndex, QModelIndex)), this, SLOT(_q_currentChanged(QModelIndex)));
        return;
    }
    m_answersSelection = selectionTaken;
    if (!m_answersSelection)
        return;
    connect(selection, &QItemSelectionModel::selectionChanged, this, &FileDialog::selectionChanged);
    connect(selection, &QItemSelectionModel::currentChanged, this, &FileDialog::currentChanged);
}

// The rows whose every column is selected, each once, in the order
// QItemSelectionModel::selectedRows() gives them, without testing every cell
// of every row as it does; `folders`, when given, gets each row's parent.
QModelIndexList FileDialog::selectedRows(QModelIndexList* folders) const
{
    const QItemSelectionModel* model = m_list->selectionModel();
    const QItemSelection selection = model->selection();
    QModelIndexList rows;
    QSet<QPair<QModelIndex, int>> seen;
    for (const QItemSelectionRange& range : selection) {
        const QModelIndex parent = range.parent();
        const bool wholeRows = range.left() == 0 && range.right() == m_model->columnCount(parent) - 1;
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (selection.size() > 1) {
                const qsizetype before = seen.size();
                seen.insert({parent, row});
                if (seen.size() == before)
                    continue;
            }
            if (wholeRows || model->isRowSelected(row, parent)) {
                rows.append(m_model->index(row, 0, parent));
                if (folders)
                    folders->append(parent);
            }
        }
    }
    return rows;
}

void FileDialog::selectionChanged()
{
    // The selected files' names, each quoted when there are several, as
    // Qt's dialog writes them; the name box keeps no more than its maximum
    // length, so the text can stop there.
    const QModelIndexList rows = selectedRows();
    qsizetype files = 0;
    for (const QModelIndex& row : rows)
        files += m_model->isDir(row) ? 0 : 1;
    QString text;
    for (const QModelIndex& row : rows) {
        if (text.size() > m_nameBox->maxLength())
            break;
        if (m_model->isDir(row))
            continue;
        if (!text.isEmpty())
            text += u' ';
        const QString name = row.data().toString();
        text += files > 1 ? u'"' + name + u'"' : name;
    }
    if (!text.isEmpty() && !m_nameBox->hasFocus() && m_nameBox->isVisible()) {
        // Qt's handlers of a changed name would look every name up again;
        // they would only select what is selected already.
        const QSignalBlocker quiet(m_nameBox);
        m_nameBox->setText(text);
    }
    updateOpenButton();
}

void FileDialog::currentChanged(const QModelIndex& current)
{
    updateOpenButton();
    Q_EMIT QFileDialog::currentChanged(current.data(QFileSystemModel::FilePathRole).toString());
}

void FileDialog::updateOpenButton()
{
    // Selected rows are files and folders the folder's model holds, for
    // which Qt enables "Open"; without a selection Qt judges typed names.
    if (m_list->selectionModel()->hasSelection())
        m_openButton->setEnabled(true);
    else
        QMetaObject::invokeMethod(this, "_q_updateOkButton", Qt::DirectConnection);
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
    QStringList names;
    QString folderToOpen;
    if (picked) {
        // Read from the selection directly: selectedFiles() makes a URL of
        // every path and back, and the model assembles each path from the
        // names of all the folders above it. A file's path is its folder's
        // path and its name.
        QModelIndexList folders;
        const QModelIndexList rows = selectedRows(&folders);
        names.reserve(rows.size());
        QModelIndex folder;
        QString folderPath;
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const QModelIndex& row = rows[i];
            if (m_model->isDir(row)) {
                names << m_model->filePath(row);
                if (folderToOpen.isEmpty())
                    folderToOpen = QFileInfo(names.back()).absoluteFilePath();
                continue;
            }
            if (folders[i] != folder || folderPath.isEmpty()) {
                folder = folders[i];
                folderPath = m_model->filePath(folder);
                if (!folderPath.endsWith(u'/'))
                    folderPath += u'/';
            }
            names << folderPath + m_model->fileName(row);
        }
    } else {
        names = typedNames();
        for (const QString& name : std::as_const(names)) {
            const QFileInfo info(name);
            if (info.isDir()) {
                folderToOpen = info.absoluteFilePath();
                break;
            }
        }
    }
    if (names.isEmpty())
        return;
    if (!folderToOpen.isEmpty()) {
        setDirectory(folderToOpen);
        m_nameBox->clear();
        return;
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
