#include <gtest/gtest.h>

#include <filesystem>

#include "run_cli.h"

namespace fs = std::filesystem;

namespace {

TEST(Layout, AFormWithoutRescaloGetsOneAndEveryDragIsReportedInJson) {
  Result r = rescalo("layout " RESCALO_SOURCE_DIR
                     "/examples/address-book.frm --scale 2 --size 3420x2465 --json");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  // Twice the design size: the frame's children scale with the frame, the frame with the form.
  EXPECT_NE(r.out.find("{\"steps\": [\n  {\"width\": 13680, \"height\": 9870, \"form\": "
                       "{\"name\": \"frmAddress\", \"class\": \"VB.Form\", \"width\": 13680, "
                       "\"height\": 9870, \"scaleWidth\": 13560, \"scaleHeight\": 9165"),
            std::string::npos)
      << r.out.substr(0, 400);
  // 120, 120, 4335, 2655 designed on a 6720 x 4230 inner form, now 13560 x 9165.
  EXPECT_NE(r.out.find("{\"key\": \"fraContact\", \"class\": \"VB.Frame\", \"container\": "
                       "\"frmAddress\", \"left\": 242.142853, \"top\": 260, \"width\": "
                       "8747.41016, \"height\": 5752.5"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\"events\": [\"event Rescalo1.ResizeStarted\", \"event "
                       "Rescalo1.ResizeDone\"]"),
            std::string::npos);
  EXPECT_NE(r.out.find("(the form had no Rescalo control: Rescalo1 added"), std::string::npos);
  EXPECT_NE(r.out.find("\"width\": 3420, \"height\": 2460"), std::string::npos);  // whole pixels
}

TEST(Layout, BadStepsAreRefusedAndTheDemoRunsWithPictures) {
  EXPECT_EQ(rescalo("layout " RESCALO_SOURCE_DIR "/examples/demo.frm --size 12x").exitCode, 2);
  EXPECT_EQ(rescalo("layout " RESCALO_SOURCE_DIR "/examples/demo.frm --scale -1").exitCode, 2);
  EXPECT_EQ(rescalo("layout " RESCALO_SOURCE_DIR "/examples/demo.frm").exitCode, 2);
  fs::path dir = fs::temp_directory_path() / ("rescalo-demo-" + std::to_string(::getpid()));
  Result r = rescalo("demo --svg " + dir.string());
  ASSERT_EQ(r.exitCode, 0) << r.out;
  // The last drag returns to the design size: the layout is the designed one again.
  std::size_t last = r.out.rfind("step 5:");
  ASSERT_NE(last, std::string::npos);
  std::string final = r.out.substr(last);
  EXPECT_NE(final.find("dragged to 7320 x 5805 twips (inner 7200 x 5400)"), std::string::npos);
  EXPECT_NE(final.find("cmdOK                4560     4860     1095      375    8.25"),
            std::string::npos)
      << final;
  EXPECT_NE(final.find("lblTitle             1140      960     3000      420   14.25"),
            std::string::npos)
      << final;
  EXPECT_TRUE(fs::exists(dir / "step-05.svg"));
  fs::remove_all(dir);
}

}  // namespace
