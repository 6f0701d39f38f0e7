#pragma once
// The run-time's error: a number, the name of the component that raised it and a
// description. Every failing operation of the component run-time, of the GIS host's
// object model and of the run-time services (numbered files, collections, conversions)
// throws it; the extension's error handlers read its three fields.
#include <cstdint>
#include <exception>
#include <string>

namespace com {

class Error : public std::exception {
public:
    Error(std::int32_t number, std::string source, std::string description);
    ~Error() override;
    Error(const Error&) = default;
    Error& operator=(const Error&) = default;

    const char* what() const noexcept override;

    std::int32_t Number;
    std::string Source;
    std::string Description;
};

// The run-time's own error numbers, with the descriptions runtimeError() gives them.
namespace errors {
inline constexpr std::int32_t InvalidProcedureCall = 5;   // "Invalid procedure call or argument"
inline constexpr std::int32_t Overflow = 6;               // "Overflow"
inline constexpr std::int32_t OutOfMemory = 7;            // "Out of memory"
inline constexpr std::int32_t SubscriptOutOfRange = 9;    // "Subscript out of range"
inline constexpr std::int32_t TypeMismatch = 13;          // "Type mismatch"
inline constexpr std::int32_t BadFileNameOrNumber = 52;   // "Bad file name or number"
inline constexpr std::int32_t FileNotFound = 53;          // "File not found"
inline constexpr std::int32_t BadFileMode = 54;           // "Bad file mode"
inline constexpr std::int32_t DeviceIOError = 57;         // "Device I/O error"
inline constexpr std::int32_t InputPastEndOfFile = 62;    // "Input past end of file"
inline constexpr std::int32_t PermissionDenied = 70;      // "Permission denied"
inline constexpr std::int32_t PathFileAccessError = 75;   // "Path/File access error"
inline constexpr std::int32_t PathNotFound = 76;          // "Path not found"
inline constexpr std::int32_t ObjectNotSet = 91;          // "Object variable or With block variable not set"
inline constexpr std::int32_t InvalidUseOfNull = 94;      // "Invalid use of Null"
inline constexpr std::int32_t ObjectRequired = 424;       // "Object required"
inline constexpr std::int32_t CannotCreateObject = 429;   // "Component can't create object"
inline constexpr std::int32_t MethodFailed = 440;         // "Automation error"
inline constexpr std::int32_t DuplicateKey = 457;         // "This key is already associated with an element of this collection"
}  // namespace errors

// The description that the run-time gives its error `number` ("Application-defined or
// object-defined error" for numbers it does not know).
std::string runtimeErrorDescription(std::int32_t number);

// A run-time error with its standard description.
Error runtimeError(std::int32_t number, std::string source = {});

}  // namespace com
