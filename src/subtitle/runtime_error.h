// The one error type for runtime failures that end a command ("Cannot open file %s", ...).
// Its what() is exactly the text the user sees in the default exception box.
#pragma once

#include <stdexcept>
#include <string>

namespace tessaview {

class RuntimeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace tessaview
