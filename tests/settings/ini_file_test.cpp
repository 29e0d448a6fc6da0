#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include "fakes/fake_text_encoding.h"

namespace wh {
namespace {

IniDocument Doc(std::string_view bytes) {
  return IniDocument::Parse(bytes, testing::FakeTextEncoding());
}

TEST(IniDocumentTest, ReadsValuesAsTheProfileFunctionsDo) {
  using V = std::optional<std::string>;
  const std::string a2046(2046, 'a');
  const std::pair<std::string, V> cases[] = {
      // file, value of key k in section D
      {"[D]\r\nk=v\r\n", "v"},
      {"[d]\r\nK=v", "v"},
      {"[D]\r\nj=v\r\n", {}},
      {"[E]\r\nk=v", {}},
      {"[D]\r\n[E]\r\nk=v", {}},
      {"k=v\r\n[D]", {}},
      {"[D]\r\nk=\r\n", ""},
      {" \t[ D\t]  \r\n\t k  =  v w \t\r\n", "v w"},
      {"[D]\r\nk=a=b", "a=b"},
      {"[D]\r\nk=\" a \"", " a "},
      {"[D]\r\nk='x'", "x"},
      {"[D]\r\nk=\"\"x\"\"", "\"x\""},
      {"[D]\r\nk=\"x'", "\"x'"},
      {"[D]\r\nk=\"", "\""},
      {"[D]\r\nk=1\r\nk=2", "1"},
      {"[D]\r\na=1\r\n[D]\r\nk=2", {}},
      {"[D]\r\n;k=1\r\nk=2", "2"},
      {"[D]\r\nk\r\nk=2", "2"},
      {"[D  \r\nk=1", "1"},
      {"[D]x]\r\nk=1", "1"},
      {"[D] k=1\r\nk=2", "2"},
      {"[D]\nj=1\nk=2\n", "2"},
      {"[D]\rj=1\rk=2\r", "2"},
      {"\xEF\xBB\xBF[D]\r\nk=\xC3\xA9", "\xC3\xA9"},
      {"[D]\r\nk=\xE9t\xE9", "\xC3\xA9t\xC3\xA9"},
      {"\xEF\xBB\xBF[D]\r\nk=\xE9", "\xC3\xA9"},
      {std::string("\0\xFF[D]\r\nk=1", 10), {}},
      {"[D]\r\nk=" + std::string(2100, 'v'), std::string(2047, 'v')},
      {"[D]\r\nk=\"" + std::string(2047, 'q') + "\"", std::string(2047, 'q')},
      // 2047 UTF-16 units: a character is cut whole, never split.
      {"[D]\r\nk=" + a2046 + "\xF0\x9F\x98\x80", a2046},
      {"[D]\r\nk=" + a2046 + "\xC3\xA9xyz", a2046 + "\xC3\xA9"},
  };
  for (const auto& [file, expected] : cases) EXPECT_EQ(Doc(file).Read("D", "k"), expected) << file;
}

TEST(IniDocumentTest, WritesChangeOnlyWhatTheyMust) {
  struct Case {
    std::string before;
    const char* section;
    const char* value;
    std::string after;  // key k
  };
  const Case cases[] = {
      {";c\r\n[S]\r\nK=old\r\nx=1\r\n", "s", "new", ";c\r\n[S]\r\nK=new\r\nx=1\r\n"},
      {"[S]\r\n  k =  old  ;\r\n", "S", "v", "[S]\r\n  k =  v\r\n"},
      {"[S]\r\nk=\r\nj=1", "S", "v", "[S]\r\nk=v\r\nj=1"},
      {"[S]\r\nk=1\r\nk=2\r\n[S]\r\nk=3", "S", "", "[S]\r\nk=\r\nk=2\r\n[S]\r\nk=3"},
      {"[A]\r\na=1\r\n\r\n;B\r\n[B]", "A", "v", "[A]\r\na=1\r\nk=v\r\n\r\n;B\r\n[B]"},
      {"[A]\r\n[B]\r\n[A]\r\n", "A", "v", "[A]\r\nk=v\r\n[B]\r\n[A]\r\n"},
      {"[A]\r\na=1", "A", "v", "[A]\r\na=1\r\nk=v\r\n"},
      {"[A]\r\na=1", "B", "v", "[A]\r\na=1\r\n[B]\r\nk=v\r\n"},
      {"", "B", "v", "[B]\r\nk=v\r\n"},
      {"[A]\na=1\n", "A", "v", "[A]\na=1\nk=v\n"},
      {"[A]\ra=1\r", "B", "v", "[A]\ra=1\r[B]\rk=v\r"},
      {"\xEF\xBB\xBF", "A", "v", "\xEF\xBB\xBF[A]\r\nk=v\r\n"},
      {"[A]\r\nx=\xE9\r\n", "A", "a=b", "[A]\r\nx=\xC3\xA9\r\nk=a=b\r\n"},
      {"", "A", " v ", "[A]\r\nk=\" v \"\r\n"},
  };
  for (const Case& c : cases) {
    IniDocument doc = Doc(c.before);
    ASSERT_TRUE(doc.Write(c.section, "k", c.value)) << c.before;
    EXPECT_EQ(doc.Text(), c.after) << c.before;
  }
}

TEST(IniDocumentTest, WrittenValuesReadBackUnchanged) {
  for (const char* value : {"", " lead", "trail ", "\"q\"", "'q'", "\"", "\"x'", "\t", "\"\"",
                            "  \"both\"  ", ";semi", "[x]"}) {
    for (const char* before : {"", "[S]\r\nk=old\r\n"}) {
      IniDocument doc = Doc(before);
      ASSERT_TRUE(doc.Write("S", "k", value));
      EXPECT_EQ(Doc(doc.Text()).Read("S", "k"), value) << value;
    }
  }
}

TEST(IniDocumentTest, RefusesWhatWouldBreakTheFile) {
  const std::string before = "[S]\r\nk=old\r\n";
  const std::tuple<const char*, const char*, std::string> cases[] = {
      {"S", "k", "a\r\nb=1"},
      {"S", "k", "a\nb"},
      {"S", "k", "a\rb"},
      {"S", "k", std::string("a\0b", 3)},
      {"S", "k=1", "v"},
      {"S", "k\nj", "v"},
      {"S", "[T]", "v"},
      {"S", ";k", "v"},
      {"S", " ", "v"},
      {"", "k", "v"},
      {"S]x", "k", "v"},
      {"S\n[T", "k", "v"},
      // Bytes that are no UTF-8 would turn the whole file into the legacy
      // code page at the next read; a value longer than a read gives back
      // would come back cut.
      {"S", "k", "caf\xE9"},
      {"S", "k\xFF", "v"},
      {"S\xC3", "k", "v"},
      {"S", "k", std::string(2048, 'x')},
  };
  for (const auto& [section, key, value] : cases) {
    IniDocument doc = Doc(before);
    EXPECT_FALSE(doc.Write(section, key, value)) << section << "/" << key;
    EXPECT_EQ(doc.Text(), before);
  }
  // The longest value a read gives back is written; in UTF-16 units, so
  // 1023 characters outside the BMP (two units each) and one more fit.
  IniDocument doc = Doc(before);
  EXPECT_TRUE(doc.Write("S", "k", std::string(2047, 'x')));
  std::string astral;
  for (int i = 0; i < 1023; ++i) astral += "\xF0\x9F\x98\x80";
  EXPECT_TRUE(doc.Write("S", "k", astral + "x"));
  EXPECT_EQ(doc.Read("S", "k"), astral + "x");
  EXPECT_FALSE(doc.Write("S", "k", astral + "xy"));
}

// UTF-16 bytes in the given byte order, with the byte-order mark.
std::string Utf16(std::u16string_view text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

TEST(IniDocumentTest, Utf16FilesAreReadAndWrittenBackWhole) {
  for (bool bigEndian : {false, true}) {
    SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
    IniDocument doc =
        Doc(Utf16(u"[Form]\r\nHotKey=F6\r\n[Directories]\r\nUserDir=C:\\\u00C4rger\\\U0001F600\r\n"
                  u"[Program]\r\nFirstShow=1\r\n",
                  bigEndian));
    EXPECT_EQ(doc.Read("Form", "HotKey"), "F6");
    EXPECT_EQ(doc.Read("Directories", "UserDir"), "C:\\\xC3\x84rger\\\xF0\x9F\x98\x80");
    EXPECT_EQ(doc.Read("Program", "FirstShow"), "1");

    ASSERT_TRUE(doc.Write("Form", "FormTop", "12"));
    ASSERT_TRUE(doc.Write("Directories", "UserDir", "C:\\\xC3\x89t\xC3\xA9"));
    ASSERT_TRUE(doc.Write("New", "Key", "v"));
    EXPECT_EQ(doc.Bytes(), Utf16(u"[Form]\r\nHotKey=F6\r\nFormTop=12\r\n[Directories]\r\n"
                                 u"UserDir=C:\\\u00C9t\u00E9\r\n[Program]\r\nFirstShow=1\r\n"
                                 u"[New]\r\nKey=v\r\n",
                                 bigEndian));
  }
  // A lone surrogate is kept as the wide functions' answers keep it; an odd
  // last byte is no character.
  EXPECT_EQ(Doc(Utf16(u"[S]\nk=a\xD800\n", false) + "x").Read("S", "k"), "a\xED\xA0\x80");
  // UTF-8 stays UTF-8; a file in the legacy code page goes back as UTF-8.
  EXPECT_EQ(Doc("[S]\nk=\xC3\xA9\n").Bytes(), "[S]\nk=\xC3\xA9\n");
  EXPECT_EQ(Doc("[S]\nk=\xE9\n").Bytes(), "[S]\nk=\xC3\xA9\n");
}

}  // namespace
}  // namespace wh
