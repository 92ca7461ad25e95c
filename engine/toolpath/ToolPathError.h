// The error a tool-path computation raises when it refuses its input; the
// message is written for the user.
#pragma once

#include <stdexcept>

namespace calvoro {

class ToolPathError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace calvoro
