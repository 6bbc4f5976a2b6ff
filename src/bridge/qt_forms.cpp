#include <rescalo/bridge/qt_forms.h>

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontInfo>
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
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>
#include <map>

#include <rescalo/bridge/classic_style.h>
#include <rescalo/control/rescalo.h>
#include <rescalo/host/failure.h>
#include <rescalo/host/system_colors.h>
#include <rescalo/qt/qt_control.h>
#include <rescalo/qt/qt_form.h>
#include <rescalo/qt/qt_image_list.h>
#include <rescalo/qt/qt_line.h>
#include <rescalo/qt/qt_picture.h>
#include <rescalo/qt/qt_shape.h>
#include <rescalo/qt/qt_surface.h>
#include <rescalo/qt/qt_toolbar.h>
#include <rescalo/runtime/common_controls.h>
#include <rescalo/runtime/loader.h>
#include <rescalo/runtime/picture.h>
#include <rescalo/runtime/raster/bitmap.h>
#include <rescalo/runtime/render.h>
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

// A form's text is in the code page of the font it is shown in, and stays so in the runtime;
// shown by the same rule as the runtime's own output, so both hosts name controls alike.
QString decoded(const std::string& bytes, const runtime::Font* font) {
  return QString::fromStdString(frm::toUtf8(bytes, font ? font->charset : 0));
}

QString decoded(const std::string& bytes, const runtime::Control& c) {
  return decoded(bytes, c.font.get());
}

QString text(runtime::Control& c, host::Name member) {
  auto v = host::tryGet(c, member);
  return v ? decoded(v->toString(), c) : QString();
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

// --- the classic look: colours, labels, wrapped captions ---

QColor qtColor(std::uint32_t classic) {
  const raster::Color c = runtime::resolveColor(classic);
  return QColor(raster::red(c), raster::green(c), raster::blue(c));
}

std::optional<std::uint32_t> colorOf(runtime::Control& c, host::Name member) {
  auto v = host::tryGet(c, member);
  std::optional<std::uint32_t> out;
  if (v && v->isNumeric())
    host::ignoreErrors([&] { out = static_cast<std::uint32_t>(v->toLong()); });
  return out;
}

int numberOf(runtime::Control& c, host::Name member, int fallback) {
  auto v = host::tryGet(c, member);
  int out = fallback;
  if (v && v->isNumeric()) host::ignoreErrors([&] { out = v->toInteger(); });
  return out;
}

// The window's palette is the classic theme's system colours, which every control that keeps
// its default colours shows, whatever colour the form itself has.
// Text of a colour while enabled; disabled text stays grey, as the classic control shows it.
void setTextColor(QPalette& p, QPalette::ColorRole role, const QColor& color) {
  p.setColor(QPalette::Active, role, color);
  p.setColor(QPalette::Inactive, role, color);
  p.setColor(QPalette::Disabled, role, QColor(128, 128, 128));
}

QPalette classicPalette() {
  QPalette p(qtColor(host::kSysButtonFace));
  p.setColor(QPalette::Window, qtColor(host::kSysButtonFace));
  p.setColor(QPalette::Base, qtColor(host::kSysWindow));
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    setTextColor(p, role, qtColor(host::kSysWindowText));
  return p;
}

// Words of a caption in lines no wider than `width`, as the classic button breaks them; a word
// wider than the button keeps its own line.
QString wrapped(const QString& caption, const QFontMetrics& fm, int width) {
  QStringList lines;
  const auto measure = [&](const QString& t) {
    return fm.horizontalAdvance(QString(t).remove(QRegularExpression("&(?!&)")));
  };
  for (const QString& paragraph : QString(caption).replace("\r\n", "\n").split('\n')) {
    QString line;
    for (const QString& word : paragraph.split(' ')) {
      const QString longer = line.isEmpty() ? word : line + ' ' + word;
      if (!line.isEmpty() && measure(longer) > width) {
        lines << line;
        line = word;
      } else {
        line = longer;
      }
    }
    lines << line;
  }
  return lines.join('\n');
}

// Keeps a command button's caption broken into lines that fit it as it is resized or its font
// scaled; a caption set from outside is taken as the new one to break.
class WrappedCaption : public QObject {
 public:
  explicit WrappedCaption(QPushButton& button) : QObject(&button), caption_(button.text()) {
    button.installEventFilter(this);
    rewrap(button);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize || event->type() == QEvent::FontChange)
      rewrap(*static_cast<QPushButton*>(watched));
    return false;
  }

 private:
  static constexpr int kInset = 8;  // the classic button's text margins, both sides together
  void rewrap(QPushButton& button) {
    if (button.text() != shown_) caption_ = button.text();
    shown_ = wrapped(caption_, button.fontMetrics(), button.width() - kInset);
    if (shown_ != button.text()) button.setText(shown_);
  }
  QString caption_, shown_;
};

QString withoutAccessKeys(const QString& caption) {
  return QString(caption).replace(QRegularExpression("&(.)"), "\\1");
}

// Paints a frame as the classic one is painted: its back colour, an etched rectangle from the
// middle of the caption's line down, and the caption over the line at the left. Qt's own group
// box tints its inside and puts its title above the line.
class ClassicFrame : public QObject {
 public:
  ClassicFrame(QGroupBox& box, bool border) : QObject(&box), border_(border) {
    box.installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint) return false;
    auto& box = *static_cast<QGroupBox*>(watched);
    QPainter p(&box);
    const QColor back = box.palette().color(QPalette::Window);
    p.fillRect(box.rect(), back);
    const QFontMetrics fm = box.fontMetrics();
    const int top = fm.height() / 2, w = box.width(), h = box.height();
    if (border_ && h - top - 1 > 0) {  // a frame lower than half its line shows no border
      p.setPen(kHighlight);
      p.drawRect(1, top + 1, w - 2, h - top - 2);
      p.setPen(kShadow);
      p.drawRect(0, top, w - 2, h - top - 2);
    }
    const QString text = withoutAccessKeys(box.title());
    if (text.isEmpty()) return true;
    const int tw = std::min(fm.horizontalAdvance(text), w - 12);
    p.fillRect(6, 0, tw + 4, fm.height(), back);
    p.setPen(box.isEnabled() ? box.palette().color(QPalette::WindowText) : kShadow);
    p.drawText(QRect(8, 0, tw, fm.height()), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
               text);
    return true;
  }

 private:
  bool border_;
};

// Paints a tab strip as the classic one: a tab as wide as its caption for each of its tabs, the
// first one in front, over a raised panel. It has no pages: the application shows the controls.
class ClassicTabStrip : public QObject {
 public:
  ClassicTabStrip(QWidget& strip, QStringList captions)
      : QObject(&strip), captions_(std::move(captions)) {
    strip.installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint) return false;
    auto& strip = *static_cast<QWidget*>(watched);
    QPainter p(&strip);
    const QColor face = qtColor(host::kSysButtonFace);
    const QFontMetrics fm = strip.fontMetrics();
    const int th = fm.height() + 8;
    p.fillRect(strip.rect(), face);
    raisedEdge(p, QRect(0, th, strip.width(), strip.height() - th));
    int x = 2;
    std::vector<QRect> cells;
    for (const QString& caption : captions_) {
      cells.emplace_back(x, 0, fm.horizontalAdvance(caption) + 12, th);
      x += cells.back().width();
    }
    // The first tab is in front: drawn last, a little larger, open to the panel.
    for (std::size_t i = cells.size(); i-- > 0;) {
      const bool current = i == 0;
      QRect r = cells[i];
      if (current)
        r.adjust(-1, 0, 1, 2);
      else
        r.adjust(0, 2, 0, 0);
      p.fillRect(r, face);
      p.setPen(kHighlight);
      p.drawLine(r.left() + 2, r.top(), r.right() - 2, r.top());
      p.drawLine(r.left(), r.top() + 2, r.left(), r.bottom());
      p.drawPoint(r.left() + 1, r.top() + 1);
      p.setPen(kDark);
      p.drawLine(r.right(), r.top() + 2, r.right(), r.bottom() - (current ? 2 : 0));
      p.setPen(kShadow);
      p.drawLine(r.right() - 1, r.top() + 1, r.right() - 1, r.bottom() - (current ? 2 : 0));
      p.setPen(strip.isEnabled() ? QColor(Qt::black) : kShadow);
      p.drawText(cells[i].adjusted(0, current ? 0 : 2, 0, 0), Qt::AlignCenter, captions_[i]);
    }
    return true;
  }

 private:
  QStringList captions_;
};

// Paints a control the Qt host has no widget of its own for as the classic runtime shows one:
// a sunken box with its caption, or its class, in grey in the middle.
class ClassicPlaceholder : public QObject {
 public:
  ClassicPlaceholder(QWidget& box, QString text) : QObject(&box), text_(std::move(text)) {
    box.installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint) return false;
    auto& box = *static_cast<QWidget*>(watched);
    QPainter p(&box);
    const QRect r = box.rect();
    p.fillRect(r, box.palette().color(QPalette::Window));
    sunkenEdge(p, r);
    p.setPen(kShadow);
    p.drawText(r.adjusted(2, 2, -2, -2), Qt::AlignCenter | Qt::TextWordWrap, text_);
    return true;
  }

 private:
  QString text_;
};

// A tab dialog's tabs share its width, TabsPerRow of them to a row, whatever their captions;
// the width follows the dialog as it is resized.
class ClassicTabWidths : public QObject {
 public:
  ClassicTabWidths(QTabWidget& tabs, int perRow) : QObject(&tabs), perRow_(std::max(1, perRow)) {
    tabs.installEventFilter(this);
    apply(tabs);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize) apply(*static_cast<QTabWidget*>(watched));
    return false;
  }

 private:
  void apply(QTabWidget& tabs) {
    const int across = std::max(1, std::min(tabs.count(), perRow_));
    const bool vertical =
        tabs.tabPosition() == QTabWidget::West || tabs.tabPosition() == QTabWidget::East;
    const int side = (vertical ? tabs.height() : tabs.width()) / across;
    if (side == side_) return;
    side_ = side;
    // On the tab widget, not its bar, whose own style sheet holds the tabs' height.
    tabs.setStyleSheet(QString("QTabBar::tab { %1: %2px; }")
                           .arg(vertical ? "height" : "width")
                           .arg(std::max(1, side)));
  }
  int perRow_, side_ = -1;
};

void setColors(QWidget& w, runtime::Control& c, QPalette::ColorRole back, QPalette::ColorRole fore,
               bool fill) {
  QPalette p = w.palette();
  if (auto b = colorOf(c, "BackColor")) p.setColor(back, qtColor(*b));
  if (auto f = colorOf(c, "ForeColor")) setTextColor(p, fore, qtColor(*f));
  w.setPalette(p);
  w.setAutoFillBackground(fill);
}

// What the classic control looks like, on its widget: colours (its own, or the system's, never
// its container's), a label's back style, alignment, border and wrapping.
void classicLook(runtime::Control& c, QWidget& w) {
  w.setPalette(classicPalette());
  static constexpr Qt::Alignment kAlign[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
  const Qt::Alignment align = kAlign[std::clamp(numberOf(c, "Alignment", 0), 0, 2)];
  if (auto* label = qobject_cast<QLabel*>(&w)) {
    setColors(w, c, QPalette::Window, QPalette::WindowText, numberOf(c, "BackStyle", 1) != 0);
    // The classic label breaks its caption at its width, from the top. A label one line high
    // was made to hold its caption on that line: there a font of other widths clips it at the
    // right rather than pushing its last words onto a line nobody sees.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(label->height() >= 2 * label->fontMetrics().height());
    label->setAlignment(align | Qt::AlignTop);
    if (numberOf(c, "UseMnemonic", -1) != 0) label->setText(withoutAccessKeys(label->text()));
    if (numberOf(c, "BorderStyle", 0) != 0)
      label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  } else if (auto* button = qobject_cast<QPushButton*>(&w)) {
    setColors(w, c, QPalette::Button, QPalette::ButtonText, false);
    button->setDefault(numberOf(c, "Default", 0) != 0);
    new WrappedCaption(*button);
  } else if (auto* box = qobject_cast<QGroupBox*>(&w)) {
    setColors(w, c, QPalette::Window, QPalette::WindowText, true);
    new ClassicFrame(*box, numberOf(c, "BorderStyle", 1) != 0);
  } else if (qobject_cast<QCheckBox*>(&w) || qobject_cast<QRadioButton*>(&w)) {
    setColors(w, c, QPalette::Window, QPalette::WindowText, true);
  } else if (auto* tabs = qobject_cast<QTabWidget*>(&w)) {
    if (auto* dialog = dynamic_cast<runtime::SSTab*>(&c)) {
      new ClassicTabWidths(*tabs, dialog->tabsPerRow);
      tabs->tabBar()->setElideMode(Qt::ElideNone);  // the classic tab cuts its caption off
      // The dialog's colour is kept on its pages (the style sheets that size its tabs reset
      // its own palette), from which its tabs and panel are painted. The pages cover the whole
      // panel, as the classic dialog places its children from its edge, and let the edge show.
      const QColor back = qtColor(colorOf(c, "BackColor").value_or(host::kSysButtonFace));
      for (int t = 0; t < tabs->count(); ++t) {
        QPalette page = tabs->widget(t)->palette();
        page.setColor(QPalette::Window, back);
        tabs->widget(t)->setPalette(page);
        tabs->widget(t)->setAutoFillBackground(false);
      }
      if (auto fore = colorOf(c, "ForeColor"))
        for (int t = 0; t < tabs->count(); ++t) tabs->tabBar()->setTabTextColor(t, qtColor(*fore));
    }
  } else if (auto* line = qobject_cast<QLineEdit*>(&w)) {
    setColors(w, c, QPalette::Base, QPalette::Text, false);
    line->setAlignment(align | Qt::AlignVCenter);
  } else if (qobject_cast<QTextEdit*>(&w) || qobject_cast<QListWidget*>(&w) ||
             qobject_cast<QComboBox*>(&w) || qobject_cast<QTreeWidget*>(&w)) {
    setColors(w, c, QPalette::Base, QPalette::Text, false);
  }
}

// Classes the classic runtime draws on their container rather than in a window of their own.
constexpr std::string_view kLightweight[] = {"Label", "Shape", "Image", "Line"};

// Classes whose box on Qt shows what they draw themselves (pictures, shapes, lists of files).
constexpr std::string_view kOwnLook[] = {"PictureBox", "Image", "Shape", "DirListBox",
                                         "FileListBox"};

// A list or combo box's items, and the one chosen (-1: none).
QStringList itemsOf(runtime::Control& c) {
  QStringList out;
  if (auto* list = dynamic_cast<runtime::ListControl*>(&c))
    for (const std::string& item : list->items()) out << decoded(item, c);
  return out;
}

int listIndexOf(runtime::Control& c) {
  auto* list = dynamic_cast<runtime::ListControl*>(&c);
  return list ? list->listIndex() : -1;
}

// The widget of a control's class; nothing for a class that has no widget here.
QWidget* widgetFor(runtime::Control& c, QWidget* parent) {
  const std::string_view type = c.typeName();
  if (type == "CommandButton") return new QPushButton(text(c, "Caption"), parent);
  if (type == "Label") return new QLabel(text(c, "Caption"), parent);
  if (type == "CheckBox") {
    auto* box = new QCheckBox(text(c, "Caption"), parent);
    static constexpr Qt::CheckState kStates[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
    box->setCheckState(kStates[std::clamp(numberOf(c, "Value", 0), 0, 2)]);
    return box;
  }
  if (type == "OptionButton") {
    auto* option = new QRadioButton(text(c, "Caption"), parent);
    option->setChecked(flag(c, "Value"));
    return option;
  }
  if (type == "Frame") return new QGroupBox(text(c, "Caption"), parent);
  if (type == "TextBox") {
    // A text box drawn without its border, and one the user cannot type into.
    const bool bordered = numberOf(c, "BorderStyle", 1) != 0, locked = flag(c, "Locked");
    if (flag(c, "MultiLine")) {
      auto* e = new QTextEdit(parent);
      e->setPlainText(text(c, "Text"));
      if (!bordered) e->setFrameStyle(QFrame::NoFrame);
      e->setReadOnly(locked);
      return e;
    }
    auto* e = new QLineEdit(text(c, "Text"), parent);
    e->setFrame(bordered);
    e->setReadOnly(locked);
    return e;
  }
  if (type == "DriveListBox") return new QComboBox(parent);  // a drop-down list of drives
  if (type == "ComboBox") {
    auto* box = new QComboBox(parent);
    box->addItems(itemsOf(c));
    // A drop-down list is chosen from, not typed into.
    if (numberOf(c, "Style", 0) != 2) {
      box->setEditable(true);
      box->setEditText(text(c, "Text"));
    } else {
      box->setCurrentIndex(listIndexOf(c));
    }
    return box;
  }
  if (type == "ListBox") {
    auto* list = new QListWidget(parent);
    list->addItems(itemsOf(c));
    list->setCurrentRow(listIndexOf(c));
    return list;
  }
  if (auto* dialog = dynamic_cast<runtime::SSTab*>(&c)) {
    auto* tabs = new QTabWidget(parent);
    static constexpr QTabWidget::TabPosition kPositions[] = {QTabWidget::North, QTabWidget::South,
                                                             QTabWidget::West, QTabWidget::East};
    tabs->setTabPosition(kPositions[std::clamp(dialog->tabOrientation, 0, 3)]);
    for (int t = 0; t < dialog->tabs(); ++t)
      tabs->addTab(new QWidget, decoded(dialog->caption(t), c));
    tabs->setCurrentIndex(dialog->tab());
    return tabs;
  }
  if (auto* bar = dynamic_cast<runtime::Toolbar*>(&c)) {
    auto* tools = new qt::QtToolbar(parent);
    auto buttons = bar->buttons();
    for (int i = 1; i <= buttons->count(); ++i) {
      auto b = buttons->at1<runtime::Button>(i);
      QAction* action =
          b->style == 3 ? tools->addSeparator() : tools->addAction(decoded(b->caption, c));
      action->setEnabled(b->enabled);
      action->setVisible(b->visible);
      if (b->style == 4)  // a placeholder is as wide as it says
        action->setProperty("Width", static_cast<int>(std::lround(b->placeholderWidth *
                                                                  parent->logicalDpiX() / 1440.0)));
    }
    return tools;
  }
  if (type == "HScrollBar" || type == "VScrollBar") {
    auto* bar = new QScrollBar(type == "HScrollBar" ? Qt::Horizontal : Qt::Vertical, parent);
    // A classic bar may run from a larger Min down to a smaller Max.
    const int from = numberOf(c, "Min", 0), to = numberOf(c, "Max", 32767);
    bar->setRange(std::min(from, to), std::max(from, to));
    bar->setInvertedAppearance(to < from);
    bar->setInvertedControls(to < from);
    bar->setValue(numberOf(c, "Value", from));
    bar->setSingleStep(numberOf(c, "SmallChange", 1));
    bar->setPageStep(numberOf(c, "LargeChange", 1));
    return bar;
  }
  // Picture boxes hold controls; so, here, does every other visible class with a rectangle
  // (images, shapes, the common controls), which keeps their children in place.
  // Components that are never seen at run time, menus and user controls have none.
  if (auto* view = dynamic_cast<runtime::ListView*>(&c)) {
    auto* widget = new QListWidget(parent);
    widget->setProperty("View", view->view);
    widget->setViewMode(view->view == 0 ? QListView::IconMode : QListView::ListMode);
    auto items = view->listItems();
    for (int i = 1; i <= items->count(); ++i)
      widget->addItem(decoded(items->at1<runtime::ListItem>(i)->text, c));
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
      item->setText(0, decoded(node->text, c));
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
  if (c.controlClass().geometry == runtime::Geometry::Line) {
    auto* line = new qt::QtLine(parent);
    line->setPen(qtColor(colorOf(c, "BorderColor").value_or(host::kSysWindowText)),
                 numberOf(c, "BorderWidth", 1), numberOf(c, "BorderStyle", 1));
    line->setPoints({c.x1, c.y1, c.x2, c.y2});
    return line;
  }
  if (type == "Shape") {
    qt::QtShape::Look look;
    look.shape = numberOf(c, "Shape", 0);
    look.borderStyle = numberOf(c, "BorderStyle", 1);
    look.fillStyle = numberOf(c, "FillStyle", 1);
    look.border = qtColor(colorOf(c, "BorderColor").value_or(host::kSysWindowText));
    look.fill = qtColor(colorOf(c, "FillColor").value_or(0));
    if (numberOf(c, "BackStyle", 0) != 0)
      look.back = qtColor(colorOf(c, "BackColor").value_or(host::kSysWindow));
    return new qt::QtShape(parent, look, numberOf(c, "BorderWidth", 1));
  }
  if (c.controlClass().geometry != runtime::Geometry::Rect || runtime::invisibleAtRunTime(c) ||
      dynamic_cast<runtime::UserControlHost*>(&c))
    return nullptr;
  auto* box = new QFrame(parent);
  if (auto* strip = dynamic_cast<runtime::TabStrip*>(&c)) {
    QStringList captions;
    auto items = strip->tabs();
    for (int i = 1; items && i <= items->count(); ++i)
      captions << withoutAccessKeys(decoded(items->at1<runtime::TabItem>(i)->caption, c));
    new ClassicTabStrip(*box, captions);
  } else if (std::find(std::begin(kOwnLook), std::end(kOwnLook), type) == std::end(kOwnLook)) {
    const QString caption = text(c, "Caption");
    new ClassicPlaceholder(*box, caption.isEmpty() ? QString::fromUtf8(type.data(), type.size())
                                                   : withoutAccessKeys(caption));
  }
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
  if (from.backColor != host::kSysButtonFace)
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
  QFont q(decoded(f.name(), &f));
  q.setPixelSize(std::max(1, qRound(static_cast<double>(f.size()) * w.logicalDpiY() / 72.0)));
  q.setBold(f.bold());
  q.setItalic(f.italic);
  q.setUnderline(f.underline);
  q.setStrikeOut(f.strikethrough);
  // The classic faces forms ask for (MS Sans Serif, Tahoma, Arial) are narrower than the usual
  // substitutes: a substitute is taken in its semi-condensed width, as the runtime takes it.
  if (QFontInfo(q).family().compare(q.family(), Qt::CaseInsensitive) != 0)
    q.setStretch(QFont::SemiCondensed);
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

// An MDI form's window lets go of its children's menus before it takes them down: closed
// while shown, its area would make each remaining child active on the way.
class MdiFormWindow : public QMainWindow {
 public:
  ~MdiFormWindow() override {
    if (QMdiArea* area = qt::mdiAreaOf(*this))
      delete area->findChild<QObject*>(MenuMerge::kName, Qt::FindDirectChildrenOnly);
  }
};

}  // namespace

int classicMenuBarPixels(const QWidget& window) {
  return window.property(kClassicMenuBar).toBool() ? qt::menuBarPixels(window) : 0;
}

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
    auto main = std::make_unique<MdiFormWindow>();
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
  window->setObjectName(decoded(form.name, form.font.get()));
  window->setWindowTitle(decoded(form.caption, form.font.get()));
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
  wearClassicLook(*window);
  window->setPalette(classicPalette());
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
    double pageX = 0, pageY = 0;  // where the page starts in its tab dialog
    // On a tab dialog, a control sits on its page: below (or beside) the tabs, and, on a page
    // not shown, back from where the dialog parks it. One the file lists on no page is never
    // brought back by the dialog: it goes on the page shown, where it is, parked or not.
    if (auto* dialog = dynamic_cast<runtime::SSTab*>(c->container); dialog && holder) {
      const int page = dialog->pageOf(*c);
      if (auto* tabs = qobject_cast<QTabWidget*>(holder))
        holder = tabs->widget(page >= 0 ? page : dialog->tab());
      if (page >= 0 && left + c->width < 0) left += kTabOffset;
      if (dialog->tabOrientation == 0) pageY = dialog->tabHeightTwips;
      if (dialog->tabOrientation == 2) pageX = dialog->tabHeightTwips;
      left -= pageX;
      top -= pageY;
    }
    QWidget* w = holder ? widgetFor(*c, holder) : nullptr;
    if (!w) {
      ++leftOut[std::string(c->typeName())];
      continue;
    }
    containers[c.get()] = w;
    // The classic look follows the control's Style (a graphical button shows its picture and
    // stays down, a simple combo has no button, a flat toolbar's buttons rise under the mouse).
    if (host::tryGet(*c, "Style")) w->setProperty("Style", numberOf(*c, "Style", 0));
    // Before its colours and style sheets, which Qt keeps across a change of style.
    wearClassicLook(*w);
    w->setObjectName(decoded(c->name(), form.font.get()));
    if (c->index() >= 0) w->setProperty("Index", c->index());
    // A line places itself by its end points.
    if (!dynamic_cast<qt::QtLine*>(w)) {
      w->setGeometry(px(left, tx), px(top, ty), px(c->width, tx), px(c->height, ty));
      // The twips themselves, too, measured as the Qt host measures them (a tab dialog's child
      // from the dialog's corner): a design size between two pixels stays as designed.
      qt::adoptControl(w)->setTwipsRect({left + pageX, top + pageY, c->width, c->height});
    }
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
      // What decides its height (with its Style), so that it wraps its buttons as this one does.
      w->setProperty("Appearance", bar->appearance());
      if (auto wrappable = host::tryGet(*c, "Wrappable"))
        host::ignoreErrors([&] { w->setProperty("Wrappable", wrappable->toBool()); });
      host::ignoreErrors([&] {
        // In the units of its container on Qt.
        QWidget* container = qt::containerOf(*w);
        if (!container) return;
        auto adapter = qt::adoptControl(w);
        const qt::QtSurface& site = qt::QtSurface::of(*container);
        adapter->set("ButtonWidth",
                     Variant(bar->buttonWidthTwips() / site.twipsPerUnit(site.scaleMode(), true)));
        adapter->set("ButtonHeight", Variant(bar->buttonHeightTwips() /
                                             site.twipsPerUnit(site.scaleMode(), false)));
      });
    }
    if (c->container == &form && c->align() != 0) w->setProperty("Align", c->align());
    if (c->font) w->setFont(fontFor(*c->font, *w));
    classicLook(*c, *w);
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
  // Labels, shapes and images are drawn on their container, under every control with a window
  // of its own, in the order of the form among themselves.
  for (auto c = form.controls().rbegin(); c != form.controls().rend(); ++c)
    if (std::find(std::begin(kLightweight), std::end(kLightweight), (*c)->typeName()) !=
        std::end(kLightweight))
      if (QWidget* w = out.widget((*c)->key())) w->lower();
  // An MDI form's back colour is its workspace's, where its children open.
  if (QMdiArea* area = form.isMdi() ? qt::mdiAreaOf(*window) : nullptr) {
    constexpr std::uint32_t kAppWorkspace = 0x8000000C;
    area->setBackground(
        qtColor(form.backColor == host::kSysButtonFace ? kAppWorkspace : form.backColor));
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
                       const std::function<void(const std::string&)>& onOutput, int codePage) {
  runtime::RuntimeOptions options;
  options.settingsFile = std::filesystem::temp_directory_path() / "rescalo-design-settings";
  runtime::Runtime design(options);
  control::registerRescalo(design.userControls());
  if (onOutput) design.onOutput = onOutput;
  runtime::LoadedForm lf =
      runtime::loadForm(design, file, {.userMode = false, .codePage = codePage});
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
  auto form =
      runtime::buildForm(design, out.document, file, {.userMode = false, .codePage = codePage});
  out.built = buildQtForm(*form);
  form->unload();
  if (onOutput)
    for (const auto& [cls, n] : out.built.leftOut)
      onOutput("(" + std::to_string(n) + " " + cls + " control" + (n == 1 ? "" : "s") +
               " without a widget on Qt)");
  return out;
}

}  // namespace rescalo::bridge
