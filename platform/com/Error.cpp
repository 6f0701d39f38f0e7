#include "com/Error.h"

#include <utility>

namespace com {

Error::Error(std::int32_t number, std::string source, std::string description)
    : Number(number), Source(std::move(source)), Description(std::move(description)) {}

Error::~Error() = default;

const char* Error::what() const noexcept { return Description.c_str(); }

std::string runtimeErrorDescription(std::int32_t number) {
    switch (number) {
        case errors::InvalidProcedureCall: return "Invalid procedure call or argument";
        case errors::Overflow: return "Overflow";
        case errors::OutOfMemory: return "Out of memory";
        case errors::SubscriptOutOfRange: return "Subscript out of range";
        case errors::TypeMismatch: return "Type mismatch";
        case errors::BadFileNameOrNumber: return "Bad file name or number";
        case errors::FileNotFound: return "File not found";
        case errors::BadFileMode: return "Bad file mode";
        case errors::DeviceIOError: return "Device I/O error";
        case errors::InputPastEndOfFile: return "Input past end of file";
        case errors::PermissionDenied: return "Permission denied";
        case errors::PathFileAccessError: return "Path/File access error";
        case errors::PathNotFound: return "Path not found";
        case errors::ObjectNotSet: return "Object variable or With block variable not set";
        case errors::InvalidUseOfNull: return "Invalid use of Null";
        case errors::ObjectRequired: return "Object required";
        case errors::CannotCreateObject: return "Component can't create object";
        case errors::MethodFailed: return "Automation error";
        case errors::DuplicateKey: return "This key is already associated with an element of this collection";
        default: return "Application-defined or object-defined error";
    }
}

Error runtimeError(std::int32_t number, std::string source) {
    return Error(number, std::move(source), runtimeErrorDescription(number));
}

}  // namespace com
