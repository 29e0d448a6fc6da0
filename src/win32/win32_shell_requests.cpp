#include "win32/win32_shell_requests.h"

#include <shellapi.h>

#include "win32/utf16.h"

namespace wh {

// ShellExecuteW's result above 32 means success; the rest are error codes.
bool Win32ShellRequests::OpenExplorer(const std::string& path) {
  const std::wstring parameters = L"/e," + Utf8ToWide(path);
  return reinterpret_cast<INT_PTR>(ShellExecuteW(owner_, L"open", L"explorer.exe",
                                                 parameters.c_str(), nullptr, SW_SHOWNORMAL)) > 32;
}

bool Win32ShellRequests::OpenAddress(const std::string& address) {
  return reinterpret_cast<INT_PTR>(ShellExecuteW(owner_, L"open", Utf8ToWide(address).c_str(),
                                                 nullptr, nullptr, SW_SHOWNORMAL)) > 32;
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
