#include "win32/win32_text_encoding.h"

#include <windows.h>

#include <climits>
#include <stdexcept>

#include "win32/utf16.h"

namespace wh {

namespace {

// Converts the whole text or nothing: MB_ERR_INVALID_CHARS makes the system
// fail rather than put in the code page's own default character.
bool ConvertStrict(UINT codePage, std::string_view bytes, std::wstring& out) {
  const int inLength = static_cast<int>(bytes.size());
  const int length =
      MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), inLength, nullptr, 0);
  if (length <= 0) return false;
  const std::size_t old = out.size();
  out.resize(old + length);
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), inLength, out.data() + old,
                      length);
  return true;
}

}  // namespace

std::string Win32TextEncoding::SystemCodePageToUtf8(std::string_view bytes) const {
  if (bytes.empty()) return {};
  if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
    throw std::length_error("text too long to convert");
  }
  const UINT codePage = GetACP();
  if (codePage == CP_UTF8) return WideToUtf8(Utf8ToWide(bytes));

  std::wstring wide;
  if (ConvertStrict(codePage, bytes, wide)) return WideToUtf8(wide);
  // Some byte has no character: go character by character (one byte, or a
  // lead byte and its trail byte) and put U+FFFD where the code page fails.
  wide.clear();
  for (std::size_t at = 0; at < bytes.size();) {
    std::size_t length = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(bytes[at])) ? 2 : 1;
    length = std::min(length, bytes.size() - at);
    if (ConvertStrict(codePage, bytes.substr(at, length), wide)) {
      at += length;
    } else {
      wide.push_back(L'\xFFFD');
      at += 1;
    }
  }
  return WideToUtf8(wide);
}

}  // namespace wh
