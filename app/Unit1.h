#pragma once

#include "icons/Icons.h"
#include "listview/VirtualStringTree.h"
#include "rules/RuleCommand.h"

#include <QDateTime>
#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAbstractButton;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;
class NumberBox;
class UserDialogs;
class XdndDropReader;

// The main window: the file list, the list-wide commands and the five rule
// pages. Each command is a thin handler that reads its controls, calls the
// rule or list code, and writes the result.
class TForm1 : public QMainWindow, private VTEvents {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Replaces the message boxes, the file dialog and the desktop's opener;
    // for tests. The window keeps the object.
    void setUserDialogs(std::unique_ptr<UserDialogs> dialogs);
    UserDialogs& dialogs() const { return *m_dialogs; }

    // Runs one command; an error it raises is shown by the error display
    // and goes no further, so no exception reaches Qt's event loop. A close
    // of the window asked for while the command held it busy is done once
    // the command and its message have ended.
    void runCommand(const std::function<void()>& command);
    void showError(std::string_view message);

    // Appends one row per path, made as the dialog intake makes them, in
    // the form the "Include File Extension" box asks for. A long intake
    // holds the window busy (see BusyWindow).
    void addFiles(const std::vector<std::string>& paths);

    // The clock the date rule reads "Current Time" from; tests set it.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // What runs a rule page's command over the list: runRule, unless a test
    // stands in to see which rule each button asks for.
    using RuleRunner = std::function<void(RowStore& rows, const RuleCommand& rule)>;
    void setRuleRunner(RuleRunner runner) { m_ruleRunner = std::move(runner); }

    // Controls, named as the program names them.
    QMenuBar* MainMenu1;
    QAction* help1;
    QAction* About1;
    TVirtualStringTree* VT;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* BitBtn3;
    QPushButton* BitBtn4;
    QPushButton* BitBtn5;
    QCheckBox* cbInclude;
    QRadioButton* rbCheck;
    QRadioButton* rbUncheck;
    QRadioButton* rbReverse;
    QFrame* Panel1;
    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QWidget* TabSheet3;
    QWidget* TabSheet4;
    QWidget* TabSheet5;
    // Page "Add"
    QGroupBox* GroupBox5;
    QRadioButton* rbPre;
    QRadioButton* rbSuf;
    QRadioButton* rbPos;
    NumberBox* edAddPos;
    QLineEdit* edAddChar;
    QToolButton* SpeedButton4;
    NumberBox* edNumStart;
    QLineEdit* edNumMask;
    QToolButton* SpeedButton5;
    QComboBox* cbDateType;
    QComboBox* cbDateFormat;
    QToolButton* SpeedButton9;
    // Page "Delete"
    NumberBox* edFirst;
    QToolButton* btnDeleteFirst;
    NumberBox* edLast;
    QToolButton* btnDeletelast;
    NumberBox* edFrom;
    NumberBox* edTo;
    QToolButton* btnDeleteFrom;
    QLineEdit* edRemChar;
    QToolButton* SpeedButton7;
    QToolButton* SpeedButton8;
    QToolButton* SpeedButton11;
    QToolButton* SpeedButton12;
    // Page "Replace"
    QLineEdit* edmatch;
    QLineEdit* edReplace;
    QToolButton* btnReplace;
    // Page "Case"
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QToolButton* SpeedButton10;
    // Page "Move/Copy"
    NumberBox* edStart;
    NumberBox* edStop;
    QGroupBox* GroupBox3;
    QRadioButton* rb1;
    QRadioButton* rb2;
    QRadioButton* rb3;
    NumberBox* edIPos;
    QToolButton* SpeedButton3;
    QToolButton* SpeedButton6;

    // Handlers.
    void VTGetText(TVirtualStringTree* Sender, ListRow* Node, int Column, CellTextType TextType, QString& CellText);
    void VTInitNode(TVirtualStringTree* Sender, ListRow* ParentNode, ListRow* Node);
    void VTBeforeCellPaint(TVirtualStringTree* Sender, CellCanvas* TargetCanvas, ListRow* Node, int Column,
                           PaintMode CellPaintMode, const QRect& CellRect, QRect& ContentRect);
    void VTGetHint(TVirtualStringTree* Sender, ListRow* Node, int Column, QString& HintText);
    void FormShow();
    void edFirstKeyPress(NumberBox* sender, QChar& key);
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void cbIncludeClick();
    void RadioClick();
    void help1Click();
    void About1Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton9Click();
    void btnDeleteFirstClick();
    void btnDeletelastClick();
    void btnDeleteFromClick();
    void SpeedButton7Click();
    void SpeedButton8Click();
    void SpeedButton11Click();
    void SpeedButton12Click();
    void btnReplaceClick();
    void btnLowerClick();
    void btnUpperClick();
    void SpeedButton10Click();
    void SpeedButton3Click();
    void SpeedButton6Click();

protected:
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The list's events, wired to the handlers above.
    void OnGetText(TVirtualStringTree* Sender, ListRow* Node, int Column, CellTextType TextType,
                   QString& CellText) override
    {
        VTGetText(Sender, Node, Column, TextType, CellText);
    }
    void OnInitNode(TVirtualStringTree* Sender, ListRow* ParentNode, ListRow* Node) override
    {
        VTInitNode(Sender, ParentNode, Node);
    }
    void OnBeforeCellPaint(TVirtualStringTree* Sender, CellCanvas* TargetCanvas, ListRow* Node, int Column,
                           PaintMode CellPaintMode, const QRect& CellRect, QRect& ContentRect) override
    {
        VTBeforeCellPaint(Sender, TargetCanvas, Node, Column, CellPaintMode, CellRect, ContentRect);
    }
    void OnGetHint(TVirtualStringTree* Sender, ListRow* Node, int Column, QString& HintText) override
    {
        VTGetHint(Sender, Node, Column, HintText);
    }

    bool overFileList(const QPoint& pos) const;
    void closeIfAsked();
    void buildWindow();
    void buildAddPage();
    void buildDeletePage();
    void buildReplacePage();
    void buildCasePage();
    void buildMoveCopyPage();
    void wireCommands();
    void setFocusOrder();
    void describeControls();
    QPushButton* bigButton(const char* name, const QString& caption, int x, ButtonImage icon);
    QToolButton* applyButton(QWidget* page, const char* name, int y);
    NumberBox* numberBox(QWidget* parent, const char* name, const char* upDownName, int min, int max,
                          QRect geometry);
    QLabel* label(QWidget* parent, const QString& text, int x, int y);
    void connectCommand(QAbstractButton* button, void (TForm1::*handler)());
    void runRuleCommand(const RuleCommand& rule);

    std::unique_ptr<UserDialogs> m_dialogs;
    // Commands under way, and whether a close came while one held the
    // window busy.
    int m_commands = 0;
    bool m_closeAsked = false;
    QString m_lastChosenFile;
    bool m_shown = false;
    // Reads drops from other programs; only on X11.
    std::unique_ptr<XdndDropReader> m_dropReader;
    std::function<QDateTime()> m_clock;
    RuleRunner m_ruleRunner;
};
