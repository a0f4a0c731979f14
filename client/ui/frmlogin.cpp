#include "client/ui/frmlogin.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "client/model/screen_texts.h"
#include "client/ui/artwork.h"
#include "client/ui/dialog_parts.h"
#include "client/ui/frmdlghead.h"
#include "client/ui/frmdlgservice.h"
#include "client/ui/lobby_probe.h"
#include "client/ui/msgbox.h"
#include "client/ui/uifont.h"
#include "core/gbk.h"
#include "protocol/packet_builder.h"

namespace quarn::client {
namespace {

constexpr int kNameChars = 15;
constexpr int kDroppedRows = 6;
constexpr int kFormWidth = 332;
constexpr int kFormHeight = 248;  // the language row below the fields of old
constexpr int kListWidth = 236;   // the table list beside the fields, once a server answered
constexpr int kWatchButtonWidth = 90;
constexpr int kWatchWaitMs = 5000;  // a server that lists watchers answers at once

QComboBox* MakeEditableCombo(QRect geometry, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setGeometry(geometry);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setCompleter(nullptr);  // what is typed stays typed, so it counts as new
  combo->setMaxVisibleItems(kDroppedRows);
  return combo;
}

// The small picture of the lower left corner: the big joker, scaled down.
QPixmap CornerPicture(qreal ratio) {
  QPixmap face = ResourceBitmap("CARD_55", ratio * 2);
  QPixmap small(QSize(36, 48) * ratio);
  small.setDevicePixelRatio(ratio);
  small.fill(Qt::transparent);
  QPainter painter(&small);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(QRectF(0, 0, 36, 48), face, QRectF(QPointF(0, 0), face.size()));
  return small;
}

// A field right of its label: where it has always been, or further right when
// the label's text (in another language) is wider; it ends where it always did.
QRect BesideLabel(const QLabel* label, QRect field) {
  const int left = std::max(field.left(), label->geometry().right() + 5);
  return {QPoint(left, field.top()), field.bottomRight()};
}

// Replaces the items of `combo`, keeping the typed text and the chosen entry.
void FillCombo(QComboBox* combo, const std::vector<std::string>& items, int chosen) {
  const QString text = combo->currentText();
  combo->blockSignals(true);
  combo->clear();
  for (const std::string& item : items) combo->addItem(QString::fromStdString(item));
  combo->setCurrentIndex(chosen);
  if (chosen < 0) combo->setEditText(text);
  combo->blockSignals(false);
}

}  // namespace

TFormLogin::TFormLogin(TDlgHead* dlgHead, TDlgService* dlgService, QWidget* parent)
    : QDialog(parent), dlgHead_(dlgHead), dlgService_(dlgService) {
  runDialog_ = [](QDialog& dialog) { return dialog.exec(); };
  setWindowTitle(tr("登录到“Vardel”服务器"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFont(UiFont(12));
  setFixedSize(kFormWidth, kFormHeight);
  BuildControls();
  probe_ = new TLobbyProbe(this);
  connect(probe_, &TLobbyProbe::Changed, this, &TFormLogin::ShowTables);
}

void TFormLogin::StartProbe() {
  const std::optional<ServerAddress> address =
      ParseServerAddress(comboBoxAddress_->currentText().toStdString());
  if (address) probe_->Start(address->host, address->port);
}

void TFormLogin::hideEvent(QHideEvent* event) {
  probe_->Stop();
  QDialog::hideEvent(event);
}

void TFormLogin::ShowTables() {
  const TLobbyList& lobby = probe_->List();
  const int chosen =
      listTables_->currentRow() >= 0 ? listTables_->currentItem()->data(Qt::UserRole).toInt() : -1;
  listTables_->clear();
  auto* any = new QListWidgetItem(tr("任意桌子"), listTables_);
  any->setData(Qt::UserRole, 0);
  const std::array<QString, 4> states = {tr("等人"), tr("发牌"), tr("叫分"), tr("出牌")};
  for (const LobbyLineRecord& table : lobby.Tables()) {
    QStringList names;
    for (const std::string& name : table.names) {
      if (!name.empty()) names << QString::fromStdString(GbkToUtf8(name));
    }
    QString text = tr("第%1桌 %2 %3/4人")
                       .arg(table.tableNumber)
                       .arg(states[static_cast<std::size_t>(table.state) % states.size()])
                       .arg(4 - table.freeSeats);
    if (lobby.WatcherLimit() > 0) text += tr(" 观众%1").arg(table.watchers);
    if (!names.isEmpty()) text += "\n  " + names.join(tr("、"));
    auto* item = new QListWidgetItem(text, listTables_);
    item->setData(Qt::UserRole, table.tableNumber);
    if (table.tableNumber == chosen) listTables_->setCurrentItem(item);
  }
  if (chosen == 0) listTables_->setCurrentItem(any);
  EnableWatch();
  if (!listTables_->isVisible()) {
    setFixedSize(kFormWidth + kListWidth, kFormHeight);
    listTables_->show();
    btnWatch_->show();
  }
}

int TFormLogin::ChosenTable() const {
  const QListWidgetItem* item = listTables_->currentItem();
  return item != nullptr ? item->data(Qt::UserRole).toInt() : 0;
}

void TFormLogin::EnableWatch() {
  btnWatch_->setEnabled(probe_->List().WatcherLimit() > 0 && ChosenTable() > 0 &&
                        !watchWait_->isActive());
}

void TFormLogin::ListTablesClick(int row) {
  const QListWidgetItem* item = listTables_->item(row);
  if (item == nullptr) return;
  const int number = item->data(Qt::UserRole).toInt();
  EnableWatch();
  editTable_->setText(QString::number(number));  // 0: the server seats us where there is room
  for (const LobbyLineRecord& table : probe_->List().Tables()) {
    if (table.tableNumber != number) continue;
    if (const auto seat = FirstFreeSeat(table)) comboBoxSeat_->setCurrentIndex(*seat);
  }
}

void TFormLogin::BuildControls() {
  auto* bevel = new QFrame(this);
  bevel->setGeometry(16, 8, 297, 129);
  bevel->setFrameShape(QFrame::StyledPanel);
  bevel->setFrameShadow(QFrame::Sunken);

  const QLabel* nameLabel = MakeLabel(tr("姓名"), 32, 24, this);
  comboBoxName_ = MakeEditableCombo(BesideLabel(nameLabel, QRect(64, 20, 161, 21)), this);
  comboBoxName_->lineEdit()->setMaxLength(kNameChars);
  comboBoxName_->setAttribute(Qt::WA_InputMethodEnabled);
  connect(comboBoxName_, &QComboBox::activated, this, [this](int index) {
    chosenName_ = index;
    ComboBoxNameChange(index);
  });
  connect(comboBoxName_->lineEdit(), &QLineEdit::textEdited, this, [this] { chosenName_ = -1; });

  const QLabel* passwordLabel = MakeLabel(tr("密码"), 32, 48, this);
  editPassword_ = new QLineEdit(this);
  editPassword_->setGeometry(BesideLabel(passwordLabel, QRect(64, 44, 161, 21)));
  editPassword_->setMaxLength(kNameChars);
  editPassword_->setEchoMode(QLineEdit::Password);

  const QLabel* addressLabel = MakeLabel(tr("服务器"), 32, 81, this);
  comboBoxAddress_ = MakeEditableCombo(BesideLabel(addressLabel, QRect(72, 76, 153, 21)), this);
  connect(comboBoxAddress_, &QComboBox::activated, this,
          [this](int index) { chosenAddress_ = index; });
  connect(comboBoxAddress_->lineEdit(), &QLineEdit::textEdited, this,
          [this] { chosenAddress_ = -1; });

  const QLabel* tableLabel = MakeLabel(tr("桌号"), 32, 107, this);
  editTable_ = new QLineEdit(QStringLiteral("1"), this);
  editTable_->setGeometry(BesideLabel(tableLabel, QRect(64, 103, 49, 21)));
  const QLabel* seatLabel = MakeLabel(tr("方位"), 128, 107, this);
  comboBoxSeat_ = new QComboBox(this);
  comboBoxSeat_->setGeometry(BesideLabel(seatLabel, QRect(160, 103, 65, 21)));
  comboBoxSeat_->addItems({tr("东"), tr("北"), tr("西"), tr("南")});

  imageHead_ = new QLabel(this);
  imageHead_->setGeometry(256, 18, kIconSize, kIconSize);
  imageHead_->setToolTip(tr("头像"));
  imageHead_->installEventFilter(this);
  imageService_ = new QLabel(this);
  imageService_->setGeometry(256, 74, kIconSize, kIconSize);
  imageService_->setToolTip(tr("服务"));
  imageService_->installEventFilter(this);
  MakeLabel(tr("双击换头像"), 244, 54, this)->setStyleSheet("color: gray;");
  MakeLabel(tr("双击换服务"), 244, 110, this)->setStyleSheet("color: gray;");

  auto* picture = new QLabel(this);
  picture->setGeometry(24, 154, 36, 48);
  picture->setPixmap(CornerPicture(DefaultPixelRatio()));
  auto* caption = MakeLabel(tr("Vardel 四人斗地主\n两副牌，一人当地主"), 70, 162, this);
  caption->setStyleSheet("color: #204080;");

  bitBtnLogin_ = new QPushButton(tr("登录(&L)"), this);
  bitBtnLogin_->setGeometry(216, 152, 75, 25);
  bitBtnLogin_->setDefault(true);
  connect(bitBtnLogin_, &QPushButton::clicked, this, &TFormLogin::BitBtnLoginClick);
  bitBtnCancel_ = new QPushButton(tr("放弃(&A)"), this);
  bitBtnCancel_->setGeometry(216, 184, 75, 25);
  connect(bitBtnCancel_, &QPushButton::clicked, this, &QDialog::reject);

  listTables_ = new QListWidget(this);
  listTables_->setObjectName("ListTables");
  listTables_->setGeometry(kFormWidth - 8, 8, kListWidth - 8, kFormHeight - 49);
  listTables_->setToolTip(tr("服务器上正在使用的桌子；选一张桌子和它的空位"));
  listTables_->hide();
  connect(listTables_, &QListWidget::currentRowChanged, this, &TFormLogin::ListTablesClick);
  btnWatch_ = new QPushButton(tr("观看(&W)"), this);
  btnWatch_->setObjectName("BtnWatch");
  btnWatch_->setGeometry(kFormWidth + kListWidth - 16 - kWatchButtonWidth, kFormHeight - 33,
                         kWatchButtonWidth, 25);
  btnWatch_->setToolTip(tr("不入座，观看选中的桌子"));
  btnWatch_->setEnabled(false);
  btnWatch_->hide();
  connect(btnWatch_, &QPushButton::clicked, this, &TFormLogin::BtnWatchClick);
  watchWait_ = new QTimer(this);
  watchWait_->setSingleShot(true);
  connect(watchWait_, &QTimer::timeout, this, [this] {
    EnableWatch();
    ShowMessage(this, tr("服务器没有回答观看请求。"), kBoxHint, MsgIcon::Information);
  });
  connect(comboBoxAddress_->lineEdit(), &QLineEdit::editingFinished, this, &TFormLogin::StartProbe);
  connect(comboBoxAddress_, &QComboBox::activated, this, &TFormLogin::StartProbe);
  // Each language named in itself, so a player who cannot read the other finds it.
  const QLabel* languageLabel = MakeLabel(tr("语言"), 32, 221, this);
  comboBoxLanguage_ = new QComboBox(this);
  comboBoxLanguage_->setObjectName(QStringLiteral("ComboBoxLanguage"));
  comboBoxLanguage_->setGeometry(BesideLabel(languageLabel, QRect(72, 217, 120, 21)));
  comboBoxLanguage_->addItem(QStringLiteral("中文"), static_cast<int>(Language::Chinese));
  comboBoxLanguage_->addItem(QStringLiteral("English"), static_cast<int>(Language::English));
  comboBoxLanguage_->setCurrentIndex(CurrentLanguage() == Language::English ? 1 : 0);
  connect(comboBoxLanguage_, &QComboBox::activated, this, &TFormLogin::ComboBoxLanguageChange);

  setTabOrder(comboBoxName_, editPassword_);
  setTabOrder(editPassword_, editTable_);
  setTabOrder(editTable_, comboBoxSeat_);
  setTabOrder(comboBoxSeat_, bitBtnLogin_);
  setTabOrder(bitBtnLogin_, bitBtnCancel_);
  setTabOrder(bitBtnCancel_, comboBoxAddress_);
  setTabOrder(comboBoxAddress_, comboBoxLanguage_);
}

QString TFormLogin::PlayerName() const {
  return QString::fromStdString(TrimName(comboBoxName_->currentText().toStdString()));
}

void TFormLogin::DrawIcon(QLabel* image, const std::string& resourceName) {
  image->setPixmap(ResourceBitmap(resourceName, devicePixelRatioF()));
}

void TFormLogin::showEvent(QShowEvent* event) {
  FormShow();
  StartProbe();
  QDialog::showEvent(event);
}

bool TFormLogin::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    if (watched == imageHead_) {
      ImageHeadDblClick();
      return true;
    }
    if (watched == imageService_) {
      ImageServiceDblClick();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TFormLogin::FormShow() {
  if (!firstShow_) return;
  LoadSettings();
  firstShow_ = false;
  DrawIcon(imageHead_, "BITMAP_1");
  DrawIcon(imageService_, "SERVICE_1");
  serviceNo_ = dlgService_->Selected();
  iconNo_ = dlgHead_->Selected();
  ChooseNewestEntries();
}

// A returning player finds the newest name with its icon, and the newest
// address unless one was given beforehand, so one click logs in.
void TFormLogin::ChooseNewestEntries() {
  if (!lists_.names.empty()) {
    chosenName_ = 0;
    comboBoxName_->setCurrentIndex(0);
    ComboBoxNameChange(0);
  }
  if (!lists_.addresses.empty() && comboBoxAddress_->currentText().isEmpty()) {
    chosenAddress_ = 0;
    comboBoxAddress_->setCurrentIndex(0);
  }
}

void TFormLogin::ComboBoxNameChange(int index) {
  if (index < 0 || index >= static_cast<int>(lists_.icons.size())) return;
  // A damaged icon entry leaves the icon as it was.
  std::optional<int> icon = ParseIconNumber(lists_.icons[static_cast<std::size_t>(index)]);
  if (!icon || *icon < 1 || *icon > kHeadIconCount || *icon == iconNo_) return;
  iconNo_ = *icon;
  DrawIcon(imageHead_, BitmapName(iconNo_));
}

void TFormLogin::ImageHeadDblClick() {
  if (runDialog_(*dlgHead_) != QDialog::Accepted) return;
  iconNo_ = dlgHead_->Selected();
  DrawIcon(imageHead_, BitmapName(iconNo_));
  if (chosenName_ >= 0 && chosenName_ < static_cast<int>(lists_.icons.size())) {
    lists_.icons[static_cast<std::size_t>(chosenName_)] = std::to_string(iconNo_);
  }
}

void TFormLogin::ImageServiceDblClick() {
  if (runDialog_(*dlgService_) != QDialog::Accepted) return;
  serviceNo_ = dlgService_->Selected();
  DrawIcon(imageService_, ServiceName(serviceNo_));
}

void TFormLogin::ComboBoxLanguageChange(int index) {
  const auto language = static_cast<Language>(comboBoxLanguage_->itemData(index).toInt());
  if (language == CurrentLanguage()) return;
  TIniFile ini(settingsPath_);
  WriteLanguageSetting(ini, language);
  static_cast<void>(ini.UpdateFile());  // a file that cannot be written leaves the choice for now
  emit languageChosen(language);
}

void TFormLogin::LoadSettings() {
  lists_ = LoadLoginLists(TIniFile(settingsPath_));
  chosenName_ = -1;
  chosenAddress_ = -1;
  FillCombos();
}

void TFormLogin::FillCombos() {
  FillCombo(comboBoxName_, lists_.names, chosenName_);
  FillCombo(comboBoxAddress_, lists_.addresses, chosenAddress_);
}

void TFormLogin::SaveSettings() {
  // Read the file afresh so that whatever else it holds survives the rewrite.
  TIniFile ini(settingsPath_);
  const std::string name = PlayerName().toStdString();
  const std::string address = comboBoxAddress_->currentText().toStdString();
  const bool nameTyped = chosenName_ < 0 && !name.empty();
  const bool addressTyped = chosenAddress_ < 0 && !address.empty();
  AddTypedEntries(lists_, nameTyped ? name : std::string(), iconNo_,
                  addressTyped ? address : std::string());
  // The new entries now stand at index 0; a second attempt must not add them again.
  if (nameTyped) chosenName_ = 0;
  if (addressTyped) chosenAddress_ = 0;
  FillCombos();
  WriteLoginLists(ini, lists_);
  // A settings file that cannot be written must not stop the login.
  static_cast<void>(ini.UpdateFile());
}

void TFormLogin::BtnWatchClick() {
  const QString name = PlayerName();
  const int table = ChosenTable();
  if (name.isEmpty()) {
    ShowMessage(this, tr("玩家名字必须输入!"), kBoxHint, MsgIcon::Information);
    return;
  }
  std::optional<ServerAddress> address =
      ParseServerAddress(comboBoxAddress_->currentText().toStdString());
  if (table <= 0 || !address || link_ == nullptr ||
      link_->OpenConnection(address->host, address->port) != 0) {
    ShowMessage(this, tr("请检查服务器网络地址设置。"), kBoxError, MsgIcon::Error);
    return;
  }
  SaveSettings();
  watching_ = false;
  const std::optional<Packet> packet =
      BuildPacket(MessageType::WatchRequest,
                  WatchRequestRecord{table, GbkCut(Utf8ToGbk(name.toStdString()), kNameChars)});
  if (!packet || link_->SendPacket(*packet) != 0) return;
  watchWait_->start(kWatchWaitMs);
  EnableWatch();
}

void TFormLogin::WatchAnswered(WatchResult result) {
  watchWait_->stop();
  EnableWatch();
  if (result == WatchResult::Watching) {
    watching_ = true;
    accept();
    return;
  }
  ShowMessage(this, QString::fromStdString(WatchRefusal(result)), kBoxHint, MsgIcon::Information);
}

void TFormLogin::BitBtnLoginClick() {
  watching_ = false;
  // The name sent, remembered and shown is one text: the box's without blanks.
  const QString name = PlayerName();
  if (name != comboBoxName_->currentText()) comboBoxName_->setEditText(name);
  if (name.isEmpty()) {
    ShowMessage(this, tr("玩家名字必须输入!"), kBoxHint, MsgIcon::Information);
    return;
  }
  const std::string password = editPassword_->text().toStdString();
  std::optional<ServerAddress> address =
      ParseServerAddress(comboBoxAddress_->currentText().toStdString());
  if (!address || link_ == nullptr || link_->OpenConnection(address->host, address->port) != 0) {
    ShowMessage(this, tr("请检查服务器网络地址设置。"), kBoxError, MsgIcon::Error);
    return;
  }
  ShowMessage(this, tr("确定要向此服务器登录吗？"), kBoxHint, MsgIcon::Question);
  SaveSettings();
  const std::int32_t table = ParseTableNumber(editTable_->text().toStdString());
  const int seat = std::max(comboBoxSeat_->currentIndex(), 0);
  // The head icon sent is the one shown, which the table window also gives the own player.
  LoginRecord request =
      MakeLoginRequest(Utf8ToGbk(name.toStdString()), Utf8ToGbk(password), serviceNo_, iconNo_,
                       table, static_cast<std::uint8_t>(seat));
  std::optional<Packet> packet = BuildPacket(MessageType::LoginRequest, request);
  if (!packet || link_->SendPacket(*packet) != 0) return;
  accept();
}

}  // namespace quarn::client
