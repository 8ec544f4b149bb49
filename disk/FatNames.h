#pragma once

#include <string>
#include <string_view>

// Why a file system of the FAT family (vfat, msdos, exfat, and FUSE drivers
// of them) cannot hold `name` as the name of one entry, or empty when it
// can: it must be well-formed UTF-8 of at most 255 UTF-16 units, without
// control characters or any of "*/:<>?\|, and must not end in a dot or a
// blank (Windows drops those, and some drivers do too, so the file would
// not get the name the user asked for).
std::string fatNameRefusal(std::string_view name);

// The same for a driver that writes ASCII names only (fusefat): every other
// character, and DEL, is refused too, as such a driver refuses it.
std::string asciiFatNameRefusal(std::string_view name);
