#pragma once

class QWidget;

// Moves a window that is about to show, keeping its size, to the horizontal
// middle of the monitor that shows `owner` (its own monitor without one),
// with 1/`heightDivisor` of the monitor's spare height above it: 2 centres
// it, 3 stands it in the upper part.
void placeOnScreen(QWidget* window, const QWidget* owner, int heightDivisor);
