#include <rescalo/scaling/capture.h>

#include <memory>
#include <string>

#include <rescalo/host/failure.h>

namespace rescalo::scaling {

namespace {

using host::Name;
using host::ObjectPtr;
using host::Variant;

std::optional<Variant> read(const ObjectPtr& obj, Name name) { return host::tryGet(obj, name); }

std::optional<Variant> readAt(const ObjectPtr& obj, Name name, int index) {
  const Variant args[] = {Variant(static_cast<std::int16_t>(index))};
  return host::tryGet(obj, name, args);
}

ObjectPtr objectOf(const std::optional<Variant>& value) {
  return value && value->isObject() ? value->toObject() : nullptr;
}

// obj.outer.inner, as Font.Size or ListImages.Count reads.
std::optional<Variant> readThrough(host::Object& obj, Name outer, Name inner) {
  return host::tryGet(objectOf(host::tryGet(obj, outer)), inner);
}

// A read that failed, or a value the field does not take, leaves the field as it was.
template <class T>
void store(T& field, const std::optional<Variant>& value) {
  if (value) host::ignoreErrors([&] { field = convertTo<T>(*value); });
}

template <class T>
void storeAt(IndexedField<T>& field, int n, const std::optional<Variant>& value) {
  if (value) host::ignoreErrors([&] { field.store(n, convertTo<T>(*value)); });
}

// The reference geometry, and its copy as the geometry the control has right now.
void captureGeometry(ControlClass& rec, const ObjectPtr& ctrl) {
  store(rec.Left, read(ctrl, "Left"));
  store(rec.Top, read(ctrl, "Top"));
  store(rec.Width, read(ctrl, "Width"));
  store(rec.Height, read(ctrl, "Height"));
  rec.LastLeft = rec.Left;
  rec.LastTop = rec.Top;
  rec.LastWidth = rec.Width;
  rec.LastHeight = rec.Height;
}

void captureTabs(ControlClass& rec, const ObjectPtr& ctrl) {
  captureGeometry(rec, ctrl);
  store(rec.TabHeight, read(ctrl, "TabHeight"));
  std::int16_t tabs = 0;
  store(tabs, read(ctrl, "Tabs"));
  for (int n = 0; n < tabs; ++n) storeAt(rec.TabPicture, n, readAt(ctrl, "TabPicture", n));
}

void captureImageList(ControlClass& rec, const ObjectPtr& ctrl) {
  ObjectPtr images = objectOf(read(ctrl, "ListImages"));
  store(rec.ImageListCount, read(images, "Count"));
  store(rec.ImageListWidth, read(ctrl, "ImageWidth"));
  store(rec.ImageListHeight, read(ctrl, "ImageHeight"));
  for (int n = 1; n <= rec.ImageListCount; ++n) {
    ObjectPtr image = objectOf(readAt(images, "Item", n));
    storeAt(rec.ImageListPicture, n, read(image, "Picture"));
    storeAt(rec.ImageListKey, n, read(image, "Key"));
    storeAt(rec.ImageListTag, n, read(image, "Tag"));
  }
}

std::int16_t kindOf(host::Object& ctrl, const ObjectPtr& container) {
  std::string_view type = ctrl.typeName();
  std::int16_t kind = type == "SSTab" ? kTabControl : kOrdinaryControl;
  // Later recognitions win: a line on a tab page is a line, a tab control on a page is on a page.
  if (container && container->typeName() == "SSTab") kind = kOnTabPage;
  if (type == "Line") kind = kLineControl;
  if (type == "ImageList") kind = kImageListComponent;
  if (isFormObject(ctrl)) kind = kHostForm;
  return kind;
}

bool readable(host::Object& obj, Name name) { return PropertyExists(host::tryGet(obj, name)); }

template <class T>
ObjectPtr newRecord() {
  return std::make_shared<T>();
}

}  // namespace

bool isFormObject(const host::Object& obj) {
  return obj.typeName() == "Form" || obj.typeName() == "MDIForm";
}

void SaveControlInfo(host::Collection& colControlInfo, const EngineState& state,
                     const ObjectPtr& ctrl) {
  if (!ctrl) host::raise(host::kObjectNotSet);
  std::string key = GetControlKey(ctrl);
  // An unkeyed record could never be found again.
  if (key.empty()) host::raise(host::kInvalidProcedureCall);
  if (!KeyExists(colControlInfo, key)) colControlInfo.add(Variant(newRecord<ControlClass>()), key);
  auto found =
      std::dynamic_pointer_cast<ControlClass>(colControlInfo.item(Variant(key)).toObject());
  if (!found) host::raise(host::kTypeMismatch);
  ControlClass& rec = *found;

  // The basis: the size of the container the geometry belongs to. The host form has no
  // container and, like a control sited on it, takes the form's inner size in twips.
  std::optional<Variant> containerRead = read(ctrl, "Container");
  ObjectPtr container = objectOf(containerRead);
  if (!containerRead || (container && isFormObject(*container))) {
    rec.FormWidth = state.LastFormWidth;
    rec.FormHeight = state.LastFormHeight;
  } else {
    store(rec.FormWidth, read(container, "Width"));
    store(rec.FormHeight, read(container, "Height"));
  }

  rec.SpecialControlType = kindOf(*ctrl, container);
  switch (rec.SpecialControlType) {
    case kLineControl:
      store(rec.X1, read(ctrl, "X1"));
      store(rec.X2, read(ctrl, "X2"));
      store(rec.Y1, read(ctrl, "Y1"));
      store(rec.Y2, read(ctrl, "Y2"));
      break;
    case kTabControl:
      captureTabs(rec, ctrl);
      break;
    case kImageListComponent:
      captureImageList(rec, ctrl);
      break;
    case kHostForm:
      store(rec.Picture, read(ctrl, "Picture"));
      break;
    default:
      captureGeometry(rec, ctrl);
      // References to the pictures the control has now: rescaling gives the control new
      // picture objects and always starts again from these.
      store(rec.Picture, read(ctrl, "Picture"));
      store(rec.DownPicture, read(ctrl, "DownPicture"));
      store(rec.DisabledPicture, read(ctrl, "DisabledPicture"));
      break;
  }

  // A tab control's own Tabs are its pages, not a tab strip's tabs with images.
  if (!readable(*ctrl, "Tabs"))
    rec.ControlHasTabs = false;
  else if (rec.SpecialControlType != kTabControl)
    rec.ControlHasTabs = true;
  // A Quillmark has Buttons but no button size of its own.
  rec.ControlHasButtons = readable(*ctrl, "Buttons") && ctrl->typeName() != "Quillmark";
  rec.ControlHasNodes = readable(*ctrl, "Nodes");
  rec.ControlHasImageList = readable(*ctrl, "ImageList");
  rec.ControlHasTwoImageLists = readable(*ctrl, "Icons") && readable(*ctrl, "SmallIcons");
  if (rec.ControlHasButtons) {
    store(rec.ButtonWidth, read(ctrl, "ButtonWidth"));
    store(rec.ButtonHeight, read(ctrl, "ButtonHeight"));
  }

  store(rec.FontSize, readThrough(*ctrl, "Font", "Size"));
  store(rec.DayFontSize, readThrough(*ctrl, "DayFont", "Size"));
  store(rec.GridFontSize, readThrough(*ctrl, "GridFont", "Size"));
  store(rec.TitleFontSize, readThrough(*ctrl, "TitleFont", "Size"));
  store(rec.HeadFontSize, readThrough(*ctrl, "HeadFont", "Size"));
  store(rec.BorderWidth, read(ctrl, "BorderWidth"));
}

void SaveControlFlags(host::Collection& colControlFlags, const Variant& ctrlOrKey) {
  std::string key =
      ctrlOrKey.isObject() ? GetControlKey(ctrlOrKey.toObject()) : ctrlOrKey.toString();
  if (key.empty()) return;
  // An existing record keeps its flags: they may have been restored from the saved form.
  if (!KeyExists(colControlFlags, key))
    colControlFlags.add(Variant(newRecord<ControlFlags>()), key);
}

bool PropertyExists(const std::optional<Variant>& readResult) { return readResult.has_value(); }

bool IsPositionable(host::Object& ctrl) {
  if (ctrl.typeName() == "Form") return false;
  if (readable(ctrl, "Left") && readable(ctrl, "Top") && readable(ctrl, "Width") &&
      readable(ctrl, "Height"))
    return true;
  return readable(ctrl, "X1") && readable(ctrl, "X2") && readable(ctrl, "Y1") &&
         readable(ctrl, "Y2");
}

bool HasGraphic(host::Object& ctrl) {
  if (ctrl.typeName() == "ImageList") return true;
  return readable(ctrl, "Picture") || readable(ctrl, "DownPicture") ||
         readable(ctrl, "DisabledPicture");
}

bool HasBorderWidth(host::Object& ctrl) { return readable(ctrl, "BorderWidth"); }

bool HasScalableFont(host::Object& ctrl) {
  if (ctrl.typeName() == "Form") return false;
  // HeadFont is not asked: a control that has it also has the other calendar fonts.
  for (Name font : {Name("Font"), Name("DayFont"), Name("GridFont"), Name("TitleFont")})
    if (PropertyExists(readThrough(ctrl, font, "Size"))) return true;
  return false;
}

}  // namespace rescalo::scaling
