#pragma once
// Exceptions and text conversions in the manner of the component library the program's
// forms are written for.
#include <stdexcept>
#include <string>

namespace vcl {

// Base of every exception the program raises and shows in the exception box.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

} // namespace vcl
