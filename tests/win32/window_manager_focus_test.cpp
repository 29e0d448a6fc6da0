// Under Wine, the foreground another program takes right after a showing
// comes back, unless the user went there or it went to the desktop.
#include "win32/window_manager_focus.h"

#include <gtest/gtest.h>

#include <string>

namespace wh {
namespace {

// Runs the messages for `ms`, less once `wanted` (when given) is foreground.
HWND ForegroundAfter(DWORD ms, HWND wanted) {
  for (const ULONGLONG end = GetTickCount64() + ms;
       GetTickCount64() < end && (wanted == nullptr || GetForegroundWindow() != wanted);) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  return GetForegroundWindow();
}

TEST(WindowManagerFocusTest, ForegroundComesBackOnlyFromAnotherProgramTheUserDidNotChoose) {
  if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr) {
    GTEST_SKIP() << "does something under Wine only";
  }
  // The owner hidden, so that it is not mapped anew: with no window manager
  // on the display Wine waits for one at each map.
  HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(owner, nullptr) << "Wine makes windows only with a display (scripts/with-display)";
  HWND shown = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 10, 10, 200, 100, owner,
                               nullptr, nullptr, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION other{};
  std::wstring command = L"notepad.exe";
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &other));
  struct Ended {
    PROCESS_INFORMATION& process;
    ~Ended() {
      TerminateProcess(process.hProcess, 0);
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
    }
  } ended{other};
  WaitForInputIdle(other.hProcess, 20000);
  HWND notepad = FindWindowW(L"Notepad", nullptr);

  const struct {
    const char* what;
    HWND takenBy;
    bool userInput;
    bool comesBack;
  } cases[] = {
      {"another program, no input", notepad, false, true},
      {"another program after a pointer move", notepad, true, false},
      {"the desktop window", GetDesktopWindow(), false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_NE(c.takenBy, nullptr);
    SetForegroundWindow(shown);
    ASSERT_EQ(ForegroundAfter(500, shown), shown);
    HandKeyboardToForeground(owner);
    if (c.userInput) {
      Sleep(20);  // on a later tick than the showing
      INPUT move{};
      move.type = INPUT_MOUSE;
      move.mi.dwFlags = MOUSEEVENTF_MOVE;
      ASSERT_EQ(SendInput(1, &move, sizeof(move)), 1u);
    }
    SetForegroundWindow(c.takenBy);
    // Longer than the watch lasts, when nothing is to come back.
    EXPECT_EQ(ForegroundAfter(1500, c.comesBack ? shown : nullptr) == shown, c.comesBack);
  }
  DestroyWindow(owner);
}

}  // namespace
}  // namespace wh
