#pragma once
// The run-time's length of a text: its characters counted as UTF-16 code units, the
// measure of character positions in text boxes.
#include <cstdint>
#include <string>

#include <QString>

namespace forms {

inline std::int32_t Len(const std::string& text) {
    return static_cast<std::int32_t>(QString::fromStdString(text).size());
}

}  // namespace forms
