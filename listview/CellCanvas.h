#pragma once

#include <QColor>
#include <QRect>

#include <optional>

class QPainter;

// What the program paints a cell's background on before the list draws the
// check box, text and selection over it. It keeps the colour the cell was
// filled with, so that the list can choose a text colour that stays legible
// on it.
class CellCanvas {
public:
    explicit CellCanvas(QPainter* painter) : m_painter(painter) {}

    void setBrushColor(const QColor& colour) { m_brushColor = colour; }
    // Fills the rectangle with the brush colour.
    void fillRect(const QRect& rect);

    // The colour of the last fill; nothing when the cell was not filled.
    const std::optional<QColor>& filledColor() const { return m_filled; }

private:
    QPainter* m_painter;
    QColor m_brushColor = Qt::white;
    std::optional<QColor> m_filled;
};
