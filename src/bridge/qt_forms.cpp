#include <rescalo/bridge/qt_forms.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>
#include <map>

#include <rescalo/control/rescalo.h>
#include <rescalo/host/failure.h>
#include <rescalo/qt/qt_control.h>
#include <rescalo/qt/qt_form.h>
#include <rescalo/qt/qt_image_list.h>
#include <rescalo/qt/qt_picture.h>
#include <rescalo/runtime/common_controls.h>
#include <rescalo/runtime/loader.h>
#include <rescalo/runtime/picture.h>
#include <rescalo/runtime/runtime.h>
#include <rescalo/runtime/surface.h>
#include <rescalo/runtime/user_control_host.h>

namespace rescalo::bridge {

using host::Variant;

QWidget* QtFormWindow::widget(std::string_view key) const {
  for (const auto& [k, w] : widgets)
    if (host::equalsNoCase(k, key)) return w;
  return nullptr;
}

namespace {

constexpr double kTabOffset = 75000;  // twips by which a tab dialog parks its hidden pages

QString text(runtime::Control& c, host::Name member) {
  auto v = host::tryGet(c, member);
  return v ? QString::fromStdString(v->toString()) : QString();
}

bool flag(runtime::Control& c, host::Name member) {
  auto v = host::tryGet(c, member);
  bool on = false;
  if (v) host::ignoreErrors([&] { on = v->toBool(); });
  return on;
}

QPixmap pixmapOf(const raster::Bitmap& bm) {
  const QImage image(bm.rgba().data(), bm.width(), bm.height(), bm.width() * 4,
                     QImage::Format_RGBA8888);
  return QPixmap::fromImage(image.copy());
}

// The widget of a control's class; nothing for a class that has no widget here.
QWidget* widgetFor(runtime::Control& c, QWidget* parent) {
  const std::string_view type = c.typeName();
  if (type == "CommandButton") return new QPushButton(text(c, "Caption"), parent);
  if (type == "Label") return new QLabel(text(c, "Caption"), parent);
  if (type == "CheckBox") return new QCheckBox(text(c, "Caption"), parent);
  if (type == "OptionButton") return new QRadioButton(text(c, "Caption"), parent);
  if (type == "Frame") return new QGroupBox(text(c, "Caption"), parent);
  if (type == "TextBox") {
    if (flag(c, "MultiLine")) {
      auto* e = new QTextEdit(parent);
      e->setPlainText(text(c, "Text"));
      return e;
    }
    return new QLineEdit(text(c, "Text"), parent);
  }
  if (type == "DriveListBox") return new QComboBox(parent);  // a drop-down list of drives
  if (type == "ComboBox") {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setEditText(text(c, "Text"));
    return box;
  }
  if (type == "ListBox") return new QListWidget(parent);
  if (auto* dialog = dynamic_cast<runtime::SSTab*>(&c)) {
    auto* tabs = new QTabWidget(parent);
    static constexpr QTabWidget::TabPosition kPositions[] = {QTabWidget::North, QTabWidget::South,
                                                             QTabWidget::West, QTabWidget::East};
    tabs->setTabPosition(kPositions[std::clamp(dialog->tabOrientation, 0, 3)]);
    for (int t = 0; t < dialog->tabs(); ++t)
      tabs->addTab(new QWidget, QString::fromStdString(dialog->caption(t)));
    tabs->setCurrentIndex(dialog->tab());
    return tabs;
  }
  if (auto* bar = dynamic_cast<runtime::Toolbar*>(&c)) {
    auto* tools = new QToolBar(parent);
    auto buttons = bar->buttons();
    for (int i = 1; i <= buttons->count(); ++i) {
      auto b = buttons->at1<runtime::Button>(i);
      if (b->style == 3)
        tools->addSeparator();
      else
        tools->addAction(QString::fromStdString(b->caption))->setEnabled(b->enabled);
    }
    return tools;
  }
  if (type == "HScrollBar") return new QScrollBar(Qt::Horizontal, parent);
  if (type == "VScrollBar") return new QScrollBar(Qt::Vertical, parent);
  // Picture boxes hold controls; so, here, does every other visible class with a rectangle
  // (images, shapes, the common controls), which keeps their children in place.
  // Components that are never seen at run time, lines, menus and user controls have none.
  if (auto* view = dynamic_cast<runtime::ListView*>(&c)) {
    auto* widget = new QListWidget(parent);
    widget->setProperty("View", view->view);
    widget->setViewMode(view->view == 0 ? QListView::IconMode : QListView::ListMode);
    auto items = view->listItems();
    for (int i = 1; i <= items->count(); ++i)
      widget->addItem(QString::fromStdString(items->at1<runtime::ListItem>(i)->text));
    return widget;
  }
  if (auto* tree = dynamic_cast<runtime::TreeView*>(&c)) {
    auto* widget = new QTreeWidget(parent);
    widget->setHeaderHidden(true);
    auto nodes = tree->nodes();
    std::map<const runtime::Node*, QTreeWidgetItem*> items;
    for (int i = 1; i <= nodes->count(); ++i) {
      auto node = nodes->at1<runtime::Node>(i);
      auto up = node->parent.lock();
      auto under = up ? items.find(up.get()) : items.end();
      auto* item =
          under != items.end() ? new QTreeWidgetItem(under->second) : new QTreeWidgetItem(widget);
      item->setText(0, QString::fromStdString(node->text));
      item->setExpanded(node->expanded);
      items[node.get()] = item;
    }
    return widget;
  }
  if (auto* list = dynamic_cast<runtime::ImageList*>(&c)) {
    auto* images = new qt::QtImageList(parent);
    host::ignoreErrors([&] {
      images->setImageWidth(list->imageWidth());
      images->setImageHeight(list->imageHeight());
    });
    auto all = list->listImages();
    for (int i = 1; i <= all->count(); ++i) {
      auto image = all->at1<runtime::ListImage>(i);
      if (const raster::Bitmap* bm = runtime::bitmapOf(image->picture))
        images->definePicture(image->picture, pixmapOf(*bm));
      host::ignoreErrors([&] {
        images->add(Variant(), image->key(), image->picture);
        images->setTag(i - 1, image->tag);
      });
    }
    return images;
  }
  if (c.controlClass().geometry != runtime::Geometry::Rect || type == "Timer" ||
      type == "CommonDialog" || dynamic_cast<runtime::UserControlHost*>(&c))
    return nullptr;
  auto* box = new QFrame(parent);
  if (type == "PictureBox" || type == "Image") {
    std::int16_t border = 0;
    if (auto v = host::tryGet(c, "BorderStyle"))
      host::ignoreErrors([&] { border = v->toInteger(); });
    qt::setBorder(*box, border != 0 ? 1 : 0);
  }
  return box;
}

// A picture of the runtime (from a .frx) as a Qt picture of the same pixels; Nothing for none.
Variant qtPicture(const Variant& picture) {
  const raster::Bitmap* bm = runtime::bitmapOf(picture);
  if (!bm || bm->empty()) return Variant(nullptr);
  const QImage view(bm->rgba().data(), bm->width(), bm->height(), bm->width() * 4,
                    QImage::Format_RGBA8888);
  return Variant(host::ObjectPtr(qt::makePicture(view.convertToFormat(QImage::Format_ARGB32))));
}

// A drawing surface's own back colour; the default button face is left to Qt's palette.
void giveBackColor(const runtime::Surface& from, host::Object& to) {
  constexpr raster::Color kButtonFace = 0x8000000F;
  if (from.backColor != kButtonFace)
    host::ignoreErrors(
        [&] { to.set("BackColor", Variant(static_cast<std::int32_t>(from.backColor))); });
}

// Gives the widget the control's pictures, and a picture box its AutoSize first.
void givePicture(runtime::Control& c, QWidget& w) {
  for (const char* other : {"DownPicture", "DisabledPicture"})
    if (const auto picture = host::tryGet(c, other); picture && runtime::bitmapOf(*picture))
      host::ignoreErrors([&] { qt::adoptControl(&w)->set(other, qtPicture(*picture)); });
  const auto picture = host::tryGet(c, "Picture");
  if (!picture || !runtime::bitmapOf(*picture)) return;
  host::ignoreErrors([&] {
    if (auto stretch = host::tryGet(c, "Stretch"); stretch && c.typeName() == "Image")
      w.setProperty("Stretch", stretch->toBool());
    auto adapter = qt::adoptControl(&w);
    if (auto autoSize = host::tryGet(c, "AutoSize"); autoSize && adapter->has("AutoSize"))
      adapter->set("AutoSize", *autoSize);
    adapter->set("Picture", qtPicture(*picture));
  });
}

QFont fontFor(const runtime::Font& f, const QWidget& w) {
  QFont q(QString::fromStdString(f.name()));
  q.setPixelSize(std::max(1, qRound(static_cast<double>(f.size()) * w.logicalDpiY() / 72.0)));
  q.setBold(f.bold());
  q.setItalic(f.italic);
  q.setUnderline(f.underline);
  q.setStrikeOut(f.strikethrough);
  return q;
}

// A classic menu shortcut code as Qt's: ^ for Ctrl, + for Shift, % for Alt, then a letter or a
// key in braces ({F1}, {DEL}, {INSERT}, {BKSP}); none for anything else.
QKeySequence menuShortcut(std::string_view code) {
  while (!code.empty() && std::isspace(static_cast<unsigned char>(code.back())))
    code.remove_suffix(1);
  QString text;
  for (; !code.empty(); code.remove_prefix(1)) {
    if (code.front() == '^')
      text += "Ctrl+";
    else if (code.front() == '+')
      text += "Shift+";
    else if (code.front() == '%')
      text += "Alt+";
    else
      break;
  }
  static constexpr std::pair<std::string_view, const char*> kKeys[] = {
      {"DEL", "Del"}, {"INSERT", "Ins"}, {"BKSP", "Backspace"}};
  if (code.size() > 2 && code.front() == '{' && code.back() == '}') {
    code = code.substr(1, code.size() - 2);
    const auto* named = std::find_if(std::begin(kKeys), std::end(kKeys), [&](const auto& k) {
      return host::equalsNoCase(k.first, code);
    });
    text += named != std::end(kKeys) ? QString(named->second)
                                     : QString::fromStdString(std::string(code));
  } else if (code.size() == 1) {
    text += QChar(code.front());
  } else {
    return {};
  }
  return QKeySequence(text, QKeySequence::PortableText);
}

// The form's menus as Qt's, owned by the window: a menu with items under it becomes a QMenu,
// one with none an action, a caption of "-" a separator. Returns the top-level ones in order.
std::vector<QAction*> buildMenus(runtime::Form& form, QWidget& owner) {
  std::map<const runtime::ContainerBase*, QMenu*> submenus;
  std::vector<QAction*> top;
  for (const auto& c : form.controls()) {
    if (c->typeName() != "Menu") continue;
    const QString caption = text(*c, "Caption");
    QAction* action = nullptr;
    if (!c->children.empty()) {
      auto* menu = new QMenu(caption, &owner);
      submenus[c.get()] = menu;
      action = menu->menuAction();
    } else {
      action = new QAction(caption, &owner);
      action->setSeparator(caption == "-");
    }
    action->setObjectName(QString::fromStdString(c->name()));
    if (c->index() >= 0) action->setProperty("Index", c->index());
    action->setCheckable(flag(*c, "Checked"));
    action->setChecked(flag(*c, "Checked"));
    action->setEnabled(c->enabled);
    action->setVisible(c->visible);
    if (auto code = host::tryGet(*c, "Shortcut"); code && code->isString())
      action->setShortcut(menuShortcut(*code->stringPtr()));
    if (auto up = submenus.find(c->container); up != submenus.end())
      up->second->addAction(action);
    else
      top.push_back(action);
  }
  return top;
}

bool showsMenuBar(const std::vector<QAction*>& menus) {
  return std::any_of(menus.begin(), menus.end(), [](QAction* a) { return a->isVisible(); });
}

// A menu bar of the classic height, holding the menus given.
QMenuBar* menuBarWith(const std::vector<QAction*>& menus, QWidget& window) {
  auto* bar = new QMenuBar(&window);
  bar->setFixedHeight(host::kMenuBarPixels);
  for (QAction* a : menus) bar->addAction(a);
  bar->setVisible(showsMenuBar(menus));
  return bar;
}

// An MDI form's bar shows the active child's menus in place of its own while that child has
// menus, as the classic MDI form does. One per MDI area, found by its name.
class MenuMerge : public QObject {
 public:
  static constexpr const char* kName = "rescalo_menu_merge";
  MenuMerge(QMdiArea& area, QMainWindow& form) : QObject(&area), form_(form) {
    setObjectName(kName);
    own_ = form.menuBar()->actions();
    connect(&area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* s) { show(s); });
  }
  static MenuMerge& of(QMdiArea& area, QMainWindow& form) {
    for (QObject* o : area.children())
      if (auto* m = dynamic_cast<MenuMerge*>(o)) return *m;
    return *new MenuMerge(area, form);
  }
  void add(QMdiSubWindow& sub, std::vector<QAction*> menus) {
    children_[&sub] = std::move(menus);
    connect(&sub, &QObject::destroyed, this, [this, key = &sub] { children_.erase(key); });
  }

 private:
  void show(QMdiSubWindow* active) {
    const auto child = children_.find(active);
    const std::vector<QAction*> menus =
        child != children_.end() ? child->second : std::vector<QAction*>(own_.begin(), own_.end());
    QMenuBar* bar = form_.menuBar();
    for (QAction* a : bar->actions()) bar->removeAction(a);
    for (QAction* a : menus) bar->addAction(a);
    bar->setFixedHeight(host::kMenuBarPixels);
    bar->setVisible(showsMenuBar(menus));
    qt::layoutAligned(form_);
  }

  QMainWindow& form_;
  QList<QAction*> own_;
  std::map<const QMdiSubWindow*, std::vector<QAction*>> children_;
};

}  // namespace

QtFormWindow buildQtForm(runtime::Form& form) {
  QtFormWindow out;
  const bool hasMenus =
      std::any_of(form.controls().begin(), form.controls().end(),
                  [&](const auto& c) { return c->typeName() == "Menu" && c->container == &form; });
  // An MDI child's menus show on its parent's bar, not on one of its own.
  const bool ownMenuBar = hasMenus && !form.mdiChild;
  QWidget* client = nullptr;
  if (form.isMdi()) {
    // An MDI form is a main window with an area for its children, placed beside its aligned
    // picture boxes.
    auto main = std::make_unique<QMainWindow>();
    new QMdiArea(main.get());
    out.window = std::move(main);
  } else if (ownMenuBar) {
    auto main = std::make_unique<QMainWindow>();
    client = new QWidget;
    main->setCentralWidget(client);
    out.window = std::move(main);
  } else {
    out.window = std::make_unique<QWidget>();
  }
  QWidget* window = out.window.get();
  if (hasMenus) out.menus = buildMenus(form, *window);
  int menuBar = 0;
  if (ownMenuBar) {
    QMenuBar* bar = menuBarWith(out.menus, *window);
    static_cast<QMainWindow*>(window)->setMenuBar(bar);
    if (!bar->isHidden()) menuBar = bar->height();
    window->setProperty(kClassicMenuBar, true);
  }
  window->setObjectName(QString::fromStdString(form.name));
  window->setWindowTitle(QString::fromStdString(form.caption));
  const double tx = 1440.0 / window->logicalDpiX(), ty = 1440.0 / window->logicalDpiY();
  auto px = [](double twips, double tpp) { return static_cast<int>(host::CLng(twips / tpp)); };
  window->move(px(form.left(), tx), px(form.top(), ty));
  // The menu bar takes its height from the window, as the classic one takes it from the form.
  window->resize(px(form.fullClientWidth(), tx), px(form.fullClientHeight(), ty) + menuBar);
  if (form.font) window->setFont(fontFor(*form.font, *window));
  // The form's own scale, which its Rescalo's design size is measured in.
  host::ignoreErrors([&] {
    auto adapter = qt::adoptForm(window);
    const Variant mode = form.get("ScaleMode");
    if (mode.toInteger() == 0) {
      adapter->set("ScaleWidth", form.get("ScaleWidth"));
      adapter->set("ScaleHeight", form.get("ScaleHeight"));
    } else {
      adapter->set("ScaleMode", mode);
    }
  });
  window->setEnabled(form.enabled);
  giveBackColor(form, *qt::adoptForm(window));
  if (runtime::bitmapOf(form.picture))
    host::ignoreErrors([&] { qt::adoptForm(window)->set("Picture", qtPicture(form.picture)); });

  std::map<const runtime::ContainerBase*, QWidget*> containers{{&form, client ? client : window}};
  std::map<std::string, int> leftOut;
  for (const auto& c : form.controls()) {
    if (auto* uc = dynamic_cast<runtime::UserControlHost*>(c.get());
        uc && c->typeName() == "Rescalo" && !out.hasRescalo) {
      uc->control().WriteProperties(out.rescaloSettings);
      out.hasRescalo = true;
    }
    auto parent = containers.find(c->container);
    QWidget* holder = parent == containers.end() ? nullptr : parent->second;
    double left = c->left, top = c->top;
    // On a tab dialog, a control sits on its page: below (or beside) the tabs, and, on a page
    // not shown, back from where the dialog parks it.
    if (auto* dialog = dynamic_cast<runtime::SSTab*>(c->container); dialog && holder) {
      auto* tabs = qobject_cast<QTabWidget*>(holder);
      for (int t = 0; tabs && t < dialog->tabs(); ++t) {
        const auto on = dialog->pageControls(t);
        if (std::find(on.begin(), on.end(), c.get()) != on.end()) holder = tabs->widget(t);
      }
      if (left + c->width < 0) left += kTabOffset;
      if (dialog->tabOrientation == 0) top -= dialog->tabHeightTwips;
      if (dialog->tabOrientation == 2) left -= dialog->tabHeightTwips;
    }
    QWidget* w = holder ? widgetFor(*c, holder) : nullptr;
    if (!w) {
      ++leftOut[std::string(c->typeName())];
      continue;
    }
    containers[c.get()] = w;
    w->setObjectName(QString::fromStdString(c->name()));
    if (c->index() >= 0) w->setProperty("Index", c->index());
    w->setGeometry(px(left, tx), px(top, ty), px(c->width, tx), px(c->height, ty));
    // The twips themselves, too: a design size between two pixels stays as designed.
    qt::adoptControl(w)->setTwipsRect({left, top, c->width, c->height});
    if (auto* dialog = dynamic_cast<runtime::SSTab*>(c.get()))
      host::ignoreErrors([&] {
        auto adapter = qt::adoptControl(w);
        adapter->set("TabHeight", Variant(dialog->tabHeightTwips));
        for (int t = 0; t < dialog->tabs(); ++t)
          if (runtime::bitmapOf(dialog->picture(t))) {
            adapter->set("TabPicture", qtPicture(dialog->picture(t)),
                         {Variant(static_cast<std::int16_t>(t))});
          }
      });
    if (auto* bar = dynamic_cast<runtime::Toolbar*>(c.get())) {
      auto buttons = bar->buttons();
      const auto actions = qobject_cast<QToolBar*>(w)->actions();
      for (int i = 1; i <= buttons->count() && i <= actions.size(); ++i)
        host::ignoreErrors([&] {
          qt::adoptControl(w)
              ->get("Buttons")
              .toObject()
              ->call("Item", {Variant(i)})
              .toObject()
              ->set("Image", buttons->at1<runtime::Button>(i)->image);
        });
    }
    if (auto* bar = dynamic_cast<runtime::Toolbar*>(c.get())) {
      // Its buttons and the margin around them, so that it fits its buttons as this one does.
      const int buttonHeight = px(bar->buttonHeightTwips(), ty);
      w->setProperty("ButtonMargin", std::max(0, px(c->height, ty) - buttonHeight));
      host::ignoreErrors([&] {
        auto adapter = qt::adoptControl(w);
        adapter->set("ButtonWidth", Variant(bar->buttonWidthTwips()));
        adapter->set("ButtonHeight", Variant(bar->buttonHeightTwips()));
      });
    }
    if (auto* box = dynamic_cast<runtime::PictureBox*>(c.get()); box && c->container == &form)
      if (box->align() != 0) w->setProperty("Align", box->align());
    if (c->font) w->setFont(fontFor(*c->font, *w));
    if (auto* surface = dynamic_cast<runtime::Surface*>(c.get()))
      giveBackColor(*surface, *qt::adoptControl(w));
    givePicture(*c, *w);
    if (!c->visible) w->hide();
    w->setEnabled(c->enabled);
    out.widgets.emplace_back(c->key(), w);
  }
  // Toolbars and trees take their image lists once every list exists.
  for (const auto& c : form.controls()) {
    QWidget* w = out.widget(c->key());
    std::vector<std::pair<const char*, const runtime::ImageListRef*>> lists;
    if (auto* bar = dynamic_cast<runtime::Toolbar*>(c.get()))
      lists = {{"ImageList", &bar->imageList},
               {"DisabledImageList", &bar->disabledImageList},
               {"HotImageList", &bar->hotImageList}};
    if (auto* tree = dynamic_cast<runtime::TreeView*>(c.get())) {
      lists = {{"ImageList", &tree->imageList}};
      // Each node's image, kept with its item, before the list gives the icons.
      auto nodes = tree->nodes();
      for (int i = 1; w && i <= nodes->count(); ++i)
        host::ignoreErrors([&] {
          qt::adoptControl(w)
              ->get("Nodes")
              .toObject()
              ->call("Item", {Variant(i)})
              .toObject()
              ->set("Image", nodes->at1<runtime::Node>(i)->image);
        });
    }
    if (auto* view = dynamic_cast<runtime::ListView*>(c.get())) {
      lists = {{"Icons", &view->icons}, {"SmallIcons", &view->smallIcons}};
      auto items = view->listItems();
      for (int i = 1; w && i <= items->count(); ++i)
        host::ignoreErrors([&] {
          auto item = qt::adoptControl(w)->get("ListItems").toObject()->call("Item", {Variant(i)});
          item.toObject()->set("Icon", items->at1<runtime::ListItem>(i)->icon);
          item.toObject()->set("SmallIcon", items->at1<runtime::ListItem>(i)->smallIcon);
        });
    }
    if (!w) continue;
    for (const auto& entry : lists) {
      const char* member = entry.first;
      const runtime::ImageListRef* ref = entry.second;
      QWidget* list = ref->list() ? out.widget(ref->list()->key()) : nullptr;
      if (list)
        host::ignoreErrors([&] {
          qt::adoptControl(w)->set(member, Variant(host::ObjectPtr(qt::adapterOf(list))));
        });
    }
  }
  qt::layoutAligned(*window);
  out.leftOut.assign(leftOut.begin(), leftOut.end());
  return out;
}

QMdiSubWindow* addMdiChild(QWidget& mdiForm, QtFormWindow& child, const runtime::Form& form) {
  QMdiArea* area = qt::mdiAreaOf(mdiForm);
  if (!area || !child.window) return nullptr;
  QWidget* widget = child.window.get();
  const QSize client = widget->size();
  QMdiSubWindow* sub = area->addSubWindow(widget);
  // The sub-window's frame is Qt's own: the child keeps its client size, as on the runtime.
  // Laid out once at any size, the sub-window tells how much its frame takes.
  sub->resize(client + QSize(100, 100));
  if (sub->layout()) sub->layout()->activate();
  const QSize frame = sub->size() - widget->size();
  const double tx = 1440.0 / widget->logicalDpiX(), ty = 1440.0 / widget->logicalDpiY();
  sub->setGeometry(static_cast<int>(host::CLng(form.left() / tx)),
                   static_cast<int>(host::CLng(form.top() / ty)), client.width() + frame.width(),
                   client.height() + frame.height());
  // A hidden sub-window lays its widget out only when shown; until then it is sized here.
  widget->resize(client);
  if (auto* main = qobject_cast<QMainWindow*>(&mdiForm); main && !child.menus.empty())
    MenuMerge::of(*area, *main).add(*sub, child.menus);
  return sub;
}

BuiltForm loadAndBuild(const std::filesystem::path& file,
                       const std::function<void(const std::string&)>& onOutput) {
  runtime::RuntimeOptions options;
  options.settingsFile = std::filesystem::temp_directory_path() / "rescalo-design-settings";
  runtime::Runtime design(options);
  control::registerRescalo(design.userControls());
  if (onOutput) design.onOutput = onOutput;
  runtime::LoadedForm lf = runtime::loadForm(design, file, {.userMode = false});
  const bool has = std::any_of(lf.form->controls().begin(), lf.form->controls().end(),
                               [](const auto& c) { return c->typeName() == "Rescalo"; });
  if (!has) {
    const std::string name =
        runtime::addUserControl(*lf.form, lf.document, control::kRescaloClass, "Rescalo", 0, 0);
    if (onOutput)
      onOutput("(the form had no Rescalo control: " + name + " added with default settings)");
    runtime::storeForm(*lf.form, lf.document);
  }
  BuiltForm out{lf.document, {}};
  lf.form->unload();
  auto form = runtime::buildForm(design, out.document, file, {.userMode = false});
  out.built = buildQtForm(*form);
  form->unload();
  if (onOutput)
    for (const auto& [cls, n] : out.built.leftOut)
      onOutput("(" + std::to_string(n) + " " + cls + " control" + (n == 1 ? "" : "s") +
               " without a widget on Qt)");
  return out;
}

}  // namespace rescalo::bridge
