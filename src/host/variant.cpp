#include <rescalo/host/variant.h>

#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include <rescalo/host/error.h>
#include <rescalo/host/name.h>

namespace rescalo::host {

double roundHalfEven(double value) {
  double r = std::nearbyint(value);  // default rounding mode is to nearest, ties to even
  return r;
}

double Int(double value) { return std::floor(value); }
double Fix(double value) { return std::trunc(value); }

std::int16_t CInt(double value) {
  if (std::isnan(value)) raise(kOverflow);
  double r = roundHalfEven(value);
  if (r < -32768.0 || r > 32767.0) raise(kOverflow);
  return static_cast<std::int16_t>(r);
}

std::int32_t CLng(double value) {
  if (std::isnan(value)) raise(kOverflow);
  double r = roundHalfEven(value);
  if (r < -2147483648.0 || r > 2147483647.0) raise(kOverflow);
  return static_cast<std::int32_t>(r);
}

namespace {

// %.NG as OLE Automation writes it: exponent with sign and at least two digits.
std::string formatG(double value, int digits) {
  if (value == 0) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*G", digits, value);
  return buf;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool parseRadix(std::string_view s, double& out) {
  int base = 0;
  if (s.size() > 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h')) base = 16;
  if (s.size() > 2 && s[0] == '&' && (s[1] == 'O' || s[1] == 'o')) base = 8;
  if (base == 0) return false;
  std::uint64_t v = 0;
  for (std::size_t i = 2; i < s.size(); ++i) {
    int c = std::tolower(static_cast<unsigned char>(s[i]));
    int d = std::isdigit(c) ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : 99;
    if (d >= base) return false;
    v = v * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    if (v > 0xFFFFFFFFu) return false;
  }
  // &H literals of up to four digits are 16-bit, longer ones 32-bit, both signed.
  if (s.size() - 2 <= 4 && base == 16 && v <= 0xFFFF) {
    out = static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
  } else {
    out = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
  }
  return true;
}

bool tryParseNumber(std::string_view text, double& out) {
  std::string_view s = trim(text);
  if (s.empty()) return false;
  if (parseRadix(s, out)) return true;
  // sign, digits with an optional point, optional exponent; nothing else
  std::size_t i = 0;
  if (s[i] == '+' || s[i] == '-') ++i;
  std::size_t digits = 0;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    std::size_t expDigits = 0;
    while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j, ++expDigits;
    if (expDigits == 0) return false;
    i = j;
  }
  if (i != s.size()) return false;
  std::string copy(s);
  for (char& c : copy)
    if (c == 'd' || c == 'D') c = 'e';
  out = std::strtod(copy.c_str(), nullptr);
  return std::isfinite(out);
}

}  // namespace

std::string formatSingle(float value) { return formatG(static_cast<double>(value), 7); }
std::string formatDouble(double value) { return formatG(value, 15); }

double parseNumber(std::string_view text) {
  double v = 0;
  if (!tryParseNumber(text, v)) raise(kTypeMismatch);
  return v;
}

bool isNumericText(std::string_view text) {
  double v = 0;
  return tryParseNumber(text, v);
}

bool Variant::isNumeric() const {
  switch (type()) {
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
      return true;
    default:
      return false;
  }
}

double Variant::toDouble() const {
  switch (type()) {
    case VarType::Empty:
      return 0;
    case VarType::Null:
      raise(kInvalidUseOfNull);
    case VarType::Boolean:
      return std::get<Bool>(v_).value ? -1.0 : 0.0;
    case VarType::Integer:
      return std::get<std::int16_t>(v_);
    case VarType::Long:
      return std::get<std::int32_t>(v_);
    case VarType::Single:
      return static_cast<double>(std::get<float>(v_));
    case VarType::Double:
      return std::get<double>(v_);
    case VarType::String: {
      const std::string& s = std::get<std::string>(v_);
      if (equalsNoCase(trim(s), "True")) return -1;
      if (equalsNoCase(trim(s), "False")) return 0;
      return parseNumber(s);
    }
    case VarType::Object:
      raise(kTypeMismatch);
  }
  raise(kTypeMismatch);
}

bool Variant::toBool() const { return toDouble() != 0.0; }
std::int16_t Variant::toInteger() const { return CInt(toDouble()); }
std::int32_t Variant::toLong() const { return CLng(toDouble()); }

float Variant::toSingle() const {
  if (type() == VarType::Single) return std::get<float>(v_);
  double d = toDouble();
  if (std::fabs(d) > static_cast<double>(FLT_MAX)) raise(kOverflow);
  return static_cast<float>(d);
}

std::string Variant::toString() const {
  switch (type()) {
    case VarType::Empty:
      return {};
    case VarType::Null:
      raise(kInvalidUseOfNull);
    case VarType::Boolean:
      return std::get<Bool>(v_).value ? "True" : "False";
    case VarType::Integer:
      return std::to_string(std::get<std::int16_t>(v_));
    case VarType::Long:
      return std::to_string(std::get<std::int32_t>(v_));
    case VarType::Single:
      return formatSingle(std::get<float>(v_));
    case VarType::Double:
      return formatDouble(std::get<double>(v_));
    case VarType::String:
      return std::get<std::string>(v_);
    case VarType::Object:
      raise(kTypeMismatch);
  }
  raise(kTypeMismatch);
}

ObjectPtr Variant::toObject() const {
  if (type() != VarType::Object) raise(kObjectRequired);
  return std::get<ObjectPtr>(v_);
}

bool Variant::operator==(const Variant& other) const {
  if (isNumeric() && other.isNumeric()) return toDouble() == other.toDouble();
  return v_ == other.v_;
}

std::string_view Variant::typeName() const {
  switch (type()) {
    case VarType::Empty:
      return "Empty";
    case VarType::Null:
      return "Null";
    case VarType::Boolean:
      return "Boolean";
    case VarType::Integer:
      return "Integer";
    case VarType::Long:
      return "Long";
    case VarType::Single:
      return "Single";
    case VarType::Double:
      return "Double";
    case VarType::String:
      return "String";
    case VarType::Object:
      return isNothing() ? "Nothing" : "Object";
  }
  return "Empty";
}

}  // namespace rescalo::host
