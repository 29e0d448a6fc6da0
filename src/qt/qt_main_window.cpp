#include "qt/qt_main_window.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <exception>

#include "app/Unit1.h"
#include "qt/qt_hot_key_field.h"

namespace wh {
namespace {

// Sizes of the window as designed, in pixels.
constexpr int kClientWidth = 457;
constexpr int kBandHeight = 25;
constexpr int kStatusHeight = 20;
constexpr int kBoxLeft = 4, kBoxTop = 2, kBoxWidth = 453, kBoxHeight = 21;
constexpr int kStatusWidths[] = {290, 96, 65};

constexpr char kKeywordHint[] = "Type a key word and ENTER to find matching items.";
constexpr char kItemHint[] =
    "Select an item from the list of press ESC to return to the key word list.";

QString ToQ(const std::string& text) { return QString::fromStdString(text); }
std::string FromQ(const QString& text) { return text.toStdString(); }

// UTF-16 offsets of the line edit and UTF-8 offsets of the program's text.
std::size_t Utf8Offset(const QString& text, int offset) {
  return text.left(offset).toUtf8().size();
}
int Utf16Offset(const std::string& text, std::size_t offset) {
  return static_cast<int>(QString::fromUtf8(text.data(), static_cast<qsizetype>(offset)).size());
}

void FillBox(QComboBox* box, const std::vector<std::string>& entries) {
  QStringList list;
  list.reserve(static_cast<qsizetype>(entries.size()));
  for (const std::string& entry : entries) list.append(ToQ(entry));
  box->setUpdatesEnabled(false);
  box->clear();
  box->addItems(list);
  box->setUpdatesEnabled(true);
}

QLabel* AddLabel(QWidget* parent, const char* text, QRect place, const QFont& font,
                 const char* hint = nullptr) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setGeometry(place);
  label->setFont(font);
  label->setTextFormat(Qt::PlainText);
  if (hint != nullptr) label->setToolTip(QString::fromUtf8(hint));
  return label;
}

void AddShape(QWidget* parent, QRect place) {
  auto* shape = new QFrame(parent);
  shape->setGeometry(place);
  shape->setFrameShape(QFrame::Box);
  shape->setLineWidth(1);
  shape->setStyleSheet(QStringLiteral("QFrame { border: 1px solid black; }"));
}

// Runs an event's handler; an error it raises is shown to the user instead
// of unwinding through Qt's event loop.
template <class Handler>
auto Guarded(MainView& view, Handler&& handler, decltype(handler()) fallback) noexcept {
  try {
    return handler();
  } catch (const std::exception& error) {
    view.ShowMessage(error.what());
  } catch (...) {
    view.ShowMessage("Unknown error");
  }
  return fallback;
}

bool IsEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// The text a key types into the keyword box, as its handler takes it: one
// character, "\b" for BACKSPACE; "" for keys that type nothing there.
std::string TypedText(const QKeyEvent* key) {
  if (key->key() == Qt::Key_Backspace) return "\b";
  const QString text = key->text();
  if (text.isEmpty() || text.front().unicode() < 0x20 || text.front().unicode() == 0x7F) return {};
  return FromQ(text);
}

}  // namespace

int QtKeyToVirtualKey(int qtKey) { return VirtualKeyFromQtKey(qtKey, Qt::NoModifier); }

QtMainWindow::QtMainWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint),
      tray_([this](TrayCommand command) { OnTrayCommand(command); }),
      hotKey_([this] {
        if (form_ != nullptr)
          Guarded(
              *this, [this] { return (form_->HotKeyPressed(), 0); }, 0);
      }) {
  setWindowTitle(QStringLiteral("Wordhopper"));
  setWindowIcon(ProgramIcon());

  // The bands keep their designed pixel sizes; a desktop font wider than
  // the one they were drawn for is made smaller until the captions fit.
  QFont labelFont = font();
  labelFont.setPointSizeF(8);
  while (labelFont.pointSizeF() > 6 &&
         QFontMetrics(labelFont).horizontalAdvance(QStringLiteral("Processes: ")) > 56) {
    labelFont.setPointSizeF(labelFont.pointSizeF() - 0.5);
  }
  QFont valueFont = labelFont;
  valueFont.setFamily(QStringLiteral("Arial"));

  // The information panel. The value labels stand inside the frames.
  panel1_ = new QWidget(this);
  AddShape(panel1_, QRect(61, 2, 31, 18));
  AddShape(panel1_, QRect(150, 2, 182, 18));
  AddLabel(panel1_, "Processes: ", QRect(3, 4, 56, 14), labelFont);
  label1_ = AddLabel(panel1_, "0", QRect(65, 4, 25, 14), valueFont,
                     "Number of processes loaded into memory.");
  AddLabel(panel1_, "Page file:", QRect(102, 4, 46, 14), labelFont);
  label5_ = AddLabel(panel1_, "0", QRect(154, 4, 176, 14), valueFont,
                     "Virtual memory in use and available virtual memory.");
  AddLabel(panel1_, "Memory:", QRect(341, 4, 42, 14), labelFont);
  gauge_ = new QProgressBar(panel1_);
  gauge_->setGeometry(384, 2, 71, 18);
  gauge_->setRange(0, 100);
  gauge_->setValue(0);
  gauge_->setFormat(QStringLiteral("%p%"));
  gauge_->setAlignment(Qt::AlignCenter);
  gauge_->setFont(labelFont);
  gauge_->setToolTip(QStringLiteral("Physical memory load."));

  // The keyword band: both boxes share one place; the item box starts hidden.
  panel2_ = new QWidget(this);
  box1_ = new QComboBox(panel2_);
  box1_->setEditable(true);
  box1_->setInsertPolicy(QComboBox::NoInsert);
  // Completion is the program's own; Qt's completer follows other rules.
  box1_->setCompleter(nullptr);
  box1_->setGeometry(kBoxLeft, kBoxTop, kBoxWidth, kBoxHeight);
  box1_->setToolTip(QString::fromUtf8(kKeywordHint));
  box1_->lineEdit()->setToolTip(QString::fromUtf8(kKeywordHint));
  box2_ = new QComboBox(panel2_);
  box2_->setEditable(false);
  box2_->setGeometry(kBoxLeft, kBoxTop, kBoxWidth, kBoxHeight);
  box2_->setToolTip(QString::fromUtf8(kItemHint));
  box2_->hide();
  setTabOrder(box1_, box2_);
  for (QWidget* watched : {static_cast<QWidget*>(box1_), static_cast<QWidget*>(box1_->lineEdit()),
                           static_cast<QWidget*>(box1_->view()), static_cast<QWidget*>(box2_),
                           static_cast<QWidget*>(box2_->view())}) {
    watched->installEventFilter(this);
  }
  // The boxes' context menu is the tray menu.
  for (QWidget* box : {static_cast<QWidget*>(box1_), static_cast<QWidget*>(box1_->lineEdit()),
                       static_cast<QWidget*>(box2_)}) {
    box->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(box, &QWidget::customContextMenuRequested, this, [this] { tray_.PopUpMenu(); });
  }

  statusBar_ = new QWidget(this);
  statusBar_->setToolTip(QStringLiteral("Status information."));
  const char* statusTexts[] = {"Status:", "Keywords:", "Items:"};
  int left = 0;
  for (int i = 0; i < 3; ++i) {
    auto* panel = new QLabel(QString::fromUtf8(statusTexts[i]), statusBar_);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setTextFormat(Qt::PlainText);
    panel->setFont(labelFont);
    panel->setGeometry(left, 0, kStatusWidths[i] - 2, kStatusHeight);
    left += kStatusWidths[i];
    statusPanels_[i] = panel;
  }

  connect(qApp, &QGuiApplication::applicationStateChanged, this,
          [this](Qt::ApplicationState state) {
            if (state == Qt::ApplicationActive && form_ != nullptr) {
              Guarded(
                  *this, [this] { return (form_->ApplicationActivated(), 0); }, 0);
            }
          });
  lastFocus_ = box1_;
  LayOut();
  CentreOnScreen();
}

QtMainWindow::~QtMainWindow() {
  for (QWidget* watched : {static_cast<QWidget*>(box1_), static_cast<QWidget*>(box1_->lineEdit()),
                           static_cast<QWidget*>(box1_->view()), static_cast<QWidget*>(box2_),
                           static_cast<QWidget*>(box2_->view())}) {
    watched->removeEventFilter(this);
  }
  hotKey_.Unregister();
}

void QtMainWindow::LayOut() {
  const int boxBand = infoPanel_ ? kBandHeight : 0;
  panel1_->setGeometry(0, 0, kClientWidth, kBandHeight);
  panel1_->setVisible(infoPanel_);
  panel2_->setGeometry(0, boxBand, kClientWidth, kBandHeight);
  statusBar_->setGeometry(0, boxBand + kBandHeight, kClientWidth, kStatusHeight);
  statusBar_->setVisible(statusBarVisible_);
  setFixedSize(kClientWidth, boxBand + kBandHeight + (statusBarVisible_ ? kStatusHeight : 0));
}

void QtMainWindow::OnTrayCommand(TrayCommand command) {
  if (form_ == nullptr) return;
  Guarded(
      *this, [this, command] { return (RunTrayCommand(command), 0); }, 0);
}

void QtMainWindow::RunTrayCommand(TrayCommand command) {
  switch (command) {
    case TrayCommand::Show:
      form_->Show1Click();
      break;
    case TrayCommand::Hide:
      form_->Hide1Click();
      break;
    case TrayCommand::Reload:
      form_->Reloaddirectories1Click();
      break;
    case TrayCommand::Settings:
      form_->Settings1Click();
      break;
    case TrayCommand::Help:
      form_->Help1Click();
      break;
    case TrayCommand::Exit:
      form_->Exit1Click();
      break;
  }
}

bool QtMainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && form_ != nullptr) {
    auto* key = static_cast<QKeyEvent*>(event);
    // The keyword box passes keys on to its line edit by a direct call, so
    // each key comes by here once, at the box or (with the list dropped) at
    // its list. A key whose handler failed is used up.
    if (watched == box1_ || watched == box1_->lineEdit()) {
      return Guarded(
          *this, [&] { return KeywordBoxKey(key, false); }, true);
    }
    if (watched == box1_->view())
      return Guarded(
          *this, [&] { return KeywordBoxKey(key, true); }, true);
    if (watched == box2_)
      return Guarded(
          *this, [&] { return ItemBoxKey(key, false); }, true);
    if (watched == box2_->view())
      return Guarded(
          *this, [&] { return ItemBoxKey(key, true); }, true);
  }
  return QWidget::eventFilter(watched, event);
}

bool QtMainWindow::KeywordBoxKey(QKeyEvent* key, bool fromList) {
  const int qtKey = key->key();
  if (fromList) {
    // In the dropped list the arrows move through it; anything else acts as
    // in the box, whose text the list's choice becomes first on ENTER.
    if (qtKey == Qt::Key_Up || qtKey == Qt::Key_Down || qtKey == Qt::Key_PageUp ||
        qtKey == Qt::Key_PageDown) {
      return false;
    }
    if (IsEnter(qtKey)) {
      const QModelIndex chosen = box1_->view()->currentIndex();
      if (chosen.isValid()) box1_->setCurrentIndex(chosen.row());
    }
    if (IsEnter(qtKey) || qtKey == Qt::Key_Escape) box1_->hidePopup();
  }
  QPointer<QtMainWindow> alive(this);
  form_->ComboBox1KeyDown(QtKeyToVirtualKey(qtKey));
  if (!alive) return true;
  // ENTER and ESC have done all they do; the box would only pass them on.
  if (IsEnter(qtKey) || qtKey == Qt::Key_Escape) return true;
  const std::string typed = TypedText(key);
  if (!typed.empty() && form_ != nullptr && form_->ComboBox1KeyPress(typed)) return true;
  if (fromList) {
    // The rest of the key's effect belongs to the box's text field.
    QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text());
    box1_->lineEdit()->event(&copy);
    return true;
  }
  return false;
}

bool QtMainWindow::ItemBoxKey(QKeyEvent* key, bool fromList) {
  const int qtKey = key->key();
  if (fromList && (IsEnter(qtKey) || qtKey == Qt::Key_Escape)) {
    const QModelIndex chosen = box2_->view()->currentIndex();
    if (IsEnter(qtKey) && chosen.isValid()) box2_->setCurrentIndex(chosen.row());
    box2_->hidePopup();
  } else if (fromList) {
    return false;
  }
  form_->ComboBox2KeyDown(QtKeyToVirtualKey(qtKey));
  return IsEnter(qtKey) || qtKey == Qt::Key_Escape;
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
  if (form_ == nullptr || Guarded(
                              *this, [this] { return form_->FormClose(); }, false)) {
    event->accept();
    EndMessageLoop();
  } else {
    event->ignore();
  }
}

void QtMainWindow::RememberFocus() {
  QWidget* focus = QApplication::focusWidget();
  if (focus == box1_->lineEdit()) focus = box1_;
  if (focus == box1_ || focus == box2_) lastFocus_ = focus;
}

void QtMainWindow::SetCaption(const std::string& text) { setWindowTitle(ToQ(text)); }

void QtMainWindow::PlaceAt(int left, int top) { move(left, top); }

MainView::Point QtMainWindow::Position() const { return {pos().x(), pos().y()}; }

void QtMainWindow::CentreOnScreen() {
  const QScreen* where = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
  if (where == nullptr) return;
  const QRect area = where->geometry();
  const QSize size = frameGeometry().size();
  move(area.x() + (area.width() - size.width()) / 2,
       area.y() + (area.height() - size.height()) / 2);
}

void QtMainWindow::SetBandsVisible(bool infoPanel, bool statusBar) {
  infoPanel_ = infoPanel;
  statusBarVisible_ = statusBar;
  LayOut();
}

void QtMainWindow::SetTopmost(bool topmost, bool showPending) {
  if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) != topmost) {
    // Changing the flags takes the window off the screen.
    const QPoint place = pos();
    setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    move(place);
  }
  if (!showPending) show();
}

void QtMainWindow::Show() {
  show();
  if (lastFocus_) lastFocus_->setFocus();
}

bool QtMainWindow::IsVisible() const { return isVisible(); }

void QtMainWindow::HideToTray() {
  RememberFocus();
  if (isVisible()) hiddenToTray_ = true;
  hide();
}

void QtMainWindow::ShowFromTray() {
  if (!hiddenToTray_) return;
  hiddenToTray_ = false;
  show();
  if (lastFocus_ && lastFocus_->isVisible()) {
    lastFocus_->setFocus();
  } else {
    (box2_->isVisible() ? box2_ : box1_)->setFocus();
  }
}

void QtMainWindow::SetTitleBarVisible(bool visible) {
  const bool hasTitle = !windowFlags().testFlag(Qt::FramelessWindowHint);
  if (visible == hasTitle) return;
  const bool wasVisible = isVisible();
  const QPoint place = pos();
  setWindowFlag(Qt::FramelessWindowHint, !visible);
  move(place);
  if (wasVisible) show();
}

bool QtMainWindow::RegisterHotKey(const HotKeyCombo& hotKey) { return hotKey_.Register(hotKey); }

void QtMainWindow::UnregisterHotKey() { hotKey_.Unregister(); }

void QtMainWindow::SetTrayHint(const std::string& hint) { tray_.SetHint(hint); }

void QtMainWindow::SetShowShortcut(const std::string& keyText) { tray_.SetShowShortcut(keyText); }

void QtMainWindow::BringToFront() {
  QWidget* target = QApplication::activeModalWidget();
  if (target == nullptr) target = this;
  if (!target->isVisible() || !target->isEnabled()) return;
  target->raise();
  target->activateWindow();
}

void QtMainWindow::EndMessageLoop() { QCoreApplication::exit(0); }

void QtMainWindow::ShowMessage(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Wordhopper"), ToQ(text), QMessageBox::Ok,
                  isVisible() ? this : nullptr);
  box.exec();
}

void QtMainWindow::SetKeywordItems(const std::vector<std::string>& words) {
  // The text typed so far stays.
  const QString text = box1_->lineEdit()->text();
  FillBox(box1_, words);
  box1_->setCurrentIndex(-1);
  box1_->lineEdit()->setText(text);
}

void QtMainWindow::ClearItemBox() { box2_->clear(); }

void QtMainWindow::ShowKeywordBox() {
  box1_->show();
  box2_->hidePopup();
  box2_->hide();
}

void QtMainWindow::SetKeywordText(const std::string& text) {
  box1_->setCurrentIndex(-1);
  box1_->lineEdit()->setText(ToQ(text));
}

void QtMainWindow::FocusKeywordBox() {
  lastFocus_ = box1_;
  box1_->setFocus();
}

void QtMainWindow::SetStatusPanel(int panel, const std::string& text) {
  if (panel >= 0 && panel < 3) statusPanels_[panel]->setText(ToQ(text));
}

QString QtMainWindow::StatusPanelText(int panel) const {
  return panel >= 0 && panel < 3 ? statusPanels_[panel]->text() : QString();
}

std::string QtMainWindow::KeywordText() const { return FromQ(box1_->lineEdit()->text()); }

EditState QtMainWindow::KeywordField() const {
  const QLineEdit* edit = box1_->lineEdit();
  const QString text = edit->text();
  int start = edit->cursorPosition();
  int end = start;
  if (edit->hasSelectedText()) {
    start = edit->selectionStart();
    end = edit->selectionEnd();
  }
  return {FromQ(text), Utf8Offset(text, start), Utf8Offset(text, end)};
}

void QtMainWindow::SetKeywordField(const EditState& field, int entry) {
  box1_->setCurrentIndex(entry);
  QLineEdit* edit = box1_->lineEdit();
  edit->setText(ToQ(field.text));
  const int start = Utf16Offset(field.text, field.selStart);
  const int end = Utf16Offset(field.text, field.selEnd);
  edit->setSelection(start, end - start);
}

void QtMainWindow::DropKeywordList() {
  if (box1_->isVisible()) box1_->showPopup();
}

void QtMainWindow::FillItemBox(const std::vector<std::string>& names) { FillBox(box2_, names); }

void QtMainWindow::SelectFirstItem() { box2_->setCurrentIndex(box2_->count() > 0 ? 0 : -1); }

void QtMainWindow::ShowItemBox() {
  box2_->show();
  box1_->hidePopup();
  box1_->hide();
}

void QtMainWindow::DropItemList() {
  if (box2_->isVisible()) box2_->showPopup();
}

void QtMainWindow::FocusItemBox() {
  lastFocus_ = box2_;
  box2_->setFocus();
}

std::string QtMainWindow::ItemText() const {
  return box2_->currentIndex() < 0 ? std::string() : FromQ(box2_->currentText());
}

void QtMainWindow::SetProcessCount(const std::string& text) { label1_->setText(ToQ(text)); }

void QtMainWindow::SetPageFile(const std::string& text) { label5_->setText(ToQ(text)); }

void QtMainWindow::SetGaugeProgress(int progress) { gauge_->setValue(progress); }

void QtMainWindow::SetGaugeLow(bool low) {
  QPalette palette = gauge_->palette();
  palette.setColor(
      QPalette::Highlight,
      low ? QColor(Qt::red) : QApplication::palette(gauge_).color(QPalette::Highlight));
  gauge_->setPalette(palette);
}

}  // namespace wh
