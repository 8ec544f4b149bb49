#include "listview/CellCanvas.h"

#include <QPainter>

void CellCanvas::fillRect(const QRect& rect)
{
    m_painter->fillRect(rect, m_brushColor);
    m_filled = m_brushColor;
}
