// The list's own handlers and the commands that act on the whole list.
#include "app/Unit1.h"

#include "app/ErrorDisplay.h"
#include "app/NumberBox.h"
#include "app/UserDialogs.h"
#include "filelist/ListCommands.h"

#include <QCheckBox>
#include <QFile>
#include <QPainter>
#include <QRadioButton>

namespace {

const QColor TintColour(204, 234, 255);

} // namespace

void TForm1::runCommand(const std::function<void()>& command)
{
    try {
        command();
    } catch (const std::exception& error) {
        showError(error.what());
    } catch (...) {
        showError("Unknown error");
    }
}

void TForm1::showError(std::string_view message)
{
    m_dialogs->showMessage(this, errorDisplayText(message), UserDialogs::Icon::Error);
}

void TForm1::VTGetText(TVirtualStringTree* sender, ListRow* node, int column, CellTextType,
                       QString& cellText)
{
    const FileEntry* entry = sender->RowData(node);
    if (!entry)
        return;
    switch (column) {
    case 0: cellText = QString::fromStdString(entry->OldName); break;
    case 1: cellText = QString::fromStdString(entry->NewName); break;
    case 2: cellText = QString::fromStdString(entry->FilePath); break;
    default: break;
    }
}

void TForm1::VTInitNode(TVirtualStringTree*, ListRow*, ListRow* node, InitStates&)
{
    node->CheckType = ctCheckBox;
}

// A row whose proposed name differs from its current name, by even one
// byte, is tinted; painting never fails because of it.
void TForm1::VTBeforeCellPaint(TVirtualStringTree* sender, QPainter* targetCanvas, ListRow* node, int,
                               PaintMode, const QRect& cellRect, QRect&)
{
    try {
        const FileEntry* entry = sender->RowData(node);
        if (targetCanvas && entry && entry->OldName != entry->NewName)
            targetCanvas->fillRect(cellRect, TintColour);
    } catch (...) {
    }
}

void TForm1::edFirstKeyPress(NumberBox*, QChar& key)
{
    if (!NumberBox::isAllowedTypedChar(key))
        key = QChar(0);
}

void TForm1::addFiles(const std::vector<std::string>& paths)
{
    appendFiles(*VT, paths, cbInclude->isChecked() ? EntryForm::Joined : EntryForm::Split);
}

void TForm1::BitBtn1Click()
{
    const std::vector<std::string> paths = m_dialogs->chooseFiles(this, m_lastChosenFile);
    if (paths.empty())
        return;
    m_lastChosenFile = QFile::decodeName(QByteArray::fromStdString(paths.front()));
    addFiles(paths);
}

void TForm1::BitBtn3Click()
{
    resetNames(*VT);
}

void TForm1::BitBtn4Click()
{
    VT->ClearRows();
}

void TForm1::BitBtn5Click()
{
    close();
}

void TForm1::cbIncludeClick()
{
    convertEntries(*VT, [this] { return cbInclude->isChecked() ? EntryForm::Joined : EntryForm::Split; });
}

void TForm1::RadioClick()
{
    applyCheckCommand(*VT, [this] {
        if (rbCheck->isChecked())
            return CheckCommand::CheckAll;
        if (rbUncheck->isChecked())
            return CheckCommand::UncheckAll;
        if (rbReverse->isChecked())
            return CheckCommand::Reverse;
        return CheckCommand::None;
    });
}
