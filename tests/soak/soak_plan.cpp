#include "soak/soak_plan.h"

#include <cstdlib>

namespace wh::soak {

bool ParseOptions(const std::vector<std::string>& arguments, Options& options) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& arg = arguments[i];
    auto value = [&]() -> const std::string* {
      return i + 1 < arguments.size() ? &arguments[++i] : nullptr;
    };
    auto number = [&](int& target) {
      const std::string* text = value();
      return text != nullptr && (target = std::atoi(text->c_str())) > 0;
    };
    bool ok = true;
    if (arg == "--cycles") {
      ok = number(options.cycles);
    } else if (arg == "--block") {
      ok = number(options.block);
    } else if (arg == "--reload-every") {
      ok = number(options.reloadEvery);
    } else if (arg == "--settings-every") {
      ok = number(options.settingsEvery);
    } else if (arg == "--folder") {
      const std::string* folder = value();
      ok = folder != nullptr;
      if (ok) options.folder = *folder;
    } else if (arg == "--no-settle") {
      options.settle = false;
    } else if (arg == "--check") {
      options.check = true;
    } else {
      ok = !arg.starts_with("--") && options.program.empty();
      options.program = arg;
    }
    if (!ok) return false;
  }
  return !options.program.empty() && !options.folder.empty();
}

std::string SettingsText(const std::string& itemFolder) {
  return "[Form]\r\nHotKey=F4\r\n[Directories]\r\nUserStartMenu=0\r\nAllUsersStartMenu=0\r\n"
         "UserDeskTop=0\r\nAllUsersDeskTop=0\r\nFavorites=0\r\nHistory=0\r\nRecentFiles=0\r\n"
         "IgnoreList=\r\nUserDir=" +
         itemFolder +
         "\r\nUserMasks=txt\r\n[Program]\r\nFirstShow=1\r\nStartWithWindows=0\r\n"
         "HideToSystemTray=1\r\nHideWhenLaunching=1\r\nAlwaysScreenCenter=1\r\n"
         "MessageBoxOnError=0\r\nReloadOnPopup=0\r\nShowTitleBar=1\r\nShowInfoPanel=1\r\n"
         "ShowStatusBar=1\r\nStartOnOneMatch=0\r\nAutoComplete=0\r\nStayOnTop=1\r\n"
         "UseFindDialog=0\r\n";
}

}  // namespace wh::soak
