#include <rescalo/cli/json.h>

#include <cmath>
#include <cstdio>

#include <rescalo/runtime/frm/frm_document.h>

namespace rescalo::cli {

namespace {

// Text that reached here undecoded (bytes of a form in a message) must not make the output
// invalid: each byte that starts no UTF-8 character becomes U+FFFD.
std::string validUtf8(std::string_view s) {
  if (frm::isValidUtf8(s)) return std::string(s);
  std::string out;
  for (std::size_t i = 0; i < s.size();) {
    std::size_t len = 1;
    while (len <= 4 && i + len <= s.size() && !frm::isValidUtf8(s.substr(i, len))) ++len;
    if (len <= 4 && i + len <= s.size()) {
      out += s.substr(i, len);
      i += len;
    } else {
      out += "\xEF\xBF\xBD";
      ++i;
    }
  }
  return out;
}

}  // namespace

std::string jsonString(std::string_view raw) {
  const std::string s = validUtf8(raw);
  std::string out = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string jsonNumber(double v) {
  if (!std::isfinite(v)) return "null";
  char buf[32];
  // Whole numbers exactly (a Long of 1000000001 is no 1e+09); others to a Single's precision.
  if (v == std::trunc(v) && std::fabs(v) < 1e15)
    std::snprintf(buf, sizeof buf, "%.0f", v);
  else
    std::snprintf(buf, sizeof buf, "%.9g", v);
  return buf;
}

}  // namespace rescalo::cli
