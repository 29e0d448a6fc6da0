// The settings file against the system's own profile functions: what
// IniDocument reads and writes must mean what GetPrivateProfileStringW and
// WritePrivateProfileStringW make of the same file.
#include "settings/ini_file.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "win32/temporary_folder.h"
#include "win32/utf16.h"
#include "win32/win32_file_system.h"
#include "win32/win32_text_encoding.h"

namespace wh {
namespace {

using testing::TemporaryFolder;
using testing::WriteTestFile;

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr wchar_t kAbsent[] = L"\x01<absent>";

std::optional<std::string> SystemRead(const std::string& file, const std::string& section,
                                      const std::string& key) {
  // The size the program reads with: at most 2047 characters and the zero.
  std::wstring value(IniDocument::kMaxValueLength + 1, L'\0');
  const DWORD length = GetPrivateProfileStringW(
      Utf8ToWide(section).c_str(), Utf8ToWide(key).c_str(), kAbsent, value.data(),
      static_cast<DWORD>(value.size()), ExtendedLengthPath(file).c_str());
  value.resize(length);
  if (value == kAbsent) return std::nullopt;
  return WideToUtf8(value);
}

// A list of zero-terminated texts, as the profile functions give names.
std::vector<std::string> SplitNames(const std::wstring& buffer, DWORD length) {
  std::vector<std::string> names;
  std::size_t start = 0;
  for (std::size_t i = 0; i < length; ++i) {
    if (buffer[i] == L'\0') {
      if (i > start) names.push_back(WideToUtf8(buffer.substr(start, i - start)));
      start = i + 1;
    }
  }
  return names;
}

std::vector<std::string> SystemSections(const std::string& file) {
  std::wstring buffer(1 << 16, L'\0');
  const DWORD length = GetPrivateProfileSectionNamesW(buffer.data(), buffer.size(),
                                                      ExtendedLengthPath(file).c_str());
  return SplitNames(buffer, length);
}

std::vector<std::string> SystemKeys(const std::string& file, const std::string& section) {
  std::wstring buffer(1 << 16, L'\0');
  const DWORD length =
      GetPrivateProfileStringW(Utf8ToWide(section).c_str(), nullptr, L"", buffer.data(),
                               buffer.size(), ExtendedLengthPath(file).c_str());
  return SplitNames(buffer, length);
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return text;
}

// Everything the system reads from a file: section, key (both upper-cased,
// since case doesn't count) and value.
std::map<std::pair<std::string, std::string>, std::optional<std::string>> SystemMeaning(
    const std::string& file, const std::set<std::string>& sections,
    const std::set<std::pair<std::string, std::string>>& keys) {
  std::map<std::pair<std::string, std::string>, std::optional<std::string>> meaning;
  for (const auto& [section, key] : keys) {
    meaning[{Upper(section), Upper(key)}] = SystemRead(file, section, key);
  }
  for (const std::string& section : sections) {
    for (const std::string& key : SystemKeys(file, section)) {
      meaning[{Upper(section), Upper(key)}] = SystemRead(file, section, key);
    }
  }
  return meaning;
}

// Whether the system's profile functions take a UTF-8 byte-order mark as one
// (Wine's do); where they don't, the cases that need one are left out.
bool SystemReadsUtf8Bom(const std::string& dir) {
  const std::string file = dir + "bom-probe.ini";
  WriteTestFile(file, std::string(kBom) + "[s]\r\nk=\xC3\xA4\r\n");
  return SystemRead(file, "s", "k") == "\xC3\xA4";
}

// UTF-8 text as UTF-16 with its byte-order mark, as Notepad saves "Unicode"
// (little-endian) and "Unicode big endian".
std::string Utf16File(const std::string& text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (wchar_t unit : Utf8ToWide(text)) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

struct ReadCase {
  const char* what;
  std::string bytes;
  std::vector<std::pair<std::string, std::string>> keys;
  bool utf8Bom = false;
};

TEST(IniFileTest, ReadsWhatTheSystemReads) {
  TemporaryFolder folder("wh-ini-read");
  const bool bomKnown = SystemReadsUtf8Bom(folder.Path());
  std::cout << "[   INFO   ] the profile functions read a UTF-8 BOM: " << (bomKnown ? "yes" : "no")
            << "\n";

  const std::string longValue(2100, 'v');
  const std::vector<ReadCase> cases = {
      {"CR LF lines, case of sections and keys",
       "[Form]\r\nHotKey=F4\r\nFormTop=10\r\n[Program]\r\nShowTitleBar=1\r\n[FoRm2]\r\n"
       "hOtKeY=x\r\n",
       {{"Form", "HotKey"},
        {"form", "hotkey"},
        {"FORM", "HOTKEY"},
        {"Form", "FormTop"},
        {"Program", "ShowTitleBar"},
        {"Form2", "HotKey"},
        {"Form", "Missing"},
        {"Missing", "HotKey"},
        {"Program", "HotKey"}}},
      {"LF lines, no line end at the end",
       "[Form]\nHotKey=F4\n[Program]\nShowTitleBar=0",
       {{"Form", "HotKey"}, {"Program", "ShowTitleBar"}}},
      {"blanks around names and values",
       "  [Form]  \n  HotKey  =   Ctrl+Alt+Q   \n\tTab\t=\tvalue\t\nInner=a  b\n"
       "Equals = a=b \n",
       {{"Form", "HotKey"}, {"Form", "Tab"}, {"Form", "Inner"}, {"Form", "Equals"}}},
      {"quotes",
       "[Q]\nDouble=\"quoted\"\nSingle='single'\nOpen=\"unbalanced\nSpaced= \" inner \" \n"
       "Mixed=\"a'\nTwice=\"\"x\"\"\nLone=\"\nEmpty=\"\"\nInside=a\"b\"c\n",
       {{"Q", "Double"},
        {"Q", "Single"},
        {"Q", "Open"},
        {"Q", "Spaced"},
        {"Q", "Mixed"},
        {"Q", "Twice"},
        {"Q", "Lone"},
        {"Q", "Empty"},
        {"Q", "Inside"}}},
      {"duplicate keys and sections",
       "[Form]\nHotKey=F1\nhotkey=F2\n[Other]\nx=1\n[form]\nHotKey=F3\nLater=n\n",
       {{"Form", "HotKey"}, {"Other", "x"}}},
      {"empty values and missing keys",
       "[S]\nEmpty=\nBlank=   \nNoValue\n=nameless\nAfter=1\n",
       {{"S", "Empty"}, {"S", "Blank"}, {"S", "After"}, {"S", "Missing"}}},
      {"comments and lines outside sections",
       "Orphan=1\n; a comment\n[S]\n;Commented=1\nValue=v ; not a comment\n",
       {{"S", "Orphan"}, {"S", "Value"}, {"S", "Commented"}}},
      {"values longer than 2047 characters",
       "[S]\nLong=" + longValue + "\nAfter=1\n",
       {{"S", "Long"}, {"S", "After"}}},
      {"text in the ANSI code page", "[S]\nName=\xC4rger \xE9t\xE9\n", {{"S", "Name"}}},
      {"UTF-8 with a byte-order mark",
       std::string(kBom) + "[Form]\r\nHotKey=F4\r\nName=Ärger Été Ελληνικά 日本語 😀\r\n",
       {{"Form", "HotKey"}, {"Form", "Name"}},
       true},
      {"UTF-16 little-endian",
       Utf16File("[Form]\r\nHotKey=Ctrl+F6\r\n[Directories]\r\nUserDir=C:\\\xC3\x84rger "
                 "\xE6\x97\xA5\xF0\x9F\x98\x80\r\n[Program]\r\nFirstShow=1\r\n",
                 false),
       {{"Form", "HotKey"}, {"Directories", "UserDir"}, {"Program", "FirstShow"}}},
      {"UTF-16 big-endian",
       Utf16File("[Form]\nHotKey=F6\n[Program]\nFirstShow=1\n", true),
       {{"Form", "HotKey"}, {"Program", "FirstShow"}}},
      {"a long UTF-8 value with a byte-order mark",
       std::string(kBom) + "[S]\nLong=" +
           [] {
             std::string text;
             for (int i = 0; i < 2100; ++i) text += "é";
             return text;
           }() +
           "\n",
       {{"S", "Long"}},
       true},
  };

  Win32TextEncoding encoding;
  int number = 0;
  for (const ReadCase& c : cases) {
    if (c.utf8Bom && !bomKnown) continue;
    SCOPED_TRACE(c.what);
    const std::string file = folder.Path() + "read" + std::to_string(++number) + ".ini";
    WriteTestFile(file, c.bytes);
    const IniDocument document = IniDocument::Parse(c.bytes, encoding);
    for (const auto& [section, key] : c.keys) {
      EXPECT_EQ(document.Read(section, key), SystemRead(file, section, key))
          << "[" << section << "] " << key;
    }
  }
}

struct Edit {
  std::string section;
  std::string key;
  std::string value;
};

struct WriteCase {
  const char* what;
  std::optional<std::string> bytes;  // nullopt: no file yet
  std::vector<Edit> edits;
  bool utf8Bom = false;
};

TEST(IniFileTest, WritesMeanWhatTheSystemWrites) {
  TemporaryFolder folder("wh-ini-write");
  const bool bomKnown = SystemReadsUtf8Bom(folder.Path());
  const std::vector<Edit> settingsEdits = {
      {"form", "hotkey", "Ctrl+Alt+Q"},
      {"Directories", "UserMasks", "xls doc pdf"},
      {"Program", "FirstShow", "1"},
      {"New Section", "Key", "value"},
      {"Form", "FormTop", ""},
      {"Directories", "IgnoreList", "the of and"},
      {"Directories", "UserDir", "C:\\Program Files"},
      {"New Section", "Second", "2"},
  };
  const std::vector<WriteCase> cases = {
      {"CR LF file",
       "[Form]\r\nHotKey=F4\r\n\r\n[Directories]\r\nUserDir=C:\\x\r\n[Program]\r\n"
       "FirstShow=0\r\n",
       settingsEdits},
      {"LF file without a last line end",
       "[Form]\nHotKey=F4\n[Directories]\nUserDir=C:\\x\n[Program]\nFirstShow=0", settingsEdits},
      {"missing file", std::nullopt, settingsEdits},
      {"empty file", "", settingsEdits},
      {"blanks, comments and unknown keys",
       "; settings\n  [Form]  \n  HotKey = F4 \nUnknown=kept\n\n[Other]\nx=1\n",
       {{"Form", "HotKey", "F5"}, {"Form", "FormLeft", "-20"}, {"Other", "y", "2"}}},
      {"duplicate keys and sections",
       "[Form]\nHotKey=F1\nHotKey=F2\n[Other]\nx=1\n[form]\nHotKey=F3\n",
       {{"Form", "HotKey", "F9"}, {"FORM", "Added", "a"}}},
      {"UTF-16 little-endian",
       Utf16File("[Form]\r\nHotKey=F4\r\n[Directories]\r\nUserDir=C:\\\xC3\x84rger\r\n", false),
       settingsEdits},
      {"UTF-16 big-endian",
       Utf16File("[Form]\nHotKey=F4\n", true),
       {{"Form", "FormTop", "12"}, {"Directories", "UserDir", "C:\\\xC3\x89t\xC3\xA9"}}},
      {"UTF-8 with a byte-order mark",
       std::string(kBom) + "[Form]\r\nHotKey=F4\r\n[Directories]\r\nUserDir=C:\\Ärger\r\n",
       {{"Directories", "UserDir", "C:\\Été\\日本語"},
        {"Form", "Title", "Ελληνικά 😀"},
        {"Über", "Schlüssel", "Wert"}},
       true},
  };

  Win32FileSystem fileSystem;
  Win32TextEncoding encoding;
  int number = 0;
  for (const WriteCase& c : cases) {
    if (c.utf8Bom && !bomKnown) continue;
    SCOPED_TRACE(c.what);
    ++number;
    const std::string ours = folder.Path() + "ours" + std::to_string(number) + ".ini";
    const std::string system = folder.Path() + "system" + std::to_string(number) + ".ini";
    if (c.bytes) {
      WriteTestFile(ours, *c.bytes);
      WriteTestFile(system, *c.bytes);
    }

    IniDocument document = IniDocument::Parse(c.bytes.value_or(""), encoding);
    std::set<std::string> sections;
    std::set<std::pair<std::string, std::string>> keys;
    for (const Edit& edit : c.edits) {
      EXPECT_TRUE(document.Write(edit.section, edit.key, edit.value)) << edit.key;
      EXPECT_TRUE(WritePrivateProfileStringW(
          Utf8ToWide(edit.section).c_str(), Utf8ToWide(edit.key).c_str(),
          Utf8ToWide(edit.value).c_str(), ExtendedLengthPath(system).c_str()))
          << edit.key;
      sections.insert(edit.section);
      keys.insert({edit.section, edit.key});
    }
    // Makes the system write out what it holds in its cache.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, ExtendedLengthPath(system).c_str());
    fileSystem.WriteFileReplacing(ours, document.Bytes());

    for (const std::string& file : {ours, system}) {
      for (const std::string& section : SystemSections(file)) sections.insert(section);
    }
    const auto ourMeaning = SystemMeaning(ours, sections, keys);
    const auto systemMeaning = SystemMeaning(system, sections, keys);
    EXPECT_EQ(ourMeaning, systemMeaning) << "ours:\n"
                                         << document.Text() << "\nsystem's:\n"
                                         << fileSystem.ReadWholeFile(system, 1 << 20).value_or("");
    // And IniDocument reads back its own edits.
    const IniDocument reread = IniDocument::Parse(document.Bytes(), encoding);
    for (const Edit& edit : c.edits) {
      EXPECT_EQ(reread.Read(edit.section, edit.key), SystemRead(ours, edit.section, edit.key));
    }
  }
}

// Where the system's writer loses part of a value (blanks at its ends, a pair
// of quotes around it), IniDocument writes it so that the system's reader
// gives the whole value back.
TEST(IniFileTest, SystemReadsWrittenValuesWhole) {
  TemporaryFolder folder("wh-ini-whole");
  const std::vector<std::string> values = {"  spaced  ",      "\tTab", "\"C:\\Program Files\"",
                                           "'single'",        "\"",    "\"\"",
                                           "a \"b\" c",       " ",     "; not a comment",
                                           "[not a section]", "x=y",   std::string(2047, 'L')};
  Win32TextEncoding encoding;
  IniDocument document = IniDocument::Parse("[Directories]\r\nUserDir=x\r\n", encoding);
  for (std::size_t i = 0; i < values.size(); ++i) {
    ASSERT_TRUE(document.Write("Directories", "Key" + std::to_string(i), values[i])) << values[i];
  }
  const std::string file = folder.Path() + "whole.ini";
  Win32FileSystem().WriteFileReplacing(file, document.Text());
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(SystemRead(file, "Directories", "Key" + std::to_string(i)), values[i]);
  }
  EXPECT_EQ(SystemRead(file, "Directories", "UserDir"), "x");
}

}  // namespace
}  // namespace wh
