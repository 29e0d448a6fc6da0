#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "settings/startup_entry.h"
#include "win32/scoped_handle.h"
#include "win32/win32_instance_record.h"
#include "win32/win32_startup_entry.h"

namespace wh {
namespace {

const wchar_t kTestKey[] = L"Software\\WordhopperTests\\Run";

bool KeyExists() {
  ScopedRegistryKey key;
  return RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, key.Receive()) == ERROR_SUCCESS;
}

std::wstring ReadValue(const wchar_t* name, DWORD* type) {
  wchar_t data[512] = {};
  DWORD bytes = sizeof(data);
  if (RegGetValueW(HKEY_CURRENT_USER, kTestKey, name, RRF_RT_ANY, type, data, &bytes) !=
      ERROR_SUCCESS) {
    return L"<none>";
  }
  return data;
}

TEST(Win32StartupEntryTest, RunKeyValueFollowsTheSetting) {
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\WordhopperTests");
  RegistryRunKey store(HKEY_CURRENT_USER, kTestKey);

  // Off and absent: the key is only looked at, never created.
  SyncStartupEntry(false, "C:\\Tools\\wordhopper.exe", store);
  EXPECT_FALSE(KeyExists());

  SyncStartupEntry(true, "C:\\Tools\\wordhopper.exe", store);
  DWORD type = 0;
  EXPECT_EQ(ReadValue(L"wordhopper", &type), L"C:\\Tools\\wordhopper.exe");
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));

  // A value of another type still counts as present and is kept.
  RegDeleteKeyValueW(HKEY_CURRENT_USER, kTestKey, L"wordhopper");
  DWORD number = 7;
  RegSetKeyValueW(HKEY_CURRENT_USER, kTestKey, L"wordhopper", REG_DWORD, &number, sizeof(number));
  SyncStartupEntry(true, "C:\\Other\\wordhopper.exe", store);
  ReadValue(L"wordhopper", &type);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));

  SyncStartupEntry(false, "C:\\Tools\\wordhopper.exe", store);
  EXPECT_EQ(ReadValue(L"wordhopper", &type), L"<none>");
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\WordhopperTests");
}

TEST(Win32InstanceRecordTest, NamedRecordIsSharedUntilTheLastHandleGoes) {
  const std::string name = "WordhopperTests" + std::to_string(GetCurrentProcessId());
  Win32InstanceMappings mappings;
  EXPECT_EQ(mappings.Open(name), nullptr);

  InstanceMappings::Created first = mappings.Create(name);
  EXPECT_FALSE(first.alreadyExisted);
  EXPECT_EQ(first.mapping->Record().InstanceCount, 0);
  first.mapping->Record().InstanceCount = 3;

  InstanceMappings::Created second = mappings.Create(name);
  EXPECT_TRUE(second.alreadyExisted);
  auto opened = mappings.Open(name);
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(opened->Record().InstanceCount, 3);

  first.mapping.reset();
  second.mapping.reset();
  opened.reset();
  EXPECT_EQ(mappings.Open(name), nullptr);

  // A name the system refuses: the error carries its code and text.
  try {
    mappings.Create("Global\\" + name + "\\bad");
    FAIL() << "no error raised";
  } catch (const SystemError& error) {
    EXPECT_NE(error.Code(), 0u);
  }
}

TEST(Win32InstanceRecordTest, WindowHandlesSurviveTheRecord) {
  // The system hands out handles that fit in 32 bits, sign-extended on
  // 64-bit Windows; both kinds must come back as they went in.
  for (std::intptr_t raw : {std::intptr_t{0x00010086}, std::intptr_t{0x7FFFFFFE},
                            std::intptr_t{-65520}, std::intptr_t{-2}}) {
    HWND window = reinterpret_cast<HWND>(raw);
    EXPECT_EQ(RecordToWindow(WindowToRecord(window)), window) << raw;
  }
  EXPECT_EQ(WindowToRecord(reinterpret_cast<HWND>(std::intptr_t{-65520})), 0xFFFF0010u);
}

}  // namespace
}  // namespace wh
