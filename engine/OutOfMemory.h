#pragma once
// The two texts of the engine's out-of-memory exception. Which one an allocation
// reports is fixed per allocation site; users see them in a message box.
namespace engine {

// Node arrays of the engine object; probability rows of the overall landscape.
inline constexpr const char* outOfMemoryMessageA =
    "Not enough memory.\n Please restart the software \n and try with a lower number of nodes";
// Every other allocation of the engine object and of the landscapes.
inline constexpr const char* outOfMemoryMessageB =
    " Not enough memory.\n Please restart the software and \n try with a lower number of nodes";

// Raises sysutils::Exception with the message.
[[noreturn]] void throwOutOfMemory(const char* message);

}  // namespace engine
