#include "app/ErrorDisplay.h"

#include "rename/ErrorText.h"

QString errorDisplayText(std::string_view message)
{
    return QString::fromStdString(withFullStop(message));
}
