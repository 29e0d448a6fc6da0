#include "win32/settings_window.h"

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <cwchar>
#include <exception>

#include "app/Unit2.h"
#include "app/settings_layout.h"
#include "win32/main_window.h"
#include "win32/resource_ids.h"
#include "win32/utf16.h"
#include "win32/win32_key_names.h"
#include "win32/window_ids.h"

namespace wh {
namespace {

using namespace win32;
using namespace settings_layout;

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_TOPMOST;

// Static controls that nobody addresses.
constexpr int kNoId = -1;

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM start) {
  if (message == BFFM_INITIALIZED) {
    SetWindowTextW(dialog, Utf8ToWide(kChooserTitle).c_str());
    SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, start);
  }
  return 0;
}

// The root of the drive the program is working in, "C:\" for example.
std::wstring CurrentDriveRoot() {
  const DWORD length = GetCurrentDirectoryW(0, nullptr);
  if (length == 0) return {};
  std::wstring directory(length, L'\0');
  directory.resize(GetCurrentDirectoryW(length, directory.data()));
  return directory.substr(0, 3);
}

}  // namespace

SettingsWindow::SettingsWindow(const ApplicationWindow& application) : application_(application) {
  INITCOMMONCONTROLSEX controls{sizeof(controls),
                                ICC_HOTKEY_CLASS | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = BoundWindowProc<SettingsWindow>;
  wc.hInstance = Instance();
  wc.hIcon = LoadIconW(Instance(), MAKEINTRESOURCEW(IDI_WORDHOPPER));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kSettingsWindowClass;
  RegisterClassExW(&wc);

  HDC screen = GetDC(nullptr);
  dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);

  RECT frame{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  CreateWindowExW(kExStyle, kSettingsWindowClass, Utf8ToWide(kCaption).c_str(), kStyle, 0, 0,
                  frame.right - frame.left, frame.bottom - frame.top, application_.Handle(),
                  nullptr, Instance(), this);
}

SettingsWindow::~SettingsWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
  if (font_) DeleteObject(font_);
  if (linkFont_) DeleteObject(linkFont_);
  if (icon_) DestroyIcon(icon_);
  if (comInitialized_) CoUninitialize();
}

LRESULT SettingsWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_CLOSE:
      // The window lives as long as the program; closing only hides it.
      if (form_ != nullptr) {
        form_->Close();
      } else {
        Hide();
      }
      return 0;
    case WM_COMMAND:
      // Buttons and the two links; the edit fields' notifications and the
      // IDOK / IDCANCEL that ENTER and ESC make are of no interest.
      if (lParam != 0 && HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
      return 0;
    case WM_ACTIVATE:
      OnActivate(wParam);
      return 0;
    case WM_SETCURSOR:
      if (OnSetCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
      break;
    case WM_CTLCOLORSTATIC:
      return OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

HWND SettingsWindow::AddControl(const wchar_t* windowClass, const wchar_t* text, DWORD style,
                                int id, int left, int top, int width, int height, HFONT font) {
  const DWORD exStyle = lstrcmpiW(windowClass, WC_EDITW) == 0 ? WS_EX_CLIENTEDGE : 0;
  HWND control =
      CreateWindowExW(exStyle, windowClass, text, WS_CHILD | WS_VISIBLE | style, Scale(left),
                      Scale(top), Scale(width), Scale(height), hwnd_,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

void SettingsWindow::OnCreate() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  LOGFONTW face = metrics.lfMessageFont;
  face.lfHeight = -MulDiv(8, dpi_, 72);
  font_ = CreateFontIndirectW(&face);
  face.lfUnderline = TRUE;
  linkFont_ = CreateFontIndirectW(&face);

  // Creation order is tab order: each group box, then its controls.
  const DWORD label = SS_LEFT | SS_NOPREFIX;
  const DWORD check = BS_AUTOCHECKBOX | WS_TABSTOP;
  const DWORD field = ES_AUTOHSCROLL | WS_TABSTOP;
  auto addCheckBox = [&](const CheckBoxPlace& place) {
    AddControl(WC_BUTTONW, Utf8ToWide(place.caption).c_str(), check,
               CheckBoxId(static_cast<int>(place.box)), place.left, place.top, place.width,
               kCheckHeight, font_);
  };

  AddControl(WC_BUTTONW, Utf8ToWide(kSearchGroup).c_str(), BS_GROUPBOX, kNoId, kGroupLeft,
             kSearchTop, kGroupWidth, kSearchHeight, font_);
  for (const CheckBoxPlace& place : kSearchBoxes) addCheckBox(place);
  const int userDirTop = kRow3 + 26;
  const int masksTop = userDirTop + 27;
  const int memoTop = masksTop + 27;
  const int labelWidth = kFieldLeft - kInnerLeft - 4;
  AddControl(WC_STATICW, Utf8ToWide(kUserDirLabel).c_str(), label, kNoId, kInnerLeft,
             userDirTop + 3, labelWidth, 14, font_);
  AddControl(WC_EDITW, L"", field, kUserDirEdit, kFieldLeft, userDirTop,
             kFieldRight - kFieldLeft - kBrowseWidth - 2, kFieldHeight, font_);
  AddControl(WC_BUTTONW, L"...", BS_PUSHBUTTON | WS_TABSTOP, kUserDirBrowse,
             kFieldRight - kBrowseWidth, userDirTop, kBrowseWidth, kFieldHeight, font_);
  AddControl(WC_STATICW, Utf8ToWide(kMasksLabel).c_str(), label, kNoId, kInnerLeft, masksTop + 3,
             labelWidth, 14, font_);
  AddControl(WC_EDITW, L"", field, kEdit2, kFieldLeft, masksTop, kFieldRight - kFieldLeft,
             kFieldHeight, font_);
  AddControl(WC_STATICW, Utf8ToWide(kIgnoreLabel).c_str(), label, kNoId, kInnerLeft, memoTop + 3,
             labelWidth, 14, font_);
  AddControl(WC_EDITW, L"", ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
             kMemo1, kFieldLeft, memoTop, kFieldRight - kFieldLeft,
             kSearchTop + kSearchHeight - 8 - memoTop, font_);
  for (int id : {kUserDirEdit, kEdit2, kMemo1}) {
    SendMessageW(Control(id), EM_LIMITTEXT, kFieldLimit, 0);
  }
  // Files dropped on the field are not taken.
  DragAcceptFiles(Control(kUserDirEdit), FALSE);

  AddControl(WC_BUTTONW, Utf8ToWide(kBehaviourGroup).c_str(), BS_GROUPBOX, kNoId, kGroupLeft,
             kBehaviourTop, kGroupWidth, kBehaviourHeight, font_);
  for (const CheckBoxPlace& place : kBehaviourBoxes) addCheckBox(place);
  AddControl(WC_STATICW, Utf8ToWide(kHotKeyLabel).c_str(), label, kNoId, kInnerLeft,
             kHotKeyLine + 3, 106, 14, font_);
  HWND hotKey = AddControl(HOTKEY_CLASSW, L"", WS_TABSTOP | WS_BORDER, kHotKey1, 124, kHotKeyLine,
                           130, kFieldHeight, font_);
  AddControl(WC_STATICW, Utf8ToWide(kHotKeyNote).c_str(), label, kNoId, 262, kHotKeyLine + 3, 300,
             14, font_);
  addCheckBox(kFindDialogBox);
  // Shift alone gives the bare key; Ctrl or Alt keep every modifier.
  SendMessageW(hotKey, HKM_SETRULES, HKCOMB_S, MAKELPARAM(0, 0));
  SendMessageW(hotKey, HKM_SETHOTKEY, MAKEWORD(VK_F4, 0), 0);

  AddControl(WC_BUTTONW, Utf8ToWide(kAboutGroup).c_str(), BS_GROUPBOX, kNoId, kGroupLeft, kAboutTop,
             kGroupWidth, kAboutHeight, font_);
  AddControl(WC_STATICW, Utf8ToWide(kVersionPrefix).c_str(), label, kLabel7, kInnerLeft,
             kAboutTop + 18, kLineWidth, 14, font_);
  AddControl(WC_STATICW, Utf8ToWide(kAboutLine).c_str(), label, kSettingsLabel4, kInnerLeft,
             kAboutTop + 38, kLineWidth, 14, font_);

  const int iconSize = 32;
  HWND image = AddControl(WC_STATICW, L"", SS_ICON | SS_NOTIFY, kImage1, 12, kBottomTop + 2,
                          iconSize, iconSize, font_);
  icon_ = static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(IDI_WORDHOPPER), IMAGE_ICON,
                                        Scale(iconSize), Scale(iconSize), 0));
  SendMessageW(image, STM_SETICON, reinterpret_cast<WPARAM>(icon_), 0);
  AddControl(WC_STATICW, Utf8ToWide(kDonationLink).c_str(), label | SS_NOTIFY, kLabel8, 52,
             kBottomTop + 11, 290, 14, linkFont_);
  const int buttonTop = kBottomTop + 5;
  AddControl(WC_BUTTONW, Utf8ToWide(kCancel).c_str(), BS_PUSHBUTTON | WS_TABSTOP, kButton2, 427,
             buttonTop, 75, 25, font_);
  AddControl(WC_BUTTONW, Utf8ToWide(kSave).c_str(), BS_PUSHBUTTON | WS_TABSTOP, kButton1, 508,
             buttonTop, 75, 25, font_);

  lastFocus_ = Control(kUserDirEdit);
  AddTooltips();
}

void SettingsWindow::AddTooltips() {
  tooltips_ = CreateTooltips(hwnd_);
  AddTooltip(tooltips_, hwnd_, Control(kUserDirEdit), kUserDirHint);
  AddTooltip(tooltips_, hwnd_, Control(kEdit2), kMasksHint);
  AddTooltip(tooltips_, hwnd_, Control(kHotKey1), kHotKeyHint);
}

void SettingsWindow::OnCommand(int id) {
  if (form_ == nullptr) return;
  switch (id) {
    case kButton1:
      form_->Button1Click();
      break;
    case kButton2:
      form_->Button2Click();
      break;
    case kLabel8:
    case kImage1:
      form_->Image1Click();
      break;
    case kUserDirBrowse:
      form_->BrowseClick();
      break;
  }
}

void SettingsWindow::OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(hwnd_, focus)) lastFocus_ = focus;
    return;
  }
  SetFocus(lastFocus_ != nullptr ? lastFocus_ : Control(kUserDirEdit));
}

bool SettingsWindow::OnSetCursor(HWND over) {
  if (over != Control(kLabel8) && over != Control(kImage1)) return false;
  SetCursor(LoadCursorW(nullptr, IDC_HAND));
  return true;
}

LRESULT SettingsWindow::OnControlColor(HDC dc, HWND control) {
  SetBkMode(dc, TRANSPARENT);
  if (control == Control(kLabel8)) SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHT));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void SettingsWindow::SetFieldText(int id, const std::string& text) {
  SetWindowTextW(Control(id), Utf8ToWide(text).c_str());
}

std::string SettingsWindow::FieldText(int id) const {
  HWND field = Control(id);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
  return WideToUtf8(text);
}

void SettingsWindow::SetChecked(SettingsCheckBox box, bool checked) {
  CheckDlgButton(hwnd_, CheckBoxId(static_cast<int>(box)), checked ? BST_CHECKED : BST_UNCHECKED);
}

bool SettingsWindow::Checked(SettingsCheckBox box) const {
  return IsDlgButtonChecked(hwnd_, CheckBoxId(static_cast<int>(box))) == BST_CHECKED;
}

void SettingsWindow::SetUserDir(const std::string& text) { SetFieldText(kUserDirEdit, text); }

std::string SettingsWindow::UserDir() const { return FieldText(kUserDirEdit); }

void SettingsWindow::SetMasks(const std::string& text) { SetFieldText(kEdit2, text); }

std::string SettingsWindow::Masks() const { return FieldText(kEdit2); }

void SettingsWindow::SetIgnoreList(const std::string& text) { SetFieldText(kMemo1, text); }

std::string SettingsWindow::IgnoreList() const { return FieldText(kMemo1); }

void SettingsWindow::SetHotKey(const HotKeyCombo& hotKey) {
  const BYTE modifiers = (hotKey.shift ? HOTKEYF_SHIFT : 0) | (hotKey.ctrl ? HOTKEYF_CONTROL : 0) |
                         (hotKey.alt ? HOTKEYF_ALT : 0) |
                         (IsExtendedKey(hotKey.key) ? HOTKEYF_EXT : 0);
  SendMessageW(Control(kHotKey1), HKM_SETHOTKEY, MAKEWORD(static_cast<BYTE>(hotKey.key), modifiers),
               0);
}

HotKeyCombo SettingsWindow::HotKey() const {
  const WORD value = LOWORD(SendMessageW(Control(kHotKey1), HKM_GETHOTKEY, 0, 0));
  const BYTE modifiers = HIBYTE(value);
  HotKeyCombo hotKey;
  hotKey.key = LOBYTE(value);
  hotKey.shift = (modifiers & HOTKEYF_SHIFT) != 0;
  hotKey.ctrl = (modifiers & HOTKEYF_CONTROL) != 0;
  hotKey.alt = (modifiers & HOTKEYF_ALT) != 0;
  return hotKey;
}

void SettingsWindow::SetVersionLabel(const std::string& text) { SetFieldText(kLabel7, text); }

void SettingsWindow::Show() {
  RECT rect{};
  GetWindowRect(hwnd_, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  SetWindowPos(hwnd_, HWND_TOPMOST, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  lastFocus_ = Control(kUserDirEdit);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  SetFocus(lastFocus_);
}

void SettingsWindow::Hide() { ShowWindow(hwnd_, SW_HIDE); }

bool SettingsWindow::IsVisible() const { return IsWindowVisible(hwnd_) != FALSE; }

void SettingsWindow::ShowMessage(const std::string& text) { ShowProgramMessage(hwnd_, text); }

std::optional<std::string> SettingsWindow::ChooseDirectory(const std::string& start) {
  if (!comInitialized_) {
    // The folder tree of the new-style chooser needs COM on this thread.
    const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    comInitialized_ = SUCCEEDED(result);
  }
  const std::wstring startAt = start.empty() ? CurrentDriveRoot() : Utf8ToWide(start);
  wchar_t displayName[MAX_PATH] = {};
  BROWSEINFOW info{};
  info.hwndOwner = hwnd_;
  info.pszDisplayName = displayName;
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(startAt.c_str());
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
  if (chosen == nullptr) return std::nullopt;
  // Paths beyond MAX_PATH are allowed here; the longest Windows path fits.
  std::wstring path(32768, L'\0');
  const bool named = SHGetPathFromIDListEx(chosen, path.data(), static_cast<DWORD>(path.size()),
                                           GPFIDL_DEFAULT) != FALSE;
  CoTaskMemFree(chosen);
  if (!named) return std::nullopt;
  path.resize(wcslen(path.c_str()));
  return WideToUtf8(path);
}

}  // namespace wh
