// The list's own handlers and the commands that act on the whole list.
#include "app/Unit1.h"

#include "app/BusyWindow.h"
#include "apply/RowOutlook.h"
#include "controls/NumberBox.h"
#include "dialogs/ErrorDisplay.h"
#include "dialogs/UserDialogs.h"
#include "listcore/ListCommands.h"
#include "listview/CellCanvas.h"

#include <QCheckBox>
#include <QFile>
#include <QRadioButton>

namespace {

const QColor TintColour(204, 234, 255);

QString shownText(std::string_view bytes)
{
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

EntryForm formOfBox(const QCheckBox* box)
{
    return box->isChecked() ? EntryForm::Joined : EntryForm::Split;
}

} // namespace

void TForm1::runCommand(const std::function<void()>& command)
{
    ++m_commands;
    try {
        command();
    } catch (const std::exception& error) {
        showError(error.what());
    } catch (...) {
        showError("Unknown error");
    }
    --m_commands;
    closeIfAsked();
}

// A close that came while the window was busy is done once nothing is under
// way any more: the person asked for it, and nothing was left halfway.
void TForm1::closeIfAsked()
{
    if (m_commands == 0 && std::exchange(m_closeAsked, false))
        close();
}

void TForm1::showError(std::string_view message)
{
    m_dialogs->showMessage(this, errorDisplayText(message), UserDialogs::Icon::Error);
}

void TForm1::VTGetText(TVirtualStringTree* Sender, ListRow* Node, int Column, CellTextType, QString& CellText)
{
    const FileEntry* entry = Sender->RowData(Node);
    if (!entry)
        return;
    switch (Column) {
    case 0: CellText = shownText(entry->OldName()); break;
    case 1: CellText = shownText(entry->NewName()); break;
    case 2: CellText = shownText(entry->FilePath()); break;
    default: break;
    }
}

void TForm1::VTInitNode(TVirtualStringTree*, ListRow*, ListRow* Node)
{
    Node->CheckType = ctCheckBox;
}

// A row whose proposed name differs from its current name, by even one
// byte, is tinted; painting never fails because of it.
void TForm1::VTBeforeCellPaint(TVirtualStringTree* Sender, CellCanvas* TargetCanvas, ListRow* Node, int, PaintMode,
                               const QRect& CellRect, QRect&)
{
    try {
        const FileEntry* entry = Sender->RowData(Node);
        if (TargetCanvas && entry && entry->nameChanged()) {
            TargetCanvas->setBrushColor(TintColour);
            TargetCanvas->fillRect(CellRect);
        }
    } catch (...) {
    }
}

// Resting the pointer on a row tells what Apply Rename will do with it,
// worked out at that moment from the list and the disk.
void TForm1::VTGetHint(TVirtualStringTree* Sender, ListRow* Node, int, QString& HintText)
{
    if (Node)
        HintText = QString::fromStdString(outlookText(outlookOfRow(Sender->rows(), *Node)));
}

void TForm1::edFirstKeyPress(NumberBox*, QChar& key)
{
    if (!NumberBox::isAllowedTypedChar(key))
        key = QChar(0);
}

void TForm1::addFiles(const std::vector<std::string>& paths)
{
    {
        BusyWindow busy(*this, m_closeAsked);
        appendFiles(VT->rows(), paths, [&busy] { busy.keepAlive(); });
    }
    closeIfAsked();
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
    resetNames(VT->rows());
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
    VT->rows().setEntryForm(formOfBox(cbInclude));
}

void TForm1::RadioClick()
{
    if (rbCheck->isChecked())
        applyCheckCommand(VT->rows(), CheckCommand::CheckAll);
    else if (rbUncheck->isChecked())
        applyCheckCommand(VT->rows(), CheckCommand::UncheckAll);
    else if (rbReverse->isChecked())
        applyCheckCommand(VT->rows(), CheckCommand::Reverse);
}
