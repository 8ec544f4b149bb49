#pragma once

#include <stdexcept>

// A mistake on the command line; the message names the option.
class CommandLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
