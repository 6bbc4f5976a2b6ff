#pragma once
// The classic .frm form description as a neutral document tree: read, written back, and the
// helpers that interpret and produce its property values. Nothing here builds forms.
//
// Text is kept as bytes throughout: captions in any code page pass through untouched, and only
// toUtf8() turns them into text for display.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace rescalo::frm {

// `Name = value 'comment`. `value` is the raw text as in the file (quotes, `&H..&`, frx
// references all kept); `comment` includes its leading `'`, or is empty.
struct Property {
  std::string name;
  std::string value;
  std::string comment;
  int line = 0;

  bool operator==(const Property& o) const {
    return name == o.name && value == o.value && comment == o.comment;
  }
};

struct PropertyBlock;
struct Block;

// What a `BeginProperty` block may hold, and what a `Begin` block may hold, in file order.
using PropertyEntry = std::variant<Property, PropertyBlock>;
using Entry = std::variant<Property, PropertyBlock, Block>;

// `BeginProperty Font {GUID}` ... `EndProperty`.
struct PropertyBlock {
  std::string name;
  std::string guid;  // with its braces, or empty
  std::vector<PropertyEntry> entries;
  int line = 0;

  const Property* property(std::string_view propertyName) const;
  Property* property(std::string_view propertyName);
  const PropertyBlock* propertyBlock(std::string_view blockName) const;

  bool operator==(const PropertyBlock& o) const;
};

// `Begin VB.CommandButton Command1` ... `End`.
struct Block {
  std::string className;  // `VB.CommandButton`
  std::string name;
  std::vector<Entry> entries;
  int line = 0;

  // Lookups compare names without regard to case, as the classic runtime does.
  const Property* property(std::string_view propertyName) const;
  Property* property(std::string_view propertyName);
  const PropertyBlock* propertyBlock(std::string_view blockName) const;
  std::vector<const Block*> children() const;
  // The first block of that name at any depth below this one (control arrays share a name).
  const Block* find(std::string_view blockName) const;

  // Replaces the value and comment of an existing property, or adds one after the last
  // property or property block (child blocks stay last, as the classic IDE writes them).
  Property& set(std::string_view propertyName, std::string value, std::string comment = {});

  bool operator==(const Block& o) const;
};

struct Document {
  std::string version = "5.00";
  std::vector<std::string> objectLines;  // `Object = "{...}#2.0#0"; "x.ocx"`, verbatim
  Block form;
  std::vector<std::string> trailer;  // every line after the form's End, verbatim
  std::string eol = "\r\n";
  bool utf8Bom = false;
  bool finalEol = true;  // whether the last line ends with `eol`

  // Line numbers are not compared: they say where a node came from, not what it is.
  bool operator==(const Document& o) const = default;
};

// `<file>:<line>: expected <what>`.
class ParseError : public std::runtime_error {
 public:
  ParseError(std::string file, int line, std::string expected);

  const std::string& file() const { return file_; }
  int line() const { return line_; }
  const std::string& expected() const { return expected_; }

 private:
  std::string file_;
  int line_;
  std::string expected_;
};

Document read(std::string_view bytes, const std::string& fileName);
// Throws ParseError for malformed text and std::runtime_error when the file cannot be read.
Document readFile(const std::filesystem::path& path);
std::string write(const Document& document);

// --- values ---

// `"a ""b"""` -> `a "b"`; nullopt when raw is not exactly one quoted string.
std::optional<std::string> unquote(std::string_view raw);
std::string quote(std::string_view text);
// The longest text a quoted value may hold: the classic editor reads lines of at most 1023
// characters, and longer text goes to the .frx, which the control's settings never use.
inline constexpr std::size_t kMaxQuotedText = 1023;
// Why a text cannot be written as a quoted value that reads back as it was (a line break, a
// NUL, more than kMaxQuotedText characters); nothing when it can.
std::optional<std::string> whyNotQuotable(std::string_view text);

struct FrxRef {
  std::string file;
  std::uint32_t offset = 0;
  bool textBlob = false;  // the `$"x.frx":0000` form, used for long text

  bool operator==(const FrxRef&) const = default;
};
std::optional<FrxRef> parseFrxRef(std::string_view raw);

// Decimals and `&H` literals with the classic typing: `&H..&` is a Long, a bare `&H` of up to
// four digits an Integer (`&HFFFF` is -1), longer ones Longs.
std::optional<double> parseNumber(std::string_view raw);
std::string formatNumber(double value);
std::string formatNumber(float value);         // shortest text that reads back as the same Single
std::string formatColor(std::uint32_t color);  // `&H00FFFFFF&`

// `-1 'True` / `0 'False`; any non-zero number reads as True.
std::optional<bool> parseBool(std::string_view raw);
inline std::string formatBool(bool value) { return value ? "-1" : "0"; }
inline std::string boolComment(bool value) { return value ? "'True" : "'False"; }

// --- text ---

bool isValidUtf8(std::string_view bytes);
// Valid UTF-8 is returned unchanged; anything else is decoded from the code page that the font
// Charset implies, with U+FFFD for bytes that do not decode.
std::string toUtf8(std::string_view bytes, int charset);

// The ANSI code page a font Charset stores its text in (1252 for any charset not listed), and
// back: the charset of a code page, or -1 for a code page no charset names.
int codePageOf(int charset);
int charsetOf(int codePage);
// Text of a form, in its code page, as UTF-8: a byte that does not decode is U+FFFD.
std::string decode(std::string_view bytes, int codePage);
// UTF-8 text in a code page, for a form: a character that the code page lacks is `?`.
std::string encode(std::string_view utf8, int codePage);

}  // namespace rescalo::frm
