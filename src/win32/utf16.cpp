#include "win32/utf16.h"

#include <windows.h>

#include <climits>
#include <stdexcept>

namespace wh {

namespace {

// The conversion functions count in int; no text of this program comes near.
int CheckedLength(std::size_t size) {
  if (size > static_cast<std::size_t>(INT_MAX)) throw std::length_error("text too long to convert");
  return static_cast<int>(size);
}

}  // namespace

std::wstring Utf8ToWide(std::string_view text) {
  if (text.empty()) return {};
  const int inLength = CheckedLength(text.size());
  const int outLength = MultiByteToWideChar(CP_UTF8, 0, text.data(), inLength, nullptr, 0);
  if (outLength <= 0) return {};
  std::wstring result(outLength, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), inLength, result.data(), outLength);
  return result;
}

std::string WideToUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int inLength = CheckedLength(text.size());
  const int outLength =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), inLength, nullptr, 0, nullptr, nullptr);
  if (outLength <= 0) return {};
  std::string result(outLength, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), inLength, result.data(), outLength, nullptr,
                      nullptr);
  return result;
}

}  // namespace wh
