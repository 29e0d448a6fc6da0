// whmklink: makes a real shell link (.lnk), the kind the program indexes from
// the Start Menu and the desktop, for the end-to-end scenarios.
//
//   whmklink LINKPATH TARGET [ARGUMENTS] [WORKDIR]
//
// Missing parent folders of LINKPATH are made. Exit code 0 when the link is
// saved, 1 when something failed (with the reason on stderr), 2 on wrong use.

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "win32/scoped_handle.h"

namespace {

using wh::ComApartment;
using wh::ComPtr;

int Fail(const wchar_t* what, HRESULT result) {
  fwprintf(stderr, L"whmklink: %ls failed (0x%08lx)\n", what, static_cast<unsigned long>(result));
  return 1;
}

std::wstring FullPath(const wchar_t* path) {
  wchar_t buffer[MAX_PATH * 4] = {};
  const DWORD length = GetFullPathNameW(path, MAX_PATH * 4, buffer, nullptr);
  if (length == 0 || length >= MAX_PATH * 4) return path;
  return std::wstring(buffer, length);
}

// Makes every missing folder above the link, as "mkdir -p" would.
bool MakeParents(const std::wstring& linkPath) {
  const auto slash = linkPath.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return true;
  const std::wstring folder = linkPath.substr(0, slash);
  const int result = SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  return result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS || result == ERROR_FILE_EXISTS;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3 || argc > 5) {
    fputws(L"usage: whmklink LINKPATH TARGET [ARGUMENTS] [WORKDIR]\n", stderr);
    return 2;
  }
  const std::wstring linkPath = FullPath(argv[1]);
  if (!MakeParents(linkPath)) {
    fwprintf(stderr, L"whmklink: cannot make the folders of %ls\n", linkPath.c_str());
    return 1;
  }
  ComApartment com;
  if (FAILED(com.Result())) return Fail(L"CoInitializeEx", com.Result());
  ComPtr<IShellLinkW> link;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    link.Receive());
  if (FAILED(result)) return Fail(L"CoCreateInstance(ShellLink)", result);
  if (FAILED(result = link->SetPath(argv[2]))) return Fail(L"SetPath", result);
  if (argc > 3 && FAILED(result = link->SetArguments(argv[3]))) {
    return Fail(L"SetArguments", result);
  }
  if (argc > 4 && FAILED(result = link->SetWorkingDirectory(argv[4]))) {
    return Fail(L"SetWorkingDirectory", result);
  }
  ComPtr<IPersistFile> file;
  if (FAILED(result = link->QueryInterface(IID_IPersistFile, file.Receive()))) {
    return Fail(L"QueryInterface(IPersistFile)", result);
  }
  if (FAILED(result = file->Save(linkPath.c_str(), TRUE))) return Fail(L"Save", result);
  return 0;
}
