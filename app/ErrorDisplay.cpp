#include "app/ErrorDisplay.h"

QString errorDisplayText(std::string_view message)
{
    QString text = QString::fromUtf8(message.data(), qsizetype(message.size()));
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        text += QLatin1Char('.');
    return text;
}
