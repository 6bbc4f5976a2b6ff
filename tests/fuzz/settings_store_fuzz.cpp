// Any bytes as the settings store's file: the records the store reads, and the file after one
// key was set, which keeps every other record in its order, holds the key with its new value
// and is left as it is by setting the key again.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <rescalo/host/name.h>
#include <rescalo/runtime/settings_store.h>

using namespace rescalo;
using Store = runtime::FileSettingsStore;

namespace {

constexpr std::string_view kApp = "Rescalo", kSection = "Main", kKey = "WindowLeft";

bool isTheKey(const std::vector<std::string>& r) {
  return host::equalsNoCase(r[0], kApp) && host::equalsNoCase(r[1], kSection) &&
         host::equalsNoCase(r[2], kKey);
}

std::vector<std::vector<std::string>> others(std::vector<std::vector<std::string>> records) {
  std::erase_if(records, isTheKey);
  return records;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  // The value comes from the input too, so that it meets every escape.
  std::string_view value = text.substr(0, std::min<std::size_t>(text.size(), 8));
  const auto before = Store::records(text);
  const std::string written = Store::edited(text, kApp, kSection, kKey, value);
  const auto after = Store::records(written);
  if (others(before) != others(after)) std::abort();
  bool found = false;
  for (const auto& r : after)
    if (isTheKey(r)) {
      if (r[3] != value) std::abort();
      found = true;
    }
  if (!found) std::abort();
  if (Store::edited(written, kApp, kSection, kKey, value) != written) std::abort();
  return 0;
}
