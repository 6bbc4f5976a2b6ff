#include <rescalo/scaling/font_replacement.h>

#include <rescalo/host/failure.h>

namespace rescalo::scaling {

using host::Variant;

void ReplaceFonts(host::Object& form, const std::string& face) {
  if (face == kNoReplacement) return;
  static const host::Name fonts[] = {host::Name("Font"), host::Name("DayFont"),
                                     host::Name("GridFont"), host::Name("TitleFont"),
                                     host::Name("HeadFont")};
  Variant name(face);
  host::ignoreErrors([&] {
    auto controls = form.get("Controls").toObject();
    int n = controls->get("Count").toLong();
    for (int i = 0; i < n; ++i)
      host::ignoreErrors([&] {
        auto ctrl = controls->get("Item", {Variant(i)}).toObject();
        for (const host::Name& member : fonts) {
          auto font = host::tryGet(*ctrl, member);
          if (font && font->isObject() && !font->isNothing())
            host::ignoreErrors([&] { font->toObject()->set("Name", name); });
        }
      });
  });
}

}  // namespace rescalo::scaling
