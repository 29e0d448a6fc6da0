#include "qt/qt_settings_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <iterator>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "app/settings_dialog.h"
#include "app/settings_layout.h"
#include "qt/qt_hot_key_field.h"
#include "qt/qt_message_box.h"

namespace wh {
namespace {

using namespace settings_layout;

// A picture or text that acts as a link: a left click released over it.
class ClickableLabel : public QLabel {
 public:
  ClickableLabel(QWidget* parent, std::function<void()> onClick)
      : QLabel(parent), onClick_(std::move(onClick)) {
    setCursor(Qt::PointingHandCursor);
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
      onClick_();
    }
    QLabel::mouseReleaseEvent(event);
  }

 private:
  std::function<void()> onClick_;
};

}  // namespace

// The groups' place: as tall as the groups, but never taller than `room`;
// what does not fit then scrolls.
class GroupArea : public QScrollArea {
 public:
  GroupArea() {
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The fields take the focus, not the area around them.
    setFocusPolicy(Qt::NoFocus);
  }
  void SetRoom(int room) {
    room_ = room;
    updateGeometry();
  }
  QSize sizeHint() const override {
    QSize size = widget()->sizeHint();
    if (size.height() > room_) {
      size.setHeight(std::max(room_, 0));
      size.rwidth() += verticalScrollBar()->sizeHint().width();
    }
    return size;
  }
  QSize minimumSizeHint() const override { return sizeHint(); }

 private:
  int room_ = QWIDGETSIZE_MAX;
};

namespace {

// The rank of `value` among the distinct values of `field` in `group`'s
// rows: a check box's column (or row) in its group's grid, from the table's
// arrangement.
int Rank(settings_layout::OptionGroup group, int settings_layout::OptionRow::*field, int value) {
  std::set<int> distinct;
  for (const auto& row : settings_layout::kOptions) {
    if (row.group == group) distinct.insert(row.*field);
  }
  return static_cast<int>(std::distance(distinct.begin(), distinct.find(value)));
}

QLabel* NewLabel(const char* text) {
  auto* label = new QLabel(QString::fromUtf8(text));
  label->setTextFormat(Qt::PlainText);
  return label;
}

// A group box below the groups before it.
QGroupBox* AddGroup(QVBoxLayout* groupColumn, const char* caption) {
  auto* group = new QGroupBox(QString::fromUtf8(caption));
  groupColumn->addWidget(group);
  return group;
}

// A group's title already stands above its first line.
void FitInGroup(QLayout* inside, int gap) {
  inside->setContentsMargins(2 * gap, gap / 2, 2 * gap, gap);
}

// The search group's fields below its check boxes, a line each, the field
// beside its label across the remaining columns.
class FieldLines {
 public:
  FieldLines(QGridLayout* grid, int lastRow, int gap)
      : grid_(grid), row_(lastRow), columns_(grid->columnCount()), gap_(gap) {}

  // `textTop`: for a field of several lines, how far below its top its first
  // line stands; its label stands beside that line. Other fields are centred.
  void Add(const char* label, QWidget* field, int textTop = -1) {
    ++row_;
    // The fields stand apart from the check boxes and from each other.
    grid_->setRowMinimumHeight(row_,
                               field->sizeHint().boundedTo(field->maximumSize()).height() + gap_);
    const Qt::Alignment place = textTop < 0 ? Qt::AlignVCenter : Qt::AlignTop;
    QLabel* caption = NewLabel(label);
    if (textTop > 0) caption->setContentsMargins(0, textTop, 0, 0);
    grid_->addWidget(caption, row_, 0, Qt::AlignLeft | place);
    grid_->addWidget(field, row_, 1, 1, columns_ - 1, place);
  }

 private:
  QGridLayout* grid_;
  int row_;
  int columns_;
  int gap_;
};

void ChainTabOrder(const std::vector<QWidget*>& order) {
  for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

}  // namespace

QtSettingsWindow::QtSettingsWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
  setWindowTitle(QString::fromUtf8(kCaption));
  CreateControls();
  // The window is as large as its controls in the desktop's font, no larger;
  // its size is known before it is first shown, so it can be centred.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  layout()->activate();
  LineUpHotKeyField();
  FitToScreen();
}

void QtSettingsWindow::LineUpHotKeyField() {
  QWidget* groups = groups_->widget();
  groups->layout()->activate();
  const int fieldsLeft = userDir_->mapTo(groups, QPoint(0, 0)).x();
  const int hotKeyLeft = hotKey_->mapTo(groups, QPoint(0, 0)).x();
  if (fieldsLeft > hotKeyLeft) {
    hotKeyLabel_->setFixedWidth(hotKeyLabel_->width() + fieldsLeft - hotKeyLeft);
  } else if (hotKeyLeft > fieldsLeft) {
    searchGrid_->setColumnMinimumWidth(
        0, searchGrid_->cellRect(0, 0).width() + hotKeyLeft - fieldsLeft);
  }
  groups->layout()->activate();
  layout()->activate();
}

void QtSettingsWindow::FitToScreen() {
  const QScreen* where = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
  if (where == nullptr) return;
  // The title bar is known once the window is on screen; until then a guess.
  const int titleBar =
      isVisible() ? frameGeometry().height() - height() : 2 * fontMetrics().height();
  const int besideGroups = height() - groups_->height();
  groups_->SetRoom(where->availableGeometry().height() - titleBar - besideGroups);
  layout()->activate();
}

int QtSettingsWindow::Gap() const { return style()->pixelMetric(QStyle::PM_LayoutVerticalSpacing); }

void QtSettingsWindow::CreateControls() {
  const int gap = Gap();
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(gap, gap, gap, gap);
  column->setSpacing(gap);

  // The groups scroll when the screen is too low for them.
  auto* groups = new QWidget;
  auto* groupColumn = new QVBoxLayout(groups);
  groupColumn->setContentsMargins(0, 0, 0, 0);
  groupColumn->setSpacing(gap);
  TabOrder tabOrder;
  AddSearchGroup(groupColumn, tabOrder);
  AddBehaviourGroup(groupColumn, tabOrder);
  AddAboutGroup(groupColumn);
  groups_ = new GroupArea;
  groups_->setWidget(groups);
  column->addWidget(groups_);

  AddBottomLine(column, tabOrder);
  ChainTabOrder(tabOrder);
}

QCheckBox* QtSettingsWindow::NewCheckBox(const OptionRow& row, TabOrder& tabOrder) {
  auto* check = new QCheckBox(QString::fromUtf8(settings_layout::Caption(row, Wording::Linux)));
  check->setObjectName(QString::fromUtf8(row.name));
  // Shown all the same, so that the window reads as on Windows, with the
  // reason at hand; its saved value is kept as it is.
  if (row.linuxUnavailable != nullptr) {
    check->setEnabled(false);
    check->setToolTip(QString::fromUtf8(row.linuxUnavailable));
  }
  checkBoxes_[row.option] = check;
  tabOrder.push_back(check);
  return check;
}

// Search directories: the check boxes in the table's columns and rows, then
// the fields, each beside its label.
void QtSettingsWindow::AddSearchGroup(QVBoxLayout* groupColumn, TabOrder& tabOrder) {
  QGroupBox* search = AddGroup(groupColumn, kSearchGroup);
  auto* grid = new QGridLayout(search);
  searchGrid_ = grid;
  FitInGroup(grid, Gap());
  grid->setVerticalSpacing(0);
  int lastRow = 0;
  for (const OptionRow& option : kOptions) {
    if (option.group != OptionGroup::Search) continue;
    const int line = Rank(OptionGroup::Search, &OptionRow::top, option.top);
    grid->addWidget(NewCheckBox(option, tabOrder), line,
                    Rank(OptionGroup::Search, &OptionRow::left, option.left));
    lastRow = std::max(lastRow, line);
  }

  FieldLines fields(grid, lastRow, Gap());
  fields.Add(kUserDirLabel, NewUserDirLine(tabOrder));
  fields.Add(kMasksLabel, NewMasksField(tabOrder));
  QPlainTextEdit* ignoreList = NewIgnoreList(tabOrder);
  fields.Add(kIgnoreLabel, ignoreList,
             ignoreList->frameWidth() + static_cast<int>(ignoreList->document()->documentMargin()));
}

// The user's directory and the button that chooses one.
QWidget* QtSettingsWindow::NewUserDirLine(TabOrder& tabOrder) {
  userDir_ = new QLineEdit;
  userDir_->setObjectName(QStringLiteral("user_dir"));
  userDir_->setAccessibleName(QString::fromUtf8(kUserDirLabel));
  userDir_->setToolTip(QString::fromUtf8(kUserDirHint));
  userDir_->setMaxLength(kFieldLimit);
  // Files dropped on the field are not taken.
  userDir_->setAcceptDrops(false);
  auto* browse = new QToolButton;
  browse->setObjectName(QStringLiteral("user_dir_browse"));
  browse->setText(QStringLiteral("..."));
  browse->setAccessibleName(QString::fromUtf8(kBrowseName));
  browse->setFocusPolicy(Qt::StrongFocus);
  connect(browse, &QToolButton::clicked, this,
          [this] { Dispatch([](SettingsDialog& dialog) { dialog.Browse(); }); });
  auto* userDirRow = new QWidget;
  auto* userDirLine = new QHBoxLayout(userDirRow);
  userDirLine->setContentsMargins(0, 0, 0, 0);
  userDirLine->addWidget(userDir_, 1);
  userDirLine->addWidget(browse);
  tabOrder.insert(tabOrder.end(), {userDir_, browse});
  return userDirRow;
}

QLineEdit* QtSettingsWindow::NewMasksField(TabOrder& tabOrder) {
  masks_ = new QLineEdit;
  masks_->setObjectName(QStringLiteral("masks"));
  masks_->setAccessibleName(QString::fromUtf8(kMasksLabel));
  masks_->setToolTip(QString::fromUtf8(kMasksHint));
  masks_->setMaxLength(kFieldLimit);
  tabOrder.push_back(masks_);
  return masks_;
}

QPlainTextEdit* QtSettingsWindow::NewIgnoreList(TabOrder& tabOrder) {
  ignoreList_ = new QPlainTextEdit;
  ignoreList_->setObjectName(QStringLiteral("ignore_list"));
  ignoreList_->setAccessibleName(QString::fromUtf8(kIgnoreLabel));
  ignoreList_->setTabChangesFocus(true);
  ignoreList_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  ignoreList_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  // Three lines show; more scroll.
  ignoreList_->setFixedHeight(3 * ignoreList_->fontMetrics().lineSpacing() +
                              2 * ignoreList_->frameWidth() +
                              2 * static_cast<int>(ignoreList_->document()->documentMargin()));
  // The multi-line box has no length limit of its own.
  connect(ignoreList_, &QPlainTextEdit::textChanged, this, [this] {
    QTextDocument* document = ignoreList_->document();
    if (document->characterCount() - 1 <= kFieldLimit) return;
    QTextCursor cursor(document);
    cursor.setPosition(kFieldLimit);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
  });
  tabOrder.push_back(ignoreList_);
  return ignoreList_;
}

// Program behaviour: one line each, the hot-key line last.
void QtSettingsWindow::AddBehaviourGroup(QVBoxLayout* groupColumn, TabOrder& tabOrder) {
  QGroupBox* behaviour = AddGroup(groupColumn, kBehaviourGroup);
  auto* lines = new QVBoxLayout(behaviour);
  FitInGroup(lines, Gap());
  lines->setSpacing(0);
  std::multimap<int, QWidget*> byLine;
  auto addCheckBoxes = [&](OptionGroup group) {
    for (const OptionRow& option : kOptions) {
      if (option.group == group) byLine.emplace(option.top, NewCheckBox(option, tabOrder));
    }
  };
  addCheckBoxes(OptionGroup::Behaviour);
  byLine.emplace(kHotKeyLine, NewHotKeyLine(tabOrder));
  for (const auto& [top, line] : byLine) lines->addWidget(line);
}

// The hot-key field between its label and the note on when a new key
// takes effect.
QWidget* QtSettingsWindow::NewHotKeyLine(TabOrder& tabOrder) {
  const int gap = Gap();
  auto* hotKeyRow = new QWidget;
  auto* hotKeyLine = new QHBoxLayout(hotKeyRow);
  hotKeyLine->setContentsMargins(0, gap / 2, 0, gap / 2);
  hotKeyLabel_ = NewLabel(kHotKeyLabel);
  hotKeyLine->addWidget(hotKeyLabel_);
  hotKey_ = new QtHotKeyField;
  hotKey_->setObjectName(QStringLiteral("hot_key"));
  hotKey_->setAccessibleName(QString::fromUtf8(kHotKeyLabel));
  hotKey_->setToolTip(QString::fromUtf8(kHotKeyHint));
  // Room for a long combination.
  hotKey_->setFixedWidth(
      hotKey_->fontMetrics().horizontalAdvance(QStringLiteral("Ctrl+Shift+Alt+PgDown")) +
      2 * hotKey_->fontMetrics().averageCharWidth());
  hotKey_->SetHotKey(kDefaultHotKey);  // until the settings are loaded
  tabOrder.push_back(hotKey_);
  hotKeyLine->addWidget(hotKey_);
  hotKeyLine->addWidget(NewLabel(kHotKeyNote));
  hotKeyLine->addStretch(1);
  return hotKeyRow;
}

void QtSettingsWindow::AddAboutGroup(QVBoxLayout* groupColumn) {
  QGroupBox* about = AddGroup(groupColumn, kAboutGroup);
  auto* aboutLines = new QVBoxLayout(about);
  FitInGroup(aboutLines, Gap());
  versionLabel_ = NewLabel(kVersionPrefix);
  versionLabel_->setObjectName(QStringLiteral("version"));
  aboutLines->addWidget(versionLabel_);
  QLabel* aboutLine = NewLabel(kAboutLine);
  aboutLine->setObjectName(QStringLiteral("about_line"));
  aboutLines->addWidget(aboutLine);
}

// The bottom line: the picture and the donation link, then the buttons.
void QtSettingsWindow::AddBottomLine(QVBoxLayout* column, TabOrder& tabOrder) {
  auto* bottom = new QHBoxLayout;
  column->addLayout(bottom);
  AddDonationLink(bottom);
  bottom->addStretch(1);
  AddButtons(bottom, tabOrder);
}

// The program's picture and the line beside it both open the donation page.
void QtSettingsWindow::AddDonationLink(QBoxLayout* bottom) {
  auto donate = [this] { Dispatch([](SettingsDialog& dialog) { dialog.OpenDonationPage(); }); };
  image_ = new ClickableLabel(this, donate);
  image_->setObjectName(QStringLiteral("donation_icon"));
  const int iconSize = style()->pixelMetric(QStyle::PM_LargeIconSize);
  image_->setFixedSize(iconSize, iconSize);
  ShowProgramIcon();
  bottom->addWidget(image_);
  auto* link = new ClickableLabel(this, donate);
  link->setObjectName(QStringLiteral("donation_link"));
  link->setText(QString::fromUtf8(kDonationLink));
  link->setTextFormat(Qt::PlainText);
  QFont linkFont = link->font();
  linkFont.setUnderline(true);
  link->setFont(linkFont);
  QPalette linkColours = link->palette();
  linkColours.setColor(QPalette::WindowText, linkColours.color(QPalette::Highlight));
  link->setPalette(linkColours);
  bottom->addWidget(link);
}

void QtSettingsWindow::AddButtons(QBoxLayout* bottom, TabOrder& tabOrder) {
  auto* cancel = new QPushButton(QString::fromUtf8(kCancel), this);
  cancel->setObjectName(QStringLiteral("cancel"));
  connect(cancel, &QPushButton::clicked, this,
          [this] { Dispatch([](SettingsDialog& dialog) { dialog.Cancel(); }); });
  bottom->addWidget(cancel);
  auto* save = new QPushButton(QString::fromUtf8(kSave), this);
  save->setObjectName(QStringLiteral("save"));
  connect(save, &QPushButton::clicked, this,
          [this] { Dispatch([](SettingsDialog& dialog) { dialog.Save(); }); });
  bottom->addWidget(save);
  tabOrder.insert(tabOrder.end(), {cancel, save});
}

void QtSettingsWindow::ShowProgramIcon() {
  QIcon icon(QStringLiteral(":/wordhopper.png"));
  if (icon.isNull()) icon = windowIcon();
  if (!icon.isNull()) image_->setPixmap(icon.pixmap(image_->size()));
}

void QtSettingsWindow::Dispatch(const std::function<void(SettingsDialog&)>& handler) {
  if (dialog_ == nullptr) return;
  try {
    handler(*dialog_);
  } catch (const std::exception& error) {
    ShowMessage(error.what());
  }
}

void QtSettingsWindow::closeEvent(QCloseEvent* event) {
  // The window lives as long as the program; closing only hides it.
  event->ignore();
  if (dialog_ != nullptr) {
    Dispatch([](SettingsDialog& dialog) { dialog.Close(); });
  } else {
    Hide();
  }
}

void QtSettingsWindow::keyPressEvent(QKeyEvent* event) {
  // ESC anywhere in the window is the Cancel button, as in a dialog box; the
  // fields leave it to the window.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    Dispatch([](SettingsDialog& dialog) { dialog.Cancel(); });
    return;
  }
  QWidget::keyPressEvent(event);
}

void QtSettingsWindow::SetChecked(Option option, bool checked) {
  checkBoxes_.at(option)->setChecked(checked);
}

bool QtSettingsWindow::Checked(Option option) const { return checkBoxes_.at(option)->isChecked(); }

void QtSettingsWindow::SetUserDir(const std::string& text) {
  userDir_->setText(QString::fromStdString(text));
}

std::string QtSettingsWindow::UserDir() const { return userDir_->text().toStdString(); }

void QtSettingsWindow::SetMasks(const std::string& text) {
  masks_->setText(QString::fromStdString(text));
}

std::string QtSettingsWindow::Masks() const { return masks_->text().toStdString(); }

void QtSettingsWindow::SetIgnoreList(const std::string& text) {
  ignoreList_->setPlainText(QString::fromStdString(text));
}

std::string QtSettingsWindow::IgnoreList() const {
  return ignoreList_->toPlainText().toStdString();
}

void QtSettingsWindow::SetHotKey(const HotKeyCombo& hotKey) { hotKey_->SetHotKey(hotKey); }

HotKeyCombo QtSettingsWindow::HotKey() const { return hotKey_->HotKey(); }

void QtSettingsWindow::SetVersionLabel(const std::string& text) {
  versionLabel_->setText(QString::fromStdString(text));
}

void QtSettingsWindow::Show() {
  ShowProgramIcon();
  FitToScreen();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
  }
  show();
  raise();
  activateWindow();
  userDir_->setFocus(Qt::OtherFocusReason);
}

void QtSettingsWindow::Hide() { hide(); }

bool QtSettingsWindow::IsVisible() const { return isVisible(); }

void QtSettingsWindow::ShowMessage(const std::string& text) {
  // A message without a window on screen must not hide behind other programs.
  ShowMessageBox(text, isVisible() ? this : nullptr, /*onTop=*/true);
}

std::optional<std::string> QtSettingsWindow::ChooseDirectory(const std::string& start) {
  const QString chosen = QFileDialog::getExistingDirectory(
      this, QString::fromUtf8(kChooserTitle),
      start.empty() ? QStringLiteral("/") : QString::fromStdString(start));
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.toStdString();
}

}  // namespace wh
