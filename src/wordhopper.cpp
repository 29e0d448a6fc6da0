// The Windows program's main routine: the Win32 windows and services, handed
// to the start that every front end shares.
#include <windows.h>

#include <shlobj.h>

#include <exception>
#include <memory>
#include <string>

#include "app/command_line.h"
#include "app/start.h"
#include "settings/startup_entry.h"
#include "win32/main_window.h"
#include "win32/scoped_handle.h"
#include "win32/settings_window.h"
#include "win32/utf16.h"
#include "win32/win32_collation.h"
#include "win32/win32_file_system.h"
#include "win32/win32_instance_record.h"
#include "win32/win32_key_names.h"
#include "win32/win32_number_format.h"
#include "win32/win32_packaged_apps.h"
#include "win32/win32_shell_folders.h"
#include "win32/win32_shell_requests.h"
#include "win32/win32_startup_entry.h"
#include "win32/win32_system_figures.h"
#include "win32/win32_text_encoding.h"
#include "win32/win32_version_info.h"

namespace {

// %APPDATA%\Wordhopper\, where the settings go when the executable's own
// folder can't take them; empty when the folder is unknown. Only named here:
// the launcher decides, once this copy is the only one, and makes the folder
// at its first write there.
std::string UserSettingsDir() {
  PWSTR roaming = nullptr;
  std::string dir;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming))) {
    dir = wh::WideToUtf8(roaming) + "\\Wordhopper\\";
  }
  CoTaskMemFree(roaming);
  return dir;
}

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

class Win32FrontEnd : public wh::FrontEnd {
 public:
  explicit Win32FrontEnd(wh::Win32ShellRequests& shell) : shell_(shell) {}

  // The application window carries the task-bar button and is what a second
  // start restores, so it exists before the instance check.
  std::uint32_t InstanceWindow() override { return wh::WindowToRecord(application_.Handle()); }
  void ShowStartError(const std::string& text) override { wh::ShowProgramMessage(nullptr, text); }

  wh::MainView& CreateMainWindow() override {
    mainWindow_ = std::make_unique<wh::MainWindow>(application_);
    shell_.SetOwner(mainWindow_->Handle());
    return *mainWindow_;
  }
  void AttachMain(wh::Launcher* launcher) override {
    mainWindow_->Attach(launcher);
    if (launcher == nullptr) {
      application_.OnMinimize(nullptr);
      application_.OnRestore(nullptr);
      application_.OnClose(nullptr);
      return;
    }
    wh::MainWindow& mainWindow = *mainWindow_;
    application_.OnMinimize([launcher] { launcher->HideToTray(); });
    // A second start restores this window by its handle.
    application_.OnRestore([launcher] { launcher->OnSecondStart(false); });
    application_.OnClose([&mainWindow] { PostMessageW(mainWindow.Handle(), WM_CLOSE, 0, 0); });
  }
  wh::SettingsView& CreateSettingsWindow() override {
    settingsWindow_ = std::make_unique<wh::SettingsWindow>(application_);
    return *settingsWindow_;
  }
  void AttachSettings(wh::SettingsDialog* dialog) override { settingsWindow_->Attach(dialog); }

  // The settings window gets the keyboard handling of a dialog box: TAB and
  // the arrows move between its controls.
  int RunMessageLoop() override {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (IsDialogMessageW(settingsWindow_->Handle(), &message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    return 0;
  }
  void DestroyWindows() override {
    settingsWindow_.reset();
    mainWindow_.reset();
  }

 private:
  wh::Win32ShellRequests& shell_;
  wh::ApplicationWindow application_;
  std::unique_ptr<wh::MainWindow> mainWindow_;
  std::unique_ptr<wh::SettingsWindow> settingsWindow_;
};

int Run() {
  // The shell may hand a verb to an extension, which needs COM on this
  // thread; it stays until the windows and the record are gone.
  const wh::ComApartment com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  wh::Win32FileSystem fileSystem;
  wh::Win32ShellFolders shellFolders;
  wh::Win32NumberFormat numberFormat;
  wh::Win32TextEncoding textEncoding;
  wh::Win32KeyNames keyNames;
  wh::Win32Collation collation;
  wh::RegistryRunKey machineRunKey;
  wh::RegistryRunKey userRunKey(HKEY_CURRENT_USER, wh::RegistryRunKey::kRunKey);
  wh::MachineOrUserStartupEntries runKeys(machineRunKey, userRunKey);
  wh::Win32ShellRequests shell;
  wh::Win32SystemFigures systemFigures;
  wh::Win32VersionInfo versionInfo;
  wh::Win32InstanceMappings mappings;
  wh::Win32InstanceWindows instanceWindows;
  wh::Win32PackagedApps packagedApps;

  const wh::StartPlatform platform{
      .instanceMappings = mappings,
      .instanceWindows = instanceWindows,
      .main = {.fileSystem = fileSystem,
               .shellFolders = shellFolders,
               .numberFormat = numberFormat,
               .textEncoding = textEncoding,
               .keyNames = keyNames,
               .collation = collation,
               .startupEntries = runKeys,
               .shell = shell,
               .systemFigures = systemFigures,
               .exePath = ExecutablePath(),
               .pathDelimiters = "\\:",
               .executableSuffix = ".exe",
               .settingsDir = "",
               .userSettingsDir = UserSettingsDir(),
               .packagedApps = packagedApps},
      .versionInfo = versionInfo,
  };
  Win32FrontEnd frontEnd(shell);
  return wh::RunProgram(platform, frontEnd, wh::FirstArgument(wh::WideToUtf8(GetCommandLineW())));
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
