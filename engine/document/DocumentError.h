// Raised for a job document or job record that cannot be written or used; the
// message names the field or the fault and is meant for the user.
#pragma once

#include <stdexcept>

namespace calvoro {

class DocumentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace calvoro
