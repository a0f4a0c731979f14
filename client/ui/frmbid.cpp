#include "client/ui/frmbid.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <optional>

#include "client/ui/dialog_parts.h"
#include "client/ui/msgbox.h"
#include "client/ui/uifont.h"

namespace quarn::client {
namespace {

std::optional<int> ReadPoints(const QString& text) {
  bool ok = false;
  int value = text.trimmed().toInt(&ok, 10);
  return ok ? std::optional<int>(value) : std::nullopt;
}

}  // namespace

TFormBid::TFormBid(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("叫牌窗"));
  setFont(UiFont(12));
  setFixedSize(258, 132);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);

  MakeLabel(tr("玩家某某所叫点数为："), 32, 20, this);
  labelPoint_ = MakeLabel(QStringLiteral("10"), 156, 20, this);
  labelPoint_->setAutoFillBackground(true);
  labelPoint_->setStyleSheet(QStringLiteral("QLabel { color: blue; background: yellow; }"));
  labelPoint_->setMinimumWidth(24);
  MakeLabel(tr("我要的点数："), 32, 52, this);

  editPoint_ = new QLineEdit(QStringLiteral("10"), this);
  editPoint_->setGeometry(112, 48, 113, 21);
  editPoint_->setMaxLength(4);

  btnBid_ = new QPushButton(tr("确认(&Y)"), this);
  btnBid_->setGeometry(84, 97, 75, 25);
  btnBid_->setDefault(true);
  connect(btnBid_, &QPushButton::clicked, this, &TFormBid::BtnBidClick);
  btnCancel_ = new QPushButton(tr("放弃(&N)"), this);
  btnCancel_->setGeometry(164, 97, 75, 25);
  connect(btnCancel_, &QPushButton::clicked, this, &TFormBid::BtnCancelClick);
}

void TFormBid::SetCurrentBid(int points) {
  labelPoint_->setText(QString::number(points));
  labelPoint_->adjustSize();
}

void TFormBid::SetProposedBid(int points) {
  editPoint_->setText(QString::number(points));
  editPoint_->selectAll();
}

void TFormBid::BtnBidClick() {
  std::optional<int> bid = ReadPoints(editPoint_->text());
  if (!bid) {
    ShowMessage(this, tr("“%1”不是有效的点数。").arg(editPoint_->text()), kBoxError,
                MsgIcon::Error);
    return;
  }
  int current = ReadPoints(labelPoint_->text()).value_or(0);
  if (*bid <= current) {
    ShowMessage(this, tr("太小气了一点点吧？"), kBoxHint, MsgIcon::Information);
    return;
  }
  if (*bid > kMaxBid) {
    ShowMessage(this, tr("叫牌点数最多为%1点。").arg(kMaxBid), kBoxHint, MsgIcon::Information);
    return;
  }
  emit bidOffered(*bid);
  accept();
}

void TFormBid::BtnCancelClick() {
  emit bidPassed();
  reject();
}

void TFormBid::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  editPoint_->setFocus();
  editPoint_->selectAll();
}

void TFormBid::keyPressEvent(QKeyEvent* event) {
  // Escape gives up the bid like the cancel button; the close box only closes.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    BtnCancelClick();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace quarn::client
