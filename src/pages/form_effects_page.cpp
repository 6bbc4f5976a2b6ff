#include <rescalo/pages/form_effects_page.h>

#include <rescalo/host/failure.h>
#include <rescalo/host/variant.h>

namespace rescalo::pages {

using host::TextBox;
using host::Variant;

FormEffectsPage::FormEffectsPage(host::PropertyPageSite& site)
    : PropertyPage(site, "FormEffects"),
      cmbFormOpen(add<host::ComboBox>("cmbFormOpen", "Form Open")),
      cmbFormClose(add<host::ComboBox>("cmbFormClose", "Form Close")),
      cmbFormPicture(add<host::ComboBox>("cmbFormPicture", "Form Picture")),
      txtFormOpenTime(add<TextBox>("txtFormOpenTime", "Form Open Time")),
      lblOpenSecs(add<host::Label>("lblOpenSecs", "Secs")),
      txtFormCloseTime(add<TextBox>("txtFormCloseTime", "Form Close Time")),
      lblCloseSecs(add<host::Label>("lblCloseSecs", "Secs")) {
  auto markChanged = [this] {
    if (loaded_) setChanged(true);
  };
  cmbFormOpen.Click = cmbFormClose.Click = cmbFormPicture.Click = markChanged;
  for (TextBox* t : {&txtFormOpenTime, &txtFormCloseTime}) {
    t->numeric = true;
    t->Change = [this, t] { checkDuration(*t); };
    t->LostFocus = [t] {
      if (t->text().empty()) t->setText("0");
    };
  }
}

// Only a number from 0 to 10 can stand in a duration box: anything else is corrected as it is
// typed. Each correction raises Change again, which then finds the text valid.
void FormEffectsPage::checkDuration(TextBox& box) {
  const std::string& text = box.text();
  if (text == ".") {
    host::ignoreErrors([&] {
      box.setText("0.");
      box.setSelStart(2);
    });
  } else if (!text.empty()) {
    host::ignoreErrors([&] {
      if (!host::isNumericText(box.text()) || host::parseNumber(box.text()) < 0) {
        box.setText("0");
        box.setSelStart(2);
      }
    });
    host::ignoreErrors([&] {
      if (host::isNumericText(box.text()) && host::parseNumber(box.text()) > 10) {
        box.setText("10");
        box.setSelStart(2);
      }
    });
  }
  if (loaded_) setChanged(true);
}

void FormEffectsPage::PropertyPage_SelectionChanged() {
  if (loaded_) return;
  host::Object& c = edited();
  static const char* const effects[] = {"None",      "Wipe Left",     "Wipe Right",      "Wipe Up",
                                        "Wipe Down", "Wipe Vertical", "Wipe Horizontal", "Fold"};
  for (auto [box, property] : {std::pair{&cmbFormOpen, "FormOpen"}, {&cmbFormClose, "FormClose"}}) {
    box->clear();
    for (const char* e : effects) box->addItem(e);
    box->setListIndex(c.get(property).toLong());
  }
  cmbFormPicture.clear();
  for (const char* p : {"None", "Fit to Form", "Center in Form", "Tile in Form"})
    cmbFormPicture.addItem(p);
  cmbFormPicture.setListIndex(c.get("FormPicture").toLong());
  txtFormOpenTime.setText(c.get("FormOpenTime").toString());
  txtFormCloseTime.setText(c.get("FormCloseTime").toString());
  loaded_ = true;
}

void FormEffectsPage::PropertyPage_ApplyChanges() {
  host::Object& c = edited();
  c.set("FormOpen", Variant(static_cast<std::int32_t>(cmbFormOpen.listIndex())));
  c.set("FormClose", Variant(static_cast<std::int32_t>(cmbFormClose.listIndex())));
  c.set("FormPicture", Variant(static_cast<std::int32_t>(cmbFormPicture.listIndex())));
  c.set("FormOpenTime", Variant(txtFormOpenTime.text()));
  c.set("FormCloseTime", Variant(txtFormCloseTime.text()));
}

}  // namespace rescalo::pages
