#include "dialogs/FileDialog.h"

#include "dialogs/CachingIconProvider.h"
#include "dialogs/ScreenPlacement.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QMetaMethod>
#include <QPushButton>
#include <QSet>
#include <QSignalBlocker>
#include <QTreeView>

#include <algorithm>

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
    // Qt's dialog shows its only filter, "All Files (*)", by matching the
    // pattern * against every file's name, twice, while it lists and sorts a
    // folder; without any pattern its model takes every file just the same.
    m_model->setNameFilters({});
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

// Calls `visit` with each row whose every column is selected, once, in the
// order QItemSelectionModel::selectedRows() gives them, without testing
// every cell of every row as it does, and with the row's parent; stops when
// `visit` returns false.
void FileDialog::forEachSelectedRow(
    const std::function<bool(const QModelIndex& row, const QModelIndex& folder)>& visit) const
{
    const QItemSelectionModel* model = m_list->selectionModel();
    const QItemSelection selection = model->selection();
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
            if ((wholeRows || model->isRowSelected(row, parent)) && !visit(m_model->index(row, 0, parent), parent))
                return;
        }
    }
}

void FileDialog::selectionChanged()
{
    // The selected files' names, each quoted when there are several, as
    // Qt's dialog writes them. The name box keeps no more than its maximum
    // length, so the text can stop there: a select-all of a big folder looks
    // at the files that fit, not at every file selected.
    QString first;
    QString text;
    forEachSelectedRow([&](const QModelIndex& row, const QModelIndex&) {
        if (m_model->isDir(row))
            return true;
        const QString name = row.data().toString();
        if (first.isNull()) {
            first = name;
            return true;
        }
        if (text.isEmpty())
            text = u'"' + first + u'"';
        text += QStringLiteral(" \"") + name + u'"';
        return text.size() <= m_nameBox->maxLength();
    });
    if (text.isEmpty())
        text = first;
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

namespace {

// A file's path as the file system names it, made of its folder's path in
// those bytes and its name. Most names are ASCII, which needs no encoder.
std::string pathOf(const std::string& folder, const QString& name)
{
    std::string path;
    const bool ascii = std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (!ascii) {
        const QByteArray bytes = QFile::encodeName(name);
        path.reserve(folder.size() + std::size_t(bytes.size()));
        path += folder;
        path.append(bytes.constData(), std::size_t(bytes.size()));
        return path;
    }
    path.reserve(folder.size() + std::size_t(name.size()));
    path += folder;
    for (QChar c : name)
        path += char(c.unicode());
    return path;
}

} // namespace

void FileDialog::accept()
{
    // Files picked with the mouse are Qt's own selection, which the name box
    // only echoes; text typed there wins, and Qt would drop the names of
    // files that do not exist, or even some that do.
    const bool picked = !m_nameBox->isModified() && m_list->selectionModel()->hasSelection();
    std::vector<std::string> paths;
    QString folderToOpen;
    if (picked) {
        // Read from the selection directly: selectedFiles() makes a URL of
        // every path and back, and the model assembles each path from the
        // names of all the folders above it. A file's path is its folder's
        // path and its name.
        QModelIndex folder;
        std::string folderPath;
        forEachSelectedRow([&](const QModelIndex& row, const QModelIndex& parent) {
            if (m_model->isDir(row)) {
                const QString path = m_model->filePath(row);
                paths.push_back(QFile::encodeName(path).toStdString());
                if (folderToOpen.isEmpty())
                    folderToOpen = QFileInfo(path).absoluteFilePath();
                return true;
            }
            if (parent != folder || folderPath.empty()) {
                folder = parent;
                folderPath = QFile::encodeName(m_model->filePath(folder)).toStdString();
                if (folderPath.empty() || folderPath.back() != '/')
                    folderPath += '/';
            }
            paths.push_back(pathOf(folderPath, m_model->fileName(row)));
            return true;
        });
    } else {
        const QStringList names = typedNames();
        for (const QString& name : names) {
            paths.push_back(QFile::encodeName(name).toStdString());
            const QFileInfo info(name);
            if (folderToOpen.isEmpty() && info.isDir())
                folderToOpen = info.absoluteFilePath();
        }
    }
    if (paths.empty())
        return;
    if (!folderToOpen.isEmpty()) {
        setDirectory(folderToOpen);
        m_nameBox->clear();
        return;
    }
    m_chosen = std::move(paths);
    // The paths as texts only for whoever listens: a hundred thousand of
    // them cost as much as the list's own rows.
    if (isSignalConnected(QMetaMethod::fromSignal(&QFileDialog::filesSelected))) {
        QStringList files;
        files.reserve(qsizetype(m_chosen.size()));
        for (const std::string& path : m_chosen)
            files << QFile::decodeName(QByteArray::fromStdString(path));
        Q_EMIT filesSelected(files);
    }
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
