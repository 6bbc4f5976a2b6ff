#include <rescalo/pages/general_page.h>

#include <rescalo/host/variant.h>

namespace rescalo::pages {

using host::CheckBox;
using host::TextBox;
using host::Variant;

GeneralPage::GeneralPage(host::PropertyPageSite& site)
    : PropertyPage(site, "General"),
      chkScaleControls(add<CheckBox>("chkScaleControls", "ScaleControls")),
      chkScaleFonts(add<CheckBox>("chkScaleFonts", "ScaleFonts")),
      chkScaleBorders(add<CheckBox>("chkScaleBorders", "ScaleBorders")),
      chkScaleGraphics(add<CheckBox>("chkScaleGraphics", "ScaleGraphics")),
      chkResizeOnMouseUp(add<CheckBox>("chkResizeOnMouseUp", "ResizeOnMouseUp")),
      chkResizeAtOnce(add<CheckBox>("chkResizeAtOnce", "ResizeAtOnce")),
      chkBeepOnMinMax(add<CheckBox>("chkBeepOnMinMax", "BeepOnMinMax")),
      chkCenterX(add<CheckBox>("chkCenterX", "CenterX")),
      chkCenterY(add<CheckBox>("chkCenterY", "CenterY")),
      chkStayOnTop(add<CheckBox>("chkStayOnTop", "StayOnTop")),
      chkSaveWindowState(add<CheckBox>("chkSaveWindowState", "SaveWindowState")),
      chkGradientFill(add<CheckBox>("chkGradientFill", "GradientFill")),
      txtScaleX(add<TextBox>("txtScaleX", "ScaleX:")),
      txtScaleY(add<TextBox>("txtScaleY", "ScaleY:")),
      txtMinWidth(add<TextBox>("txtMinWidth", "MinWidth")),
      txtMinHeight(add<TextBox>("txtMinHeight", "MinHeight")),
      txtMaxWidth(add<TextBox>("txtMaxWidth", "MaxWidth")),
      txtMaxHeight(add<TextBox>("txtMaxHeight", "MaxHeight")),
      txtMdiChildWidth(add<TextBox>("txtMdiChildWidth", "MdiChildWidth")),
      txtMdiChildHeight(add<TextBox>("txtMdiChildHeight", "MdiChildHeight")),
      txtWindowName(add<TextBox>("txtWindowName", "WindowName:")),
      cmbSource(add<host::ComboBox>("cmbSource", "Gradient Source")),
      cmbType(add<host::ComboBox>("cmbType", "Gradient Type")) {
  // Once loaded, any edit marks the page changed; while loading, nothing does.
  auto markChanged = [this] {
    if (loaded_) setChanged(true);
  };
  for (host::PageField* f : fields()) {
    f->column = f->kind() == host::FieldKind::CheckBox ? 0 : 1;
    if (auto* c = dynamic_cast<CheckBox*>(f)) c->Click = markChanged;
    if (auto* t = dynamic_cast<TextBox*>(f)) {
      t->Change = markChanged;
      t->numeric = t != &txtWindowName;
      if (t->numeric) t->integerBits = t == &txtScaleX || t == &txtScaleY ? 16 : 32;
    }
    if (auto* l = dynamic_cast<host::ComboBox*>(f)) l->Click = markChanged;
  }
}

void GeneralPage::PropertyPage_SelectionChanged() {
  if (loaded_) return;
  host::Object& c = edited();
  auto box = [&](CheckBox& b, const char* property) { b.setValue(c.get(property).toLong() & 1); };
  auto text = [&](TextBox& t, const char* property) { t.setText(c.get(property).toString()); };
  box(chkGradientFill, "GradientFill");
  text(txtMdiChildHeight, "MdiChildHeight");
  text(txtMdiChildWidth, "MdiChildWidth");
  text(txtWindowName, "WindowName");
  box(chkSaveWindowState, "SaveWindowState");
  box(chkScaleGraphics, "ScaleGraphics");
  box(chkScaleControls, "ScaleControls");
  box(chkScaleFonts, "ScaleFonts");
  box(chkScaleBorders, "ScaleBorders");
  box(chkResizeOnMouseUp, "ResizeOnMouseUp");
  box(chkStayOnTop, "StayOnTop");
  text(txtScaleY, "ScaleY");
  text(txtScaleX, "ScaleX");
  text(txtMinHeight, "MinHeight");
  text(txtMinWidth, "MinWidth");
  text(txtMaxHeight, "MaxHeight");
  text(txtMaxWidth, "MaxWidth");
  box(chkCenterY, "CenterY");
  box(chkCenterX, "CenterX");
  box(chkBeepOnMinMax, "BeepOnMinMax");
  box(chkResizeAtOnce, "ResizeAtOnce");

  cmbSource.clear();
  for (const char* item : {"Top", "Bottom", "Right", "Left", "TopLeft", "TopRight", "BottomLeft",
                           "BottomRight", "Middle", "Outside"})
    cmbSource.addItem(item);
  cmbSource.setListIndex(c.get("GradientSource").toLong());
  cmbType.clear();
  cmbType.addItem("Linear");
  cmbType.addItem("Radial");
  cmbType.setListIndex(c.get("GradientType").toLong());

  for (host::PageField* f : fields()) f->setEnabled(true);
  loaded_ = true;
}

void GeneralPage::PropertyPage_ApplyChanges() {
  host::Object& c = edited();
  // Greyed applies as False, like unchecked.
  auto box = [&](const char* property, const CheckBox& b) {
    c.set(property, Variant(b.value() == CheckBox::Checked));
  };
  c.set("WindowName", Variant(txtWindowName.text()));
  box("SaveWindowState", chkSaveWindowState);
  box("ScaleGraphics", chkScaleGraphics);
  box("ScaleControls", chkScaleControls);
  box("ScaleFonts", chkScaleFonts);
  box("ScaleBorders", chkScaleBorders);
  box("GradientFill", chkGradientFill);
  box("ResizeOnMouseUp", chkResizeOnMouseUp);
  box("StayOnTop", chkStayOnTop);

  // A text that is no number becomes "0"; a number is handed over as typed, and the
  // property's own conversion rounds it (half to even) or fails when it does not fit.
  const std::pair<const char*, TextBox*> numbers[] = {
      {"ScaleY", &txtScaleY},
      {"ScaleX", &txtScaleX},
      {"MinHeight", &txtMinHeight},
      {"MinWidth", &txtMinWidth},
      {"MaxHeight", &txtMaxHeight},
      {"MaxWidth", &txtMaxWidth},
      {"MdiChildHeight", &txtMdiChildHeight},
      {"MdiChildWidth", &txtMdiChildWidth},
  };
  for (auto [property, t] : numbers)
    if (!host::isNumericText(t->text())) t->setText("0");
  for (auto [property, t] : numbers) c.set(property, Variant(t->text()));

  box("CenterY", chkCenterY);
  box("CenterX", chkCenterX);
  c.set("GradientSource", Variant(static_cast<std::int32_t>(cmbSource.listIndex())));
  c.set("GradientType", Variant(static_cast<std::int32_t>(cmbType.listIndex())));
  box("BeepOnMinMax", chkBeepOnMinMax);
  box("ResizeAtOnce", chkResizeAtOnce);
}

}  // namespace rescalo::pages
