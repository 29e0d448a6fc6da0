#include "win32/win32_number_format.h"

#include <windows.h>

#include "win32/utf16.h"

namespace wh {

std::string Win32NumberFormat::ThousandsSeparator() const {
  // The system allows at most three characters and the zero.
  wchar_t separator[8] = {};
  const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, separator,
                                     static_cast<int>(std::size(separator)));
  if (length <= 1) return {};
  return WideToUtf8(std::wstring_view(separator, length - 1));
}

}  // namespace wh
