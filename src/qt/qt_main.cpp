// The Linux desktop program's start: one copy per executable path, the
// windows, Qt's event loop, and the release of the instance record at the end.
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/CheckPrevious.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "posix/posix_file_system.h"
#include "posix/posix_instance_record.h"
#include "posix/posix_key_names.h"
#include "posix/posix_locale.h"
#include "posix/posix_version_info.h"
#include "posix/proc_system_figures.h"
#include "posix/xdg_autostart.h"
#include "posix/xdg_shell_folders.h"
#include "qt/gio_shell_requests.h"
#include "qt/qt_instance_windows.h"
#include "qt/qt_main_window.h"
#include "qt/qt_settings_window.h"

namespace {

void ShowStartMessage(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Wordhopper"), QString::fromStdString(text),
                  QMessageBox::Ok);
  box.exec();
}

// The running executable's full path, links resolved.
std::string ExecutablePath() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) return path.string();
  return QCoreApplication::applicationFilePath().toStdString();
}

// The folder of the settings file, with its trailing slash: the program's
// folder under the user's configuration directory, made if missing.
std::string SettingsDirectory() {
  std::filesystem::path base;
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  if (configHome != nullptr && configHome[0] == '/') {
    base = configHome;
  } else {
    const char* home = std::getenv("HOME");
    base = std::filesystem::path(home != nullptr ? home : "") / ".config";
  }
  const std::filesystem::path folder = base / "wordhopper";
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return folder.string() + "/";
}

int Run(int argc, char** argv) {
  const std::string exePath = ExecutablePath();

  wh::PosixInstanceMappings mappings;
  wh::LocalSocketInstanceWindows instanceWindows(exePath);
  wh::CheckPrevious instance(mappings, instanceWindows);
  try {
    // The record's window number means nothing on Linux; the socket finds
    // the running copy.
    if (instance.RestoreIfRunning(exePath, static_cast<std::uint32_t>(getpid()), 1)) return 0;
  } catch (const wh::SystemError& error) {
    ShowStartMessage(wh::SystemErrorText(error));
    return 1;
  }

  wh::PosixFileSystem fileSystem;
  wh::XdgShellFolders shellFolders(fileSystem);
  wh::PosixNumberFormat numberFormat;
  wh::PosixTextEncoding textEncoding;
  wh::PosixKeyNames keyNames;
  wh::PosixCollation collation;
  wh::XdgAutostart autostart;
  wh::GioShellRequests shell;
  wh::ProcSystemFigures systemFigures;
  wh::PosixVersionInfo versionInfo;

  int exitCode = 0;
  {
    wh::QtMainWindow mainWindow;
    wh::TForm1 form(
        mainWindow,
        wh::MainPlatform{fileSystem, shellFolders, numberFormat, textEncoding, keyNames, collation,
                         autostart, shell, systemFigures, exePath, "/", "", SettingsDirectory()});
    mainWindow.Attach(&form);
    try {
      form.FormCreate(argc > 1 ? argv[1] : "");
    } catch (const std::exception& error) {
      // The start goes on without the steps that did not run.
      mainWindow.ShowMessage(error.what());
    }
    // Made after the main window has come up, hidden until "Settings".
    wh::QtSettingsWindow settingsWindow;
    wh::TForm2 form2(settingsWindow, form, versionInfo, fileSystem, exePath);
    settingsWindow.Attach(&form2);
    form.AttachSettings(&form2, &settingsWindow);
    wh::InstanceServer instanceServer(exePath, [&form, &mainWindow] {
      try {
        form.ShowFromTray();
        mainWindow.BringToFront();
      } catch (const std::exception& error) {
        mainWindow.ShowMessage(error.what());
      }
    });
    exitCode = QApplication::exec();
    form.AttachSettings(nullptr, nullptr);
    settingsWindow.Attach(nullptr);
    mainWindow.Attach(nullptr);
    form.FormDestroy();
  }
  instance.ReleaseInstance();
  return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Wordhopper"));
  QApplication::setQuitOnLastWindowClosed(false);
  try {
    return Run(argc, argv);
  } catch (const std::exception& error) {
    ShowStartMessage(error.what());
  }
  return 1;
}
