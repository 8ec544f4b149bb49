#pragma once

#include "listcore/ListRow.h"

#include <QRect>
#include <QString>

class CellCanvas;
class TVirtualStringTree;

enum CellTextType { ttNormal };
enum PaintMode { cpmPaint };

// The events the list control raises, answered by its owner (the main
// window) with plain calls while the list paints and visits rows.
class VTEvents {
public:
    virtual ~VTEvents() = default;

    // The text of one cell; CellText comes in empty and stays so unless set.
    virtual void OnGetText(TVirtualStringTree* Sender, ListRow* Node, int Column, CellTextType TextType,
                           QString& CellText) = 0;
    // A row is being initialised, once, before it is first shown or visited.
    virtual void OnInitNode(TVirtualStringTree* Sender, ListRow* ParentNode, ListRow* Node) = 0;
    // A cell is about to be painted; what is filled on the canvas lies under
    // the stock check box, text and selection.
    virtual void OnBeforeCellPaint(TVirtualStringTree* Sender, CellCanvas* TargetCanvas, ListRow* Node, int Column,
                                   PaintMode CellPaintMode, const QRect& CellRect, QRect& ContentRect) = 0;
    // The hint shown while the pointer rests on a cell, and read out as the
    // row's description; none by default.
    virtual void OnGetHint(TVirtualStringTree* Sender, ListRow* Node, int Column, QString& HintText)
    {
        Q_UNUSED(Sender) Q_UNUSED(Node) Q_UNUSED(Column) Q_UNUSED(HintText)
    }
};
