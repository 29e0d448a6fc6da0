// The one place where the program's UTF-8 text meets the UTF-16 of the wide
// Win32 functions. Everything inside the program stays UTF-8; convert at the
// call and convert the answer back.
#pragma once

#include <string>
#include <string_view>

namespace wh {

// The text inside is WTF-8 (base/wtf8.h), so that a file name with an
// unpaired surrogate comes back whole. Bytes that are not valid UTF-8 become
// U+FFFD.
std::wstring Utf8ToWide(std::string_view text);

// Unpaired surrogates are kept, each in its own 3-byte sequence.
std::string WideToUtf8(std::wstring_view text);

}  // namespace wh
