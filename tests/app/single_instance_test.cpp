#include "app/single_instance.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_instance_record.h"

namespace wh {
namespace {

using testing::FakeMappings;
using testing::FakeWindows;

constexpr char kPath[] = "C:\\Tools\\wordhopper.exe";
constexpr char kName[] = "C:Toolswordhopper.exe";

TEST(SingleInstanceTest, FirstSecondAndReleasedStarts) {
  FakeMappings mappings;
  FakeWindows windows;

  auto first = std::make_unique<SingleInstance>(mappings, windows);
  EXPECT_FALSE(first->RestoreIfRunning(kPath, 100, 1));
  ASSERT_EQ(mappings.createdNames.back(), kName);
  EXPECT_EQ(mappings.Find(kName)->WindowHandle, 100u);
  EXPECT_EQ(mappings.Find(kName)->InstanceCount, 1);

  // A second start at the limit: the first copy's window comes forward, the
  // count stays, and the second copy's end doesn't touch it.
  windows.minimized[100] = true;
  {
    SingleInstance second(mappings, windows);
    EXPECT_TRUE(second.RestoreIfRunning(kPath, 200, 1));
    EXPECT_FALSE(second.OwnsInstanceSlot());
  }
  EXPECT_EQ(windows.calls, (std::vector<std::string>{"restore 100", "front 100"}));
  EXPECT_EQ(mappings.Find(kName)->WindowHandle, 100u);
  EXPECT_EQ(mappings.Find(kName)->InstanceCount, 1);

  // A window that isn't minimised is only brought forward.
  windows.calls.clear();
  windows.minimized.clear();
  SingleInstance third(mappings, windows);
  EXPECT_TRUE(third.RestoreIfRunning(kPath, 300, 1));
  EXPECT_EQ(windows.calls, (std::vector<std::string>{"front 100"}));
  third.ReleaseInstance();

  // Another path is another record.
  SingleInstance elsewhere(mappings, windows);
  EXPECT_FALSE(elsewhere.RestoreIfRunning("D:\\Copy\\wordhopper.exe", 400, 1));
  EXPECT_EQ(mappings.Find("D:Copywordhopper.exe")->InstanceCount, 1);

  // When the first copy ends, the record goes with it and a new start is
  // first again.
  first.reset();
  EXPECT_EQ(mappings.Find(kName), nullptr);
  SingleInstance again(mappings, windows);
  EXPECT_FALSE(again.RestoreIfRunning(kPath, 500, 1));
  EXPECT_EQ(mappings.Find(kName)->InstanceCount, 1);
}

TEST(SingleInstanceTest, LimitAboveOneCountsCopiesAndReleaseGivesSlotsBack) {
  FakeMappings mappings;
  FakeWindows windows;
  SingleInstance a(mappings, windows), b(mappings, windows), c(mappings, windows);
  EXPECT_FALSE(a.RestoreIfRunning(kPath, 1, 2));
  EXPECT_FALSE(b.RestoreIfRunning(kPath, 2, 2));
  EXPECT_EQ(mappings.Find(kName)->InstanceCount, 2);
  EXPECT_EQ(mappings.Find(kName)->WindowHandle, 2u);
  EXPECT_TRUE(c.RestoreIfRunning(kPath, 3, 2));
  EXPECT_EQ(windows.calls, (std::vector<std::string>{"front 2"}));

  b.ReleaseInstance();
  b.ReleaseInstance();  // a second release must not count twice
  EXPECT_EQ(mappings.Find(kName)->InstanceCount, 1);
}

TEST(SingleInstanceTest, UnopenableAndUncreatableRecords) {
  FakeMappings mappings;
  FakeWindows windows;
  SingleInstance first(mappings, windows);
  ASSERT_FALSE(first.RestoreIfRunning(kPath, 1, 1));

  // The record exists but can't be opened: stop as a second copy does,
  // without touching the count, now or at the end.
  mappings.failOpen = true;
  {
    SingleInstance second(mappings, windows);
    EXPECT_TRUE(second.RestoreIfRunning(kPath, 2, 5));
    EXPECT_FALSE(second.OwnsInstanceSlot());
    mappings.failOpen = false;
  }
  EXPECT_TRUE(windows.calls.empty());
  EXPECT_EQ(mappings.Find(kName)->InstanceCount, 1);

  mappings.failCreate = true;
  SingleInstance third(mappings, windows);
  try {
    third.RestoreIfRunning("E:\\x.exe", 3, 1);
    FAIL() << "no error raised";
  } catch (const SystemError& error) {
    EXPECT_EQ(SystemErrorText(error), "System Error.  Code: 5.\r\nAccess is denied.");
  }
  EXPECT_EQ(SystemErrorText(SystemError(0, "")), "A call to an OS function failed");
}

TEST(SingleInstanceTest, FirstCopyEndingDuringTheSecondStartLeavesItFirst) {
  FakeMappings mappings;
  FakeWindows windows;
  auto first = std::make_unique<SingleInstance>(mappings, windows);
  ASSERT_FALSE(first->RestoreIfRunning(kPath, 1, 1));

  mappings.afterCreate = [&] {
    mappings.afterCreate = nullptr;
    first->ReleaseInstance();
    first.reset();
  };
  SingleInstance second(mappings, windows);
  EXPECT_FALSE(second.RestoreIfRunning(kPath, 2, 1));
  EXPECT_TRUE(second.OwnsInstanceSlot());
  EXPECT_EQ(mappings.Find(kName)->WindowHandle, 2u);
  EXPECT_EQ(mappings.Find(kName)->InstanceCount, 1);
  EXPECT_TRUE(windows.calls.empty());
}

}  // namespace
}  // namespace wh
