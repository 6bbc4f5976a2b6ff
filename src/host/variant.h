#pragma once
// The classic runtime's Variant and its conversions (en-US, pinned).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

namespace rescalo::host {

class Object;
using ObjectPtr = std::shared_ptr<Object>;

enum class VarType { Empty, Null, Boolean, Integer, Long, Single, Double, String, Object };

constexpr std::int16_t kTrue = -1;
constexpr std::int16_t kFalse = 0;

struct NullTag {
  bool operator==(const NullTag&) const = default;
};

class Variant {
 public:
  Variant() = default;
  static Variant null() { return Variant(NullTag{}); }
  explicit Variant(NullTag n) : v_(n) {}
  Variant(bool b) : v_(Bool{b}) {}
  Variant(std::int16_t i) : v_(i) {}
  Variant(std::int32_t l) : v_(l) {}
  Variant(float f) : v_(f) {}
  Variant(double d) : v_(d) {}
  Variant(std::string s) : v_(std::move(s)) {}
  Variant(std::string_view s) : v_(std::string(s)) {}
  Variant(const char* s) : v_(std::string(s)) {}
  Variant(ObjectPtr o) : v_(std::move(o)) {}
  Variant(std::nullptr_t) : v_(ObjectPtr{}) {}  // Nothing

  VarType type() const { return static_cast<VarType>(v_.index()); }
  bool isEmpty() const { return type() == VarType::Empty; }
  bool isNull() const { return type() == VarType::Null; }
  bool isObject() const { return type() == VarType::Object; }
  bool isString() const { return type() == VarType::String; }
  bool isNumeric() const;  // a number or a boolean (not a numeric string)
  bool isNothing() const { return isObject() && !std::get<ObjectPtr>(v_); }

  // Conversions as the classic runtime performs them; failures throw HostError.
  bool toBool() const;             // CBool
  std::int16_t toInteger() const;  // CInt: half to even, Overflow outside 16 bits
  std::int32_t toLong() const;     // CLng
  float toSingle() const;          // CSng
  double toDouble() const;         // CDbl
  std::string toString() const;    // CStr
  ObjectPtr toObject() const;      // Object required (424) for a non-object
  // The string itself without conversion, or nullptr when this is not a string.
  const std::string* stringPtr() const { return std::get_if<std::string>(&v_); }

  // Loose equality: same type and value, numbers compared by value.
  bool operator==(const Variant& other) const;

  // A name for the type, as TypeName() prints it.
  std::string_view typeName() const;

 private:
  struct Bool {
    bool value;
    bool operator==(const Bool&) const = default;
  };
  std::variant<std::monostate, NullTag, Bool, std::int16_t, std::int32_t, float, double,
               std::string, ObjectPtr>
      v_;
};

// Numeric helpers of the classic runtime.
double roundHalfEven(double value);
double Int(double value);  // rounds down
double Fix(double value);  // rounds towards zero
std::int16_t CInt(double value);
std::int32_t CLng(double value);
// Text of a number as CStr writes it.
std::string formatSingle(float value);
std::string formatDouble(double value);
// Parses a whole string as a number (CDbl); Type mismatch when it is not one.
double parseNumber(std::string_view text);
bool isNumericText(std::string_view text);
inline std::int16_t boolValue(bool b) { return b ? kTrue : kFalse; }
// A position or size read by name: the classic runtime hands them out as Single.
inline Variant single(double value) { return Variant(static_cast<float>(value)); }

}  // namespace rescalo::host
