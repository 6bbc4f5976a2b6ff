#pragma once
// A child widget seen as a control of the classic runtime.

#include <cstdint>
#include <string>
#include <vector>

#include <rescalo/qt/qt_image_list.h>
#include <rescalo/qt/qt_object.h>

class QFrame;
class QToolBar;

namespace rescalo::qt {

enum class ControlKind {
  CommandButton,  // QPushButton
  Label,          // QLabel
  TextBox,        // QLineEdit, QTextEdit
  Frame,          // QGroupBox
  CheckBox,       // QCheckBox
  OptionButton,   // QRadioButton
  ComboBox,       // QComboBox
  ListBox,        // QListWidget
  ScrollBar,      // QScrollBar: HScrollBar or VScrollBar by orientation
  PictureBox,     // a plain QWidget or QFrame
  TabControl,     // QTabWidget: the tab dialog (SSTab), its pages' controls its own
  Toolbar,        // QToolBar: its actions are its Buttons
  ImageList,      // QtImageList, a hidden widget
  Line,           // QtLine: two end points, no rectangle
  Shape,          // QtShape: drawn, holds nothing
  TreeView,       // QTreeWidget: its items are its Nodes
  ListView,       // QListWidget with a "View" property: its items are its ListItems
  Other,          // any other class, named after it without the Q
};

ControlKind kindOf(const QWidget& widget);
// Frames, picture boxes, tab controls and toolbars (a combo box placed on a bar) hold controls;
// other widgets' children are their own inner parts.
inline bool isContainer(ControlKind kind) {
  return kind == ControlKind::Frame || kind == ControlKind::PictureBox ||
         kind == ControlKind::TabControl || kind == ControlKind::Toolbar;
}
// Whether a widget holds controls of its own: a classic container, or one of Qt's plain ones
// (a QWidget or QFrame as such, the pages of a QStackedWidget or QToolBox, what a QScrollArea
// scrolls, a QSplitter's or QDockWidget's widgets), as forms made in Qt use them.
bool isContainer(const QWidget& widget);
// The widgets whose children are the controls a container holds: itself, a tab control's,
// stacked widget's or tool box's pages, or the widget a scroll area or dock widget holds.
std::vector<QWidget*> holders(QWidget& container);
// The control a widget sits in: its parent, the tab control or stacked widget whose page the
// parent is, or the form for what sits in a main window's central widget; inside what Qt
// places (a layout's widget, a splitter's, the page of a tool box, scroll area or dock
// widget), the widget placed by position that holds it.
QWidget* containerOf(QWidget& widget);

// What to add to a position in the widget's parent for where its container measures it: a
// tab control measures its pages' controls from its corner, tabs included; a main window its
// own from below the menu bar.
QPoint containerOffset(const QWidget& widget);

// A control: geometry in its parent widget, Caption or Text as the widget shows one, Index
// from the widget's "Index" property (a member of a control array), Container and Parent.
class QtControl : public QtWidgetObject {
 public:
  QtControl(QWidget* widget, host::HWND handle);

  std::string_view typeName() const override;
  ControlKind kind() const { return kind_; }

  // The adapter of the control's container (see containerOf), kept until the tree changes.
  std::shared_ptr<QtWidgetObject> container() const;

  // Geometry in the parent widget.
  QRect outerPixels() const override;
  void setOuterPixels(const QRect& rect) override;

  // Caption exists only where the widget shows a caption, Text only where it edits text.
  bool has(host::Name name) const override;
  bool tryGet(host::Name name, host::Args index, host::Variant& out) override;
  bool trySet(host::Name name, host::Args index, const host::Variant& value) override;
  bool tryCall(host::Name name, host::Args args, host::Variant& out) override;

 protected:
  const host::MemberTable* members() const override;

 private:
  bool lacks(host::Name name) const;
  static ImageListBinding& boundList(host::Object& o, int which);
  static void setBoundList(host::Object& o, int which, const host::Variant& v);
  static void setButtonPicture(host::Object& o, int which, const host::Variant& v);

  // Whether the widget is an aligned box, kept with its container.
  bool aligned() const;

  ControlKind kind_;
  std::string otherName_;  // the type name of an unknown class
  mutable std::uint64_t containerAt_ = ~std::uint64_t{0};
  // Not owned: a form keeps its controls' adapters.
  mutable std::weak_ptr<QtWidgetObject> container_;
  mutable bool aligned_ = false;
  // A button's Picture, DownPicture and DisabledPicture, which make its icon.
  host::Variant buttonPictures_[3] = {host::Variant(nullptr), host::Variant(nullptr),
                                      host::Variant(nullptr)};
  // A toolbar's ImageList, DisabledImageList and HotImageList; a tree's ImageList; a list
  // view's Icons and SmallIcons.
  ImageListBinding imageLists_[3];
};

// The height of a toolbar at a width, pixels: its rows of buttons, as the classic toolbar wraps
// them on the top or bottom edge of its form.
int toolbarHeightAt(QToolBar& toolbar, int width);
// Puts a toolbar's buttons where those rows have them, each at its own width and the
// toolbar's button height, and shows only the visible ones.
void placeToolbarButtons(QToolBar& toolbar);

// A picture box's border: none (0) or the sunken one (1), two pixels each side.
void setBorder(QFrame& frame, int style);

}  // namespace rescalo::qt
