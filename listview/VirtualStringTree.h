#pragma once

#include "listcore/RowStore.h"
#include "listview/VTEvents.h"

#include <QTableView>

class VTModel;
class VTDelegate;

// The check-box file list: a flat list of rows, each with a check box and a
// FileEntry, whose cell texts are asked for at painting time. The rows are
// owned by its model's row store; the list's operations forward to it, and
// the commands that work on all rows take the store itself (rows()).
//
// Changes to many rows go inside BeginBatch/EndBatch: rows appended or
// rewritten there reach the view as one model update when the outermost
// batch closes, and nothing is painted in between.
class TVirtualStringTree : public QTableView {
    Q_OBJECT
public:
    explicit TVirtualStringTree(QWidget* parent = nullptr);
    ~TVirtualStringTree() override;

    // Who answers OnGetText, OnInitNode and OnBeforeCellPaint; none at first.
    void setEvents(VTEvents* events);
    VTEvents* events() const;

    RowStore& rows();

    void BeginBatch() { rows().BeginBatch(); }
    void EndBatch() { rows().EndBatch(); }
    int batchCount() { return rows().batchCount(); }
    int NodeDataSize() { return rows().NodeDataSize(); }
    void SetNodeDataSize(int size) { rows().SetNodeDataSize(size); }
    ListRow* AppendRow() { return rows().AppendRow(); }
    FileEntry* RowData(ListRow* node) { return rows().RowData(node); }
    ListRow* FirstRow() { return rows().FirstRow(); }
    ListRow* NextRow(ListRow* node) { return rows().NextRow(node); }
    void ClearRows() { rows().ClearRows(); }
    std::size_t rowCount() { return rows().rowCount(); }

    // The row shown at a model row, initialised first as painting needs it.
    ListRow* visibleRow(int row);
    // Where the check box of a row is drawn, in viewport coordinates.
    QRect checkBoxRect(int row) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void suspendPainting();
    void resumePainting();
    void forgetRows();
    bool pressCheckBoxAt(const QPoint& pos);
    void beginPendingCheck(int row);
    void endPendingCheck(bool commit);

    VTModel* m_model = nullptr;
    VTDelegate* m_delegate = nullptr;

    // The check box held down by the mouse or the space bar.
    struct PendingCheck {
        int row = -1;
        TCheckState before = csUncheckedNormal;
        TCheckState toCome = csUncheckedNormal;
        bool byKeyboard = false;
    } m_pending;
};
