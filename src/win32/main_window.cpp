#include "win32/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <array>
#include <exception>
#include <iterator>

#include "app/launcher.h"
#include "win32/dpi.h"
#include "win32/gauge.h"
#include "win32/sorted_box.h"
#include "win32/utf16.h"
#include "win32/win32_environment.h"
#include "win32/window_ids.h"
#include "win32/window_manager_focus.h"

namespace wh {
namespace {

using namespace win32;

using namespace main_layout;

// A pop-up with a caption looks as an overlapped window does; being an owned
// pop-up, it is a dialog to an X window manager (Wine), which then gives it
// the keyboard back when one of its message boxes closes, as Windows does.
constexpr DWORD kMainStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kMainExStyle = WS_EX_TOPMOST;

// The control of each part of the information panel.
constexpr int PanelControlId(PanelPart part) {
  switch (part) {
    case PanelPart::ProcessesLabel:
      return kProcessesCaption;
    case PanelPart::ProcessCount:
      return kProcessCount;
    case PanelPart::PageFileLabel:
      return kPageFileCaption;
    case PanelPart::PageFile:
      return kPageFile;
    case PanelPart::MemoryLabel:
      return kMemoryCaption;
    case PanelPart::Gauge:
      return kMemoryGauge;
  }
  return 0;
}

// UTF-16 offsets of the edit field and UTF-8 offsets of the program's text.
std::size_t Utf8Offset(const std::wstring& text, DWORD wideOffset) {
  return WideToUtf8(std::wstring_view(text).substr(0, wideOffset)).size();
}

DWORD WideOffset(const std::string& text, std::size_t utf8Offset) {
  return static_cast<DWORD>(Utf8ToWide(std::string_view(text).substr(0, utf8Offset)).size());
}

// The keys the boxes act on, among the virtual-key codes.
Key BoxKey(WPARAM virtualKey) {
  switch (virtualKey) {
    case VK_RETURN:
      return Key::Enter;
    case VK_ESCAPE:
      return Key::Escape;
    case VK_UP:
      return Key::Up;
    case VK_DOWN:
      return Key::Down;
    default:
      return Key::Other;
  }
}

// Gives a box its own window procedure back as it goes.
void Unhook(HWND box, WNDPROC original) {
  SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
  SetWindowLongPtrW(box, GWLP_USERDATA, 0);
}

}  // namespace

// ---------------------------------------------------------------------------

ApplicationWindow::ApplicationWindow() {
  RegisterWindowClass(kApplicationWindowClass, ClassLook::Owner);
  const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
  const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
  Create(0, kApplicationWindowClass, kTitle,
         WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0, 0,
         nullptr);
}

ApplicationWindow::~ApplicationWindow() { Destroy(); }

LRESULT ApplicationWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // Errors of these handlers come up on their own: this window is never
  // drawn, so a message box owned by it would sit where nobody sees it.
  auto run = [](const std::function<void()>& handler) {
    if (handler)
      GuardHandler(
          nullptr, [&] { return (handler(), 0); }, 0);
  };
  switch (message) {
    case WM_CLOSE:
      // Closing from the task-bar button closes the main window, which
      // decides what closing means.
      run(onClose_);
      return 0;
    case WM_SYSCOMMAND:
      // Minimising from the task-bar button sends the program to the tray,
      // which minimises this window itself.
      if (wParam == SC_MINIMIZE && onMinimize_) {
        run(onMinimize_);
        return 0;
      }
      break;
    case WM_SIZE:
      // Restored by its handle (a second start does that): the main window
      // comes back with it, as an owned window does.
      if (wParam == SIZE_RESTORED) run(onRestore_);
      break;
    case WM_SETTINGCHANGE:
      // Programs started from now on get the variables the user has set
      // since the log-in, as those started from Explorer do.
      if (IsEnvironmentChange(reinterpret_cast<const wchar_t*>(lParam))) {
        RefreshEnvironmentFromSystem();
      }
      break;
    case WM_ACTIVATE:
      // The program's own windows keep the focus; the owner never does. It
      // hands the foreground on, not only the focus, so that a window brought
      // back through the owner (a second start does that) is the one the
      // keyboard goes to.
      if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(Handle())) {
        HWND popup = ShownPopupOf(Handle());
        if (popup != nullptr && !SetForegroundWindow(popup)) SetFocus(popup);
      }
      return 0;
  }
  return Default(message, wParam, lParam);
}

// ---------------------------------------------------------------------------

MainWindow::MainWindow(const ApplicationWindow& application) : application_(application) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  RegisterGaugeClass();
  RegisterWindowClass(kMainWindowClass, ClassLook::Program);

  RECT frame{0, 0, Scale(kClientWidth), Scale(2 * kBandHeight + kStatusHeight)};
  AdjustFrameAtDpi(frame, kMainStyle, kMainExStyle, FrameDpi());
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  Create(kMainExStyle, kMainWindowClass, kTitle, kMainStyle,
         (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
         width, height, application.Handle());
  tray_ = std::make_unique<TrayIcon>([this](TrayCommand command) { OnMenuCommand(command); });
}

MainWindow::~MainWindow() {
  tray_.reset();
  UnregisterHotKey();
  Destroy();
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_ACTIVATE:
      OnActivate(wParam);
      return 0;
    case WM_HOTKEY:
      if (launcher_ != nullptr && static_cast<int>(wParam) == hotKeyId_) {
        launcher_->HotKeyPressed();
        // Presses queued meanwhile (while the start loaded the index, or a
        // reload ran, or the key repeated) asked for the showing just done.
        MSG queued;
        while (PeekMessageW(&queued, Handle(), WM_HOTKEY, WM_HOTKEY, PM_REMOVE)) {
        }
      }
      return 0;
    case WM_CONTEXTMENU:
      PopUpTrayMenu();
      return 0;
    case WM_ACTIVATEAPP:
      if (wParam && launcher_ != nullptr) launcher_->ApplicationActivated();
      return 0;
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  }
  return Default(message, wParam, lParam);
}

void MainWindow::MakeFonts() {
  const LOGFONTW label = MessageFont(8);
  labelFont_ = MakeFont(label);
  LOGFONTW value = label;
  lstrcpynW(value.lfFaceName, L"Arial", LF_FACESIZE);
  valueFont_ = MakeFont(value);
}

void MainWindow::SetStatusParts() {
  constexpr int kPanels = static_cast<int>(std::size(kStatusPanels));
  int rights[kPanels];
  for (int i = 0; i < kPanels; ++i) rights[i] = Scale(kStatusPanels[i].right);
  // The last panel reaches the window's edge: the few pixels the panels
  // leave would show as an empty fourth one.
  rights[kPanels - 1] = -1;
  SendMessageW(Control(kStatusBar), SB_SETPARTS, kPanels, reinterpret_cast<LPARAM>(rights));
}

void MainWindow::OnRescaled() {
  RemakeFonts({&labelFont_, &valueFont_}, [this] { MakeFonts(); });
  SetStatusParts();
  LayOut();
  PlacePanel();
  if (tray_) tray_->FitIcon();
}

void MainWindow::OnCreate() {
  MakeFonts();

  // The information panel. The value labels stand inside the frames, which
  // the window paints itself; those with a hint tell the tooltip of the
  // pointer (SS_NOTIFY).
  const DWORD labelStyle = WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
  for (const PanelPlace& place : kPanel) {
    const bool value = place.part == PanelPart::ProcessCount || place.part == PanelPart::PageFile;
    if (place.part == PanelPart::Gauge) {
      AddControl(kGaugeClass, place.text, WS_VISIBLE, kMemoryGauge, place.left, place.top,
                 place.width, place.height, labelFont_.Get());
    } else {
      AddControl(WC_STATICW, place.text, labelStyle | (place.hint ? SS_NOTIFY : 0),
                 PanelControlId(place.part), place.left, place.top, place.width, place.height,
                 value ? valueFont_.Get() : labelFont_.Get());
    }
  }

  // The keyword band: both boxes share one place; the item box starts hidden.
  AddControl(WC_COMBOBOXW, "",
             WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL,
             kKeywordBox, kBoxLeft, kBandHeight + kBoxTop, kBoxWidth, kListHeight,
             labelFont_.Get());
  AddControl(WC_COMBOBOXW, "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT, kItemBox,
             kBoxLeft, kBandHeight + kBoxTop, kBoxWidth, kListHeight, labelFont_.Get());

  AddControl(STATUSCLASSNAMEW, "", WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE, kStatusBar, 0,
             2 * kBandHeight, kClientWidth, kStatusHeight, labelFont_.Get());
  // Any length of typed text; the default limit would cut long input.
  SendMessageW(Control(kKeywordBox), CB_LIMITTEXT, 0, 0);
  // Hooked by replacing their window procedures: the boxes take tens of
  // thousands of messages per fill, and comctl32's subclassing looks its
  // data up by window property at each one, which Wine serves slowly.
  HookBox(hooks_[0], KeywordEdit(), kKeywordBox);
  HookBox(hooks_[1], Control(kKeywordBox), 0);
  HookBox(hooks_[2], Control(kItemBox), kItemBox);

  SetStatusParts();
  for (const StatusPanelPlace& place : kStatusPanels) SetStatusPanel(place.panel, place.text);
  SetRememberedFocus(Control(kKeywordBox));
  AddTooltips();
  PlacePanel();
}

void MainWindow::AddTooltips() {
  HWND window = Handle();
  tooltips_ = CreateTooltips(window);
  for (const PanelPlace& place : kPanel) {
    if (place.hint) AddTooltip(tooltips_, window, Control(PanelControlId(place.part)), place.hint);
  }
  AddTooltip(tooltips_, window, Control(kStatusBar), kStatusBarHint);
  // The boxes relay their mouse messages themselves (see HookBox).
  AddTooltip(tooltips_, window, Control(kKeywordBox), kKeywordBoxHint, true);
  AddTooltip(tooltips_, window, KeywordEdit(), kKeywordBoxHint, true);
  AddTooltip(tooltips_, window, Control(kItemBox), kItemBoxHint, true);
}

void MainWindow::OnMenuCommand(TrayCommand command) {
  if (launcher_ != nullptr) RunTrayCommand(*launcher_, command);
}

HWND MainWindow::KeywordEdit() const {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  GetComboBoxInfo(Control(kKeywordBox), &info);
  return info.hwndItem;
}

void MainWindow::HookBox(BoxHook& hook, HWND box, int id) {
  hook.self = this;
  hook.id = id;
  hook.original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(box, GWLP_WNDPROC));
  SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&hook));
  SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BoxProc));
}

LRESULT CALLBACK MainWindow::BoxProc(HWND hwnd, UINT message, WPARAM wParam,
                                     LPARAM lParam) noexcept {
  auto* hook = reinterpret_cast<BoxHook*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return GuardHandler(
      GetAncestor(hwnd, GA_ROOT),
      [&] { return hook->self->OnBoxMessage(*hook, hwnd, message, wParam, lParam); }, LRESULT{0});
}

LRESULT MainWindow::OnBoxMessage(const BoxHook& hook, HWND box, UINT message, WPARAM wParam,
                                 LPARAM lParam) {
  const WNDPROC original = hook.original;
  if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
    RelayToTooltips(box, message, wParam, lParam);
  }
  switch (message) {
    case WM_NCDESTROY:
      Unhook(box, original);
      break;
    case WM_CONTEXTMENU:
      // The boxes' context menu is the tray menu, not the edit field's own.
      if (lParam == -1) {
        PopUpMenuAtCaret(box);
      } else {
        PopUpTrayMenu();
      }
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      // Opened at once and the key used up: the system would otherwise open
      // the menu again on the key's release, or (F10) the window menu.
      if (IsContextMenuKey(wParam)) {
        menuKeyDown_ = static_cast<UINT>(wParam);
        PopUpMenuAtCaret(box);
        return 0;
      }
      if (launcher_ != nullptr && hook.id != 0 && !OnBoxKey(hook.id, box, wParam)) return 0;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (menuKeyDown_ != 0 && wParam == menuKeyDown_) {
        menuKeyDown_ = 0;
        return 0;
      }
      break;
    case WM_CHAR:
      if (launcher_ != nullptr && hook.id == kKeywordBox) {
        return OnKeywordBoxChar(original, box, wParam, lParam);
      }
      break;
  }
  return CallWindowProcW(original, box, message, wParam, lParam);
}

void MainWindow::RelayToTooltips(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  if (tooltips_ == nullptr) return;
  MSG relayed{box, message, wParam, lParam, 0, {}};
  SendMessageW(tooltips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void MainWindow::PopUpTrayMenu() { tray_->PopUpMenu(Handle()); }

bool MainWindow::IsContextMenuKey(WPARAM virtualKey) {
  if (virtualKey == VK_APPS) return true;
  return virtualKey == VK_F10 && GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) >= 0 &&
         GetKeyState(VK_MENU) >= 0;
}

void MainWindow::PopUpMenuAtCaret(HWND box) {
  RECT shape{};
  GetClientRect(box, &shape);
  POINT at{0, shape.bottom};
  POINT caret{};
  if (box == KeywordEdit() && GetCaretPos(&caret)) at.x = caret.x;
  ClientToScreen(box, &at);
  tray_->PopUpMenu(Handle(), at);
}

bool MainWindow::OnBoxKey(int boxId, HWND box, WPARAM virtualKey) {
  const Key key = BoxKey(virtualKey & 0xFFFF);
  if (boxId == kKeywordBox) {
    launcher_->OnKeywordKey(key);
  } else {
    launcher_->OnItemKey(key);
  }
  return IsWindow(box) != FALSE;
}

LRESULT MainWindow::OnKeywordBoxChar(WNDPROC original, HWND box, WPARAM wParam, LPARAM lParam) {
  const wchar_t unit = static_cast<wchar_t>(wParam);
  if (IS_HIGH_SURROGATE(unit)) {
    pendingHighSurrogate_ = unit;
    return 0;
  }
  std::wstring typed(1, unit);
  if (IS_LOW_SURROGATE(unit) && pendingHighSurrogate_ != 0) {
    typed.insert(typed.begin(), pendingHighSurrogate_);
  }
  pendingHighSurrogate_ = 0;
  if (launcher_->OnKeywordChar(WideToUtf8(typed))) return 0;
  if (typed.size() == 2) {
    CallWindowProcW(original, box, WM_CHAR, typed[0], lParam);
    return CallWindowProcW(original, box, WM_CHAR, typed[1], lParam);
  }
  return CallWindowProcW(original, box, WM_CHAR, wParam, lParam);
}

void MainWindow::OnPaint() {
  const PaintDC paint(Handle());
  if (!infoPanel_) return;
  for (const PanelBox& frame : panel_.frames) {
    RECT shape{frame.left, frame.top, frame.Right(), frame.top + frame.height};
    FillRect(paint.Get(), &shape, GetSysColorBrush(COLOR_BTNFACE));
    FrameRect(paint.Get(), &shape, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
}

void MainWindow::OnClose() {
  if (launcher_ == nullptr || launcher_->OnClose()) EndMessageLoop();
}

void MainWindow::OnActivate(WPARAM wParam) {
  // Back to the control that had the focus, else to the box on show; the
  // edit field of the keyword box counts as the box.
  KeepFocusAcrossActivation(
      wParam, IsWindowVisible(Control(kItemBox)) ? Control(kItemBox) : Control(kKeywordBox));
}

void MainWindow::LayOut() {
  const int boxBand = infoPanel_ ? kBandHeight : 0;
  for (const PanelPlace& place : kPanel) {
    ShowWindow(Control(PanelControlId(place.part)), infoPanel_ ? SW_SHOWNA : SW_HIDE);
  }
  for (int id : {kKeywordBox, kItemBox}) {
    SetWindowPos(Control(id), nullptr, Scale(kBoxLeft), Scale(boxBand + kBoxTop), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  HWND status = Control(kStatusBar);
  SetWindowPos(status, nullptr, 0, Scale(boxBand + kBandHeight), Scale(kClientWidth),
               Scale(kStatusHeight), SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(status, statusBar_ ? SW_SHOWNA : SW_HIDE);

  const int clientHeight = boxBand + kBandHeight + (statusBar_ ? kStatusHeight : 0);
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE));
  RECT frame{0, 0, Scale(kClientWidth), Scale(clientHeight)};
  AdjustFrameAtDpi(frame, style, exStyle, FrameDpi());
  SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void MainWindow::SetCaption(const std::string& text) { SetWindowTextUtf8(Handle(), text); }

void MainWindow::PlaceAt(int left, int top) {
  SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

MainView::Point MainWindow::Position() const {
  RECT rect{};
  GetWindowRect(Handle(), &rect);
  return {rect.left, rect.top};
}

ScreenRect MainWindow::Frame() const {
  RECT rect{};
  GetWindowRect(Handle(), &rect);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

std::vector<Monitor> MainWindow::Monitors() const {
  std::vector<Monitor> monitors;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (GetMonitorInfoW(monitor, &info)) {
          const RECT& all = info.rcMonitor;
          const RECT& work = info.rcWork;
          reinterpret_cast<std::vector<Monitor>*>(data)->push_back(
              {{all.left, all.top, all.right, all.bottom},
               {work.left, work.top, work.right, work.bottom}});
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

void MainWindow::CentreOnScreen() {
  RECT rect{};
  GetWindowRect(Handle(), &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  PlaceAt((GetSystemMetrics(SM_CXSCREEN) - width) / 2,
          (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
}

void MainWindow::SetBandsVisible(bool infoPanel, bool statusBar) {
  infoPanel_ = infoPanel;
  statusBar_ = statusBar;
  LayOut();
}

void MainWindow::SetTopmost(bool topmost, bool showPending) {
  const bool isTopmost = (GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  if (!topmost && isTopmost) {
    // Wine keeps an owned window in the topmost band while its restored
    // owner sits right below it; the owner's move to the bottom lets it go.
    // The main window then goes above every normal window all the same.
    SetWindowPos(application_.Handle(), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  RECT rect{};
  GetWindowRect(Handle(), &rect);
  SetWindowPos(Handle(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, rect.left, rect.top,
               rect.right - rect.left, rect.bottom - rect.top,
               showPending ? SWP_HIDEWINDOW : SWP_SHOWWINDOW);
}

void MainWindow::Show() {
  ShowWindow(application_.Handle(), SW_SHOWNA);
  ShowWindow(Handle(), SW_SHOW);
}

bool MainWindow::IsVisible() const { return IsWindowVisible(Handle()) != FALSE; }

void MainWindow::HideToTray() {
  RememberFocus();
  if (IsWindowVisible(Handle())) hiddenToTray_ = true;
  ShowWindow(Handle(), SW_HIDE);
  // Minimised as well as hidden, so that restoring it by its handle (as a
  // second start does) brings the window back.
  HWND application = application_.Handle();
  if (!IsIconic(application)) ShowWindow(application, SW_SHOWMINNOACTIVE);
  HideOwner(application);
}

void MainWindow::ShowFromTray() {
  HWND application = application_.Handle();
  ShowWindow(application, SW_SHOWNA);
  if (IsIconic(application)) ShowWindow(application, SW_RESTORE);
  ReturnFromTray();
}

void MainWindow::ReturnFromTray() {
  if (!hiddenToTray_) return;
  hiddenToTray_ = false;
  ShowWindow(Handle(), SW_SHOW);
}

void MainWindow::SetTitleBarVisible(bool visible) {
  const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
  const bool hasCaption = (style & WS_CAPTION) == WS_CAPTION;
  if (visible == hasCaption) return;
  const LONG_PTR newStyle = visible ? (style | WS_CAPTION) : ((style & ~WS_CAPTION) | WS_BORDER);
  SetWindowLongPtrW(Handle(), GWL_STYLE, newStyle);
  RECT rect{};
  GetWindowRect(Handle(), &rect);
  const int change = MetricAtDpi(SM_CYCAPTION, FrameDpi()) * (visible ? 1 : -1);
  SetWindowPos(Handle(), nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top + change,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

bool MainWindow::RegisterHotKey(const HotKeyCombo& hotKey) {
  UnregisterHotKey();
  const UINT modifiers =
      (hotKey.ctrl ? MOD_CONTROL : 0) | (hotKey.shift ? MOD_SHIFT : 0) | (hotKey.alt ? MOD_ALT : 0);
  const int id = nextHotKeyId_++;
  if (!::RegisterHotKey(Handle(), id, modifiers, static_cast<UINT>(hotKey.key))) return false;
  hotKeyId_ = id;
  return true;
}

void MainWindow::UnregisterHotKey() {
  if (hotKeyId_ < 0) return;
  ::UnregisterHotKey(Handle(), hotKeyId_);
  hotKeyId_ = -1;
}

void MainWindow::SetTrayHint(const std::string& hint) { tray_->SetHint(hint); }

void MainWindow::SetShowShortcut(const std::string& keyText) { tray_->SetShowShortcut(keyText); }

void MainWindow::BringToFront() {
  HWND popup = ShownPopupOf(application_.Handle());
  if (popup == nullptr) return;
  SetForegroundWindow(popup);
  HandKeyboardToForeground(application_.Handle());
}

void MainWindow::EndMessageLoop() { PostQuitMessage(0); }

void MainWindow::ShowMessage(const std::string& text) { ShowProgramMessage(Handle(), text); }

void MainWindow::SetKeywordItems(const std::vector<std::string>& words) {
  FillSortedBox(Control(kKeywordBox), words);
}

void MainWindow::ClearItemBox() { SendMessageW(Control(kItemBox), CB_RESETCONTENT, 0, 0); }

void MainWindow::ShowKeywordBox() {
  ShowWindow(Control(kKeywordBox), SW_SHOWNA);
  ShowWindow(Control(kItemBox), SW_HIDE);
}

void MainWindow::SetKeywordText(const std::string& text) {
  HWND box = Control(kKeywordBox);
  SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SetWindowTextUtf8(box, text);
}

void MainWindow::FocusKeywordBox() {
  SetRememberedFocus(Control(kKeywordBox));
  SetFocus(Control(kKeywordBox));
}

void MainWindow::SetStatusPanel(StatusPanel panel, const std::string& text) {
  // The status bar's parts are numbered as the table's rows.
  SendMessageW(Control(kStatusBar), SB_SETTEXTW, StatusPanelRow(panel),
               reinterpret_cast<LPARAM>(Utf8ToWide(text).c_str()));
}

std::string MainWindow::KeywordText() const { return ControlText(kKeywordBox); }

EditState MainWindow::KeywordField() const {
  const std::wstring text = WindowTextWide(Control(kKeywordBox));
  DWORD start = 0, end = 0;
  SendMessageW(KeywordEdit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  return {WideToUtf8(text), Utf8Offset(text, start), Utf8Offset(text, end)};
}

void MainWindow::SetKeywordField(const EditState& field, int entry) {
  HWND box = Control(kKeywordBox);
  SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
  SetWindowTextUtf8(box, field.text);
  SendMessageW(KeywordEdit(), EM_SETSEL, WideOffset(field.text, field.selStart),
               WideOffset(field.text, field.selEnd));
}

void MainWindow::DropKeywordList() { SendMessageW(Control(kKeywordBox), CB_SHOWDROPDOWN, TRUE, 0); }

void MainWindow::FillItemBox(const std::vector<std::string>& names) {
  FillSortedBox(Control(kItemBox), names, true);
}

void MainWindow::SelectFirstItem() { SendMessageW(Control(kItemBox), CB_SETCURSEL, 0, 0); }

void MainWindow::ShowItemBox() {
  ShowWindow(Control(kItemBox), SW_SHOWNA);
  ShowWindow(Control(kKeywordBox), SW_HIDE);
}

void MainWindow::DropItemList() { SendMessageW(Control(kItemBox), CB_SHOWDROPDOWN, TRUE, 0); }

void MainWindow::FocusItemBox() {
  SetRememberedFocus(Control(kItemBox));
  SetFocus(Control(kItemBox));
}

int MainWindow::SelectedItem() const {
  HWND box = Control(kItemBox);
  const LRESULT entry = SendMessageW(box, CB_GETCURSEL, 0, 0);
  if (entry == CB_ERR) return -1;
  const LRESULT place = SendMessageW(box, CB_GETITEMDATA, static_cast<WPARAM>(entry), 0);
  return place == CB_ERR ? -1 : static_cast<int>(place);
}

void MainWindow::SetProcessCount(const std::string& text) {
  SetControlText(kProcessCount, text);
  PlacePanel();
}

void MainWindow::SetPageFile(const std::string& text) {
  SetControlText(kPageFile, text);
  PlacePanel();
}

void MainWindow::PlacePanel() {
  std::string texts[std::size(kPanel)];
  std::array<std::string_view, std::size(kPanel)> views;
  for (std::size_t i = 0; i < std::size(kPanel); ++i) {
    texts[i] = ControlText(PanelControlId(kPanel[i].part));
    views[i] = texts[i];
  }
  const WindowDC dc(Handle());
  const PanelTextWidth width = [&](PanelPart part, std::string_view text) {
    HWND label = Control(PanelControlId(part));
    const HGDIOBJ previous =
        SelectObject(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    const std::wstring wide = Utf8ToWide(text);
    SIZE size{};
    GetTextExtentPoint32W(dc.Get(), wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(dc.Get(), previous);
    return static_cast<int>(size.cx);
  };
  panel_ = LayOutPanel(views, width, Dpi());
  for (std::size_t i = 0; i < std::size(kPanel); ++i) {
    const PanelBox& box = panel_.parts[i];
    SetWindowPos(Control(PanelControlId(kPanel[i].part)), nullptr, box.left, box.top, box.width,
                 box.height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(Handle(), nullptr, TRUE);
}

void MainWindow::SetGaugeProgress(int progress) {
  SendMessageW(Control(kMemoryGauge), kGaugeSetProgress, static_cast<WPARAM>(progress), 0);
}

void MainWindow::SetGaugeLow(bool low) {
  SendMessageW(Control(kMemoryGauge), kGaugeSetBarColor,
               low ? RGB(255, 0, 0) : GetSysColor(COLOR_HIGHLIGHT), 0);
}

}  // namespace wh
