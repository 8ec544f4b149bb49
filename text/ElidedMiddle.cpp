#include "text/ElidedMiddle.h"

#include "text/Utf8.h"

std::string elidedMiddle(std::string_view text, std::size_t maxChars)
{
    // Only a text of more bytes than maxChars can have more characters.
    if (text.size() <= maxChars)
        return std::string(text);
    const std::size_t count = utf8::charCount(text);
    if (count <= maxChars)
        return std::string(text);
    if (maxChars == 0)
        return {};
    const std::size_t head = (maxChars - 1) / 2;
    const std::size_t tail = maxChars - 1 - head;
    const std::size_t headEnd = utf8::byteOffsetOfChar(text, head);
    const std::size_t tailStart = utf8::skipChars(text, headEnd, count - head - tail);
    return std::string(text.substr(0, headEnd)) + "…" + std::string(text.substr(tailStart));
}
