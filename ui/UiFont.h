#pragma once

#include <QFont>

// The program's windows use Arial-like faces: at these sizes every caption
// and all five rule-page tabs fit the fixed layout without being cut.
inline QFont uiFont(int pixelSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}
