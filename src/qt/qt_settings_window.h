// The settings window on screen: three group boxes of controls, the donation
// link and the Save and Cancel buttons. It is made once, hidden, and only
// shown and hidden after that. Its events become SettingsDialog calls; it decides
// nothing itself.
#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/settings_view.h"

class QBoxLayout;
class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QVBoxLayout;

namespace wh {

namespace settings_layout {
struct OptionRow;
}

class GroupArea;
class QtHotKeyField;
class SettingsDialog;

class QtSettingsWindow : public QWidget, public SettingsView {
  Q_OBJECT

 public:
  explicit QtSettingsWindow(QWidget* parent = nullptr);

  // Events go to `dialog` from now on; null stops them.
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

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The fields in the order TAB visits them, gathered as they are made.
  using TabOrder = std::vector<QWidget*>;

  // The controls, made once. The Add steps place what they make in the
  // layout they are given, the New steps hand it back to be placed; each
  // keeps the controls it makes and adds its fields to `tabOrder`.
  void CreateControls();
  // The room the style keeps between groups and between fields; the rows of
  // check boxes stand closer, as one list.
  int Gap() const;
  QCheckBox* NewCheckBox(const settings_layout::OptionRow& row, TabOrder& tabOrder);
  void AddSearchGroup(QVBoxLayout* groupColumn, TabOrder& tabOrder);
  QWidget* NewUserDirLine(TabOrder& tabOrder);
  QLineEdit* NewMasksField(TabOrder& tabOrder);
  QPlainTextEdit* NewIgnoreList(TabOrder& tabOrder);
  void AddBehaviourGroup(QVBoxLayout* groupColumn, TabOrder& tabOrder);
  QWidget* NewHotKeyLine(TabOrder& tabOrder);
  void AddAboutGroup(QVBoxLayout* groupColumn);
  void AddBottomLine(QVBoxLayout* column, TabOrder& tabOrder);
  void AddDonationLink(QBoxLayout* bottom);
  void AddButtons(QBoxLayout* bottom, TabOrder& tabOrder);
  // Lets the groups scroll when the window would be taller than its screen.
  void FitToScreen();
  // The hot-key field starts where the search group's fields start.
  void LineUpHotKeyField();
  // Runs a SettingsDialog handler; an error it lets out is shown, not thrown into
  // Qt's event loop.
  void Dispatch(const std::function<void(SettingsDialog&)>& handler);
  void ShowProgramIcon();

  SettingsDialog* dialog_ = nullptr;
  std::map<Option, QCheckBox*> checkBoxes_;
  QLineEdit* userDir_ = nullptr;
  QLineEdit* masks_ = nullptr;
  QPlainTextEdit* ignoreList_ = nullptr;
  QtHotKeyField* hotKey_ = nullptr;
  QLabel* hotKeyLabel_ = nullptr;
  QGridLayout* searchGrid_ = nullptr;
  QLabel* versionLabel_ = nullptr;
  QLabel* image_ = nullptr;
  GroupArea* groups_ = nullptr;
};

}  // namespace wh
