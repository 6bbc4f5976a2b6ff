#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

#include "scaling/records.h"

using host::Variant;
using namespace scaling;

namespace {

int errorOf(auto&& f) {
  try {
    f();
  } catch (const host::HostError& e) {
    return e.number();
  }
  return 0;
}

std::vector<std::string> words(const std::string& text) {
  std::istringstream in(text);
  return {std::istream_iterator<std::string>(in), {}};
}

// Writes a distinct value under every name, then reads them all back: a name bound to the
// wrong field, or two names bound to one, shows as a value that does not come back.
void expectOwnStorage(host::Object& rec, const std::string& names, bool indexed, auto valueOf) {
  std::vector<Variant> index;
  if (indexed) index.push_back(Variant(1));
  auto list = words(names);
  for (std::size_t i = 0; i < list.size(); ++i) rec.set(list[i], valueOf(i), index);
  for (std::size_t i = 0; i < list.size(); ++i)
    EXPECT_EQ(rec.get(list[i], index), valueOf(i)) << list[i];
}

TEST(Records, EveryFieldByNameHasItsOwnStorage) {
  ControlClass rec;
  expectOwnStorage(rec,
                   "Bottom Right yScale xScale HeadFontSize TitleFontSize GridFontSize "
                   "DayFontSize LastHeight LastWidth LastLeft LastTop FormHeight FormWidth "
                   "BorderWidth FontSize ButtonHeight ButtonWidth TabHeight ImageListWidth "
                   "ImageListHeight ImageListCount SpecialControlType X1 X2 Y1 Y2 Left Top "
                   "Width Height",
                   false, [](std::size_t i) { return Variant(static_cast<int>(i) + 1); });
  EXPECT_EQ(rec.LastTop, 12);
  EXPECT_EQ(rec.get("Left").type(), host::VarType::Single);
  expectOwnStorage(rec,
                   "ButtonImage TabImage NodeImage SmallIconImage IconImage ImageListKey "
                   "ImageListTag",
                   true, [](std::size_t i) { return Variant(std::to_string(i)); });
  std::vector<Variant> pics;
  for (int i = 0; i < 6; ++i)
    pics.push_back(Variant(host::ObjectPtr(std::make_shared<ControlFlags>())));
  auto pic = [&](std::size_t i) { return pics[i]; };
  expectOwnStorage(
      rec, "ImageList SmallIconsImageList IconsImageList Picture DownPicture DisabledPicture",
      false, pic);
  expectOwnStorage(rec, "TabPicture ImageListPicture", true, pic);
  EXPECT_EQ(rec.DownPicture, pics[4].toObject());

  // Booleans can only differ one at a time; all start False.
  ControlFlags flags;
  std::pair<host::Object*, std::string> sets[] = {
      {&rec,
       "ControlHasNodes ControlHasTwoImageLists ControlHasImageList ControlHasTabs "
       "ControlHasButtons"},
      {&flags,
       "DontScaleBottom DontScaleRight DontScaleHeight DontScaleWidth DontScaleTop "
       "DontScaleLeft DontScaleGraphic DontScaleBorder DontScaleFont DontScaleControl"}};
  for (auto& [obj, names] : sets)
    for (const std::string& f : words(names)) {
      obj->set(f, Variant(-1));
      for (const std::string& other : words(names))
        EXPECT_EQ(obj->get(other).toBool(), other == f) << f;
      obj->set(f, Variant(false));
    }
  expectOwnStorage(flags, "Control", false, pic);
  expectOwnStorage(flags, "ControlKey", false, [](std::size_t) { return Variant("Text1"); });
}

TEST(Records, WritesConvertAndArraysGrowOnWrite) {
  ControlClass rec;
  rec.set("SpecialControlType", Variant(2.5));
  EXPECT_EQ(rec.SpecialControlType, 2);  // half to even
  EXPECT_EQ(errorOf([&] { rec.set("Picture", Variant(5)); }), 424);

  EXPECT_EQ(errorOf([&] { rec.get("ButtonImage", {Variant(0)}); }), 9);
  rec.set("ButtonImage", Variant("open"), {Variant(5)});
  for (int n = 0; n < 5; ++n) EXPECT_TRUE(rec.ButtonImage.at(n).isEmpty()) << n;
  EXPECT_EQ(errorOf([&] { rec.get("ButtonImage", {Variant(6)}); }), 9);
  EXPECT_EQ(errorOf([&] { rec.set("ButtonImage", Variant(1), {Variant(-1)}); }), 9);
  rec.set("ButtonImage", Variant(3), {Variant(2)});  // keeps what is stored above
  EXPECT_EQ(rec.get("ButtonImage", {Variant(5)}).toString(), "open");
  // Never-written elements hold the element type's empty value.
  rec.set("ImageListKey", Variant(7), {Variant(2)});
  rec.set("TabPicture", Variant(host::ObjectPtr(std::make_shared<ControlClass>())), {Variant(1)});
  EXPECT_EQ(rec.get("ImageListKey", {Variant(2)}).type(), host::VarType::String);
  EXPECT_EQ(rec.get("ImageListKey", {Variant(1)}).toString(), "");
  EXPECT_TRUE(rec.get("TabPicture", {Variant(0)}).isNothing());
}

TEST(Records, KeyExistsOnlyForAnObjectUnderTheKey) {
  host::Collection col;
  EXPECT_FALSE(KeyExists(col, "Text1"));
  col.add(Variant("not a record"), "Label1");
  col.add(Variant(host::ObjectPtr(std::make_shared<ControlClass>())), "Text1");
  EXPECT_FALSE(KeyExists(col, "Label1"));
  EXPECT_TRUE(KeyExists(col, "TEXT1"));
  EXPECT_FALSE(KeyExists(col, ""));
  EXPECT_NE(findRecord<ControlClass>(col, "text1"), nullptr);
  EXPECT_EQ(findRecord<ControlFlags>(col, "Text1"), nullptr);
  EXPECT_EQ(findRecord<ControlClass>(col, "Label1"), nullptr);
}

}  // namespace
