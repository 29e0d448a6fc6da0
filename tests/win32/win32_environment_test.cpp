#include "win32/win32_environment.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace wh {
namespace {

std::wstring Variable(const wchar_t* name) {
  wchar_t value[256];
  const DWORD length = GetEnvironmentVariableW(name, value, 256);
  return length == 0 || length >= 256 ? L"<none>" : std::wstring(value, length);
}

// A variable the user stores after the start reaches the process; one only
// the process had goes, as after a new log-in; the drives' current folders
// stay.
TEST(Win32EnvironmentTest, RefreshTakesTheStoredVariables) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Environment", 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const wchar_t value[] = L"stored later";
  ASSERT_EQ(RegSetValueExW(key, L"WH_TEST_STORED", 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(value), sizeof(value)),
            ERROR_SUCCESS);
  SetEnvironmentVariableW(L"WH_TEST_PROCESS_ONLY", L"x");
  SetCurrentDirectoryW(L"C:\\windows");
  wchar_t drive[MAX_PATH];
  const DWORD driveLength = GetEnvironmentVariableW(L"=C:", drive, MAX_PATH);

  EXPECT_TRUE(RefreshEnvironmentFromSystem());
  EXPECT_EQ(Variable(L"WH_TEST_STORED"), L"stored later");
  EXPECT_EQ(Variable(L"WH_TEST_PROCESS_ONLY"), L"<none>");
  EXPECT_NE(Variable(L"PATH"), L"<none>");
  if (driveLength > 0) {
    EXPECT_EQ(Variable(L"=C:"), std::wstring(drive, driveLength));
  }

  RegDeleteValueW(key, L"WH_TEST_STORED");
  RegCloseKey(key);
}

TEST(Win32EnvironmentTest, OnlyTheEnvironmentChangeCounts) {
  EXPECT_TRUE(IsEnvironmentChange(L"Environment"));
  EXPECT_TRUE(IsEnvironmentChange(L"environment"));
  EXPECT_FALSE(IsEnvironmentChange(L"intl"));
  EXPECT_FALSE(IsEnvironmentChange(L""));
  EXPECT_FALSE(IsEnvironmentChange(nullptr));
}

}  // namespace
}  // namespace wh
