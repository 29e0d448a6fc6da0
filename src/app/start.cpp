#include "app/start.h"

#include <exception>
#include <utility>

#include "app/single_instance.h"

namespace wh {

namespace {

int RunWindows(const StartPlatform& platform, FrontEnd& frontEnd, std::string_view firstArgument) {
  StartPreparation prepared(platform.main);
  MainView& mainView = frontEnd.CreateMainWindow();
  Launcher launcher(mainView, platform.main);
  frontEnd.AttachMain(&launcher);
  try {
    launcher.Start(firstArgument, std::move(prepared));
  } catch (const std::exception& error) {
    mainView.ShowMessage(error.what());
  }
  // Made after the main window has come up, hidden until "Settings".
  SettingsView& settingsView = frontEnd.CreateSettingsWindow();
  SettingsDialog dialog(settingsView, launcher, platform.versionInfo, platform.main.fileSystem,
                        platform.main.keyNames, platform.main.exePath);
  frontEnd.AttachSettings(&dialog);
  launcher.AttachSettings(&dialog);

  const int exitCode = frontEnd.RunMessageLoop();

  // Behaviour first, so that no event reaches a window whose behaviour is going.
  launcher.AttachSettings(nullptr);
  frontEnd.AttachSettings(nullptr);
  frontEnd.AttachMain(nullptr);
  launcher.ClearIndex();
  return exitCode;
}

}  // namespace

int RunProgram(const StartPlatform& platform, FrontEnd& frontEnd, std::string_view firstArgument) {
  SingleInstance instance(platform.instanceMappings, platform.instanceWindows);
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
