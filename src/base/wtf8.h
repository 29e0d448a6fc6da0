// UTF-16 and its 8-bit form. Windows file names are sequences of 16-bit units
// that need not be valid UTF-16 (an unpaired surrogate is a legal NTFS
// name), so they are carried as WTF-8: UTF-8 that may also encode a lone
// surrogate in three bytes. Every UTF-16 text survives the round trip, and
// valid UTF-16 gives plain UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace wh {

// Appends the UTF-8 form of `code`; a lone surrogate is encoded like any
// other code point (three bytes), as WTF-8 does.
void AppendUtf8(std::string& out, char32_t code);

// Each unit pair becomes one 4-byte sequence; an unpaired surrogate becomes
// its own 3-byte sequence (ED A0..BF xx).
std::string Utf16ToWtf8(std::u16string_view text);

// The inverse of Utf16ToWtf8. A byte that starts no UTF-8 or surrogate
// sequence becomes U+FFFD.
std::u16string Wtf8ToUtf16(std::string_view text);

}  // namespace wh
