// Member lookups by name must not allocate: the resize pass reads thousands of them.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include <rescalo/host/failure.h>
#include "test_support.h"

using namespace rescalo;

namespace {
std::atomic<bool> gCounting{false};
std::atomic<int> gAllocations{0};
}  // namespace

// The counting allocator pairs malloc with free; the compiler cannot see that pairing.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n) {
  if (gCounting) ++gAllocations;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
// The non-throwing form too (std::stable_sort's buffer uses it): every allocation must come
// from this malloc, or the replaced delete would free what another allocator made.
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
  if (gCounting) ++gAllocations;
  return std::malloc(n ? n : 1);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

using namespace testing_support;

class AllocationTest : public RuntimeTest {};

TEST_F(AllocationTest, ReadingAndWritingMembersByNameDoesNotAllocate) {
  auto form = build(formText(block("VB.CommandButton Command1", place(120, 240, 1215, 375))));
  runtime::Control& button = *form->find("Command1");
  host::Variant out;
  form->tryGet("ScaleWidth", {}, out);  // member tables are built on first use
  double sum = 0;
  gAllocations = 0;
  gCounting = true;
  for (const char* name : {"Left", "TOP", "width", "Height", "Visible", "Style"}) {
    button.tryGet(name, {}, out);
    sum += out.toDouble();
  }
  button.set("Left", 300.0);
  bool absent = button.tryGet("NoSuchMember", {}, out);
  bool formHas = form->tryGet("ScaleWidth", {}, out);
  gCounting = false;
  EXPECT_EQ(gAllocations, 0);
  EXPECT_FALSE(absent);
  EXPECT_TRUE(formHas);
  EXPECT_EQ(sum, 120 + 240 + 1215 + 375 - 1 + 0);
}

}  // namespace
