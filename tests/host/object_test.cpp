#include <gtest/gtest.h>

#include "host/collection.h"
#include "host/failure.h"
#include "host/object.h"

using host::Args;
using host::HostError;
using host::Object;
using host::Variant;

namespace {

int errorOf(auto&& f) {
  try {
    f();
  } catch (const HostError& e) {
    return e.number();
  }
  return 0;
}

class Gauge : public Object {
 public:
  std::string_view typeName() const override { return "Gauge"; }
  double level = 0;
  std::vector<std::string> marks{"a", "b", "c"};

 protected:
  const host::MemberTable* members() const override {
    static const host::MemberTable base{{"Tag", [](Object&, Args) { return Variant("gauge"); }}};
    static const host::MemberTable table{
        {{"Level", [](Object& o, Args) { return Variant(host::self<Gauge>(o).level); },
          [](Object& o, Args, const Variant& v) { host::self<Gauge>(o).level = v.toDouble(); }},
         {"Mark",
          [](Object& o, Args i) {
            host::expectArgs(i, 1);
            auto& m = host::self<Gauge>(o).marks;
            int n = i[0].toInteger();
            if (n < 0 || n >= static_cast<int>(m.size())) host::raise(host::kSubscriptOutOfRange);
            return Variant(m[static_cast<std::size_t>(n)]);
          }},
         {"ReadOnly", [](Object&, Args) { return Variant(1); }}},
        &base};
    return &table;
  }
};

TEST(Object, MembersAreFoundByNameWithoutRegardToCaseAndThroughBaseTables) {
  Gauge g;
  g.set("LEVEL", 2.5);
  EXPECT_EQ(g.get("level").toDouble(), 2.5);
  EXPECT_EQ(g.get("TAG").toString(), "gauge");
  EXPECT_EQ(g.get("Mark", {Variant(2)}).toString(), "c");
  EXPECT_EQ(g.call("mark", {Variant(1)}).toString(), "b");  // a property called like a method
  EXPECT_EQ(errorOf([&] { g.get("Mark", {Variant(3)}); }), 9);
  EXPECT_EQ(errorOf([&] { g.get("Colour"); }), 438);
  EXPECT_EQ(errorOf([&] { g.call("Explode"); }), 438);
  EXPECT_EQ(errorOf([&] { g.set("ReadOnly", 2); }), 383);
  EXPECT_EQ(errorOf([&] { g.set("Level", "high"); }), 13);
}

TEST(Object, FailureStylesSkipTrapOrRaise) {
  Gauge g;
  EXPECT_FALSE(host::tryGet(g, "Colour").has_value());
  EXPECT_FALSE(host::tryGet(g, "Mark", std::vector<Variant>{Variant(7)}).has_value());
  EXPECT_EQ(host::tryGet(g, "Tag")->toString(), "gauge");
  EXPECT_FALSE(host::ignoreErrors([&] { g.set("Level", "x"); }));
  EXPECT_TRUE(host::ignoreErrors([&] { g.set("Level", 1); }));
  std::string shown;
  EXPECT_FALSE(host::trapAndShow([&] { g.get("Nope"); }, [&](const std::string& d) { shown = d; }));
  EXPECT_EQ(shown, "Object doesn't support this property or method");
  int raised = 0;
  host::trapAndRaise([&] { host::raise(6); }, [&](const HostError& e) { raised = e.number(); });
  EXPECT_EQ(raised, 6);
}

TEST(Object, EventsReachSubscribersInOrderAndStopAfterUnsubscribe) {
  auto g = std::make_shared<Gauge>();
  std::string log;
  int a = g->subscribe([&](std::string_view e, Args) { log += "a:" + std::string(e) + " "; });
  g->subscribe([&](std::string_view e, Args args) {
    log += "b:" + std::string(e) + std::to_string(args.size()) + " ";
  });
  Variant arg(1);
  g->raiseEvent("Resize", Args(&arg, 1));
  g->unsubscribe(a);
  g->raiseEvent("Load");
  EXPECT_EQ(log, "a:Resize b:Resize1 b:Load0 ");
}

TEST(Collection, ClassicFlavourKeysIgnoreCaseAndFailWithClassicNumbers) {
  host::Collection c;
  c.add(Variant("one"), "First");
  c.add(Variant("two"), "second");
  c.add(Variant("zero"), "", Variant(1));  // before the first
  c.add(Variant("one and a half"), "", Variant(), Variant("FIRST"));
  EXPECT_EQ(c.count(), 4);
  EXPECT_EQ(c.item(Variant(1)).toString(), "zero");
  EXPECT_EQ(c.item(Variant(3)).toString(), "one and a half");
  EXPECT_EQ(c.item(Variant("SECOND")).toString(), "two");
  EXPECT_EQ(errorOf([&] { c.add(Variant(3), "first"); }), 457);
  EXPECT_EQ(errorOf([&] { c.item(Variant("third")); }), 5);
  EXPECT_EQ(errorOf([&] { c.item(Variant(0)); }), 9);
  EXPECT_EQ(errorOf([&] { c.item(Variant(5)); }), 9);
  c.remove(Variant("first"));
  EXPECT_FALSE(c.containsKey("first"));
  EXPECT_EQ(c.get("Count").toLong(), 3);
  EXPECT_EQ(c.call("Item", {Variant(3)}).toString(), "two");
}

TEST(Collection, CommonControlFlavourUsesItsOwnNumbers) {
  host::Collection c(host::kCommonControlErrors);
  c.call("Add", {Variant(1), Variant("k")});
  EXPECT_EQ(errorOf([&] { c.add(Variant(2), "K"); }), 35602);
  EXPECT_EQ(errorOf([&] { c.item(Variant("x")); }), 35601);
  EXPECT_EQ(errorOf([&] { c.item(Variant(2)); }), 35600);
}

}  // namespace
