#pragma once

#include <QString>

#include <string_view>

// The text the error display shows for an error's message: the message with
// a full stop appended when its last byte sorts after '.'.
QString errorDisplayText(std::string_view message);
