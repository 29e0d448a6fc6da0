#include "app/start.h"

#include <exception>
#include <utility>

#include "app/CheckPrevious.h"

namespace wh {

namespace {

int RunWindows(const StartPlatform& platform, FrontEnd& frontEnd, std::string_view firstArgument) {
  StartPreparation prepared(platform.main);
  MainView& mainView = frontEnd.CreateMainWindow();
  TForm1 form(mainView, platform.main);
  frontEnd.AttachMain(&form);
  try {
    form.FormCreate(firstArgument, std::move(prepared));
  } catch (const std::exception& error) {
    mainView.ShowMessage(error.what());
  }
  // Made after the main window has come up, hidden until "Settings".
  SettingsView& settingsView = frontEnd.CreateSettingsWindow();
  TForm2 form2(settingsView, form, platform.versionInfo, platform.main.fileSystem,
               platform.main.exePath);
  frontEnd.AttachSettings(&form2);
  form.AttachSettings(&form2, &settingsView);

  const int exitCode = frontEnd.RunMessageLoop();

  // Behaviour first, so that no event reaches a form that is going.
  form.AttachSettings(nullptr, nullptr);
  frontEnd.AttachSettings(nullptr);
  frontEnd.AttachMain(nullptr);
  form.FormDestroy();
  return exitCode;
}

}  // namespace

int RunProgram(const StartPlatform& platform, FrontEnd& frontEnd, std::string_view firstArgument) {
  CheckPrevious instance(platform.instanceMappings, platform.instanceWindows);
  try {
    if (instance.RestoreIfRunning(platform.main.exePath, frontEnd.InstanceWindow(), 1)) return 0;
  } catch (const SystemError& error) {
    frontEnd.ShowStartError(SystemErrorText(error));
    return 1;
  }
  const int exitCode = RunWindows(platform, frontEnd, firstArgument);
  frontEnd.DestroyWindows();
  instance.ReleaseInstance();
  return exitCode;
}

}  // namespace wh
