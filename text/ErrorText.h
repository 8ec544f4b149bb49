#pragma once

#include <string>
#include <string_view>

// How the program shows an error's message, in the window's error box and
// on the command line alike: with a full stop appended when its last byte
// sorts after '.'.
inline std::string withFullStop(std::string_view message)
{
    std::string text(message);
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        text += '.';
    return text;
}
