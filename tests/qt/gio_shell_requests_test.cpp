#include "qt/gio_shell_requests.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

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
  }
  static void TearDownTestSuite() { fs::remove_all(root_); }

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
