#include "win32/win32_key_names.h"

#include <windows.h>

#include "win32/utf16.h"

namespace wh {

// Keys whose scan code is shared with a key of the numeric keypad or the main
// block and that the keyboard sends with the E0 prefix: without the extended
// bit the layout would name the other key (Num 7 instead of Home).
bool IsExtendedKey(int virtualKey) {
  switch (virtualKey) {
    case VK_CANCEL:  // Break
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_INSERT:
    case VK_DELETE:
    case VK_LWIN:
    case VK_RWIN:
    case VK_APPS:
    case VK_SNAPSHOT:
    case VK_DIVIDE:
    case VK_NUMLOCK:
    case VK_RCONTROL:
    case VK_RMENU:
      return true;
    default:
      return false;
  }
}

namespace {

// Browser, volume, media and launch keys send E0 and a scan code of the main
// block; the layouts name only the main-block key (Volume Up would be "B").
bool IsMediaKey(int virtualKey) {
  return virtualKey >= VK_BROWSER_BACK && virtualKey <= VK_LAUNCH_APP2;
}

}  // namespace

std::string Win32KeyNames::LayoutKeyName(int virtualKey) const {
  if (virtualKey < 1 || virtualKey > 255 || IsMediaKey(virtualKey)) return {};
  const UINT scanCode = MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC);
  if (scanCode == 0) return {};
  LONG keyData = static_cast<LONG>((scanCode & 0xFF) << 16);
  if (IsExtendedKey(virtualKey)) keyData |= 1L << 24;
  wchar_t name[64];
  const int length = GetKeyNameTextW(keyData, name, static_cast<int>(std::size(name)));
  if (length <= 0) return {};
  // Wine answers a key without a name with one zero character.
  std::wstring_view text(name, static_cast<std::size_t>(length));
  return WideToUtf8(text.substr(0, text.find(L'\0')));
}

}  // namespace wh
