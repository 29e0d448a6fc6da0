// The start of the real program under Wine: from CreateProcess until its
// main window is on screen, which it is only once the index is loaded, with
// a 2,000-shortcut Start Menu as the user directory against the same start
// with no sources at all. The two are taken turn about, each program closed
// before the next starts, and the medians and their ratio printed. Run by
// scripts/bench-windows:
//   wh_start_bench.exe EXE MENU ROUNDS GOAL
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "timing.h"

namespace {

using wh::bench::Median;
using wh::bench::Now;

// A copy of the program in a folder of its own, its settings file beside it:
// nothing indexed but `userDir` (none when empty), no help at the first
// showing, no start-up entry, and the close box ending the program.
std::wstring Install(const std::wstring& exe, const std::wstring& folder,
                     const std::string& userDir) {
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring copy = folder + L"\\wordhopper.exe";
  if (!CopyFileW(exe.c_str(), copy.c_str(), FALSE)) return {};
  const std::string ini =
      "[Form]\r\nHotKey=F4\r\n[Directories]\r\nUserStartMenu=0\r\nAllUsersStartMenu=0\r\n"
      "UserDeskTop=0\r\nAllUsersDeskTop=0\r\nFavorites=0\r\nHistory=0\r\nRecentFiles=0\r\n"
      "UserDir=" +
      userDir +
      "\r\nUserMasks=lnk\r\n[Program]\r\nFirstShow=1\r\nStartWithWindows=0\r\n"
      "HideToSystemTray=0\r\nMessageBoxOnError=0\r\n";
  HANDLE file = CreateFileW((folder + L"\\wordhopper.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  DWORD written = 0;
  WriteFile(file, ini.data(), static_cast<DWORD>(ini.size()), &written, nullptr);
  CloseHandle(file);
  return copy;
}

struct Search {
  DWORD pid;
  HWND found;
};

HWND VisibleMainWindowOf(DWORD pid) {
  Search search{pid, nullptr};
  EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        wchar_t name[32] = {};
        GetClassNameW(hwnd, name, 32);
        if (owner != s->pid || lstrcmpW(name, L"WordhopperMain") != 0 || !IsWindowVisible(hwnd)) {
          return TRUE;
        }
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Milliseconds from the start of `exe show` to its main window on screen;
// negative when it never came within 30 s. The program is closed after.
double TimeStart(const std::wstring& exe) {
  std::wstring command = L"\"" + exe + L"\" show";
  const std::wstring folder = exe.substr(0, exe.rfind(L'\\'));
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  const double start = Now();
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &process)) {
    return -1;
  }
  HWND main = nullptr;
  while ((main = VisibleMainWindowOf(process.dwProcessId)) == nullptr && Now() - start < 30000) {
    if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  const double elapsed = Now() - start;
  if (main != nullptr) PostMessageW(main, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 10000);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return main != nullptr ? elapsed : -1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: wh_start_bench EXE MENU ROUNDS GOAL\n");
    return 2;
  }
  const std::wstring exe = argv[1];
  const int rounds = std::max(1, _wtoi(argv[3]));
  const double goal = _wtof(argv[4]);
  std::string menu;
  for (const wchar_t* c = argv[2]; *c != 0; ++c) menu += static_cast<char>(*c);

  wchar_t temp[MAX_PATH + 1];
  const std::wstring base = std::wstring(temp, GetTempPathW(MAX_PATH + 1, temp)) + L"wh-start";
  CreateDirectoryW(base.c_str(), nullptr);
  const std::wstring withMenu = Install(exe, base + L"\\menu", menu);
  const std::wstring without = Install(exe, base + L"\\none", "");
  if (withMenu.empty() || without.empty()) {
    std::fprintf(stderr, "wh_start_bench: can't install the program in %ls\n", base.c_str());
    return 1;
  }
  // One start of each first, unmeasured: Wine loads its libraries then.
  TimeStart(without);
  TimeStart(withMenu);
  std::vector<double> bare, loaded;
  for (int round = 0; round < rounds; ++round) {
    const double a = TimeStart(without), b = TimeStart(withMenu);
    if (a < 0 || b < 0) {
      std::fprintf(stderr, "wh_start_bench: the main window did not come\n");
      return 1;
    }
    bare.push_back(a);
    loaded.push_back(b);
  }
  std::printf(
      "start with the %s Start Menu %.0f ms against a start with no sources %.0f ms, medians "
      "of %d: %.2fx  [<= %.2f]\n",
      menu.c_str(), Median(loaded), Median(bare), rounds, Median(loaded) / Median(bare), goal);
  return 0;
}
