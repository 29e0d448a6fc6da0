#include "win32/win32_shell_folders.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "temporary_folder.h"
#include "win32/scoped_handle.h"
#include "win32/utf16.h"

namespace wh {
namespace {

constexpr wchar_t kShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Test values in the real Shell Folders key, under names no one else uses,
// removed again at the end; a key made for them is removed too.
class ShellFoldersValues {
 public:
  explicit ShellFoldersValues(HKEY root) {
    DWORD disposition = 0;
    writable_ = RegCreateKeyExW(root, kShellFolders, 0, nullptr, 0, KEY_SET_VALUE | KEY_QUERY_VALUE,
                                nullptr, key_.Receive(), &disposition) == ERROR_SUCCESS;
    if (writable_ && disposition == REG_CREATED_NEW_KEY) root_ = root;
  }
  ShellFoldersValues(const ShellFoldersValues&) = delete;
  ShellFoldersValues& operator=(const ShellFoldersValues&) = delete;
  ~ShellFoldersValues() {
    for (const std::wstring& name : names_) RegDeleteValueW(key_.Get(), name.c_str());
    key_.Reset();
    if (root_ != nullptr) RegDeleteKeyW(root_, kShellFolders);
  }

  bool Writable() const { return writable_; }

  // Stores `bytes` as they are: no zero is added at the end.
  void Set(const std::string& name, DWORD type, const std::wstring& data, bool withZero = true) {
    names_.push_back(Utf8ToWide(name));
    const std::size_t bytes = (data.size() + (withZero ? 1 : 0)) * sizeof(wchar_t);
    ASSERT_EQ(
        RegSetValueExW(key_.Get(), names_.back().c_str(), 0, type,
                       reinterpret_cast<const BYTE*>(data.c_str()), static_cast<DWORD>(bytes)),
        ERROR_SUCCESS);
  }
  void SetNumber(const std::string& name, DWORD number) {
    names_.push_back(Utf8ToWide(name));
    ASSERT_EQ(RegSetValueExW(key_.Get(), names_.back().c_str(), 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&number), sizeof number),
              ERROR_SUCCESS);
  }

 private:
  ScopedRegistryKey key_;
  HKEY root_ = nullptr;
  bool writable_ = false;
  std::vector<std::wstring> names_;
};

std::string Expanded(const std::wstring& text) {
  wchar_t buffer[1024];
  const DWORD length = ExpandEnvironmentStringsW(text.c_str(), buffer, 1024);
  return length > 0 ? WideToUtf8(buffer) : std::string();
}

struct ValueCase {
  const char* name;  // the value's name, after the common prefix
  DWORD type;        // 0: not written at all
  std::wstring data;
  bool withZero;
  std::string expected;
};

void CheckValues(HKEY root, bool allUsers, const std::vector<ValueCase>& cases) {
  ShellFoldersValues values(root);
  ASSERT_TRUE(values.Writable());
  const std::string prefix = "Wordhopper test ";
  for (const ValueCase& c : cases) {
    if (c.type == REG_DWORD) {
      values.SetNumber(prefix + c.name, 42);
    } else if (c.type != 0) {
      values.Set(prefix + c.name, c.type, c.data, c.withZero);
    }
  }
  for (const ValueCase& c : cases) {
    EXPECT_EQ(ShellFolderValue(prefix + c.name, allUsers), c.expected) << c.name;
  }
}

TEST(Win32ShellFoldersTest, PerUserValues) {
  CheckValues(
      HKEY_CURRENT_USER, false,
      {
          {"plain", REG_SZ, L"C:\\Users\\Me\\Start Menu", true, "C:\\Users\\Me\\Start Menu\\"},
          {"ends in separator", REG_SZ, L"C:\\Users\\Me\\", true, "C:\\Users\\Me\\"},
          {"no closing zero", REG_SZ, L"D:\\Menu", false, "D:\\Menu\\"},
          {"unicode", REG_SZ, L"C:\\\u00C4rger\\\u65E5\u672C", true, "C:\\Ärger\\日本\\"},
          {"empty", REG_SZ, L"", true, ""},
          {"number", REG_DWORD, L"", true, ""},
          {"binary", REG_BINARY, L"C:\\x", true, ""},
          {"missing", 0, L"", true, ""},
          // Per-user values are taken as they are.
          {"expandable", REG_EXPAND_SZ, L"%SystemRoot%\\Menu", true, "%SystemRoot%\\Menu\\"},
      });
  EXPECT_EQ(Win32ShellFolders().ShortcutExtension(), "lnk");
}

TEST(Win32ShellFoldersTest, AllUsersValuesAreExpanded) {
  // Writing the machine's key needs rights that a Windows user may not have.
  ShellFoldersValues probe(HKEY_LOCAL_MACHINE);
  if (!probe.Writable()) GTEST_SKIP() << "HKEY_LOCAL_MACHINE can't be written here";
  const std::string systemRoot = Expanded(L"%SystemRoot%");
  ASSERT_NE(systemRoot, "%SystemRoot%");
  CheckValues(
      HKEY_LOCAL_MACHINE, true,
      {
          {"expandable", REG_EXPAND_SZ, L"%SystemRoot%\\Menu", true, systemRoot + "\\Menu\\"},
          {"plain with reference", REG_SZ, L"%SystemRoot%", true, systemRoot + "\\"},
          {"plain", REG_SZ, L"C:\\ProgramData\\Desktop", true, "C:\\ProgramData\\Desktop\\"},
          {"unknown variable", REG_SZ, L"%NoSuchVariable%\\x", true, "%NoSuchVariable%\\x\\"},
          // 258 characters fit; one more is too long for the program.
          {"longest", REG_SZ, L"C:\\" + std::wstring(255, L'x'), true,
           "C:\\" + std::string(255, 'x') + "\\"},
          {"too long", REG_SZ, L"C:\\" + std::wstring(256, L'x'), true, ""},
          {"too long expanded", REG_EXPAND_SZ,
           L"%SystemRoot%\\" + std::wstring(258 - systemRoot.size(), L'x'), true, ""},
          {"number", REG_DWORD, L"", true, ""},
          {"missing", 0, L"", true, ""},
      });
}

// A folder's desktop.ini as Explorer keeps it: UTF-16 with its byte-order
// mark, plain names and indirect strings; one that can't be resolved is
// left out.
TEST(Win32ShellFoldersTest, LocalizedFileNamesComeFromTheFoldersDesktopIni) {
  testing::TemporaryFolder folder("wh-localized");
  wchar_t exe[MAX_PATH];
  ASSERT_GT(GetModuleFileNameW(nullptr, exe, MAX_PATH), 0u);
  const std::wstring text = L"[.ShellClassInfo]\r\nLocalizedResourceName=Zubeh\u00f6r\r\n"
                            L"[LocalizedFileNames]\r\nNotepad.lnk=@" + std::wstring(exe) +
                            L",-201\r\nPaint.lnk = Zeichnen \u00e9\r\n"
                            L"Gone.lnk=@%SystemRoot%\\no-such.dll,-5\r\nEmpty.lnk=\r\n";
  std::string bytes = "\xFF\xFE";
  for (wchar_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  testing::WriteTestFile(folder.Path() + "desktop.ini", bytes);
  const Win32ShellFolders folders;
  EXPECT_EQ(folders.LocalizedFileNames(folder.Path()),
            (std::vector<std::pair<std::string, std::string>>{
                {"Notepad.lnk", "Bloc-notes"}, {"Paint.lnk", "Zeichnen \xC3\xA9"}}));
  testing::TemporaryFolder plain("wh-plain");
  EXPECT_TRUE(folders.LocalizedFileNames(plain.Path()).empty());
}

}  // namespace
}  // namespace wh
