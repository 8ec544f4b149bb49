#pragma once

#include <string>
#include <string_view>

// The rules of the "Case" page, one name in, the new name out. Only the
// ASCII letters change case; every other character keeps its form.
std::string lowerCaseName(std::string_view name);
std::string upperCaseName(std::string_view name);
// The first character upper-cased, every later letter lower-cased, across
// blanks and dots alike: "my HOLIDAY photo" gives "My holiday photo".
std::string titleCaseName(std::string_view name);
