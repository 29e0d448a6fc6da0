#include "win32/settings_window.h"

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <cwchar>
#include <exception>

#include "app/settings_dialog.h"
#include "app/settings_layout.h"
#include "win32/dpi.h"
#include "win32/main_window.h"
#include "win32/resource_ids.h"
#include "win32/utf16.h"
#include "win32/win32_key_names.h"
#include "win32/window_ids.h"
#include "win32/window_manager_focus.h"

namespace wh {
namespace {

using namespace win32;
using namespace settings_layout;

// A multi-line field would keep every TAB to itself, and a keyboard user
// could never leave it. As in any dialog box, TAB and Shift+TAB move on;
// Ctrl+TAB types a tab.
LRESULT CALLBACK TabLeavesField(HWND field, UINT message, WPARAM wParam, LPARAM lParam,
                                UINT_PTR, DWORD_PTR) {
  const bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
  if (message == WM_GETDLGCODE) {
    LRESULT code = DefSubclassProc(field, message, wParam, lParam);
    const MSG* asked = reinterpret_cast<const MSG*>(lParam);
    if (asked != nullptr && asked->message == WM_KEYDOWN && asked->wParam == VK_TAB) {
      code = ctrl ? code | DLGC_WANTMESSAGE : code & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    }
    return code;
  }
  if (message == WM_KEYDOWN && wParam == VK_TAB && ctrl) {
    // The character the key may have made as well would type a second tab.
    MSG typed{};
    if (PeekMessageW(&typed, field, WM_CHAR, WM_CHAR, PM_NOREMOVE) && typed.wParam == L'\t') {
      PeekMessageW(&typed, field, WM_CHAR, WM_CHAR, PM_REMOVE);
    }
    SendMessageW(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\t"));
    return 0;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(field, TabLeavesField, 0);
  return DefSubclassProc(field, message, wParam, lParam);
}

// Owned pop-up, as the main window is (see there).
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_TOPMOST;

// Static controls that nobody addresses.
constexpr int kNoId = -1;

constexpr DWORD kLabelStyle = SS_LEFT | SS_NOPREFIX;
constexpr DWORD kFieldStyle = ES_AUTOHSCROLL | WS_TABSTOP;
constexpr DWORD kButtonStyle = BS_PUSHBUTTON | WS_TABSTOP;

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM start) {
  if (message == BFFM_INITIALIZED) {
    SetWindowTextW(dialog, Utf8ToWide(kChooserTitle).c_str());
    SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, start);
  }
  return 0;
}

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

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

  RegisterWindowClass(kSettingsWindowClass, ClassLook::Program);

  const RECT frame = Frame();
  Create(kExStyle, kSettingsWindowClass, kCaption, kStyle, 0, 0, Width(frame), Height(frame),
         application_.Handle());
}

RECT SettingsWindow::Frame() const {
  RECT frame{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
  AdjustFrameAtDpi(frame, kStyle, kExStyle, FrameDpi());
  return frame;
}

void SettingsWindow::FitInto(const RECT& workArea, bool centre) {
  RECT frameOnly{};
  AdjustFrameAtDpi(frameOnly, kStyle, kExStyle, FrameDpi());
  const int dpi = FittingDpi(FrameDpi(), Width(workArea) - Width(frameOnly),
                             Height(workArea) - Height(frameOnly));
  if (dpi != Dpi()) Rescale(dpi);
  const RECT frame = Frame();
  RECT now{};
  GetWindowRect(Handle(), &now);
  int left = centre ? workArea.left + (Width(workArea) - Width(frame)) / 2 : now.left;
  int top = centre ? workArea.top + (Height(workArea) - Height(frame)) / 2 : now.top;
  left = std::max(static_cast<int>(workArea.left),
                  std::min(left, static_cast<int>(workArea.right) - Width(frame)));
  top = std::max(static_cast<int>(workArea.top),
                 std::min(top, static_cast<int>(workArea.bottom) - Height(frame)));
  SetWindowPos(Handle(), nullptr, left, top, Width(frame), Height(frame),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void SettingsWindow::OnDpiChanged(int, const RECT& suggested) {
  SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  FitInto(WorkAreaOf(Handle()), false);
}

void SettingsWindow::MakeFonts() {
  LOGFONTW face = MessageFont(8);
  font_ = MakeFont(face);
  face.lfUnderline = TRUE;
  linkFont_ = MakeFont(face);
}

void SettingsWindow::LoadImageIcon() {
  icon_.Reset(
      static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_WORDHOPPER),
                                    IMAGE_ICON, Scale(kIconSize), Scale(kIconSize), 0)));
  SendMessageW(Control(kDonationIcon), STM_SETICON, reinterpret_cast<WPARAM>(icon_.Get()), 0);
}

void SettingsWindow::OnRescaled() {
  RemakeFonts({&font_, &linkFont_}, [this] { MakeFonts(); });
  // The control lets go of the old icon before it is destroyed.
  ScopedIcon oldIcon = std::move(icon_);
  LoadImageIcon();
  const RECT frame = Frame();
  SetWindowPos(Handle(), nullptr, 0, 0, Width(frame), Height(frame),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The window goes before its fonts and icon; COM goes last.
SettingsWindow::~SettingsWindow() { Destroy(); }

LRESULT SettingsWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_CLOSE:
      // The window lives as long as the program; closing only hides it.
      if (dialog_ != nullptr) {
        dialog_->Close();
      } else {
        Hide();
      }
      return 0;
    case WM_COMMAND:
      // Buttons and the two links, and ESC, which is Cancel as in any
      // dialog box; the edit fields' notifications and the IDOK that ENTER
      // makes are of no interest.
      if (lParam != 0 && HIWORD(wParam) == BN_CLICKED) {
        OnCommand(LOWORD(wParam));
      } else if (lParam == 0 && LOWORD(wParam) == IDCANCEL) {
        OnCommand(kCancelButton);
      }
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
  return Default(message, wParam, lParam);
}

HWND SettingsWindow::AddVisibleControl(const wchar_t* windowClass, std::string_view text,
                                       DWORD style, int id, const ControlPlace& place, HFONT font) {
  const DWORD exStyle = lstrcmpiW(windowClass, WC_EDITW) == 0 ? WS_EX_CLIENTEDGE : 0;
  return AddControl(windowClass, text, WS_VISIBLE | style, id, place.left, place.top, place.width,
                    place.height, font, exStyle);
}

HWND SettingsWindow::AddLabel(int id, std::string_view text, const ControlPlace& place) {
  return AddVisibleControl(WC_STATICW, text, kLabelStyle, id, place, font_.Get());
}

void SettingsWindow::AddCheckBoxes(OptionGroup group) {
  for (const OptionRow& row : kOptions) {
    if (row.group != group) continue;
    AddVisibleControl(WC_BUTTONW, row.caption, BS_AUTOCHECKBOX | WS_TABSTOP, OptionId(row.option),
                      PlaceOf(row), font_.Get());
  }
}

void SettingsWindow::OnCreate() {
  MakeFonts();
  // Creation order is tab order: each group box, then its controls.
  AddSearchGroup();
  AddBehaviourGroup();
  AddAboutGroup();
  AddBottomLine();
  SetRememberedFocus(Control(kUserDirEdit));
  AddTooltips();
}

void SettingsWindow::AddSearchGroup() {
  AddVisibleControl(WC_BUTTONW, kSearchGroup, BS_GROUPBOX, kNoId, kSearchGroupPlace, font_.Get());
  AddCheckBoxes(OptionGroup::Search);
  AddLabel(kNoId, kUserDirLabel, FieldLabelPlace(kUserDirTop));
  AddVisibleControl(WC_EDITW, "", kFieldStyle, kUserDirEdit, kUserDirPlace, font_.Get());
  AddVisibleControl(WC_BUTTONW, "...", kButtonStyle, kUserDirBrowse, kBrowsePlace, font_.Get());
  AddLabel(kNoId, kMasksLabel, FieldLabelPlace(kMasksTop));
  AddVisibleControl(WC_EDITW, "", kFieldStyle, kMasksEdit, kMasksPlace, font_.Get());
  AddLabel(kNoId, kIgnoreLabel, FieldLabelPlace(kIgnoreListTop));
  AddVisibleControl(WC_EDITW, "",
                    ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
                    kIgnoreListEdit, kIgnoreListPlace, font_.Get());
  for (int id : {kUserDirEdit, kMasksEdit, kIgnoreListEdit}) {
    SendMessageW(Control(id), EM_LIMITTEXT, kFieldLimit, 0);
  }
  SetWindowSubclass(Control(kIgnoreListEdit), TabLeavesField, 0, 0);
  // Files dropped on the field are not taken.
  DragAcceptFiles(Control(kUserDirEdit), FALSE);
}

void SettingsWindow::AddBehaviourGroup() {
  AddVisibleControl(WC_BUTTONW, kBehaviourGroup, BS_GROUPBOX, kNoId, kBehaviourGroupPlace,
                    font_.Get());
  AddCheckBoxes(OptionGroup::Behaviour);
  AddHotKeyLine();
}

void SettingsWindow::AddHotKeyLine() {
  AddLabel(kNoId, kHotKeyLabel, kHotKeyLabelPlace);
  HWND hotKey = AddVisibleControl(HOTKEY_CLASSW, "", WS_TABSTOP | WS_BORDER, kHotKeyField,
                                  kHotKeyFieldPlace, font_.Get());
  AddLabel(kNoId, kHotKeyNote, kHotKeyNotePlace);
  // Shift alone gives the bare key; Ctrl or Alt keep every modifier.
  SendMessageW(hotKey, HKM_SETRULES, HKCOMB_S, MAKELPARAM(0, 0));
  SendMessageW(hotKey, HKM_SETHOTKEY, MAKEWORD(VK_F4, 0), 0);
}

void SettingsWindow::AddAboutGroup() {
  AddVisibleControl(WC_BUTTONW, kAboutGroup, BS_GROUPBOX, kNoId, kAboutGroupPlace, font_.Get());
  AddLabel(kVersionLabel, kVersionPrefix, kVersionPlace);
  AddLabel(kAboutLabel, kAboutLine, kAboutLinePlace);
}

void SettingsWindow::AddBottomLine() {
  AddVisibleControl(WC_STATICW, "", SS_ICON | SS_NOTIFY, kDonationIcon, kDonationIconPlace,
                    font_.Get());
  LoadImageIcon();
  AddVisibleControl(WC_STATICW, kDonationLink, kLabelStyle | SS_NOTIFY, kDonationLinkLabel,
                    kDonationLinkPlace, linkFont_.Get());
  AddVisibleControl(WC_BUTTONW, kCancel, kButtonStyle, kCancelButton, kCancelPlace, font_.Get());
  AddVisibleControl(WC_BUTTONW, kSave, kButtonStyle, kSaveButton, kSavePlace, font_.Get());
}

void SettingsWindow::AddTooltips() {
  tooltips_ = CreateTooltips(Handle());
  AddTooltip(tooltips_, Handle(), Control(kUserDirEdit), kUserDirHint);
  AddTooltip(tooltips_, Handle(), Control(kMasksEdit), kMasksHint);
  AddTooltip(tooltips_, Handle(), Control(kHotKeyField), kHotKeyHint);
}

void SettingsWindow::OnCommand(int id) {
  if (dialog_ == nullptr) return;
  switch (id) {
    case kSaveButton:
      dialog_->Save();
      break;
    case kCancelButton:
      dialog_->Cancel();
      break;
    case kDonationLinkLabel:
    case kDonationIcon:
      dialog_->OpenDonationPage();
      break;
    case kUserDirBrowse:
      dialog_->Browse();
      break;
  }
}

void SettingsWindow::OnActivate(WPARAM wParam) {
  KeepFocusAcrossActivation(wParam, Control(kUserDirEdit));
}

bool SettingsWindow::OnSetCursor(HWND over) {
  if (over != Control(kDonationLinkLabel) && over != Control(kDonationIcon)) return false;
  SetCursor(LoadCursorW(nullptr, IDC_HAND));
  return true;
}

LRESULT SettingsWindow::OnControlColor(HDC dc, HWND control) {
  SetBkMode(dc, TRANSPARENT);
  if (control == Control(kDonationLinkLabel)) SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHT));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void SettingsWindow::SetChecked(Option option, bool checked) {
  CheckDlgButton(Handle(), OptionId(option), checked ? BST_CHECKED : BST_UNCHECKED);
}

bool SettingsWindow::Checked(Option option) const {
  return IsDlgButtonChecked(Handle(), OptionId(option)) == BST_CHECKED;
}

void SettingsWindow::SetUserDir(const std::string& text) { SetControlText(kUserDirEdit, text); }

std::string SettingsWindow::UserDir() const { return ControlText(kUserDirEdit); }

void SettingsWindow::SetMasks(const std::string& text) { SetControlText(kMasksEdit, text); }

std::string SettingsWindow::Masks() const { return ControlText(kMasksEdit); }

void SettingsWindow::SetIgnoreList(const std::string& text) {
  SetControlText(kIgnoreListEdit, text);
}

std::string SettingsWindow::IgnoreList() const { return ControlText(kIgnoreListEdit); }

void SettingsWindow::SetHotKey(const HotKeyCombo& hotKey) {
  const BYTE modifiers = (hotKey.shift ? HOTKEYF_SHIFT : 0) | (hotKey.ctrl ? HOTKEYF_CONTROL : 0) |
                         (hotKey.alt ? HOTKEYF_ALT : 0) |
                         (IsExtendedKey(hotKey.key) ? HOTKEYF_EXT : 0);
  SendMessageW(Control(kHotKeyField), HKM_SETHOTKEY,
               MAKEWORD(static_cast<BYTE>(hotKey.key), modifiers), 0);
}

HotKeyCombo SettingsWindow::HotKey() const {
  const WORD value = LOWORD(SendMessageW(Control(kHotKeyField), HKM_GETHOTKEY, 0, 0));
  const BYTE modifiers = HIBYTE(value);
  HotKeyCombo hotKey;
  hotKey.key = LOBYTE(value);
  hotKey.shift = (modifiers & HOTKEYF_SHIFT) != 0;
  hotKey.ctrl = (modifiers & HOTKEYF_CONTROL) != 0;
  hotKey.alt = (modifiers & HOTKEYF_ALT) != 0;
  return hotKey;
}

void SettingsWindow::SetVersionLabel(const std::string& text) {
  SetControlText(kVersionLabel, text);
}

void SettingsWindow::Show() {
  // Centred where the user is: on the monitor under the pointer, which
  // opened the window from the tray or a menu, and within its work area,
  // laid out small enough to fit there. Moved onto that monitor first, so
  // that the window has its DPI.
  const RECT workArea = WorkAreaAtPointer();
  SetWindowPos(Handle(), HWND_TOPMOST, workArea.left, workArea.top, 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE);
  ReadFrameDpi();
  FitInto(workArea, true);
  SetRememberedFocus(Control(kUserDirEdit));
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
  HandKeyboardToForeground(application_.Handle());
  SetFocus(Control(kUserDirEdit));
}

void SettingsWindow::Hide() {
  // The system activates the main window, when it is shown.
  ShowWindow(Handle(), SW_HIDE);
  HandKeyboardToForeground(application_.Handle());
}

bool SettingsWindow::IsVisible() const { return IsWindowVisible(Handle()) != FALSE; }

void SettingsWindow::ShowMessage(const std::string& text) { ShowProgramMessage(Handle(), text); }

std::optional<std::string> SettingsWindow::ChooseDirectory(const std::string& start) {
  // The folder tree of the new-style chooser needs COM on this thread.
  if (!com_ || !com_->Initialized()) com_.emplace(COINIT_APARTMENTTHREADED);
  const std::wstring startAt = start.empty() ? CurrentDriveRoot() : Utf8ToWide(start);
  wchar_t displayName[MAX_PATH] = {};
  BROWSEINFOW info{};
  info.hwndOwner = Handle();
  info.pszDisplayName = displayName;
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(startAt.c_str());
  const ScopedCoTaskMemory<ITEMIDLIST> chosen(SHBrowseForFolderW(&info));
  if (!chosen.Valid()) return std::nullopt;
  // Paths beyond MAX_PATH are allowed here; the longest Windows path fits.
  std::wstring path(32768, L'\0');
  if (!SHGetPathFromIDListEx(chosen.Get(), path.data(), static_cast<DWORD>(path.size()),
                             GPFIDL_DEFAULT)) {
    return std::nullopt;
  }
  path.resize(wcslen(path.c_str()));
  return WideToUtf8(path);
}

}  // namespace wh
