// Property values and text: the helpers the runtime uses to read and produce .frm values.

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>

#include <rescalo/host/name.h>
#include <rescalo/runtime/frm/frm_document.h>

namespace rescalo::frm {

std::optional<std::string> unquote(std::string_view raw) {
  if (raw.size() < 2 || raw.front() != '"' || raw.back() != '"') return std::nullopt;
  std::string out;
  std::string_view body = raw.substr(1, raw.size() - 2);
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '"') {
      if (i + 1 == body.size() || body[i + 1] != '"') return std::nullopt;
      ++i;
    }
    out += body[i];
  }
  return out;
}

std::string quote(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

std::optional<std::string> whyNotQuotable(std::string_view text) {
  if (text.find_first_of("\r\n") != std::string_view::npos) return "a line break";
  if (text.find('\0') != std::string_view::npos) return "a NUL character";
  if (text.size() > kMaxQuotedText)
    return std::to_string(text.size()) + " characters, more than the " +
           std::to_string(kMaxQuotedText) + " a line of a .frm holds";
  return std::nullopt;
}

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// 1 to 8 hex digits, nothing else.
std::optional<std::uint32_t> parseHex(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t v = 0;
  for (char c : digits) {
    int d = hexDigit(c);
    if (d < 0) return std::nullopt;
    v = v * 16 + static_cast<std::uint32_t>(d);
  }
  return v;
}

}  // namespace

std::optional<FrxRef> parseFrxRef(std::string_view raw) {
  bool textBlob = raw.starts_with('$');
  if (textBlob) raw.remove_prefix(1);
  std::size_t colon = raw.rfind(':');
  if (colon == std::string_view::npos) return std::nullopt;
  auto file = unquote(raw.substr(0, colon));
  auto offset = parseHex(raw.substr(colon + 1));
  if (!file || file->empty() || !offset) return std::nullopt;
  return FrxRef{std::move(*file), *offset, textBlob};
}

std::optional<double> parseNumber(std::string_view raw) {
  if (raw.size() > 2 && raw[0] == '&' && (raw[1] == 'H' || raw[1] == 'h')) {
    std::string_view digits = raw.substr(2);
    bool isLong = digits.ends_with('&');
    if (isLong) digits.remove_suffix(1);
    auto v = parseHex(digits);
    if (!v) return std::nullopt;
    if (!isLong && digits.size() <= 4) return static_cast<std::int16_t>(*v);
    return static_cast<std::int32_t>(*v);
  }
  // from_chars also takes "inf" and "nan", which are not numbers in a form file.
  if (raw.empty() || !(raw[0] == '-' || raw[0] == '.' || (raw[0] >= '0' && raw[0] <= '9')))
    return std::nullopt;
  double v = 0;
  auto [end, ec] = std::from_chars(raw.data(), raw.data() + raw.size(), v);
  if (ec != std::errc() || end != raw.data() + raw.size()) return std::nullopt;
  return v;
}

namespace {

template <class T>
std::string shortest(T value) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, ec == std::errc() ? end : buf);
}

}  // namespace

std::string formatNumber(double value) { return shortest(value); }
std::string formatNumber(float value) { return shortest(value); }

std::string formatColor(std::uint32_t color) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "&H%08X&", color);
  return buf;
}

std::optional<bool> parseBool(std::string_view raw) {
  if (host::equalsNoCase(raw, "True")) return true;
  if (host::equalsNoCase(raw, "False")) return false;
  auto n = parseNumber(raw);
  if (!n) return std::nullopt;
  return *n != 0;
}

bool isValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    auto b = static_cast<unsigned char>(bytes[i]);
    std::size_t len = 0;
    std::uint32_t cp = 0;
    if (b < 0x80) {
      ++i;
      continue;
    } else if ((b & 0xE0) == 0xC0) {
      len = 2;
      cp = b & 0x1Fu;
    } else if ((b & 0xF0) == 0xE0) {
      len = 3;
      cp = b & 0x0Fu;
    } else if ((b & 0xF8) == 0xF0) {
      len = 4;
      cp = b & 0x07u;
    } else {
      return false;
    }
    if (i + len > bytes.size()) return false;
    for (std::size_t k = 1; k < len; ++k) {
      auto c = static_cast<unsigned char>(bytes[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3Fu);
    }
    // Overlong forms, UTF-16 surrogates and values past U+10FFFF are not UTF-8.
    static constexpr std::uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[len] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return false;
    i += len;
  }
  return true;
}

namespace {

// Each GDI font charset with the ANSI code page its text is stored in; one row per charset.
struct CharsetRow {
  int charset, codePage;
};
constexpr CharsetRow kCharsets[] = {
    {0, 1252},   {128, 932},  {129, 949},  {134, 936},  {136, 950}, {161, 1253}, {162, 1254},
    {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251}, {222, 874}, {238, 1250},
};

std::string iconvName(int codePage) { return "CP" + std::to_string(codePage); }

class Iconv {
 public:
  Iconv(const std::string& to, const std::string& from)
      : cd_(iconv_open(to.c_str(), from.c_str())) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Converts all of `in`, putting `bad` for each input byte that does not convert.
std::string convert(Iconv& cd, std::string_view in, std::string_view bad, bool fromUtf8) {
  std::string out;
  std::string copy(in);  // iconv wants a mutable input pointer
  char* src = copy.data();
  std::size_t srcLeft = copy.size();
  char buf[256];
  while (srcLeft > 0) {
    char* dst = buf;
    std::size_t dstLeft = sizeof buf;
    std::size_t r = iconv(cd.get(), &src, &srcLeft, &dst, &dstLeft);
    out.append(buf, static_cast<std::size_t>(dst - buf));
    if (r != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    // EILSEQ or EINVAL (a lead byte at the end): replace what starts here and go on after it.
    out += bad;
    std::size_t skip = 1;
    // A UTF-8 input skips the whole character, so that one character gives one `?`.
    if (fromUtf8)
      while (skip < srcLeft && (static_cast<unsigned char>(src[skip]) & 0xC0) == 0x80) ++skip;
    src += skip;
    srcLeft -= skip;
    iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

bool isAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

int codePageOf(int charset) {
  for (const auto& row : kCharsets)
    if (row.charset == charset) return row.codePage;
  return 1252;  // ANSI (0), default (1) and anything unknown
}

int charsetOf(int codePage) {
  for (const auto& row : kCharsets)
    if (row.codePage == codePage) return row.charset;
  return -1;
}

std::string decode(std::string_view bytes, int codePage) {
  if (isAscii(bytes)) return std::string(bytes);
  Iconv cd("UTF-8", iconvName(codePage));
  if (!cd.ok()) return std::string(bytes.size(), '?');  // a glibc without the code page
  return convert(cd, bytes, kReplacement, false);
}

std::string encode(std::string_view utf8, int codePage) {
  if (isAscii(utf8)) return std::string(utf8);
  Iconv cd(iconvName(codePage), "UTF-8");
  if (!cd.ok()) return std::string(utf8.size(), '?');
  return convert(cd, utf8, "?", true);
}

std::string toUtf8(std::string_view bytes, int charset) {
  if (isValidUtf8(bytes)) return std::string(bytes);
  return decode(bytes, codePageOf(charset));
}

}  // namespace rescalo::frm
