#include "sysutils/Exception.h"

#include <utility>

namespace sysutils {

Exception::Exception(std::string message) : Message(std::move(message)) {}

const char* Exception::what() const noexcept { return Message.c_str(); }

}  // namespace sysutils
