#include "com/Variant.h"

#include <cmath>
#include <limits>

#include "com/Error.h"
#include "sysutils/DateTime.h"
#include "sysutils/Exception.h"
#include "sysutils/FloatConversion.h"

namespace com {
namespace {

// The general float text with the exponent written as E+nn or E-nn.
std::string floatText(double value, int significantDigits) {
    std::string text = sysutils::FloatToStrF(value, sysutils::TFloatFormat::ffGeneral, significantDigits, 0);
    const std::size_t exponent = text.find('E');
    if (exponent == std::string::npos) return text;
    std::string mantissa = text.substr(0, exponent);
    std::string digits = text.substr(exponent + 1);
    char sign = '+';
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) {
        sign = digits[0];
        digits.erase(0, 1);
    }
    if (digits.size() < 2) digits.insert(0, 2 - digits.size(), '0');
    return mantissa + 'E' + sign + digits;
}

std::string dateText(double value) {
    const double day = std::floor(value);
    if (value == day) return sysutils::DateToStr(value);
    if (day == 0.0) return sysutils::TimeToStr(value);
    return sysutils::DateToStr(value) + " " + sysutils::TimeToStr(value);
}

double parsedNumber(const std::string& text) {
    try {
        return sysutils::StrToFloat(text);
    } catch (const sysutils::EConvertError&) {
        throw runtimeError(errors::TypeMismatch);
    }
}

template <class Integer>
Integer roundedInteger(double value) {
    if (std::isnan(value)) throw runtimeError(errors::Overflow);
    const double rounded = std::nearbyint(value);  // the default rounding mode: half to even
    if (rounded < static_cast<double>(std::numeric_limits<Integer>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Integer>::max()))
        throw runtimeError(errors::Overflow);
    return static_cast<Integer>(rounded);
}

}  // namespace

bool Variant::isNumeric() const {
    return is<std::int16_t>() || is<std::int32_t>() || is<float>() || is<double>() || is<bool>();
}

bool Variant::operator==(const Variant& other) const {
    if (value_.index() != other.value_.index()) return false;
    if (const auto* object = std::get_if<ComPtr<IUnknown>>(&value_))
        return object->get() == std::get<ComPtr<IUnknown>>(other.value_).get();
    return std::visit(
        [&](const auto& left) {
            using T = std::decay_t<decltype(left)>;
            if constexpr (std::is_same_v<T, ComPtr<IUnknown>>) {
                return false;
            } else {
                return left == std::get<T>(other.value_);
            }
        },
        value_);
}

std::string toText(const Variant& value) {
    return std::visit(
        [](const auto& held) -> std::string {
            using T = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<T, Empty>) return "";
            if constexpr (std::is_same_v<T, Null>) throw runtimeError(errors::InvalidUseOfNull);
            if constexpr (std::is_same_v<T, bool>) return held ? "True" : "False";
            if constexpr (std::is_same_v<T, std::int16_t> || std::is_same_v<T, std::int32_t>)
                return std::to_string(held);
            if constexpr (std::is_same_v<T, float>) return floatText(static_cast<double>(held), 7);
            if constexpr (std::is_same_v<T, double>) return floatText(held, 15);
            if constexpr (std::is_same_v<T, Date>) return dateText(held.value);
            if constexpr (std::is_same_v<T, std::string>) return held;
            if constexpr (std::is_same_v<T, ComPtr<IUnknown>>) throw runtimeError(errors::TypeMismatch);
        },
        value.value());
}

double toDouble(const Variant& value) {
    return std::visit(
        [](const auto& held) -> double {
            using T = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<T, Empty>) return 0.0;
            if constexpr (std::is_same_v<T, Null>) throw runtimeError(errors::InvalidUseOfNull);
            if constexpr (std::is_same_v<T, bool>) return held ? -1.0 : 0.0;
            if constexpr (std::is_same_v<T, std::int16_t> || std::is_same_v<T, std::int32_t> ||
                          std::is_same_v<T, float> || std::is_same_v<T, double>)
                return static_cast<double>(held);
            if constexpr (std::is_same_v<T, Date>) return held.value;
            if constexpr (std::is_same_v<T, std::string>) return parsedNumber(held);
            if constexpr (std::is_same_v<T, ComPtr<IUnknown>>) throw runtimeError(errors::TypeMismatch);
        },
        value.value());
}

std::int32_t toLong(const Variant& value) {
    if (const auto* integer = std::get_if<std::int32_t>(&value.value())) return *integer;
    return roundedInteger<std::int32_t>(toDouble(value));
}

std::int16_t toInteger(const Variant& value) {
    if (const auto* integer = std::get_if<std::int16_t>(&value.value())) return *integer;
    return roundedInteger<std::int16_t>(toDouble(value));
}

bool toBoolean(const Variant& value) {
    if (const auto* boolean = std::get_if<bool>(&value.value())) return *boolean;
    if (const auto* text = std::get_if<std::string>(&value.value())) {
        if (*text == "True" || *text == "true" || *text == "TRUE") return true;
        if (*text == "False" || *text == "false" || *text == "FALSE") return false;
    }
    return toDouble(value) != 0.0;
}

}  // namespace com
