#include "server/console/form_server.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include "server/console/console_font.h"
#include "server/console/console_texts.h"
#include "server/console/running_light.h"
#include "server/console/tables_view.h"

namespace quarn::server {
namespace {

constexpr int kStatusHeight = 20;
constexpr int kTopHeight = 38;

constexpr Limits kWebPortLimits{1, 65535};

QString Text(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QPlainTextEdit* NewMemo(const char* name) {
  auto* memo = new QPlainTextEdit;
  memo->setObjectName(name);
  memo->setReadOnly(true);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  return memo;
}

QLineEdit* NewEdit(const char* name, const char* value) {
  auto* edit = new QLineEdit(value);
  edit->setObjectName(name);
  edit->setFixedWidth(64);
  return edit;
}

QCheckBox* NewCheckBox(const char* name, const char* label, bool checked) {
  auto* box = new QCheckBox(label);
  box->setObjectName(name);
  box->setChecked(checked);
  return box;
}

QLabel* NewPanel(QWidget* parent, int x, int width, const char* text) {
  auto* panel = new QLabel(text, parent);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setGeometry(x, 0, width, kStatusHeight);
  panel->setContentsMargins(3, 0, 3, 0);
  return panel;
}

// "网页端口" and its edit side by side under the check boxes.
QHBoxLayout* WebPortRow(QLineEdit* edit) {
  auto* row = new QHBoxLayout;
  row->setSpacing(8);
  row->addWidget(new QLabel(texts::kWebPort));
  row->addWidget(edit);
  row->addStretch(1);
  return row;
}

std::string EditText(const QLineEdit* edit) {
  return edit->text().toStdString();
}

}  // namespace

TFormServer::TFormServer(QWidget* parent) : QWidget(parent) {
  setObjectName("FormServer");
  setWindowTitle(texts::kFormCaption);
  setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFont(ConsoleFont());
  setFixedSize(kClientWidth, kClientHeight);
  BuildTop();
  BuildPages();
  BuildStatusBar();
  EnableSettings(false);
}

void TFormServer::BuildTop() {
  shapeLight_ = new RunningLight(this);
  shapeLight_->setObjectName("ShapeLight");
  shapeLight_->setGeometry(12, 8, 22, 22);

  btnStart_ = new QPushButton(texts::kBtnStart, this);
  btnStart_->setObjectName("BtnStart");
  btnStart_->setGeometry(kClientWidth - 170, 7, 75, 25);
  connect(btnStart_, &QPushButton::clicked, this, &TFormServer::BtnStartClick);

  btnStop_ = new QPushButton(texts::kBtnStop, this);
  btnStop_->setObjectName("BtnStop");
  btnStop_->setGeometry(kClientWidth - 85, 7, 75, 25);
  connect(btnStop_, &QPushButton::clicked, this, &TFormServer::BtnStopClick);
}

void TFormServer::BuildPages() {
  pageControl_ = new QTabWidget(this);
  pageControl_->setObjectName("PageControl1");
  pageControl_->setGeometry(4, kTopHeight, kClientWidth - 8,
                            kClientHeight - kTopHeight - kStatusHeight - 3);
  memoLog_ = NewMemo("MemoLog");
  memoHero_ = NewMemo("MemoHero");
  pageControl_->addTab(memoLog_, texts::kTabLog);
  pageControl_->addTab(memoHero_, texts::kTabHero);
  pageControl_->addTab(BuildSettingsPage(), texts::kTabSettings);
  tables_ = new TablesView;
  pageControl_->addTab(tables_, texts::kTabTables);
}

QWidget* TFormServer::BuildSettingsPage() {
  auto* page = new QWidget;
  page->setObjectName("TabSettings");
  checkBoxBid_ = NewCheckBox("CheckBoxBid", texts::kAllowBid, false);
  checkBoxRand_ = NewCheckBox("CheckBoxRand", texts::kRandEachGame, false);
  checkBoxDelay_ = NewCheckBox("CheckBoxDelay", texts::kAllowDelay, true);
  editPoint_ = NewEdit("EditPoint", "10");
  editDelaySync_ = NewEdit("EditDelaySync", "200");
  editDelayDeal_ = NewEdit("EditDelayDeal", "500");
  editTables_ = NewEdit("EditTables", "1");
  checkBoxKeepSeats_ = NewCheckBox("CheckBoxKeepSeats", texts::kKeepSeats, false);
  editTurnTime_ = NewEdit("EditTurnTime", "0");
  editWebPort_ = NewEdit("EditWebPort", "");
  checkBoxKeepGames_ = NewCheckBox("CheckBoxKeepGames", texts::kKeepGames, false);
  checkBoxAccounts_ = NewCheckBox("CheckBoxAccounts", texts::kAccounts, false);
  checkBoxLobby_ = NewCheckBox("CheckBoxLobby", texts::kLobby, true);
  editSpectators_ = NewEdit("EditSpectators", "0");
  checkBoxSpectatorChat_ = NewCheckBox("CheckBoxSpectatorChat", texts::kSpectatorChat, false);

  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(16, 12, 16, 12);
  grid->setHorizontalSpacing(8);
  grid->addWidget(checkBoxBid_, 0, 0);
  grid->addWidget(checkBoxRand_, 1, 0);
  grid->addWidget(checkBoxDelay_, 2, 0);
  grid->addWidget(new QLabel(texts::kDefaultPoints), 0, 2, Qt::AlignRight);
  grid->addWidget(editPoint_, 0, 3);
  grid->addWidget(new QLabel(texts::kDelaySync), 1, 2, Qt::AlignRight);
  grid->addWidget(editDelaySync_, 1, 3);
  grid->addWidget(new QLabel(texts::kMilliseconds), 1, 4);
  grid->addWidget(new QLabel(texts::kDelayDeal), 2, 2, Qt::AlignRight);
  grid->addWidget(editDelayDeal_, 2, 3);
  grid->addWidget(new QLabel(texts::kMilliseconds), 2, 4);
  grid->addWidget(new QLabel(texts::kTableCount), 3, 2, Qt::AlignRight);
  grid->addWidget(editTables_, 3, 3);
  grid->addLayout(WebPortRow(editWebPort_), 3, 0);
  grid->addWidget(checkBoxKeepSeats_, 4, 0);
  grid->addWidget(new QLabel(texts::kTurnTime), 4, 2, Qt::AlignRight);
  grid->addWidget(editTurnTime_, 4, 3);
  grid->addWidget(new QLabel(texts::kSeconds), 4, 4);
  grid->addWidget(checkBoxKeepGames_, 5, 0);
  grid->addWidget(checkBoxAccounts_, 6, 0);
  grid->addWidget(checkBoxLobby_, 7, 0);
  grid->addWidget(new QLabel(texts::kSpectators), 5, 2, Qt::AlignRight);
  grid->addWidget(editSpectators_, 5, 3);
  grid->addWidget(checkBoxSpectatorChat_, 6, 2, 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(5, 1);
  grid->setRowStretch(8, 1);
  return page;
}

void TFormServer::BuildStatusBar() {
  auto* bar = new QWidget(this);
  bar->setObjectName("StatusBarMain");
  bar->setGeometry(0, kClientHeight - kStatusHeight, kClientWidth, kStatusHeight);
  statusPanel0_ = NewPanel(bar, 0, 300, texts::kStatusFirst);
  statusPanel0_->setObjectName("StatusPanel0");
  statusPanel1_ = NewPanel(bar, 302, 50, "");
  statusPanel1_->setObjectName("StatusPanel1");
  NewPanel(bar, 354, kClientWidth - 354, "");
}

std::optional<std::uint16_t> TFormServer::WebPort() const {
  if (editWebPort_->text().trimmed().isEmpty()) return 0;
  const auto port = ParseSetting(EditText(editWebPort_), kWebPortLimits);
  if (!port) return std::nullopt;
  return static_cast<std::uint16_t>(*port);
}

std::optional<ServerSettings> TFormServer::Settings() const {
  const auto points = ParseSetting(EditText(editPoint_), kPointsLimits);
  const auto sync = ParseSetting(EditText(editDelaySync_), kDelayLimits);
  const auto deal = ParseSetting(EditText(editDelayDeal_), kDelayLimits);
  const auto tables = ParseSetting(EditText(editTables_), kTablesLimits);
  const auto turnTime = ParseSetting(EditText(editTurnTime_), kTurnTimeLimits);
  const auto spectators = ParseSetting(EditText(editSpectators_), kSpectatorsLimits);
  if (!points || !sync || !deal || !tables || !turnTime || !spectators) return std::nullopt;
  return ServerSettings{.allowBid = checkBoxBid_->isChecked(),
                        .defaultPoints = *points,
                        .randEachGame = checkBoxRand_->isChecked(),
                        .allowDelay = checkBoxDelay_->isChecked(),
                        .delaySyncMs = *sync,
                        .delayDealMs = *deal,
                        .tables = *tables,
                        .keepSeats = checkBoxKeepSeats_->isChecked(),
                        .turnTimeS = *turnTime,
                        .accounts = checkBoxAccounts_->isChecked(),
                        .lobby = checkBoxLobby_->isChecked(),
                        .spectators = *spectators,
                        .spectatorChat = checkBoxSpectatorChat_->isChecked()};
}

void TFormServer::EnableSettings(bool listening) {
  for (QWidget* control : std::initializer_list<QWidget*>{
           checkBoxBid_, editPoint_, checkBoxRand_, checkBoxDelay_, editDelaySync_, editDelayDeal_,
           editTables_, checkBoxKeepSeats_, editTurnTime_, checkBoxKeepGames_, checkBoxAccounts_,
           editWebPort_, checkBoxLobby_, editSpectators_, checkBoxSpectatorChat_}) {
    control->setEnabled(!listening);
  }
}

void TFormServer::BtnStartClick() {
  if (!app_) return;
  const std::optional<std::uint16_t> webPort = WebPort();
  if (const std::optional<ServerSettings> settings = Settings(); settings && webPort) {
    if (settings->accounts && !checkBoxKeepGames_->isChecked() && !app_->Listening()) {
      Warn("AccountsBox", texts::kAccountsNeedGames);
      return;
    }
    if (!app_->Listening() && !UseGameFile()) return;
    if (starting_ && !app_->Listening()) starting_(*webPort);
    if (app_->Start(*settings, kDefaultPort) == StartResult::BadSettings) WarnBadSettings();
  } else if (!app_->Listening()) {
    app_->Initialise();  // as a start would have, before it refused the settings
    WarnBadSettings();
  }
  tables_->KeepUpTo(app_->TableCount());
  EnableSettings(app_->Listening());
}

void TFormServer::BtnStopClick() {
  if (!app_) return;
  app_->Stop();
  EnableSettings(app_->Listening());
}

bool TFormServer::UseGameFile() {
  if (!checkBoxKeepGames_->isChecked()) {
    app_->UseDatabase(nullptr);
    database_.reset();
    return true;
  }
  if (database_) return true;
  auto opened = store::SqliteDatabase::Open(texts::kGameFile);
  if (!opened.database) {
    QMessageBox box(QMessageBox::Warning, texts::kWarningCaption,
                    QString::fromStdString(opened.error), QMessageBox::Ok, this);
    box.setObjectName("GameFileBox");
    box.exec();
    return false;
  }
  database_ = std::move(opened.database);
  app_->UseDatabase(database_.get());
  return true;
}

void TFormServer::WarnBadSettings() {
  Warn("WarningBox", texts::kBadSettings);
}

void TFormServer::Warn(const char* objectName, const char* text) {
  QMessageBox box(QMessageBox::Warning, texts::kWarningCaption, text, QMessageBox::Ok, this);
  box.setObjectName(objectName);
  box.exec();
}

void TFormServer::LogLineAdded(std::string_view line) {
  memoLog_->appendPlainText(Text(line));
}

void TFormServer::HeroLineAdded(std::string_view line) {
  memoHero_->appendPlainText(Text(line));
}

void TFormServer::LogCleared() {
  memoLog_->clear();
}

void TFormServer::HeroCleared() {
  memoHero_->clear();
}

void TFormServer::StatusChanged(std::string_view status, bool listening) {
  statusPanel0_->setText(Text(status));
  shapeLight_->SetListening(listening);
  EnableSettings(listening);
}

void TFormServer::TableChanged(const TableSummary& table) {
  tables_->Show(table);
}

void TFormServer::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_ || !app_) return;
  shown_ = true;
  app_->Initialise(Settings().value_or(ServerSettings{}));
  EnableSettings(app_->Listening());
}

void TFormServer::closeEvent(QCloseEvent* event) {
  if (app_) app_->SaveFiles();
  event->accept();
}

void TFormServer::mouseDoubleClickEvent(QMouseEvent* event) {
  QWidget::mouseDoubleClickEvent(event);
  if (app_) app_->DumpDiagnostics();
}

}  // namespace quarn::server
