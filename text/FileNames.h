#pragma once

#include <cstring>
#include <string_view>

// Splitting a path into the parts the list shows. Only '/' separates
// folders; a backslash or a colon is an ordinary character of a name.
// Bytes are kept exactly: the delimiters are ASCII, and ASCII bytes never
// occur inside a multi-byte UTF-8 sequence, so a byte search cannot cut a
// character in two. Every result is a view into the argument.

namespace file_names {
// The last '/', or null. memrchr looks at many bytes a step; a run asks
// this of each path many times, so it is inlined where it is asked.
inline const char* lastSeparator(std::string_view path) noexcept
{
    return path.empty() ? nullptr : static_cast<const char*>(::memrchr(path.data(), '/', path.size()));
}
} // namespace file_names

// The part after the last '/': the whole path when it holds none.
inline std::string_view NameOfPath(std::string_view path) noexcept
{
    const char* at = file_names::lastSeparator(path);
    return at ? std::string_view(at + 1, std::size_t(path.data() + path.size() - at - 1)) : path;
}

// Everything up to and including the last '/': empty when it holds none.
inline std::string_view FolderOfPath(std::string_view path) noexcept
{
    const char* at = file_names::lastSeparator(path);
    return at ? std::string_view(path.data(), std::size_t(at + 1 - path.data())) : std::string_view();
}

// The text from the last dot on, when no '/' follows that dot; else empty.
// ".profile" is all extension, "notes." has the extension ".".
std::string_view ExtensionOfName(std::string_view name);

// The text before the last dot, when no '/' follows that dot; else the whole
// text. StripExtension(n) + ExtensionOfName(n) == n for every n.
std::string_view StripExtension(std::string_view name);
