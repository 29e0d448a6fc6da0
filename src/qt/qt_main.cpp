// The Linux desktop program's start: one copy per executable path, the
// windows, Qt's event loop, and the release of the instance record at the end.
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "app/command_line.h"
#include "app/start.h"
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
#include "qt/qt_message_box.h"
#include "qt/qt_settings_window.h"
#include "qt/qt_tooltips.h"
#include "qt/qt_tray.h"

namespace {

void ShowStartMessage(const std::string& text) { wh::ShowMessageBox(text, nullptr); }

// The running executable's full path, links resolved.
std::string ExecutablePath() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) return path.string();
  return QCoreApplication::applicationFilePath().toStdString();
}

// A settings folder of its own for a trial run (scripts/run sets it): the
// settings file and the log-in entry go there, and the user's session is
// left as it was. Empty when not set or not absolute.
std::string OwnSettingsFolder() {
  const char* folder = std::getenv("WORDHOPPER_SETTINGS_DIR");
  if (folder == nullptr || folder[0] != '/') return {};
  return folder;
}

// The folder of the settings file, with its trailing slash: the program's
// folder under the user's configuration directory, or the trial's own
// folder. Made at the first write of the settings, not here: a second start
// ends before it would need it.
std::string SettingsDirectory() {
  if (const std::string own = OwnSettingsFolder(); !own.empty()) {
    return own.back() == '/' ? own : own + "/";
  }
  std::filesystem::path base;
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  if (configHome != nullptr && configHome[0] == '/') {
    base = configHome;
  } else {
    const char* home = std::getenv("HOME");
    base = std::filesystem::path(home != nullptr ? home : "") / ".config";
  }
  return (base / "wordhopper").string() + "/";
}

class QtFrontEnd : public wh::FrontEnd {
 public:
  explicit QtFrontEnd(const std::string& exePath) : exePath_(exePath) {}

  // The record's window number means nothing on Linux; the socket finds the
  // running copy.
  std::uint32_t InstanceWindow() override { return static_cast<std::uint32_t>(getpid()); }
  void ShowStartError(const std::string& text) override { ShowStartMessage(text); }

  wh::MainView& CreateMainWindow() override {
    mainWindow_ = std::make_unique<wh::QtMainWindow>();
    return *mainWindow_;
  }
  void AttachMain(wh::Launcher* launcher) override {
    mainWindow_->Attach(launcher);
    launcher_ = launcher;
  }
  wh::SettingsView& CreateSettingsWindow() override {
    settingsWindow_ = std::make_unique<wh::QtSettingsWindow>();
    return *settingsWindow_;
  }
  void AttachSettings(wh::SettingsDialog* dialog) override { settingsWindow_->Attach(dialog); }

  // A second start's "show" comes in while the loop runs, through the socket.
  int RunMessageLoop() override {
    wh::InstanceServer instanceServer(exePath_, [this](bool show) {
      if (launcher_ == nullptr) return;
      try {
        // "wordhopper show" shows even a window never shown yet: it is the
        // hot key of desktops that let no program have one.
        launcher_->OnSecondStart(show);
      } catch (const std::exception& error) {
        mainWindow_->ShowMessage(error.what());
      }
    });
    return QApplication::exec();
  }
  void DestroyWindows() override {
    settingsWindow_.reset();
    mainWindow_.reset();
  }

 private:
  std::string exePath_;
  wh::Launcher* launcher_ = nullptr;
  std::unique_ptr<wh::QtMainWindow> mainWindow_;
  std::unique_ptr<wh::QtSettingsWindow> settingsWindow_;
};

int Run(int argc, char** argv) {
  wh::PosixFileSystem fileSystem;
  wh::XdgShellFolders shellFolders(fileSystem);
  wh::PosixNumberFormat numberFormat;
  wh::PosixTextEncoding textEncoding;
  wh::PosixKeyNames keyNames;
  wh::PosixCollation collation;
  // A trial's log-in entry goes where no session looks for one.
  const std::string ownFolder = OwnSettingsFolder();
  wh::XdgAutostart autostart =
      ownFolder.empty() ? wh::XdgAutostart() : wh::XdgAutostart(ownFolder + "/autostart");
  wh::GioShellRequests shell;
  wh::ProcSystemFigures systemFigures;
  wh::PosixVersionInfo versionInfo;
  wh::PosixInstanceMappings mappings;
  const std::string exePath = ExecutablePath();
  wh::LocalSocketInstanceWindows instanceWindows(exePath, argc > 1 && wh::IsShowArgument(argv[1]));

  const wh::StartPlatform platform{
      .instanceMappings = mappings,
      .instanceWindows = instanceWindows,
      .main = {.fileSystem = fileSystem,
               .shellFolders = shellFolders,
               .numberFormat = numberFormat,
               .textEncoding = textEncoding,
               .keyNames = keyNames,
               .collation = collation,
               .startupEntries = autostart,
               .shell = shell,
               .systemFigures = systemFigures,
               .exePath = exePath,
               .pathDelimiters = "/",
               .executableSuffix = "",
               .settingsDir = SettingsDirectory(),
               .wording = wh::Wording::Linux},
      .versionInfo = versionInfo,
  };
  QtFrontEnd frontEnd(exePath);
  return wh::RunProgram(platform, frontEnd, argc > 1 ? argv[1] : "");
}

// Qt's warnings at start-up ("XDG_RUNTIME_DIR not set", the platform
// plugin's remarks) mean nothing to a user of a tray program started from a
// terminal; whoever sets QT_LOGGING_RULES asked for them and gets them all.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg) return;
  std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before Qt starts: no display is needed to ask.
  if (argc > 1) {
    if (const std::optional<std::string> text = wh::StandardOptionText(argv[1])) {
      std::fputs(text->c_str(), stdout);
      return std::fflush(stdout) == 0 ? 0 : 1;
    }
  }
  const char* loggingRules = std::getenv("QT_LOGGING_RULES");
  if (loggingRules == nullptr || loggingRules[0] == '\0') qInstallMessageHandler(QuietQtMessages);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Wordhopper"));
  QApplication::setQuitOnLastWindowClosed(false);
  // Every window's title bar, the settings window and the message boxes
  // included, shows the program's icon rather than the desktop's generic one.
  QApplication::setWindowIcon(wh::ProgramIcon());
  wh::UseWindowsTooltipTimes(app);
  try {
    return Run(argc, argv);
  } catch (const std::exception& error) {
    ShowStartMessage(error.what());
  }
  return 1;
}
