#pragma once
// The run-time's variant: a value of any of the types that fields, properties and
// collections hold (empty, null, Boolean, 16- and 32-bit integers, 32- and 64-bit
// floats, date, text, object), and the run-time's conversions between them. A null
// converts to nothing and raises "Invalid use of Null" (94); a text that is not a
// number raises "Type mismatch" (13); a number too large for its target raises
// "Overflow" (6). Numbers become texts, and texts numbers, under the regional settings.
#include <cstdint>
#include <string>
#include <variant>

#include "com/ComPtr.h"
#include "com/IUnknown.h"

namespace com {

struct Empty {
    bool operator==(const Empty&) const = default;
};
struct Null {
    bool operator==(const Null&) const = default;
};
// A date-time as a count of days since 30 December 1899 (the fraction is the time).
struct Date {
    double value = 0.0;
    bool operator==(const Date&) const = default;
};

using VariantValue =
    std::variant<Empty, Null, bool, std::int16_t, std::int32_t, float, double, Date, std::string, ComPtr<IUnknown>>;

class Variant {
public:
    Variant() = default;
    Variant(Empty) {}
    Variant(Null) : value_(Null{}) {}
    Variant(bool value) : value_(value) {}
    Variant(std::int16_t value) : value_(value) {}
    Variant(std::int32_t value) : value_(value) {}
    Variant(float value) : value_(value) {}
    Variant(double value) : value_(value) {}
    Variant(Date value) : value_(value) {}
    Variant(std::string value) : value_(std::move(value)) {}
    Variant(const char* value) : value_(std::string(value)) {}
    template <class I>
    Variant(ComPtr<I> object) : value_(object.template tryAs<IUnknown>()) {}

    const VariantValue& value() const { return value_; }
    template <class T>
    bool is() const {
        return std::holds_alternative<T>(value_);
    }
    template <class T>
    const T& get() const {
        return std::get<T>(value_);
    }
    bool isNull() const { return is<Null>(); }
    bool isEmpty() const { return is<Empty>(); }
    bool isNumeric() const;

    bool operator==(const Variant& other) const;

private:
    VariantValue value_;
};

// The value as text: integers in decimal, 32-bit floats with up to 7 and 64-bit floats
// with up to 15 significant digits in their shortest form (an exponent as E+nn or
// E-nn), Booleans "True" or "False", a date as its date and time texts, empty as "".
std::string toText(const Variant& value);
// The value as a 32-bit integer, floats rounded half to even; True is -1.
std::int32_t toLong(const Variant& value);
// The value as a 16-bit integer, floats rounded half to even.
std::int16_t toInteger(const Variant& value);
double toDouble(const Variant& value);
bool toBoolean(const Variant& value);

}  // namespace com
