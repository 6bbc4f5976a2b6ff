#include <rescalo/cli/codepage.h>

#include <charconv>

#include <rescalo/runtime/frm/frm_document.h>

namespace rescalo::cli {

namespace {

int named = 0;

}  // namespace

std::optional<std::string> takeCodePage(std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--codepage") continue;
    if (i + 1 == args.size()) return "--codepage: expected a code page, such as 932";
    const std::string& text = args[i + 1];
    int n = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size() || frm::charsetOf(n) < 0)
      return "--codepage " + text +
             ": expected the ANSI code page of a font charset (1250-1257, 874, 932, 936, 949 "
             "or 950)";
    named = n;
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
               args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    --i;
  }
  return std::nullopt;
}

int codePage() { return named; }

}  // namespace rescalo::cli
