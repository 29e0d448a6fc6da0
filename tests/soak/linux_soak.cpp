// wh_soak: drives the native program through many cycles on the X display
// of $DISPLAY, as a user at the keyboard would, and reports what the cycles
// do to its process (soak_report.h): resident memory, open descriptors and
// threads from /proc.
//
//   wh_soak PROGRAM --folder DIR [--cycles N] [--block N] [--reload-every N]
//           [--settings-every N] [--check]
//
// It writes a settings file into $XDG_CONFIG_HOME/wordhopper (the caller
// gives the run a home of its own) that indexes only a folder of items it
// makes in DIR (soak_plan.h), starts PROGRAM (to the tray) and runs the cycles: the hot key
// F4, a letter or two, ENTER (the item list drops), DOWN (the next item), ESC
// (back to the keyword), ESC (to the tray); every --reload-every cycles
// "Reload directories" and every --settings-every cycles the settings window
// opened, saved and closed, all from the keyboard. Items are picked, not
// started.
//
// Keys go in through XTest. What X shows of the program is what the cycle
// waits for: the main window mapped with the input focus, the item list or
// the menu (windows of their own), the settings window, the settings file
// written. The keyword box inside the window is Qt's business, out of X's
// sight, so the latency is the hot key to the main window mapped with the
// focus. A state that comes after 1 s counts as slow; one that has not come
// after 10 s while nothing shows the key arrived is a lost key, sent once
// more (after the hot key where the window is on screen without the focus);
// anything else ends the run.
//
// Exit code 0; 1 when the run could not go on, or with --check when a counter
// grew clearly after the first block; 2 wrong use.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "soak/soak_plan.h"
#include "soak/soak_report.h"

namespace {

using wh::soak::Options;

constexpr double kSlowMs = 1000;
constexpr double kTimeoutMs = 10000;
constexpr double kSettleMs = 500;
constexpr char kMainName[] = "Wordhopper (Hot-key: F4)";
constexpr char kSettingsName[] = "Wordhopper Settings";

double Now() {
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::string SettingsPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  return std::string(config ? config : "") + "/wordhopper/wordhopper.ini";
}

bool Install(const Options& options) {
  const std::string items = options.folder + "/items";
  mkdir(options.folder.c_str(), 0700);
  mkdir(items.c_str(), 0700);
  for (const char* name : wh::soak::kItemNames) {
    if (!std::ofstream(items + "/" + name + ".txt")) return false;
  }
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config == nullptr || *config == '\0') return false;
  mkdir((std::string(config) + "/wordhopper").c_str(), 0700);
  std::ofstream ini(SettingsPath());
  ini << wh::soak::SettingsText(items);
  return static_cast<bool>(ini);
}

// What X shows of the program, and the keys it is given.
class ProgramView {
 public:
  ProgramView(Display* display, pid_t pid) : display_(display), pid_(pid) {
    pidAtom_ = XInternAtom(display_, "_NET_WM_PID", False);
  }

  void Press(KeySym symbol, KeySym modifier = NoSymbol) {
    const KeyCode modifierCode = modifier ? XKeysymToKeycode(display_, modifier) : 0;
    const KeyCode code = XKeysymToKeycode(display_, symbol);
    if (modifierCode) XTestFakeKeyEvent(display_, modifierCode, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    if (modifierCode) XTestFakeKeyEvent(display_, modifierCode, False, CurrentTime);
    XFlush(display_);
  }

  // The program's window named `name`, looked for through the whole tree
  // (a window manager puts it into a frame of its own).
  Window Named(const char* name) { return Find(DefaultRootWindow(display_), name); }

  bool Viewable(Window window) {
    XWindowAttributes attributes;
    return window != 0 && XGetWindowAttributes(display_, window, &attributes) &&
           attributes.map_state == IsViewable;
  }

  // The input focus is on `window` or inside it.
  bool Focused(Window window) {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display_, &focus, &revert);
    while (focus != 0 && focus != PointerRoot && focus != DefaultRootWindow(display_)) {
      if (focus == window) return true;
      Window root = 0, parent = 0, *children = nullptr;
      unsigned int count = 0;
      if (!XQueryTree(display_, focus, &root, &parent, &children, &count)) return false;
      if (children) XFree(children);
      focus = parent;
    }
    return false;
  }

  // A shown window of the program's own that no window manager handles: the
  // item list or a menu.
  bool PopupShown() {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count)) {
      return false;
    }
    bool shown = false;
    for (unsigned int i = 0; i < count && !shown; ++i) {
      XWindowAttributes attributes;
      shown = XGetWindowAttributes(display_, children[i], &attributes) &&
              attributes.override_redirect && attributes.map_state == IsViewable &&
              PidOf(children[i]) == pid_;
    }
    if (children) XFree(children);
    return shown;
  }

  void Sync() { XSync(display_, False); }

  // What X shows, for a step whose state did not come.
  std::string Describe(Window main) {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display_, &focus, &revert);
    char text[160];
    std::snprintf(text, sizeof text, "main 0x%lx %s, focus 0x%lx, popup %d, settings %d", main,
                  Viewable(main) ? "shown" : "hidden", focus, PopupShown(),
                  Viewable(Named(kSettingsName)));
    return text;
  }

 private:
  std::optional<long> PidOf(Window window) {
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    std::optional<long> pid;
    if (XGetWindowProperty(display_, window, pidAtom_, 0, 1, False, XA_CARDINAL, &type, &format,
                           &items, &after, &data) == Success &&
        data != nullptr && items == 1 && format == 32) {
      pid = *reinterpret_cast<long*>(data);
    }
    if (data) XFree(data);
    return pid;
  }

  Window Find(Window window, const char* name) {
    char* windowName = nullptr;
    if (XFetchName(display_, window, &windowName) && windowName != nullptr) {
      const bool match = std::strcmp(windowName, name) == 0 && PidOf(window) == pid_;
      XFree(windowName);
      if (match) return window;
    }
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (XQueryTree(display_, window, &root, &parent, &children, &count)) {
      for (unsigned int i = 0; i < count && found == 0; ++i) found = Find(children[i], name);
      if (children) XFree(children);
    }
    return found;
  }

  Display* display_;
  pid_t pid_;
  Atom pidAtom_;
};

double WaitFor(ProgramView& screen, const std::function<bool()>& done, double timeoutMs) {
  const double start = Now();
  while (true) {
    screen.Sync();
    if (done()) return Now() - start;
    if (Now() - start > timeoutMs) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

// The settings file's change time, to tell a Save from a Cancel.
std::optional<long long> WrittenAt(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return std::nullopt;
  return static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
}

class Soak {
 public:
  Soak(ProgramView& screen, wh::soak::SoakLog& log) : screen_(screen), log_(log) {}

  double Step(const std::string& name, const std::function<void()>& send,
              const std::function<bool()>& done, const std::function<bool()>& untouched) {
    for (int attempt = 0; attempt < 2; ++attempt) {
      const double start = Now();
      send();
      const double took = WaitFor(screen_, done, kTimeoutMs);
      if (took >= 0) {
        if (took > kSlowMs) log_.AddSlow(name, took);
        return took;
      }
      if (!untouched()) break;
      // Shown without the focus (a window manager gave it elsewhere): the
      // hot key brings the window to the front again, as a user would.
      const bool elsewhere = screen_.Viewable(main_) && !screen_.Focused(main_) &&
                             !screen_.PopupShown() && !screen_.Viewable(screen_.Named(kSettingsName));
      log_.AddLost(elsewhere ? name + ", focus elsewhere" : name);
      std::fprintf(stderr, "wh_soak: %s: no trace after %.0f ms (%s), sent again\n",
                   name.c_str(), Now() - start, screen_.Describe(main_).c_str());
      if (elsewhere) {
        screen_.Press(XK_F4);
        WaitFor(screen_, [&] { return screen_.Focused(main_); }, kTimeoutMs);
      }
    }
    failure_ = name + " (" + screen_.Describe(main_) + ")";
    return -1;
  }

  bool Cycle(int n, const Options& options) {
    if (main_ == 0) main_ = screen_.Named(kMainName);
    ProgramView& s = screen_;
    auto ready = [&] {
      if (main_ == 0) main_ = s.Named(kMainName);
      return s.Viewable(main_) && s.Focused(main_) && !s.PopupShown();
    };
    auto hidden = [&] { return main_ == 0 || !s.Viewable(main_); };
    const double latency = Step(
        "hot key", [&] { s.Press(XK_F4); }, ready, hidden);
    if (latency < 0) return false;
    log_.AddLatency(latency);

    // The letters show nowhere X can see; ENTER comes after them.
    for (const char* c = wh::soak::kTyped[n % std::size(wh::soak::kTyped)]; *c != '\0'; ++c) {
      s.Press(XStringToKeysym(std::string(1, *c).c_str()));
    }
    if (Step(
            "ENTER", [&] { s.Press(XK_Return); }, [&] { return s.PopupShown(); },
            [&] { return ready(); }) < 0) {
      return false;
    }
    s.Press(XK_Down);
    if (Step(
            "ESC in the item list", [&] { s.Press(XK_Escape); }, ready,
            [&] { return s.PopupShown(); }) < 0) {
      return false;
    }
    if ((n + 1) % options.reloadEvery == 0 && !FromMenu(3, "reload", ready)) return false;
    if ((n + 1) % options.settingsEvery == 0 && !SaveSettings(ready)) return false;
    return Step(
               "ESC to the tray", [&] { s.Press(XK_Escape); }, hidden, ready) >= 0;
  }

  const std::string& Failure() const { return failure_; }

 private:
  bool FromMenu(int item, const std::string& name, const std::function<bool()>& ready) {
    ProgramView& s = screen_;
    if (Step(
            name + " menu", [&] { s.Press(XK_Menu); }, [&] { return s.PopupShown(); }, ready) <
        0) {
      return false;
    }
    for (int i = 0; i < item; ++i) s.Press(XK_Down);
    return Step(
               name, [&] { s.Press(XK_Return); }, [&] { return !s.PopupShown(); },
               [&] { return s.PopupShown(); }) >= 0;
  }

  // Save is the last control of the window's tab chain: Shift+TAB from the
  // first field comes round to it over the check boxes above the field.
  bool SaveSettings(const std::function<bool()>& ready) {
    ProgramView& s = screen_;
    const std::optional<long long> before = WrittenAt(SettingsPath());
    if (!FromMenu(4, "settings", ready)) return false;
    Window settings = 0;
    if (WaitFor(
            s,
            [&] {
              settings = s.Named(kSettingsName);
              return s.Viewable(settings) && s.Focused(settings);
            },
            kTimeoutMs) < 0) {
      failure_ = "the settings window did not come with the focus";
      return false;
    }
    for (int i = 0; i < kShiftTabsToSave; ++i) s.Press(XK_Tab, XK_Shift_L);
    if (Step(
            "Save", [&] { s.Press(XK_space); }, [&] { return !s.Viewable(settings); },
            [&] { return s.Viewable(settings); }) < 0) {
      return false;
    }
    if (WrittenAt(SettingsPath()) == before) {
      failure_ = "the settings window closed without writing the settings file";
      return false;
    }
    // Without a window manager nobody hands the focus back to the main
    // window: the hot key brings it to the front, as a user would.
    if (WaitFor(s, ready, kSettleMs) < 0 &&
        Step(
            "hot key after Save", [&] { s.Press(XK_F4); }, ready, [] { return true; }) < 0) {
      return false;
    }
    return true;
  }

  static constexpr int kShiftTabsToSave = 7;

  ProgramView& screen_;
  wh::soak::SoakLog& log_;
  Window main_ = 0;
  std::string failure_;
};

std::optional<long long> StatusField(pid_t pid, const char* field) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  const std::string key = std::string(field) + ":";
  while (std::getline(status, line)) {
    if (line.rfind(key, 0) == 0) {
      std::istringstream value(line.substr(key.size()));
      long long number = 0;
      std::string unit;
      value >> number >> unit;
      return unit == "kB" ? number * 1024 : number;
    }
  }
  return std::nullopt;
}

std::optional<long long> DescriptorCount(pid_t pid) {
  DIR* fds = opendir(("/proc/" + std::to_string(pid) + "/fd").c_str());
  if (fds == nullptr) return std::nullopt;
  long long count = 0;
  while (const dirent* entry = readdir(fds)) {
    if (entry->d_name[0] != '.') ++count;
  }
  closedir(fds);
  return count;
}

wh::soak::Reading Read(pid_t pid) {
  return {StatusField(pid, "VmRSS"), DescriptorCount(pid), StatusField(pid, "Threads")};
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!wh::soak::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options)) {
    std::fprintf(stderr, "usage: wh_soak %s\n", wh::soak::kUsage);
    return 2;
  }
  if (!Install(options)) {
    std::fprintf(stderr, "wh_soak: can't write the items or the settings (XDG_CONFIG_HOME?)\n");
    return 1;
  }
  Display* display = XOpenDisplay(nullptr);
  int event = 0, error = 0, major = 0, minor = 0;
  if (display == nullptr || !XTestQueryExtension(display, &event, &error, &major, &minor)) {
    std::fprintf(stderr, "wh_soak: no X display with the XTest extension\n");
    return 1;
  }
  // Menus and lists come and go between a look-up and the next question
  // about them: a window gone is no error here.
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  const pid_t pid = fork();
  if (pid == 0) {
    execl(options.program.c_str(), options.program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  ProgramView screen(display, pid);
  // The hot key is grabbed at the end of the start: it is pressed until the
  // window comes, and the window sent back to the tray, before the first
  // cycle and its reading.
  int code = 0;
  Window main = 0;
  auto shown = [&] {
    if (main == 0) main = screen.Named(kMainName);
    return screen.Viewable(main);
  };
  bool started = false;
  for (int attempt = 0; attempt < 30 && !started; ++attempt) {
    screen.Press(XK_F4);
    started = WaitFor(screen, shown, 2000) >= 0;
  }
  // A window manager focuses the window a moment after it is mapped; an
  // ESC before that goes to whatever had the focus.
  const bool focused =
      started && WaitFor(screen, [&] { return screen.Focused(main); }, kTimeoutMs) >= 0;
  if (focused) {
    screen.Press(XK_Escape);
    started = WaitFor(screen, [&] { return !shown(); }, kTimeoutMs) >= 0;
  }
  if (!started || !focused) {
    std::fprintf(stderr, "wh_soak: the program's window did not come on the hot key%s\n",
                 started ? " with the focus" : "");
    code = 1;
  } else {
    wh::soak::SoakLog log({{"rss", wh::soak::Unit::Bytes},
                           {"fds", wh::soak::Unit::Count},
                           {"threads", wh::soak::Unit::Count}},
                          stdout);
    Soak soak(screen, log);
    log.Begin(Read(pid));
    for (int n = 0; n < options.cycles; ++n) {
      if (!soak.Cycle(n, options)) {
        std::fprintf(stderr, "wh_soak: cycle %d: %s: the expected state did not come\n", n + 1,
                     soak.Failure().c_str());
        code = 1;
        break;
      }
      if ((n + 1) % options.block == 0 || n + 1 == options.cycles) log.EndBlock(n + 1, Read(pid));
    }
    if (!log.Finish(1).empty() && options.check) code = 1;
  }
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  XCloseDisplay(display);
  return code;
}
