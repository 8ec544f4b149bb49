#pragma once

#include "filelist/RowStore.h"

#include <QTableView>

#include <functional>
#include <stdexcept>

class QPainter;
class VTModel;
class VTDelegate;

enum TVSTTextType { ttNormal, ttStatic };
enum TVTCellPaintMode { cpmPaint, cpmGetContentMargin };

// Initial states OnInitNode may add; this flat list has no use for them, so
// the control accepts and ignores them.
using TVirtualNodeInitStates = unsigned;

class TVirtualStringTree;

using TVTGetTextEvent = std::function<void(TVirtualStringTree* sender, PVirtualNode node, int column,
                                           TVSTTextType textType, QString& cellText)>;
using TVTInitNodeEvent = std::function<void(TVirtualStringTree* sender, PVirtualNode parentNode,
                                            PVirtualNode node, TVirtualNodeInitStates& initialStates)>;
using TVTBeforeCellPaintEvent =
    std::function<void(TVirtualStringTree* sender, QPainter* targetCanvas, PVirtualNode node, int column,
                       TVTCellPaintMode cellPaintMode, const QRect& cellRect, QRect& contentRect)>;

// The programming error of reaching a row's data before its size was set.
class EListError : public std::logic_error {
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
    int BatchCount() const { return m_batchCount; }

    int NodeDataSize() const { return m_nodeDataSize; }
    void SetNodeDataSize(int size);

    PVirtualNode AppendRow();
    FileEntry* RowData(PVirtualNode node) const;
    PVirtualNode FirstRow();
    PVirtualNode NextRow(PVirtualNode node);
    void ClearRows();

    std::size_t RowCount() const { return m_rows.size(); }
    // The row shown at a model row, initialised first as painting needs it.
    PVirtualNode VisibleRow(int row);
    // Where the check box of a row is drawn, in viewport coordinates.
    QRect CheckBoxRect(int row) const;

    TVTGetTextEvent OnGetText;
    TVTInitNodeEvent OnInitNode;
    TVTBeforeCellPaintEvent OnBeforeCellPaint;

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

    void initialize(TVirtualNode& node);
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
