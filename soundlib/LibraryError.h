// The one error the binding raises: the library file could not be loaded, it lacks a function,
// or a path could not be handed over. The text names the file or the function and says why.
#pragma once

#include <stdexcept>

class LibraryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
