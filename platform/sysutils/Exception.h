#pragma once
// The class library's general exception: an error with a message text that the
// program shows to the user. EConvertError is raised by the text-to-number conversions.
#include <exception>
#include <string>

namespace sysutils {

class Exception : public std::exception {
public:
    explicit Exception(std::string message);
    const char* what() const noexcept override;

    std::string Message;
};

class EConvertError : public Exception {
public:
    using Exception::Exception;
};

}  // namespace sysutils
