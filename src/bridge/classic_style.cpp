#include <rescalo/bridge/classic_style.h>

#include <QApplication>
#include <QChildEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include <rescalo/runtime/raster/bitmap.h>
#include <rescalo/runtime/render.h>

namespace rescalo::bridge {

void twoToneEdge(QPainter& p, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
  if (r.width() <= 0 || r.height() <= 0) return;
  p.fillRect(r.left(), r.top(), r.width() - 1, 1, topLeft);
  p.fillRect(r.left(), r.top(), 1, r.height() - 1, topLeft);
  p.fillRect(r.left(), r.bottom(), r.width(), 1, bottomRight);
  p.fillRect(r.right(), r.top(), 1, r.height(), bottomRight);
}

void raisedEdge(QPainter& p, const QRect& r) {
  twoToneEdge(p, r, kHighlight, kDark);
  twoToneEdge(p, r.adjusted(1, 1, -1, -1), kFace, kShadow);
}

void sunkenEdge(QPainter& p, const QRect& r) {
  twoToneEdge(p, r, kShadow, kHighlight);
  twoToneEdge(p, r.adjusted(1, 1, -1, -1), kDark, kFace);
}

namespace {

// A pressed button is flat: one shadow line inside its frame.
void pressedEdge(QPainter& p, const QRect& r) { twoToneEdge(p, r, kShadow, kShadow); }

// A small solid triangle pointing down, up, left or right, centred on (cx, cy).
enum class Arrow { Down, Up, Left, Right };
void arrow(QPainter& p, int cx, int cy, Arrow dir, const QColor& c) {
  for (int k = 0; k < 4; ++k) {
    const int half = dir == Arrow::Down || dir == Arrow::Left ? 3 - k : k, at = k - 2;
    if (dir == Arrow::Down || dir == Arrow::Up)
      p.fillRect(cx - half, cy + at, 2 * half + 1, 1, c);
    else
      p.fillRect(cx + at, cy - half, 1, 2 * half + 1, c);
  }
}

QColor ink(const QStyleOption& o) {
  return o.state & QStyle::State_Enabled ? QColor(Qt::black) : kShadow;
}

// A square button with an arrow on it, as scroll bars and drop-down boxes have.
void arrowButton(QPainter& p, const QRect& r, Arrow dir, bool pressed, const QColor& c) {
  if (r.width() <= 0 || r.height() <= 0) return;
  p.fillRect(r, kFace);
  if (pressed)
    pressedEdge(p, r);
  else
    raisedEdge(p, r);
  const int shift = pressed ? 1 : 0;
  arrow(p, r.x() + r.width() / 2 + shift, r.y() + r.height() / 2 + shift, dir, c);
}

// The scroll bar's track: light and face pixels in turn, counted from the bar's corner.
QBrush dottedTrack() {
  QPixmap dots(2, 2);
  dots.fill(kFace);
  QPainter p(&dots);
  p.fillRect(1, 0, 1, 1, kHighlight);
  p.fillRect(0, 1, 1, 1, kHighlight);
  return QBrush(dots);
}

struct ScrollBarParts {
  QRect subLine, addLine, groove, slider, subPage, addPage;
};

// Arrow buttons as long as the bar is thick (half the bar each when it is too short), and a
// square thumb placed along the track by the value.
ScrollBarParts scrollBarParts(const QStyleOptionSlider& o) {
  const bool vertical = o.orientation == Qt::Vertical;
  const QRect r = o.rect;
  const int len = vertical ? r.height() : r.width(), across = vertical ? r.width() : r.height();
  const int s = std::min(across, len / 2), track = len - 2 * s;
  const int thumb = std::min(std::max(8, across), track);
  int at = 0;
  if (track > 0 && thumb > 0 && o.maximum > o.minimum) {
    double share = static_cast<double>(o.sliderPosition - o.minimum) / (o.maximum - o.minimum);
    if (o.upsideDown) share = 1 - share;
    at = static_cast<int>(std::lround((track - thumb) * std::clamp(share, 0.0, 1.0)));
  }
  auto along = [&](int from, int length) {
    const QRect part = vertical ? QRect(r.x(), r.y() + from, across, length)
                                : QRect(r.x() + from, r.y(), length, across);
    return QStyle::visualRect(o.direction, r, part);
  };
  const int thumbLen = std::max(thumb, 0);
  return {along(0, s),
          along(len - s, s),
          along(s, std::max(track, 0)),
          track > 0 ? along(s + at, thumbLen) : QRect(),
          along(s, at),
          along(s + at + thumbLen, std::max(track - at - thumbLen, 0))};
}

// A drop-down box's button: 16 pixels wide inside its sunken edge.
QRect comboArrow(const QRect& r) {
  const int bw = std::min(16, r.width() - 4);
  return QRect(r.right() - 1 - bw, r.y() + 2, bw, r.height() - 4);
}

// A tab dialog's colour, which the bridge keeps on its pages.
QBrush tabFace(const QWidget* w, const QPalette& fallback) {
  const QWidget* owner = qobject_cast<const QTabBar*>(w) ? w->parentWidget() : w;
  if (auto* tabs = qobject_cast<const QTabWidget*>(owner); tabs && tabs->currentWidget())
    return tabs->currentWidget()->palette().window();
  return fallback.window();
}

void tabShape(QPainter& p, const QStyleOptionTab& t, const QBrush& face) {
  // The current tab stands two pixels taller and one wider each side, open to the panel; the
  // others stop short of it.
  const bool current = t.state & QStyle::State_Selected;
  const QRect r = t.rect;
  const int top = current ? r.y() : r.y() + 2, x = current ? r.x() - 1 : r.x();
  const int tw = current ? r.width() + 2 : r.width(), bottom = r.y() + r.height();
  p.fillRect(x, top, tw, bottom - top, face);
  p.fillRect(x + 2, top, tw - 4, 1, kHighlight);
  p.fillRect(x, top + 2, 1, bottom - top - 2, kHighlight);
  p.fillRect(x + 1, top + 1, 1, 1, kHighlight);
  p.fillRect(x + tw - 1, top + 2, 1, bottom - top - 2, kDark);
  p.fillRect(x + tw - 2, top + 1, 1, bottom - top - 1, kShadow);
}

// The caption centred in its tab, or from its left edge when it is too long, and cut off at
// the tab's edge; its picture before it.
void tabLabel(QPainter& p, const QStyleOptionTab& t) {
  const bool current = t.state & QStyle::State_Selected;
  const QRect r = t.rect;
  const QRect cell(r.x() + 2, (current ? r.y() : r.y() + 2) + 1, r.width() - 4, r.height() - 3);
  const QPixmap icon = t.icon.pixmap(t.iconSize);
  const int pw = icon.isNull() ? 0 : icon.width() + 3;
  const int tw = t.fontMetrics.horizontalAdvance(QString(t.text).remove('&'));
  const int start = r.x() + std::max(3, (r.width() - pw - tw) / 2);
  p.save();
  p.setClipRect(cell);
  if (!icon.isNull()) p.drawPixmap(start, cell.y() + (cell.height() - icon.height()) / 2, icon);
  p.setPen(t.state & QStyle::State_Enabled ? t.palette.color(QPalette::WindowText) : kShadow);
  p.drawText(QRect(start + pw, cell.y(), tw + 1, cell.height()),
             Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic | Qt::TextSingleLine, t.text);
  p.restore();
}

void tabPanel(QPainter& p, const QStyleOptionTabWidgetFrame& f, const QBrush& back) {
  const QRect r = f.rect;
  p.fillRect(r, back);
  raisedEdge(p, r);
  // Where the current tab joins the panel, the panel's edge gives way to the tab's face.
  const QRect s = f.selectedTabRect;
  if (f.shape != QTabBar::RoundedNorth || s.isNull()) return;
  p.fillRect(QRect(s.left(), r.top(), s.width() + 1, 1) & r, back);
  p.fillRect(QRect(s.left() - 1, r.top() + 1, s.width() + 2, 1) & r, back);
}

void checkIndicator(QPainter& p, const QStyleOption& o) {
  const QRect r = o.rect;
  const bool grey = o.state & QStyle::State_NoChange;
  const bool enabled = o.state & QStyle::State_Enabled;
  p.fillRect(r, enabled && !grey ? kHighlight : kFace);
  sunkenEdge(p, r);
  if (!(o.state & (QStyle::State_On | QStyle::State_NoChange))) return;
  const QColor mark = grey || !enabled ? kShadow : QColor(Qt::black);
  // Three rows of a tick: down two pixels from the left, then up four.
  for (int k = 0; k < 3; ++k) {
    for (int i = 0; i < 2; ++i) p.fillRect(r.x() + 3 + i, r.y() + 5 + k + i, 1, 1, mark);
    for (int i = 0; i < 5; ++i) p.fillRect(r.x() + 5 + i, r.y() + 7 + k - i, 1, 1, mark);
  }
}

// The runtime's own mark, so that both hosts blend its round edge alike.
void radioIndicator(QPainter& p, const QStyleOption& o) {
  const QColor back = o.palette.window().color();
  const raster::Bitmap mark =
      runtime::optionButtonMark(o.state & QStyle::State_On, o.state & QStyle::State_Enabled,
                                raster::rgb(back.red(), back.green(), back.blue()));
  const QImage image(mark.rgba().data(), mark.width(), mark.height(), mark.width() * 4,
                     QImage::Format_RGBA8888);
  p.drawImage(o.rect.topLeft(), image);
}

void buttonPanel(QPainter& p, const QStyleOption& o, bool isDefault) {
  QRect r = o.rect;
  p.fillRect(r, o.palette.button());
  if (isDefault) {
    twoToneEdge(p, r, Qt::black, Qt::black);
    r.adjust(1, 1, -1, -1);
  }
  if (o.state & QStyle::State_On)
    sunkenEdge(p, r);
  else if (o.state & QStyle::State_Sunken)
    pressedEdge(p, r);
  else
    raisedEdge(p, r);
}

// A graphical check box or option button: a button that stays down while it is set, its
// picture and caption in the middle.
void toggleButton(QPainter& p, const QStyleOptionButton& b) {
  const QRect r = b.rect;
  p.fillRect(r, b.palette.window());
  if (b.state & QStyle::State_On)
    sunkenEdge(p, r);
  else
    raisedEdge(p, r);
  if (const QPixmap icon = b.icon.pixmap(b.iconSize); !icon.isNull())
    p.drawPixmap(r.x() + r.width() / 2 - icon.width() / 2,
                 r.y() + r.height() / 2 - icon.height() / 2, icon);
  p.setPen(b.state & QStyle::State_Enabled ? b.palette.color(QPalette::WindowText) : kShadow);
  p.drawText(r.adjusted(4, 0, -4, 0), Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextWordWrap,
             b.text);
}

// The classic control's "Style" that the bridge keeps on its widget; -1 on a widget of Qt's own.
int styleOf(const QWidget* w) {
  const QVariant style = w ? w->property("Style") : QVariant();
  return style.isValid() ? style.toInt() : -1;
}

void toolButtonPanel(QPainter& p, const QStyleOption& o) {
  const QRect r = o.rect;
  p.fillRect(r, kFace);
  const bool flat = o.state & QStyle::State_AutoRaise;
  if (o.state & (QStyle::State_Sunken | QStyle::State_On)) {
    if (flat)
      twoToneEdge(p, r, kShadow, kHighlight);
    else
      sunkenEdge(p, r);
  } else if (flat) {
    twoToneEdge(p, r, kHighlight, kShadow);  // only while the mouse is over it
  } else {
    raisedEdge(p, r);
  }
}

}  // namespace

ClassicStyle::ClassicStyle() : QProxyStyle(QStyleFactory::create("Fusion")) {}

void ClassicStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
  QPainter& p = *painter;
  const QRect r = option->rect;
  switch (element) {
    case PE_PanelButtonCommand:
    case PE_PanelButtonBevel:
      return buttonPanel(p, *option, false);
    case PE_PanelButtonTool:
      return toolButtonPanel(p, *option);
    case PE_FrameDefaultButton:
    case PE_FrameTabBarBase:
    case PE_IndicatorToolBarHandle:
      return;
    case PE_PanelLineEdit:
      if (auto* f = qstyleoption_cast<const QStyleOptionFrame*>(option)) {
        p.fillRect(r, option->palette.base());
        if (f->lineWidth > 0) sunkenEdge(p, r);
      }
      return;
    case PE_FrameLineEdit:
      return sunkenEdge(p, r);
    case PE_Frame:
      if (option->state & State_Raised)
        raisedEdge(p, r);
      else
        sunkenEdge(p, r);
      return;
    case PE_IndicatorCheckBox:
      return checkIndicator(p, *option);
    case PE_IndicatorRadioButton:
      return radioIndicator(p, *option);
    case PE_FrameTabWidget:
      if (auto* f = qstyleoption_cast<const QStyleOptionTabWidgetFrame*>(option))
        return tabPanel(p, *f, tabFace(widget, f->palette));
      break;
    case PE_PanelToolBar:
      p.fillRect(r, kFace);
      // A 3-D toolbar has a thin raised edge; a flat one has none.
      if (widget && widget->property("Appearance").toInt() == 1)
        twoToneEdge(p, r, kHighlight, kShadow);
      return;
    case PE_IndicatorToolBarSeparator: {
      const bool across = option->state & State_Horizontal;
      const int cx = r.x() + r.width() / 2, cy = r.y() + r.height() / 2;
      if (across) {
        p.fillRect(cx - 1, r.y() + 2, 1, r.height() - 4, kShadow);
        p.fillRect(cx, r.y() + 2, 1, r.height() - 4, kHighlight);
      } else {
        p.fillRect(r.x() + 2, cy - 1, r.width() - 4, 1, kShadow);
        p.fillRect(r.x() + 2, cy, r.width() - 4, 1, kHighlight);
      }
      return;
    }
    default:
      break;
  }
  QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void ClassicStyle::drawControl(ControlElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
  switch (element) {
    case CE_PushButtonBevel:
      if (auto* b = qstyleoption_cast<const QStyleOptionButton*>(option)) {
        if (!(b->features & QStyleOptionButton::Flat) || (b->state & (State_Sunken | State_On)))
          buttonPanel(*painter, *b, b->features & QStyleOptionButton::DefaultButton);
        return;
      }
      break;
    case CE_TabBarTabShape:
      if (auto* t = qstyleoption_cast<const QStyleOptionTab*>(option);
          t && t->shape == QTabBar::RoundedNorth)
        return tabShape(*painter, *t, tabFace(widget, t->palette));
      break;
    case CE_TabBarTabLabel:
      if (auto* t = qstyleoption_cast<const QStyleOptionTab*>(option);
          t && t->shape == QTabBar::RoundedNorth)
        return tabLabel(*painter, *t);
      break;
    case CE_CheckBox:
    case CE_RadioButton:
      if (auto* b = qstyleoption_cast<const QStyleOptionButton*>(option); b && styleOf(widget) == 1)
        return toggleButton(*painter, *b);
      break;
    case CE_ToolBar:
      return drawPrimitive(PE_PanelToolBar, option, painter, widget);
    default:
      break;
  }
  QProxyStyle::drawControl(element, option, painter, widget);
}

void ClassicStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                      QPainter* painter, const QWidget* widget) const {
  QPainter& p = *painter;
  const auto pressed = [&](SubControl sub) {
    return (option->activeSubControls & sub) && (option->state & State_Sunken);
  };
  if (control == CC_ScrollBar)
    if (auto* s = qstyleoption_cast<const QStyleOptionSlider*>(option)) {
      const ScrollBarParts parts = scrollBarParts(*s);
      const bool vertical = s->orientation == Qt::Vertical;
      p.save();
      p.setBrushOrigin(s->rect.topLeft());
      p.fillRect(s->rect, dottedTrack());
      p.restore();
      arrowButton(p, parts.subLine, vertical ? Arrow::Up : Arrow::Left,
                  pressed(SC_ScrollBarSubLine), ink(*s));
      arrowButton(p, parts.addLine, vertical ? Arrow::Down : Arrow::Right,
                  pressed(SC_ScrollBarAddLine), ink(*s));
      if (parts.slider.isValid()) {
        p.fillRect(parts.slider, kFace);
        raisedEdge(p, parts.slider);
      }
      return;
    }
  if (control == CC_ComboBox)
    if (auto* c = qstyleoption_cast<const QStyleOptionComboBox*>(option)) {
      p.fillRect(c->rect, c->palette.base());
      if (c->frame) sunkenEdge(p, c->rect);
      if ((c->subControls & SC_ComboBoxArrow) && styleOf(widget) != 1)  // 1: a simple combo
        arrowButton(p, comboArrow(c->rect), Arrow::Down, pressed(SC_ComboBoxArrow), ink(*c));
      return;
    }
  QProxyStyle::drawComplexControl(control, option, painter, widget);
}

QRect ClassicStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                   SubControl sub, const QWidget* widget) const {
  if (control == CC_ScrollBar)
    if (auto* s = qstyleoption_cast<const QStyleOptionSlider*>(option)) {
      const ScrollBarParts parts = scrollBarParts(*s);
      switch (sub) {
        case SC_ScrollBarSubLine:
          return parts.subLine;
        case SC_ScrollBarAddLine:
          return parts.addLine;
        case SC_ScrollBarGroove:
          return parts.groove;
        case SC_ScrollBarSlider:
          return parts.slider;
        case SC_ScrollBarSubPage:
          return parts.subPage;
        case SC_ScrollBarAddPage:
          return parts.addPage;
        default:
          return {};
      }
    }
  if (control == CC_ComboBox)
    if (auto* c = qstyleoption_cast<const QStyleOptionComboBox*>(option)) {
      const QRect r = c->rect, button = comboArrow(r);
      switch (sub) {
        case SC_ComboBoxArrow:
          return button;
        case SC_ComboBoxEditField:
          return QRect(r.x() + 4, r.y() + 2, std::max(r.width() - button.width() - 8, 0),
                       std::max(r.height() - 4, 0));
        case SC_ComboBoxFrame:
        case SC_ComboBoxListBoxPopup:
          return r;
        default:
          break;
      }
    }
  return QProxyStyle::subControlRect(control, option, sub, widget);
}

QRect ClassicStyle::subElementRect(SubElement element, const QStyleOption* option,
                                   const QWidget* widget) const {
  // A tab dialog's page is the whole panel below its tabs, edge included.
  if (element == SE_TabWidgetTabContents) element = SE_TabWidgetTabPane;
  // A graphical check box or option button is pressed anywhere on it.
  if ((element == SE_CheckBoxClickRect || element == SE_RadioButtonClickRect) &&
      styleOf(widget) == 1)
    return option->rect;
  return QProxyStyle::subElementRect(element, option, widget);
}

int ClassicStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const {
  // Access keys work but are not underlined, as the runtime draws captions.
  if (hint == SH_UnderlineShortcut) return 0;
  return QProxyStyle::styleHint(hint, option, widget, returnData);
}

int ClassicStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                              const QWidget* widget) const {
  switch (metric) {
    case PM_ScrollBarExtent:
      return 16;
    case PM_ScrollBarSliderMin:
      return 8;
    case PM_DefaultFrameWidth:
    case PM_ComboBoxFrameWidth:
      return 2;
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
      return 13;
    case PM_CheckBoxLabelSpacing:
    case PM_RadioButtonLabelSpacing:
      return 4;
    case PM_ButtonShiftHorizontal:
    case PM_ButtonShiftVertical:
      return 1;
    case PM_ButtonDefaultIndicator:
    case PM_TabBarBaseOverlap:
      return 0;
    default:
      return QProxyStyle::pixelMetric(metric, option, widget);
  }
}

namespace {

// Gives the look to widgets as they join a widget that wears it.
class LookKeeper : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::ChildPolished)
      if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child()))
        if (!child->testAttribute(Qt::WA_SetStyle)) wearClassicLook(*child);
    return false;
  }
};

QPointer<ClassicStyle> theStyle;
QPointer<LookKeeper> theKeeper;

void wear(QWidget& w) {
  if (!w.testAttribute(Qt::WA_SetStyle)) w.setStyle(theStyle);
  w.installEventFilter(theKeeper);
}

}  // namespace

void wearClassicLook(QWidget& root) {
  // Both belong to the application: widgets may outlive the form that made them.
  if (!theStyle) {
    theStyle = new ClassicStyle;
    theStyle->setParent(qApp);
  }
  if (!theKeeper) theKeeper = new LookKeeper(qApp);
  wear(root);
  for (QWidget* w : root.findChildren<QWidget*>()) wear(*w);
}

}  // namespace rescalo::bridge
