#include "about/LinkLabel.h"

#include <QMouseEvent>

#include <utility>

LinkLabel::LinkLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent)
{
    QFont linkFont = font();
    linkFont.setPixelSize(11);
    linkFont.setUnderline(true);
    setFont(linkFont);

    QPalette linkPalette = palette();
    linkPalette.setColor(QPalette::WindowText, Qt::blue);
    setPalette(linkPalette);

    setCursor(Qt::PointingHandCursor);
}

// A click is a press and a release of the left button both on the label, so
// that a press dragged off the link cancels it.
void LinkLabel::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool wasPressed = std::exchange(m_pressed, false);
    QLabel::mouseReleaseEvent(event);
    if (wasPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}
