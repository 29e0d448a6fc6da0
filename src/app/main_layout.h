// The main window and its tray menu as designed: every text the user reads
// there, the bands and their sizes, and which handler each menu item calls.
// Both the Windows and the Linux window are built from this one table; the
// Windows window keeps the pixel layout (scaled by the DPI), the Linux one
// keeps the order and lays out with its own fonts.
#pragma once

#include <iterator>
#include <string>

#include "app/launcher.h"

namespace wh::main_layout {

constexpr char kTitle[] = "Wordhopper";

// The bands, in pixels at 96 dots per inch: the information panel on top,
// the keyword band with the two boxes, the status bar at the bottom.
constexpr int kClientWidth = 457;
constexpr int kBandHeight = 25;
constexpr int kStatusHeight = 20;
// Both boxes share one place in the keyword band; the item box starts hidden.
constexpr int kBoxLeft = 4, kBoxTop = 2, kBoxWidth = 453, kBoxHeight = 21;
// How far a box's list drops down.
constexpr int kListHeight = 240;

// The information panel, left to right. A value label stands inside a frame
// the window draws around it.
enum class PanelPart { ProcessesLabel, ProcessCount, PageFileLabel, PageFile, MemoryLabel, Gauge };
struct PanelPlace {
  PanelPart part;
  const char* text;  // the caption, or the value shown before the first figures
  const char* hint;  // nullptr: none
  int left, top, width, height;
};
constexpr PanelPlace kPanel[] = {
    {PanelPart::ProcessesLabel, "Processes: ", nullptr, 3, 4, 56, 14},
    {PanelPart::ProcessCount, "0", "Number of processes loaded into memory.", 65, 4, 25, 14},
    {PanelPart::PageFileLabel, "Page file:", nullptr, 102, 4, 46, 14},
    {PanelPart::PageFile, "0", "Virtual memory in use and available virtual memory.", 154, 4, 176,
     14},
    {PanelPart::MemoryLabel, "Memory:", nullptr, 341, 4, 42, 14},
    {PanelPart::Gauge, "0%", "Physical memory load.", 384, 2, 71, 18},
};
// The frames drawn around the two value labels.
struct Frame {
  int left, top, width, height;
};
constexpr Frame kValueFrames[] = {{61, 2, 31, 18}, {150, 2, 182, 18}};

constexpr char kKeywordBoxHint[] = "Type a key word and ENTER to find matching items.";
constexpr char kItemBoxHint[] =
    "Select an item from the list of press ESC to return to the key word list.";
constexpr char kStatusBarHint[] = "Status information.";

// The status bar's panels, left to right; each with the text it starts with
// and the right edge of its part.
struct StatusPanelPlace {
  StatusPanel panel;
  const char* text;
  int right;
};
constexpr StatusPanelPlace kStatusPanels[] = {{StatusPanel::Status, "Status:", 290},
                                              {StatusPanel::Keywords, "Keywords:", 290 + 96},
                                              {StatusPanel::Items, "Items:", 290 + 96 + 65}};

// The place of `panel` in kStatusPanels, counted from the left.
constexpr int StatusPanelRow(StatusPanel panel) {
  for (int row = 0; row < static_cast<int>(std::size(kStatusPanels)); ++row) {
    if (kStatusPanels[row].panel == panel) return row;
  }
  return 0;
}

// What the status bar says when the keyword box gets the focus.
constexpr char kKeywordPrompt[] = "Type a (partial) keyword and ENTER to list matching items.";

// The tray menu, which is also the context menu of both boxes, in order.
enum class TrayCommand { Show, Hide, Reload, Settings, Help, Exit };
struct TrayMenuItem {
  TrayCommand command;
  const char* caption;
  void (Launcher::*handler)();
};
constexpr TrayMenuItem kTrayMenu[] = {
    {TrayCommand::Show, "Show Wordhopper", &Launcher::OnTrayShow},
    {TrayCommand::Hide, "Hide Wordhopper", &Launcher::OnTrayHide},
    {TrayCommand::Reload, "Reload directories", &Launcher::OnTrayReload},
    {TrayCommand::Settings, "Settings", &Launcher::OnTraySettings},
    {TrayCommand::Help, "Help", &Launcher::OnTrayHelp},
    {TrayCommand::Exit, "Exit", &Launcher::OnTrayExit},
};

// Runs the handler of the menu item `command` on `launcher`.
inline void RunTrayCommand(Launcher& launcher, TrayCommand command) {
  for (const TrayMenuItem& item : kTrayMenu) {
    if (item.command == command) (launcher.*item.handler)();
  }
}

// The caption of "Show Wordhopper" with the hot key beside it ("" for none).
inline std::string ShowCaption(const std::string& keyText) {
  std::string caption = kTrayMenu[0].caption;
  if (!keyText.empty()) caption += "\t" + keyText;
  return caption;
}

}  // namespace wh::main_layout
