#include "win32/win32_collation.h"

#include <windows.h>

#include "win32/utf16.h"

namespace wh {

namespace {

constexpr DWORD kCompareFlags = NORM_IGNORECASE;

}  // namespace

int Win32Collation::Compare(std::string_view a, std::string_view b) const {
  const std::wstring wideA = Utf8ToWide(a);
  const std::wstring wideB = Utf8ToWide(b);
  const int result = CompareStringEx(LOCALE_NAME_USER_DEFAULT, kCompareFlags, wideA.data(),
                                     static_cast<int>(wideA.size()), wideB.data(),
                                     static_cast<int>(wideB.size()), nullptr, nullptr, 0);
  if (result != 0) return result - CSTR_EQUAL;
  // The locale failed us; an order by code units is still an order.
  return wideA.compare(wideB);
}

std::string Win32Collation::SortKey(std::string_view text) const {
  const std::wstring wide = Utf8ToWide(text);
  const int length = static_cast<int>(wide.size());
  const DWORD flags = LCMAP_SORTKEY | kCompareFlags;
  const int needed = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, wide.data(), length, nullptr, 0,
                                   nullptr, nullptr, 0);
  if (needed > 0) {
    // With LCMAP_SORTKEY the output is bytes, and the count is in bytes.
    std::string key(needed, '\0');
    const int got =
        LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, wide.data(), length,
                      reinterpret_cast<LPWSTR>(key.data()), needed, nullptr, nullptr, 0);
    if (got > 0) {
      key.resize(got);
      // The closing zero byte adds nothing to the order.
      if (!key.empty() && key.back() == '\0') key.pop_back();
      return key;
    }
  }
  // Matches Compare's fallback: code units, high byte first.
  std::string key;
  key.reserve(wide.size() * 2);
  for (wchar_t unit : wide) {
    key.push_back(static_cast<char>((unit >> 8) & 0xFF));
    key.push_back(static_cast<char>(unit & 0xFF));
  }
  return key;
}

}  // namespace wh
