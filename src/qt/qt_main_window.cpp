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
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <exception>
#include <utility>

#include "app/launcher.h"
#include "app/main_layout.h"
#include "qt/qt_message_box.h"

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

// A figure of the information panel, framed, with room for `sample`.
QLabel* AddValueLabel(QBoxLayout* row, const main_layout::PanelPlace& part, QString sample) {
  auto* value = new SteadyLabel(part.text, std::move(sample));
  value->setFrameStyle(QFrame::Box | QFrame::Plain);
  value->setToolTip(QString::fromUtf8(part.hint));
  row->addWidget(value);
  return value;
}

// The memory load on `panel`, in per cent.
QProgressBar* AddGauge(QWidget* panel, QBoxLayout* row, const char* hint) {
  auto* gauge = new QProgressBar(panel);
  gauge->setRange(0, 100);
  gauge->setValue(0);
  gauge->setFormat(QStringLiteral("%p%"));
  gauge->setAlignment(Qt::AlignCenter);
  gauge->setToolTip(QString::fromUtf8(hint));
  gauge->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
  row->addWidget(gauge);
  return gauge;
}

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
  bands->addWidget(CreateInfoPanel());
  bands->addWidget(CreateKeywordBand());
  WatchBoxes();
  bands->addWidget(CreateStatusBar());
  WatchApplicationActivation();
  lastFocus_ = keywordBox_;
  LayOut();
  CentreOnScreen();
}

QtMainWindow::~QtMainWindow() {
  for (QWidget* watched : KeyWatched()) watched->removeEventFilter(this);
  hotKey_.Unregister();
}

// The information panel, its parts left to right.
QWidget* QtMainWindow::CreateInfoPanel() {
  infoPanel_ = new QWidget(this);
  QBoxLayout* panelRow = Band(infoPanel_);
  for (const main_layout::PanelPlace& part : main_layout::kPanel) {
    switch (part.part) {
      case PanelPart::ProcessesLabel:
      case PanelPart::PageFileLabel:
      case PanelPart::MemoryLabel:
        AddLabel(panelRow, part.text, part.hint);
        break;
      case PanelPart::ProcessCount:
        processCount_ = AddValueLabel(panelRow, part, QStringLiteral("00000"));
        break;
      case PanelPart::PageFile:
        pageFile_ =
            AddValueLabel(panelRow, part, QStringLiteral("00,000 MB in use | 00,000 MB available"));
        break;
      case PanelPart::Gauge:
        gauge_ = AddGauge(infoPanel_, panelRow, part.hint);
        break;
    }
  }
  panelRow->setStretchFactor(pageFile_, 1);
  return infoPanel_;
}

// The keyword band: both boxes share one place; the item box starts hidden.
QWidget* QtMainWindow::CreateKeywordBand() {
  keywordBand_ = new QWidget(this);
  auto* boxPlace = new QGridLayout(keywordBand_);
  boxPlace->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  keywordBox_ = new QComboBox(keywordBand_);
  keywordBox_->setEditable(true);
  keywordBox_->setInsertPolicy(QComboBox::NoInsert);
  // Completion is the program's own; Qt's completer follows other rules.
  keywordBox_->setCompleter(nullptr);
  keywordBox_->setToolTip(QString::fromUtf8(main_layout::kKeywordBoxHint));
  keywordBox_->lineEdit()->setToolTip(QString::fromUtf8(main_layout::kKeywordBoxHint));
  itemBox_ = new QComboBox(keywordBand_);
  itemBox_->setEditable(false);
  itemBox_->setToolTip(QString::fromUtf8(main_layout::kItemBoxHint));
  itemBox_->hide();
  for (QComboBox* box : {keywordBox_, itemBox_}) {
    // The band takes the information panel's width, not the longest name's.
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(16);
    boxPlace->addWidget(box, 0, 0);
  }
  setTabOrder(keywordBox_, itemBox_);
  return keywordBand_;
}

std::array<QWidget*, 5> QtMainWindow::KeyWatched() const {
  return {keywordBox_, keywordBox_->lineEdit(), keywordBox_->view(), itemBox_, itemBox_->view()};
}

void QtMainWindow::WatchBoxes() {
  for (QWidget* watched : KeyWatched()) watched->installEventFilter(this);
  // The boxes' context menu is the tray menu.
  for (QWidget* box :
       {static_cast<QWidget*>(keywordBox_), static_cast<QWidget*>(keywordBox_->lineEdit()),
        static_cast<QWidget*>(itemBox_)}) {
    box->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(box, &QWidget::customContextMenuRequested, this, [this] { tray_.PopUpMenu(); });
  }
}

QWidget* QtMainWindow::CreateStatusBar() {
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
  return statusBar_;
}

void QtMainWindow::WatchApplicationActivation() {
  connect(qApp, &QGuiApplication::applicationStateChanged, this,
          [this](Qt::ApplicationState state) {
            if (state == Qt::ApplicationActive && launcher_ != nullptr) {
              Guarded(
                  *this, [this] { return (launcher_->ApplicationActivated(), 0); }, 0);
            }
          });
}

void QtMainWindow::LayOut() {
  infoPanel_->setVisible(infoPanelVisible_);
  statusBar_->setVisible(statusBarVisible_);
  // The width is the same whichever bands show; the height is theirs.
  int width = 0;
  int height = 0;
  for (QWidget* band : {infoPanel_, keywordBand_, statusBar_}) {
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

// The menu key, and Shift+F10 as on Windows, open the context menu from the
// keyboard; no desktop turns Shift+F10 into a context-menu event itself.
bool QtMainWindow::IsContextMenuKey(const QKeyEvent& key) {
  return key.key() == Qt::Key_Menu ||
         (key.key() == Qt::Key_F10 && (key.modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier);
}

void QtMainWindow::PopUpMenuAtCaret() {
  QLineEdit* edit = keywordBox_->lineEdit();
  const QPoint at = itemBox_->isVisible()
                        ? itemBox_->mapToGlobal(itemBox_->rect().bottomLeft())
                        : edit->mapToGlobal(
                              edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().bottomLeft());
  tray_.PopUpMenu(at);
}

bool QtMainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && IsContextMenuKey(*static_cast<QKeyEvent*>(event))) {
    PopUpMenuAtCaret();
    return true;
  }
  if (event->type() == QEvent::KeyPress && launcher_ != nullptr) {
    auto* key = static_cast<QKeyEvent*>(event);
    // The keyword box passes keys on to its line edit by a direct call, so
    // each key comes by here once, at the box or (with the list dropped) at
    // its list. A key whose handler failed is used up.
    if (watched == keywordBox_ || watched == keywordBox_->lineEdit()) {
      return Guarded(
          *this, [&] { return KeywordBoxKey(key, false); }, true);
    }
    if (watched == keywordBox_->view())
      return Guarded(
          *this, [&] { return KeywordBoxKey(key, true); }, true);
    if (watched == itemBox_)
      return Guarded(
          *this, [&] { return ItemBoxKey(key, false); }, true);
    if (watched == itemBox_->view())
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
      const QModelIndex chosen = keywordBox_->view()->currentIndex();
      if (chosen.isValid()) keywordBox_->setCurrentIndex(chosen.row());
    }
    if (IsEnter(qtKey) || qtKey == Qt::Key_Escape) keywordBox_->hidePopup();
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
    keywordBox_->lineEdit()->event(&copy);
    return true;
  }
  return false;
}

bool QtMainWindow::ItemBoxKey(QKeyEvent* key, bool fromList) {
  const int qtKey = key->key();
  if (fromList && (IsEnter(qtKey) || qtKey == Qt::Key_Escape)) {
    const QModelIndex chosen = itemBox_->view()->currentIndex();
    if (IsEnter(qtKey) && chosen.isValid()) itemBox_->setCurrentIndex(chosen.row());
    itemBox_->hidePopup();
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
  if (focus == keywordBox_->lineEdit()) focus = keywordBox_;
  if (focus == keywordBox_ || focus == itemBox_) lastFocus_ = focus;
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
  infoPanelVisible_ = infoPanel;
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
    (itemBox_->isVisibleTo(this) ? itemBox_ : keywordBox_)->setFocus();
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
  ShowMessageBox(text, isVisible() ? this : nullptr);
}

void QtMainWindow::SetKeywordItems(const std::vector<std::string>& words) {
  // The text typed so far stays.
  const QString text = keywordBox_->lineEdit()->text();
  FillBox(keywordBox_, words);
  keywordBox_->setCurrentIndex(-1);
  keywordBox_->lineEdit()->setText(text);
}

void QtMainWindow::ClearItemBox() { itemBox_->clear(); }

void QtMainWindow::ShowKeywordBox() {
  keywordBox_->show();
  itemBox_->hidePopup();
  itemBox_->hide();
}

void QtMainWindow::SetKeywordText(const std::string& text) {
  keywordBox_->setCurrentIndex(-1);
  keywordBox_->lineEdit()->setText(ToQ(text));
}

void QtMainWindow::FocusKeywordBox() {
  lastFocus_ = keywordBox_;
  keywordBox_->setFocus();
}

void QtMainWindow::SetStatusPanel(StatusPanel panel, const std::string& text) {
  statusPanels_[main_layout::StatusPanelRow(panel)]->setText(ToQ(text));
}

QString QtMainWindow::StatusPanelText(StatusPanel panel) const {
  return statusPanels_[main_layout::StatusPanelRow(panel)]->text();
}

std::string QtMainWindow::KeywordText() const { return FromQ(keywordBox_->lineEdit()->text()); }

EditState QtMainWindow::KeywordField() const {
  const QLineEdit* edit = keywordBox_->lineEdit();
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
  keywordBox_->setCurrentIndex(entry);
  QLineEdit* edit = keywordBox_->lineEdit();
  edit->setText(ToQ(field.text));
  const int start = Utf16Offset(field.text, field.selStart);
  const int end = Utf16Offset(field.text, field.selEnd);
  edit->setSelection(start, end - start);
}

void QtMainWindow::DropKeywordList() {
  if (keywordBox_->isVisible()) keywordBox_->showPopup();
}

void QtMainWindow::FillItemBox(const std::vector<std::string>& names) { FillBox(itemBox_, names); }

void QtMainWindow::SelectFirstItem() { itemBox_->setCurrentIndex(itemBox_->count() > 0 ? 0 : -1); }

void QtMainWindow::ShowItemBox() {
  itemBox_->show();
  keywordBox_->hidePopup();
  keywordBox_->hide();
}

void QtMainWindow::DropItemList() {
  if (itemBox_->isVisible()) itemBox_->showPopup();
}

void QtMainWindow::FocusItemBox() {
  lastFocus_ = itemBox_;
  itemBox_->setFocus();
}

// The box keeps the entries in the order they were given.
int QtMainWindow::SelectedItem() const { return itemBox_->currentIndex(); }

void QtMainWindow::SetProcessCount(const std::string& text) { processCount_->setText(ToQ(text)); }

void QtMainWindow::SetPageFile(const std::string& text) { pageFile_->setText(ToQ(text)); }

void QtMainWindow::SetGaugeProgress(int progress) { gauge_->setValue(progress); }

void QtMainWindow::SetGaugeLow(bool low) {
  QPalette palette = gauge_->palette();
  palette.setColor(
      QPalette::Highlight,
      low ? QColor(Qt::red) : QApplication::palette(gauge_).color(QPalette::Highlight));
  gauge_->setPalette(palette);
}

}  // namespace wh
