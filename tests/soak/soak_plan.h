// What both soak programs do alike: their command line, the items the
// program indexes and the texts typed to find them, and the settings it runs
// with.
#pragma once

#include <string>
#include <vector>

namespace wh::soak {

struct Options {
  std::string program;
  std::string folder;
  int cycles = 3000;
  int block = 1000;
  int reloadEvery = 10;
  int settingsEvery = 50;
  // Before each hot key, wait until the program answers again after the
  // hide (Wine's soak; natively the hide holds nothing up).
  bool settle = true;
  bool check = false;
};

inline constexpr char kUsage[] =
    "PROGRAM --folder DIR [--cycles N] [--block N] [--reload-every N] [--settings-every N] "
    "[--no-settle] [--check]";

// The arguments after the soak's own name; false on wrong use.
bool ParseOptions(const std::vector<std::string>& arguments, Options& options);

// File names (without ".txt") of the items; every typed text below finds
// several of them.
inline constexpr const char* kItemNames[] = {
    "alpha notes",    "amber lamp",   "anchor list",  "apple tree",    "arena plan",
    "banana bread",   "beacon tower", "cedar chest",  "delta report",  "ember glow",
    "falcon nest",    "garden hose",  "harbor map",   "island tour",   "jasmine tea",
    "kettle recipe",  "lemon tart",   "marble floor", "nectar jar",    "orange peel",
    "pepper mill",    "quartz clock", "raven poem",   "salmon dinner", "tangerine box",
    "velvet curtain", "walnut desk",  "yellow kite",  "zephyr song",   "open letter",
};
inline constexpr const char* kTyped[] = {"a", "e", "o", "an", "er", "al"};

// The settings file's text: only `itemFolder` indexed (its .txt files), no
// help at the first showing, no start-up entry, ESC and the close box hide
// to the tray, no completion (the typed text stays as typed).
std::string SettingsText(const std::string& itemFolder);

}  // namespace wh::soak
