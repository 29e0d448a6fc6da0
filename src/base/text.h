// Byte-level text helpers shared by the index: ASCII-only case mapping (other
// characters keep their case, as every comparison here requires) and UTF-8
// character steps.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace wh {

inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
inline char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);

// True when every byte is a printable ASCII character (blank to tilde).
bool IsPrintableAscii(std::string_view text);

// Equal when the texts differ at most in the case of ASCII letters.
bool AsciiEqualIgnoringCase(std::string_view a, std::string_view b);

// True when the text is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

// The text as well-formed UTF-8: its UTF-8 characters as they are, each
// other byte read as a Latin-1 character (a file name written in Latin-1
// shows as the user wrote it).
std::string Latin1ForInvalidUtf8(std::string_view text);

// The length in bytes of the character that starts at `pos`: a whole UTF-8
// sequence, or 1 for a byte that starts none (so invalid text still advances
// one byte per character).
std::size_t CharLength(std::string_view text, std::size_t pos);

// How many characters `text` holds, counted as CharLength steps through it.
std::size_t CharCount(std::string_view text);

}  // namespace wh
