// Filtering the keys typed into a text box that holds a positive real number.
#include <algorithm>

#include "forms/TextBox.h"
#include "gis_toolkit/ErrorHandler.h"
#include "gis_toolkit/MyGeneralOperations.h"
#include "sysutils/Exception.h"
#include "sysutils/FloatConversion.h"

namespace gis_toolkit::MyGeneralOperations {
namespace {

const std::string module = "MyGeneralOperations";

constexpr std::int16_t backspace = 8;
constexpr std::int16_t comma = 44;
constexpr std::int16_t point = 46;
constexpr std::int16_t firstDigit = 48;
constexpr std::int16_t lastDigit = 57;

// A number by the regional settings: what StrToFloat converts.
bool IsNumeric(const std::string& text) {
    try {
        (void)sysutils::StrToFloat(text);
        return true;
    } catch (const sysutils::EConvertError&) {
        return false;
    }
}

}  // namespace

void CheckNumericRealPositive(std::int16_t& keyAscii, forms::TextBox& textBox) {
    ErrorHandler handler("CheckNumericRealPositive", module);
    handler.run([&] {
        if (keyAscii == backspace || keyAscii == comma || (keyAscii >= firstDigit && keyAscii <= lastDigit)) return;
        if (keyAscii == point) {
            handler.line(30);
            const std::string text = textBox.Text();
            const auto caret = static_cast<std::size_t>(std::max(0, textBox.SelStart()));
            const std::size_t split = std::min(caret, text.size());
            if (!IsNumeric(text.substr(0, split) + "." + text.substr(split))) keyAscii = 0;
            return;
        }
        keyAscii = 0;
    });
}

}  // namespace gis_toolkit::MyGeneralOperations
