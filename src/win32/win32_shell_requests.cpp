#include "win32/win32_shell_requests.h"

#include <shellapi.h>

#include "win32/utf16.h"

namespace wh {

void Win32ShellRequests::OpenExplorer(const std::string& path) {
  const std::wstring parameters = L"/e," + Utf8ToWide(path);
  ShellExecuteW(owner_, L"open", L"explorer.exe", parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

void Win32ShellRequests::OpenAddress(const std::string& address) {
  ShellExecuteW(owner_, L"open", Utf8ToWide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32ShellRequests::FindInFolder(const std::string& folder) {
  ShellExecuteW(owner_, L"find", Utf8ToWide(folder).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool Win32ShellRequests::OpenItem(const std::string& path) {
  const std::wstring file = Utf8ToWide(path);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  // The program reports a failed start itself; the shell's own error box
  // would say it twice.
  info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  info.hwnd = owner_;
  info.lpVerb = L"open";
  info.lpFile = file.c_str();
  info.nShow = SW_SHOWNORMAL;
  return ShellExecuteExW(&info) != FALSE;
}

}  // namespace wh
