#pragma once

#include "filelist/RowStore.h"

#include <QTableView>

#include <functional>
#include <stdexcept>

class QPainter;
class VTModel;
class VTDelegate;

enum CellTextType { ttNormal, ttStatic };
enum PaintMode { cpmPaint, cpmGetContentMargin };

// Initial states OnInitNode may add; this flat list has no use for them, so
// the control accepts and ignores them.
using InitStates = unsigned;

class TVirtualStringTree;

using GetTextEvent = std::function<void(TVirtualStringTree* sender, ListRow* node, int column,
                                           CellTextType textType, QString& cellText)>;
using InitNodeEvent = std::function<void(TVirtualStringTree* sender, ListRow* parentNode,
                                            ListRow* node, InitStates& initialStates)>;
using BeforeCellPaintEvent =
    std::function<void(TVirtualStringTree* sender, QPainter* targetCanvas, ListRow* node, int column,
                       PaintMode cellPaintMode, const QRect& cellRect, QRect& contentRect)>;

// The programming error of reaching a row's data before its size was set.
class ListError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// The check-box file list: a flat list of rows, each with a check box and a
// FileEntry, whose cell texts are asked for at painting time. Rows are only
// ever appended, so RowIndex is always the row's position.
//
// Changes to many rows go inside BeginBatch/EndBatch: rows appended or
// rewritten there reach the view as one model update when the outermost
// batch closes, which keeps a million rows cheap.
class TVirtualStringTree : public QTableView {
    Q_OBJECT
public:
    explicit TVirtualStringTree(QWidget* parent = nullptr);
    ~TVirtualStringTree() override;

    void BeginBatch();
    void EndBatch();
    int batchCount() const { return m_batchCount; }

    int NodeDataSize() const { return m_nodeDataSize; }
    void SetNodeDataSize(int size);

    ListRow* AppendRow();
    FileEntry* RowData(ListRow* node) const;
    ListRow* FirstRow();
    ListRow* NextRow(ListRow* node);
    void ClearRows();

    std::size_t rowCount() const { return m_rows.size(); }
    // The row shown at a model row, initialised first as painting needs it.
    ListRow* visibleRow(int row);
    // Where the check box of a row is drawn, in viewport coordinates.
    QRect checkBoxRect(int row) const;

    GetTextEvent OnGetText;
    InitNodeEvent OnInitNode;
    BeforeCellPaintEvent OnBeforeCellPaint;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    friend class VTModel;
    friend class VTDelegate;

    void initialize(ListRow& node);
    bool pressCheckBoxAt(const QPoint& pos);
    void beginPendingCheck(int row);
    void endPendingCheck(bool commit);
    void repaintRow(int row);

    RowStore m_rows;
    VTModel* m_model = nullptr;
    VTDelegate* m_delegate = nullptr;
    int m_nodeDataSize = -1;
    int m_batchCount = 0;

    // The check box held down by the mouse or the space bar.
    struct PendingCheck {
        int row = -1;
        TCheckState before = csUncheckedNormal;
        TCheckState toCome = csUncheckedNormal;
        bool byKeyboard = false;
    } m_pending;
};
