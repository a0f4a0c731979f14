#include "client/ui/mainform.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QResizeEvent>
#include <QStatusBar>

#include "client/model/card_texts.h"
#include "client/model/message_handling.h"
#include "client/model/screen_texts.h"
#include "client/model/table_tally.h"
#include "client/ui/artwork.h"
#include "client/ui/language.h"
#include "client/ui/uifont.h"
#include "client/ui/window_settings.h"

namespace quarn::client {

namespace places = table_places;
static_assert(places::kHeadSize == kIconSize, "the head images fill their places");

namespace {

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The big seat letter: 隶书 where the system has it, else a bold CJK serif.
QFont SeatFont() {
  QFont font = UiFont(56);
  const QStringList families = QFontDatabase::families();
  for (const char* wanted : {"隶书", "LiSu", "Noto Serif CJK SC"}) {
    const QString name = QString::fromUtf8(wanted);
    if (families.contains(name, Qt::CaseInsensitive)) {
      font.setFamily(name);
      break;
    }
  }
  font.setBold(true);
  return font;
}

void SetTextColor(QWidget* widget, const QColor& color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, color);
  palette.setColor(QPalette::Text, color);
  widget->setPalette(palette);
}

QRect ToQRect(LayoutRect r) {
  return {r.x, r.y, r.width, r.height};
}

QPoint ToQPoint(LayoutPoint p) {
  return {p.x, p.y};
}

QLabel* MakeLabel(QWidget* parent, const char* objectName) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(objectName));
  return label;
}

}  // namespace

TMainForm::TMainForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowCloseButtonHint),
      table_(this, &socket_) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(Utf8(kAppTitle));
  // The layout's own size is the smallest; the table grows with the window.
  setMinimumSize(places::kWidth, places::kHeight);
  resize(places::kWidth, places::kHeight);
  setFont(UiFont(12));
  // Keys go to the table, never to a button that a stray key would press.
  setFocusPolicy(Qt::StrongFocus);
  BuildLayout();
  ConnectSignals();
  ApplyScale();
  // The classifier's complaints about a selection go to the player.
  previousCardErrorSink_ = SetCardErrorSink([this](std::string_view text) {
    ShowMessage(MessageIcon::Error, kCaptionError, ShownCardError(text));
  });
  setFocus();
}

TMainForm::~TMainForm() {
  SetCardErrorSink(std::move(previousCardErrorSink_));
  socket_.SetPacketHandler({});
  socket_.Close(true);
  // The views point at widgets that go with this window: unbind them first.
  table_.SetDisplay(nullptr);
  table_.Me.BindView(nullptr);
  table_.LeftView.BindView(nullptr);
  table_.TopView.BindView(nullptr);
  table_.RightView.BindView(nullptr);
}

QWidget* TMainForm::Put(QWidget* widget, LayoutRect base, int fontPx) {
  placed_.push_back({widget, base, fontPx});
  return widget;
}

void TMainForm::BuildLayout() {
  labelSeat_ = MakeLabel(this, "LabelSeat");
  Put(labelSeat_, places::kSeatLetter, 0);
  labelSeat_->setAlignment(Qt::AlignCenter);
  SetTextColor(labelSeat_, Qt::red);
  labelSeat_->hide();

  imageLordCard_ = new TImagePoker(this);
  imageLordCard_->setObjectName(QStringLiteral("ImageLordCard"));

  memoTalking_ = new QPlainTextEdit(this);
  memoTalking_->setObjectName(QStringLiteral("MemoTalking"));
  Put(memoTalking_, places::kTalk);
  memoTalking_->setReadOnly(true);
  memoTalking_->setFrameShape(QFrame::NoFrame);
  memoTalking_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memoTalking_->setFocusPolicy(Qt::NoFocus);
  SetTextColor(memoTalking_, Qt::blue);

  BuildPlayers();
  BuildTable();
  BuildButtons();
  BuildStatusBar();
  BuildExtras();
  BuildKeepControls();
}

void TMainForm::BuildPlayers() {
  static constexpr std::array<const char*, 4> kHeads = {"ImageHead0", "ImageHead1", "ImageHead2",
                                                        "ImageHead3"};
  static constexpr std::array<const char*, 4> kNames = {"LabelPlayer0", "LabelPlayer1",
                                                        "LabelPlayer2", "LabelPlayer3"};
  static constexpr std::array<const char*, 4> kCounts = {"LabelCount0", "LabelCount1",
                                                         "LabelCount2", "LabelCount3"};
  for (std::size_t i = 0; i < imageHead_.size(); ++i) {
    const int position = static_cast<int>(i);
    imageHead_[i] = MakeLabel(this, kHeads[i]);
    Put(imageHead_[i], places::Head(position), 0);
    imageHead_[i]->hide();
    labelPlayer_[i] = MakeLabel(this, kNames[i]);
    Put(labelPlayer_[i], places::Name(position));
    labelCount_[i] = MakeLabel(this, kCounts[i]);
    Put(labelCount_[i], places::Count(position));
    labelCount_[i]->hide();
  }
  SetTextColor(labelPlayer_[0], Qt::blue);
  SetTextColor(labelCount_[0], QColor(0x80, 0, 0));  // maroon

  static constexpr std::array<const char*, 3> kBacks = {"ImageCards1", "ImageCards2",
                                                        "ImageCards3"};
  for (std::size_t i = 0; i < imageCards_.size(); ++i) {
    imageCards_[i] = MakeLabel(this, kBacks[i]);
    Put(imageCards_[i], places::CardBack(static_cast<int>(i)), 0);
  }

  imageLord_ = MakeLabel(this, "ImageLord");
  imageLord_->resize(16, 16);
  imageLord_->hide();
}

void TMainForm::BuildTable() {
  panelTable_ = new QFrame(this);
  panelTable_->setObjectName(QStringLiteral("PanelTable"));
  Put(panelTable_, places::kTablePanel, 0);
  panelTable_->setFrameShape(QFrame::Panel);
  panelTable_->setFrameShadow(QFrame::Raised);
  panelTable_->setAutoFillBackground(true);
  QPalette light = panelTable_->palette();
  light.setColor(QPalette::Window, QColor(0xE3, 0xE3, 0xE3));
  panelTable_->setPalette(light);
  for (int slot = 0; slot < kTableSlots; ++slot) {
    auto* image = new TImagePoker(panelTable_);
    image->setObjectName(QStringLiteral("ImagePoker%1").arg(34 + slot));
    tableImages_[static_cast<std::size_t>(slot)] = image;
  }

  panelMain_ = new QFrame(this);
  panelMain_->setObjectName(QStringLiteral("PanelMain"));
  Put(panelMain_, places::kHandPanel, 0);
  panelMain_->setFrameShape(QFrame::Panel);
  panelMain_->setFrameShadow(QFrame::Sunken);
  handTip_ =
      tr("点牌选中或放下；按住拖过一串牌一起选上或放下\n"
         "键盘：← → 移动，空格 选上/放下，↑ 选上，↓ 放下，回车 出牌，Esc 重选");
  panelMain_->setToolTip(handTip_);
  watchNote_ = MakeLabel(panelMain_, "LabelWatchNote");
  watchNote_->setAlignment(Qt::AlignCenter);
  SetTextColor(watchNote_, Qt::gray);
  watchNote_->hide();
  for (int slot = 0; slot < kHandSlots; ++slot) {
    auto* image = new TImagePoker(panelMain_);
    image->setObjectName(QStringLiteral("ImagePoker%1").arg(1 + slot));
    image->installEventFilter(this);  // drags across the hand
    handImages_[static_cast<std::size_t>(slot)] = image;
  }

  ownView_ = std::make_unique<TOwnView>(labelPlayer_[0], labelCount_[0], imageHead_[0], imageLord_,
                                        handImages_);
  for (std::size_t i = 0; i < otherViews_.size(); ++i) {
    otherViews_[i] = std::make_unique<TSeatView>(labelPlayer_[i + 1], labelCount_[i + 1],
                                                 imageHead_[i + 1], imageLord_);
  }
  ownView_->SetHandChanged([this] {
    if (!counter_->isHidden()) counter_->ShowTally(UnseenCards(table_));
  });
}

void TMainForm::BuildButtons() {
  auto speed = [this](const char* name, const QString& glyph, const QString& hint,
                      LayoutRect place) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(name));
    Put(button, place);
    button->setText(glyph);
    button->setToolTip(hint);
    button->setAutoRaise(false);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
  };
  sbtnShutup_ = speed("SBtnShutup", tr("禁"), tr("禁止谈话"), places::kShutup);
  sbtnSpeak_ = speed("SBtnSpeak", tr("谈"), tr("允许谈话"), places::kSpeak);
  sbtnHero_ = speed("SBtnHero", tr("榜"), tr("看看排行榜吧。"), places::kHero);
  sbtnWaiter_ = speed("SBtnWaiter", tr("侍"), tr("Waiter!"), places::kWaiter);

  // No button takes the focus: the keys belong to the table (Enter plays,
  // Space picks a card), and a key typed for a chat line must press nothing.
  auto button = [this](const char* name, const QString& caption, LayoutRect place,
                       const QString& tip) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    Put(b, place);
    b->setFocusPolicy(Qt::NoFocus);
    b->setToolTip(tip);
    return b;
  };
  btnLogin_ = button("BtnLogin", tr("登录(&L)"), places::kLogin, tr("登录（回车）"));
  btnSend_ =
      button("BtnSend", tr("出牌(&C)"), places::kSend, tr("出选中的牌（回车，或在桌上点右键）"));
  btnBid_ = button("BtnBid", tr("叫牌(&J)"), places::kBid, tr("叫牌（回车）"));
  btnCancel_ = button("BtnCancel", tr("重选(&R)"), places::kCancel, tr("放下所有选中的牌（Esc）"));
  btnPass_ = button("BtnPass", QStringLiteral("&PASS"), places::kPass, tr("不要（P）"));
  btnQuit_ = button("BtnQuit", tr("退出(&Q)"), places::kQuit, tr("退出"));
  btnHint_ = button("BtnHint", tr("提示(&H)"), places::kHint,
                    tr("提示（H）：先是电脑的出法，再按换下一手能管上的牌"));
  btnCounter_ = button("BtnCounter", tr("记牌器"), places::kCounterButton,
                       tr("记牌器：显示每种牌还有几张没见过"));
  btnCounter_->setCheckable(true);
  for (QPushButton* b : {btnSend_, btnBid_, btnCancel_, btnPass_, btnHint_}) b->setEnabled(false);
}

void TMainForm::BuildStatusBar() {
  statusBar_ = new QStatusBar(this);
  statusBar_->setObjectName(QStringLiteral("StatusBarMain"));
  statusBar_->setSizeGripEnabled(false);
  for (std::size_t i = 0; i < statusPanels_.size(); ++i) {
    auto* panel = new QLabel(statusBar_);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    if (i == 1) panel->setAlignment(Qt::AlignCenter);
    statusBar_->addWidget(panel, i == 2 ? 1 : 0);
    statusPanels_[i] = panel;
  }
  PlaceStatusBar();
  statusPanels_[0]->setText(ShownText(kInitialStatus));
  SetPanel1(Utf8(kSupportMail));
  statusPanels_[2]->setText(QStringLiteral("Quarn"));
  statusPanels_[2]->setAlignment(Qt::AlignCenter);
}

void TMainForm::BuildExtras() {
  static constexpr std::array<const char*, 4> kActNames = {"SeatAct0", "SeatAct1", "SeatAct2",
                                                           "SeatAct3"};
  for (std::size_t i = 0; i < seatActs_.size(); ++i) {
    const bool side = i == 1 || i == 3;
    seatActs_[i] =
        new TSeatActView(side ? TSeatActView::Fan::Down : TSeatActView::Fan::Across, this);
    seatActs_[i]->setObjectName(QString::fromLatin1(kActNames[i]));
    Put(seatActs_[i], places::SeatAct(static_cast<int>(i)), 0);
  }
  counter_ = new TCardCounter(this);
  counter_->setObjectName(QStringLiteral("CardCounter"));
  Put(counter_, places::kCounter, 0);
  counter_->hide();
}

void TMainForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ApplyScale();
}

void TMainForm::ApplyScale() {
  layout_.Fit(width(), height());
  const qreal scale = layout_.Scale();
  for (const Placed& placed : placed_) {
    if (placed.fontPx > 0) placed.widget->setFont(UiFont(layout_.Length(placed.fontPx)));
    const QRect place = ToQRect(layout_.InWindow(placed.base));
    if (!placed.base.Sized()) {
      placed.widget->move(place.topLeft());
      if (auto* label = qobject_cast<QLabel*>(placed.widget)) label->adjustSize();
    } else {
      placed.widget->setGeometry(place);
    }
  }
  QFont seatFont = SeatFont();
  seatFont.setPixelSize(layout_.Length(56));
  labelSeat_->setFont(seatFont);
  const QPixmap back = ScaledBitmap("CARDS_1", scale);
  for (QLabel* image : imageCards_) image->setPixmap(back);
  imageLord_->setPixmap(ScaledBitmap("BITMAP_CAP", scale));
  imageLord_->resize(ToQRect(layout_.InPanel(places::kLordMark)).size());
  PlaceCards();
  watchNote_->setGeometry(panelMain_->contentsRect());
  watchNote_->setFont(UiFont(layout_.Length(14)));
  ownView_->SetScale(scale);
  for (const auto& view : otherViews_) view->SetScale(scale);
  if (imageLord_->isVisible()) {
    for (int seat = 0; seat < kSeatCount; ++seat) {
      TClientPlayer* player = table_.PlayerAt(seat);
      if (player && player->IsLord() && player->View()) player->View()->ShowLandlordMark();
    }
  }
  for (TSeatActView* act : seatActs_) act->SetScale(scale);
  counter_->SetScale(scale);
  PlaceKeepMarks();
  PlaceStatusBar();
}

void TMainForm::PlaceCards() {
  const qreal scale = layout_.Scale();
  imageLordCard_->SetScale(scale);
  imageLordCard_->Place(ToQPoint(layout_.InWindow(places::kLordCard)));
  for (int slot = 0; slot < kHandSlots; ++slot) {
    TImagePoker* image = handImages_[static_cast<std::size_t>(slot)];
    image->SetScale(scale);
    image->Place(ToQPoint(layout_.InPanel(places::HandCard(slot))));
  }
  for (int slot = 0; slot < kTableSlots; ++slot) {
    TImagePoker* image = tableImages_[static_cast<std::size_t>(slot)];
    image->SetScale(scale);
    image->Place(ToQPoint(layout_.InPanel(places::TableCard(slot))));
  }
}

void TMainForm::PlaceStatusBar() {
  statusBar_->setGeometry(ToQRect(layout_.InWindow(places::kStatusBar)));
  statusBar_->setFont(UiFont(layout_.Length(12)));
  for (std::size_t i = 0; i < statusPanels_.size(); ++i) {
    statusPanels_[i]->setFixedWidth(layout_.Length(places::kStatusWidths[i]));
    statusPanels_[i]->setFont(UiFont(layout_.Length(12)));
  }
  // The middle panel fits its text to its new width.
  if (!statusPanels_[1]->toolTip().isEmpty()) SetPanel1(statusPanels_[1]->toolTip());
}

void TMainForm::ConnectSignals() {
  connect(btnLogin_, &QPushButton::clicked, this, &TMainForm::BtnLoginClick);
  connect(btnSend_, &QPushButton::clicked, this, &TMainForm::BtnSendClick);
  connect(btnBid_, &QPushButton::clicked, this, &TMainForm::BtnBidClick);
  connect(btnCancel_, &QPushButton::clicked, this, &TMainForm::BtnCancelClick);
  connect(btnPass_, &QPushButton::clicked, this, &TMainForm::BtnPassClick);
  connect(btnQuit_, &QPushButton::clicked, this, &TMainForm::BtnQuitClick);
  connect(sbtnSpeak_, &QToolButton::clicked, this, &TMainForm::SBtnSpeakClick);
  connect(sbtnShutup_, &QToolButton::clicked, this, &TMainForm::SBtnShutupClick);
  connect(sbtnHero_, &QToolButton::clicked, this, &TMainForm::SBtnHeroClick);
  connect(sbtnWaiter_, &QToolButton::clicked, this, &TMainForm::SBtnWaiterClick);
  connect(btnHint_, &QPushButton::clicked, this, &TMainForm::BtnHintClick);
  connect(btnCounter_, &QPushButton::toggled, this, &TMainForm::ShowCardCounter);
  for (TImagePoker* image : handImages_) {
    connect(image, &TImagePoker::clicked, this, &TMainForm::ImagePoker1Click);
  }
  connect(&socket_, &TClientSocket::disconnected, this, &TMainForm::ClientSocketMainDisconnect);
  connect(&socket_, &TClientSocket::socketError, this, &TMainForm::ClientSocketMainError);
  socket_.SetPacketHandler([this](const Packet& packet) { OnPacket(packet); });
}

void TMainForm::InitTable() {
  if (table_.Initialized) return;
  table_.Me.BindView(ownView_.get());
  table_.LeftView.BindView(otherViews_[0].get());
  table_.TopView.BindView(otherViews_[1].get());
  table_.RightView.BindView(otherViews_[2].get());
  table_.InitTable();
  socket_.SetPort(kServerPort);
  imageLord_->setPixmap(ScaledBitmap("BITMAP_CAP", layout_.Scale()));
  imageLord_->hide();
}

void TMainForm::OnPacket(const Packet& packet) {
  ReadPacket(table_, packet);
}

QString TMainForm::StatusText(int panel) const {
  if (panel < 0 || panel >= static_cast<int>(statusPanels_.size())) return {};
  return statusPanels_[static_cast<std::size_t>(panel)]->text();
}

QString TMainForm::StatusPanelTip(int panel) const {
  if (panel < 0 || panel >= static_cast<int>(statusPanels_.size())) return {};
  return statusPanels_[static_cast<std::size_t>(panel)]->toolTip();
}

TImagePoker* TMainForm::HandImage(int slot) const {
  return slot >= 0 && slot < kHandSlots ? handImages_[static_cast<std::size_t>(slot)] : nullptr;
}

TImagePoker* TMainForm::TableImage(int slot) const {
  return slot >= 0 && slot < kTableSlots ? tableImages_[static_cast<std::size_t>(slot)] : nullptr;
}

QLabel* TMainForm::LabelPlayer(int position) const {
  return position >= 0 && position < 4 ? labelPlayer_[static_cast<std::size_t>(position)] : nullptr;
}

QLabel* TMainForm::LabelCount(int position) const {
  return position >= 0 && position < 4 ? labelCount_[static_cast<std::size_t>(position)] : nullptr;
}

QLabel* TMainForm::ImageHead(int position) const {
  return position >= 0 && position < 4 ? imageHead_[static_cast<std::size_t>(position)] : nullptr;
}

TSeatActView* TMainForm::SeatActView(int position) const {
  return position >= 0 && position < 4 ? seatActs_[static_cast<std::size_t>(position)] : nullptr;
}

void TMainForm::RestoreWindow(QSize screen) {
  const WindowSettings saved =
      settingsPath_.empty() ? WindowSettings{} : LoadWindowSettings(TIniFile(settingsPath_));
  const Size size =
      OpeningSize(saved, {screen.width(), screen.height()}, {places::kWidth, places::kHeight});
  resize(size.width, size.height);
  if (saved.maximized) setWindowState(windowState() | Qt::WindowMaximized);
  ShowCardCounter(saved.cardCounter);
}

void TMainForm::SaveWindow() const {
  if (settingsPath_.empty()) return;
  // Read afresh: the login window's lists and anything else stay as they are.
  TIniFile ini(settingsPath_);
  WindowSettings settings;
  const QSize normal =
      isMaximized() && normalGeometry().isValid() ? normalGeometry().size() : size();
  settings.width = normal.width();
  settings.height = normal.height();
  settings.maximized = isMaximized();
  settings.cardCounter = !counter_->isHidden();
  if (LoadWindowSettings(ini) == settings) return;
  WriteWindowSettings(ini, settings);
  // A file that cannot be written costs only the remembered size.
  static_cast<void>(ini.UpdateFile());
}

void TMainForm::closeEvent(QCloseEvent* event) {
  SaveWindow();
  // Leaving on purpose is no lost connection: no warning on the way out.
  socket_.Close(true);
  if (windows_.showTalk) windows_.showTalk(false);
  event->accept();
  emit closed();
}

}  // namespace quarn::client
