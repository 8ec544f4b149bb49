#pragma once

#include <stdexcept>

// A programming error in the use of the list, such as reaching a row's data
// before its size was set.
class ListError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};
