#include <rescalo/runtime/frm/frm_document.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include <rescalo/host/name.h>

namespace rescalo::frm {

// --- lookups ---

namespace {

template <class Entries>
auto findProperty(Entries& entries, std::string_view name)
    -> decltype(std::get_if<Property>(entries.data())) {
  for (auto& e : entries)
    if (auto* p = std::get_if<Property>(&e); p && host::equalsNoCase(p->name, name)) return p;
  return nullptr;
}

template <class Entries>
const PropertyBlock* findPropertyBlock(const Entries& entries, std::string_view name) {
  for (auto& e : entries)
    if (auto* p = std::get_if<PropertyBlock>(&e); p && host::equalsNoCase(p->name, name)) return p;
  return nullptr;
}

}  // namespace

const Property* PropertyBlock::property(std::string_view n) const {
  return findProperty(entries, n);
}
Property* PropertyBlock::property(std::string_view n) { return findProperty(entries, n); }
const PropertyBlock* PropertyBlock::propertyBlock(std::string_view n) const {
  return findPropertyBlock(entries, n);
}
bool PropertyBlock::operator==(const PropertyBlock& o) const {
  return name == o.name && guid == o.guid && entries == o.entries;
}

const Property* Block::property(std::string_view n) const { return findProperty(entries, n); }
Property* Block::property(std::string_view n) { return findProperty(entries, n); }
const PropertyBlock* Block::propertyBlock(std::string_view n) const {
  return findPropertyBlock(entries, n);
}

std::vector<const Block*> Block::children() const {
  std::vector<const Block*> out;
  for (auto& e : entries)
    if (auto* b = std::get_if<Block>(&e)) out.push_back(b);
  return out;
}

const Block* Block::find(std::string_view n) const {
  for (const Block* child : children()) {
    if (host::equalsNoCase(child->name, n)) return child;
    if (const Block* deeper = child->find(n)) return deeper;
  }
  return nullptr;
}

Property& Block::set(std::string_view n, std::string value, std::string comment) {
  if (Property* p = property(n)) {
    p->value = std::move(value);
    p->comment = std::move(comment);
    return *p;
  }
  auto at = entries.begin();
  for (auto it = entries.begin(); it != entries.end(); ++it)
    if (!std::holds_alternative<Block>(*it)) at = it + 1;
  auto inserted =
      entries.insert(at, Property{std::string(n), std::move(value), std::move(comment), 0});
  return std::get<Property>(*inserted);
}

bool Block::operator==(const Block& o) const {
  return className == o.className && name == o.name && entries == o.entries;
}

ParseError::ParseError(std::string file, int line, std::string expected)
    : std::runtime_error(file + ":" + std::to_string(line) + ": expected " + expected),
      file_(std::move(file)),
      line_(line),
      expected_(std::move(expected)) {}

// --- reader ---

namespace {

// A stray carriage return counts as a blank: kept at the end of a value, it would not survive
// being written back before a line end.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view trimLeft(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  return s;
}

std::string_view trimRight(std::string_view s) {
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> words(std::string_view s) {
  std::vector<std::string_view> out;
  for (s = trimLeft(s); !s.empty(); s = trimLeft(s)) {
    std::size_t end = 0;
    while (end < s.size() && !isBlank(s[end])) ++end;
    out.push_back(s.substr(0, end));
    s.remove_prefix(end);
  }
  return out;
}

enum class Kind { kBlank, kBegin, kBeginProperty, kEnd, kEndProperty, kProperty };

struct Classified {
  Kind kind;
  std::string_view text;  // the line without its indentation
  std::string_view word;  // its first word
  std::string_view rest;  // what follows that word, trimmed
};

// A keyword followed by `=` is a property of that name, not a keyword.
Classified classify(std::string_view line) {
  std::string_view text = trimLeft(line);
  if (trimRight(text).empty()) return {Kind::kBlank, text, {}, {}};
  std::size_t end = 0;
  while (end < text.size() && !isBlank(text[end]) && text[end] != '=') ++end;
  std::string_view word = text.substr(0, end);
  std::string_view rest = trimRight(trimLeft(text.substr(end)));
  Kind kind = Kind::kProperty;
  if (!rest.empty() && rest.front() == '=')
    kind = Kind::kProperty;
  else if (host::equalsNoCase(word, "Begin"))
    kind = Kind::kBegin;
  else if (host::equalsNoCase(word, "BeginProperty"))
    kind = Kind::kBeginProperty;
  else if (rest.empty() && host::equalsNoCase(word, "End"))
    kind = Kind::kEnd;
  else if (rest.empty() && host::equalsNoCase(word, "EndProperty"))
    kind = Kind::kEndProperty;
  return {kind, text, word, rest};
}

// Deep enough for any real form; the limit keeps a hostile file from exhausting the stack.
constexpr int kMaxDepth = 200;

constexpr std::string_view kFormExpected = "'Begin VB.Form <Name>' or 'Begin VB.MDIForm <Name>'";

class Parser {
 public:
  Parser(std::string_view bytes, const std::string& file) : file_(file) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
      bom_ = true;
      bytes.remove_prefix(3);
    }
    std::size_t nl = bytes.find('\n');
    if (nl != std::string_view::npos && (nl == 0 || bytes[nl - 1] != '\r')) eol_ = "\n";
    finalEol_ = bytes.empty() || bytes.back() == '\n';
    while (!bytes.empty()) {
      nl = bytes.find('\n');
      std::string_view line = bytes.substr(0, nl);
      // Stray carriage returns before the line end belong to it: kept in the text, they would
      // not survive being written back.
      while (line.ends_with('\r')) line.remove_suffix(1);
      lines_.push_back(line);
      bytes.remove_prefix(nl == std::string_view::npos ? bytes.size() : nl + 1);
    }
    // A last line of nothing but stray carriage returns is the end of the line before it.
    if (!finalEol_ && !lines_.empty() && lines_.back().empty()) {
      lines_.pop_back();
      finalEol_ = true;
    }
  }

  Document parse() {
    Document doc;
    doc.utf8Bom = bom_;
    doc.eol = eol_;
    doc.finalEol = finalEol_;
    doc.version = parseVersion();

    // Between the version and the form: one `Object = ...` line per referenced control library.
    for (; pos_ < lines_.size(); ++pos_) {
      Classified c = classify(lines_[pos_]);
      if (c.kind == Kind::kBlank) continue;
      if (c.kind != Kind::kProperty || !host::equalsNoCase(c.word, "Object")) break;
      doc.objectLines.emplace_back(lines_[pos_]);
    }
    if (pos_ == lines_.size()) fail(lastLine(), std::string(kFormExpected));
    Classified c = classify(lines_[pos_]);
    int n = lineNumber();
    if (c.kind != Kind::kBegin) fail(n, std::string(kFormExpected));
    doc.form = blockHeader(c, n);
    if (!host::equalsNoCase(doc.form.className, "VB.Form") &&
        !host::equalsNoCase(doc.form.className, "VB.MDIForm"))
      fail(n, std::string(kFormExpected));
    ++pos_;
    blockBody(doc.form, 1);

    for (; pos_ < lines_.size(); ++pos_) doc.trailer.emplace_back(lines_[pos_]);
    return doc;
  }

 private:
  [[noreturn]] void fail(int line, std::string expected) const {
    throw ParseError(file_, line, std::move(expected));
  }
  int lineNumber() const { return static_cast<int>(pos_) + 1; }
  int lastLine() const { return lines_.empty() ? 1 : static_cast<int>(lines_.size()); }

  std::string parseVersion() {
    if (!lines_.empty()) {
      auto w = words(lines_[0]);
      if (w.size() == 2 && host::equalsNoCase(w[0], "VERSION") &&
          w[1].find_first_not_of("0123456789.") == std::string_view::npos) {
        pos_ = 1;
        return std::string(w[1]);
      }
    }
    fail(1, "'VERSION 5.00'");
  }

  Block blockHeader(const Classified& c, int n) const {
    auto w = words(c.rest);
    std::size_t dot = w.size() == 2 ? w[0].find('.') : std::string_view::npos;
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == w[0].size())
      fail(n, "'Begin <Library>.<Class> <Name>'");
    return Block{std::string(w[0]), std::string(w[1]), {}, n};
  }

  PropertyBlock propertyBlockHeader(const Classified& c, int n) const {
    auto w = words(c.rest);
    bool guidOk = w.size() == 2 && w[1].size() >= 2 && w[1].front() == '{' && w[1].back() == '}';
    if (w.empty() || w.size() > 2 || (w.size() == 2 && !guidOk))
      fail(n, "'BeginProperty <Name> [{GUID}]'");
    return PropertyBlock{
        std::string(w[0]), w.size() == 2 ? std::string(w[1]) : std::string(), {}, n};
  }

  Property property(const Classified& c, int n) const {
    if (c.word.empty()) fail(n, "a property name before '='");
    std::string_view afterName = trimLeft(c.text.substr(c.word.size()));
    if (afterName.empty() || afterName.front() != '=') fail(n, "'=' after property name");
    std::string_view v = trimLeft(afterName.substr(1));
    bool quoted = false;
    std::size_t i = 0;
    for (; i < v.size(); ++i) {
      // `""` toggles twice, so an embedded quote keeps us inside the string.
      if (v[i] == '"') quoted = !quoted;
      if (v[i] == '\'' && !quoted) break;
    }
    if (quoted) fail(n, "'\"' to end the string");
    std::string_view value = trimRight(v.substr(0, i));
    if (value.empty()) fail(n, "a value after '='");
    // The comment is kept verbatim, trailing blanks included, so the line writes back the same.
    return Property{std::string(c.word), std::string(value), std::string(v.substr(i)), n};
  }

  void blockBody(Block& block, int depth) {
    if (depth > kMaxDepth) fail(lineNumber(), "at most 200 nested blocks");
    while (pos_ < lines_.size()) {
      Classified c = classify(lines_[pos_]);
      int n = lineNumber();
      ++pos_;
      switch (c.kind) {
        case Kind::kBlank:
          break;
        case Kind::kEnd:
          return;
        case Kind::kEndProperty:
          fail(n, "'BeginProperty' before 'EndProperty'");
        case Kind::kProperty:
          block.entries.emplace_back(property(c, n));
          break;
        case Kind::kBeginProperty: {
          PropertyBlock child = propertyBlockHeader(c, n);
          propertyBlockBody(child, depth + 1);
          block.entries.emplace_back(std::move(child));
          break;
        }
        case Kind::kBegin: {
          Block child = blockHeader(c, n);
          blockBody(child, depth + 1);
          block.entries.emplace_back(std::move(child));
          break;
        }
      }
    }
    fail(lastLine(), "'End' before end of file");
  }

  void propertyBlockBody(PropertyBlock& block, int depth) {
    if (depth > kMaxDepth) fail(lineNumber(), "at most 200 nested blocks");
    while (pos_ < lines_.size()) {
      Classified c = classify(lines_[pos_]);
      int n = lineNumber();
      ++pos_;
      switch (c.kind) {
        case Kind::kBlank:
          break;
        case Kind::kEndProperty:
          return;
        case Kind::kEnd:
          fail(n, "'EndProperty' before 'End'");
        case Kind::kBegin:
          fail(n, "'EndProperty' before 'Begin'");
        case Kind::kProperty:
          block.entries.emplace_back(property(c, n));
          break;
        case Kind::kBeginProperty: {
          PropertyBlock child = propertyBlockHeader(c, n);
          propertyBlockBody(child, depth + 1);
          block.entries.emplace_back(std::move(child));
          break;
        }
      }
    }
    fail(lastLine(), "'EndProperty' before end of file");
  }

  const std::string& file_;
  std::vector<std::string_view> lines_;
  std::size_t pos_ = 0;
  std::string eol_ = "\r\n";
  bool bom_ = false;
  bool finalEol_ = true;
};

// --- writer ---

// The classic IDE's layout: three spaces per level, names padded so `=` sits in column 17 of
// the level, three spaces before the value, booleans padded to four columns before `'True`.
class Writer {
 public:
  explicit Writer(const std::string& eol) : eol_(eol) {}

  void line(int depth, std::string_view text) {
    out_.append(static_cast<std::size_t>(depth) * 3, ' ');
    out_ += text;
    out_ += eol_;
  }

  void property(int depth, const Property& p) {
    std::string text = p.name;
    // Extender properties of ActiveX sub-objects are padded as if `Object.` were not there.
    std::size_t width = p.name.starts_with("Object.") ? 23 : 16;
    if (text.size() < width) text.append(width - text.size(), ' ');
    text += "=   ";
    text += p.value;
    if (!p.comment.empty()) {
      bool boolean = p.comment == "'True" || p.comment == "'False";
      std::size_t pad = 2;
      if (boolean) pad = p.value.size() < 3 ? 4 - p.value.size() : 1;
      text.append(pad, ' ');
      text += p.comment;
    }
    line(depth, text);
  }

  void propertyBlock(int depth, const PropertyBlock& b) {
    line(depth, "BeginProperty " + b.name + " " + (b.guid.empty() ? "" : b.guid + " "));
    for (auto& e : b.entries) std::visit([&](auto& x) { entry(depth + 1, x); }, e);
    line(depth, "EndProperty");
  }

  void block(int depth, const Block& b) {
    line(depth, "Begin " + b.className + " " + b.name + " ");
    for (auto& e : b.entries) std::visit([&](auto& x) { entry(depth + 1, x); }, e);
    line(depth, "End");
  }

  std::string take() { return std::move(out_); }

 private:
  void entry(int depth, const Property& p) { property(depth, p); }
  void entry(int depth, const PropertyBlock& b) { propertyBlock(depth, b); }
  void entry(int depth, const Block& b) { block(depth, b); }

  const std::string& eol_;
  std::string out_;
};

}  // namespace

Document read(std::string_view bytes, const std::string& fileName) {
  return Parser(bytes, fileName).parse();
}

Document readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path.string() + ": cannot open file");
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) throw std::runtime_error(path.string() + ": cannot read file");
  return read(bytes.str(), path.string());
}

std::string write(const Document& doc) {
  Writer w(doc.eol);
  w.line(0, "VERSION " + doc.version);
  for (auto& l : doc.objectLines) w.line(0, l);
  w.block(0, doc.form);
  for (auto& l : doc.trailer) w.line(0, l);
  std::string out = w.take();
  if (!doc.finalEol && out.ends_with(doc.eol)) out.resize(out.size() - doc.eol.size());
  if (doc.utf8Bom) out.insert(0, "\xEF\xBB\xBF");
  return out;
}

}  // namespace rescalo::frm
