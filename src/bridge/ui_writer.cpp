#include <rescalo/bridge/ui_writer.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QSet>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>
#include <QUiLoader>
#include <QXmlStreamWriter>
#include <stdexcept>

#include <rescalo/bridge/qt_forms.h>
#include <rescalo/bridge/qt_rescalo.h>
#include <rescalo/bridge/ui_forms.h>
#include <rescalo/qt/qt_control.h>
#include <rescalo/qt/qt_form.h>

namespace rescalo::bridge {

namespace {

// Writes the form as Designer writes one: each widget with its class, name, place and what it
// shows that differs from a new one, nested as the widgets are; Qt's own inner widgets are
// theirs to make again.
class Writer {
 public:
  Writer(QXmlStreamWriter& xml, const QtFormWindow& built) : xml_(xml), menus_(built.menus) {
    for (const auto& [key, w] : built.widgets) controls_.insert(w);
    const QStringList known = QUiLoader().availableWidgets();
    known_ = QSet<QString>(known.begin(), known.end());
  }

  void form(QWidget& window) {
    xml_.writeStartElement("widget");
    xml_.writeAttribute("class", classOf(window));
    xml_.writeAttribute("name", window.objectName());
    rect("geometry", QRect(QPoint(0, 0), window.size()));
    string("windowTitle", window.windowTitle());
    font(window, nullptr);
    dynamicProperties(window);
    auto* main = qobject_cast<QMainWindow*>(&window);
    if (main && main->centralWidget()) {
      // An MDI form's area is all that is central to it.
      if (main->centralWidget()->objectName().isEmpty())
        main->centralWidget()->setObjectName("centralwidget");
      child(*main->centralWidget(), window);
    }
    children(window);
    menus(main ? main->menuWidget() : nullptr);
  }

 private:
  QString classOf(const QWidget& w) const {
    for (const QMetaObject* m = w.metaObject(); m; m = m->superClass())
      if (known_.contains(QLatin1String(m->className()))) return QLatin1String(m->className());
    return "QWidget";
  }

  void children(QWidget& parent) {
    for (QObject* o : parent.children())
      if (auto* w = qobject_cast<QWidget*>(o); w && controls_.contains(w)) {
        // An image list is the classic form's own helper, with nothing to show; a line is drawn
        // by the host, which a Designer form has no widget for.
        const qt::ControlKind kind = qt::kindOf(*w);
        if (kind != qt::ControlKind::ImageList && kind != qt::ControlKind::Line) child(*w, parent);
      }
  }

  void child(QWidget& w, QWidget& parent) {
    xml_.writeStartElement("widget");
    xml_.writeAttribute("class", classOf(w));
    xml_.writeAttribute("name", nameOf(w));
    rect("geometry", w.geometry());
    if (!w.isVisibleTo(&parent) && !w.isWindow()) boolean("visible", false);
    if (!w.isEnabled()) boolean("enabled", false);
    font(w, &parent);
    if (auto* b = qobject_cast<QAbstractButton*>(&w)) {
      string("text", b->text());
      if (b->isCheckable()) boolean("checkable", true);
      if (b->isChecked()) boolean("checked", true);
    } else if (auto* l = qobject_cast<QLabel*>(&w)) {
      string("text", l->text());
      if (l->wordWrap()) boolean("wordWrap", true);
    } else if (auto* g = qobject_cast<QGroupBox*>(&w)) {
      string("title", g->title());
    } else if (auto* e = qobject_cast<QLineEdit*>(&w)) {
      string("text", e->text());
    } else if (auto* t = qobject_cast<QTextEdit*>(&w)) {
      string("plainText", t->toPlainText());
    }
    dynamicProperties(w);
    if (auto* tabs = qobject_cast<QTabWidget*>(&w)) {
      for (int i = 0; i < tabs->count(); ++i) {
        QWidget* page = tabs->widget(i);
        xml_.writeStartElement("widget");
        xml_.writeAttribute("class", "QWidget");
        xml_.writeAttribute("name", page->objectName().isEmpty()
                                        ? nameOf(w) + "_page" + QString::number(i)
                                        : page->objectName());
        xml_.writeStartElement("attribute");
        xml_.writeAttribute("name", "title");
        xml_.writeTextElement("string", tabs->tabText(i));
        xml_.writeEndElement();
        children(*page);
        xml_.writeEndElement();
      }
    } else {
      children(w);
    }
    xml_.writeEndElement();
  }

  // The menus as Designer keeps them: a QMenu for each menu with items, holding its own, and
  // every item an action of the form, added in order to its menu or to the bar. An MDI child's
  // menus, shown on its parent's bar, are its QMenus alone. A hidden menu is kept off its bar
  // or menu (it can still pop up), a hidden separator left out: neither shows.
  void menus(const QWidget* bar) {
    if (menus_.empty()) return;
    if (bar) {
      xml_.writeStartElement("widget");
      xml_.writeAttribute("class", "QMenuBar");
      xml_.writeAttribute("name", "menubar");
      rect("geometry", QRect(0, 0, bar->parentWidget()->width(), bar->height()));
      size("minimumSize", bar->minimumSize());
      size("maximumSize", bar->maximumSize());
      if (bar->isHidden()) boolean("visible", false);
    }
    std::vector<const QAction*> items;
    menuItems(QList<QAction*>(menus_.begin(), menus_.end()), bar != nullptr, items);
    if (bar) xml_.writeEndElement();
    for (const QAction* a : items) {
      xml_.writeStartElement("action");
      xml_.writeAttribute("name", nameOf(*a));
      string("text", a->text());
      if (a->isCheckable()) boolean("checkable", true);
      if (a->isChecked()) boolean("checked", true);
      if (!a->isEnabled()) boolean("enabled", false);
      if (!a->isVisible()) boolean("visible", false);
      string("shortcut", a->shortcut().toString(QKeySequence::PortableText));
      dynamicProperties(*a);
      xml_.writeEndElement();
    }
  }
  void menuItems(const QList<QAction*>& actions, bool added, std::vector<const QAction*>& items) {
    for (const QAction* a : actions) {
      const QMenu* menu = a->menu();
      if (!menu) continue;
      xml_.writeStartElement("widget");
      xml_.writeAttribute("class", "QMenu");
      xml_.writeAttribute("name", nameOf(*a));
      string("title", a->text());
      if (!a->isEnabled()) boolean("enabled", false);
      dynamicProperties(*a);
      menuItems(menu->actions(), true, items);
      xml_.writeEndElement();
    }
    for (const QAction* a : actions) {
      if (!a->isSeparator() && !a->menu()) items.push_back(a);
      if (!added || (!a->isVisible() && (a->isSeparator() || a->menu()))) continue;
      xml_.writeEmptyElement("addaction");
      xml_.writeAttribute("name", a->isSeparator() ? "separator" : nameOf(*a));
    }
  }
  // Unique, as Designer wants: a member of a control or menu array is its name and index.
  static QString nameOf(const QObject& o) {
    const QVariant index = o.property("Index");
    return index.isValid() ? o.objectName() + "_" + index.toString() : o.objectName();
  }

  void begin(const char* name, bool designable = true) {
    xml_.writeStartElement("property");
    xml_.writeAttribute("name", QLatin1String(name));
    if (!designable) xml_.writeAttribute("stdset", "0");
  }
  void rect(const char* name, const QRect& r) {
    begin(name);
    xml_.writeStartElement("rect");
    xml_.writeTextElement("x", QString::number(r.x()));
    xml_.writeTextElement("y", QString::number(r.y()));
    xml_.writeTextElement("width", QString::number(r.width()));
    xml_.writeTextElement("height", QString::number(r.height()));
    xml_.writeEndElement();
    xml_.writeEndElement();
  }
  void size(const char* name, const QSize& s) {
    begin(name);
    xml_.writeStartElement("size");
    xml_.writeTextElement("width", QString::number(s.width()));
    xml_.writeTextElement("height", QString::number(s.height()));
    xml_.writeEndElement();
    xml_.writeEndElement();
  }
  void string(const char* name, const QString& s) {
    if (s.isEmpty()) return;
    begin(name);
    xml_.writeTextElement("string", s);
    xml_.writeEndElement();
  }
  void boolean(const char* name, bool on) {
    begin(name);
    xml_.writeTextElement("bool", on ? "true" : "false");
    xml_.writeEndElement();
  }
  // A font as the widget has it, where it is not what it inherits.
  void font(const QWidget& w, const QWidget* parent) {
    const QFont f = w.font();
    if (parent && f == parent->font()) return;
    begin("font");
    xml_.writeStartElement("font");
    xml_.writeTextElement("family", f.family());
    // Designer's fonts are in whole points; a font made in pixels is given the nearest.
    const double points =
        f.pointSizeF() > 0 ? f.pointSizeF() : f.pixelSize() * 72.0 / w.logicalDpiY();
    xml_.writeTextElement("pointsize", QString::number(qRound(points)));
    xml_.writeTextElement("bold", f.bold() ? "true" : "false");
    xml_.writeTextElement("italic", f.italic() ? "true" : "false");
    xml_.writeTextElement("underline", f.underline() ? "true" : "false");
    xml_.writeTextElement("strikeout", f.strikeOut() ? "true" : "false");
    xml_.writeEndElement();
    xml_.writeEndElement();
  }
  // What the classic control's widget carries by name (its index, alignment, ...), in the
  // types a .ui holds; pictures stay behind.
  void dynamicProperties(const QObject& w) {
    for (const QByteArray& name : w.dynamicPropertyNames()) {
      if (name.startsWith("_q_")) continue;
      const QVariant v = w.property(name.constData());
      const char* type = nullptr;
      QString text;
      switch (v.typeId()) {
        case QMetaType::Bool:
          type = "bool";
          text = v.toBool() ? "true" : "false";
          break;
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::LongLong:
          type = "number";
          text = QString::number(v.toLongLong());
          break;
        case QMetaType::Double:
        case QMetaType::Float:
          type = "double";
          text = QString::number(v.toDouble(), 'g', 17);
          break;
        case QMetaType::QString:
          type = "string";
          text = v.toString();
          break;
        default:
          continue;
      }
      begin(name.constData(), false);
      xml_.writeTextElement(QLatin1String(type), text);
      xml_.writeEndElement();
    }
  }

  QXmlStreamWriter& xml_;
  const std::vector<QAction*>& menus_;
  QSet<const QWidget*> controls_;
  QSet<QString> known_;
};

// One of the Rescalo's Qt properties in the form's XML.
void writeProperty(QXmlStreamWriter& xml, const QMetaProperty& p, const QVariant& v) {
  xml.writeStartElement("property");
  xml.writeAttribute("name", QLatin1String(p.name()));
  if (p.isEnumType()) {
    xml.writeTextElement(
        "enum", QString("%1::%2").arg(kRescaloUiClass, p.enumerator().valueToKey(v.toInt())));
  } else if (v.typeId() == QMetaType::Bool) {
    xml.writeTextElement("bool", v.toBool() ? "true" : "false");
  } else if (v.typeId() == QMetaType::Int) {
    xml.writeTextElement("number", QString::number(v.toInt()));
  } else if (v.typeId() == QMetaType::Double) {
    xml.writeTextElement("double", QString::number(v.toDouble(), 'g', 17));
  } else if (v.typeId() == QMetaType::QSize) {
    xml.writeStartElement("size");
    xml.writeTextElement("width", QString::number(v.toSize().width()));
    xml.writeTextElement("height", QString::number(v.toSize().height()));
    xml.writeEndElement();
  } else if (v.typeId() == QMetaType::QColor) {
    const QColor c = v.value<QColor>();
    xml.writeStartElement("color");
    xml.writeTextElement("red", QString::number(c.red()));
    xml.writeTextElement("green", QString::number(c.green()));
    xml.writeTextElement("blue", QString::number(c.blue()));
    xml.writeEndElement();
  } else {
    xml.writeTextElement("string", v.toString());
  }
  xml.writeEndElement();
}

// The form's Rescalo as a widget of the .ui: the settings that differ from a new one's.
void writeRescalo(QXmlStreamWriter& xml, QtFormWindow& built) {
  QWidget mineWindow, freshWindow;
  mineWindow.resize(built.window->size());
  freshWindow.resize(built.window->size());
  qt::Rescalo* mine =
      qt::attach(&mineWindow, {.properties = &built.rescaloSettings, .userMode = false});
  qt::Rescalo* fresh = qt::attach(&freshWindow, {.userMode = false});
  xml.writeStartElement("widget");
  xml.writeAttribute("class", kRescaloUiClass);
  xml.writeAttribute("name", "rescalo");
  const QMetaObject* type = mine->metaObject();
  for (int i = type->propertyOffset(); i < type->propertyCount(); ++i) {
    const QMetaProperty p = type->property(i);
    if (const QVariant v = p.read(mine); v != p.read(fresh)) writeProperty(xml, p, v);
  }
  xml.writeEndElement();
}

// Each control's flags, from what its Rescalo saves, on its widget.
void flagWidgets(QtFormWindow& built) {
  auto read = [&](const std::string& name) {
    for (const auto& [key, value] : built.rescaloSettings.values())
      if (host::equalsNoCase(key, name)) return value;
    return host::Variant();
  };
  static const std::pair<const char*, qt::Lock> locks[] = {
      {"DontScaleLeft", qt::Lock::Left},   {"DontScaleTop", qt::Lock::Top},
      {"DontScaleWidth", qt::Lock::Width}, {"DontScaleHeight", qt::Lock::Height},
      {"DontScaleRight", qt::Lock::Right}, {"DontScaleBottom", qt::Lock::Bottom}};
  static const std::pair<const char*, qt::Exclude> excludes[] = {
      {"DontScaleControl", qt::Exclude::Control},
      {"DontScaleFont", qt::Exclude::Font},
      {"DontScaleBorder", qt::Exclude::Border},
      {"DontScaleGraphic", qt::Exclude::Picture}};
  auto on = [&](const std::string& name) {
    const host::Variant v = read(name);
    return !v.isEmpty() && v.toBool();
  };
  const host::Variant count = read("ControlFlagCount");
  const int n = count.isEmpty() ? 0 : count.toLong();
  for (int i = 1; i <= n; ++i) {
    const std::string prefix = std::to_string(i) + "ControlFlag";
    const host::Variant key = read(prefix + "ControlKey");
    QWidget* w = key.isEmpty() ? nullptr : built.widget(key.toString());
    if (!w) continue;
    qt::Locks l;
    qt::Excludes e;
    for (const auto& [name, bit] : locks)
      if (on(prefix + name)) l |= bit;
    for (const auto& [name, bit] : excludes)
      if (on(prefix + name)) e |= bit;
    if (l) w->setProperty(qt::kLocksProperty, qt::toString(l));
    if (e) w->setProperty(qt::kExcludeProperty, qt::toString(e));
  }
}

}  // namespace

void convertToUi(const std::filesystem::path& frm, const std::filesystem::path& ui, int codePage) {
  BuiltForm loaded = loadAndBuild(frm, {}, codePage);
  QtFormWindow& built = loaded.built;
  flagWidgets(built);
  QByteArray text;
  QXmlStreamWriter xml(&text);
  xml.setAutoFormatting(true);
  xml.setAutoFormattingIndent(1);
  xml.writeStartDocument();
  xml.writeStartElement("ui");
  xml.writeAttribute("version", "4.0");
  xml.writeTextElement("class", built.window->objectName());
  Writer(xml, built).form(*built.window);
  // The form's widget is still open: its Rescalo goes in as its last widget.
  writeRescalo(xml, built);
  xml.writeEndElement();
  xml.writeStartElement("customwidgets");
  xml.writeStartElement("customwidget");
  xml.writeTextElement("class", kRescaloUiClass);
  xml.writeTextElement("extends", "QWidget");
  xml.writeTextElement("header", "rescalo/qt.h");
  xml.writeEndElement();
  xml.writeEndElement();
  xml.writeEndElement();
  xml.writeEndDocument();
  QSaveFile out(QString::fromStdString(ui.string()));
  if (!out.open(QIODevice::WriteOnly) || out.write(text) < 0 || !out.commit())
    throw std::runtime_error(ui.string() +
                             ": cannot be written: " + out.errorString().toStdString());
}

}  // namespace rescalo::bridge
