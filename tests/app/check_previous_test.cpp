#include "app/CheckPrevious.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace wh {
namespace {

// Named records shared by "processes" within the test; a record lives while
// any mapping of it is open, as the system's named mappings do.
class FakeMappings : public InstanceMappings {
 public:
  struct Block {
    InstanceRecord record{};
    int handles = 0;
  };

  class Mapping : public MappedInstanceRecord {
   public:
    Mapping(FakeMappings& owner, std::string name) : owner_(owner), name_(std::move(name)) {
      ++owner_.blocks[name_].handles;
    }
    ~Mapping() override {
      if (--owner_.blocks[name_].handles == 0) owner_.blocks.erase(name_);
    }
    InstanceRecord& Record() override { return owner_.blocks[name_].record; }

   private:
    FakeMappings& owner_;
    std::string name_;
  };

  Created Create(const std::string& name) override {
    createdNames.push_back(name);
    if (failCreate) throw SystemError(5, "Access is denied.");
    const bool existed = blocks.count(name) > 0;
    return {std::make_unique<Mapping>(*this, name), existed};
  }
  std::unique_ptr<MappedInstanceRecord> Open(const std::string& name) override {
    if (failOpen || blocks.count(name) == 0) return nullptr;
    return std::make_unique<Mapping>(*this, name);
  }

  InstanceRecord* Find(const std::string& name) {
    auto found = blocks.find(name);
    return found == blocks.end() ? nullptr : &found->second.record;
  }

  std::map<std::string, Block> blocks;
  std::vector<std::string> createdNames;
  bool failCreate = false;
  bool failOpen = false;
};

class FakeWindows : public InstanceWindows {
 public:
  bool IsMinimized(std::uint32_t window) const override { return minimized.count(window) > 0; }
  void Restore(std::uint32_t window) override {
    calls.push_back("restore " + std::to_string(window));
  }
  void BringToFront(std::uint32_t window) override {
    calls.push_back("front " + std::to_string(window));
  }
  std::map<std::uint32_t, bool> minimized;
  std::vector<std::string> calls;
};

constexpr char kPath[] = "C:\\Tools\\wordhopper.exe";
constexpr char kName[] = "C:Toolswordhopper.exe";

TEST(CheckPreviousTest, FirstSecondAndReleasedStarts) {
  FakeMappings mappings;
  FakeWindows windows;

  auto first = std::make_unique<CheckPrevious>(mappings, windows);
  EXPECT_FALSE(first->RestoreIfRunning(kPath, 100, 1));
  ASSERT_EQ(mappings.createdNames.back(), kName);
  EXPECT_EQ(mappings.Find(kName)->WindowHandle, 100u);
  EXPECT_EQ(mappings.Find(kName)->InstanceCount, 1);

  // A second start at the limit: the first copy's window comes forward, the
  // count stays, and the second copy's end doesn't touch it.
  windows.minimized[100] = true;
  {
    CheckPrevious second(mappings, windows);
    EXPECT_TRUE(second.RestoreIfRunning(kPath, 200, 1));
    EXPECT_FALSE(second.OwnsInstanceSlot());
  }
  EXPECT_EQ(windows.calls, (std::vector<std::string>{"restore 100", "front 100"}));
  EXPECT_EQ(mappings.Find(kName)->WindowHandle, 100u);
  EXPECT_EQ(mappings.Find(kName)->InstanceCount, 1);

  // A window that isn't minimised is only brought forward.
  windows.calls.clear();
  windows.minimized.clear();
  CheckPrevious third(mappings, windows);
  EXPECT_TRUE(third.RestoreIfRunning(kPath, 300, 1));
  EXPECT_EQ(windows.calls, (std::vector<std::string>{"front 100"}));
  third.ReleaseInstance();

  // Another path is another record.
  CheckPrevious elsewhere(mappings, windows);
  EXPECT_FALSE(elsewhere.RestoreIfRunning("D:\\Copy\\wordhopper.exe", 400, 1));
  EXPECT_EQ(mappings.Find("D:Copywordhopper.exe")->InstanceCount, 1);

  // When the first copy ends, the record goes with it and a new start is
  // first again.
  first.reset();
  EXPECT_EQ(mappings.Find(kName), nullptr);
  CheckPrevious again(mappings, windows);
  EXPECT_FALSE(again.RestoreIfRunning(kPath, 500, 1));
  EXPECT_EQ(mappings.Find(kName)->InstanceCount, 1);
}

TEST(CheckPreviousTest, LimitAboveOneCountsCopiesAndReleaseGivesSlotsBack) {
  FakeMappings mappings;
  FakeWindows windows;
  CheckPrevious a(mappings, windows), b(mappings, windows), c(mappings, windows);
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

TEST(CheckPreviousTest, UnopenableAndUncreatableRecords) {
  FakeMappings mappings;
  FakeWindows windows;
  CheckPrevious first(mappings, windows);
  ASSERT_FALSE(first.RestoreIfRunning(kPath, 1, 1));

  // The record exists but can't be opened: stop as a second copy does,
  // without touching the count, now or at the end.
  mappings.failOpen = true;
  {
    CheckPrevious second(mappings, windows);
    EXPECT_TRUE(second.RestoreIfRunning(kPath, 2, 5));
    EXPECT_FALSE(second.OwnsInstanceSlot());
    mappings.failOpen = false;
  }
  EXPECT_TRUE(windows.calls.empty());
  EXPECT_EQ(mappings.Find(kName)->InstanceCount, 1);

  mappings.failCreate = true;
  CheckPrevious third(mappings, windows);
  try {
    third.RestoreIfRunning("E:\\x.exe", 3, 1);
    FAIL() << "no error raised";
  } catch (const SystemError& error) {
    EXPECT_EQ(SystemErrorText(error), "System Error.  Code: 5.\r\nAccess is denied.");
  }
  EXPECT_EQ(SystemErrorText(SystemError(0, "")), "A call to an OS function failed");
}

}  // namespace
}  // namespace wh
