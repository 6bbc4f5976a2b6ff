#include <rescalo/scaling/records.h>

#include <rescalo/host/failure.h>

namespace rescalo::scaling {

namespace {

using host::Args;
using host::Member;
using host::Name;
using host::Object;
using host::self;
using host::Variant;

template <class P>
struct FieldOf;
template <class R, class T>
struct FieldOf<T R::*> {
  using Record = R;
  using Type = T;
};

// A plain field reached by name.
template <auto F>
Member field(Name name) {
  using R = typename FieldOf<decltype(F)>::Record;
  using T = typename FieldOf<decltype(F)>::Type;
  return {name,
          [](Object& o, Args a) {
            host::expectArgs(a, 0);
            return Variant(self<R>(o).*F);
          },
          [](Object& o, Args a, const Variant& v) {
            host::expectArgs(a, 0);
            self<R>(o).*F = convertTo<T>(v);
          }};
}

// An array field reached by name, the index first.
template <auto F>
Member indexed(Name name) {
  using R = typename FieldOf<decltype(F)>::Record;
  using T = typename FieldOf<decltype(F)>::Type;
  return {name,
          [](Object& o, Args a) {
            host::expectArgs(a, 1);
            return Variant((self<R>(o).*F).at(a[0].toInteger()));
          },
          [](Object& o, Args a, const Variant& v) {
            host::expectArgs(a, 1);
            (self<R>(o).*F).store(a[0].toInteger(), convertTo<typename T::value_type>(v));
          }};
}

}  // namespace

const host::MemberTable* ControlClass::members() const {
  using C = ControlClass;
  static const host::MemberTable table{
      field<&C::Bottom>("Bottom"),
      field<&C::Right>("Right"),
      field<&C::yScale>("yScale"),
      field<&C::xScale>("xScale"),
      field<&C::HeadFontSize>("HeadFontSize"),
      field<&C::ControlHasNodes>("ControlHasNodes"),
      field<&C::TitleFontSize>("TitleFontSize"),
      field<&C::GridFontSize>("GridFontSize"),
      field<&C::DayFontSize>("DayFontSize"),
      field<&C::LastHeight>("LastHeight"),
      field<&C::LastWidth>("LastWidth"),
      field<&C::LastLeft>("LastLeft"),
      field<&C::LastTop>("LastTop"),
      field<&C::FormHeight>("FormHeight"),
      field<&C::FormWidth>("FormWidth"),
      field<&C::ControlHasTwoImageLists>("ControlHasTwoImageLists"),
      field<&C::ControlHasImageList>("ControlHasImageList"),
      field<&C::ControlHasTabs>("ControlHasTabs"),
      field<&C::ControlHasButtons>("ControlHasButtons"),
      field<&C::ImageList>("ImageList"),
      field<&C::BorderWidth>("BorderWidth"),
      field<&C::FontSize>("FontSize"),
      field<&C::ButtonHeight>("ButtonHeight"),
      field<&C::ButtonWidth>("ButtonWidth"),
      indexed<&C::ButtonImage>("ButtonImage"),
      indexed<&C::TabImage>("TabImage"),
      indexed<&C::NodeImage>("NodeImage"),
      indexed<&C::SmallIconImage>("SmallIconImage"),
      indexed<&C::IconImage>("IconImage"),
      field<&C::SmallIconsImageList>("SmallIconsImageList"),
      field<&C::IconsImageList>("IconsImageList"),
      field<&C::TabHeight>("TabHeight"),
      indexed<&C::TabPicture>("TabPicture"),
      indexed<&C::ImageListPicture>("ImageListPicture"),
      indexed<&C::ImageListKey>("ImageListKey"),
      indexed<&C::ImageListTag>("ImageListTag"),
      field<&C::ImageListWidth>("ImageListWidth"),
      field<&C::ImageListHeight>("ImageListHeight"),
      field<&C::ImageListCount>("ImageListCount"),
      field<&C::SpecialControlType>("SpecialControlType"),
      field<&C::X1>("X1"),
      field<&C::X2>("X2"),
      field<&C::Y1>("Y1"),
      field<&C::Y2>("Y2"),
      field<&C::Left>("Left"),
      field<&C::Top>("Top"),
      field<&C::Width>("Width"),
      field<&C::Height>("Height"),
      field<&C::Picture>("Picture"),
      field<&C::DownPicture>("DownPicture"),
      field<&C::DisabledPicture>("DisabledPicture"),
  };
  return &table;
}

const host::MemberTable* ControlFlags::members() const {
  using F = ControlFlags;
  static const host::MemberTable table{
      field<&F::Control>("Control"),
      field<&F::DontScaleBottom>("DontScaleBottom"),
      field<&F::DontScaleRight>("DontScaleRight"),
      field<&F::DontScaleHeight>("DontScaleHeight"),
      field<&F::DontScaleWidth>("DontScaleWidth"),
      field<&F::DontScaleTop>("DontScaleTop"),
      field<&F::DontScaleLeft>("DontScaleLeft"),
      field<&F::DontScaleGraphic>("DontScaleGraphic"),
      field<&F::DontScaleBorder>("DontScaleBorder"),
      field<&F::ControlKey>("ControlKey"),
      field<&F::DontScaleFont>("DontScaleFont"),
      field<&F::DontScaleControl>("DontScaleControl"),
  };
  return &table;
}

std::string GetControlKey(const host::ObjectPtr& control) {
  if (!control) return {};
  std::string name = control->get("Name").toString();
  std::string key = name;
  // Reading Index fails for a control outside a control array: then the name alone is the key.
  host::ignoreErrors([&] {
    if (auto index = host::tryGet(*control, "Index")) {
      std::int32_t n = index->toLong();
      if (n >= 0) key = name + "(" + std::to_string(n) + ")";
    }
  });
  return key;
}

bool KeyExists(host::Collection& collection, std::string_view key) {
  // Asked for every control on every pass: look before reading rather than trap a miss.
  const host::Variant* item = collection.find(key);
  return item && item->isObject();
}

}  // namespace rescalo::scaling
