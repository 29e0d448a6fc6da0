#include "win32/utf16.h"

#include "base/wtf8.h"

namespace wh {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

std::wstring Utf8ToWide(std::string_view text) {
  const std::u16string units = Wtf8ToUtf16(text);
  return std::wstring(units.begin(), units.end());
}

std::string WideToUtf8(std::wstring_view text) {
  return Utf16ToWtf8(
      std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

}  // namespace wh
