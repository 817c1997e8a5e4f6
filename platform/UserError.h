#pragma once
#include <stdexcept>
#include <string>

namespace tovik {

// The one failure type of the program. Its text is German and meant for the
// user: the toolkit's dispatch point shows it in the error box and the
// program goes on with the next event.
class UserError : public std::runtime_error {
public:
    explicit UserError(const std::string& text) : std::runtime_error(text) {}
};

}  // namespace tovik
