#include <rescalo/runtime/form.h>

#include <algorithm>
#include <cmath>

#include <rescalo/host/collection.h>
#include <rescalo/runtime/runtime.h>
#include <rescalo/runtime/scale.h>
#include <rescalo/runtime/user_control_host.h>

namespace rescalo::runtime {

using host::Args;
using host::Name;
using host::Object;
using host::self;
using host::single;
using host::Variant;

namespace {
constexpr double kBoxBorder = 2;  // pixels of a 3-D picture box border on each side
}  // namespace

// ---- PictureBox ----

PictureBox::PictureBox(std::string fileClass, const ControlClass& cls)
    : Control(std::move(fileClass), cls) {
  backColor = 0x8000000F;
}

static double boxBorderTwips(const PictureBox& box, bool xAxis) {
  const host::Variant* bs = box.stored.find("BorderStyle");
  bool bordered = !bs || bs->toLong() != 0;
  return bordered
             ? 2 * kBoxBorder * (xAxis ? ScaleState::twipsPerPixelX : ScaleState::twipsPerPixelY)
             : 0;
}

double PictureBox::clientWidthTwips() const {
  return std::max(0.0, width - boxBorderTwips(*this, true));
}
double PictureBox::clientHeightTwips() const {
  return std::max(0.0, height - boxBorderTwips(*this, false));
}

void PictureBox::onPictureChanged() {
  const host::Variant* autoSize = stored.find("AutoSize");
  const raster::Bitmap* pic = bitmapOf(picture);
  if (autoSize && autoSize->toBool() && pic) {
    width = pic->width() * ScaleState::twipsPerPixelX + boxBorderTwips(*this, true);
    height = pic->height() * ScaleState::twipsPerPixelY + boxBorderTwips(*this, false);
    resizeSurface();
  }
}

namespace {

// An aligned box goes back to its edge whatever it was told: only its height (top and bottom
// boxes) or width (left and right boxes) is its own.
void realign(PictureBox& b) {
  if (b.align() != 0 && b.form && b.container == b.form) b.form->layoutAligned();
  b.resizeSurface();
}

}  // namespace

const host::MemberTable& pictureBoxMembers() {
  static const host::MemberTable table{
      {{"Left",
        [](Object& o, Args) {
          return single(self<Control>(o).space().toUnitsX(self<Control>(o).left));
        },
        [](Object& o, Args, const Variant& v) {
          auto& b = dynamic_cast<PictureBox&>(self<Control>(o));
          b.left = b.space().toTwipsX(v.toDouble());
          realign(b);
        }},
       {"Top",
        [](Object& o, Args) {
          return single(self<Control>(o).space().toUnitsY(self<Control>(o).top));
        },
        [](Object& o, Args, const Variant& v) {
          auto& b = dynamic_cast<PictureBox&>(self<Control>(o));
          b.top = b.space().toTwipsY(v.toDouble());
          realign(b);
        }},
       {"Width",
        [](Object& o, Args) {
          return single(self<Control>(o).width / self<Control>(o).space().unitX);
        },
        [](Object& o, Args, const Variant& v) {
          auto& b = dynamic_cast<PictureBox&>(self<Control>(o));
          b.move(b.space().toUnitsX(b.left), std::nullopt, v.toDouble());
          realign(b);
        }},
       {"Height",
        [](Object& o, Args) {
          return single(self<Control>(o).height / self<Control>(o).space().unitY);
        },
        [](Object& o, Args, const Variant& v) {
          auto& b = dynamic_cast<PictureBox&>(self<Control>(o));
          b.move(b.space().toUnitsX(b.left), std::nullopt, std::nullopt, v.toDouble());
          realign(b);
        }},
       {"Move", nullptr, nullptr,
        [](Object& o, Args a) {
          host::expectArgs(a, 1, 4);
          auto& b = dynamic_cast<PictureBox&>(self<Control>(o));
          auto opt = [&](std::size_t i) {
            return a.size() > i ? std::optional<double>(a[i].toDouble()) : std::nullopt;
          };
          b.move(a[0].toDouble(), opt(1), opt(2), opt(3));
          realign(b);
          return Variant();
        }}},
      {&rectMembers(), &fontMembers(), &Surface::members()}};
  return table;
}

// ---- Form ----

namespace {

class MdiClientWindow : public WindowOwner {
 public:
  explicit MdiClientWindow(Form& form) : form_(form) {}
  host::RECT windowRect() const override {
    host::RECT r = form_.windowRect();
    FrameMetrics f = frameFor(form_.borderStyle);
    Form::Area a = form_.mdiClientArea();
    double tx = ScaleState::twipsPerPixelX, ty = ScaleState::twipsPerPixelY;
    int x0 = r.left + static_cast<int>(std::lround((f.width / 2 + a.left) / tx));
    int y0 = r.top + static_cast<int>(std::lround(
                         (f.height - f.width / 2 + form_.menuBarHeight() + a.top) / ty));
    return {x0, y0, x0 + static_cast<int>(std::lround(a.width / tx)),
            y0 + static_cast<int>(std::lround(a.height / ty))};
  }
  void setWindowPos(int, int, int, int, std::uint32_t) override {}

 private:
  Form& form_;
};

}  // namespace

FrameMetrics frameFor(int borderStyle) {
  switch (borderStyle) {
    case 0:
      return {0, 0};
    case 1:
    case 3:
      return {90, 375};
    case 4:
      return {90, 330};
    case 5:
      return {120, 360};
    default:
      return {120, 405};
  }
}

Form::Form(Runtime& rt, bool mdi) : rt_(rt), mdi_(mdi) {
  if (mdi) fileClass = "VB.MDIForm";
  hwnd = rt.windowTable().create(this);
  rt.forms.push_back(this);
  if (mdi) {
    backColor = 0x8000000C;
    rt.mdiForm = this;
    // The MDI client window is a window of its own, the parent of every MDI child.
    mdiClient_ = std::make_unique<MdiClientWindow>(*this);
    clientHwnd = rt.windowTable().create(mdiClient_.get(), hwnd);
  }
}

Form::~Form() {
  if (rt_.mdiForm == this) rt_.mdiForm = nullptr;
  std::erase(rt_.forms, this);
  rt_.windowTable().destroy(hwnd);
  if (clientHwnd) rt_.windowTable().destroy(clientHwnd);
}

// An MDI form is never a child, whatever its file says: it would be its own parent.
Form* Form::mdiParent() const {
  return mdiChild && !mdi_ && rt_.mdiForm != this ? rt_.mdiForm : nullptr;
}

const Form::Own& Form::own() const {
  if (own_.foundIn == controlsVersion_) return own_;
  own_ = {};
  for (const auto& c : controls_) {
    if (c->container != this) continue;
    if (c->typeName() == "Menu") own_.menus.push_back(c.get());
    if (c->canAlign()) own_.alignable.push_back(c.get());
  }
  own_.foundIn = controlsVersion_;
  return own_;
}

double Form::menuBarHeight() const {
  for (const Control* m : own().menus)
    if (m->visible) return host::kMenuBarPixels * ScaleState::twipsPerPixelY;
  return 0;
}

double Form::left() const {
  if (windowState_ == 2) return -frameFor(borderStyle).width / 2;
  return left_;
}
double Form::top() const {
  if (windowState_ == 2) return -frameFor(borderStyle).width / 2;
  return top_;
}

// Maximized, the client fills the screen (an MDI child: its parent's client area) and the
// side frames hang over its edges; minimized, only a caption is left.
double Form::width() const {
  FrameMetrics f = frameFor(borderStyle);
  if (windowState_ == 1) return 160 * ScaleState::twipsPerPixelX;
  if (windowState_ == 2) {
    if (Form* p = mdiParent()) return p->mdiClientArea().width + f.width;
    return rt_.screen().width + f.width;
  }
  return width_;
}

double Form::height() const {
  FrameMetrics f = frameFor(borderStyle);
  if (windowState_ == 1) return f.height - f.width / 2;
  if (windowState_ == 2) {
    if (Form* p = mdiParent()) return p->mdiClientArea().height + f.height + menuBarHeight();
    return rt_.screen().height + f.width;
  }
  return height_;
}

double Form::fullClientWidth() const {
  if (windowState_ == 1) return 0;
  return std::max(0.0, width() - frameFor(borderStyle).width);
}

double Form::fullClientHeight() const {
  if (windowState_ == 1) return 0;
  return std::max(0.0, height() - frameFor(borderStyle).height - menuBarHeight());
}

double Form::clientWidthTwips() const { return mdi_ ? mdiClientArea().width : fullClientWidth(); }
double Form::clientHeightTwips() const {
  return mdi_ ? mdiClientArea().height : fullClientHeight();
}

Form::Area Form::mdiClientArea() const { return stackAligned(false); }

Form::Area Form::stackAligned(bool place) const {
  // Controls on the top and bottom edges come first and span the form (top and bottom take
  // from opposite ends, so which goes first does not matter); those on the left and right
  // share the height between them. On one edge, the control nearest the edge takes it
  // first, so aligned controls stay in the order they stand in (a program reorders them by
  // moving one past another); of two that stand at the same place, the one on top of the
  // z-order, loaded later, is nearer the edge.
  struct Entry {
    Control* control;
    int align;
    double distance;  // from its edge
  };
  std::vector<Entry> order;
  for (Control* c : own().alignable) {
    int align = c->align();
    if ((!c->visible && !designMode) || align < 1 || align > 4) continue;
    double distance = align == 1   ? c->top
                      : align == 2 ? -(c->top + c->height)
                      : align == 3 ? c->left
                                   : -(c->left + c->width);
    order.push_back({c, align, distance});
  }
  std::reverse(order.begin(), order.end());
  std::stable_sort(order.begin(), order.end(), [](const Entry& a, const Entry& b) {
    if (a.align != b.align) return a.align < b.align;
    return a.distance < b.distance;
  });
  // An aligned control is a window, as thick as the whole pixels its Height or Width comes
  // to; the property keeps the twips it was given, but the next control stacks against the
  // window.
  auto pixels = [](double twips, double perPixel) {
    return std::round(twips / perPixel) * perPixel;
  };
  Area a{0, 0, fullClientWidth(), fullClientHeight()};
  for (const Entry& e : order) {
    Control* c = e.control;
    const bool horizontal = e.align <= 2;
    if (place) {
      if (horizontal) {
        c->left = a.left, c->width = a.width;
        c->fitAlignedLength();
        c->top =
            e.align == 1 ? a.top : a.top + a.height - pixels(c->height, ScaleState::twipsPerPixelY);
      } else {
        c->top = a.top, c->height = a.height;
        c->left =
            e.align == 3 ? a.left : a.left + a.width - pixels(c->width, ScaleState::twipsPerPixelX);
      }
      if (auto* surface = dynamic_cast<Surface*>(c)) surface->resizeSurface();
    }
    // What is left shrinks by the control's thickness, never below nothing.
    if (horizontal) {
      double t = std::min(pixels(c->height, ScaleState::twipsPerPixelY), a.height);
      if (e.align == 1) a.top += t;
      a.height -= t;
    } else {
      double t = std::min(pixels(c->width, ScaleState::twipsPerPixelX), a.width);
      if (e.align == 3) a.left += t;
      a.width -= t;
    }
  }
  return a;
}

void Form::layoutAligned() {
  if (!holdAligned) stackAligned(true);
}

void Form::setInitialBounds(double l, double t, double w, double h) {
  left_ = l, top_ = t, width_ = w, height_ = h;
  layoutAligned();
  resizeSurface();
}

void Form::setClientSize(double w, double h) {
  FrameMetrics f = frameFor(borderStyle);
  width_ = w + f.width;
  height_ = h + f.height + menuBarHeight();
  layoutAligned();
  resizeSurface();
}

void Form::raiseResize() {
  layoutAligned();
  resizeSurface();
  raiseEvent("Resize");
}

void Form::applySize(double w, double h, bool raise) {
  // However it is sized, from code, by a drag or by SetWindowPos, the window system holds a
  // window to its largest side.
  w = std::min(w, host::kMaxWindowPixels * ScaleState::twipsPerPixelX);
  h = std::min(h, host::kMaxWindowPixels * ScaleState::twipsPerPixelY);
  bool changed = w != width_ || h != height_;
  width_ = w;
  height_ = h;
  if (changed && raise) raiseResize();
}

// The limits a drag is held to: the defaults (the screen and a little, a caption's width),
// then what the window's procedures make of them.
host::MINMAXINFO Form::trackingLimits() const {
  double tx = ScaleState::twipsPerPixelX, ty = ScaleState::twipsPerPixelY;
  host::MINMAXINFO defaults;
  host::ScreenMetrics s = rt_.screen();
  defaults.ptMaxSize = {static_cast<int>(s.width / tx), static_cast<int>(s.height / ty)};
  defaults.ptMinTrackSize = {112, 27};
  defaults.ptMaxTrackSize = {static_cast<int>(s.width / tx) + 12,
                             static_cast<int>(s.height / ty) + 12};
  return rt_.windowTable().trackingLimits(hwnd, defaults);
}

void Form::move(double l, std::optional<double> t, std::optional<double> w,
                std::optional<double> h) {
  if (windowState_ != 0) host::raise(host::kCantMoveMinMax);
  if ((w && *w < 0) || (h && *h < 0)) host::raise(host::kInvalidPropertyValue);
  left_ = l;
  if (t) top_ = *t;
  applySize(w.value_or(width_), h.value_or(height_), true);
}

void Form::setWindowState(int state) {
  if (state < 0 || state > 2) host::raise(host::kInvalidPropertyValue);
  if (state == windowState_) return;
  windowState_ = state;
  raiseResize();
}

void Form::userDrag(double outerWidth, double outerHeight) {
  if (windowState_ != 0 || !enabled) return;  // a disabled window takes no drag
  double tx = ScaleState::twipsPerPixelX, ty = ScaleState::twipsPerPixelY;
  host::MINMAXINFO lim = trackingLimits();
  double wpx =
      std::clamp(std::round(outerWidth / tx), static_cast<double>(lim.ptMinTrackSize.x),
                 static_cast<double>(std::max(lim.ptMinTrackSize.x, lim.ptMaxTrackSize.x)));
  double hpx =
      std::clamp(std::round(outerHeight / ty), static_cast<double>(lim.ptMinTrackSize.y),
                 static_cast<double>(std::max(lim.ptMinTrackSize.y, lim.ptMaxTrackSize.y)));
  applySize(wpx * tx, hpx * ty, true);
}

void Form::load() {
  if (loaded_) return;
  loaded_ = true;
  raiseEvent("Load");
}

void Form::show() {
  load();
  if (unloaded_) return;  // Load may have unloaded the form
  visible_ = true;
  if (!shownOnce_) {
    shownOnce_ = true;
    raiseResize();
  }
  activate();
}

void Form::hide() {
  if (!visible_) return;
  visible_ = false;
  deactivate();
}

void Form::activate() { raiseEvent("Activate"); }
void Form::deactivate() { raiseEvent("Deactivate"); }

void Form::unload() {
  if (unloaded_ || !loaded_) return;
  unloaded_ = true;
  raiseEvent("Unload");
  // The form's user controls end with it.
  for (const auto& c : controls_)
    if (auto* uc = dynamic_cast<UserControlHost*>(c.get())) uc->control().Terminate();
  visible_ = false;
  loaded_ = false;
  shownOnce_ = false;
  unloaded_ = false;
}

host::RECT Form::windowRect() const {
  double tx = ScaleState::twipsPerPixelX, ty = ScaleState::twipsPerPixelY;
  double x = left(), y = top();
  if (Form* p = mdiParent()) {
    host::RECT c{};
    rt_.windowTable().GetWindowRect(p->clientHwnd, c);
    x += c.left * tx;
    y += c.top * ty;
  }
  int l = static_cast<int>(std::lround(x / tx)), t = static_cast<int>(std::lround(y / ty));
  return {l, t, l + static_cast<int>(std::lround(width() / tx)),
          t + static_cast<int>(std::lround(height() / ty))};
}

void Form::setWindowPos(int x, int y, int cx, int cy, std::uint32_t flags) {
  double tx = ScaleState::twipsPerPixelX, ty = ScaleState::twipsPerPixelY;
  if (windowState_ != 0) return;
  if (!(flags & host::SWP_NOMOVE)) {
    double ox = 0, oy = 0;
    if (Form* p = mdiParent()) {
      host::RECT c{};
      rt_.windowTable().GetWindowRect(p->clientHwnd, c);
      ox = c.left, oy = c.top;
    }
    left_ = (x - ox) * tx;
    top_ = (y - oy) * ty;
  }
  if (!(flags & host::SWP_NOSIZE)) applySize(cx * tx, cy * ty, true);
}

host::HWND Form::parentWindow() const {
  Form* p = mdiParent();
  return p ? p->clientHwnd : 0;
}

void Form::add(std::shared_ptr<Control> control, ContainerBase& container) {
  control->form = this;
  control->container = &container;
  container.children.push_back(control.get());
  controls_.push_back(std::move(control));
  if (!byKeyStale_) {
    const int at = static_cast<int>(controls_.size()) - 1;
    byKey_.insert(
        controls_.back()->key(), at, [this](int p) -> auto& { return keyAt(p); });
  }
  ++controlsVersion_;
}

void Form::remove(Control& control) {
  auto keep = control.shared_from_this();  // the form's may be the last reference
  while (!control.children.empty()) remove(*control.children.back());
  if (control.container) std::erase(control.container->children, &control);
  std::erase_if(controls_, [&](const auto& c) { return c.get() == &control; });
  control.form = nullptr;
  control.container = nullptr;
  byKeyStale_ = true;
  ++controlsVersion_;
}

const std::string& Form::keyAt(int position) const {
  return controls_[static_cast<std::size_t>(position)]->key();
}

Control* Form::find(std::string_view key) const {
  auto keyOf = [this](int p) -> auto& { return keyAt(p); };
  if (byKeyStale_) {
    byKey_.clear();
    for (std::size_t i = 0; i < controls_.size(); ++i)
      byKey_.insert(controls_[i]->key(), static_cast<int>(i), keyOf);  // the first of a key stays
    byKeyStale_ = false;
  }
  int p = byKey_.find(key, keyOf);
  return p < 0 ? nullptr : controls_[static_cast<std::size_t>(p)].get();
}

bool Form::tryGet(Name n, Args index, Variant& out) {
  if (Object::tryGet(n, index, out)) return true;
  if (!index.empty()) return false;
  if (const Variant* v = stored.find(n)) {
    out = *v;
    return true;
  }
  return false;
}

bool Form::trySet(Name n, Args index, const Variant& value) {
  if (Object::trySet(n, index, value)) return true;
  if (!index.empty() || !stored.find(n)) return false;
  stored.set(n.text(), value);
  return true;
}

namespace {

Form& frm(Object& o) { return self<Form>(o); }

// A live view of a form's controls. It holds the form weakly: a control that keeps the list
// must not keep its own form alive.
class ControlList : public Object {
 public:
  ControlList(std::weak_ptr<Form> form, bool withFormFirst)
      : form_(std::move(form)), withForm_(withFormFirst) {}
  std::string_view typeName() const override { return "Object"; }
  int count() const { return static_cast<int>(form()->controls().size()) + (withForm_ ? 1 : 0); }
  host::ObjectPtr item(const Variant& i) const {
    auto f = form();
    if (const std::string* key = i.stringPtr()) {
      if (Control* c = f->find(*key)) return c->shared_from_this();
      host::raise(730, "Control '" + *key + "' not found");
    }
    int n = i.toLong();
    if (n < 0 || n >= count()) host::raise(host::kSubscriptOutOfRange);
    if (withForm_) {
      if (n == 0) return f;
      --n;
    }
    return f->controls()[static_cast<std::size_t>(n)];
  }

 protected:
  const host::MemberTable* members() const override {
    static const host::MemberTable table{
        {"Count", [](Object& o, Args) { return Variant(self<ControlList>(o).count()); }},
        {"Item", [](Object& o, Args a) {
           host::expectArgs(a, 1);
           return Variant(self<ControlList>(o).item(a[0]));
         }}};
    return &table;
  }

 private:
  std::shared_ptr<Form> form() const {
    auto f = form_.lock();
    if (!f) host::raise(host::kObjectNotSet);
    return f;
  }
  std::weak_ptr<Form> form_;
  bool withForm_;
};

}  // namespace

host::ObjectPtr controlsOf(Form& form, bool withFormFirst) {
  return std::make_shared<ControlList>(std::static_pointer_cast<Form>(form.shared_from_this()),
                                       withFormFirst);
}

const host::MemberTable* Form::members() const {
  static const host::MemberTable table{
      {{"Name", [](Object& o, Args) { return Variant(frm(o).name); }},
       {"Caption", [](Object& o, Args) { return Variant(frm(o).caption); },
        [](Object& o, Args, const Variant& v) { frm(o).caption = v.toString(); }},
       {"Tag", [](Object& o, Args) { return Variant(frm(o).tag); },
        [](Object& o, Args, const Variant& v) { frm(o).tag = v.toString(); }},
       {"Left", [](Object& o, Args) { return single(frm(o).left()); },
        [](Object& o, Args, const Variant& v) { frm(o).move(v.toDouble()); }},
       {"Top", [](Object& o, Args) { return single(frm(o).top()); },
        [](Object& o, Args, const Variant& v) { frm(o).move(frm(o).left(), v.toDouble()); }},
       {"Width", [](Object& o, Args) { return single(frm(o).width()); },
        [](Object& o, Args, const Variant& v) {
          Form& f = frm(o);
          f.move(f.left(), f.top(), v.toDouble());
        }},
       {"Height", [](Object& o, Args) { return single(frm(o).height()); },
        [](Object& o, Args, const Variant& v) {
          Form& f = frm(o);
          f.move(f.left(), f.top(), f.width(), v.toDouble());
        }},
       {"Move", nullptr, nullptr,
        [](Object& o, Args a) {
          host::expectArgs(a, 1, 4);
          auto opt = [&](std::size_t i) {
            return a.size() > i ? std::optional<double>(a[i].toDouble()) : std::nullopt;
          };
          frm(o).move(a[0].toDouble(), opt(1), opt(2), opt(3));
          return Variant();
        }},
       {"WindowState",
        [](Object& o, Args) { return Variant(static_cast<std::int16_t>(frm(o).windowState())); },
        [](Object& o, Args, const Variant& v) { frm(o).setWindowState(v.toInteger()); }},
       {"Visible", [](Object& o, Args) { return Variant(frm(o).visible()); },
        [](Object& o, Args, const Variant& v) {
          if (v.toBool())
            frm(o).show();
          else
            frm(o).hide();
        }},
       {"Enabled", [](Object& o, Args) { return Variant(frm(o).enabled); },
        [](Object& o, Args, const Variant& v) { frm(o).enabled = v.toBool(); }},
       {"MDIChild", [](Object& o, Args) { return Variant(frm(o).mdiChild); }},
       {"BorderStyle",
        [](Object& o, Args) { return Variant(static_cast<std::int16_t>(frm(o).borderStyle)); }},
       {"hWnd", [](Object& o, Args) { return Variant(static_cast<std::int32_t>(frm(o).hwnd)); }},
       {"Show", nullptr, nullptr,
        [](Object& o, Args) {
          frm(o).show();
          return Variant();
        }},
       {"Hide", nullptr, nullptr,
        [](Object& o, Args) {
          frm(o).hide();
          return Variant();
        }},
       // The Unload statement, for code that holds a form only by reference.
       {"Unload", nullptr, nullptr,
        [](Object& o, Args) {
          frm(o).unload();
          return Variant();
        }},
       {"Controls", [](Object& o, Args) { return Variant(controlsOf(frm(o), false)); }},
       {"Font", [](Object& o, Args) { return Variant(host::ObjectPtr(frm(o).font)); }},
       {"FontName", [](Object& o, Args) { return Variant(frm(o).font->name()); },
        [](Object& o, Args, const Variant& v) { frm(o).font->setName(v.toString()); }},
       {"FontSize", [](Object& o, Args) { return Variant(frm(o).font->size()); },
        [](Object& o, Args, const Variant& v) { frm(o).font->setSize(v.toDouble()); }}},
      {&Surface::members()}};
  return &table;
}

}  // namespace rescalo::runtime
