#include "win32/win32_packaged_apps.h"

// windows.h first: the shell headers build on its macros.
#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <memory>

#include "win32/scoped_handle.h"
#include "win32/utf16.h"

namespace wh {

bool IsAppUserModelId(const std::wstring& parsingName) {
  const std::size_t bang = parsingName.find(L'!');
  if (bang == std::wstring::npos || bang == 0 || bang + 1 == parsingName.size()) return false;
  // Desktop programs appear with their path ("C:\...\app.exe") or a known
  // folder's GUID ("{6D809377-...}\app.exe"); neither is packaged.
  return parsingName.find_first_of(L"\\/:{") == std::wstring::npos;
}

namespace {

struct CoFree {
  void operator()(wchar_t* text) const { CoTaskMemFree(text); }
};

std::wstring ItemName(IShellItem& item, SIGDN form) {
  wchar_t* raw = nullptr;
  if (FAILED(item.GetDisplayName(form, &raw)) || raw == nullptr) return {};
  const std::unique_ptr<wchar_t, CoFree> owned(raw);
  return owned.get();
}

}  // namespace

std::vector<PackagedApp> Win32PackagedApps::List() const {
  std::vector<PackagedApp> apps;
  // The load runs on a thread of its own, which has no COM yet.
  const ComApartment com(COINIT_MULTITHREADED);
  ComPtr<IShellItem> folder;
  // Before Windows 10, and under Wine, there is no such folder: no apps.
  if (FAILED(SHGetKnownFolderItem(FOLDERID_AppsFolder, KF_FLAG_DEFAULT, nullptr, IID_IShellItem,
                                  folder.Receive()))) {
    return apps;
  }
  ComPtr<IEnumShellItems> items;
  if (FAILED(
          folder->BindToHandler(nullptr, BHID_EnumItems, IID_IEnumShellItems, items.Receive()))) {
    return apps;
  }
  for (;;) {
    ComPtr<IShellItem> item;
    if (items->Next(1, reinterpret_cast<IShellItem**>(item.Receive()), nullptr) != S_OK) break;
    const std::wstring id = ItemName(*item.Get(), SIGDN_PARENTRELATIVEPARSING);
    if (!IsAppUserModelId(id)) continue;
    const std::wstring name = ItemName(*item.Get(), SIGDN_NORMALDISPLAY);
    if (name.empty()) continue;
    apps.push_back({WideToUtf8(name), WideToUtf8(id)});
  }
  return apps;
}

}  // namespace wh
