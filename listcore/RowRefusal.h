#pragma once

#include <cstdint>
#include <string>

// A checked row a rule could not work on, and why: a picture without a
// capture time, say. The row keeps its file's name.
struct RowRefusal {
    std::uint32_t rowIndex = 0;
    std::string reason;
};
