// The resize pass: the first run captures every control's reference metrics; every later run
// lays the form out from them for its current size.

#include <algorithm>
#include <cctype>
#include <cmath>

#include <rescalo/host/error_object.h>
#include <rescalo/host/failure.h>
#include <rescalo/scaling/engine.h>

namespace rescalo::scaling {

using host::Variant;

namespace {

// Steps of a run that stop the run and report it through the Error event.
struct Abandon {
  std::string description;
  host::HostError error;
};

Variant args1(int n) { return Variant(static_cast<std::int16_t>(n)); }

int countOf(host::Object& ctrl, host::Name collection) {
  return ctrl.get(collection).toObject()->get("Count").toLong();
}

host::ObjectPtr itemOf(host::Object& ctrl, host::Name collection, int n) {
  Variant i = args1(n);
  return ctrl.get(collection).toObject()->get("Item", host::Args(&i, 1)).toObject();
}

// Where the control stands after the run, so that the next run can tell the application's own
// moves. A line has no position of that kind and keeps what it had.
void noteWhereItStands(host::Object& ctrl, ControlClass& rec) {
  auto left = host::tryGet(ctrl, kLeft);
  if (!left) return;
  rec.LastLeft = left->toSingle();
  rec.LastTop = ctrl.get(kTop).toSingle();
  rec.LastWidth = ctrl.get(kWidth).toSingle();
  rec.LastHeight = ctrl.get(kHeight).toSingle();
}

constexpr host::Name kPictureMembers[] = {"Picture", "DownPicture", "DisabledPicture"};
constexpr host::Name kItem = "Item", kCount = "Count";
constexpr std::uint8_t kHasBorderWidth = 1u << std::size(kPictureMembers);
// A surface one draws on (it has Cls) paints its picture again, drawing included, whenever
// the picture is written, even with the one it has.
constexpr std::uint8_t kDrawnOn = kHasBorderWidth << 1;
constexpr std::uint8_t kHasPictures = kHasBorderWidth - 1;
constexpr std::uint8_t kHasAlign = kHasBorderWidth << 2;
const char* const kOtherImageLists[] = {"DisabledImageList", "HotImageList", "ColHdrIcons"};

std::uint8_t optionalMembers(host::Object& ctrl) {
  std::uint8_t has = 0;
  for (std::size_t i = 0; i < std::size(kPictureMembers); ++i)
    if (ctrl.has(kPictureMembers[i])) has = static_cast<std::uint8_t>(has | (1u << i));
  if (ctrl.has("BorderWidth")) has |= kHasBorderWidth;
  if (ctrl.has("Cls")) has |= kDrawnOn;
  if (ctrl.has("Align")) has |= kHasAlign;
  return has;
}

// A control the form stacks on one of its edges: its size depends on the others stacked there.
bool alignedOnForm(host::Object& ctrl) {
  bool aligned = false;
  host::ignoreErrors([&] {
    if (ctrl.get("Align").toLong() == 0) return;
    host::ObjectPtr site = ctrl.get("Container").toObject();
    aligned = site && isFormObject(*site);
  });
  return aligned;
}

// Twips per unit of the control's container, vertically: a toolbar's button height is in those
// units, while it is cut to whole twips and grows in steps of twips. A container without a
// scale of its own (a frame) is in twips.
double twipsPerUnitY(host::Object& ctrl) {
  double unit = 1;
  host::ignoreErrors([&] {
    host::ObjectPtr site = ctrl.get("Container").toObject();
    Variant args[] = {Variant(1.0f), site->get("ScaleMode"), Variant(std::int16_t{1})};
    unit = std::abs(site->call("ScaleY", args).toDouble());
  });
  return unit > 0 ? unit : 1;
}

bool differs(host::Object& ctrl, const ControlClass& rec) {
  return ctrl.get(kWidth).toSingle() != rec.LastWidth ||
         ctrl.get(kHeight).toSingle() != rec.LastHeight;
}

}  // namespace

host::Collection& Engine::colControlInfo() {
  if (!colControlInfo_) colControlInfo_ = std::make_shared<host::Collection>();
  return *colControlInfo_;
}

host::Collection& Engine::colControlFlags() {
  if (!colControlFlags_) colControlFlags_ = std::make_shared<host::Collection>();
  return *colControlFlags_;
}

void Engine::innerSize(host::Object& form, float& width, float& height) const {
  if (form.typeName() == "MDIForm") {
    mdiInnerSize(form, width, height);
    return;
  }
  Variant mode = form.get("ScaleMode");
  Variant x[] = {form.get("ScaleWidth"), mode, Variant(std::int16_t{1})};
  Variant y[] = {form.get("ScaleHeight"), mode, Variant(std::int16_t{1})};
  width = form.call("ScaleX", x).toSingle();
  height = form.call("ScaleY", y).toSingle();
}

// An MDI form's ScaleWidth and ScaleHeight are what its aligned bars leave free, and the bars
// are themselves scaled: measured that way, each pass would scale by a ratio the pass before
// changed. The bars are counted back in, so the ratio follows the window alone. A bar is a
// window of whole pixels: that, not the twips its Height or Width holds, is what it takes.
void Engine::mdiInnerSize(host::Object& form, float& width, float& height) const {
  width = form.get("ScaleWidth").toSingle();
  height = form.get("ScaleHeight").toSingle();
  const host::ScreenMetrics screen = engineServices().screen();
  auto pixels = [](float twips, double perPixel) {
    return static_cast<float>(std::round(twips / perPixel) * perPixel);
  };
  host::ignoreErrors([&] {
    host::ObjectPtr controls = form.get("Controls").toObject();
    int n = controls->get("Count").toLong();
    for (int i = 0; i < n; ++i) {
      Variant index(i);
      host::ObjectPtr c = controls->get("Item", host::Args(&index, 1)).toObject();
      auto align = host::tryGet(*c, "Align");
      if (!align || align->toLong() == 0) continue;
      auto container = host::tryGet(*c, "Container");
      auto visible = host::tryGet(*c, "Visible");
      // Sited on the form itself: a host may hand out more than one object for one window.
      host::ObjectPtr site = container ? container->toObject() : nullptr;
      if (!site || !isFormObject(*site) || (visible && !visible->toBool())) continue;
      switch (align->toLong()) {
        case 1:
        case 2:
          host::ignoreErrors(
              [&] { height += pixels(c->get("Height").toSingle(), screen.twipsPerPixelY); });
          break;
        case 3:
        case 4:
          host::ignoreErrors(
              [&] { width += pixels(c->get("Width").toSingle(), screen.twipsPerPixelX); });
          break;
        default:
          break;
      }
    }
  });
}

bool Engine::skipped(host::Object& obj) {
  if (obj.typeName() == "Menu") return true;
  auto name = host::tryGet(obj, "Name");
  if (!name || !name->isString()) return false;
  std::string first = name->stringPtr()->substr(0, 8);
  for (char& c : first) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return first == "NORESIZE";
}

void Engine::raiseError(const std::string& description, const host::HostError& error) {
  Variant args[] = {Variant(description),
                    Variant(host::ObjectPtr(std::make_shared<host::ErrorObject>(error)))};
  raiseEngineEvent("Error", args);
}

// Ends an abandoned run: the application hears ResizeDone, the window is drawn again.
void Engine::endRun() {
  if (engineSettings().SetupDone) raiseEngineEvent("ResizeDone");
  lockUpdates(false);
}

void Engine::ResizeControls(const host::ObjectPtr& host) {
  if (!ControlsCaptured) {
    captureRun(host);
    return;
  }
  placingRun(host);
}

bool Engine::captureRun(const host::ObjectPtr& host) {
  ControlsCaptured = true;
  std::string current;
  try {
    formPicHolder()->set("Picture", host->get("Picture"));
    if (engine.LastFormWidth == 0) {
      // The reference is the size the form was designed at, whatever its size now.
      if (host->typeName() == "MDIForm") {
        mdiInnerSize(*host, engine.LastFormWidth, engine.LastFormHeight);
      } else {
        EngineSettings s = engineSettings();
        Variant mode = host->get("ScaleMode");
        // A Rescalo never saved with its form (made by hand or by a program) has no design
        // size: the form as it is now, before any drag, is the only design there is. A user
        // scale with a flipped axis has a negative size, which is a design size all the same.
        Variant designW =
            s.DesignFormScaleWidth != 0 ? Variant(s.DesignFormScaleWidth) : host->get("ScaleWidth");
        Variant designH = s.DesignFormScaleHeight != 0 ? Variant(s.DesignFormScaleHeight)
                                                       : host->get("ScaleHeight");
        Variant x[] = {designW, mode, Variant(std::int16_t{1})};
        Variant y[] = {designH, mode, Variant(std::int16_t{1})};
        engine.LastFormWidth = host->call("ScaleX", x).toSingle();
        engine.LastFormHeight = host->call("ScaleY", y).toSingle();
      }
    }
    colControlInfo().clear();
    host::ObjectPtr controls = containerControls();
    int n = controls->get("Count").toLong();
    for (int i = 0; i < n; ++i) {
      Variant index(i);
      host::ObjectPtr obj = controls->get("Item", host::Args(&index, 1)).toObject();
      current.clear();
      if (auto name = host::tryGet(obj, "Name"); name && name->isString())
        current = *name->stringPtr();
      if (skipped(*obj)) continue;
      SaveControlInfo(colControlInfo(), engine, obj);
      SaveControlFlags(colControlFlags(), Variant(obj));
    }
  } catch (const host::HostError& e) {
    raiseError(current + " crashed out!", e);
    endRun();
    return false;
  }
  return true;
}

const std::vector<Engine::Entry>& Engine::resolveControls(const host::ObjectPtr& host) {
  host::ObjectPtr controls = host->get("Controls").toObject();
  const auto n = static_cast<std::size_t>(std::max(controls->get(kCount).toLong(), 0));
  // A control's key, and so its records, cannot change while it lives: only new or unloaded
  // controls, or records added or removed, make the controls be looked up again.
  bool same = found_.entries.size() == n && found_.info == &colControlInfo() &&
              found_.flags == &colControlFlags() &&
              found_.infoVersion == colControlInfo().version() &&
              found_.flagsVersion == colControlFlags().version();
  // While they are the ones found, each control goes straight to its entry.
  std::vector<host::ObjectPtr> items;
  for (std::size_t i = 0; i < n; ++i) {
    Variant index(static_cast<std::int32_t>(i));
    host::ObjectPtr item = controls->get(kItem, host::Args(&index, 1)).toObject();
    if (same) {
      Entry& e = found_.entries[i];
      same = e.id == item.get() && !e.held.expired();
      if (same) {
        e.ctrl = std::move(item);
        continue;
      }
      items.reserve(n);
      for (std::size_t j = 0; j < i; ++j) items.push_back(std::move(found_.entries[j].ctrl));
    }
    items.push_back(std::move(item));
  }
  if (same) return found_.entries;

  found_ = {};
  found_.entries.reserve(items.size());
  for (host::ObjectPtr& ctrl : items) {
    Entry e{ctrl, ctrl, ctrl.get(), nullptr, nullptr, optionalMembers(*ctrl)};
    if (!skipped(*ctrl)) std::tie(e.rec, e.flags) = records(ctrl, true);
    found_.entries.push_back(std::move(e));
  }
  found_.info = &colControlInfo();
  found_.flags = &colControlFlags();
  found_.infoVersion = colControlInfo().version();
  found_.flagsVersion = colControlFlags().version();
  return found_.entries;
}

void Engine::letGoOfControls() {
  for (Entry& e : found_.entries) e.ctrl.reset();
}

std::pair<std::shared_ptr<ControlClass>, std::shared_ptr<ControlFlags>> Engine::records(
    const host::ObjectPtr& ctrl, bool captureMissing) {
  std::string key = GetControlKey(ctrl);
  // One lookup per collection when the records are there, as they are on every run but the
  // first after a control was created.
  auto rec = findRecord<ControlClass>(colControlInfo(), key);
  if (!rec && captureMissing && !KeyExists(colControlInfo(), key)) {
    SaveControlInfo(colControlInfo(), engine, ctrl);  // created since the capture
    rec = findRecord<ControlClass>(colControlInfo(), key);
  }
  auto flags = findRecord<ControlFlags>(colControlFlags(), key);
  if (!flags && !KeyExists(colControlFlags(), key)) {
    SaveControlFlags(colControlFlags(), Variant(ctrl));
    flags = findRecord<ControlFlags>(colControlFlags(), key);
  }
  if (!rec || !flags) host::raise(host::kInvalidProcedureCall);
  return {rec, flags};
}

// Whether the pass rebuilds the images of that image list.
bool Engine::rebuilt(const host::ObjectPtr& list) {
  if (!list) return false;
  auto flags = findRecord<ControlFlags>(colControlFlags(), GetControlKey(list));
  return flags && !flags->DontScaleGraphic;
}

// Whether the images of the image lists bound to the control will be rebuilt, so that the
// control must let go of them for the pass. The records name the lists when re-attaching.
bool Engine::needsDetach(ControlClass& rec) {
  bool needs = false;
  if (rec.ControlHasImageList && rebuilt(rec.ImageList)) needs = true;
  if (rec.ControlHasTwoImageLists &&
      (rebuilt(rec.IconsImageList) || rebuilt(rec.SmallIconsImageList)))
    needs = true;
  return needs;
}

void Engine::detach(host::Object& ctrl, ControlClass& rec) {
  if (!rec.ControlHasImageList && !rec.ControlHasTwoImageLists) return;  // most controls
  if (rec.ControlHasImageList) rec.ImageList = ctrl.get("ImageList").toObject();
  if (rec.ControlHasTwoImageLists) {
    rec.IconsImageList = ctrl.get("Icons").toObject();
    rec.SmallIconsImageList = ctrl.get("SmallIcons").toObject();
  }
  // A list bound only to show disabled or hot buttons, or column headers, would keep the
  // rebuilt list from being cleared: it is let go of too, and given back as it was.
  for (std::size_t i = 0; i < std::size(kOtherImageLists); ++i) {
    rec.OtherImageLists[i] = nullptr;
    auto list = host::tryGet(ctrl, kOtherImageLists[i]);
    if (!list || !list->isObject() || !rebuilt(list->toObject())) continue;
    rec.OtherImageLists[i] = list->toObject();
    host::ignoreErrors([&] { ctrl.set(kOtherImageLists[i], Variant(nullptr)); });
  }
  if (!needsDetach(rec)) return;
  // Remember which image every item showed, then let go of the lists.
  auto save = [&](bool has, host::Name collection, IndexedField<Variant>& field) {
    if (!has) return;
    int n = countOf(ctrl, collection);
    for (int i = 1; i <= n; ++i) field.store(i, itemOf(ctrl, collection, i)->get("Image"));
  };
  save(rec.ControlHasTabs, "Tabs", rec.TabImage);
  save(rec.ControlHasButtons, "Buttons", rec.ButtonImage);
  save(rec.ControlHasNodes, "Nodes", rec.NodeImage);
  if (rec.ControlHasImageList) ctrl.set("ImageList", Variant(nullptr));
  if (rec.ControlHasTwoImageLists) {
    int n = countOf(ctrl, "ListItems");
    for (int i = 1; i <= n; ++i) {
      host::ObjectPtr item = itemOf(ctrl, "ListItems", i);
      rec.IconImage.store(i, item->get("Icon"));
      rec.SmallIconImage.store(i, item->get("SmallIcon"));
    }
    ctrl.set("Icons", Variant(nullptr));
    ctrl.set("SmallIcons", Variant(nullptr));
  }
}

void Engine::reattach(host::Object& ctrl, ControlClass& rec) {
  for (std::size_t i = 0; i < std::size(kOtherImageLists); ++i)
    if (rec.OtherImageLists[i])
      host::ignoreErrors([&] { ctrl.set(kOtherImageLists[i], Variant(rec.OtherImageLists[i])); });
  if (!needsDetach(rec)) return;
  auto restore = [&](bool has, host::Name collection, IndexedField<Variant>& field) {
    if (!has) return;
    int n = countOf(ctrl, collection);
    for (int i = 1; i <= n; ++i)
      host::ignoreErrors([&] { itemOf(ctrl, collection, i)->set("Image", field.at(i)); });
  };
  if (rec.ControlHasImageList) {
    ctrl.set("ImageList", Variant(rec.ImageList));
    restore(rec.ControlHasTabs, "Tabs", rec.TabImage);
    restore(rec.ControlHasButtons, "Buttons", rec.ButtonImage);
    restore(rec.ControlHasNodes, "Nodes", rec.NodeImage);
  }
  if (rec.ControlHasTwoImageLists) {
    ctrl.set("Icons", Variant(rec.IconsImageList));
    ctrl.set("SmallIcons", Variant(rec.SmallIconsImageList));
    int n = countOf(ctrl, "ListItems");
    for (int i = 1; i <= n; ++i)
      host::ignoreErrors([&] {
        host::ObjectPtr item = itemOf(ctrl, "ListItems", i);
        item->set("Icon", rec.IconImage.at(i));
        item->set("SmallIcon", rec.SmallIconImage.at(i));
      });
  }
}

void Engine::placeTabControl(host::Object& ctrl, ControlClass& rec, ControlFlags& flags) {
  ctrl.set("TabMaxWidth", 0);
  place(ctrl, rec, flags, engineSettings());
  if (ctrl.get("TabOrientation").toInteger() < 2) {
    if (!flags.DontScaleWidth)
      ctrl.set("TabMaxWidth",
               host::Int(ctrl.get("Width").toSingle() / ctrl.get("TabsPerRow").toSingle()));
    if (!flags.DontScaleHeight)
      ctrl.set("TabHeight", rec.TabHeight * ctrl.get("Height").toSingle() / rec.Height);
  } else if (!flags.DontScaleWidth) {
    ctrl.set("TabHeight", rec.TabHeight * ctrl.get("Width").toSingle() / rec.Width);
  }
  EngineSettings s = engineSettings();
  if (s.ScaleGraphics && !flags.DontScaleGraphic && differs(ctrl, rec)) {
    double xs = ctrl.get("Width").toDouble() / rec.Width;
    double ys = ctrl.get("Height").toDouble() / rec.Height;
    int tabs = ctrl.get("Tabs").toInteger();
    for (int n = 0; n < tabs && n < rec.TabPicture.size(); ++n) {
      Variant index = args1(n);
      ctrl.set("TabPicture",
               effects::ScalePicture(workSurfaces(), Variant(rec.TabPicture.at(n)), xs, ys),
               host::Args(&index, 1));
    }
  }
}

void Engine::rebuildImageList(host::Object& ctrl, ControlClass& rec) {
  // Every image is added again from the captured picture, at the scaled image size.
  host::ObjectPtr images = ctrl.get("ListImages").toObject();
  images->call("Clear");
  // The images grow with what the list is sited on, as every control does: the form's inner
  // size, or the container the list was captured against.
  double xs = CurrentFormWidth / rec.FormWidth, ys = CurrentFormHeight / rec.FormHeight;
  host::ignoreErrors([&] {
    host::ObjectPtr container = ctrl.get("Container").toObject();
    if (container && !isFormObject(*container)) {
      xs = container->get("Width").toDouble() / rec.FormWidth;
      ys = container->get("Height").toDouble() / rec.FormHeight;
    }
  });
  ctrl.set("ImageWidth", rec.ImageListWidth * xs);
  ctrl.set("ImageHeight", rec.ImageListHeight * ys);
  for (int n = 1; n <= rec.ImageListCount; ++n) {
    Variant add[] = {Variant(), Variant(rec.ImageListKey.at(n)),
                     Variant(rec.ImageListPicture.at(n))};
    images->call("Add", add);
    Variant index = args1(n);
    images->get("Item", host::Args(&index, 1)).toObject()->set("Tag", rec.ImageListTag.at(n));
  }
}

// A toolbar whose buttons were made smaller can end up lower than its scaled height: the
// buttons grow until the toolbar is at least as tall as its reference height times r, the
// ratio its container was scaled by (a toolbar in a picture box is not as tall as the form). The
// buttons grow from the captured height at every pass, never from what an earlier pass grew
// them to, so that a form brought back to its design size has its toolbars as designed.
void Engine::toolbarHeightLoop(host::Object& ctrl, const ControlClass& rec, double r) {
  // Without a reference size there is no height to grow towards, only a toolbar that would
  // grow until its height stops changing.
  if (!std::isfinite(rec.Height * r)) return;
  const double step = 8 / twipsPerUnitY(ctrl);
  float previous = 0;
  for (;;) {
    engineServices().DoEvents();
    float height = ctrl.get("Height").toSingle();
    if (height == previous || height >= rec.Height * r) return;
    ctrl.set("ButtonHeight", ctrl.get("ButtonHeight").toSingle() + step);
    previous = ctrl.get("Height").toSingle();
  }
}

void Engine::placingRun(const host::ObjectPtr& host) {
  const EngineSettings s = engineSettings();
  if (s.SetupDone) raiseEngineEvent("ResizeStarted");
  effects::WorkSurfaces& ws = workSurfaces();
  if (CurrentFormHeight == 0)
    effects::ApplyFormPicture(ws, *host, formPicHolder()->get("Picture"), s.GradientFill,
                              s.FormPicture, host->get("ScaleWidth").toSingle(),
                              host->get("ScaleHeight").toSingle());
  innerSize(*host, CurrentFormWidth, CurrentFormHeight);
  if (CurrentFormWidth == engine.LastFormWidth && CurrentFormHeight == engine.LastFormHeight) {
    endRun();  // the layout is already right
    return;
  }
  try {
    if (!engineParent()) host::raise(host::kObjectNotSet);
  } catch (const host::HostError& e) {
    raiseError(" crashed out!", e);
    endRun();
    return;
  }
  if (s.SetupDone && s.ResizeAtOnce) lockUpdates(true);

  const std::vector<Entry>& entries = resolveControls(host);
  struct LetGo {
    Engine& engine;
    ~LetGo() { engine.letGoOfControls(); }
  } letGo{*this};

  // Detach: free the image lists whose images are rebuilt, remembering what items showed.
  if (s.ScaleGraphics)
    for (const Entry& entry : entries)
      if (entry.rec) host::ignoreErrors([&] { detach(*entry.ctrl, *entry.rec); });

  // Place, by kind, the aligned controls first: the form stacks them against one another, so
  // what they hold is placed against the size that stacking gives them once all are placed,
  // never against the one the pass before left.
  placingOrder_.clear();
  for (const Entry& e : entries)
    if ((e.has & kHasAlign) && alignedOnForm(*e.ctrl)) placingOrder_.push_back(&e);
  const std::size_t alignedCount = placingOrder_.size();
  for (const Entry& e : entries)
    if (std::find(placingOrder_.begin(), placingOrder_.begin() + alignedCount, &e) ==
        placingOrder_.begin() + alignedCount)
      placingOrder_.push_back(&e);
  lastContainer_ = {};
  try {
    for (const Entry* placing : placingOrder_) {
      const Entry& entry = *placing;
      if (!entry.rec) continue;
      // Whatever this control's placing does to its own size, no later control reads it from
      // before.
      struct Forget {
        Engine& engine;
        const host::Object* placed;
        ~Forget() {
          if (engine.lastContainer_.container == placed) engine.lastContainer_ = {};
        }
      } forget{*this, entry.ctrl.get()};
      const host::ObjectPtr& ctrl = entry.ctrl;
      ControlClass* rec = entry.rec.get();
      ControlFlags* flags = entry.flags.get();
      switch (rec->SpecialControlType) {
        case kLineControl:
          place(*ctrl, *rec, *flags, s);
          break;
        case kTabControl:
          placeTabControl(*ctrl, *rec, *flags);
          break;
        case kImageListComponent:
          if (s.ScaleGraphics && !flags->DontScaleGraphic) {
            try {
              rebuildImageList(*ctrl, *rec);
            } catch (const host::HostError& e) {
              std::string name = host::tryGet(*ctrl, "Name").value_or(Variant()).toString();
              throw Abandon{name +
                                " has a one or more controls bound to it that is not supported "
                                "by Rescalo\r\n See Rescalo Help File for more information\r\n",
                            e};
            }
          }
          break;
        default:
          place(*ctrl, *rec, *flags, s);
          host::ObjectPtr* captured[] = {&rec->Picture, &rec->DownPicture, &rec->DisabledPicture};
          // A picture captured as none scales to none: on a control that is not drawn on it is
          // written only over a picture the application gave since (most buttons have none).
          std::uint8_t pictures = 0;
          if (s.ScaleGraphics && !flags->DontScaleGraphic)
            for (std::size_t i = 0; i < std::size(kPictureMembers); ++i) {
              const auto bit = static_cast<std::uint8_t>(1u << i);
              if (!(entry.has & bit)) continue;
              bool none = false;
              if (!*captured[i] && !(entry.has & kDrawnOn))
                host::ignoreErrors([&] { none = ctrl->get(kPictureMembers[i]).isNothing(); });
              if (!none) pictures = static_cast<std::uint8_t>(pictures | bit);
            }
          if (pictures) {
            // Pictures are rescaled from the captured ones, and only when the size changed.
            double xs = 0, ys = 0;
            bool changed = false;
            bool resized = host::ignoreErrors([&] {
                             float w = ctrl->get(kWidth).toSingle();
                             float h = ctrl->get(kHeight).toSingle();
                             changed = w != rec->LastWidth || h != rec->LastHeight;
                             xs = static_cast<double>(w) / rec->Width;
                             ys = static_cast<double>(h) / rec->Height;
                           }) &&
                           changed;
            if (resized)
              for (std::size_t i = 0; i < std::size(kPictureMembers); ++i)
                if (pictures & (1u << i))
                  host::ignoreErrors([&] {
                    ctrl->set(kPictureMembers[i],
                              effects::ScalePicture(ws, Variant(*captured[i]), xs, ys));
                  });
          }
      }
      if (s.ScaleBorders && !flags->DontScaleBorder && (entry.has & kHasBorderWidth))
        host::ignoreErrors([&] {
          // A control without a measurable size has no factor: its border stays as it is.
          if (!std::isnan(FontScaleFactor))
            ctrl->set("BorderWidth", rec->BorderWidth * FontScaleFactor);
        });
      if (rec->ControlHasButtons) {
        if (!flags->DontScaleWidth) ctrl->set("ButtonWidth", rec->ButtonWidth * rec->xScale);
        if (!flags->DontScaleHeight) {
          const double unit = twipsPerUnitY(*ctrl);
          ctrl->set("ButtonHeight", host::Int(rec->ButtonHeight * unit) / unit * rec->yScale);
          // The toolbar takes the height of its new buttons before the controls it holds are
          // placed against it: they would otherwise follow the height of the pass before.
          engineServices().DoEvents();
          if (!s.ScaleGraphics && differs(*ctrl, *rec))
            host::ignoreErrors([&] { toolbarHeightLoop(*ctrl, *rec, rec->yScale); });
        }
      }
      if (!s.ScaleGraphics) host::ignoreErrors([&] { noteWhereItStands(*ctrl, *rec); });
    }
  } catch (const Abandon& a) {
    lastContainer_ = {};
    raiseError(a.description, a.error);
    endRun();
    return;
  }

  lastContainer_ = {};

  // The form's own picture.
  if (boundHost()) {
    std::string formKey = GetControlKey(host);
    auto hostRec = findRecord<ControlClass>(colControlInfo(), formKey);
    auto hostFlags = findRecord<ControlFlags>(colControlFlags(), formKey);
    if (s.ScaleGraphics && !s.GradientFill && hostFlags && !hostFlags->DontScaleGraphic && hostRec)
      host::ignoreErrors([&] {
        if (CurrentFormWidth == engine.LastFormWidth && CurrentFormHeight == engine.LastFormHeight)
          return;
        formPicHolder()->set("Picture",
                             effects::ScalePicture(ws, Variant(hostRec->Picture),
                                                   CurrentFormWidth / hostRec->FormWidth,
                                                   CurrentFormHeight / hostRec->FormHeight));
      });
    if (!s.GradientFill) {
      if (s.FormPicture < 1)
        host->set("Picture", formPicHolder()->get("Picture"));
      else
        effects::ApplyFormPicture(ws, *host, formPicHolder()->get("Picture"), s.GradientFill,
                                  s.FormPicture, CurrentFormWidth, CurrentFormHeight);
    }
    if (host->typeName() == "MDIForm") {
      host->call("Hide");
      host->call("Show");
    }
  }

  // Record the size this run worked for; a dimension measured as 0 keeps the last real one.
  float w = 0, h = 0;
  innerSize(*host, w, h);
  if (host->get("ScaleWidth").toSingle() != 0) engine.LastFormWidth = w;
  if (host->get("ScaleHeight").toSingle() != 0) engine.LastFormHeight = h;

  // Re-attach the image lists and note where every control now stands.
  if (s.ScaleGraphics)
    for (const Entry& entry : entries) {
      if (!entry.rec) continue;
      const host::ObjectPtr& ctrl = entry.ctrl;
      ControlClass* rec = entry.rec.get();
      host::ignoreErrors([&] { reattach(*ctrl, *rec); });
      if (!entry.flags->DontScaleHeight && rec->ControlHasButtons)
        host::ignoreErrors([&] { toolbarHeightLoop(*ctrl, *rec, rec->yScale); });
      host::ignoreErrors([&] { noteWhereItStands(*ctrl, *rec); });
    }

  if (s.SetupDone) {
    lockUpdates(false);
    raiseEngineEvent("ResizeDone");
  }
}

Variant Engine::Reset() {
  ControlsCaptured = false;
  host::ObjectPtr host = boundHost();
  if (!host) host::raise(host::kObjectNotSet);
  innerSize(*host, engine.LastFormWidth, engine.LastFormHeight);
  runResizeHandling();
  return {};
}

}  // namespace rescalo::scaling
