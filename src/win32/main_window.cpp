#include "win32/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <exception>

#include "app/Unit1.h"
#include "win32/gauge.h"
#include "win32/resource_ids.h"
#include "win32/utf16.h"
#include "win32/window_ids.h"

namespace wh {
namespace {

using namespace win32;

constexpr wchar_t kTitle[] = L"Wordhopper";
constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kMainExStyle = WS_EX_TOPMOST;

// Sizes of the window as designed, in pixels at 96 dots per inch.
constexpr int kClientWidth = 457;
constexpr int kBandHeight = 25;
constexpr int kStatusHeight = 20;
constexpr int kBoxLeft = 4, kBoxTop = 2, kBoxWidth = 453, kBoxHeight = 21;
// How far a box's list drops down.
constexpr int kListHeight = 240;
constexpr RECT kShape1 = {61, 2, 61 + 31, 2 + 18};
constexpr RECT kShape2 = {150, 2, 150 + 182, 2 + 18};

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// UTF-16 offsets of the edit field and UTF-8 offsets of the program's text.
std::size_t Utf8Offset(const std::wstring& text, DWORD wideOffset) {
  return WideToUtf8(std::wstring_view(text).substr(0, wideOffset)).size();
}

DWORD WideOffset(const std::string& text, std::size_t utf8Offset) {
  return static_cast<DWORD>(Utf8ToWide(std::string_view(text).substr(0, utf8Offset)).size());
}

void FillBox(HWND box, const std::vector<std::string>& entries) {
  // The entries come in the box's own order, so each goes in at the end of
  // its search without moving the others; drawing waits until all are in.
  // The list is a window of its own, which redraws and updates its scroll
  // bar at each entry unless told not to.
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  GetComboBoxInfo(box, &info);
  SendMessageW(box, WM_SETREDRAW, FALSE, 0);
  if (info.hwndList) SendMessageW(info.hwndList, WM_SETREDRAW, FALSE, 0);
  SendMessageW(box, CB_RESETCONTENT, 0, 0);
  std::size_t bytes = 0;
  for (const std::string& entry : entries) bytes += (entry.size() + 1) * sizeof(wchar_t);
  SendMessageW(box, CB_INITSTORAGE, entries.size(), bytes);
  for (const std::string& entry : entries) {
    SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(entry).c_str()));
  }
  if (info.hwndList) SendMessageW(info.hwndList, WM_SETREDRAW, TRUE, 0);
  SendMessageW(box, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(box, nullptr, TRUE);
}

}  // namespace

// ---------------------------------------------------------------------------

ApplicationWindow::ApplicationWindow() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = Proc;
  wc.hInstance = Instance();
  wc.hIcon = LoadIconW(Instance(), MAKEINTRESOURCEW(IDI_WORDHOPPER));
  wc.hIconSm = wc.hIcon;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kApplicationWindowClass;
  RegisterClassExW(&wc);
  const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
  const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
  hwnd_ = CreateWindowExW(0, kApplicationWindowClass, kTitle,
                          WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x,
                          y, 0, 0, nullptr, nullptr, Instance(), nullptr);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ApplicationWindow::~ApplicationWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT CALLBACK ApplicationWindow::Proc(HWND hwnd, UINT message, WPARAM wParam,
                                         LPARAM lParam) noexcept {
  auto* self = reinterpret_cast<ApplicationWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  auto run = [](const std::function<void()>& handler) {
    if (handler)
      GuardHandler(
          nullptr, [&] { return (handler(), 0); }, 0);
  };
  switch (message) {
    case WM_CLOSE:
      // Closing from the task-bar button closes the main window, which
      // decides what closing means.
      if (self != nullptr) run(self->onClose_);
      return 0;
    case WM_SYSCOMMAND:
      // Minimising from the task-bar button sends the program to the tray,
      // which minimises this window itself.
      if (wParam == SC_MINIMIZE && self != nullptr && self->onMinimize_) {
        run(self->onMinimize_);
        return 0;
      }
      break;
    case WM_SIZE:
      // Restored by its handle (a second start does that): the main window
      // comes back with it, as an owned window does.
      if (wParam == SIZE_RESTORED && self != nullptr) run(self->onRestore_);
      break;
    case WM_ACTIVATE:
      // The program's own windows keep the focus; the owner never does.
      if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(hwnd)) {
        HWND popup = GetLastActivePopup(hwnd);
        if (popup != hwnd && IsWindowVisible(popup) && IsWindowEnabled(popup)) SetFocus(popup);
      }
      return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// ---------------------------------------------------------------------------

MainWindow::MainWindow(const ApplicationWindow& application) : application_(application) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  RegisterGaugeClass();

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = BoundWindowProc<MainWindow>;
  wc.hInstance = Instance();
  wc.hIcon = LoadIconW(Instance(), MAKEINTRESOURCEW(IDI_WORDHOPPER));
  wc.hIconSm = static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(IDI_WORDHOPPER),
                                             IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), 0));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kMainWindowClass;
  RegisterClassExW(&wc);

  HDC screen = GetDC(nullptr);
  dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);

  RECT frame{0, 0, Scale(kClientWidth), Scale(2 * kBandHeight + kStatusHeight)};
  AdjustWindowRectEx(&frame, kMainStyle, FALSE, kMainExStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  CreateWindowExW(kMainExStyle, kMainWindowClass, kTitle, kMainStyle,
                  (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                  (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, application.Handle(),
                  nullptr, Instance(), this);
  tray_ = std::make_unique<TrayIcon>(wc.hIcon, [this](int command) { OnMenuCommand(command); });
}

MainWindow::~MainWindow() {
  tray_.reset();
  UnregisterHotKey();
  if (hwnd_) DestroyWindow(hwnd_);
  if (labelFont_) DeleteObject(labelFont_);
  if (valueFont_) DeleteObject(valueFont_);
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
      if (form_ != nullptr && static_cast<int>(wParam) == hotKeyId_) form_->HotKeyPressed();
      return 0;
    case WM_CONTEXTMENU:
      tray_->PopUpMenu(hwnd_);
      return 0;
    case WM_ACTIVATEAPP:
      if (wParam && form_ != nullptr) form_->ApplicationActivated();
      return 0;
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

HWND MainWindow::AddControl(const wchar_t* windowClass, const wchar_t* text, DWORD style, int id,
                            int left, int top, int width, int height, HFONT font) {
  HWND control = CreateWindowExW(
      0, windowClass, text, WS_CHILD | style, Scale(left), Scale(top), Scale(width), Scale(height),
      hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

void MainWindow::OnCreate() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  LOGFONTW label = metrics.lfMessageFont;
  label.lfHeight = -MulDiv(8, dpi_, 72);
  labelFont_ = CreateFontIndirectW(&label);
  LOGFONTW value = label;
  lstrcpynW(value.lfFaceName, L"Arial", LF_FACESIZE);
  valueFont_ = CreateFontIndirectW(&value);

  // The information panel. The value labels stand inside the frames, which
  // the window paints itself.
  const DWORD labelStyle = WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
  AddControl(L"STATIC", L"Processes: ", labelStyle, kLabel2, 3, 4, 56, 14, labelFont_);
  AddControl(L"STATIC", L"0", labelStyle | SS_NOTIFY, kLabel1, 65, 4, 25, 14, valueFont_);
  AddControl(L"STATIC", L"Page file:", labelStyle, kLabel4, 102, 4, 46, 14, labelFont_);
  AddControl(L"STATIC", L"0", labelStyle | SS_NOTIFY, kLabel5, 154, 4, 176, 14, valueFont_);
  AddControl(L"STATIC", L"Memory:", labelStyle, kLabel3, 341, 4, 42, 14, labelFont_);
  AddControl(kGaugeClass, L"0%", WS_VISIBLE, kGauge1, 384, 2, 71, 18, labelFont_);

  // The keyword band: both boxes share one place; the item box starts hidden.
  AddControl(WC_COMBOBOXW, L"",
             WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL,
             kComboBox1, kBoxLeft, kBandHeight + kBoxTop, kBoxWidth, kListHeight, labelFont_);
  AddControl(WC_COMBOBOXW, L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT, kComboBox2,
             kBoxLeft, kBandHeight + kBoxTop, kBoxWidth, kListHeight, labelFont_);

  HWND status =
      AddControl(STATUSCLASSNAMEW, L"", WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE, kStatusBar1,
                 0, 2 * kBandHeight, kClientWidth, kStatusHeight, labelFont_);
  // Any length of typed text; the default limit would cut long input.
  SendMessageW(Control(kComboBox1), CB_LIMITTEXT, 0, 0);
  // Hooked by replacing their window procedures: the boxes take tens of
  // thousands of messages per fill, and comctl32's subclassing looks its
  // data up by window property at each one, which Wine serves slowly.
  HookBox(hooks_[0], KeywordEdit(), kComboBox1);
  HookBox(hooks_[1], Control(kComboBox1), 0);
  HookBox(hooks_[2], Control(kComboBox2), kComboBox2);

  const int parts[] = {Scale(290), Scale(290 + 96), Scale(290 + 96 + 65)};
  SendMessageW(status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
  const wchar_t* texts[] = {L"Status:", L"Keywords:", L"Items:"};
  for (int i = 0; i < 3; ++i) {
    SendMessageW(status, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(texts[i]));
  }
  lastFocus_ = Control(kComboBox1);
  AddTooltips();
}

void MainWindow::AddTooltips() {
  tooltips_ = CreateTooltips(hwnd_);
  AddTooltip(tooltips_, hwnd_, Control(kLabel1), "Number of processes loaded into memory.");
  AddTooltip(tooltips_, hwnd_, Control(kLabel5),
             "Virtual memory in use and available virtual memory.");
  AddTooltip(tooltips_, hwnd_, Control(kGauge1), "Physical memory load.");
  AddTooltip(tooltips_, hwnd_, Control(kStatusBar1), "Status information.");
  // The boxes relay their mouse messages themselves (see HookBox).
  constexpr char kKeywordHint[] = "Type a key word and ENTER to find matching items.";
  AddTooltip(tooltips_, hwnd_, Control(kComboBox1), kKeywordHint, true);
  AddTooltip(tooltips_, hwnd_, KeywordEdit(), kKeywordHint, true);
  AddTooltip(tooltips_, hwnd_, Control(kComboBox2),
             "Select an item from the list of press ESC to return to the key word list.", true);
}

void MainWindow::OnMenuCommand(int command) {
  if (form_ == nullptr) return;
  switch (command) {
    case kShow1:
      form_->Show1Click();
      break;
    case kHide1:
      form_->Hide1Click();
      break;
    case kReloaddirectories1:
      form_->Reloaddirectories1Click();
      break;
    case kSettings1:
      form_->Settings1Click();
      break;
    case kHelp1:
      form_->Help1Click();
      break;
    case kExit1:
      form_->Exit1Click();
      break;
  }
}

HWND MainWindow::KeywordEdit() const {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  GetComboBoxInfo(Control(kComboBox1), &info);
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
  if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && tooltips_ != nullptr) {
    MSG relayed{box, message, wParam, lParam, 0, {}};
    SendMessageW(tooltips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    SetWindowLongPtrW(box, GWLP_USERDATA, 0);
  } else if (message == WM_CONTEXTMENU) {
    // The boxes' context menu is the tray menu, not the edit field's own.
    tray_->PopUpMenu(hwnd_);
    return 0;
  } else if (form_ != nullptr && message == WM_KEYDOWN && hook.id != 0) {
    // The handler sees the key first; the box then gives it its usual effect.
    const int key = static_cast<int>(wParam & 0xFFFF);
    if (hook.id == kComboBox1) {
      form_->ComboBox1KeyDown(key);
    } else {
      form_->ComboBox2KeyDown(key);
    }
    if (!IsWindow(box)) return 0;
  } else if (form_ != nullptr && message == WM_CHAR && hook.id == kComboBox1) {
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
    if (form_->ComboBox1KeyPress(WideToUtf8(typed))) return 0;
    if (typed.size() == 2) {
      CallWindowProcW(original, box, WM_CHAR, typed[0], lParam);
      return CallWindowProcW(original, box, WM_CHAR, typed[1], lParam);
    }
  }
  return CallWindowProcW(original, box, message, wParam, lParam);
}

void MainWindow::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd_, &paint);
  if (infoPanel_) {
    for (const RECT& designed : {kShape1, kShape2}) {
      RECT shape{Scale(designed.left), Scale(designed.top), Scale(designed.right),
                 Scale(designed.bottom)};
      FillRect(dc, &shape, GetSysColorBrush(COLOR_BTNFACE));
      FrameRect(dc, &shape, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
  }
  EndPaint(hwnd_, &paint);
}

void MainWindow::OnClose() {
  if (form_ == nullptr || form_->FormClose()) EndMessageLoop();
}

void MainWindow::OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(hwnd_, focus)) lastFocus_ = focus;
    return;
  }
  // Back to the control that had the focus; the edit field of the keyword
  // box counts as the box.
  HWND target = lastFocus_ != nullptr && IsWindowVisible(lastFocus_) ? lastFocus_ : nullptr;
  if (target == nullptr) {
    target = IsWindowVisible(Control(kComboBox2)) ? Control(kComboBox2) : Control(kComboBox1);
  }
  SetFocus(target);
}

void MainWindow::LayOut() {
  const int boxBand = infoPanel_ ? kBandHeight : 0;
  for (int id : {kLabel2, kLabel1, kLabel4, kLabel5, kLabel3, kGauge1}) {
    ShowWindow(Control(id), infoPanel_ ? SW_SHOWNA : SW_HIDE);
  }
  for (int id : {kComboBox1, kComboBox2}) {
    SetWindowPos(Control(id), nullptr, Scale(kBoxLeft), Scale(boxBand + kBoxTop), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  HWND status = Control(kStatusBar1);
  SetWindowPos(status, nullptr, 0, Scale(boxBand + kBandHeight), Scale(kClientWidth),
               Scale(kStatusHeight), SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(status, statusBar_ ? SW_SHOWNA : SW_HIDE);

  const int clientHeight = boxBand + kBandHeight + (statusBar_ ? kStatusHeight : 0);
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
  RECT frame{0, 0, Scale(kClientWidth), Scale(clientHeight)};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void MainWindow::SetCaption(const std::string& text) {
  SetWindowTextW(hwnd_, Utf8ToWide(text).c_str());
}

void MainWindow::PlaceAt(int left, int top) {
  SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

MainView::Point MainWindow::Position() const {
  RECT rect{};
  GetWindowRect(hwnd_, &rect);
  return {rect.left, rect.top};
}

void MainWindow::CentreOnScreen() {
  RECT rect{};
  GetWindowRect(hwnd_, &rect);
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
  const bool isTopmost = (GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  if (!topmost && isTopmost) {
    // Wine keeps an owned window in the topmost band while its restored
    // owner sits right below it; the owner's move to the bottom lets it go.
    // The main window then goes above every normal window all the same.
    SetWindowPos(application_.Handle(), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  RECT rect{};
  GetWindowRect(hwnd_, &rect);
  SetWindowPos(hwnd_, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, rect.left, rect.top,
               rect.right - rect.left, rect.bottom - rect.top,
               showPending ? SWP_HIDEWINDOW : SWP_SHOWWINDOW);
}

void MainWindow::Show() {
  ShowWindow(application_.Handle(), SW_SHOWNA);
  ShowWindow(hwnd_, SW_SHOW);
}

bool MainWindow::IsVisible() const { return IsWindowVisible(hwnd_) != FALSE; }

void MainWindow::HideToTray() {
  HWND focus = GetFocus();
  if (focus != nullptr && IsChild(hwnd_, focus)) lastFocus_ = focus;
  if (IsWindowVisible(hwnd_)) hiddenToTray_ = true;
  ShowWindow(hwnd_, SW_HIDE);
  // Minimised as well as hidden, so that restoring it by its handle (as a
  // second start does) brings the window back.
  HWND application = application_.Handle();
  if (!IsIconic(application)) ShowWindow(application, SW_SHOWMINNOACTIVE);
  ShowWindow(application, SW_HIDE);
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
  ShowWindow(hwnd_, SW_SHOW);
}

void MainWindow::SetTitleBarVisible(bool visible) {
  const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
  const bool hasCaption = (style & WS_CAPTION) == WS_CAPTION;
  if (visible == hasCaption) return;
  const LONG_PTR newStyle = visible ? (style | WS_CAPTION) : ((style & ~WS_CAPTION) | WS_BORDER);
  SetWindowLongPtrW(hwnd_, GWL_STYLE, newStyle);
  RECT rect{};
  GetWindowRect(hwnd_, &rect);
  const int change = GetSystemMetrics(SM_CYCAPTION) * (visible ? 1 : -1);
  SetWindowPos(hwnd_, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top + change,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

bool MainWindow::RegisterHotKey(const HotKeyCombo& hotKey) {
  UnregisterHotKey();
  const UINT modifiers =
      (hotKey.ctrl ? MOD_CONTROL : 0) | (hotKey.shift ? MOD_SHIFT : 0) | (hotKey.alt ? MOD_ALT : 0);
  const int id = nextHotKeyId_++;
  if (!::RegisterHotKey(hwnd_, id, modifiers, static_cast<UINT>(hotKey.key))) return false;
  hotKeyId_ = id;
  return true;
}

void MainWindow::UnregisterHotKey() {
  if (hotKeyId_ < 0) return;
  ::UnregisterHotKey(hwnd_, hotKeyId_);
  hotKeyId_ = -1;
}

void MainWindow::SetTrayHint(const std::string& hint) { tray_->SetHint(hint); }

void MainWindow::SetShowShortcut(const std::string& keyText) { tray_->SetShowShortcut(keyText); }

void MainWindow::BringToFront() {
  HWND popup = GetLastActivePopup(application_.Handle());
  if (popup != application_.Handle() && IsWindowVisible(popup) && IsWindowEnabled(popup)) {
    SetForegroundWindow(popup);
  }
}

void MainWindow::EndMessageLoop() { PostQuitMessage(0); }

void MainWindow::ShowMessage(const std::string& text) { ShowProgramMessage(hwnd_, text); }

void MainWindow::SetKeywordItems(const std::vector<std::string>& words) {
  FillBox(Control(kComboBox1), words);
}

void MainWindow::ClearItemBox() { SendMessageW(Control(kComboBox2), CB_RESETCONTENT, 0, 0); }

void MainWindow::ShowKeywordBox() {
  ShowWindow(Control(kComboBox1), SW_SHOWNA);
  ShowWindow(Control(kComboBox2), SW_HIDE);
}

void MainWindow::SetKeywordText(const std::string& text) {
  HWND box = Control(kComboBox1);
  SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SetWindowTextW(box, Utf8ToWide(text).c_str());
}

void MainWindow::FocusKeywordBox() {
  lastFocus_ = Control(kComboBox1);
  SetFocus(lastFocus_);
}

void MainWindow::SetStatusPanel(int panel, const std::string& text) {
  SendMessageW(Control(kStatusBar1), SB_SETTEXTW, panel,
               reinterpret_cast<LPARAM>(Utf8ToWide(text).c_str()));
}

std::string MainWindow::KeywordText() const { return WideToUtf8(WindowText(Control(kComboBox1))); }

EditState MainWindow::KeywordField() const {
  const std::wstring text = WindowText(Control(kComboBox1));
  DWORD start = 0, end = 0;
  SendMessageW(KeywordEdit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  return {WideToUtf8(text), Utf8Offset(text, start), Utf8Offset(text, end)};
}

void MainWindow::SetKeywordField(const EditState& field, int entry) {
  HWND box = Control(kComboBox1);
  SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
  SetWindowTextW(box, Utf8ToWide(field.text).c_str());
  SendMessageW(KeywordEdit(), EM_SETSEL, WideOffset(field.text, field.selStart),
               WideOffset(field.text, field.selEnd));
}

void MainWindow::DropKeywordList() { SendMessageW(Control(kComboBox1), CB_SHOWDROPDOWN, TRUE, 0); }

void MainWindow::FillItemBox(const std::vector<std::string>& names) {
  FillBox(Control(kComboBox2), names);
}

void MainWindow::SelectFirstItem() { SendMessageW(Control(kComboBox2), CB_SETCURSEL, 0, 0); }

void MainWindow::ShowItemBox() {
  ShowWindow(Control(kComboBox2), SW_SHOWNA);
  ShowWindow(Control(kComboBox1), SW_HIDE);
}

void MainWindow::DropItemList() { SendMessageW(Control(kComboBox2), CB_SHOWDROPDOWN, TRUE, 0); }

void MainWindow::FocusItemBox() {
  lastFocus_ = Control(kComboBox2);
  SetFocus(lastFocus_);
}

std::string MainWindow::ItemText() const {
  HWND box = Control(kComboBox2);
  const LRESULT index = SendMessageW(box, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return {};
  const LRESULT length = SendMessageW(box, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendMessageW(box, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
  return WideToUtf8(text);
}

void MainWindow::SetProcessCount(const std::string& text) {
  SetWindowTextW(Control(kLabel1), Utf8ToWide(text).c_str());
}

void MainWindow::SetPageFile(const std::string& text) {
  SetWindowTextW(Control(kLabel5), Utf8ToWide(text).c_str());
}

void MainWindow::SetGaugeProgress(int progress) {
  SendMessageW(Control(kGauge1), kGaugeSetProgress, static_cast<WPARAM>(progress), 0);
}

void MainWindow::SetGaugeLow(bool low) {
  SendMessageW(Control(kGauge1), kGaugeSetBarColor,
               low ? RGB(255, 0, 0) : GetSysColor(COLOR_HIGHLIGHT), 0);
}

}  // namespace wh
