#pragma once

#include <QString>

// Where the program sends people who want to know more or write to us. Both
// addresses hang off one domain so that a move of the web site is one edit.
inline const QString MakerDomain = QStringLiteral("tolvex.com");

// The product page, opened by the "Help" menu and by the about box's web link.
inline const QString WebPageAddress = QStringLiteral("https://www.") + MakerDomain + QStringLiteral("/file-renamer/");

// Opened as "mailto:" followed by the address.
inline const QString ContactMailAddress = QStringLiteral("support@") + MakerDomain;
