#include <rescalo/bridge/qt_rescalo.h>

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

Rescalo::Rescalo(QWidget* window, const Options& options) : QObject(window), window_(window) {
  QtServices* services = options.services;
  if (!services) {
    ownServices_ = std::make_unique<QtServices>();
    services = ownServices_.get();
  }
  host_ = qt::attach(window, control::makeRescalo(), *services,
                     {.name = options.name.toStdString(),
                      .properties = options.properties,
                      .userMode = options.userMode});
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
  // The flags a form's widgets carry from their designer.
  for (QWidget* w : window->findChildren<QWidget*>()) {
    const QVariant locks = w->property(kLocksProperty);
    if (locks.isValid()) setLocks(w, locksFromString(locks.toString()));
    const QVariant excludes = w->property(kExcludeProperty);
    if (excludes.isValid()) setExcluded(w, excludesFromString(excludes.toString()));
  }
}

Rescalo::~Rescalo() {
  if (host_) host_->terminate();
}

Rescalo* attach(QWidget* window, const Options& options) {
  if (!window || !window->isWindow()) throw host::HostError(host::kInvalidProcedureCall);
  return new Rescalo(window, options);
}

bool Rescalo::flag(const char* name) const { return host_->get(name).toBool(); }
int Rescalo::number(const char* name) const { return host_->get(name).toLong(); }
QString Rescalo::text(const char* name) const {
  return QString::fromStdString(host_->get(name).toString());
}
QColor Rescalo::color(const char* name) const { return fromClassic(host_->get(name).toLong()); }
double Rescalo::seconds(const char* name) const { return host_->get(name).toDouble(); }

QSize Rescalo::pixels(const char* width, const char* height) const {
  const host::ScreenMetrics m = host_->services().screen();
  return {static_cast<int>(std::lround(host_->get(width).toDouble() / m.twipsPerPixelX)),
          static_cast<int>(std::lround(host_->get(height).toDouble() / m.twipsPerPixelY))};
}

void Rescalo::setClassic(const char* name, const Variant& value) { host_->set(name, value); }
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
  const host::ScreenMetrics m = host_->services().screen();
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
  const int count = host_->get("ControlFlagCount").toInteger();
  for (int n = 1; n <= count; ++n) {
    const std::string k = host_->get("ControlFlagControlKey", {Variant(n)}).toString();
    if (host::equalsNoCase(k, key)) return n;
  }
  return 0;
}

int Rescalo::flagIndex(QWidget* widget, bool make) {
  const int found = flagIndex(widget);
  if (found || !make) return found;
  const int n = host_->get("ControlFlagCount").toInteger() + 1;
  host_->set("ControlFlagCount", Variant(static_cast<std::int16_t>(n)));
  host_->set("ControlFlagControlKey", Variant(keyOf(widget)), {Variant(n)});
  return n;
}

void Rescalo::setFlag(QWidget* widget, const char* name, bool on) {
  const int n = flagIndex(widget, on);
  if (!n) return;
  host_->set(std::string("ControlFlag") + name, Variant(on), {Variant(n)});
  // The record the pass reads, made when the control has none yet.
  const std::string key = keyOf(widget);
  host_->call("SaveControlFlags", {Variant(key)});
  host_->get("colControlFlags")
      .toObject()
      ->get("Item", {Variant(key)})
      .toObject()
      ->set(name, Variant(on));
}

bool Rescalo::flagOf(QWidget* widget, const char* name) const {
  const int n = flagIndex(widget);
  return n && host_->get(std::string("ControlFlag") + name, {Variant(n)}).toBool();
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
  const host::ScreenMetrics m = host_->services().screen();
  Variant args[] = {Variant(on),
                    Variant(static_cast<float>(size.width() * m.twipsPerPixelX)),
                    Variant(static_cast<float>(size.height() * m.twipsPerPixelY)),
                    Variant(std::int16_t{1}),
                    Variant(hide),
                    Variant(dialog),
                    Variant(allowCancel)};
  return host_->call("PrintSize", args).toInteger();
}

void Rescalo::reset() { host_->call("Reset", {}); }

}  // namespace rescalo::qt
