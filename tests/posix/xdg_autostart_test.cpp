#include "posix/xdg_autostart.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "settings/startup_entry.h"

namespace wh {
namespace {

namespace fs = std::filesystem;

TEST(XdgAutostartTest, ExecQuotesReservedCharactersAndEscapesTheValue) {
  const struct {
    const char* path;
    const char* exec;
  } cases[] = {
      {"/opt/wh/wordhopper", "/opt/wh/wordhopper"},
      {"/home/a b/wordhopper", "\"/home/a b/wordhopper\""},
      {"/x/100%/wordhopper", "/x/100%%/wordhopper"},
      {"/x/$HOME/w", "\"/x/\\\\$HOME/w\""},
      {"/x/a\\b", "\"/x/a\\\\\\\\b\""},
      {"/x/\"q\"", "\"/x/\\\\\"q\\\\\"\""},
      {"/x/semi;rm", "\"/x/semi;rm\""},
  };
  for (const auto& c : cases) EXPECT_EQ(DesktopEntryExec(c.path), c.exec) << c.path;
}

TEST(XdgAutostartTest, EntryFileFollowsTheSetting) {
  std::string pattern = (fs::temp_directory_path() / "wh-autostart-XXXXXX").string();
  const fs::path root = mkdtemp(pattern.data());
  const fs::path dir = root / "config" / "autostart";
  XdgAutostart store(dir.string());

  // Off and absent: the folder is not created just to look.
  SyncStartupEntry(false, "/opt/wh/wordhopper", store);
  EXPECT_FALSE(fs::exists(dir));

  SyncStartupEntry(true, "/opt/wh/wordhopper", store);
  std::stringstream contents;
  contents << std::ifstream(dir / "wordhopper.desktop").rdbuf();
  EXPECT_NE(contents.str().find("\nExec=/opt/wh/wordhopper\n"), std::string::npos);
  EXPECT_EQ(contents.str().rfind("[Desktop Entry]\n", 0), 0u);

  // An entry the user changed is kept.
  std::ofstream(dir / "wordhopper.desktop") << "[Desktop Entry]\nExec=/elsewhere\n";
  SyncStartupEntry(true, "/opt/wh/wordhopper", store);
  std::stringstream kept;
  kept << std::ifstream(dir / "wordhopper.desktop").rdbuf();
  EXPECT_EQ(kept.str(), "[Desktop Entry]\nExec=/elsewhere\n");

  SyncStartupEntry(false, "/opt/wh/wordhopper", store);
  EXPECT_FALSE(fs::exists(dir / "wordhopper.desktop"));
  EXPECT_TRUE(fs::is_empty(dir));

  // A folder that can't be made: the write is refused with the entry's name.
  std::ofstream(root / "file") << "x";
  XdgAutostart blocked((root / "file" / "autostart").string());
  try {
    blocked.WriteRunValue("wordhopper", "/opt/wh/wordhopper");
    FAIL() << "no error raised";
  } catch (const StartupEntryError& error) {
    EXPECT_STREQ(error.what(), "Failed to set data for 'wordhopper'");
  }
  fs::remove_all(root);
}

}  // namespace
}  // namespace wh
