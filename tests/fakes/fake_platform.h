// Small fakes of the locale, the shell folders, the start-up entries, the
// shell's requests, the system figures and the load's view.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "index/loader.h"
#include "platform/collation.h"
#include "platform/number_format.h"
#include "platform/packaged_apps.h"
#include "platform/shell_folders.h"
#include "platform/shell_requests.h"
#include "platform/startup_entry.h"
#include "platform/system_figures.h"

namespace wh::testing {

// Case-blind in ASCII and in the Latin-1 letters (so 'Été' equals 'ÉTÉ'),
// ordered by the folded code points.
class FakeCollation : public Collation {
 public:
  // `asciiShortcut`: whether to offer sorting ASCII texts without the
  // collation (true of this order either way; false tests the other path).
  explicit FakeCollation(bool asciiShortcut = true) : asciiShortcut_(asciiShortcut) {}
  int Compare(std::string_view a, std::string_view b) const override;
  std::string SortKey(std::string_view text) const override;
  bool OrdersAsciiAsLowerCaseBytes() const override { return asciiShortcut_; }

 private:
  bool asciiShortcut_;
};

class FakeNumberFormat : public NumberFormat {
 public:
  explicit FakeNumberFormat(std::string separator = ",") : separator_(std::move(separator)) {}
  std::string ThousandsSeparator() const override { return separator_; }

 private:
  std::string separator_;
};

class FakeShellFolders : public ShellFolders {
 public:
  void Set(KnownFolder folder, const std::string& path) { folders_[folder] = path; }
  std::string ShellFolderPath(KnownFolder folder) const override {
    auto found = folders_.find(folder);
    return found == folders_.end() ? std::string() : found->second;
  }
  std::string ShortcutExtension() const override { return extension; }
  bool ShortcutsNameThemselves() const override { return !shortcutNames.empty(); }
  std::optional<std::string> ShortcutDisplayName(const std::string& path) const override {
    asked.push_back(path);
    auto found = shortcutNames.find(path);
    return found == shortcutNames.end() ? std::string() : found->second;
  }

  std::vector<ListedItem> ListedItems(KnownFolder folder) const override {
    auto found = listed.find(folder);
    return found == listed.end() ? std::vector<ListedItem>{} : found->second;
  }

  bool FoldersNameTheirFiles() const override { return !localizedNames.empty(); }
  std::vector<std::pair<std::string, std::string>> LocalizedFileNames(
      const std::string& folder) const override {
    auto found = localizedNames.find(folder);
    return found == localizedNames.end() ? std::vector<std::pair<std::string, std::string>>{}
                                         : found->second;
  }

  std::string extension = "lnk";
  std::map<KnownFolder, std::vector<ListedItem>> listed;
  // By folder: the names it gives its files.
  std::map<std::string, std::vector<std::pair<std::string, std::string>>> localizedNames;
  // Names that shortcut files give themselves (nullopt: hidden from menus);
  // when empty, shortcuts are named by their files.
  std::map<std::string, std::optional<std::string>> shortcutNames;
  mutable std::vector<std::string> asked;

 private:
  std::map<KnownFolder, std::string> folders_;
};

// The Applications folder's packaged apps; `listed` counts the askings.
class FakePackagedApps : public PackagedApps {
 public:
  std::vector<PackagedApp> List() const override {
    ++listed;
    return apps;
  }
  std::vector<PackagedApp> apps;
  mutable int listed = 0;
};

// Run values by name; `refuse` makes every write fail as a denied registry
// write does.
class FakeStartupEntries : public StartupEntryStore {
 public:
  bool RunValueExists(const std::string& name) const override { return values.count(name) > 0; }
  void WriteRunValue(const std::string& name, const std::string& command) override {
    ++writes;
    if (refuse) throw StartupEntryError("Failed to set data for '" + name + "'");
    values[name] = command;
  }
  // A refusing list keeps its entries.
  void DeleteRunValue(const std::string& name) override {
    ++deletes;
    if (!refuse) values.erase(name);
  }

  std::map<std::string, std::string> values;
  int writes = 0;
  int deletes = 0;
  bool refuse = false;
};

// Records each request as "verb argument"; an item starts when
// `startSucceeds`.
class FakeShell : public ShellRequests {
 public:
  bool OpenExplorer(const std::string& path) override {
    requests.push_back("explorer " + path);
    return startSucceeds;
  }
  bool OpenAddress(const std::string& address) override {
    requests.push_back("address " + address);
    return startSucceeds;
  }
  void FindInFolder(const std::string& folder) override { requests.push_back("find " + folder); }
  bool OpenItem(const std::string& path) override {
    requests.push_back("open " + path);
    return startSucceeds;
  }

  std::vector<std::string> requests;
  bool startSucceeds = true;
};

class FakeFigures : public SystemFigures {
 public:
  MemoryFigures Memory() const override { return memory; }
  std::optional<std::uint64_t> ProcessCount() const override { return processes; }

  MemoryFigures memory{1000ull << 20, 500ull << 20, 2097152000, 524288000};
  std::optional<std::uint64_t> processes = 1500;
};

}  // namespace wh::testing
