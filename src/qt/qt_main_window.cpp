#include "qt/qt_main_window.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <utility>

#include "app/launcher.h"
#include "app/main_layout.h"

namespace wh {
namespace {

using main_layout::PanelPart;

// The bands' inner margin and the room between their parts.
constexpr int kMargin = 2;
constexpr int kGap = 4;

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

QLabel* AddLabel(QBoxLayout* row, const char* text, const char* hint) {
  auto* label = new QLabel(QString::fromUtf8(text));
  label->setTextFormat(Qt::PlainText);
  if (hint != nullptr) label->setToolTip(QString::fromUtf8(hint));
  row->addWidget(label);
  return label;
}

// A label whose text changes as the program runs: it asks for the width
// that `sample` needs whatever it shows, so the window does not jump with
// each new figure or message; a longer text is cut at the end.
class SteadyLabel : public QLabel {
 public:
  SteadyLabel(const char* text, QString sample)
      : QLabel(QString::fromUtf8(text)), sample_(std::move(sample)) {
    setTextFormat(Qt::PlainText);
    setIndent(kGap);
  }
  QSize sizeHint() const override {
    return {fontMetrics().horizontalAdvance(sample_) + 2 * frameWidth() + 2 * kGap,
            QLabel::sizeHint().height()};
  }
  QSize minimumSizeHint() const override { return sizeHint(); }

 private:
  QString sample_;
};

QBoxLayout* Band(QWidget* band) {
  auto* row = new QHBoxLayout(band);
  row->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  row->setSpacing(kGap);
  return row;
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

Key QtKeyToKey(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return Key::Enter;
    case Qt::Key_Escape:
      return Key::Escape;
    case Qt::Key_Up:
      return Key::Up;
    case Qt::Key_Down:
      return Key::Down;
    default:
      return Key::Other;
  }
}

QtMainWindow::QtMainWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint),
      tray_([this](main_layout::TrayCommand command) { OnTrayCommand(command); }),
      hotKey_([this] { HotKeyPressed(); }),
      portalHotKey_([this] { HotKeyPressed(); }) {
  setWindowTitle(QString::fromUtf8(main_layout::kTitle));
  setWindowIcon(ProgramIcon());
  auto* bands = new QVBoxLayout(this);
  bands->setContentsMargins(0, 0, 0, 0);
  bands->setSpacing(0);

  // The information panel; the value labels are framed.
  panel1_ = new QWidget(this);
  QBoxLayout* panelRow = Band(panel1_);
  for (const main_layout::PanelPlace& part : main_layout::kPanel) {
    switch (part.part) {
      case PanelPart::ProcessesLabel:
      case PanelPart::PageFileLabel:
      case PanelPart::MemoryLabel:
        AddLabel(panelRow, part.text, part.hint);
        break;
      case PanelPart::ProcessCount:
      case PanelPart::PageFile: {
        const bool count = part.part == PanelPart::ProcessCount;
        auto* value = new SteadyLabel(
            part.text, count ? QStringLiteral("00000")
                             : QStringLiteral("00,000 MB in use | 00,000 MB available"));
        value->setFrameStyle(QFrame::Box | QFrame::Plain);
        value->setToolTip(QString::fromUtf8(part.hint));
        panelRow->addWidget(value);
        (count ? label1_ : label5_) = value;
        break;
      }
      case PanelPart::Gauge:
        gauge_ = new QProgressBar(panel1_);
        gauge_->setRange(0, 100);
        gauge_->setValue(0);
        gauge_->setFormat(QStringLiteral("%p%"));
        gauge_->setAlignment(Qt::AlignCenter);
        gauge_->setToolTip(QString::fromUtf8(part.hint));
        gauge_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        panelRow->addWidget(gauge_);
        break;
    }
  }
  panelRow->setStretchFactor(label5_, 1);
  bands->addWidget(panel1_);

  // The keyword band: both boxes share one place; the item box starts hidden.
  panel2_ = new QWidget(this);
  auto* boxPlace = new QGridLayout(panel2_);
  boxPlace->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  box1_ = new QComboBox(panel2_);
  box1_->setEditable(true);
  box1_->setInsertPolicy(QComboBox::NoInsert);
  // Completion is the program's own; Qt's completer follows other rules.
  box1_->setCompleter(nullptr);
  box1_->setToolTip(QString::fromUtf8(main_layout::kKeywordBoxHint));
  box1_->lineEdit()->setToolTip(QString::fromUtf8(main_layout::kKeywordBoxHint));
  box2_ = new QComboBox(panel2_);
  box2_->setEditable(false);
  box2_->setToolTip(QString::fromUtf8(main_layout::kItemBoxHint));
  box2_->hide();
  for (QComboBox* box : {box1_, box2_}) {
    // The band takes the information panel's width, not the longest name's.
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(16);
    boxPlace->addWidget(box, 0, 0);
  }
  setTabOrder(box1_, box2_);
  bands->addWidget(panel2_);
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
  statusBar_->setToolTip(QString::fromUtf8(main_layout::kStatusBarHint));
  QBoxLayout* statusRow = Band(statusBar_);
  statusRow->setContentsMargins(0, 0, 0, 0);
  statusRow->setSpacing(kMargin);
  // The status panel is wide enough for the prompt and takes what the counts
  // leave; they keep room for five digits.
  for (int i = 0; i < 3; ++i) {
    const char* text = main_layout::kStatusPanels[i].text;
    auto* panel =
        new SteadyLabel(text, i == 0 ? QString::fromUtf8(main_layout::kKeywordPrompt)
                                     : QString::fromUtf8(text) + QStringLiteral(" 00000"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusRow->addWidget(panel);
    statusRow->setStretchFactor(panel, i == 0 ? 1 : 0);
    statusPanels_[i] = panel;
  }
  bands->addWidget(statusBar_);

  connect(qApp, &QGuiApplication::applicationStateChanged, this,
          [this](Qt::ApplicationState state) {
            if (state == Qt::ApplicationActive && launcher_ != nullptr) {
              Guarded(
                  *this, [this] { return (launcher_->ApplicationActivated(), 0); }, 0);
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
  panel1_->setVisible(infoPanel_);
  statusBar_->setVisible(statusBarVisible_);
  // The width is the same whichever bands show; the height is theirs.
  int width = 0;
  int height = 0;
  for (QWidget* band : {panel1_, panel2_, statusBar_}) {
    const QSize size = band->sizeHint().expandedTo(band->minimumSizeHint());
    width = std::max(width, size.width());
    if (!band->isHidden()) height += size.height();
  }
  setFixedSize(width, height);
  // The bands take their places now, also while the window is hidden.
  layout()->activate();
}

void QtMainWindow::OnTrayCommand(main_layout::TrayCommand command) {
  if (launcher_ == nullptr) return;
  Guarded(
      *this, [this, command] { return (main_layout::RunTrayCommand(*launcher_, command), 0); }, 0);
}

bool QtMainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && launcher_ != nullptr) {
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
  launcher_->OnKeywordKey(QtKeyToKey(qtKey));
  if (!alive) return true;
  // ENTER and ESC have done all they do; the box would only pass them on.
  if (IsEnter(qtKey) || qtKey == Qt::Key_Escape) return true;
  const std::string typed = TypedText(key);
  if (!typed.empty() && launcher_ != nullptr && launcher_->OnKeywordChar(typed)) return true;
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
  launcher_->OnItemKey(QtKeyToKey(qtKey));
  return IsEnter(qtKey) || qtKey == Qt::Key_Escape;
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
  if (launcher_ == nullptr || Guarded(
                                  *this, [this] { return launcher_->OnClose(); }, false)) {
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

namespace {

ScreenRect ToScreenRect(const QRect& rect) {
  return {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
}

}  // namespace

ScreenRect QtMainWindow::Frame() const { return ToScreenRect(frameGeometry()); }

std::vector<Monitor> QtMainWindow::Monitors() const {
  std::vector<Monitor> monitors;
  for (const QScreen* screen : QGuiApplication::screens()) {
    monitors.push_back(
        {ToScreenRect(screen->geometry()), ToScreenRect(screen->availableGeometry())});
  }
  return monitors;
}

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
  FocusShownBox();
}

void QtMainWindow::FocusShownBox() {
  // The box that had the focus may have been swapped out while the window
  // was away; the focus never goes to a hidden box.
  if (lastFocus_ && lastFocus_->isVisibleTo(this)) {
    lastFocus_->setFocus();
  } else {
    (box2_->isVisibleTo(this) ? box2_ : box1_)->setFocus();
  }
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
  FocusShownBox();
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

void QtMainWindow::HotKeyPressed() {
  // Presses that queued up while the program was busy (its start loading the
  // index, a reload) come in one after another: they make one press, handled
  // once they are all in.
  if (launcher_ == nullptr || pressWaiting_) return;
  pressWaiting_ = true;
  QTimer::singleShot(0, this, [this] {
    if (launcher_ != nullptr)
      Guarded(
          *this, [this] { return (launcher_->HotKeyPressed(), 0); }, 0);
    pressWaiting_ = false;
  });
}

bool QtMainWindow::RegisterHotKey(const HotKeyCombo& hotKey) {
  // Without an X11 connection (a Wayland session) no key can be grabbed:
  // the desktop's shortcuts portal is asked instead, where there is one.
  return QGuiApplication::platformName() != QLatin1String("xcb") ? portalHotKey_.Register(hotKey)
                                                                 : hotKey_.Register(hotKey);
}

void QtMainWindow::UnregisterHotKey() {
  hotKey_.Unregister();
  portalHotKey_.Unregister();
}

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

void QtMainWindow::SetStatusPanel(StatusPanel panel, const std::string& text) {
  statusPanels_[main_layout::StatusPanelRow(panel)]->setText(ToQ(text));
}

QString QtMainWindow::StatusPanelText(StatusPanel panel) const {
  return statusPanels_[main_layout::StatusPanelRow(panel)]->text();
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

// The box keeps the entries in the order they were given.
int QtMainWindow::SelectedItem() const { return box2_->currentIndex(); }

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
