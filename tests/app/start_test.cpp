#include "app/start.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "app/launcher_fixture.h"
#include "app/single_instance.h"
#include "fakes/fake_instance_record.h"
#include "fakes/fake_settings_view.h"

namespace wh {
namespace {

class NoVersionInfo : public VersionInfo {
 public:
  FileVersion GetFileVersion(const std::string&) const override { return {}; }
};

// A file system that tells, on any thread, whether a directory has been
// listed yet.
class WatchedFileSystem : public testing::FakeFileSystem {
 public:
  bool ListDirectory(const std::string& dir, const DirectoryEntrySink& sink,
                     std::optional<DirectoryId>* id) const override {
    {
      std::lock_guard lock(mutex_);
      listed_ = true;
    }
    listing_.notify_all();
    return FakeFileSystem::ListDirectory(dir, sink, id);
  }
  // False when nothing was listed within `limit`.
  bool WaitForListing(std::chrono::seconds limit) const {
    std::unique_lock lock(mutex_);
    return listing_.wait_for(lock, limit, [this] { return listed_; });
  }

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable listing_;
  mutable bool listed_ = false;
};

// Records the start's calls, and whether this copy still held the instance
// record when its windows went.
class RecordingFrontEnd : public FrontEnd {
 public:
  RecordingFrontEnd(FakeMainView& main, testing::FakeSettingsView& settings,
                    const testing::FakeMappings& mappings)
      : main_(main), settings_(settings), mappings_(mappings) {}

  std::uint32_t InstanceWindow() override { return 42; }
  void ShowStartError(const std::string& text) override { calls.push_back("error " + text); }
  MainView& CreateMainWindow() override {
    // A start that loads only after its windows exist never lists meanwhile.
    if (watched != nullptr && !watched->WaitForListing(std::chrono::seconds(10))) {
      calls.push_back("no listing while the main window is made");
    }
    calls.push_back("create main");
    return main_;
  }
  void AttachMain(Launcher* launcher) override {
    calls.push_back(launcher ? "attach main" : "detach main");
  }
  SettingsView& CreateSettingsWindow() override {
    calls.push_back("create settings");
    return settings_;
  }
  void AttachSettings(SettingsDialog* dialog) override {
    calls.push_back(dialog ? "attach settings" : "detach settings");
  }
  int RunMessageLoop() override {
    calls.push_back("loop");
    return 7;
  }
  void DestroyWindows() override {
    calls.push_back(mappings_.blocks.empty() ? "destroy, record released" : "destroy, record held");
  }

  std::vector<std::string> calls;
  const WatchedFileSystem* watched = nullptr;

 private:
  FakeMainView& main_;
  testing::FakeSettingsView& settings_;
  const testing::FakeMappings& mappings_;
};

class StartTest : public LauncherTest {
 protected:
  // A settings file to look for in two places, so that a start must ask
  // where it may write.
  StartTest() { userSettingsDir = "C:\\Users\\ann\\Wordhopper\\"; }
  int Start(const WatchedFileSystem* watched = nullptr) {
    RecordingFrontEnd frontEnd(view, dialog, mappings);
    frontEnd.watched = watched;
    const int exitCode =
        RunProgram(StartPlatform{mappings, windows, Platform(watched), versions}, frontEnd, "");
    calls = frontEnd.calls;
    return exitCode;
  }

  testing::FakeMappings mappings;
  testing::FakeWindows windows;
  testing::FakeSettingsView dialog;
  NoVersionInfo versions;
  std::vector<std::string> calls;
};

TEST_F(StartTest, WindowsComeAndGoInOrderAroundTheInstanceRecord) {
  const std::vector<std::string> fullRun = {
      "create main", "attach main",     "create settings", "attach settings",
      "loop",        "detach settings", "detach main",     "destroy, record held"};
  struct Case {
    const char* what;
    int runningCopies;  // already in the record
    bool recordFails;
    int exitCode;
    std::vector<std::string> calls;
  } cases[] = {
      {"first copy", 0, false, 7, fullRun},
      {"a copy already runs", 1, false, 0, {}},
      {"no record can be made", 0, true, 1, {"error System Error.  Code: 5.\r\nAccess is denied."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    mappings = {};
    windows = {};
    std::unique_ptr<SingleInstance> other;
    if (c.runningCopies > 0) {
      other = std::make_unique<SingleInstance>(mappings, windows);
      ASSERT_FALSE(other->RestoreIfRunning("C:\\Tools\\wh.exe", 9, 1));
    }
    mappings.failCreate = c.recordFails;
    const int probes = fs.ProbeCount();
    EXPECT_EQ(Start(), c.exitCode);
    EXPECT_EQ(calls, c.calls);
    EXPECT_EQ(fs.ProbeCount() > probes, c.exitCode == 7) << "only the copy that stays probes";
    EXPECT_EQ(view.trayHint, c.exitCode == 7 ? "Wordhopper (Hot-key: F4)" : "")
        << "Start runs only in the copy that stays";
    view.trayHint.clear();
    if (c.runningCopies > 0) {
      EXPECT_EQ(windows.calls, std::vector<std::string>{"front 9"});
    } else {
      EXPECT_TRUE(mappings.blocks.empty()) << "the record is released at the end";
    }
  }
}

TEST_F(StartTest, TheIndexLoadsWhileTheMainWindowIsMade) {
  WatchedFileSystem watched;
  watched.AddFile("C:\\Menu\\Notepad.lnk");
  ASSERT_EQ(Start(&watched), 7);
  EXPECT_EQ(calls.front(), "create main");
  EXPECT_EQ(view.keywordItems, std::vector<std::string>{"notepad"});
}

}  // namespace
}  // namespace wh
