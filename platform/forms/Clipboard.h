#pragma once
// The run-time's clipboard object. Clear empties the clipboard; each SetText then adds
// one format (ClipboardText as plain text, ClipboardRichText as rich text, MIME "text/rtf"), so the
// clipboard offers exactly the formats set since the last Clear.
#include <cstdint>
#include <map>
#include <string>

namespace forms {

enum ClipboardConstants : std::int32_t { ClipboardText = 1, ClipboardRichText = 0xBF01 };

class ClipboardObject {
public:
    void Clear();
    // Other formats are refused with 5.
    void SetText(const std::string& text, std::int32_t format = ClipboardText);
    // The text of that format on the clipboard, "" when it holds none.
    std::string GetText(std::int32_t format = ClipboardText);

private:
    std::map<std::int32_t, std::string> formats_;
};

ClipboardObject& Clipboard();

}  // namespace forms
