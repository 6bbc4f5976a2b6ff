// Every corpus form on Qt next to the embedded runtime, on a screen as the runtime's: large
// forms are held at the same screen edges in both hosts.

#define RESCALO_OWN_QT_APPLICATION
#include "qt_application.h"

#include <rescalo/bridge/shown_form.h>

#include "corpus.h"
#include "shown_like_runtime.h"

using namespace rescalo;

namespace {

[[maybe_unused]] const auto* const application = ::testing::AddGlobalTestEnvironment(
    new testing_support::QtApplicationEnvironment(&bridge::useRuntimeScreen));

// After drags to 1.5 and 0.7 times its size and back.
TEST(QtFormBuilder, EveryCorpusFormShownOnQtMatchesTheRuntimeWithinOnePixel) {
  RESCALO_NEED_CORPUS();
  testing_support::expectShownLikeTheRuntime(testing_support::corpusForms(), {1.5, 0.7, 1.0});
}

}  // namespace
