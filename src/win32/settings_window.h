// The settings window on screen: three group boxes of controls, the donation
// link and the Save and Cancel buttons. It is made once, hidden, and only
// shown and hidden after that. The window procedure turns messages into
// TForm2 calls and decides nothing itself.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "app/settings_view.h"
#include "win32/window_base.h"

namespace wh {

class ApplicationWindow;
class TForm2;

class SettingsWindow : public SettingsView {
 public:
  // Owned by `application`, like the main window, so it shares the
  // program's task-bar button and goes when the program does.
  explicit SettingsWindow(const ApplicationWindow& application);
  ~SettingsWindow() override;
  SettingsWindow(const SettingsWindow&) = delete;
  SettingsWindow& operator=(const SettingsWindow&) = delete;

  // Messages go to `form` from now on; null stops them.
  void Attach(TForm2* form) { form_ = form; }
  HWND Handle() const { return hwnd_; }

  void SetChecked(SettingsCheckBox box, bool checked) override;
  bool Checked(SettingsCheckBox box) const override;
  void SetUserDir(const std::string& text) override;
  std::string UserDir() const override;
  void SetMasks(const std::string& text) override;
  std::string Masks() const override;
  void SetIgnoreList(const std::string& text) override;
  std::string IgnoreList() const override;
  void SetHotKey(const HotKeyCombo& hotKey) override;
  HotKeyCombo HotKey() const override;
  void SetVersionLabel(const std::string& text) override;
  void Show() override;
  void Hide() override;
  bool IsVisible() const override;
  void ShowMessage(const std::string& text) override;
  std::optional<std::string> ChooseDirectory(const std::string& start) override;

 private:
  friend LRESULT CALLBACK BoundWindowProc<SettingsWindow>(HWND, UINT, WPARAM, LPARAM) noexcept;
  void Bind(HWND hwnd) { hwnd_ = hwnd; }
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCreate();
  void OnCommand(int id);
  void OnActivate(WPARAM wParam);
  bool OnSetCursor(HWND over);
  LRESULT OnControlColor(HDC dc, HWND control);
  void AddTooltips();
  HWND AddControl(const wchar_t* windowClass, const wchar_t* text, DWORD style, int id, int left,
                  int top, int width, int height, HFONT font);
  HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
  void SetFieldText(int id, const std::string& text);
  std::string FieldText(int id) const;
  int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }

  const ApplicationWindow& application_;
  TForm2* form_ = nullptr;
  HWND hwnd_ = nullptr;
  HWND tooltips_ = nullptr;
  // The control that had the focus when the window last lost it.
  HWND lastFocus_ = nullptr;
  HFONT font_ = nullptr;
  HFONT linkFont_ = nullptr;
  HICON icon_ = nullptr;
  int dpi_ = 96;
  // Whether this window's thread initialised COM for the directory chooser
  // and so owes the matching CoUninitialize.
  bool comInitialized_ = false;
};

}  // namespace wh
