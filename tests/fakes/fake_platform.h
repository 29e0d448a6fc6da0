// Small fakes of the locale, the shell folders and the load's view.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "index/loader.h"
#include "platform/collation.h"
#include "platform/number_format.h"
#include "platform/shell_folders.h"

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
  void Set(const std::string& valueName, bool allUsers, const std::string& path) {
    folders_[{valueName, allUsers}] = path;
  }
  std::string ShellFolderPath(std::string_view valueName, bool allUsers) const override {
    auto found = folders_.find({std::string(valueName), allUsers});
    return found == folders_.end() ? std::string() : found->second;
  }
  std::string ShortcutExtension() const override { return extension; }
  bool ShortcutsNameThemselves() const override { return !shortcutNames.empty(); }
  std::optional<std::string> ShortcutDisplayName(const std::string& path) const override {
    asked.push_back(path);
    auto found = shortcutNames.find(path);
    return found == shortcutNames.end() ? std::string() : found->second;
  }

  std::string extension = "lnk";
  // Names that shortcut files give themselves (nullopt: hidden from menus);
  // when empty, shortcuts are named by their files.
  std::map<std::string, std::optional<std::string>> shortcutNames;
  mutable std::vector<std::string> asked;

 private:
  std::map<std::pair<std::string, bool>, std::string> folders_;
};

// Records what a load shows, in order.
class RecordingLoadView : public LoadView {
 public:
  void ResetKeywordMode() override { events.push_back("reset"); }
  void SetKeywordItems(const std::vector<std::string>& words) override {
    keywordBox = words;
    events.push_back("keywords");
  }
  void SetStatusPanel(int panel, const std::string& text) override { panels[panel] = text; }
  void ReportStatus(const std::string& message) override { reports.push_back(message); }

  std::vector<std::string> events;
  std::vector<std::string> keywordBox;
  std::map<int, std::string> panels;
  std::vector<std::string> reports;
};

}  // namespace wh::testing
