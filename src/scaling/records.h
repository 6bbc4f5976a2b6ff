#pragma once
// The two records the engine keeps per control, filed under the control's key: the reference
// metrics a layout is computed from, and the design-time flags saying what must not be scaled.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include <rescalo/host/collection.h>
#include <rescalo/host/object.h>

namespace rescalo::scaling {

// An array field that grows on write: storing element n keeps what is stored and extends the
// array to 0 … n, leaving the new elements empty. Reading past the end fails with 9, as a
// classic array does.
template <class T>
class IndexedField {
 public:
  using value_type = T;
  const T& at(int n) const {
    if (n < 0 || n >= size()) host::raise(host::kSubscriptOutOfRange);
    return items_[static_cast<std::size_t>(n)];
  }
  void store(int n, T value) {
    if (n < 0) host::raise(host::kSubscriptOutOfRange);
    if (n >= size()) items_.resize(static_cast<std::size_t>(n) + 1);
    items_[static_cast<std::size_t>(n)] = std::move(value);
  }
  int size() const { return static_cast<int>(items_.size()); }
  void clear() { items_.clear(); }

 private:
  std::vector<T> items_;
};

// A variant converted to a field's type as a typed classic property converts it on assignment
// (CSng, CInt, CBool, CStr, Set); a failed conversion throws the classic error.
template <class T>
T convertTo(const host::Variant& v) {
  if constexpr (std::is_same_v<T, float>) {
    return v.toSingle();
  } else if constexpr (std::is_same_v<T, std::int16_t>) {
    return v.toInteger();
  } else if constexpr (std::is_same_v<T, bool>) {
    return v.toBool();
  } else if constexpr (std::is_same_v<T, std::string>) {
    return v.toString();
  } else if constexpr (std::is_same_v<T, host::ObjectPtr>) {
    return v.toObject();
  } else {
    static_assert(std::is_same_v<T, host::Variant>, "no conversion to this field type");
    return v;
  }
}

// What a control is to the engine (SpecialControlType); later recognitions win.
enum ControlKind : std::int16_t {
  kOrdinaryControl = 0,
  kOnTabPage = 1,  // sited on a page of a tab control
  kLineControl = 2,
  kTabControl = 3,
  kImageListComponent = 4,
  kHostForm = 6,
};

// The reference metrics of one control. Positions and sizes are in the units of the
// control's container; FormWidth/FormHeight are the container size they belong to.
class ControlClass : public host::Object {
 public:
  std::string_view typeName() const override { return "ControlClass"; }

  float Left = 0, Top = 0, Width = 0, Height = 0;
  float FormWidth = 0, FormHeight = 0;
  float xScale = 0, yScale = 0;  // 0 means never placed, read as 1
  float LastLeft = 0, LastTop = 0, LastWidth = 0, LastHeight = 0;
  float Right = 0, Bottom = 0;
  float X1 = 0, X2 = 0, Y1 = 0, Y2 = 0;
  std::int16_t SpecialControlType = kOrdinaryControl;

  float TabHeight = 0;
  IndexedField<host::ObjectPtr> TabPicture;  // 0 … tabs - 1

  bool ControlHasTabs = false;
  bool ControlHasButtons = false;
  bool ControlHasNodes = false;
  bool ControlHasImageList = false;
  bool ControlHasTwoImageLists = false;
  host::ObjectPtr ImageList, IconsImageList, SmallIconsImageList;
  // The lists shown for disabled and hot buttons and in column headers, let go of while the
  // lists they name are rebuilt (kOtherImageLists).
  std::array<host::ObjectPtr, 3> OtherImageLists;
  // Image references (index or key) of items, 1 … count.
  IndexedField<host::Variant> TabImage, ButtonImage, NodeImage, IconImage, SmallIconImage;

  std::int16_t ImageListCount = 0;
  float ImageListWidth = 0, ImageListHeight = 0;
  IndexedField<host::ObjectPtr> ImageListPicture;  // 1 … count
  IndexedField<std::string> ImageListKey, ImageListTag;

  float ButtonWidth = 0, ButtonHeight = 0;
  float FontSize = 0, DayFontSize = 0, GridFontSize = 0, TitleFontSize = 0, HeadFontSize = 0;
  float BorderWidth = 0;
  host::ObjectPtr Picture, DownPicture, DisabledPicture;  // as captured

  // Which of the control's five fonts it has, then whether it has an Align, one bit each, found
  // at its first placement.
  static constexpr std::uint8_t kMembersUnknown = 0xFF;
  std::uint8_t MembersPresent = kMembersUnknown;

 protected:
  const host::MemberTable* members() const override;
};

// The design-time flags of one control; all start False.
class ControlFlags : public host::Object {
 public:
  std::string_view typeName() const override { return "ControlFlags"; }

  host::ObjectPtr Control;  // only in the property pages' working copies
  bool DontScaleBottom = false;
  bool DontScaleRight = false;
  bool DontScaleHeight = false;
  bool DontScaleWidth = false;
  bool DontScaleTop = false;
  bool DontScaleLeft = false;
  bool DontScaleGraphic = false;
  bool DontScaleBorder = false;
  std::string ControlKey;  // only in the property pages' working copies
  bool DontScaleFont = false;
  bool DontScaleControl = false;

 protected:
  const host::MemberTable* members() const override;
};

// "Name", or "Name(Index)" for a member of a control array; "" for a null object. A control
// without a Name fails with the host's error.
std::string GetControlKey(const host::ObjectPtr& control);

// True when the collection holds an object under key (keys compare without regard to case).
bool KeyExists(host::Collection& collection, std::string_view key);

// The record of type T filed under key, or nullptr when there is none or the item is not one.
template <class T>
std::shared_ptr<T> findRecord(const host::Collection& collection, std::string_view key) {
  const host::Variant* item = collection.find(key);
  return item && item->isObject() ? std::dynamic_pointer_cast<T>(item->toObject()) : nullptr;
}

}  // namespace rescalo::scaling
