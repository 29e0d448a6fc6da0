#include "posix/posix_instance_record.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/single_instance.h"

namespace wh {
namespace {

// A record name of its own for every use in this run, and its object removed
// at the end whatever the test left.
class TestRecord {
 public:
  TestRecord() {
    static int counter = 0;
    name_ = "/tmp/wh-record-test-" + std::to_string(getpid()) + "-" + std::to_string(++counter) +
            "/wordhopper";
  }
  ~TestRecord() { shm_unlink(SharedMemoryObjectName(name_).c_str()); }
  const std::string& Name() const { return name_; }
  bool ObjectExists() const {
    const int fd = shm_open(SharedMemoryObjectName(name_).c_str(), O_RDONLY, 0);
    if (fd < 0) return false;
    close(fd);
    return true;
  }

 private:
  std::string name_;
};

// Runs `body` in a child process and answers its exit code; the child ends
// with _exit, so nothing of it is released on the way out unless the body
// did so itself.
int InChild(const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

class RecordingWindows : public InstanceWindows {
 public:
  bool IsMinimized(std::uint32_t) const override { return false; }
  void Restore(std::uint32_t) override {}
  void BringToFront(std::uint32_t window) override { broughtForward.push_back(window); }
  std::vector<std::uint32_t> broughtForward;
};

TEST(PosixInstanceRecordTest, ObjectNamesAreValidAndDistinct) {
  const std::string tag = std::to_string(getpid());
  const std::string longPath = "/home/user/" + std::string(300, 'd') + "/" + tag + "/wordhopper";
  const std::string atLimit(NAME_MAX, 'x');
  const std::vector<std::string> paths = {
      "/opt/wh-" + tag + "/wordhopper",
      "/opt/wh-" + tag + "/wordhopper2",
      "/opt/wh-" + tag + "%2Fwordhopper",  // looks like an escaped slash
      "/opt/wh-" + tag + "_wordhopper",
      "/opt/wh-" + tag + "%25/wordhopper",
      "/opt/wh-" + tag + "%/wordhopper",
      "/opt/wh-" + tag + "/wörd hopper (2)",
      "/opt/wh-" + tag + std::string("/a\0b", 4),
      "/opt/wh-" + tag + "/ab",
      "wh-" + tag,
      "wh-" + tag + "/",
      longPath,
      longPath + "2",                           // differs only beyond the cut
      longPath.substr(0, longPath.size() - 1),  // and a shorter one
      atLimit.substr(0, NAME_MAX - 40) + tag,
      atLimit + tag,
      std::string(2000, '/') + tag,
  };
  std::set<std::string> seen;
  for (const std::string& path : paths) {
    const std::string name = SharedMemoryObjectName(path);
    SCOPED_TRACE(name);
    EXPECT_EQ(name.front(), '/');
    EXPECT_EQ(name.find('/', 1), std::string::npos);
    EXPECT_EQ(name.find('\0'), std::string::npos);
    EXPECT_LE(name.size(), static_cast<std::size_t>(NAME_MAX));
    EXPECT_TRUE(seen.insert(name).second) << "shared by two paths";
    // The system takes it as a name of a new object of its own.
    const int fd = shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    EXPECT_GE(fd, 0) << "refused: errno " << errno;
    if (fd >= 0) {
      close(fd);
      shm_unlink(name.c_str());
    }
  }
  // The same path always gives the same name, so two starts find each other.
  EXPECT_EQ(SharedMemoryObjectName(longPath), SharedMemoryObjectName(std::string(longPath)));
  EXPECT_EQ(SharedMemoryObjectName("/usr/bin/wordhopper"),
            "/wordhopper-" + std::to_string(geteuid()) + "-%2Fusr%2Fbin%2Fwordhopper");
}

TEST(PosixInstanceRecordTest, MappingsShareOneRecord) {
  TestRecord test;
  PosixInstanceMappings mappings;
  EXPECT_EQ(mappings.Open(test.Name()), nullptr);

  InstanceMappings::Created first = mappings.Create(test.Name());
  ASSERT_NE(first.mapping, nullptr);
  EXPECT_FALSE(first.alreadyExisted);
  EXPECT_EQ(first.mapping->Record().WindowHandle, 0u);
  EXPECT_EQ(first.mapping->Record().InstanceCount, 0);
  first.mapping->Record() = {0xdeadbeef, 1};

  InstanceMappings::Created second = mappings.Create(test.Name());
  EXPECT_TRUE(second.alreadyExisted);
  EXPECT_EQ(second.mapping->Record().WindowHandle, 0xdeadbeefu);
  std::unique_ptr<MappedInstanceRecord> opened = mappings.Open(test.Name());
  ASSERT_NE(opened, nullptr);
  opened->Record().InstanceCount = 7;
  EXPECT_EQ(first.mapping->Record().InstanceCount, 7);

  // Another process sees the same record and writes into it.
  const int child = InChild([&] {
    PosixInstanceMappings own;
    InstanceMappings::Created there = own.Create(test.Name());
    if (!there.alreadyExisted) return 1;
    if (there.mapping->Record().WindowHandle != 0xdeadbeefu) return 2;
    there.mapping->Record().WindowHandle = 42;
    return 0;
  });
  EXPECT_EQ(child, 0);
  EXPECT_EQ(first.mapping->Record().WindowHandle, 42u);

  // The object goes with the last mapping, not before.
  first.mapping.reset();
  opened.reset();
  EXPECT_TRUE(test.ObjectExists());
  second.mapping.reset();
  EXPECT_FALSE(test.ObjectExists());
  EXPECT_EQ(mappings.Open(test.Name()), nullptr);
  EXPECT_FALSE(mappings.Create(test.Name()).alreadyExisted);
}

TEST(PosixInstanceRecordTest, ARecordLeftByACrashIsTakenAsNew) {
  const struct {
    const char* what;
    bool parentHolds;  // a live copy keeps the record while the other crashes
    bool existed;
  } cases[] = {
      {"crashed alone", false, false},
      {"crashed beside a live copy", true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TestRecord test;
    PosixInstanceMappings mappings;
    std::unique_ptr<MappedInstanceRecord> live;
    if (c.parentHolds) {
      live = mappings.Create(test.Name()).mapping;
      live->Record() = {5, 1};
    }
    const int child = InChild([&] {
      PosixInstanceMappings own;
      InstanceMappings::Created created = own.Create(test.Name());
      created.mapping->Record() = {99, created.mapping->Record().InstanceCount + 1};
      created.mapping.release();  // never unmapped nor closed: the process just dies
      return 0;
    });
    ASSERT_EQ(child, 0);
    EXPECT_TRUE(test.ObjectExists()) << "the crash left nothing to test";

    InstanceMappings::Created again = mappings.Create(test.Name());
    EXPECT_EQ(again.alreadyExisted, c.existed);
    const InstanceRecord expected = c.existed ? InstanceRecord{99, 2} : InstanceRecord{0, 0};
    EXPECT_EQ(again.mapping->Record().WindowHandle, expected.WindowHandle);
    EXPECT_EQ(again.mapping->Record().InstanceCount, expected.InstanceCount);
  }
}

TEST(PosixInstanceRecordTest, SimultaneousStartsFindExactlyOneFirst) {
  constexpr int kProcesses = 8;
  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE(round);
    TestRecord test;
    int go[2], results[2], release[2];
    ASSERT_EQ(pipe(go), 0);
    ASSERT_EQ(pipe(results), 0);
    ASSERT_EQ(pipe(release), 0);
    std::vector<pid_t> children;
    for (int i = 0; i < kProcesses; ++i) {
      const pid_t pid = fork();
      if (pid == 0) {
        close(go[1]);
        close(results[0]);
        close(release[1]);
        char byte;
        if (read(go[0], &byte, 1) != 0) _exit(2);  // all start when the pipe closes
        char answer = 'E';
        {
          PosixInstanceMappings mappings;
          InstanceMappings::Created created = mappings.Create(test.Name());
          answer = created.alreadyExisted ? 'E' : 'N';
          if (write(results[1], &answer, 1) != 1) _exit(3);
          // A sibling that dies before answering then can't leave the parent
          // waiting for ever.
          close(results[1]);
          // Everyone holds the record until all have answered.
          if (read(release[0], &byte, 1) != 0) _exit(4);
        }
        _exit(0);
      }
      ASSERT_GT(pid, 0);
      children.push_back(pid);
    }
    close(go[0]);
    close(results[1]);
    close(release[0]);
    close(go[1]);
    std::string answers;
    char answer;
    while (answers.size() < kProcesses && read(results[0], &answer, 1) == 1) answers += answer;
    close(release[1]);
    close(results[0]);
    for (pid_t pid : children) {
      int status = 0;
      waitpid(pid, &status, 0);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(answers.size(), static_cast<std::size_t>(kProcesses));
    EXPECT_EQ(std::count(answers.begin(), answers.end(), 'N'), 1) << answers;
    // Whoever closed last removed it, however the closes interleaved.
    EXPECT_FALSE(test.ObjectExists());
  }
}

TEST(PosixInstanceRecordTest, OneCopyPerExecutableOverTheRealRecord) {
  const struct {
    int maxInstances;
    std::vector<bool> stops;  // RestoreIfRunning of successive starts
  } cases[] = {
      {1, {false, true, true}},
      {2, {false, false, true}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.maxInstances);
    TestRecord test;
    PosixInstanceMappings mappings;
    RecordingWindows windows;
    std::vector<std::unique_ptr<SingleInstance>> starts;
    for (std::size_t i = 0; i < c.stops.size(); ++i) {
      starts.push_back(std::make_unique<SingleInstance>(mappings, windows));
      EXPECT_EQ(starts.back()->RestoreIfRunning(test.Name(), 100 + i, c.maxInstances), c.stops[i])
          << "start " << i;
    }
    // The stopped starts brought the last registered copy forward.
    const std::uint32_t lastRunning = 100 + c.maxInstances - 1;
    EXPECT_EQ(windows.broughtForward,
              std::vector<std::uint32_t>(c.stops.size() - c.maxInstances, lastRunning));
    // A start in another process is stopped the same way.
    EXPECT_EQ(InChild([&] {
                RecordingWindows own;
                PosixInstanceMappings ownMappings;
                SingleInstance check(ownMappings, own);
                const bool stops = check.RestoreIfRunning(test.Name(), 999, c.maxInstances);
                check.ReleaseInstance();
                return stops && own.broughtForward == std::vector<std::uint32_t>{lastRunning} ? 0
                                                                                              : 1;
              }),
              0);
    {
      std::unique_ptr<MappedInstanceRecord> record = mappings.Open(test.Name());
      ASSERT_NE(record, nullptr);
      EXPECT_EQ(record->Record().InstanceCount, c.maxInstances);
    }
    // Stopped starts give nothing back; the running ones do.
    for (auto& start : starts) start->ReleaseInstance();
    EXPECT_FALSE(test.ObjectExists());

    SingleInstance next(mappings, windows);
    EXPECT_FALSE(next.RestoreIfRunning(test.Name(), 7, c.maxInstances));
    std::unique_ptr<MappedInstanceRecord> record = mappings.Open(test.Name());
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->Record().InstanceCount, 1);
    EXPECT_EQ(record->Record().WindowHandle, 7u);
  }
}

TEST(PosixInstanceRecordTest, ACrashedCopyDoesNotBlockTheNextStart) {
  TestRecord test;
  const int child = InChild([&] {
    PosixInstanceMappings mappings;
    RecordingWindows windows;
    auto* check = new SingleInstance(mappings, windows);  // never released: the copy crashes
    return check->RestoreIfRunning(test.Name(), 31, 1) ? 1 : 0;
  });
  ASSERT_EQ(child, 0);
  ASSERT_TRUE(test.ObjectExists());

  PosixInstanceMappings mappings;
  RecordingWindows windows;
  SingleInstance check(mappings, windows);
  EXPECT_FALSE(check.RestoreIfRunning(test.Name(), 32, 1));
  EXPECT_TRUE(windows.broughtForward.empty());
  SingleInstance second(mappings, windows);
  EXPECT_TRUE(second.RestoreIfRunning(test.Name(), 33, 1));
  EXPECT_EQ(windows.broughtForward, std::vector<std::uint32_t>{32});
}

TEST(PosixInstanceRecordTest, RefusedObjectRaisesTheSystemError) {
  // An object of the same name that another account made private. Root may
  // open anything, so as root the start runs as "nobody" in a child.
  const bool asRoot = geteuid() == 0;
  const uid_t user = asRoot ? 65534 : geteuid();
  const std::string record = "wh-refused-" + std::to_string(getpid());
  const std::string object = "/wordhopper-" + std::to_string(user) + "-" + record;
  const int fd = shm_open(object.c_str(), O_RDWR | O_CREAT | O_EXCL, 0);
  ASSERT_GE(fd, 0);
  close(fd);

  const auto start = [&] {
    if (asRoot && (setgid(65534) != 0 || setuid(65534) != 0)) return 10;
    if (SharedMemoryObjectName(record) != object) return 11;
    PosixInstanceMappings mappings;
    if (mappings.Open(record) != nullptr) return 12;
    try {
      mappings.Create(record);
      return 13;
    } catch (const SystemError& error) {
      if (error.Code() != static_cast<std::uint32_t>(EACCES)) return 14;
      if (std::string(error.what()) != std::strerror(EACCES)) return 15;
    }
    return 0;
  };
  EXPECT_EQ(asRoot ? InChild(start) : start(), 0);
  shm_unlink(object.c_str());
}

}  // namespace
}  // namespace wh
