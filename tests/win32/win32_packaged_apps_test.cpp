#include "win32/win32_packaged_apps.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

namespace wh {
namespace {

TEST(Win32PackagedAppsTest, OnlyAppUserModelIdsArePackagedApps) {
  const struct {
    const wchar_t* parsingName;
    bool packaged;
  } cases[] = {
      {L"Microsoft.WindowsCalculator_8wekyb3d8bbwe!App", true},
      {L"Microsoft.WindowsTerminal_8wekyb3d8bbwe!App", true},
      {L"windows.immersivecontrolpanel_cw5n1h2txyewy!microsoft.windows.immersivecontrolpanel",
       true},
      // Desktop programs: a path, or a known folder's GUID and a path.
      {L"C:\\Program Files\\Tool\\tool.exe", false},
      {L"{6D809377-6AF0-444B-8957-A3773F02200E}\\Tool\\tool.exe", false},
      {L"{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}\\notepad.exe", false},
      // An id given by a desktop program itself, without "!".
      {L"Microsoft.Windows.Explorer", false},
      {L"!App", false},
      {L"Family!", false},
      {L"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsAppUserModelId(c.parsingName), c.packaged) << c.parsingName;
  }
}

// Wine has no Applications folder: no apps, no error; where there is one,
// each app has a name and an id. The load asks from a thread of its own.
TEST(Win32PackagedAppsTest, ListsFromAnyThreadWithoutFailing) {
  std::vector<PackagedApp> apps;
  std::thread([&] { apps = Win32PackagedApps().List(); }).join();
  for (const PackagedApp& app : apps) {
    EXPECT_FALSE(app.name.empty()) << app.appUserModelId;
    EXPECT_NE(app.appUserModelId.find('!'), std::string::npos) << app.name;
  }
  EXPECT_EQ(Win32PackagedApps().List(), apps);
}

}  // namespace
}  // namespace wh
