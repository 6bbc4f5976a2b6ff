// Any bytes through the form-file reader: a document or a ParseError, never a crash. What
// reads is written back and read again, and every value goes through the value helpers.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include <rescalo/runtime/frm/frm_document.h>

using namespace rescalo;

namespace {

void values(const frm::Block& b);

void value(const frm::Property& p) {
  (void)frm::unquote(p.value);
  (void)frm::parseFrxRef(p.value);
  (void)frm::parseBool(p.value);
  if (auto n = frm::parseNumber(p.value)) (void)frm::formatNumber(*n);
  (void)frm::toUtf8(p.value, 204);
}

void values(const frm::PropertyBlock& b) {
  for (const auto& e : b.entries) {
    if (const auto* p = std::get_if<frm::Property>(&e)) value(*p);
    if (const auto* pb = std::get_if<frm::PropertyBlock>(&e)) values(*pb);
  }
}

void values(const frm::Block& b) {
  for (const auto& e : b.entries) {
    if (const auto* p = std::get_if<frm::Property>(&e)) value(*p);
    if (const auto* pb = std::get_if<frm::PropertyBlock>(&e)) values(*pb);
    if (const auto* child = std::get_if<frm::Block>(&e)) values(*child);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  frm::Document doc;
  try {
    doc = frm::read(bytes, "fuzz.frm");
  } catch (const frm::ParseError&) {
    return 0;
  }
  values(doc.form);
  // What the reader accepted, the writer writes in a form the reader takes back unchanged.
  std::string text = frm::write(doc);
  try {
    if (!(frm::read(text, "fuzz.frm") == doc)) std::abort();
  } catch (const frm::ParseError&) {
    std::abort();
  }
  return 0;
}
