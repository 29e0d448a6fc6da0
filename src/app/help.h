// The two fixed texts of the program: the help message of the tray menu's
// Help command and of the first show, and the version text of the settings
// window's About group.
#pragma once

#include <string>

#include "app/wording.h"
#include "platform/version_info.h"

namespace wh {

// The help message: twenty lines, each one (the last included) followed by
// CR LF, ready for a message box; its examples in the desktop's words.
std::string HelpText(Wording wording = Wording::Windows);

// The file version of `path` as "major.minor.release (Build build)", each
// number in decimal without leading zeros: "1.5.0 (Build 9)". A file without
// version information gives "0.0.0 (Build 0)".
std::string GetVersionText(const VersionInfo& info, const std::string& path);

}  // namespace wh
