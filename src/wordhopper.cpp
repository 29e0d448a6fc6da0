// The program's start: one copy per executable path, the windows, the
// message loop, and the release of the instance record at the end.
#include <windows.h>

#include <exception>
#include <string>

#include "app/CheckPrevious.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/command_line.h"
#include "win32/main_window.h"
#include "win32/settings_window.h"
#include "win32/utf16.h"
#include "win32/win32_collation.h"
#include "win32/win32_file_system.h"
#include "win32/win32_instance_record.h"
#include "win32/win32_key_names.h"
#include "win32/win32_number_format.h"
#include "win32/win32_shell_folders.h"
#include "win32/win32_shell_requests.h"
#include "win32/win32_startup_entry.h"
#include "win32/win32_system_figures.h"
#include "win32/win32_text_encoding.h"
#include "win32/win32_version_info.h"

namespace {

// The running executable's full path, however long.
std::string ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return wh::WideToUtf8(path);
    }
    path.resize(path.size() * 2);
  }
}

// `dialog` gets the keyboard handling of a dialog box: TAB and the arrows
// move between its controls.
int RunMessageLoop(HWND dialog) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

int Run() {
  const std::string exePath = ExecutablePath();
  wh::ApplicationWindow application;

  wh::Win32InstanceMappings mappings;
  wh::Win32InstanceWindows instanceWindows;
  wh::CheckPrevious instance(mappings, instanceWindows);
  try {
    if (instance.RestoreIfRunning(exePath, wh::WindowToRecord(application.Handle()), 1)) return 0;
  } catch (const wh::SystemError& error) {
    wh::ShowProgramMessage(nullptr, wh::SystemErrorText(error));
    return 1;
  }

  wh::Win32FileSystem fileSystem;
  wh::Win32ShellFolders shellFolders;
  wh::Win32NumberFormat numberFormat;
  wh::Win32TextEncoding textEncoding;
  wh::Win32KeyNames keyNames;
  wh::Win32Collation collation;
  wh::RegistryRunKey runKey;
  wh::Win32ShellRequests shell;
  wh::Win32SystemFigures systemFigures;
  wh::Win32VersionInfo versionInfo;

  int exitCode = 0;
  {
    wh::MainWindow mainWindow(application);
    shell.SetOwner(mainWindow.Handle());
    wh::TForm1 form(mainWindow, wh::MainPlatform{fileSystem, shellFolders, numberFormat,
                                                 textEncoding, keyNames, collation, runKey, shell,
                                                 systemFigures, exePath, "\\:", ".exe", ""});
    mainWindow.Attach(&form);
    application.OnMinimize([&form] { form.HideToTray(); });
    application.OnRestore([&mainWindow] { mainWindow.ReturnFromTray(); });
    application.OnClose([&mainWindow] { PostMessageW(mainWindow.Handle(), WM_CLOSE, 0, 0); });
    try {
      form.FormCreate(wh::FirstArgument(wh::WideToUtf8(GetCommandLineW())));
    } catch (const std::exception& error) {
      // The start goes on without the steps that did not run.
      wh::ShowProgramMessage(mainWindow.Handle(), error.what());
    }
    // Made after the main window has come up, hidden until "Settings".
    wh::SettingsWindow settingsWindow(application);
    wh::TForm2 form2(settingsWindow, form, versionInfo, fileSystem, exePath);
    settingsWindow.Attach(&form2);
    form.AttachSettings(&form2, &settingsWindow);
    exitCode = RunMessageLoop(settingsWindow.Handle());
    application.OnMinimize(nullptr);
    application.OnRestore(nullptr);
    application.OnClose(nullptr);
    form.AttachSettings(nullptr, nullptr);
    settingsWindow.Attach(nullptr);
    mainWindow.Attach(nullptr);
    form.FormDestroy();
  }
  instance.ReleaseInstance();
  return exitCode;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  try {
    return Run();
  } catch (const std::exception& error) {
    wh::ShowProgramMessage(nullptr, error.what());
  }
  return 1;
}
