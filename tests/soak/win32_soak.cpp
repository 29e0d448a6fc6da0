// whsoak: drives the real wordhopper.exe through many cycles from beside it,
// as a user at the keyboard would, and reports what the cycles do to the
// program's process (soak_report.h).
//
//   whsoak EXE --folder DIR [--cycles N] [--block N] [--reload-every N]
//              [--settings-every N] [--no-settle] [--check]
//
// It installs a copy of EXE with a settings file and a folder of items in
// DIR (soak_plan.h), starts it (to the tray) and runs the cycles:
// the hot key F4, a letter or two, ENTER (the item list), DOWN (the next
// item), ESC (back to the keyword), ESC (to the tray); every --reload-every
// cycles "Reload directories" and every --settings-every cycles the settings
// window opened, saved and closed, both through the context menu from the
// keyboard. Items are picked, not started: starting programs would measure
// them, not this one.
//
// Keys go in with SendInput; every step waits for the state it should lead
// to by polling the program's windows. A state that comes after 1 s counts as
// slow, with its time. A key that has left no trace after 2 s while the
// program answers messages (a busy program is waited for up to 10 s) is a
// lost key, sent once more, after the hot key where the window is on screen
// without the keyboard; anything else ends the run. Before each hot key the soak waits until the program answers
// messages again after the hide (the time is reported as "hide to
// answering"), so the latency is the program's own; --no-settle presses the
// hot key as soon as the window is hidden.
//
// Exit code 0; 1 when the run could not go on, or with --check when a counter
// grew clearly after the first block; 2 wrong use.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "../e2e/window_query.h"
#include "soak/soak_plan.h"
#include "soak/soak_report.h"
#include "win32/utf16.h"
#include "win32/window_ids.h"

namespace {

using namespace wh::e2e;
using wh::Utf8ToWide;
using wh::WideToUtf8;
using wh::soak::Options;

constexpr double kSlowMs = 1000;
constexpr double kTimeoutMs = 10000;
// A key that has left no trace this long in a program that answers is lost.
constexpr double kLostAfterMs = 2000;
constexpr UINT kAnswerMs = 200;
constexpr double kSettleMs = 30;

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool WriteFileText(const std::wstring& path, const std::string& text) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                  written == text.size();
  CloseHandle(file);
  return ok;
}

// A copy of the program with its settings beside it and the folder of
// items it indexes.
std::wstring Install(const Options& options) {
  const std::wstring folder = Utf8ToWide(options.folder);
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring items = folder + L"\\items";
  CreateDirectoryW(items.c_str(), nullptr);
  for (const char* name : wh::soak::kItemNames) {
    if (!WriteFileText(items + L"\\" + Utf8ToWide(name) + L".txt", "")) return {};
  }
  const std::wstring copy = folder + L"\\wordhopper.exe";
  if (!CopyFileW(Utf8ToWide(options.program).c_str(), copy.c_str(), FALSE)) return {};
  if (!WriteFileText(folder + L"\\wordhopper.ini", wh::soak::SettingsText(WideToUtf8(items)))) {
    return {};
  }
  return copy;
}

void Press(WORD key) {
  const bool extended = key == VK_UP || key == VK_DOWN || key == VK_APPS;
  INPUT input[2] = {};
  for (INPUT& one : input) {
    one.type = INPUT_KEYBOARD;
    one.ki.wVk = key;
    one.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    one.ki.dwFlags = extended ? KEYEVENTF_EXTENDEDKEY : 0;
  }
  input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof(INPUT));
}

// The program's windows, found once, and the states the cycle waits for.
class Program {
 public:
  bool Find(DWORD pid) {
    for (HWND hwnd : TopWindows()) {
      if (ProcessOf(hwnd) == pid && ClassIs(ClassOf(hwnd), wh::win32::kMainWindowClass)) {
        main_ = hwnd;
      }
    }
    if (main_ == nullptr) return false;
    thread_ = GetWindowThreadProcessId(main_, &pid_);
    keywordBox_ = GetDlgItem(main_, wh::win32::kKeywordBox);
    itemBox_ = GetDlgItem(main_, wh::win32::kItemBox);
    keywordEdit_ = FindWindowExW(keywordBox_, nullptr, L"Edit", nullptr);
    return keywordBox_ != nullptr && itemBox_ != nullptr && keywordEdit_ != nullptr;
  }

  HWND Main() const { return main_; }

  // Answers a message: the thread is back in its message loop.
  bool Answers(UINT timeoutMs) const { return Send(main_, WM_NULL, 0, 0, timeoutMs).has_value(); }

  bool Shown() const { return IsWindowVisible(main_) != FALSE; }
  bool Hidden() const { return !Shown(); }

  // Shown in the foreground, the keyword box on screen, the keyboard focus
  // and the caret in its edit field.
  bool KeywordReady() const {
    GUITHREADINFO info = Gui();
    return Shown() && GetForegroundWindow() == main_ && IsWindowVisible(keywordBox_) &&
           info.hwndFocus == keywordEdit_ && info.hwndCaret == keywordEdit_;
  }

  // What the windows show, for a step whose state did not come.
  std::string Describe() const {
    GUITHREADINFO info = Gui();
    wchar_t text[256];
    swprintf(text, 256,
             L"shown %d, foreground %ls, focus %ls, caret %ls, keyword [%ls], item box %d, "
             L"menu %d, settings %d",
             Shown(), ClassOf(GetForegroundWindow()).c_str(), ClassOf(info.hwndFocus).c_str(),
             ClassOf(info.hwndCaret).c_str(), TextOf(keywordBox_).c_str(), ItemBoxShown(),
             MenuOpen(), Settings() != nullptr);
    return WideToUtf8(text);
  }

  // In the foreground with the keyboard in one of its boxes.
  bool HasKeyboard() const {
    const HWND focus = Gui().hwndFocus;
    return GetForegroundWindow() == main_ && (focus == keywordEdit_ || focus == itemBox_);
  }
  bool KeywordIs(const std::wstring& text) const { return TextOf(keywordBox_) == text; }
  bool EmptyKeywordReady() const { return KeywordReady() && KeywordIs(L""); }

  // The item box on screen with the keyboard, its list dropped and filled.
  bool ItemsDropped() const {
    return IsWindowVisible(itemBox_) && Gui().hwndFocus == itemBox_ &&
           Send(itemBox_, CB_GETCOUNT, 0, 0).value_or(0) > 1 &&
           Send(itemBox_, CB_GETDROPPEDSTATE, 0, 0).value_or(0) != 0;
  }
  int PickedItem() const {
    return static_cast<int>(Send(itemBox_, CB_GETCURSEL, 0, 0).value_or(-1));
  }
  bool ItemBoxShown() const { return IsWindowVisible(itemBox_) != FALSE; }

  bool MenuOpen() const { return ShownWindowOfClass(L"#32768") != nullptr; }
  HWND Settings() const { return ShownWindowOfClass(wh::win32::kSettingsWindowClass); }

 private:
  GUITHREADINFO Gui() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(thread_, &info)) info = GUITHREADINFO{};
    return info;
  }
  HWND ShownWindowOfClass(const wchar_t* className) const {
    for (HWND hwnd : TopWindows()) {
      if (IsWindowVisible(hwnd) && ProcessOf(hwnd) == pid_ && ClassIs(ClassOf(hwnd), className)) {
        return hwnd;
      }
    }
    return nullptr;
  }

  HWND main_ = nullptr, keywordBox_ = nullptr, keywordEdit_ = nullptr, itemBox_ = nullptr;
  DWORD thread_ = 0, pid_ = 0;
};

// Milliseconds until `done` holds, polled; negative when it did not within
// `timeoutMs`.
double WaitFor(const std::function<bool()>& done, double timeoutMs) {
  const double start = Now();
  while (true) {
    if (done()) return Now() - start;
    if (Now() - start > timeoutMs) return -1;
    Sleep(1);
  }
}

class Soak {
 public:
  Soak(Program& program, wh::soak::SoakLog& log) : program_(program), log_(log) {}

  // Sends a key and waits for `done`. Where it has not come after a while,
  // `untouched` still holds (the key left no trace) and the program answers
  // messages (it is not busy with something else), the key is lost: it is
  // sent once more. A program that does not answer is slow and is waited for
  // up to the time-out. Returns the milliseconds from the (last) key to the
  // state, negative when the run can't go on.
  double Step(const std::string& name, const std::function<void()>& send,
              const std::function<bool()>& done, const std::function<bool()>& untouched) {
    for (int attempt = 0; attempt < 2; ++attempt) {
      const double start = Now();
      send();
      double took = WaitFor(done, kLostAfterMs);
      while (took < 0 && Now() - start < kTimeoutMs &&
             !(untouched() && program_.Answers(kAnswerMs))) {
        took = WaitFor(done, kLostAfterMs);
      }
      if (took >= 0) {
        took = Now() - start;
        if (took > kSlowMs) log_.AddSlow(name, took);
        return took;
      }
      if (!untouched()) break;
      const std::string state = program_.Describe();
      // Shown without the keyboard (the window manager gave it elsewhere):
      // the hot key brings the window to the front again, as a user would.
      const bool elsewhere = program_.Shown() && !program_.HasKeyboard();
      log_.AddLost(elsewhere ? name + ", keyboard elsewhere" : name);
      std::fprintf(stderr, "whsoak: %s: no trace after %.0f ms (%s), sent again\n",
                   name.c_str(), Now() - start, state.c_str());
      if (elsewhere) {
        Press(VK_F4);
        WaitFor([&] { return program_.HasKeyboard(); }, kTimeoutMs);
      }
    }
    failure_ = name + " (" + program_.Describe() + ")";
    return -1;
  }

  bool Cycle(int n, const Options& options) {
    const Program& p = program_;
    if (options.settle) {
      const double hidden = Now();
      if (!p.Answers(30000)) return Fail("the program answers no more after the hide");
      log_.AddStall(Now() - hidden);
    }
    const double latency = Step(
        "hot key", [] { Press(VK_F4); }, [&] { return p.EmptyKeywordReady(); },
        [&] { return p.Hidden(); });
    if (latency < 0) return false;
    log_.AddLatency(latency);
    // Wine settles the X focus a moment after the window has the keyboard;
    // a key sent in between can go to the window that had it before.
    WaitFor([&] { return !p.EmptyKeywordReady(); }, kSettleMs);
    WaitFor([&] { return p.EmptyKeywordReady(); }, kTimeoutMs);

    std::wstring typed;
    for (wchar_t c : Utf8ToWide(wh::soak::kTyped[n % std::size(wh::soak::kTyped)])) {
      const std::wstring before = typed;
      typed += c;
      if (Step(
              "letter", [c] { Press(static_cast<WORD>(towupper(c))); },
              [&] { return p.KeywordIs(typed); }, [&] { return p.KeywordIs(before); }) < 0) {
        return false;
      }
    }
    if (Step(
            "ENTER", [] { Press(VK_RETURN); }, [&] { return p.ItemsDropped(); },
            [&] { return !p.ItemBoxShown() && p.KeywordIs(typed); }) < 0 ||
        Step(
            "DOWN", [] { Press(VK_DOWN); }, [&] { return p.PickedItem() == 1; },
            [&] { return p.PickedItem() == 0; }) < 0 ||
        Step(
            "ESC in the item box", [] { Press(VK_ESCAPE); }, [&] { return p.EmptyKeywordReady(); },
            [&] { return p.ItemBoxShown(); }) < 0) {
      return false;
    }
    if ((n + 1) % options.reloadEvery == 0 && !FromMenu(3, "reload")) return false;
    if ((n + 1) % options.settingsEvery == 0 && !SaveSettings()) return false;
    return Step(
               "ESC to the tray", [] { Press(VK_ESCAPE); }, [&] { return p.Hidden(); },
               [&] { return p.EmptyKeywordReady(); }) >= 0;
  }

  const std::string& Failure() const { return failure_; }

 private:
  // Item `item` (1: the first) of the context menu, opened with the menu
  // key in the keyword box and gone through with the arrow keys.
  bool FromMenu(int item, const std::string& name) {
    const Program& p = program_;
    if (Step(
            name + " menu", [] { Press(VK_APPS); }, [&] { return p.MenuOpen(); },
            [&] { return p.EmptyKeywordReady(); }) < 0) {
      return false;
    }
    for (int i = 0; i < item; ++i) Press(VK_DOWN);
    return Step(
               name, [] { Press(VK_RETURN); },
               [&] { return !p.MenuOpen() && (p.Settings() != nullptr || p.EmptyKeywordReady()); },
               [&] { return p.MenuOpen(); }) >= 0;
  }

  // The settings window from the menu, saved with its Save button (as a
  // click does: the button's notification to its window), then the keyword
  // box has the keyboard again.
  bool SaveSettings() {
    const Program& p = program_;
    if (!FromMenu(4, "settings")) return false;
    if (WaitFor([&] { return p.Settings() != nullptr; }, kTimeoutMs) < 0) {
      return Fail("the settings window did not come");
    }
    HWND settings = p.Settings();
    return Step(
               "Save",
               [&] {
                 PostMessageW(settings, WM_COMMAND, MAKEWPARAM(wh::win32::kSaveButton, BN_CLICKED),
                              reinterpret_cast<LPARAM>(GetDlgItem(settings, wh::win32::kSaveButton)));
               },
               [&] { return p.Settings() == nullptr && p.EmptyKeywordReady(); },
               [&] { return p.Settings() != nullptr; }) >= 0;
  }

  bool Fail(const std::string& why) {
    failure_ = why;
    return false;
  }

  Program& program_;
  wh::soak::SoakLog& log_;
  std::string failure_;
};

// The handles of process `pid` in the system's list of all handles, for a
// system whose GetProcessHandleCount does not answer (Wine's).
std::optional<long long> HandlesInSystemList(DWORD pid) {
  struct Entry {
    USHORT process;
    USHORT creatorBackTraceIndex;
    UCHAR objectType;
    UCHAR attributes;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
  };
  struct List {
    ULONG count;
    Entry entries[1];
  };
  using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  constexpr ULONG kSystemHandleInformation = 16;
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (query == nullptr) return std::nullopt;
  std::vector<char> buffer(1 << 20);
  for (int attempt = 0; attempt < 6; ++attempt) {
    ULONG needed = 0;
    const LONG status =
        query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == 0) {
      const auto* list = reinterpret_cast<const List*>(buffer.data());
      long long count = 0;
      for (ULONG i = 0; i < list->count; ++i) count += list->entries[i].process == pid;
      return count;
    }
    buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
  }
  return std::nullopt;
}

// Zero is no answer throughout: a running process with windows has
// committed memory, handles and GDI and USER objects.
wh::soak::Reading Read(HANDLE process, DWORD pid) {
  wh::soak::Reading reading;
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  std::optional<long long> committed;
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof(memory))) {
    // The same figure on Windows; Wine fills only the page-file one.
    const SIZE_T bytes = memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
    if (bytes != 0) committed = static_cast<long long>(bytes);
  }
  reading.push_back(committed);
  DWORD handles = 0;
  if (GetProcessHandleCount(process, &handles) && handles != 0) {
    reading.push_back(handles);
  } else {
    reading.push_back(HandlesInSystemList(pid));
  }
  for (DWORD kind : {GR_GDIOBJECTS, GR_USEROBJECTS}) {
    const DWORD count = GetGuiResources(process, kind);
    reading.push_back(count != 0 ? std::optional<long long>(count) : std::nullopt);
  }
  return reading;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Options options;
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(WideToUtf8(argv[i]));
  if (!wh::soak::ParseOptions(arguments, options)) {
    std::fprintf(stderr, "usage: whsoak %s\n", wh::soak::kUsage);
    return 2;
  }
  const std::wstring exe = Install(options);
  if (exe.empty()) {
    std::fprintf(stderr, "whsoak: can't install the program in %s\n", options.folder.c_str());
    return 1;
  }
  std::wstring command = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      Utf8ToWide(options.folder).c_str(), &startup, &started)) {
    std::fprintf(stderr, "whsoak: can't start %ls\n", exe.c_str());
    return 1;
  }
  CloseHandle(started.hThread);
  Program program;
  int code = 0;
  if (WaitFor([&] { return program.Find(started.dwProcessId); }, 60000) < 0 ||
      !program.Answers(60000)) {
    std::fprintf(stderr, "whsoak: the program's main window did not come\n");
    code = 1;
  } else {
    wh::soak::SoakLog log({{"private", wh::soak::Unit::Bytes},
                           {"handles", wh::soak::Unit::Count},
                           {"gdi", wh::soak::Unit::Count},
                           {"user", wh::soak::Unit::Count}},
                          stdout);
    Soak soak(program, log);
    // The first press after the start can go missing under Wine: the window
    // is brought up and sent back once before the first reading.
    bool warm = false;
    for (int attempt = 0; attempt < 15 && !warm; ++attempt) {
      Press(VK_F4);
      warm = WaitFor([&] { return program.EmptyKeywordReady(); }, 2000) >= 0;
    }
    if (warm) {
      Press(VK_ESCAPE);
      warm = WaitFor([&] { return program.Hidden(); }, kTimeoutMs) >= 0;
    }
    if (!warm) {
      std::fprintf(stderr, "whsoak: the window did not come on the hot key (%s)\n",
                   program.Describe().c_str());
      TerminateProcess(started.hProcess, 1);
      return 1;
    }
    log.Begin(Read(started.hProcess, started.dwProcessId));
    for (int n = 0; n < options.cycles; ++n) {
      if (!soak.Cycle(n, options)) {
        std::fprintf(stderr, "whsoak: cycle %d: %s: the expected state did not come\n", n + 1,
                     soak.Failure().c_str());
        code = 1;
        break;
      }
      if ((n + 1) % options.block == 0 || n + 1 == options.cycles) {
        // Read with the program idle in the tray, as at the start.
        program.Answers(30000);
        log.EndBlock(n + 1, Read(started.hProcess, started.dwProcessId));
      }
    }
    if (!log.Finish(1).empty() && options.check) code = 1;
  }
  TerminateProcess(started.hProcess, 0);
  WaitForSingleObject(started.hProcess, 10000);
  CloseHandle(started.hProcess);
  return code;
}
