#include "dialogs/ErrorDisplay.h"

#include "text/ErrorText.h"

QString errorDisplayText(std::string_view message)
{
    return QString::fromStdString(withFullStop(message));
}
