#include "qt/gio_shell_requests.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "qt/systemd_scope.h"

namespace wh {
namespace {

namespace fs = std::filesystem;

TEST(GioShellRequestsTest, AddressesGetAScheme) {
  const struct {
    const char* typed;
    const char* uri;
  } cases[] = {
      {"www.example.com", "http://www.example.com"},
      {"http://example.com/a?b", "http://example.com/a?b"},
      {"HTTPS://Example.com", "HTTPS://Example.com"},
      {"mailto:a@example.com", "mailto:a@example.com"},
      {"news:comp.lang.c", "news:comp.lang.c"},
      {"ftp://ftp.example.com", "ftp://ftp.example.com"},
      {"example.com/page", "http://example.com/page"},
  };
  for (const auto& c : cases) EXPECT_EQ(AddressUri(c.typed), c.uri) << c.typed;
}

TEST(GioShellRequestsTest, TypedPathsAndAddressesMapToTheirUris) {
  const struct {
    const char* typed;
    const char* uri;  // "": no address, nothing is opened
  } cases[] = {
      {"/home/ann/meeting-notes.txt", "file:///home/ann/meeting-notes.txt"},
      {"/home/ann/Notes 100%.txt", "file:///home/ann/Notes%20100%25.txt"},
      {"/tmp/caf\xe9-latin1.txt", "file:///tmp/caf%E9-latin1.txt"},
      {"\\\\server\\share\\dir", "smb://server/share/dir"},
      {"\\\\server\\My Share", "smb://server/My%20Share"},
      {"file:///etc/hosts", "file:///etc/hosts"},
      {"https://example.com", "https://example.com"},
      {"sftp://host/dir", "sftp://host/dir"},
      {"WWW.example.com", "http://WWW.example.com"},
      {"averylongplainword", ""},
      {"c:\\windows\\notepad.exe", ""},
      {"trailingdot.", ""},
      {"example.com:8080/x", "http://example.com:8080/x"},
  };
  for (const auto& c : cases) EXPECT_EQ(AddressUri(c.typed), c.uri) << c.typed;
}

// A private desktop: its own applications folder and default handlers, so
// that what GIO starts is a script of ours that notes its argument.
TEST(SystemdScopeTest, UnitNamesEscapeWhatSystemdWould) {
  const struct {
    const char* appId;
    const char* unit;
  } cases[] = {
      {"org.gnome.Evince", "app-wordhopper-org.gnome.Evince-42.scope"},
      {"wh-test-opener", "app-wordhopper-wh\\x2dtest\\x2dopener-42.scope"},
      {"My Editor", "app-wordhopper-My\\x20Editor-42.scope"},
      {".hidden", "app-wordhopper-\\x2ehidden-42.scope"},
      {"caf\xc3\xa9", "app-wordhopper-caf\\xc3\\xa9-42.scope"},
  };
  for (const auto& c : cases) EXPECT_EQ(ScopeUnitName(c.appId, 42), c.unit) << c.appId;
}

// A program of the test's own, its output on a pipe; killed at the end.
struct Child {
  pid_t pid = -1;
  FILE* out = nullptr;

  void Start(const std::vector<std::string>& args) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      dup2(fds[1], 1);
      close(fds[0]);
      close(fds[1]);
      std::vector<char*> argv;
      for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
      argv.push_back(nullptr);
      execvp(argv[0], argv.data());
      _exit(127);
    }
    close(fds[1]);
    out = fdopen(fds[0], "r");
  }
  void Stop() {
    if (pid > 0) {
      kill(pid, SIGTERM);
      waitpid(pid, nullptr, 0);
    }
    if (out != nullptr) fclose(out);
    pid = -1;
    out = nullptr;
  }
};

class PrivateDesktop : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string pattern = (fs::temp_directory_path() / "wh-gio-XXXXXX").string();
    root_ = mkdtemp(pattern.data());
    fs::create_directories(root_ / "data" / "applications");
    fs::create_directories(root_ / "config");
    marker_ = root_ / "opened.txt";
    const fs::path opener = root_ / "opener.sh";
    std::ofstream(opener) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '"
                          << marker_.string() << "'; done\n";
    fs::permissions(opener, fs::perms::owner_all);
    std::ofstream(root_ / "data" / "applications" / "wh-test-opener.desktop")
        << "[Desktop Entry]\nType=Application\nName=Opener\nExec=" << opener.string()
        << " %u\nMimeType=text/plain;x-scheme-handler/http;inode/directory;\n";
    std::ofstream(root_ / "config" / "mimeapps.list")
        << "[Default Applications]\ntext/plain=wh-test-opener.desktop\n"
           "x-scheme-handler/http=wh-test-opener.desktop\n"
           "inode/directory=wh-test-opener.desktop\n";
    // GIO reads these once per process: before its first use.
    setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
    setenv("XDG_DATA_DIRS", (root_ / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
    setenv("XDG_CONFIG_DIRS", (root_ / "config").c_str(), 1);
    StartSessionBus();
  }
  static void TearDownTestSuite() {
    systemd_.Stop();
    bus_.Stop();
    fs::remove_all(root_);
  }

  // A session bus of the test's own, with a systemd manager of ours on it;
  // the launches of this process use it from their first on.
  static void StartSessionBus() {
    bus_.Start({"dbus-daemon", "--session", "--nofork", "--print-address=1"});
    char address[512] = {};
    ASSERT_NE(fgets(address, sizeof address, bus_.out), nullptr) << "dbus-daemon is missing";
    address[strcspn(address, "\n")] = '\0';
    setenv("DBUS_SESSION_BUS_ADDRESS", address, 1);
    scopes_ = root_ / "scopes.txt";
    systemd_.Start({WH_FAKE_SYSTEMD, scopes_.string()});
    for (int i = 0; i < 200 && !fs::exists(scopes_.string() + ".ready"); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(fs::exists(scopes_.string() + ".ready")) << "the fake systemd did not start";
  }

  // The scopes asked for so far, once one for `unitPrefix` has come, or what
  // there is after ten seconds.
  static std::string WaitForScope(const std::string& unitPrefix) {
    std::string text;
    for (int i = 0; i < 200; ++i) {
      std::stringstream read;
      read << std::ifstream(scopes_).rdbuf();
      text = read.str();
      if (text.find(unitPrefix) != std::string::npos) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return text;
  }

  // The lines the opener has noted once `lines` have arrived, or what there
  // is after ten seconds.
  static std::string WaitForLines(int lines) {
    std::string text;
    for (int i = 0; i < 200; ++i) {
      std::stringstream read;
      read << std::ifstream(marker_).rdbuf();
      text = read.str();
      if (std::count(text.begin(), text.end(), '\n') >= lines) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return text;
  }

  static inline fs::path root_;
  static inline fs::path marker_;
  static inline fs::path scopes_;
  static inline Child bus_;
  static inline Child systemd_;
};

TEST_F(PrivateDesktop, FilesAddressesFoldersAndLauncherEntriesStartWithoutAShell) {
  GioShellRequests shell;
  // A name a shell would take for two commands arrives whole, as one argument.
  const fs::path document = root_ / "notes; touch pwned.txt";
  std::ofstream(document) << "plain text\n";
  EXPECT_TRUE(shell.OpenItem(document.string()));
  const std::string first = WaitForLines(1);
  EXPECT_NE(first.find(document.string() + "\n"), std::string::npos) << first;
  EXPECT_FALSE(fs::exists(root_ / "pwned.txt"));
  EXPECT_FALSE(fs::exists("pwned.txt"));

  shell.OpenAddress("www.example.com");
  EXPECT_NE(WaitForLines(2).find("http://www.example.com"), std::string::npos);

  shell.OpenExplorer(root_.string());
  EXPECT_NE(WaitForLines(3).find(root_.string() + "\n"), std::string::npos);

  // A launcher entry starts its own command.
  const fs::path entry = root_ / "Own.desktop";
  std::ofstream(entry)
      << "[Desktop Entry]\nType=Application\nName=Own\nExec=/bin/sh -c \"echo own >> "
      << marker_.string() << "\"\n";
  EXPECT_TRUE(shell.OpenItem(entry.string()));
  EXPECT_NE(WaitForLines(4).find("own\n"), std::string::npos);

  // A link entry opens its address; an entry whose command is missing fails.
  const fs::path link = root_ / "Site.desktop";
  std::ofstream(link) << "[Desktop Entry]\nType=Link\nName=Site\nURL=http://example.org/x\n";
  EXPECT_TRUE(shell.OpenItem(link.string()));
  EXPECT_NE(WaitForLines(5).find("http://example.org/x\n"), std::string::npos);
  const fs::path missing = root_ / "Missing.desktop";
  std::ofstream(missing) << "[Desktop Entry]\nType=Application\nName=Gone\nExec=/no/such/program\n";
  EXPECT_FALSE(shell.OpenItem(missing.string()));

  // A broken entry doesn't start.
  const fs::path broken = root_ / "Broken.desktop";
  std::ofstream(broken) << "not an entry\n";
  EXPECT_FALSE(shell.OpenItem(broken.string()));
}

// Each started program gets a scope of its own, named after its launcher
// entry and holding its process, so that it outlives this program's unit.
TEST_F(PrivateDesktop, StartedProgramsGetScopesOfTheirOwn) {
  GioShellRequests shell;
  const fs::path pidFile = root_ / "scoped.pid";
  const fs::path entry = root_ / "Scoped Tool.desktop";
  std::ofstream(entry) << "[Desktop Entry]\nType=Application\nName=Scoped\nExec=/bin/sh -c "
                          "\"echo \\\\$\\\\$ > '"
                       << pidFile.string() << "'\"\n";
  ASSERT_TRUE(shell.OpenItem(entry.string()));
  const std::string scopes = WaitForScope("app-wordhopper-Scoped\\x20Tool-");
  std::string pid;
  for (int i = 0; i < 200 && pid.empty(); ++i) {
    std::ifstream(pidFile) >> pid;
    if (pid.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_FALSE(pid.empty());
  EXPECT_NE(scopes.find("app-wordhopper-Scoped\\x20Tool-" + pid + ".scope fail " + pid +
                        " CollectMode=inactive-or-failed\n"),
            std::string::npos)
      << scopes;

  // A document opens in its handler, which gets a scope in the handler's name.
  const fs::path document = root_ / "scoped.txt";
  std::ofstream(document) << "text\n";
  const std::string before = WaitForLines(0);
  ASSERT_TRUE(shell.OpenItem(document.string()));
  EXPECT_NE(WaitForScope("app-wordhopper-wh\\x2dtest\\x2dopener-").find(" fail "),
            std::string::npos);
  // The handler's line is written before the next test counts the lines.
  const int seen = static_cast<int>(std::count(before.begin(), before.end(), '\n'));
  EXPECT_NE(WaitForLines(seen + 1).find(document.string()), std::string::npos);
}

TEST_F(PrivateDesktop, TypedPathsOpenAsFilesAndRefusalsAreTold) {
  GioShellRequests shell;
  const std::string before = WaitForLines(0);
  const int seen = static_cast<int>(std::count(before.begin(), before.end(), '\n'));
  const fs::path notes = root_ / "meeting-notes.txt";
  std::ofstream(notes) << "notes\n";
  EXPECT_TRUE(shell.OpenAddress(notes.string()));
  const std::string opened = WaitForLines(seen + 1).substr(before.size());
  EXPECT_EQ(opened, notes.string() + "\n");

  // No handler for the scheme, a network path with no smb: handler, a
  // plain word: nothing opens, and the caller hears so.
  EXPECT_FALSE(shell.OpenAddress("gopher://example.com/x"));
  EXPECT_FALSE(shell.OpenAddress("averylongplainword"));
  EXPECT_FALSE(shell.OpenExplorer("\\\\server\\share"));
}

}  // namespace
}  // namespace wh
