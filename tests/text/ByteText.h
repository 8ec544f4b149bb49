#pragma once

#include <QByteArray>

#include <limits>
#include <string>

// Names in test tables are QByteArrays, so that any bytes fit; the rules
// take std::string.
inline std::string S(const QByteArray& bytes)
{
    return bytes.toStdString();
}

inline QByteArray B(std::string_view text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

inline constexpr int kMax = std::numeric_limits<int>::max();
inline constexpr int kMin = std::numeric_limits<int>::min();
