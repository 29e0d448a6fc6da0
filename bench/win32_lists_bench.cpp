// How long the real Win32 boxes take to fill: the keyword box with 50,000
// keywords (every load of the index does this), and ENTER-to-list-shown for
// a search that finds 20,000 items. Runs under Wine with a display (see
// scripts/bench-windows); prints the median of several runs.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/launcher.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_key_names.h"
#include "fakes/fake_platform.h"
#include "fakes/fake_text_encoding.h"
#include "timing.h"
#include "win32/main_window.h"
#include "win32/win32_collation.h"

namespace {

using wh::bench::Median;
using wh::bench::Now;

// A word of letters only, so that no keyword is dropped as a number.
std::string LetterWord(int n) {
  std::string word;
  for (int i = 0; i < 5; ++i) {
    word += static_cast<char>('a' + n % 26);
    n /= 26;
  }
  return word;
}

void PumpMessages(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

class NoShell : public wh::ShellRequests {
 public:
  bool OpenExplorer(const std::string&) override { return true; }
  bool OpenAddress(const std::string&) override { return true; }
  void FindInFolder(const std::string&) override {}
  bool OpenItem(const std::string&) override { return true; }
};

class NoFigures : public wh::SystemFigures {
 public:
  wh::MemoryFigures Memory() const override { return {}; }
  std::optional<std::uint64_t> ProcessCount() const override { return 1; }
};

class NoStartupEntries : public wh::StartupEntryStore {
 public:
  bool RunValueExists(const std::string&) const override { return true; }
  void WriteRunValue(const std::string&, const std::string&) override {}
  void DeleteRunValue(const std::string&) override {}
};

}  // namespace

int wmain() {
  constexpr int kRuns = 7;
  constexpr int kKeywords = 50000;
  constexpr int kMatches = 20000;

  wh::testing::FakeFileSystem fs('\\');
  fs.AddFile("C:\\bench\\wordhopper.ini",
             "[Directories]\nUserStartMenu=0\nAllUsersStartMenu=0\nUserDeskTop=0\n"
             "AllUsersDeskTop=0\nUserDir=C:\\Items\nUserMasks=txt\n[Program]\nFirstShow=1\n"
             "StartWithWindows=0\n");
  for (int i = 0; i < kMatches; ++i) {
    fs.AddFile("C:\\Items\\Document " + LetterWord(i) + ".txt");
  }
  wh::testing::FakeShellFolders folders;
  wh::testing::FakeNumberFormat numbers;
  wh::testing::FakeTextEncoding encoding;
  wh::testing::FakeKeyNames keyNames;
  wh::Win32Collation collation;
  NoStartupEntries entries;
  NoShell shell;
  NoFigures figures;

  wh::ApplicationWindow application;
  wh::MainWindow window(application);
  wh::Launcher launcher(
      window, wh::MainPlatform{fs, folders, numbers, encoding, keyNames, collation, entries, shell,
                               figures, "C:\\bench\\wh.exe", "\\:", ".exe", ""});
  window.Attach(&launcher);
  launcher.Start("show");
  PumpMessages(window.Handle());

  // 50,000 keywords in the box's order, as a load hands them over.
  wh::KeywordList keywords(collation);
  for (int i = 0; i < kKeywords; ++i) keywords.Add(LetterWord(i * 7 + 3));
  std::vector<double> fill;
  for (int run = 0; run < kRuns; ++run) {
    const double start = Now();
    window.SetKeywordItems(keywords.Words());
    PumpMessages(window.Handle());
    fill.push_back(Now() - start);
  }

  std::vector<double> search;
  for (int run = 0; run < kRuns; ++run) {
    launcher.ResetKeywordMode();
    PumpMessages(window.Handle());
    const double start = Now();
    launcher.SearchItems("document");
    PumpMessages(window.Handle());
    search.push_back(Now() - start);
  }
  const int selected = window.SelectedItem();

  std::printf("keyword box filled with %d keywords: %.1f ms (median of %d)\n", kKeywords,
              Median(fill), kRuns);
  std::printf("ENTER to list shown, %zu matches: %.1f ms (median of %d), selected entry: %d\n",
              launcher.Index().MatchList.Count(), Median(search), kRuns, selected);
  window.Attach(nullptr);
  return 0;
}
