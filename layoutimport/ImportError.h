#pragma once

#include <stdexcept>
#include <string>

// Why a foreign layout file cannot be imported: malformed input, or a layout
// the board cannot hold. The text names the reason and is shown as it is.
class ImportError : public std::runtime_error {
public:
    explicit ImportError(const std::string& reason) : std::runtime_error(reason) {}
};
