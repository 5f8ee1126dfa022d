// The one error type for runtime failures that end a command ("Cannot open file %s", ...).
// Its what() is exactly the text the user sees in the default exception box.
#pragma once

#include <stdexcept>
#include <string>

namespace tessaview {

class RuntimeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    RuntimeError(const std::string& text, std::string detail) : std::runtime_error(text), detail_(std::move(detail)) {}

    // Where the failure happened ("film.ssa, line 7"), for a second line under what(); may be empty.
    const std::string& Detail() const { return detail_; }

private:
    std::string detail_;
};

}  // namespace tessaview
