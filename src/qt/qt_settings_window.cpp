#include "qt/qt_settings_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <exception>
#include <utility>
#include <vector>

#include "app/Unit2.h"
#include "app/settings_layout.h"
#include "qt/qt_hot_key_field.h"

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

// Places `widget` at window coordinates, whichever group box holds it.
void Place(QWidget* widget, int left, int top, int width, int height) {
  QPoint origin(left, top);
  if (QWidget* parent = widget->parentWidget(); parent != nullptr && !parent->isWindow()) {
    origin -= parent->pos();
  }
  widget->setGeometry(origin.x(), origin.y(), width, height);
}

}  // namespace

QtSettingsWindow::QtSettingsWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
  setWindowTitle(QString::fromUtf8(kCaption));
  setFixedSize(kClientWidth, kClientHeight);
  QFont face = font();
  face.setPointSize(8);
  setFont(face);
  CreateControls();
}

void QtSettingsWindow::CreateControls() {
  std::vector<QWidget*> tabOrder;
  auto addCheckBox = [&](QWidget* group, const CheckBoxPlace& place) {
    auto* check = new QCheckBox(QString::fromUtf8(place.caption), group);
    check->setObjectName(QStringLiteral("CheckBox%1").arg(static_cast<int>(place.box)));
    Place(check, place.left, place.top, place.width, kCheckHeight);
    checkBoxes_[place.box] = check;
    tabOrder.push_back(check);
  };
  auto addLabel = [](QWidget* group, const char* text, int left, int top, int width) {
    auto* label = new QLabel(QString::fromUtf8(text), group);
    label->setTextFormat(Qt::PlainText);
    Place(label, left, top, width, kLabelHeight);
    return label;
  };
  auto addGroup = [this](const char* caption, int top, int height) {
    auto* group = new QGroupBox(QString::fromUtf8(caption), this);
    group->setGeometry(kGroupLeft, top, kGroupWidth, height);
    return group;
  };

  QGroupBox* search = addGroup(kSearchGroup, kSearchTop, kSearchHeight);
  for (const CheckBoxPlace& place : kSearchBoxes) addCheckBox(search, place);
  const int userDirTop = kRow3 + 26;
  const int masksTop = userDirTop + 27;
  const int memoTop = masksTop + 27;
  const int labelWidth = kFieldLeft - kInnerLeft - 4;
  addLabel(search, kUserDirLabel, kInnerLeft, userDirTop + 3, labelWidth);
  userDir_ = new QLineEdit(search);
  userDir_->setObjectName(QStringLiteral("UserDirEdit"));
  userDir_->setToolTip(QString::fromUtf8(kUserDirHint));
  // Files dropped on the field are not taken.
  userDir_->setAcceptDrops(false);
  Place(userDir_, kFieldLeft, userDirTop, kFieldRight - kFieldLeft - kBrowseWidth - 2,
        kFieldHeight);
  auto* browse = new QToolButton(search);
  browse->setObjectName(QStringLiteral("BrowseButton"));
  browse->setText(QStringLiteral("..."));
  browse->setFocusPolicy(Qt::StrongFocus);
  Place(browse, kFieldRight - kBrowseWidth, userDirTop, kBrowseWidth, kFieldHeight);
  connect(browse, &QToolButton::clicked, this,
          [this] { Dispatch([](TForm2& form) { form.BrowseClick(); }); });
  addLabel(search, kMasksLabel, kInnerLeft, masksTop + 3, labelWidth);
  masks_ = new QLineEdit(search);
  masks_->setObjectName(QStringLiteral("Edit2"));
  masks_->setToolTip(QString::fromUtf8(kMasksHint));
  Place(masks_, kFieldLeft, masksTop, kFieldRight - kFieldLeft, kFieldHeight);
  addLabel(search, kIgnoreLabel, kInnerLeft, memoTop + 3, labelWidth);
  ignoreList_ = new QPlainTextEdit(search);
  ignoreList_->setObjectName(QStringLiteral("Memo1"));
  ignoreList_->setTabChangesFocus(true);
  ignoreList_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  ignoreList_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Place(ignoreList_, kFieldLeft, memoTop, kFieldRight - kFieldLeft,
        kSearchTop + kSearchHeight - 8 - memoTop);
  for (QLineEdit* field : {userDir_, masks_}) field->setMaxLength(kFieldLimit);
  // The multi-line box has no length limit of its own.
  connect(ignoreList_, &QPlainTextEdit::textChanged, this, [this] {
    QTextDocument* document = ignoreList_->document();
    if (document->characterCount() - 1 <= kFieldLimit) return;
    QTextCursor cursor(document);
    cursor.setPosition(kFieldLimit);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
  });
  tabOrder.insert(tabOrder.end(), {userDir_, browse, masks_, ignoreList_});

  QGroupBox* behaviour = addGroup(kBehaviourGroup, kBehaviourTop, kBehaviourHeight);
  for (const CheckBoxPlace& place : kBehaviourBoxes) addCheckBox(behaviour, place);
  addLabel(behaviour, kHotKeyLabel, kInnerLeft, kHotKeyLine + 3, 106);
  hotKey_ = new QtHotKeyField(behaviour);
  hotKey_->setObjectName(QStringLiteral("HotKey1"));
  hotKey_->setToolTip(QString::fromUtf8(kHotKeyHint));
  Place(hotKey_, 124, kHotKeyLine, 130, kFieldHeight);
  hotKey_->SetHotKey({0x73});  // F4 until the settings are loaded
  tabOrder.push_back(hotKey_);
  addLabel(behaviour, kHotKeyNote, 262, kHotKeyLine + 3, 300);
  addCheckBox(behaviour, kFindDialogBox);

  QGroupBox* about = addGroup(kAboutGroup, kAboutTop, kAboutHeight);
  versionLabel_ = addLabel(about, kVersionPrefix, kInnerLeft, kAboutTop + 18, kLineWidth);
  versionLabel_->setObjectName(QStringLiteral("Label7"));
  addLabel(about, kAboutLine, kInnerLeft, kAboutTop + 38, kLineWidth)
      ->setObjectName(QStringLiteral("Label4"));

  auto donate = [this] { Dispatch([](TForm2& form) { form.Image1Click(); }); };
  image_ = new ClickableLabel(this, donate);
  image_->setObjectName(QStringLiteral("Image1"));
  Place(image_, 12, kBottomTop + 2, 32, 32);
  ShowProgramIcon();
  auto* link = new ClickableLabel(this, donate);
  link->setObjectName(QStringLiteral("Label8"));
  link->setText(QString::fromUtf8(kDonationLink));
  link->setTextFormat(Qt::PlainText);
  QFont linkFont = link->font();
  linkFont.setUnderline(true);
  link->setFont(linkFont);
  QPalette linkColours = link->palette();
  linkColours.setColor(QPalette::WindowText, linkColours.color(QPalette::Highlight));
  link->setPalette(linkColours);
  Place(link, 52, kBottomTop + 11, 290, kLabelHeight);

  const int buttonTop = kBottomTop + 5;
  auto* cancel = new QPushButton(QString::fromUtf8(kCancel), this);
  cancel->setObjectName(QStringLiteral("Button2"));
  Place(cancel, 427, buttonTop, 75, 25);
  connect(cancel, &QPushButton::clicked, this,
          [this] { Dispatch([](TForm2& form) { form.Button2Click(); }); });
  auto* save = new QPushButton(QString::fromUtf8(kSave), this);
  save->setObjectName(QStringLiteral("Button1"));
  Place(save, 508, buttonTop, 75, 25);
  connect(save, &QPushButton::clicked, this,
          [this] { Dispatch([](TForm2& form) { form.Button1Click(); }); });
  tabOrder.insert(tabOrder.end(), {cancel, save});

  for (std::size_t i = 1; i < tabOrder.size(); ++i) {
    setTabOrder(tabOrder[i - 1], tabOrder[i]);
  }
}

void QtSettingsWindow::ShowProgramIcon() {
  QIcon icon(QStringLiteral(":/wordhopper.png"));
  if (icon.isNull()) icon = windowIcon();
  if (!icon.isNull()) image_->setPixmap(icon.pixmap(image_->size()));
}

void QtSettingsWindow::Dispatch(const std::function<void(TForm2&)>& handler) {
  if (form_ == nullptr) return;
  try {
    handler(*form_);
  } catch (const std::exception& error) {
    ShowMessage(error.what());
  }
}

void QtSettingsWindow::closeEvent(QCloseEvent* event) {
  // The window lives as long as the program; closing only hides it.
  event->ignore();
  if (form_ != nullptr) {
    Dispatch([](TForm2& form) { form.Close(); });
  } else {
    Hide();
  }
}

void QtSettingsWindow::SetChecked(SettingsCheckBox box, bool checked) {
  checkBoxes_.at(box)->setChecked(checked);
}

bool QtSettingsWindow::Checked(SettingsCheckBox box) const {
  return checkBoxes_.at(box)->isChecked();
}

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
  const bool owned = isVisible();
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Wordhopper"), QString::fromStdString(text),
                  QMessageBox::Ok, owned ? this : nullptr);
  if (!owned) box.setWindowFlag(Qt::WindowStaysOnTopHint);
  box.exec();
}

std::optional<std::string> QtSettingsWindow::ChooseDirectory(const std::string& start) {
  const QString chosen = QFileDialog::getExistingDirectory(
      this, QString::fromUtf8(kChooserTitle),
      start.empty() ? QStringLiteral("/") : QString::fromStdString(start));
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.toStdString();
}

}  // namespace wh
