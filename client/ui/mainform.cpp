#include "client/ui/mainform.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QStatusBar>

#include "client/model/client_service.h"
#include "client/model/screen_texts.h"
#include "client/ui/artwork.h"
#include "client/ui/uifont.h"

namespace quarn::client {

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

QLabel* MakeLabel(QWidget* parent, const char* objectName, int x, int y) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(objectName));
  label->move(x, y);
  return label;
}

QLabel* MakeImage(QWidget* parent, const char* objectName, QRect geometry) {
  QLabel* image = MakeLabel(parent, objectName, geometry.x(), geometry.y());
  image->setFixedSize(geometry.size());
  return image;
}

void SetTextColor(QWidget* widget, const QColor& color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, color);
  palette.setColor(QPalette::Text, color);
  widget->setPalette(palette);
}

// Head image, name and count label of the four positions: own, left, top, right.
struct PlayerPlace {
  QPoint head, name, count;
};
constexpr std::array<PlayerPlace, 4> kPlaces = {{
    {{480, 248}, {16, 268}, {80, 268}},
    {{16, 80}, {16, 116}, {80, 116}},
    {{208, 8}, {248, 12}, {312, 12}},
    {{480, 80}, {480, 116}, {544, 116}},
}};
constexpr std::array<QPoint, 3> kCardBacks = {{{16, 136}, {248, 32}, {480, 136}}};

}  // namespace

TMainForm::TMainForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      table_(this, &socket_) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(Utf8(kAppTitle));
  setFixedSize(kClientWidth, kClientHeight);
  setFont(UiFont(12));
  BuildLayout();
  ConnectSignals();
  // The classifier's complaints about a selection go to the player.
  previousCardErrorSink_ = SetCardErrorSink(
      [this](std::string_view text) { ShowMessage(MessageIcon::Error, kCaptionError, text); });
  btnLogin_->setFocus();
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

void TMainForm::BuildLayout() {
  labelSeat_ = MakeImage(this, "LabelSeat", {16, 8, 58, 56});
  labelSeat_->setFont(SeatFont());
  labelSeat_->setAlignment(Qt::AlignCenter);
  SetTextColor(labelSeat_, Qt::red);
  labelSeat_->hide();

  imageLordCard_ = new TImagePoker(this);
  imageLordCard_->setObjectName(QStringLiteral("ImageLordCard"));
  imageLordCard_->move(96, 8);

  memoTalking_ = new QPlainTextEdit(this);
  memoTalking_->setObjectName(QStringLiteral("MemoTalking"));
  memoTalking_->setGeometry(352, 8, 273, 65);
  memoTalking_->setReadOnly(true);
  memoTalking_->setFrameShape(QFrame::NoFrame);
  memoTalking_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memoTalking_->setFocusPolicy(Qt::NoFocus);
  SetTextColor(memoTalking_, Qt::blue);

  BuildPlayers();
  BuildTable();
  BuildButtons();
  BuildStatusBar();
}

void TMainForm::BuildPlayers() {
  static constexpr std::array<const char*, 4> kHeads = {"ImageHead0", "ImageHead1", "ImageHead2",
                                                        "ImageHead3"};
  static constexpr std::array<const char*, 4> kNames = {"LabelPlayer0", "LabelPlayer1",
                                                        "LabelPlayer2", "LabelPlayer3"};
  static constexpr std::array<const char*, 4> kCounts = {"LabelCount0", "LabelCount1",
                                                         "LabelCount2", "LabelCount3"};
  for (std::size_t i = 0; i < kPlaces.size(); ++i) {
    imageHead_[i] = MakeImage(this, kHeads[i], {kPlaces[i].head, QSize(kIconSize, kIconSize)});
    imageHead_[i]->hide();
    labelPlayer_[i] = MakeLabel(this, kNames[i], kPlaces[i].name.x(), kPlaces[i].name.y());
    labelCount_[i] = MakeLabel(this, kCounts[i], kPlaces[i].count.x(), kPlaces[i].count.y());
    labelCount_[i]->hide();
  }
  SetTextColor(labelPlayer_[0], Qt::blue);
  SetTextColor(labelCount_[0], QColor(0x80, 0, 0));  // maroon

  static constexpr std::array<const char*, 3> kBacks = {"ImageCards1", "ImageCards2",
                                                        "ImageCards3"};
  const QPixmap back = ResourceBitmap("CARDS_1");
  for (std::size_t i = 0; i < kCardBacks.size(); ++i) {
    imageCards_[i] = MakeImage(this, kBacks[i], {kCardBacks[i], QSize(75, 98)});
    imageCards_[i]->setPixmap(back);
  }

  imageLord_ = MakeImage(this, "ImageLord", {0, 0, 16, 16});
  imageLord_->hide();
}

void TMainForm::BuildTable() {
  panelTable_ = new QFrame(this);
  panelTable_->setObjectName(QStringLiteral("PanelTable"));
  panelTable_->setGeometry(120, 136, 329, 145);
  panelTable_->setFrameShape(QFrame::Panel);
  panelTable_->setFrameShadow(QFrame::Raised);
  panelTable_->setAutoFillBackground(true);
  QPalette light = panelTable_->palette();
  light.setColor(QPalette::Window, QColor(0xE3, 0xE3, 0xE3));
  panelTable_->setPalette(light);
  for (int slot = 0; slot < kTableSlots; ++slot) {
    auto* image = new TImagePoker(panelTable_);
    image->setObjectName(QStringLiteral("ImagePoker%1").arg(34 + slot));
    if (slot < 17) {
      image->move(8 + 15 * slot, 8);
    } else {
      image->move(16 + 15 * (slot - 17), 40);
    }
    tableImages_[static_cast<std::size_t>(slot)] = image;
  }

  panelMain_ = new QFrame(this);
  panelMain_->setObjectName(QStringLiteral("PanelMain"));
  panelMain_->setGeometry(8, 288, 553, 130);
  panelMain_->setFrameShape(QFrame::Panel);
  panelMain_->setFrameShadow(QFrame::Sunken);
  for (int slot = 0; slot < kHandSlots; ++slot) {
    auto* image = new TImagePoker(panelMain_);
    image->setObjectName(QStringLiteral("ImagePoker%1").arg(1 + slot));
    image->move(1 + 15 * slot, 33);
    handImages_[static_cast<std::size_t>(slot)] = image;
  }

  ownView_ = std::make_unique<TOwnView>(labelPlayer_[0], labelCount_[0], imageHead_[0], imageLord_,
                                        handImages_);
  for (std::size_t i = 0; i < otherViews_.size(); ++i) {
    otherViews_[i] = std::make_unique<TSeatView>(labelPlayer_[i + 1], labelCount_[i + 1],
                                                 imageHead_[i + 1], imageLord_);
  }
}

void TMainForm::BuildButtons() {
  auto speed = [this](const char* name, const QString& glyph, const QString& hint, QPoint at) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(at.x(), at.y(), 23, 22);
    button->setText(glyph);
    button->setToolTip(hint);
    button->setAutoRaise(false);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
  };
  sbtnShutup_ = speed("SBtnShutup", QStringLiteral("禁"), QStringLiteral("禁止谈话"), {576, 202});
  sbtnSpeak_ = speed("SBtnSpeak", QStringLiteral("谈"), QStringLiteral("允许谈话"), {600, 202});
  sbtnHero_ = speed("SBtnHero", QStringLiteral("榜"), QStringLiteral("看看排行榜吧。"), {576, 224});
  sbtnWaiter_ = speed("SBtnWaiter", QStringLiteral("侍"), QStringLiteral("Waiter!"), {600, 224});

  auto button = [this](const char* name, const QString& caption, int y) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(568, y, 59, 25);
    return b;
  };
  btnLogin_ = button("BtnLogin", QStringLiteral("登录(&L)"), 256);
  btnSend_ = button("BtnSend", QStringLiteral("出牌(&C)"), 288);
  btnBid_ = button("BtnBid", QStringLiteral("叫牌(&J)"), 314);
  btnCancel_ = button("BtnCancel", QStringLiteral("重选(&R)"), 340);
  btnPass_ = button("BtnPass", QStringLiteral("&PASS"), 366);
  btnQuit_ = button("BtnQuit", QStringLiteral("退出(&Q)"), 392);
  for (QPushButton* b : {btnSend_, btnBid_, btnCancel_, btnPass_}) b->setEnabled(false);
  // Focus moves on when the login button is disabled; it must never rest on
  // quit, where a space typed for a chat line would end the program.
  btnQuit_->setFocusPolicy(Qt::NoFocus);
}

void TMainForm::BuildStatusBar() {
  statusBar_ = new QStatusBar(this);
  statusBar_->setObjectName(QStringLiteral("StatusBarMain"));
  statusBar_->setGeometry(0, kClientHeight - 24, kClientWidth, 24);
  statusBar_->setSizeGripEnabled(false);
  static constexpr std::array<int, 3> kWidths = {360, 200, 60};
  for (std::size_t i = 0; i < statusPanels_.size(); ++i) {
    auto* panel = new QLabel(statusBar_);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setFixedWidth(kWidths[i]);
    if (i == 1) panel->setAlignment(Qt::AlignCenter);
    statusBar_->addWidget(panel, i == 2 ? 1 : 0);
    statusPanels_[i] = panel;
  }
  statusPanels_[0]->setText(Utf8(kInitialStatus));
  SetPanel1(Utf8(kSupportMail));
  statusPanels_[2]->setText(QStringLiteral("Quarn"));
  statusPanels_[2]->setAlignment(Qt::AlignCenter);
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
  imageLord_->setPixmap(ResourceBitmap("BITMAP_CAP"));
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

void TMainForm::closeEvent(QCloseEvent* event) {
  // Leaving on purpose is no lost connection: no warning on the way out.
  socket_.Close(true);
  if (windows_.showTalk) windows_.showTalk(false);
  event->accept();
  emit closed();
}

}  // namespace quarn::client
