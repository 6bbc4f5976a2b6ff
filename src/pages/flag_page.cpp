#include <rescalo/pages/flag_page.h>

#include <rescalo/scaling/capture.h>

namespace rescalo::pages {

using host::Variant;
using scaling::ControlFlags;

const FlagPageKind kScaleBorders{"ScaleBorders", &ControlFlags::DontScaleBorder,
                                 "ControlFlagDontScaleBorder", &scaling::HasBorderWidth,
                                 "ScaleBorders"};
const FlagPageKind kScaleFonts{"ScaleFonts", &ControlFlags::DontScaleFont,
                               "ControlFlagDontScaleFont", &scaling::HasScalableFont, "ScaleFonts"};
const FlagPageKind kScaleGraphics{"ScaleGraphics", &ControlFlags::DontScaleGraphic,
                                  "ControlFlagDontScaleGraphic", &scaling::HasGraphic,
                                  "ScaleGraphics"};

namespace {
Variant at(int i) { return Variant(static_cast<std::int16_t>(i)); }
}  // namespace

FlagPage::FlagPage(host::PropertyPageSite& site, const FlagPageKind& kind)
    : PropertyPage(site, kind.caption),
      lblScaleControls(add<host::Label>("lblScaleControls", "")),
      Label1(add<host::Label>("Label1", "Exclude These Controls")),
      List1(add<host::CheckListBox>("List1", "Exclude These Controls", true)),
      lblControlType(add<host::Label>("lblControlType", "")),
      cmdSelectAll(add<host::Button>("cmdSelectAll", "Select All")),
      cmdSelectNone(add<host::Button>("cmdSelectNone", "Select None")),
      kind_(kind) {
  lblScaleControls.bold = true;
  lblScaleControls.size = 12;
  List1.Click = [this] { List1_Click(); };
  List1.ItemCheck = [this](int) { List1_ItemCheck(); };
  cmdSelectAll.Click = [this] {
    for (int i = 0; i < List1.count(); ++i) {
      List1.setChecked(i, true);
      (*table_.find(List1.item(i))).*kind_.flag = true;
    }
    List1.setListIndex(0);
    List1.setListIndex(-1);
  };
  cmdSelectNone.Click = [this] {
    for (int i = 0; i < List1.count(); ++i) {
      List1.setChecked(i, false);
      (*table_.find(List1.item(i))).*kind_.flag = false;
    }
  };
}

void FlagPage::PropertyPage_SelectionChanged() {
  host::Object& c = edited();
  if (!listBuilt_) {
    // Set first: a build that fails part-way is not repeated.
    listBuilt_ = true;
    List1.clear();
    table_.build(c, false);
    int n = c.get("ControlFlagCount").toInteger();
    for (int i = 1; i <= n; ++i) {
      std::string key = c.get("ControlFlagControlKey", {at(i)}).toString();
      if (!table_.has(key)) {
        c.set("ControlFlagControlKey", Variant(""), {at(i)});
        c.set(kind_.property, Variant(false), {at(i)});
      } else {
        (*table_.find(key)).*kind_.flag = c.get(kind_.property, {at(i)}).toBool();
      }
    }
    for (const auto& r : table_.records()) {
      if (r->Control && kind_.member(*r->Control)) {
        int pos = List1.addItem(r->ControlKey);
        List1.setChecked(pos, (*r).*kind_.flag);
      }
    }
    List1_Click();
  }
  showSwitch(lblScaleControls, kind_.masterSwitch, c.get(kind_.masterSwitch).toBool());
}

void FlagPage::List1_Click() {
  if (List1.listIndex() < 0) return;
  auto r = table_.find(List1.text());
  if (!r) host::raise(host::kInvalidProcedureCall);
  lblControlType.setCaption(std::string(r->Control->typeName()));
}

void FlagPage::List1_ItemCheck() {
  if (List1.listIndex() < 0) return;
  auto r = table_.find(List1.text());
  if (!r) host::raise(host::kInvalidProcedureCall);
  (*r).*kind_.flag = List1.checked(List1.listIndex());
  setChanged(true);
}

void FlagPage::PropertyPage_ApplyChanges() {
  // These pages catch nothing: a failing step ends the apply.
  const FlagProperty own[] = {{kind_.property, kind_.flag}};
  table_.apply(edited(), own, [](const std::function<void()>& f) { f(); });
}

}  // namespace rescalo::pages
