// What an action refuses with: the message of the error of type E it raises,
// so that a table can name each refusal by its message. Any other error, or
// none, gives a text that no message of the program matches.
#pragma once

#include <exception>
#include <functional>
#include <string>

namespace calvoro::test {

inline const std::string kNoError = "(no error)";

template <class E>
std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const E& error) {
        return error.what();
    } catch (const std::exception& error) {
        return std::string("(another error) ") + error.what();
    }
    return kNoError;
}

}  // namespace calvoro::test
