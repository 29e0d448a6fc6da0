// Under Wine, the foreground another program takes right after a showing
// comes back, unless the user went there or it went to the desktop.
#include "win32/window_manager_focus.h"

#include <gtest/gtest.h>

#include <string>

namespace wh {
namespace {

bool RunByWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Runs the messages for `ms`, or until the foreground is `hwnd` when `until`.
HWND ForegroundAfter(DWORD ms, HWND until = nullptr) {
  const ULONGLONG end = GetTickCount64() + ms;
  while (GetTickCount64() < end && (until == nullptr || GetForegroundWindow() != until)) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  return GetForegroundWindow();
}

struct Window {
  HWND hwnd;
  ~Window() { DestroyWindow(hwnd); }
};

struct Process {
  PROCESS_INFORMATION info{};
  ~Process() {
    if (info.hProcess == nullptr) return;
    TerminateProcess(info.hProcess, 0);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
};

TEST(WindowManagerFocusTest, ForegroundComesBackOnlyFromAnotherProgramTheUserDidNotChoose) {
  if (!RunByWine()) GTEST_SKIP() << "does something under Wine only";
  // Hidden, so that it is not mapped anew: with no window manager on the
  // display Wine waits for one at each map.
  Window owner{CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               nullptr, nullptr)};
  ASSERT_NE(owner.hwnd, nullptr) << "Wine makes windows only with a display (scripts/with-display)";
  Window shown{CreateWindowExW(0, L"STATIC", L"shown", WS_POPUP | WS_VISIBLE, 10, 10, 200, 100,
                               owner.hwnd, nullptr, nullptr, nullptr)};

  Process other;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  std::wstring command = L"notepad.exe";
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &other.info));
  WaitForInputIdle(other.info.hProcess, 20000);
  HWND notepad = nullptr;
  for (int i = 0; i < 200 && notepad == nullptr; ++i) {
    notepad = FindWindowW(L"Notepad", nullptr);
    if (notepad == nullptr) Sleep(50);
  }
  ASSERT_NE(notepad, nullptr);

  struct Case {
    const char* what;
    HWND takenBy;
    bool userInput;
    bool comesBack;
  };
  const Case cases[] = {
      {"another program, no input", notepad, false, true},
      {"another program after a pointer move", notepad, true, false},
      {"the desktop window", GetDesktopWindow(), false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetForegroundWindow(shown.hwnd);
    ASSERT_EQ(ForegroundAfter(500, shown.hwnd), shown.hwnd);
    HandKeyboardToForeground(owner.hwnd);
    if (c.userInput) {
      Sleep(20);  // a later tick than the showing's
      INPUT move{};
      move.type = INPUT_MOUSE;
      move.mi.dwFlags = MOUSEEVENTF_MOVE;
      ASSERT_EQ(SendInput(1, &move, sizeof(move)), 1u);
    }
    SetForegroundWindow(c.takenBy);
    // Longer than the watch, when nothing is to come back.
    const HWND foreground = ForegroundAfter(1500, c.comesBack ? shown.hwnd : nullptr);
    EXPECT_EQ(foreground == shown.hwnd, c.comesBack);
  }
}

}  // namespace
}  // namespace wh
