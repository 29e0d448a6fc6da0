#include "app/help.h"

#include <iterator>
#include <string_view>

namespace wh {

namespace {

// The addresses are on domains reserved for examples, so that neither a
// reader nor a mail program reaches a stranger through them.
constexpr TwoWordings kHelpLines[] = {
    {"Quick intro:"},
    {""},
    {"Wordhopper is a simple launcher for items in your Start Menu, Favorites, etc.",
     "Wordhopper is a simple launcher for items in your applications menu, desktop, etc."},
    {"I wrote the program when I started to develop RSI (Computer Related Repetitive Strain "
     "Injury)."},
    {"Especially when using the Windows Start Menu I found my fingers tingling and my mind "
     "thinking and searching.",
     "Especially when using the applications menu I found my fingers tingling and my mind "
     "thinking and searching."},
    {"I hope you will find Wordhopper as useful as I do. If you do, drop me a mail!"},
    {""},
    {"Quick help:"},
    {""},
    {"Type a keyword and press ENTER, this will list all (partial) matching items in a dropdown "
     "list."},
    {"Select the item you want to launch with the UP and DOWN arrow keys and press ENTER."},
    {"Press ESCAPE to cancel and clear your selection. Press ESCAPE again to hide Wordhopper."},
    {""},
    // A typed "smb://" address counts as one from 13 characters on, so the
    // example names a share.
    {R"(Typing a valid directory or network path like "c:\temp" or "\\server" will launch explorer.)",
     R"(Typing a valid directory or network path like "/tmp" or "smb://server/share" will launch the file manager.)"},
    {R"(Typing a valid url like "http://www.example.com" will launch the default browser.)"},
    {""},
    {"The Hot-key (default F4) will show Wordhopper from the system tray."},
    {"Use the right mouse button for options like settings, etc."},
    {""},
    {"Suggestions, comments and donations: wordhopper@example.com"},
};
static_assert(std::size(kHelpLines) == 20);

}  // namespace

std::string HelpText(Wording wording) {
  std::string text;
  for (const TwoWordings& line : kHelpLines) {
    text += line.For(wording);
    text += "\r\n";
  }
  return text;
}

std::string GetVersionText(const VersionInfo& info, const std::string& path) {
  const FileVersion version = info.GetFileVersion(path);
  return std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
         std::to_string(version.release) + " (Build " + std::to_string(version.build) + ")";
}

}  // namespace wh
