// Reading another process's windows, for the programs that watch the real
// program from outside: the end-to-end driver and the soak. A window that
// stops answering never holds them: every message gives up after a while.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace wh::e2e {

inline constexpr UINT kSendTimeoutMs = 3000;

// The window's answer, or nullopt when it gave none within the time-out.
inline std::optional<LRESULT> Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT timeoutMs = kSendTimeoutMs) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &result)) {
    return std::nullopt;
  }
  return static_cast<LRESULT>(result);
}

inline std::wstring ClassOf(HWND hwnd) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(hwnd, name, 256);
  return std::wstring(name, length > 0 ? length : 0);
}

inline bool ClassIs(const std::wstring& className, const wchar_t* expected) {
  return _wcsicmp(className.c_str(), expected) == 0;
}

// WM_GETTEXT is marshalled between processes, so a local buffer will do.
inline std::wstring TextOf(HWND hwnd) {
  const auto length = Send(hwnd, WM_GETTEXTLENGTH, 0, 0);
  if (!length || *length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(*length) + 1, L'\0');
  const auto copied = Send(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied && *copied > 0 ? static_cast<std::size_t>(*copied) : 0);
  return text;
}

inline std::vector<HWND> TopWindows() {
  std::vector<HWND> windows;
  EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

inline DWORD ProcessOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

}  // namespace wh::e2e
