#pragma once

#include <QColor>

// The contrast ratio of two colours as the accessibility guidelines define
// it: from 1 (the same) to 21 (black on white).
double contrastRatio(const QColor& a, const QColor& b);

// The text colour to draw on `background`: `preferred` when it stands out
// from it at least 4.5 to 1, else black or white, whichever stands out more.
QColor legibleTextColour(const QColor& preferred, const QColor& background);
