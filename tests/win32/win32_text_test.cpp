// Conversions, the locale's order and number format.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "win32/utf16.h"
#include "win32/win32_collation.h"
#include "win32/win32_number_format.h"
#include "win32/win32_text_encoding.h"

namespace wh {
namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

TEST(Utf16Test, ConvertsEveryPlaneAndReplacesBrokenText) {
  struct Case {
    std::string utf8;
    std::wstring wide;
    bool roundTrip;
  };
  const std::vector<Case> cases = {
      {"", L"", true},
      {"notepad.lnk", L"notepad.lnk", true},
      {"Ärger Été", L"\u00C4rger \u00C9t\u00E9", true},
      {"日本語", L"\u65E5\u672C\u8A9E", true},
      {"😀", L"\xD83D\xDE00", true},  // outside the BMP: a surrogate pair
      {std::string("a\0b", 3), std::wstring(L"a\0b", 3), true},
      {"a\xFF"
       "b",
       L"a\xFFFD"
       L"b",
       false},                     // not UTF-8
      {"\xC3", L"\xFFFD", false},  // cut in the middle of a character
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(Utf8ToWide(c.utf8), c.wide);
    if (c.roundTrip) {
      EXPECT_EQ(WideToUtf8(c.wide), c.utf8);
    }
  }
  // A lone surrogate, which an NTFS name may hold, survives the round trip.
  const std::wstring lone(
      L"a\xD800"
      L"b");
  EXPECT_EQ(Utf8ToWide(WideToUtf8(lone)), lone);
}

TEST(Win32CollationTest, IgnoresCaseInEveryScriptAndSortKeysAgree) {
  Win32Collation collation;
  struct Pair {
    std::string a;
    std::string b;
    int order;
  };
  const std::vector<Pair> pairs = {
      {"Été", "ÉTÉ", 0},     {"ärger", "ÄRGER", 0},   {"WordPad", "wordpad", 0},
      {"ΣΟΦΊΑ", "σοφία", 0}, {"ПРИВЕТ", "привет", 0}, {"word", "WordPad", -1},
      {"Zebra", "apple", 1}, {"Ete", "Été", -1},  // accents still count
      {"", "a", -1},
  };
  for (const Pair& p : pairs) {
    SCOPED_TRACE(p.a + " / " + p.b);
    EXPECT_EQ(Sign(collation.Compare(p.a, p.b)), p.order);
    EXPECT_EQ(Sign(collation.Compare(p.b, p.a)), -p.order);
    EXPECT_EQ(collation.SortKey(p.a) == collation.SortKey(p.b), p.order == 0);
  }

  // Every pair of a mixed table: the sort keys order as Compare does.
  const std::vector<std::string> words = {
      "apple",   "Apple",  "Äpfel",  "apfel",  "Zebra",   "zebra", "Été",
      "ete",     "ÉTÉ",    "co-op",  "coop",   "co op",   "a b",   "ab",
      "10",      "9",      "",       "日本",   "中文",    "😀",     "Ωmega",
      "ωMEGA",   "résumé", "resume", "RÉSUMÉ", "Ärger",   "Arger", "Acrobat Reader",
      "acrobat", "x.lnk",  "x_lnk",  "Ölfeld", "oelfeld", "Øre",   "ære",
      "Straße",  "STRASSE"};
  for (const std::string& a : words) {
    for (const std::string& b : words) {
      const int byKeys = Sign(collation.SortKey(a).compare(collation.SortKey(b)));
      EXPECT_EQ(byKeys, Sign(collation.Compare(a, b))) << "'" << a << "' and '" << b << "'";
    }
  }
}

TEST(Win32NumberFormatTest, SeparatorIsTheOneTheLocaleGroupsWith) {
  const std::string separator = Win32NumberFormat().ThousandsSeparator();
  ASSERT_FALSE(separator.empty());
  // The locale's own formatting of a seven-digit number, digits taken out,
  // starts with its group separator (then comes the decimal part, if any).
  wchar_t formatted[64];
  ASSERT_GT(GetNumberFormatEx(LOCALE_NAME_USER_DEFAULT, 0, L"1234567", nullptr, formatted, 64), 0);
  std::wstring punctuation;
  for (const wchar_t* c = formatted; *c != L'\0'; ++c) {
    if (*c < L'0' || *c > L'9') punctuation += *c;
  }
  EXPECT_TRUE(punctuation.starts_with(Utf8ToWide(separator))) << WideToUtf8(formatted);
}

TEST(Win32TextEncodingTest, AnsiTextBecomesUtf8) {
  Win32TextEncoding encoding;
  EXPECT_EQ(encoding.SystemCodePageToUtf8(""), "");
  EXPECT_EQ(encoding.SystemCodePageToUtf8("notepad=C:\\x"), "notepad=C:\\x");
  // Each byte means what the system's own conversion makes of it.
  for (int byte = 1; byte < 256; ++byte) {
    const char text[] = {static_cast<char>(byte), 'x'};
    wchar_t wide[4] = {};
    const int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, 2, wide, 4);
    const std::string utf8 = encoding.SystemCodePageToUtf8(std::string_view(text, 2));
    if (length > 0) {
      EXPECT_EQ(utf8, WideToUtf8(std::wstring_view(wide, length))) << byte;
    } else {
      EXPECT_EQ(utf8, "\xEF\xBF\xBDx") << byte;
    }
  }
  if (GetACP() == 1252) {
    EXPECT_EQ(encoding.SystemCodePageToUtf8("\xC4rger \x80"), "Ärger €");
  }
}

}  // namespace
}  // namespace wh
