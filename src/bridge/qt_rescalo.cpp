#include <rescalo/bridge/qt_rescalo.h>

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <iterator>

#include <rescalo/control/rescalo.h>
#include <rescalo/host/failure.h>
#include <rescalo/qt/qt_control.h>
#include <rescalo/qt/qt_object.h>
#include <rescalo/scaling/records.h>

namespace rescalo::qt {

using host::Variant;

namespace {

// The flags' names, each with the classic flag it stands for.
struct Named {
  const char* name;
  unsigned bit;
  const char* classic;
};
constexpr Named kLocks[] = {
    {"Left", unsigned(Lock::Left), "DontScaleLeft"},
    {"Top", unsigned(Lock::Top), "DontScaleTop"},
    {"Width", unsigned(Lock::Width), "DontScaleWidth"},
    {"Height", unsigned(Lock::Height), "DontScaleHeight"},
    {"Right", unsigned(Lock::Right), "DontScaleRight"},
    {"Bottom", unsigned(Lock::Bottom), "DontScaleBottom"},
};
constexpr Named kExcludes[] = {
    {"Control", unsigned(Exclude::Control), "DontScaleControl"},
    {"Font", unsigned(Exclude::Font), "DontScaleFont"},
    {"Border", unsigned(Exclude::Border), "DontScaleBorder"},
    {"Picture", unsigned(Exclude::Picture), "DontScaleGraphic"},
};

template <std::size_t N>
unsigned bitsFrom(const QString& text, const Named (&names)[N]) {
  bool isNumber = false;
  const unsigned n = text.trimmed().toUInt(&isNumber, 0);
  if (isNumber) return n;
  unsigned bits = 0;
  for (const QString& part : text.split(QRegularExpression("[|,+ ]"), Qt::SkipEmptyParts))
    for (const Named& named : names)
      if (part.compare(QLatin1String(named.name), Qt::CaseInsensitive) == 0) bits |= named.bit;
  return bits;
}

template <std::size_t N>
QString bitsTo(unsigned bits, const Named (&names)[N]) {
  QStringList parts;
  for (const Named& named : names)
    if (bits & named.bit) parts << QLatin1String(named.name);
  return parts.join('|');
}

// Classic colours are 0x00BBGGRR.
QColor fromClassic(std::int32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
std::int32_t toClassic(const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }

constexpr const char* kNoFont = "<none>";

// A widget's control key, as the pass files its records under.
std::string keyOf(QWidget* widget) {
  return scaling::GetControlKey(host::ObjectPtr(qt::adoptControl(widget)));
}

}  // namespace

Locks locksFromString(const QString& text) { return Locks(int(bitsFrom(text, kLocks))); }
Excludes excludesFromString(const QString& text) {
  return Excludes(int(bitsFrom(text, kExcludes)));
}
QString toString(Locks locks) { return bitsTo(unsigned(locks.toInt()), kLocks); }
QString toString(Excludes excludes) { return bitsTo(unsigned(excludes.toInt()), kExcludes); }

// The control before it is attached, or at design time: in design mode, so that its Lets
// clamp and its defaults are the classic ones, sited on nothing but the form's widgets when
// told of them.
class DetachedSite : public host::Object, public host::ControlSite {
 public:
  explicit DetachedSite(host::Services& services)
      : control_(control::makeRescalo()), services_(services) {}
  ~DetachedSite() override {
    host::ignoreErrors([&] { control_->Terminate(); });
  }
  // Once shared: the control keeps its site's controls, which look back at the site.
  void start() {
    control_->Initialize(*this);
    control_->InitProperties();
  }
  host::UserControl& control() { return *control_; }

  std::string_view typeName() const override { return control_->typeName(); }
  bool tryGet(host::Name name, host::Args index, Variant& out) override {
    return Object::tryGet(name, index, out) || control_->tryGet(name, index, out);
  }
  bool trySet(host::Name name, host::Args index, const Variant& value) override {
    return Object::trySet(name, index, value) || control_->trySet(name, index, value);
  }
  bool tryCall(host::Name name, host::Args args, Variant& out) override {
    return Object::tryCall(name, args, out) || control_->tryCall(name, args, out);
  }
  bool has(host::Name name) const override { return Object::has(name) || control_->has(name); }

  bool UserMode() const override { return false; }
  host::ObjectPtr ParentControls() override;
  host::ObjectPtr Parent() override {
    std::vector<host::ObjectPtr> all = listed ? listed() : std::vector<host::ObjectPtr>{};
    return all.empty() ? nullptr : all.front();
  }
  bool Enabled() const override { return enabled_; }
  void setEnabled(bool enabled) override { enabled_ = enabled; }
  double Width() const override { return width_; }
  double Height() const override { return height_; }
  void setSize(double width, double height) override {
    width_ = width;
    height_ = height;
  }
  void PropertyChanged(std::string_view) override {}
  // Nothing runs before attaching, so nothing is heard.
  void RaiseEvent(std::string_view, host::Args) override {}
  host::Services& services() override { return services_; }

  // The form first, then its controls; nothing until told.
  std::function<std::vector<host::ObjectPtr>()> listed;

 protected:
  const host::MemberTable* members() const override {
    static const host::MemberTable table{
        {"Name", [](Object&, host::Args) { return Variant(std::string("Rescalo1")); }}};
    return &table;
  }

 private:
  std::shared_ptr<host::UserControl> control_;
  host::Services& services_;
  bool enabled_ = true;
  double width_ = 0, height_ = 0;
};

namespace {

// The detached control's form and controls, read afresh on every access. Without a form,
// item 0 does not exist, so nothing takes the size of a form it has not got.
class ListedControls : public host::Object {
 public:
  explicit ListedControls(std::weak_ptr<DetachedSite> site) : site_(std::move(site)) {}
  std::string_view typeName() const override { return "Controls"; }

 protected:
  const host::MemberTable* members() const override {
    static const host::MemberTable table{
        {"Count",
         [](Object& o, host::Args) {
           return Variant(static_cast<std::int32_t>(host::self<ListedControls>(o).all().size()));
         }},
        {"Item", [](Object& o, host::Args index) {
           host::expectArgs(index, 1);
           const std::vector<host::ObjectPtr> all = host::self<ListedControls>(o).all();
           const std::int32_t n = index[0].toLong();
           if (n < 0 || n >= static_cast<std::int32_t>(all.size()))
             host::raise(host::kSubscriptOutOfRange);
           return Variant(all[static_cast<std::size_t>(n)]);
         }}};
    return &table;
  }

 private:
  std::vector<host::ObjectPtr> all() const {
    auto site = site_.lock();
    return site && site->listed ? site->listed() : std::vector<host::ObjectPtr>{};
  }
  std::weak_ptr<DetachedSite> site_;
};

// The form being designed, as the property pages name it.
class DesignedForm : public host::Object {
 public:
  explicit DesignedForm(std::string name) : name_(std::move(name)) {}
  std::string_view typeName() const override { return "Form"; }

 protected:
  const host::MemberTable* members() const override {
    static const host::MemberTable table{
        {"Name", [](Object& o, host::Args) { return Variant(host::self<DesignedForm>(o).name_); }}};
    return &table;
  }

 private:
  std::string name_;
};

}  // namespace

host::ObjectPtr DetachedSite::ParentControls() {
  return std::make_shared<ListedControls>(
      std::static_pointer_cast<DetachedSite>(shared_from_this()));
}

Rescalo::Rescalo(QWidget* parent) : Rescalo(parent, Mode::RunTime) {}

Rescalo* Rescalo::createAtDesignTime(QWidget* parent) {
  return new Rescalo(parent, Mode::DesignTime);
}

Rescalo::Rescalo(QWidget* parent, Mode mode)
    : QWidget(parent), designTime_(mode == Mode::DesignTime) {
  setObjectName("Rescalo1");
  if (mode == Mode::AttachedByCall) {
    hide();
    return;  // attach() attaches it with its options
  }
  ownServices_ = std::make_unique<QtServices>();
  services_ = ownServices_.get();
  if (designTime_) {
    resize(sizeHint());
    setToolTip("Rescalo");
  } else {
    hide();
  }
  if (!designTime_ && parent && parent->isWindow()) {
    attachTo(parent, {});
    return;
  }
  detached_ = std::make_shared<DetachedSite>(*services_);
  detached_->start();
  attachWhenPlaced();
}

Rescalo::~Rescalo() {
  if (host_) host_->terminate();
}

Rescalo* attach(QWidget* window, const Options& options) {
  if (!window || !window->isWindow()) throw host::HostError(host::kInvalidProcedureCall);
  auto* rescalo = new Rescalo(window, Rescalo::Mode::AttachedByCall);
  rescalo->setObjectName(options.name);
  rescalo->attachTo(window, options);
  return rescalo;
}

void Rescalo::attachWhenPlaced() {
  if (designTime_ || host_) return;
  if (waitingFor_) waitingFor_->removeEventFilter(this);
  waitingFor_ = nullptr;
  QWidget* parent = parentWidget();
  if (!parent) return;
  if (parent->isWindow()) {
    attachTo(parent, {});
  } else if (parent->isVisible()) {
    attachTo(parent->window(), {});
  } else {
    // Inside a window still being put together: its first display settles which one.
    waitingFor_ = parent;
    parent->installEventFilter(this);
  }
}

void Rescalo::attachTo(QWidget* window, const Options& options) {
  if (options.services) services_ = options.services;
  if (!services_) {
    ownServices_ = std::make_unique<QtServices>();
    services_ = ownServices_.get();
  }
  // What was set before attaching goes to the control that runs.
  QtPropertyBag handed;
  host::PropertyBag* bag = options.properties;
  if (detached_ && !bag) {
    detached_->control().WriteProperties(handed);
    bag = &handed;
  }
  host_ = qt::attach(
      window, control::makeRescalo(), *services_,
      {.name = options.name.toStdString(), .properties = bag, .userMode = options.userMode});
  detached_.reset();
  window_ = window;
  host_->subscribe([this](std::string_view event, host::Args args) {
    if (event == "ResizeStarted") emit resizeStarted();
    if (event == "ResizeDone") emit resizeDone();
    if (event == "PrintCancelled") emit printCancelled();
    if (event == "Error" && args.size() >= 2) {
      int n = 0;
      host::ignoreErrors([&] { n = args[1].toObject()->get("Number").toLong(); });
      emit error(QString::fromStdString(args[0].toString()), n);
    }
  });
  // Installed after the form's own watcher, so seen first: the flags hold from the pass that
  // the first display starts.
  window->installEventFilter(this);
  readWidgetFlags();
}

void Rescalo::readWidgetFlags() {
  if (!window_) return;
  for (QWidget* w : window_->findChildren<QWidget*>()) {
    const QVariant locks = w->property(kLocksProperty);
    if (locks.isValid()) setLocks(w, locksFromString(locks.toString()));
    const QVariant excludes = w->property(kExcludeProperty);
    if (excludes.isValid()) setExcluded(w, excludesFromString(excludes.toString()));
  }
}

bool Rescalo::event(QEvent* event) {
  if (event->type() == QEvent::ParentChange) attachWhenPlaced();
  return QWidget::event(event);
}

bool Rescalo::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Show) return false;
  if (watched == waitingFor_) {
    QWidget* parent = waitingFor_;
    parent->removeEventFilter(this);
    waitingFor_ = nullptr;
    attachTo(parent->window(), {});
  } else if (watched == window_ && !flagsReadAtShow_) {
    flagsReadAtShow_ = true;
    readWidgetFlags();
  }
  return false;
}

QPixmap Rescalo::picture() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient fill(0, 0, 0, 32);
  fill.setColorAt(0, QColor(70, 130, 220));
  fill.setColorAt(1, QColor(25, 70, 150));
  p.setPen(QPen(QColor(15, 40, 90), 1));
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 5, 5);
  // A small frame and the larger one it grows into, with the arrow between their corners.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(Qt::white, 2));
  p.drawRect(QRectF(6, 17, 9, 9));
  p.setPen(QPen(Qt::white, 1.5, Qt::DashLine));
  p.drawRect(QRectF(6, 6, 20, 20));
  p.setPen(QPen(Qt::white, 2));
  p.drawLine(QPointF(15, 17), QPointF(23, 9));
  p.drawLine(QPointF(23, 9), QPointF(18, 9));
  p.drawLine(QPointF(23, 9), QPointF(23, 14));
  return pixmap;
}

void Rescalo::paintEvent(QPaintEvent*) {
  if (!designTime_) return;
  QPainter(this).drawPixmap(0, 0, picture());
}

host::Object& Rescalo::classic() const {
  if (host_) return *host_;
  return *detached_;
}
host::Services& Rescalo::services() const { return *services_; }

void Rescalo::setDesignControls(QWidget* form, std::function<QWidgetList()> widgets) {
  if (!detached_) return;
  QPointer<QWidget> f(form);
  detached_->listed = [f, widgets = std::move(widgets)] {
    std::vector<host::ObjectPtr> all;
    if (!f) return all;
    all.push_back(std::make_shared<DesignedForm>(f->objectName().toStdString()));
    for (QWidget* w : widgets()) all.push_back(qt::adoptControl(w));
    return all;
  };
}

bool Rescalo::flag(const char* name) const { return classic().get(name).toBool(); }
int Rescalo::number(const char* name) const { return classic().get(name).toLong(); }
QString Rescalo::text(const char* name) const {
  return QString::fromStdString(classic().get(name).toString());
}
QColor Rescalo::color(const char* name) const { return fromClassic(classic().get(name).toLong()); }
double Rescalo::seconds(const char* name) const { return classic().get(name).toDouble(); }

QSize Rescalo::pixels(const char* width, const char* height) const {
  const host::ScreenMetrics m = services().screen();
  return {static_cast<int>(std::lround(classic().get(width).toDouble() / m.twipsPerPixelX)),
          static_cast<int>(std::lround(classic().get(height).toDouble() / m.twipsPerPixelY))};
}

void Rescalo::setClassic(const char* name, const Variant& value) { classic().set(name, value); }
void Rescalo::setLong(const char* name, int value) {
  setClassic(name, Variant(std::int32_t(value)));
}
void Rescalo::setText(const char* name, const QString& value) {
  setClassic(name, Variant(value.toStdString()));
}
void Rescalo::setColor(const char* name, const QColor& c) { setLong(name, toClassic(c)); }
void Rescalo::setSeconds(const char* name, double s) {
  setClassic(name, Variant(static_cast<float>(s)));
}
void Rescalo::setPixels(const char* width, const char* height, QSize size) {
  const host::ScreenMetrics m = services().screen();
  setLong(width, static_cast<int>(std::lround(size.width() * m.twipsPerPixelX)));
  setLong(height, static_cast<int>(std::lround(size.height() * m.twipsPerPixelY)));
}

void Rescalo::setScreenWidthPercent(int percent) {
  setClassic("ScaleX", Variant(static_cast<std::int16_t>(std::clamp(percent, -1, 101))));
}
void Rescalo::setScreenHeightPercent(int percent) {
  setClassic("ScaleY", Variant(static_cast<std::int16_t>(std::clamp(percent, -1, 101))));
}
void Rescalo::setOpenEffect(WindowEffect e) { setClassic("FormOpen", Variant(std::int16_t(e))); }
void Rescalo::setCloseEffect(WindowEffect e) { setClassic("FormClose", Variant(std::int16_t(e))); }

QString Rescalo::replacementFont() const {
  const QString family = text("ReplaceFontsWith");
  return family == QLatin1String(kNoFont) ? QString() : family;
}
void Rescalo::setReplacementFont(const QString& family) {
  setText("ReplaceFontsWith", family.isEmpty() ? QString(kNoFont) : family);
}

int Rescalo::flagIndex(QWidget* widget) const {
  const std::string key = keyOf(widget);
  const int count = classic().get("ControlFlagCount").toInteger();
  for (int n = 1; n <= count; ++n) {
    const std::string k = classic().get("ControlFlagControlKey", {Variant(n)}).toString();
    if (host::equalsNoCase(k, key)) return n;
  }
  return 0;
}

int Rescalo::flagIndex(QWidget* widget, bool make) {
  const int found = flagIndex(widget);
  if (found || !make) return found;
  const int n = classic().get("ControlFlagCount").toInteger() + 1;
  classic().set("ControlFlagCount", Variant(static_cast<std::int16_t>(n)));
  classic().set("ControlFlagControlKey", Variant(keyOf(widget)), {Variant(n)});
  return n;
}

void Rescalo::setFlag(QWidget* widget, const char* name, bool on) {
  const int n = flagIndex(widget, on);
  if (!n) return;
  classic().set(std::string("ControlFlag") + name, Variant(on), {Variant(n)});
  // The record the pass reads, made when the control has none yet.
  const std::string key = keyOf(widget);
  classic().call("SaveControlFlags", {Variant(key)});
  classic()
      .get("colControlFlags")
      .toObject()
      ->get("Item", {Variant(key)})
      .toObject()
      ->set(name, Variant(on));
}

bool Rescalo::flagOf(QWidget* widget, const char* name) const {
  const int n = flagIndex(widget);
  return n && classic().get(std::string("ControlFlag") + name, {Variant(n)}).toBool();
}

void Rescalo::setLocks(QWidget* widget, Locks locks) {
  for (const Named& named : kLocks)
    setFlag(widget, named.classic, (unsigned(locks.toInt()) & named.bit) != 0);
}
Locks Rescalo::locks(QWidget* widget) const {
  unsigned bits = 0;
  for (const Named& named : kLocks)
    if (flagOf(widget, named.classic)) bits |= named.bit;
  return Locks(int(bits));
}
void Rescalo::setExcluded(QWidget* widget, Excludes excludes) {
  for (const Named& named : kExcludes)
    setFlag(widget, named.classic, (unsigned(excludes.toInt()) & named.bit) != 0);
}
Excludes Rescalo::excluded(QWidget* widget) const {
  unsigned bits = 0;
  for (const Named& named : kExcludes)
    if (flagOf(widget, named.classic)) bits |= named.bit;
  return Excludes(int(bits));
}

int Rescalo::printSize(bool on, QSize size, bool hide, bool dialog, bool allowCancel) {
  const host::ScreenMetrics m = services().screen();
  Variant args[] = {Variant(on),
                    Variant(static_cast<float>(size.width() * m.twipsPerPixelX)),
                    Variant(static_cast<float>(size.height() * m.twipsPerPixelY)),
                    Variant(std::int16_t{1}),
                    Variant(hide),
                    Variant(dialog),
                    Variant(allowCancel)};
  return classic().call("PrintSize", args).toInteger();
}

void Rescalo::reset() { classic().call("Reset", {}); }

}  // namespace rescalo::qt
