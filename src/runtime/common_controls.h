#pragma once
// The common ActiveX controls of the embedded runtime: the tab dialog (SSTab), the image list,
// the toolbar, the tree view, the list view and the tab strip, with the collections and items a
// program reaches by name; and Quillmark, which has buttons like a toolbar without being one.
//
// Units. A form file stores a toolbar's ButtonWidth/ButtonHeight and a tab dialog's
// TabHeight/TabMaxWidth in HIMETRIC. They are converted to twips when the file is read, kept in
// twips, and read and written by name in the units of the control's container, like Width.
// Image sizes (ImageWidth/ImageHeight) are pixels.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <rescalo/host/collection.h>
#include <rescalo/host/toolbar_rows.h>
#include <rescalo/runtime/control.h>
#include <rescalo/runtime/frm/frm_document.h>

namespace rescalo::runtime {

class Form;
class ImageList;
class ItemCollection;

constexpr double kTwipsPerHimetric = 1440.0 / 2540.0;
// How far a tab dialog moves the controls of its hidden pages to the left.
constexpr double kHiddenPageOffset = 75000;

// ---- items and their collections ----

// An item of a common control's collection: a ListImage, Button, Node, ListItem or Tab.
class Item : public host::Object {
 public:
  const std::string& key() const { return key_; }
  // The item's position in its collection (1-based), 0 once it was removed.
  int index() const;
  std::shared_ptr<ItemCollection> owner() const { return owner_.lock(); }
  std::string tag;

 protected:
  const host::MemberTable* members() const override;

 private:
  friend class ItemCollection;
  std::string key_;
  std::weak_ptr<ItemCollection> owner_;
};

// The 1-based keyed collections of the common controls (errors 35600/35601/35602). Each kind
// declares its own Add; Remove and Clear keep the items' owners right.
class ItemCollection : public host::Collection {
 public:
  ItemCollection(std::string typeName, std::weak_ptr<Control> control);

  // Inserts at a 1-based position (Empty: at the end; Count + 1 is allowed), with a key
  // (empty: none).
  void insert(const std::shared_ptr<Item>& item, const host::Variant& index,
              const std::string& key);
  std::shared_ptr<Item> itemAt(const host::Variant& indexOrKey) const;
  template <class T>
  std::shared_ptr<T> at1(int position) const {
    return std::static_pointer_cast<T>(itemAt(host::Variant(position)));
  }
  virtual void removeItem(const host::Variant& indexOrKey);
  virtual void clearItems();
  // Changes an item's key, keeping its place (35602 when another item has it).
  void rekey(Item& item, const std::string& key);
  // The kind's Add (its arguments differ from kind to kind), and a check that may refuse
  // Remove and Clear by raising.
  std::function<host::Variant(host::Args)> adder;
  std::function<void()> guard;
  int positionOf(const Item& item) const;  // 1-based, 0 when absent
  // The control the collection belongs to, if it still exists.
  std::shared_ptr<Control> control() const { return control_.lock(); }

 protected:
  const host::MemberTable* members() const override;

 private:
  std::weak_ptr<Control> control_;
};

// Writes a value into a form-file block unless the block already says the same, or leaves it
// out when the block does not have it and it is the default: a form read and written back
// comes out as it was.
void storeNumber(frm::Block& block, std::string_view name, double value, double defaultValue);
void storeText(frm::Block& block, std::string_view name, const std::string& text,
               const std::string& defaultText);

// A key argument as the common controls take it: Empty or "" is no key.
std::string keyArgument(const host::Variant& key);
// Optional argument i of a call, Empty when it was not passed.
host::Variant argument(host::Args args, std::size_t i);

class ListImage : public Item {
 public:
  std::string_view typeName() const override { return "ListImage"; }
  host::Variant picture{nullptr};  // a Picture, or Nothing when the image could not be read

 protected:
  const host::MemberTable* members() const override;
};

// A toolbar button (also Quillmark's).
class Button : public Item {
 public:
  std::string_view typeName() const override { return "Button"; }
  std::string caption;
  std::string toolTipText;
  std::string description;
  host::Variant image{std::int16_t{0}};  // an index or a key into the bound image list
  int style = 0;                         // 3: separator, 4: placeholder
  int value = 0;
  bool visible = true;
  bool enabled = true;
  double placeholderWidth = 0;  // twips, for a placeholder
  // The width the button takes on its toolbar, in twips.
  double widthTwips() const;

 protected:
  const host::MemberTable* members() const override;
};

class Node : public Item {
 public:
  std::string_view typeName() const override { return "Node"; }
  std::string text;
  host::Variant image;
  host::Variant selectedImage;
  std::weak_ptr<Node> parent;
  bool expanded = false;

 protected:
  const host::MemberTable* members() const override;
};

class ListItem : public Item {
 public:
  std::string_view typeName() const override { return "ListItem"; }
  std::string text;
  host::Variant icon;
  host::Variant smallIcon;

 protected:
  const host::MemberTable* members() const override;
};

// A tab of a tab strip.
class TabItem : public Item {
 public:
  std::string_view typeName() const override { return "Tab"; }
  std::string caption;
  std::string toolTipText;
  host::Variant image;

 protected:
  const host::MemberTable* members() const override;
};

// ---- the controls ----

// Reads one value of a form file as the loader does (pictures from the .frx beside it).
using ValueReader = std::function<host::Variant(const frm::Property&)>;

// A property that refers to an image list. While it refers to one, that list cannot be changed.
class ImageListRef {
 public:
  ImageListRef() = default;
  ImageListRef(const ImageListRef&) = delete;
  ImageListRef& operator=(const ImageListRef&) = delete;
  ~ImageListRef() { set(std::shared_ptr<ImageList>()); }
  void set(std::shared_ptr<ImageList> list);
  // An image list or Nothing; anything else is an invalid property value (380).
  void set(const host::Variant& value);
  host::Variant value() const;
  const std::shared_ptr<ImageList>& list() const { return list_; }

 private:
  std::shared_ptr<ImageList> list_;
};

// What the common controls share: loading from and storing into their form-file block, and the
// image lists a file names that are bound once the whole form exists.
class CommonControl : public Control {
 public:
  using Control::Control;

  // "TabCaption(2)" as a file names it reads and writes TabCaption with index 2.
  bool tryGet(host::Name name, host::Args index, host::Variant& out) override;
  bool trySet(host::Name name, host::Args index, const host::Variant& value) override;

  // A property of the control's block, its value already read (pictures from the .frx). True
  // when the control took it; anything else is stored by name as for every control.
  virtual bool loadProperty(std::string_view name, const host::Variant& value);
  // A property block other than a font (Images, Buttons, Tabs...).
  virtual void loadBlock(const frm::PropertyBlock&, const ValueReader&) {}
  // Once every control of the form exists: binds the image lists the file names; a name that
  // is no image list of the form leaves Nothing and a warning.
  virtual void finishLoad(Form& form);
  // Writes what the control models back into its block, leaving values that did not change
  // as the file has them.
  virtual void store(frm::Block&) const {}

 protected:
  // The image-list property of that name ("ImageList", "Icons"...), or nullptr.
  virtual ImageListRef* imageListRef(std::string_view) { return nullptr; }

 private:
  std::vector<std::pair<std::string, std::string>> namedImageLists_;  // property, control name
};

class ImageList : public CommonControl {
 public:
  using CommonControl::CommonControl;
  static const host::MemberTable& memberTable();
  std::shared_ptr<ItemCollection> listImages();
  int imageWidth() const { return imageWidth_; }
  int imageHeight() const { return imageHeight_; }
  // Pixels: 35617 while a control is bound to the list, 35611 while it holds images.
  void setImageWidth(int pixels);
  void setImageHeight(int pixels);
  // Adds an image, stored at the list's image size (an empty list of no size takes the size
  // of its first picture). Nothing is accepted: an image whose picture could not be read.
  std::shared_ptr<ListImage> add(const host::Variant& position, const std::string& key,
                                 const host::Variant& picture);
  bool bound() const { return bindings_ > 0; }
  void checkNotBound() const;  // 35617

  bool loadProperty(std::string_view name, const host::Variant& value) override;
  void loadBlock(const frm::PropertyBlock& block, const ValueReader& read) override;
  void store(frm::Block& block) const override;

 protected:
  const host::MemberTable* members() const override { return &memberTable(); }

 private:
  friend class ImageListRef;
  void checkResizable() const;
  int bindings_ = 0;
  int imageWidth_ = 0;
  int imageHeight_ = 0;
  std::shared_ptr<ItemCollection> images_;
};

// Controls whose Buttons come from a `Buttons` block: the toolbar and Quillmark.
class ButtonBar : public CommonControl {
 public:
  using CommonControl::CommonControl;
  std::shared_ptr<ItemCollection> buttons();
  virtual double buttonWidthTwips() const { return 0; }
  void loadBlock(const frm::PropertyBlock& block, const ValueReader& read) override;

 protected:
  const ItemCollection* buttonList() const { return buttons_.get(); }

 public:
 private:
  std::shared_ptr<ItemCollection> buttons_;
};

// A toolbar. Its height follows its buttons: ButtonHeight rounded to whole pixels, plus 4
// pixels for the standard style (Style 0; none for the flat Style 1), plus 2 pixels for the
// 3-D appearance (Appearance 1). Every toolbar of the sample forms fits this: ButtonHeight 953
// HIMETRIC (36 px) standard and 3-D gives 42 px (630 twips), flat and not 3-D 36 px (540
// twips). Setting Height changes nothing: a toolbar is always as tall as its buttons need.
class Toolbar : public ButtonBar {
 public:
  Toolbar(std::string fileClass, const ControlClass& cls);
  static const host::MemberTable& memberTable();
  double buttonWidthTwips() const override { return buttonWidth_; }
  double buttonHeightTwips() const { return buttonHeight_; }
  void setButtonWidth(double twips);
  void setButtonHeight(double twips);
  int style() const { return style_; }
  void setStyle(int style);
  int appearance() const { return appearance_; }
  void setAppearance(int appearance);
  // Takes the height its buttons need; an aligned toolbar's neighbours make room for it.
  void fitHeight();
  int align() const override { return alignment; }
  void fitAlignedLength() override { height = neededHeight(); }

  bool loadProperty(std::string_view name, const host::Variant& value) override;
  void finishLoad(Form& form) override;
  void store(frm::Block& block) const override;

  ImageListRef imageList, disabledImageList, hotImageList;
  int alignment = 0;

  // Where each button stands, in rows at the toolbar's width when it wraps, one row otherwise.
  std::vector<host::ToolbarPlace> buttonPlaces() const;

 protected:
  const host::MemberTable* members() const override { return &memberTable(); }
  ImageListRef* imageListRef(std::string_view name) override;

 private:
  double neededHeight() const;  // rows of buttons at the toolbar's width
  double buttonWidth_;          // twips
  double buttonHeight_;         // twips
  int style_ = 0;
  int appearance_ = 0;
};

// A control with a Buttons collection that is not a toolbar (the scaling engine tells them
// apart by type name).
class Quillmark : public ButtonBar {
 public:
  using ButtonBar::ButtonBar;
  static const host::MemberTable& memberTable();

 protected:
  const host::MemberTable* members() const override { return &memberTable(); }
};

class TreeView : public CommonControl {
 public:
  using CommonControl::CommonControl;
  static const host::MemberTable& memberTable();
  std::shared_ptr<ItemCollection> nodes();
  // Nodes are kept in the order they were added. Relationship: 0 first, 1 last (the
  // default), 2 next, 3 previous (siblings of relative), 4 child of relative.
  std::shared_ptr<Node> addNode(const host::Variant& relative, const host::Variant& relationship,
                                const std::string& key, const std::string& text,
                                const host::Variant& image, const host::Variant& selectedImage);
  ImageListRef imageList;

 protected:
  const host::MemberTable* members() const override { return &memberTable(); }
  ImageListRef* imageListRef(std::string_view name) override;

 private:
  std::shared_ptr<ItemCollection> nodes_;
};

class ListView : public CommonControl {
 public:
  using CommonControl::CommonControl;
  static const host::MemberTable& memberTable();
  std::shared_ptr<ItemCollection> listItems();
  ImageListRef icons, smallIcons;
  int view = 0;  // 0 icons, 1 small icons, 2 list, 3 report

  void store(frm::Block& block) const override;

 protected:
  const host::MemberTable* members() const override { return &memberTable(); }
  ImageListRef* imageListRef(std::string_view name) override;

 private:
  std::shared_ptr<ItemCollection> listItems_;
};

// A tab strip: unlike the tab dialog its Tabs is a collection, and it holds no pages.
class TabStrip : public CommonControl {
 public:
  using CommonControl::CommonControl;
  static const host::MemberTable& memberTable();
  std::shared_ptr<ItemCollection> tabs();
  ImageListRef imageList;

  void loadBlock(const frm::PropertyBlock& block, const ValueReader& read) override;

 protected:
  const host::MemberTable* members() const override { return &memberTable(); }
  ImageListRef* imageListRef(std::string_view name) override;

 private:
  std::shared_ptr<ItemCollection> tabs_;
};

// The tab dialog: one window whose pages share its children. The controls of the pages not
// shown sit kHiddenPageOffset twips left of their place (a form file stores them so); a child
// belongs to page p when the file lists it as `Tab(p).Control(i)`. A child listed on no page
// stays where it is.
//
// TabHeight: the file's value is HIMETRIC (520 is about 295 twips, 20 pixels). By name it
// reads and writes in the container's units: vertically for tabs on top or bottom, across
// for tabs on the left or right. TabMaxWidth runs along the tabs (HIMETRIC in the file too).
class SSTab : public CommonControl {
 public:
  SSTab(std::string fileClass, const ControlClass& cls);
  static const host::MemberTable& memberTable();
  int tabs() const { return static_cast<int>(pages_.size()); }
  void setTabs(int count);  // at least 1; a new page is captioned "Tab n"
  int tab() const { return tab_; }
  // Shows page t: the children of the page shown so far move left, those of page t come
  // back; raises Click with the previous tab.
  void setTab(int t);
  const std::string& caption(int t) const;  // 381 outside 0 .. Tabs - 1
  void setCaption(int t, std::string text);
  const host::Variant& picture(int t) const;
  void setPicture(int t, const host::Variant& picture);  // a Picture or Nothing
  std::vector<Control*> pageControls(int t) const;       // the children listed on page t
  int pageOf(const Control& child) const;                // the page listing it, or -1

  double tabHeightTwips = 300;
  double tabMaxWidthTwips = 0;
  int tabsPerRow = 3;
  int tabOrientation = 0;  // 0 top, 1 bottom, 2 left, 3 right
  int style = 0;           // 0 tabbed dialog, 1 property page

  bool loadProperty(std::string_view name, const host::Variant& value) override;
  void store(frm::Block& block) const override;

 protected:
  const host::MemberTable* members() const override { return &memberTable(); }

 private:
  struct Page {
    std::string caption;
    host::Variant picture{nullptr};
    std::vector<std::string> controls;  // keys of the children on the page
  };
  Page& page(int t);
  const Page& page(int t) const;
  std::vector<Page> pages_;
  int tab_ = 0;
};

// The class of a common control's form-file class ("MSComctlLib.Toolbar"), or nullptr when the
// name is none of them.
const ControlClass* commonControlClass(std::string_view fileClass);
// A new control of that class, or nullptr when it is no common control.
std::shared_ptr<Control> createCommonControl(std::string_view fileClass);

}  // namespace rescalo::runtime
