// whdriver: reads the state of the program's windows from outside, for the
// end-to-end scenarios. Each verb prints UTF-8 lines "key=value"; in values a
// backslash, line feed, carriage return and tab are written \\ \n \r \t, so
// one line is always one key.
//
// Exit codes: 0 done, 1 the window (or button) asked for is not there,
// 2 the command line is wrong.

// windows.h first: commctrl.h builds on it.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings_layout.h"
#include "win32/scoped_handle.h"
#include "win32/utf16.h"
#include "win32/window_ids.h"
#include "window_query.h"

namespace {

using namespace wh::e2e;

constexpr int kExitOk = 0;
constexpr int kExitNotFound = 1;
constexpr int kExitUsage = 2;

constexpr wchar_t kUsage[] =
    L"usage: whdriver VERB [options] [--out PATH]\n"
    L"  windows [--class CLASS] [--caption TEXT]   top-level windows worth seeing\n"
    L"  main [--items]                            the main window and its controls\n"
    L"  children (--class CLASS | --caption TEXT | --hwnd 0xHEX) [--items]\n"
    L"                                            every control of one window\n"
    L"  msgbox [--caption TEXT]                   open message boxes\n"
    L"  msgbox-press [BUTTON] [--caption TEXT]    press a button of a message box\n"
    L"  settings [--items]                        the settings window and its controls\n"
    L"  click WINDOW --id N                       a button's (or link's) click, posted\n"
    L"  set-text WINDOW --id N TEXT               WM_SETTEXT to a control\n"
    L"  set-check WINDOW --id N 0|1               BM_SETCHECK to a check box\n"
    L"  dpi-changed WINDOW DPI                    WM_DPICHANGED as for a move to a monitor\n"
    L"  (--dpi N: text widths measured at N dots per inch, not the screen's)\n"
    L"  instance EXE_PATH                         the shared instance record of that exe\n"
    L"  environment-changed                       WM_SETTINGCHANGE \"Environment\" to every\n"
    L"                                            top-level window, as the system sends it\n"
    L"  tray-icon [forget]                        whether the program's tray icon is in the\n"
    L"                                            notification area; with forget, taken out\n"
    L"  taskbar-created                           \"TaskbarCreated\" to every top-level window,\n"
    L"                                            as a task bar that starts anew sends it\n"
    L"  (WINDOW: --class CLASS | --caption TEXT | --hwnd 0xHEX)\n";

struct ControlName {
  int id;
  const char* name;
};

constexpr ControlName kMainControls[] = {
    {wh::win32::kProcessesCaption, "processes_caption"},
    {wh::win32::kProcessCount, "process_count"},
    {wh::win32::kPageFileCaption, "page_file_caption"},
    {wh::win32::kPageFile, "page_file"},
    {wh::win32::kMemoryCaption, "memory_caption"},
    {wh::win32::kMemoryGauge, "memory_gauge"},
    {wh::win32::kKeywordBox, "keyword_box"},
    {wh::win32::kItemBox, "item_box"},
    {wh::win32::kStatusBar, "status"},
};

// The main window's status bar parts, by what they show.
constexpr const char* kStatusParts[] = {"message", "keywords", "items"};

// The settings window's controls besides the options' check boxes.
constexpr ControlName kSettingsFields[] = {
    {wh::win32::kUserDirEdit, "user_dir"},
    {wh::win32::kUserDirBrowse, "user_dir_browse"},
    {wh::win32::kMasksEdit, "masks"},
    {wh::win32::kIgnoreListEdit, "ignore_list"},
    {wh::win32::kHotKeyField, "hot_key"},
    {wh::win32::kVersionLabel, "version"},
    {wh::win32::kAboutLabel, "about_line"},
    {wh::win32::kDonationLinkLabel, "donation_link"},
    {wh::win32::kDonationIcon, "donation_icon"},
    {wh::win32::kSaveButton, "save"},
    {wh::win32::kCancelButton, "cancel"},
};

// The options' check boxes under their rows' names, then the other controls.
std::vector<ControlName> SettingsControls() {
  std::vector<ControlName> controls;
  for (const wh::settings_layout::OptionRow& row : wh::settings_layout::kOptions) {
    controls.push_back({wh::win32::OptionId(row.option), row.name});
  }
  controls.insert(controls.end(), std::begin(kSettingsFields), std::end(kSettingsFields));
  return controls;
}

// Top-level windows listed even when their caption is empty.
constexpr const wchar_t* kListedClasses[] = {
    wh::win32::kMainWindowClass,
    wh::win32::kApplicationWindowClass,
    L"#32770",  // dialog boxes, message boxes among them
    L"#32768",  // pop-up menus, the tray menu among them
    L"ExplorerWClass",
};

class Output {
 public:
  void Put(std::string_view key, std::string_view value) {
    text_.append(key);
    text_.push_back('=');
    for (char c : value) {
      switch (c) {
        case '\\':
          text_ += "\\\\";
          break;
        case '\n':
          text_ += "\\n";
          break;
        case '\r':
          text_ += "\\r";
          break;
        case '\t':
          text_ += "\\t";
          break;
        default:
          text_.push_back(c);
      }
    }
    text_.push_back('\n');
  }
  void Put(std::string_view key, const std::wstring& value) { Put(key, wh::WideToUtf8(value)); }
  void Put(std::string_view key, long long value) { Put(key, std::to_string(value)); }
  void PutFlag(std::string_view key, bool value) { Put(key, value ? "1" : "0"); }

  // Returns false when the copy to the file could not be written.
  bool Flush(const std::optional<std::wstring>& outPath) const {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out != nullptr && out != INVALID_HANDLE_VALUE) WriteAll(out);
    if (!outPath) return true;
    const wh::ScopedHandle file(CreateFileW(outPath->c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                            nullptr));
    return file.Valid() && WriteAll(file.Get());
  }

 private:
  bool WriteAll(HANDLE handle) const {
    std::size_t done = 0;
    while (done < text_.size()) {
      DWORD wrote = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text_.size() - done, 1 << 20));
      if (!WriteFile(handle, text_.data() + done, chunk, &wrote, nullptr) || wrote == 0) {
        return false;
      }
      done += wrote;
    }
    return true;
  }

  std::string text_;
};

std::string Key(std::string_view prefix, std::string_view name) {
  std::string key(prefix);
  if (!key.empty()) key.push_back('.');
  key.append(name);
  return key;
}

std::string HandleText(HWND hwnd) {
  wchar_t buffer[32];
  swprintf(buffer, 32, L"0x%llx",
           static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(hwnd)));
  return wh::WideToUtf8(buffer);
}

std::string RectText(const RECT& rect) {
  return std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
         std::to_string(rect.right) + " " + std::to_string(rect.bottom);
}

std::wstring ExeNameOf(DWORD pid) {
  const wh::ScopedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process.Valid()) return {};
  wchar_t path[MAX_PATH * 2] = {};
  DWORD size = MAX_PATH * 2;
  if (!QueryFullProcessImageNameW(process.Get(), 0, path, &size)) return {};
  std::wstring full(path, size);
  const auto slash = full.find_last_of(L"\\/");
  return slash == std::wstring::npos ? full : full.substr(slash + 1);
}

// Memory inside another process, for the messages whose pointers are not
// marshalled (the status bar's). Freed when it goes.
class RemoteBuffer {
 public:
  RemoteBuffer(DWORD pid, std::size_t size)
      : process_(
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid)),
        size_(size) {
    if (!process_.Valid()) return;
    address_ =
        VirtualAllocEx(process_.Get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  ~RemoteBuffer() {
    if (address_ != nullptr) VirtualFreeEx(process_.Get(), address_, 0, MEM_RELEASE);
  }

  bool Valid() const { return address_ != nullptr; }
  LPARAM Address() const { return reinterpret_cast<LPARAM>(address_); }

  bool Clear() {
    std::vector<char> zeros(size_, 0);
    SIZE_T written = 0;
    return WriteProcessMemory(process_.Get(), address_, zeros.data(), size_, &written) &&
           written == size_;
  }
  bool Read(void* target, std::size_t size) const {
    SIZE_T read = 0;
    return size <= size_ && ReadProcessMemory(process_.Get(), address_, target, size, &read) &&
           read == size;
  }

 private:
  wh::ScopedHandle process_;
  void* address_ = nullptr;
  std::size_t size_;
};

// `partNames`: what the parts show, as their keys; a part beyond them goes
// by its number ("part.K").
void DescribeStatusBar(Output& out, const std::string& prefix, HWND bar,
                       std::span<const char* const> partNames) {
  const bool simple = Send(bar, SB_ISSIMPLE, 0, 0).value_or(0) != 0;
  out.PutFlag(Key(prefix, "simple"), simple);
  constexpr int kMaxParts = 256;
  RemoteBuffer buffer(ProcessOf(bar), 64 * 1024);
  if (!buffer.Valid() || !buffer.Clear()) {
    out.Put(Key(prefix, "error"), "cannot reach the status bar's process");
    return;
  }
  const auto parts = Send(bar, SB_GETPARTS, kMaxParts, buffer.Address());
  const int count = parts ? static_cast<int>(*parts) : 0;
  out.Put(Key(prefix, "parts"), count);
  std::vector<int> edges(kMaxParts, 0);
  if (count > 0 && buffer.Read(edges.data(), sizeof(int) * count)) {
    std::string text;
    for (int i = 0; i < count; ++i) text += (i ? " " : "") + std::to_string(edges[i]);
    out.Put(Key(prefix, "edges"), text);
  }
  auto readPart = [&](int index) -> std::wstring {
    const auto info = Send(bar, SB_GETTEXTLENGTHW, index, 0);
    const std::size_t length = info ? LOWORD(*info) : 0;
    if (length == 0) return {};
    const std::size_t bytes = (length + 1) * sizeof(wchar_t);
    if (bytes > 64 * 1024 || !buffer.Clear()) return {};
    if (!Send(bar, SB_GETTEXTW, index, buffer.Address())) return {};
    std::wstring text(length + 1, L'\0');
    if (!buffer.Read(text.data(), bytes)) return {};
    text.resize(wcsnlen(text.c_str(), length));
    return text;
  };
  for (int i = 0; i < count; ++i) {
    const std::string key = static_cast<std::size_t>(i) < partNames.size()
                                ? std::string(partNames[i])
                                : "part." + std::to_string(i);
    out.Put(Key(prefix, key), readPart(i));
  }
  if (simple) out.Put(Key(prefix, "simpletext"), readPart(SB_SIMPLEID));
}

void DescribeComboBox(Output& out, const std::string& prefix, HWND box, bool items) {
  const int count = static_cast<int>(Send(box, CB_GETCOUNT, 0, 0).value_or(-1));
  out.Put(Key(prefix, "count"), count);
  out.Put(Key(prefix, "selection"), static_cast<int>(Send(box, CB_GETCURSEL, 0, 0).value_or(-1)));
  out.PutFlag(Key(prefix, "dropped"), Send(box, CB_GETDROPPEDSTATE, 0, 0).value_or(0) != 0);
  // With no pointers given, the selection comes back packed in the result.
  const DWORD selection = static_cast<DWORD>(Send(box, CB_GETEDITSEL, 0, 0).value_or(0));
  out.Put(Key(prefix, "editsel"),
          std::to_string(LOWORD(selection)) + " " + std::to_string(HIWORD(selection)));
  if (!items) return;
  for (int i = 0; i < count; ++i) {
    const auto length = Send(box, CB_GETLBTEXTLEN, i, 0);
    std::wstring text;
    if (length && *length > 0) {
      text.assign(static_cast<std::size_t>(*length) + 1, L'\0');
      const auto copied = Send(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
      text.resize(copied && *copied > 0 ? static_cast<std::size_t>(*copied) : 0);
    }
    out.Put(Key(prefix, "item." + std::to_string(i)), text);
  }
}

// The DPI text widths are measured at; 0 for the screen's.
int gMeasureDpi = 0;

// The width in pixels of a control's text in the control's own font. A font
// belongs to the process that made it, so where its description can't be
// read from here the panel's fonts are made again as the main window makes
// them: the message font at 8 points, Arial for the two value labels.
std::string TextWidthOf(HWND control) {
  const auto font = reinterpret_cast<HFONT>(Send(control, WM_GETFONT, 0, 0).value_or(0));
  LOGFONTW description = {};
  if (font == nullptr || GetObjectW(font, sizeof(description), &description) == 0) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    description = metrics.lfMessageFont;
    HDC screen = GetDC(nullptr);
    const int dpi = gMeasureDpi != 0 ? gMeasureDpi : GetDeviceCaps(screen, LOGPIXELSY);
    description.lfHeight = -MulDiv(8, dpi, 72);
    ReleaseDC(nullptr, screen);
    const int id = GetDlgCtrlID(control);
    if (id == wh::win32::kProcessCount || id == wh::win32::kPageFile) {
      lstrcpynW(description.lfFaceName, L"Arial", LF_FACESIZE);
    }
  }
  HFONT own = CreateFontIndirectW(&description);
  HDC dc = GetDC(nullptr);
  const HGDIOBJ previous = SelectObject(dc, own);
  const std::wstring text = TextOf(control);
  SIZE size = {};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, previous);
  ReleaseDC(nullptr, dc);
  DeleteObject(own);
  return std::to_string(size.cx);
}

void DescribeControl(Output& out, const std::string& prefix, HWND control, bool items,
                     std::span<const char* const> partNames = {}) {
  const std::wstring className = ClassOf(control);
  out.Put(Key(prefix, "class"), className);
  out.PutFlag(Key(prefix, "visible"), IsWindowVisible(control));
  out.PutFlag(Key(prefix, "enabled"), IsWindowEnabled(control));
  out.Put(Key(prefix, "text"), TextOf(control));
  RECT client = {};
  GetClientRect(control, &client);
  out.Put(Key(prefix, "width"), static_cast<long long>(client.right - client.left));
  RECT onScreen = {};
  GetWindowRect(control, &onScreen);
  out.Put(Key(prefix, "rect"), RectText(onScreen));
  if (ClassIs(className, WC_STATICW)) {
    out.Put(Key(prefix, "textwidth"), TextWidthOf(control));
  }
  if (ClassIs(className, STATUSCLASSNAMEW)) {
    DescribeStatusBar(out, prefix, control, partNames);
  } else if (ClassIs(className, WC_COMBOBOXW)) {
    DescribeComboBox(out, prefix, control, items);
  } else if (ClassIs(className, WC_BUTTONW)) {
    out.Put(Key(prefix, "checked"),
            static_cast<int>(Send(control, BM_GETCHECK, 0, 0).value_or(-1)));
  } else if (ClassIs(className, HOTKEY_CLASSW)) {
    // The virtual-key code and the HOTKEYF_ modifier bits, in decimal.
    const WORD value = LOWORD(Send(control, HKM_GETHOTKEY, 0, 0).value_or(0));
    out.Put(Key(prefix, "hotkey"),
            std::to_string(LOBYTE(value)) + " " + std::to_string(HIBYTE(value)));
  }
}

void DescribeTopWindow(Output& out, const std::string& prefix, HWND hwnd) {
  out.Put(Key(prefix, "hwnd"), HandleText(hwnd));
  out.Put(Key(prefix, "class"), ClassOf(hwnd));
  out.Put(Key(prefix, "caption"), TextOf(hwnd));
  out.PutFlag(Key(prefix, "visible"), IsWindowVisible(hwnd));
  out.PutFlag(Key(prefix, "enabled"), IsWindowEnabled(hwnd));
  out.PutFlag(Key(prefix, "topmost"), (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
  out.PutFlag(Key(prefix, "minimized"), IsIconic(hwnd));
  RECT rect = {};
  GetWindowRect(hwnd, &rect);
  out.Put(Key(prefix, "rect"), RectText(rect));
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  if (GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor)) {
    out.Put(Key(prefix, "workarea"), RectText(monitor.rcWork));
  }
  RECT client = {};
  GetClientRect(hwnd, &client);
  out.Put(Key(prefix, "client"), std::to_string(client.right - client.left) + " " +
                                     std::to_string(client.bottom - client.top));
  out.Put(Key(prefix, "owner"), HandleText(GetWindow(hwnd, GW_OWNER)));
  const DWORD pid = ProcessOf(hwnd);
  out.Put(Key(prefix, "pid"), static_cast<long long>(pid));
  out.Put(Key(prefix, "exe"), ExeNameOf(pid));
}

struct Filter {
  std::optional<std::wstring> className;
  std::optional<std::wstring> caption;
  std::optional<HWND> hwnd;

  bool Any() const { return className || caption || hwnd; }
  bool Matches(HWND window) const {
    if (hwnd && window != *hwnd) return false;
    if (className && !ClassIs(ClassOf(window), className->c_str())) return false;
    if (caption && TextOf(window) != *caption) return false;
    return true;
  }
};

struct Options {
  std::wstring verb;
  std::vector<std::wstring> arguments;
  std::optional<std::wstring> outPath;
  Filter filter;
  bool items = false;
  std::optional<int> id;
  std::optional<int> dpi;
};

std::optional<Options> ParseOptions(int argc, wchar_t** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::wstring_view arg = argv[i];
    auto value = [&]() -> std::optional<std::wstring> {
      if (i + 1 >= argc) return std::nullopt;
      return std::wstring(argv[++i]);
    };
    if (arg == L"--out") {
      if (!(options.outPath = value())) return std::nullopt;
    } else if (arg == L"--class") {
      if (!(options.filter.className = value())) return std::nullopt;
    } else if (arg == L"--caption") {
      if (!(options.filter.caption = value())) return std::nullopt;
    } else if (arg == L"--hwnd") {
      const auto text = value();
      if (!text) return std::nullopt;
      wchar_t* end = nullptr;
      const unsigned long long raw = wcstoull(text->c_str(), &end, 0);
      if (end == text->c_str() || *end != L'\0') return std::nullopt;
      options.filter.hwnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(raw));
    } else if (arg == L"--dpi") {
      const auto text = value();
      if (!text || (options.dpi = _wtoi(text->c_str())) <= 0) return std::nullopt;
    } else if (arg == L"--id") {
      const auto text = value();
      if (!text) return std::nullopt;
      wchar_t* end = nullptr;
      const long id = wcstol(text->c_str(), &end, 0);
      if (end == text->c_str() || *end != L'\0') return std::nullopt;
      options.id = static_cast<int>(id);
    } else if (arg == L"--items") {
      options.items = true;
    } else if (arg.starts_with(L"--")) {
      return std::nullopt;
    } else if (options.verb.empty()) {
      options.verb = arg;
    } else {
      options.arguments.emplace_back(arg);
    }
  }
  if (options.verb.empty()) return std::nullopt;
  return options;
}

int ListWindows(Output& out, const Options& options) {
  int count = 0;
  for (HWND hwnd : TopWindows()) {
    if (options.filter.Any()) {
      if (!options.filter.Matches(hwnd)) continue;
    } else {
      const std::wstring className = ClassOf(hwnd);
      // Every thread's input-method window has a caption; none is of interest.
      bool listed = !ClassIs(className, L"IME") && !TextOf(hwnd).empty();
      for (const wchar_t* name : kListedClasses) listed = listed || ClassIs(className, name);
      if (!listed) continue;
    }
    DescribeTopWindow(out, "window." + std::to_string(count), hwnd);
    ++count;
  }
  out.Put("count", count);
  return count > 0 ? kExitOk : kExitNotFound;
}

std::string MainControlName(int id) {
  for (const auto& control : kMainControls) {
    if (control.id == id) return control.name;
  }
  return "id:" + std::to_string(id);
}

// Where the keyboard focus is, said as the main window's control that holds
// it (a combo box's edit field counts as the combo box).
void DescribeFocus(Output& out, HWND main) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info)) {
    out.Put("focus", "unknown");
    return;
  }
  out.PutFlag("active", info.hwndActive == main);
  HWND foreground = GetForegroundWindow();
  out.PutFlag("foreground", foreground == main);
  // Who has it instead: the desktop window's class is #32769.
  out.Put("foreground.class", foreground ? ClassOf(foreground) : std::wstring());
  HWND focus = info.hwndFocus;
  out.Put("focus.hwnd", HandleText(focus));
  out.Put("focus.class", focus ? ClassOf(focus) : std::wstring());
  if (focus == nullptr) {
    out.Put("focus", "none");
  } else if (focus == main) {
    out.Put("focus", "window");
  } else {
    HWND child = focus;
    while (child != nullptr && GetParent(child) != main) child = GetParent(child);
    out.Put("focus", child ? MainControlName(GetDlgCtrlID(child)) : "elsewhere");
  }
}

int DescribeMain(Output& out, const Options& options) {
  std::vector<HWND> mains;
  for (HWND hwnd : TopWindows()) {
    if (ClassIs(ClassOf(hwnd), wh::win32::kMainWindowClass)) mains.push_back(hwnd);
  }
  out.Put("count", static_cast<long long>(mains.size()));
  if (mains.empty()) return kExitNotFound;
  HWND main = mains.front();
  DescribeTopWindow(out, "", main);
  DescribeFocus(out, main);
  for (const auto& control : kMainControls) {
    HWND hwnd = GetDlgItem(main, control.id);
    out.PutFlag(Key(control.name, "exists"), hwnd != nullptr);
    if (hwnd == nullptr) continue;
    // The status bar's parts go by what they show.
    const bool status = control.id == wh::win32::kStatusBar;
    DescribeControl(
        out, control.name, hwnd, options.items,
        status ? std::span<const char* const>(kStatusParts) : std::span<const char* const>());
  }
  return kExitOk;
}

HWND FindTopWindow(const Filter& filter) {
  for (HWND hwnd : TopWindows()) {
    if (filter.Matches(hwnd)) return hwnd;
  }
  return nullptr;
}

int DescribeChildren(Output& out, const Options& options) {
  if (!options.filter.Any()) return kExitUsage;
  HWND top = FindTopWindow(options.filter);
  if (top == nullptr) return kExitNotFound;
  DescribeTopWindow(out, "", top);
  std::vector<HWND> children;
  EnumChildWindows(
      top,
      [](HWND hwnd, LPARAM param) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  out.Put("children", static_cast<long long>(children.size()));
  for (std::size_t i = 0; i < children.size(); ++i) {
    const std::string prefix = "child." + std::to_string(i);
    out.Put(Key(prefix, "hwnd"), HandleText(children[i]));
    out.Put(Key(prefix, "parent"), HandleText(GetParent(children[i])));
    out.Put(Key(prefix, "id"), GetDlgCtrlID(children[i]));
    DescribeControl(out, prefix, children[i], options.items);
  }
  return kExitOk;
}

// The text of a button as the user reads it: "&Yes" is "Yes".
std::wstring ButtonLabel(HWND button) {
  std::wstring label;
  const std::wstring text = TextOf(button);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;
    label.push_back(text[i]);
  }
  return label;
}

std::vector<HWND> MessageBoxes(const Filter& filter) {
  std::vector<HWND> boxes;
  for (HWND hwnd : TopWindows()) {
    if (!IsWindowVisible(hwnd) || !ClassIs(ClassOf(hwnd), L"#32770")) continue;
    if (filter.caption && TextOf(hwnd) != *filter.caption) continue;
    boxes.push_back(hwnd);
  }
  return boxes;
}

std::vector<HWND> ButtonsOf(HWND box) {
  std::vector<HWND> buttons;
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassIs(ClassOf(child), WC_BUTTONW) && IsWindowVisible(child)) buttons.push_back(child);
  }
  return buttons;
}

// The static control that holds a message box's text.
constexpr int kMessageTextId = 0xFFFF;

int DescribeMessageBoxes(Output& out, const Options& options) {
  const auto boxes = MessageBoxes(options.filter);
  out.Put("count", static_cast<long long>(boxes.size()));
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const std::string prefix = "msgbox." + std::to_string(i);
    out.Put(Key(prefix, "hwnd"), HandleText(boxes[i]));
    out.Put(Key(prefix, "caption"), TextOf(boxes[i]));
    HWND text = GetDlgItem(boxes[i], kMessageTextId);
    out.Put(Key(prefix, "text"), text ? TextOf(text) : std::wstring());
    out.Put(Key(prefix, "pid"), static_cast<long long>(ProcessOf(boxes[i])));
    out.Put(Key(prefix, "owner"), HandleText(GetWindow(boxes[i], GW_OWNER)));
    const auto buttons = ButtonsOf(boxes[i]);
    out.Put(Key(prefix, "buttons"), static_cast<long long>(buttons.size()));
    for (std::size_t b = 0; b < buttons.size(); ++b) {
      const std::string buttonKey = Key(prefix, "button." + std::to_string(b));
      out.Put(buttonKey, ButtonLabel(buttons[b]));
      out.Put(Key(buttonKey, "id"), GetDlgCtrlID(buttons[b]));
    }
  }
  return boxes.empty() ? kExitNotFound : kExitOk;
}

int PressMessageBoxButton(Output& out, const Options& options) {
  if (options.arguments.size() > 1) return kExitUsage;
  const auto boxes = MessageBoxes(options.filter);
  if (boxes.empty()) {
    out.Put("error", "no message box");
    return kExitNotFound;
  }
  HWND box = boxes.front();
  HWND button = nullptr;
  if (!options.arguments.empty()) {
    for (HWND candidate : ButtonsOf(box)) {
      if (_wcsicmp(ButtonLabel(candidate).c_str(), options.arguments.front().c_str()) == 0) {
        button = candidate;
        break;
      }
    }
    if (button == nullptr) {
      out.Put("error", L"no button " + options.arguments.front());
      return kExitNotFound;
    }
  } else {
    const LRESULT defaultId = Send(box, DM_GETDEFID, 0, 0).value_or(0);
    const int id = HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : IDOK;
    button = GetDlgItem(box, id);
  }
  const int id = button ? GetDlgCtrlID(button) : IDOK;
  // Read before the press: the box is gone soon after.
  const std::wstring label = button ? ButtonLabel(button) : std::wstring(L"OK");
  // Posted, not sent: the box's owner may be busy until the box has closed.
  if (!PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                    reinterpret_cast<LPARAM>(button))) {
    out.Put("error", "could not post to the message box");
    return kExitNotFound;
  }
  out.Put("pressed", label);
  out.Put("id", id);
  out.Put("hwnd", HandleText(box));
  return kExitOk;
}

int DescribeSettings(Output& out, const Options& options) {
  const std::vector<ControlName> settingsControls = SettingsControls();
  std::vector<HWND> windows;
  for (HWND hwnd : TopWindows()) {
    if (ClassIs(ClassOf(hwnd), wh::win32::kSettingsWindowClass)) windows.push_back(hwnd);
  }
  out.Put("count", static_cast<long long>(windows.size()));
  if (windows.empty()) return kExitNotFound;
  HWND settings = windows.front();
  DescribeTopWindow(out, "", settings);
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  if (GetGUIThreadInfo(GetWindowThreadProcessId(settings, nullptr), &info)) {
    out.PutFlag("active", info.hwndActive == settings);
    out.PutFlag("foreground", GetForegroundWindow() == settings);
    std::string focus = info.hwndFocus == nullptr ? "none" : "elsewhere";
    if (info.hwndFocus != nullptr && GetParent(info.hwndFocus) == settings) {
      const int id = GetDlgCtrlID(info.hwndFocus);
      focus = "id:" + std::to_string(id);
      for (const auto& control : settingsControls) {
        if (control.id == id) focus = control.name;
      }
    }
    out.Put("focus", focus);
  }
  for (const auto& control : settingsControls) {
    HWND hwnd = GetDlgItem(settings, control.id);
    out.PutFlag(Key(control.name, "exists"), hwnd != nullptr);
    if (hwnd != nullptr) DescribeControl(out, control.name, hwnd, options.items);
  }
  return kExitOk;
}

// The control --id of the window the filter names, for the verbs that act.
HWND TargetControl(Output& out, const Options& options) {
  HWND top = FindTopWindow(options.filter);
  if (top == nullptr) {
    out.Put("error", "no such window");
    return nullptr;
  }
  HWND control = GetDlgItem(top, *options.id);
  if (control == nullptr) out.Put("error", "no control " + std::to_string(*options.id));
  return control;
}

// Posted as the control's own click notification, so a handler that opens
// a modal box does not keep the driver waiting.
int ClickControl(Output& out, const Options& options) {
  HWND control = TargetControl(out, options);
  if (control == nullptr) return kExitNotFound;
  if (!PostMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(*options.id, BN_CLICKED),
                    reinterpret_cast<LPARAM>(control))) {
    out.Put("error", "could not post the click");
    return kExitNotFound;
  }
  out.Put("clicked", *options.id);
  return kExitOk;
}

int SetControlText(Output& out, const Options& options) {
  HWND control = TargetControl(out, options);
  if (control == nullptr) return kExitNotFound;
  const std::wstring& text = options.arguments.front();
  if (!Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()))) {
    out.Put("error", "the control did not answer");
    return kExitNotFound;
  }
  out.Put("text", TextOf(control));
  return kExitOk;
}

int SetControlCheck(Output& out, const Options& options) {
  const std::wstring& state = options.arguments.front();
  if (state != L"0" && state != L"1") return kExitUsage;
  HWND control = TargetControl(out, options);
  if (control == nullptr) return kExitNotFound;
  Send(control, BM_SETCHECK, state == L"1" ? BST_CHECKED : BST_UNCHECKED, 0);
  out.Put("checked", static_cast<int>(Send(control, BM_GETCHECK, 0, 0).value_or(-1)));
  return kExitOk;
}

// The record that copies of the executable at `path` share: its name is the
// path without backslashes.
int DescribeInstance(Output& out, const Options& options) {
  std::wstring name = options.arguments.front();
  name.erase(std::remove(name.begin(), name.end(), L'\\'), name.end());
  const wh::ScopedHandle mapping(OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str()));
  if (!mapping.Valid()) {
    out.Put("exists", 0);
    return kExitNotFound;
  }
  const wh::ScopedMappedView<const std::int32_t> record(
      static_cast<const std::int32_t*>(MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 8)));
  if (!record.Valid()) return kExitNotFound;
  out.Put("exists", 1);
  out.Put("window", static_cast<int>(record.Get()[0]));
  out.Put("count", static_cast<int>(record.Get()[1]));
  return kExitOk;
}

// What Windows sends a window that moves to a monitor of `dpi`: the new DPI
// and a suggested rectangle, here the present one scaled about its top-left
// corner. The rectangle is written into the window's own process, as the
// message carries only its address.
int SendDpiChanged(Output& out, const Options& options) {
  const int dpi = _wtoi(options.arguments.front().c_str());
  HWND top = FindTopWindow(options.filter);
  if (dpi <= 0 || top == nullptr) return dpi <= 0 ? kExitUsage : kExitNotFound;
  HDC screen = GetDC(nullptr);
  const int oldDpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  RECT rect = {};
  GetWindowRect(top, &rect);
  rect.right = rect.left + MulDiv(rect.right - rect.left, dpi, oldDpi);
  rect.bottom = rect.top + MulDiv(rect.bottom - rect.top, dpi, oldDpi);
  DWORD pid = 0;
  GetWindowThreadProcessId(top, &pid);
  const wh::ScopedHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid));
  void* remote = process.Valid() ? VirtualAllocEx(process.Get(), nullptr, sizeof(rect),
                                                  MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)
                                 : nullptr;
  if (remote == nullptr ||
      !WriteProcessMemory(process.Get(), remote, &rect, sizeof(rect), nullptr)) {
    out.Put("error", "cannot write into the window's process");
    return kExitNotFound;
  }
  const bool answered =
      Send(top, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote)).has_value();
  VirtualFreeEx(process.Get(), remote, 0, MEM_RELEASE);
  if (!answered) {
    out.Put("error", "the window did not answer");
    return kExitNotFound;
  }
  out.Put("suggested", RectText(rect));
  return kExitOk;
}

// Asks the notification area about the program's icon, as the program
// itself names it; with `forget`, takes it out, as a task bar that ends
// loses every icon.
int TrayIconState(Output& out, const Options& options) {
  const bool forget = !options.arguments.empty();
  if (forget && options.arguments.front() != L"forget") return kExitUsage;
  HWND owner = FindWindowW(wh::win32::kTrayWindowClass, nullptr);
  if (owner == nullptr) {
    out.Put("error", "no tray window");
    return kExitNotFound;
  }
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = owner;
  data.uID = wh::win32::kTrayIconId;
  // A change of nothing succeeds exactly when the icon is there.
  const bool present = Shell_NotifyIconW(NIM_MODIFY, &data);
  out.Put("present", present ? 1 : 0);
  if (forget) out.Put("forgotten", present && Shell_NotifyIconW(NIM_DELETE, &data) ? 1 : 0);
  return kExitOk;
}

bool TakesOneArgument(const std::wstring& verb) {
  return verb == L"set-text" || verb == L"set-check";
}

bool NeedsControl(const std::wstring& verb) { return verb == L"click" || TakesOneArgument(verb); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const auto options = ParseOptions(argc, argv);
  if (!options) {
    fputws(kUsage, stderr);
    return kExitUsage;
  }
  Output out;
  gMeasureDpi = options->dpi.value_or(0);
  int code = kExitUsage;
  if (NeedsControl(options->verb)) {
    const bool wellFormed =
        options->filter.Any() && options->id &&
        options->arguments.size() == (TakesOneArgument(options->verb) ? 1u : 0u);
    if (!wellFormed) {
      code = kExitUsage;
    } else if (options->verb == L"click") {
      code = ClickControl(out, *options);
    } else if (options->verb == L"set-text") {
      code = SetControlText(out, *options);
    } else {
      code = SetControlCheck(out, *options);
    }
  } else if (options->verb == L"instance") {
    code = options->arguments.size() == 1 ? DescribeInstance(out, *options) : kExitUsage;
  } else if (options->verb == L"dpi-changed") {
    code = options->filter.Any() && options->arguments.size() == 1 ? SendDpiChanged(out, *options)
                                                                   : kExitUsage;
  } else if (options->verb == L"tray-icon") {
    code = options->arguments.size() <= 1 ? TrayIconState(out, *options) : kExitUsage;
  } else if (!options->arguments.empty() && options->verb != L"msgbox-press") {
    code = kExitUsage;
  } else if (options->verb == L"windows") {
    code = ListWindows(out, *options);
  } else if (options->verb == L"main") {
    code = DescribeMain(out, *options);
  } else if (options->verb == L"children") {
    code = DescribeChildren(out, *options);
  } else if (options->verb == L"msgbox") {
    code = DescribeMessageBoxes(out, *options);
  } else if (options->verb == L"msgbox-press") {
    code = PressMessageBoxButton(out, *options);
  } else if (options->verb == L"settings") {
    code = DescribeSettings(out, *options);
  } else if (options->verb == L"environment-changed") {
    // As the system's dialog for environment variables announces a change.
    DWORD_PTR result = 0;
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0,
                        reinterpret_cast<LPARAM>(L"Environment"), SMTO_ABORTIFHUNG, 5000, &result);
    code = kExitOk;
  } else if (options->verb == L"taskbar-created") {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0,
                        SMTO_ABORTIFHUNG, 5000, &result);
    code = kExitOk;
  }
  if (code == kExitUsage) {
    fputws(kUsage, stderr);
    return kExitUsage;
  }
  if (!out.Flush(options->outPath)) {
    fwprintf(stderr, L"whdriver: cannot write %ls\n", options->outPath->c_str());
    return kExitUsage;
  }
  return code;
}
