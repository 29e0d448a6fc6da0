#include "settings/startup_entry.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "fakes/fake_platform.h"

namespace wh {
namespace {

using testing::FakeStartupEntries;

TEST(StartupEntryTest, EntryFollowsTheSettingWithoutRewritingAnExistingOne) {
  const std::string command = "C:\\Tools\\wordhopper.exe";
  struct Case {
    const char* name;
    bool on;
    std::optional<std::string> before;
    std::optional<std::string> after;
    int writes;
    int deletes;
  };
  const Case cases[] = {
      {"on, absent: added", true, std::nullopt, command, 1, 0},
      {"on, present elsewhere: kept", true, "D:\\Old\\wordhopper.exe", "D:\\Old\\wordhopper.exe", 0,
       0},
      {"on, present and empty: kept", true, "", "", 0, 0},
      {"off, present: removed", false, command, std::nullopt, 0, 1},
      {"off, absent: untouched", false, std::nullopt, std::nullopt, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeStartupEntries store;
    store.values["other"] = "x.exe";
    if (c.before) store.values["wordhopper"] = *c.before;
    SyncStartupEntry(c.on, command, store);
    EXPECT_EQ(store.writes, c.writes);
    EXPECT_EQ(store.deletes, c.deletes);
    auto found = store.values.find("wordhopper");
    EXPECT_EQ(found == store.values.end() ? std::nullopt : std::optional(found->second), c.after);
    EXPECT_EQ(store.values["other"], "x.exe");
  }
}

TEST(StartupEntryTest, RefusedWriteRaisesTheEntrysName) {
  FakeStartupEntries store;
  store.refuse = true;
  try {
    SyncStartupEntry(true, "C:\\wordhopper.exe", store);
    FAIL() << "no error raised";
  } catch (const StartupEntryError& error) {
    EXPECT_STREQ(error.what(), "Failed to set data for 'wordhopper'");
  }
}

TEST(StartupEntryTest, MachineListWhereAllowedElseTheUsersOwn) {
  const std::string command = "C:\\Tools\\wordhopper.exe";
  struct Case {
    const char* name;
    bool on;
    bool machineRefuses, userRefuses;
    bool inMachineBefore, inUserBefore;
    bool inMachineAfter, inUserAfter;
    bool error;
  };
  const Case cases[] = {
      {"administrator: machine-wide", true, false, false, false, false, true, false, false},
      {"standard user: the user's list", true, true, false, false, false, false, true, false},
      {"both refuse: reported", true, true, true, false, false, false, false, true},
      {"an installer's machine entry counts", true, true, false, true, false, true, false, false},
      {"a user entry counts", true, false, false, false, true, false, true, false},
      {"off: removed from both", false, false, false, true, true, false, false, false},
      {"off, machine refuses: the user's still goes", false, true, false, true, true, true, false,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeStartupEntries machine, user;
    machine.refuse = c.machineRefuses;
    user.refuse = c.userRefuses;
    if (c.inMachineBefore) machine.values["wordhopper"] = command;
    if (c.inUserBefore) user.values["wordhopper"] = command;
    MachineOrUserStartupEntries store(machine, user);
    bool error = false;
    try {
      SyncStartupEntry(c.on, command, store);
    } catch (const StartupEntryError& e) {
      error = true;
      EXPECT_STREQ(e.what(), "Failed to set data for 'wordhopper'");
    }
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(machine.values.count("wordhopper") > 0, c.inMachineAfter);
    EXPECT_EQ(user.values.count("wordhopper") > 0, c.inUserAfter);
  }
}

}  // namespace
}  // namespace wh
