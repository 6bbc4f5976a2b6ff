#include <rescalo/pages/scale_controls_page.h>

#include <rescalo/host/failure.h>
#include <rescalo/scaling/capture.h>

namespace rescalo::pages {

using host::CheckBox;
using host::Variant;
using scaling::ControlFlags;

namespace {

// Every step of this page's handlers is skipped when it fails, and the next one runs.
template <class F>
void step(F&& f) {
  host::ignoreErrors(std::forward<F>(f));
}

Variant at(int i) { return Variant(static_cast<std::int16_t>(i)); }

// The seven flags this page edits, in the order it reads and writes them.
std::span<const FlagProperty> placementFlags() {
  return std::span(kFlagProperties).first(kPlacementFlags);
}

}  // namespace

ScaleControlsPage::ScaleControlsPage(host::PropertyPageSite& site)
    : PropertyPage(site, "ScaleControls"),
      lblScaleControls(add<host::Label>("lblScaleControls", "")),
      Label1(add<host::Label>("Label1", "Exclude These Controls")),
      List1(add<host::CheckListBox>("List1", "Exclude These Controls", true)),
      lblControlType(add<host::Label>("lblControlType", "")),
      chkLockLeft(add<CheckBox>("chkLockLeft", "Lock Left")),
      chkLockTop(add<CheckBox>("chkLockTop", "Lock Top")),
      chkLockWidth(add<CheckBox>("chkLockWidth", "Lock Width")),
      chkLockHeight(add<CheckBox>("chkLockHeight", "Lock Height")),
      chkLockRight(add<CheckBox>("chkLockRight", "Lock Right")),
      chkLockBottom(add<CheckBox>("chkLockBottom", "Lock Bottom")),
      cmdSelectAll(add<host::Button>("cmdSelectAll", "Select All")),
      cmdSelectNone(add<host::Button>("cmdSelectNone", "Select None")) {
  lblScaleControls.bold = true;
  lblScaleControls.size = 12;
  for (host::PageField* f : fields())
    if (f->kind() == host::FieldKind::CheckBox) f->column = 1;
  Timer1 = site.createTimer([this] {
    step([&] { CheckIfAllDeselected(); });
    Timer1->setEnabled(false);
  });
  Timer1->setInterval(100);
  Timer1->setEnabled(false);

  List1.Click = [this] { List1_Click(); };
  List1.ItemCheck = [this](int) { List1_ItemCheck(); };
  chkLockLeft.Click = [this] {
    lockClicked(chkLockLeft, &ControlFlags::DontScaleLeft, chkLockRight, chkLockWidth);
  };
  chkLockWidth.Click = [this] {
    lockClicked(chkLockWidth, &ControlFlags::DontScaleWidth, chkLockLeft, chkLockRight);
  };
  chkLockRight.Click = [this] {
    lockClicked(chkLockRight, &ControlFlags::DontScaleRight, chkLockLeft, chkLockWidth);
  };
  chkLockTop.Click = [this] {
    lockClicked(chkLockTop, &ControlFlags::DontScaleTop, chkLockHeight, chkLockBottom);
  };
  chkLockHeight.Click = [this] {
    lockClicked(chkLockHeight, &ControlFlags::DontScaleHeight, chkLockTop, chkLockBottom);
  };
  chkLockBottom.Click = [this] {
    lockClicked(chkLockBottom, &ControlFlags::DontScaleBottom, chkLockHeight, chkLockTop);
  };
  cmdSelectAll.Click = [this] { selectAll(true); };
  cmdSelectNone.Click = [this] { selectAll(false); };
}

std::shared_ptr<ControlFlags> ScaleControlsPage::current() const {
  auto r = table_.find(List1.text());
  if (!r) host::raise(host::kInvalidProcedureCall);
  return r;
}

void ScaleControlsPage::PropertyPage_SelectionChanged() {
  if (!listBuilt_) {
    host::Object* c = nullptr;
    step([&] { c = &edited(); });
    step([&] { List1.clear(); });
    if (c) {
      step([&] { table_.build(*c, true); });
      // Stored entries of controls that are gone are blanked at once, not at apply.
      int n = 0;
      step([&] { n = c->get("ControlFlagCount").toInteger(); });
      for (int i = 1; i <= n; ++i) {
        std::string key;
        bool known = false;
        step([&] {
          key = c->get("ControlFlagControlKey", {at(i)}).toString();
          known = table_.has(key);
        });
        if (!known) {
          step([&] { c->set("ControlFlagControlKey", Variant(""), {at(i)}); });
          for (const FlagProperty& f : placementFlags())
            step([&] { c->set(f.property, Variant(false), {at(i)}); });
          continue;
        }
        auto r = table_.find(key);
        for (const FlagProperty& f : placementFlags())
          step([&] { (*r).*f.flag = c->get(f.property, {at(i)}).toBool(); });
      }
    }
    for (const auto& r : table_.records())
      step([&] {
        if (r->Control && scaling::IsPositionable(*r->Control)) {
          int pos = List1.addItem(r->ControlKey);
          List1.setChecked(pos, r->DontScaleControl);
        }
      });
    listBuilt_ = true;
    step([&] { List1.setListIndex(0); });
    step([&] { List1_Click(); });
    // The one failure of this page that the host hears of.
    showSwitch(lblScaleControls, "ScaleControls", edited().get("ScaleControls").toBool());
    return;
  }
  step([&] {
    showSwitch(lblScaleControls, "ScaleControls", edited().get("ScaleControls").toBool());
  });
}

void ScaleControlsPage::List1_Click() {
  Timer1->setEnabled(false);
  if (!listBuilt_ || List1.listIndex() < 0) return;
  lockUpdate_ = true;
  std::shared_ptr<ControlFlags> r;
  step([&] { r = current(); });
  CheckBox* boxes[] = {&chkLockLeft,   &chkLockTop,   &chkLockWidth,
                       &chkLockHeight, &chkLockRight, &chkLockBottom};
  if (r) {
    const bool values[] = {r->DontScaleLeft,   r->DontScaleTop,   r->DontScaleWidth,
                           r->DontScaleHeight, r->DontScaleRight, r->DontScaleBottom};
    for (int i = 0; i < 6; ++i)
      step([&] { boxes[i]->setValue(values[i] ? CheckBox::Checked : CheckBox::Unchecked); });
  }
  bool on = false;
  step([&] { on = List1.checked(List1.listIndex()); });
  for (CheckBox* b : boxes) b->setEnabled(on);
  std::string type;
  step([&] {
    type = std::string(r->Control->typeName());
    lblControlType.setCaption(type);
  });
  static const char* const plain[] = {"Lock Left",   "Lock Top",   "Lock Width",
                                      "Lock Height", "Lock Right", "Lock Bottom"};
  static const char* const line[] = {"Lock X Left",   "Lock Y Top",   "Lock X Width",
                                     "Lock Y Height", "Lock X Right", "Lock Y Bottom"};
  for (int i = 0; i < 6; ++i) boxes[i]->setCaption(type == "Line" ? line[i] : plain[i]);
  lockUpdate_ = false;
}

void ScaleControlsPage::setLocks(bool value) {
  int v = value ? CheckBox::Checked : CheckBox::Unchecked;
  step([&] { chkLockLeft.setValue(v); });
  step([&] { chkLockTop.setValue(v); });
  step([&] { chkLockWidth.setValue(v); });
  step([&] { chkLockHeight.setValue(v); });
}

void ScaleControlsPage::List1_ItemCheck() {
  Timer1->setEnabled(false);
  if (!listBuilt_ || List1.listIndex() < 0) return;
  lockUpdate_ = true;
  // The notification's item is not used: the page acts on the current item.
  step([&] {
    auto r = current();
    bool on = List1.checked(List1.listIndex());
    r->DontScaleLeft = r->DontScaleTop = r->DontScaleWidth = r->DontScaleHeight = on;
    setLocks(on);
    if (!on) {
      r->DontScaleRight = r->DontScaleBottom = false;
      step([&] { chkLockRight.setValue(CheckBox::Unchecked); });
      step([&] { chkLockBottom.setValue(CheckBox::Unchecked); });
    }
    r->DontScaleControl = on;
  });
  setChanged(true);
  lockUpdate_ = false;
}

void ScaleControlsPage::lockClicked(CheckBox& box, bool ControlFlags::*flag, CheckBox& other1,
                                    CheckBox& other2) {
  if (lockUpdate_) return;
  bool on = box.value() == CheckBox::Checked;
  // At most two of a group's three boxes: the third would leave nothing to scale.
  if (on && other1.value() == CheckBox::Checked && other2.value() == CheckBox::Checked) {
    box.setValue(CheckBox::Unchecked);
    site().Beep();
    return;
  }
  step([&] { (*current()).*flag = on; });
  Timer1->setEnabled(true);
  setChanged(true);
}

void ScaleControlsPage::CheckIfAllDeselected() {
  for (const CheckBox* b :
       {&chkLockLeft, &chkLockTop, &chkLockWidth, &chkLockHeight, &chkLockRight, &chkLockBottom})
    if (b->value() == CheckBox::Checked) return;
  step([&] { List1.setChecked(List1.listIndex(), false); });
  for (CheckBox* b :
       {&chkLockLeft, &chkLockTop, &chkLockWidth, &chkLockHeight, &chkLockRight, &chkLockBottom})
    b->setEnabled(false);
}

void ScaleControlsPage::selectAll(bool check) {
  Timer1->setEnabled(false);
  for (int i = 0; i < List1.count(); ++i) {
    step([&] { List1.setChecked(i, check); });
    step([&] {
      auto r = table_.find(List1.item(i));
      if (!r) return;
      r->DontScaleRight = false;
      r->DontScaleBottom = false;
      r->DontScaleLeft = r->DontScaleTop = r->DontScaleWidth = r->DontScaleHeight = check;
      r->DontScaleControl = check;
    });
  }
  step([&] { List1.setListIndex(0); });
}

void ScaleControlsPage::PropertyPage_ApplyChanges() {
  host::Object* c = nullptr;
  step([&] { c = &edited(); });
  if (!c) return;
  table_.apply(*c, placementFlags(), [](const std::function<void()>& f) { step(f); });
}

}  // namespace rescalo::pages
