// The settings window on screen: three group boxes of controls, the donation
// link and the Save and Cancel buttons. It is made once, hidden, and only
// shown and hidden after that. The window procedure turns messages into
// SettingsDialog calls and decides nothing itself.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "app/settings_view.h"
#include "win32/scoped_handle.h"
#include "win32/window_base.h"

namespace wh {

namespace settings_layout {
struct ControlPlace;
enum class OptionGroup;
}  // namespace settings_layout

class ApplicationWindow;
class SettingsDialog;

class SettingsWindow : public WindowBase, public SettingsView {
 public:
  // Owned by `application`, like the main window, so it shares the
  // program's task-bar button and goes when the program does.
  explicit SettingsWindow(const ApplicationWindow& application);
  ~SettingsWindow() override;

  // Messages go to `dialog` from now on; null stops them.
  void Attach(SettingsDialog* dialog) { dialog_ = dialog; }

  void SetChecked(Option option, bool checked) override;
  bool Checked(Option option) const override;
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
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The controls, made once, a group at a time.
  void OnCreate();
  void AddSearchGroup();
  void AddBehaviourGroup();
  // The hot-key field between its label and its note.
  void AddHotKeyLine();
  void AddAboutGroup();
  // The donation icon and link, Cancel and Save.
  void AddBottomLine();
  // The check boxes of the options in `group`, in the table's order.
  void AddCheckBoxes(settings_layout::OptionGroup group);
  void MakeFonts();
  // The program's icon beside the donation link, at the present scale.
  void LoadImageIcon();
  // The window's frame around the client area as designed, at the present
  // scale.
  RECT Frame() const;
  // Lays the window out at the highest DPI up to its monitor's at which it
  // fits `workArea`, and places it there: centred, or else kept where it is
  // as far as the work area allows.
  void FitInto(const RECT& workArea, bool centre);
  void OnDpiChanged(int dpi, const RECT& suggested) override;
  void OnRescaled() override;
  void OnCommand(int id);
  void OnActivate(WPARAM wParam);
  bool OnSetCursor(HWND over);
  LRESULT OnControlColor(HDC dc, HWND control);
  void AddTooltips();
  // Every control of this window is visible from the start; edit fields get
  // the sunken edge.
  HWND AddVisibleControl(const wchar_t* windowClass, std::string_view text, DWORD style, int id,
                         const settings_layout::ControlPlace& place, HFONT font);
  // A line of text in the window's font.
  HWND AddLabel(int id, std::string_view text, const settings_layout::ControlPlace& place);

  const ApplicationWindow& application_;
  SettingsDialog* dialog_ = nullptr;
  HWND tooltips_ = nullptr;
  // COM on this thread for the directory chooser, from its first use until
  // the window goes.
  std::optional<ComApartment> com_;
  ScopedFont font_;
  ScopedFont linkFont_;
  ScopedIcon icon_;
};

}  // namespace wh
