#include <gtest/gtest.h>

#include <regex>

#include <rescalo/runtime/form.h>
#include "rescalo_support.h"

using namespace rescalo;

using namespace testing_support;

namespace {

using AboutBoxTest = RescaloTest;

TEST_F(AboutBoxTest, IsAFormOfItsOwnWithNameVersionAndDescriptionClosedByOK) {
  auto form = build(formText(rescaloBlock()), false);
  obj(*form, "Rescalo1")->call("AboutBox");
  ASSERT_TRUE(rt.aboutForm);
  runtime::Form& about = *rt.aboutForm;
  EXPECT_TRUE(about.visible());
  EXPECT_EQ(about.caption, "About Rescalo");
  auto caption = [&](const char* key) { return obj(about, key)->get("Caption").toString(); };
  EXPECT_EQ(caption("lblName"), "Rescalo");
  EXPECT_TRUE(std::regex_match(caption("lblVersion"), std::regex(R"(Version \d+\.\d+\.\d+)")))
      << caption("lblVersion");
  EXPECT_EQ(caption("lblDescription"), control::aboutInfo().description);
  EXPECT_TRUE(obj(about, "lblName")->get("FontBold").toBool());
  EXPECT_TRUE(rt.messages.empty());  // a form, not a message box

  obj(about, "cmdOK")->raiseEvent("Click");
  EXPECT_FALSE(about.visible());
  EXPECT_FALSE(about.loaded());
}

}  // namespace
