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

void TForm1::RunCommand(const std::function<void()>& command)
{
    try {
        command();
    } catch (const std::exception& error) {
        ShowError(error.what());
    } catch (...) {
        ShowError("Unknown error");
    }
}

void TForm1::ShowError(std::string_view message)
{
    m_dialogs->ShowMessage(this, ErrorDisplayText(message), UserDialogs::Icon::Error);
}

void TForm1::VTGetText(TVirtualStringTree* sender, PVirtualNode node, int column, TVSTTextType,
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

void TForm1::VTInitNode(TVirtualStringTree*, PVirtualNode, PVirtualNode node, TVirtualNodeInitStates&)
{
    node->CheckType = ctCheckBox;
}

// A row whose proposed name differs from its current name, by even one
// byte, is tinted; painting never fails because of it.
void TForm1::VTBeforeCellPaint(TVirtualStringTree* sender, QPainter* targetCanvas, PVirtualNode node, int,
                               TVTCellPaintMode, const QRect& cellRect, QRect&)
{
    try {
        const FileEntry* entry = sender->RowData(node);
        if (targetCanvas && entry && entry->OldName != entry->NewName)
            targetCanvas->fillRect(cellRect, TintColour);
    } catch (...) {
    }
}

void TForm1::edFirstKeyPress(TNumberBox*, QChar& key)
{
    if (!TNumberBox::IsAllowedTypedChar(key))
        key = QChar(0);
}

void TForm1::AddFiles(const std::vector<std::string>& paths)
{
    AppendFiles(*VT, paths, cbInclude->isChecked() ? EntryForm::Joined : EntryForm::Split);
}

void TForm1::BitBtn1Click()
{
    const std::vector<std::string> paths = m_dialogs->ChooseFiles(this, m_lastChosenFile);
    if (paths.empty())
        return;
    m_lastChosenFile = QFile::decodeName(QByteArray::fromStdString(paths.front()));
    AddFiles(paths);
}

void TForm1::BitBtn3Click()
{
    ResetNames(*VT);
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
    ConvertEntries(*VT, [this] { return cbInclude->isChecked() ? EntryForm::Joined : EntryForm::Split; });
}

void TForm1::RadioClick()
{
    ApplyCheckCommand(*VT, [this] {
        if (rbCheck->isChecked())
            return CheckCommand::CheckAll;
        if (rbUncheck->isChecked())
            return CheckCommand::UncheckAll;
        if (rbReverse->isChecked())
            return CheckCommand::Reverse;
        return CheckCommand::None;
    });
}
