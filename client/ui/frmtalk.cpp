#include "client/ui/frmtalk.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

#include "client/ui/uifont.h"
#include "core/gbk.h"

namespace quarn::client {

TFormTalk::TFormTalk(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
  setWindowTitle(QStringLiteral("Talk, Talk, Talk..."));
  setFont(UiFont(12));
  setFixedSize(359, 112);
  move(275, 293);

  auto* bevel = new QFrame(this);
  bevel->setGeometry(8, 8, 345, 89);
  bevel->setFrameShape(QFrame::StyledPanel);
  bevel->setFrameShadow(QFrame::Sunken);

  editTalk_ = new QLineEdit(this);
  editTalk_->setGeometry(16, 24, 329, 21);
  connect(editTalk_, &QLineEdit::returnPressed, this, &TFormTalk::BtnOkClick);

  btnOk_ = new QPushButton(tr("讲话(&Y)"), this);
  btnOk_->setGeometry(184, 56, 75, 25);
  connect(btnOk_, &QPushButton::clicked, this, &TFormTalk::BtnOkClick);
  btnCancel_ = new QPushButton(tr("隐藏(&H)"), this);
  btnCancel_->setGeometry(264, 56, 75, 25);
  connect(btnCancel_, &QPushButton::clicked, this, &TFormTalk::BtnCancelClick);
}

QByteArray TFormTalk::TalkGbk() const {
  std::string gbk = GbkCut(Utf8ToGbk(editTalk_->text().toStdString()), kTalkBytes);
  return {gbk.data(), static_cast<qsizetype>(gbk.size())};
}

void TFormTalk::BtnOkClick() {
  emit talkRequested(TalkGbk());
}

void TFormTalk::BtnCancelClick() {
  hide();
}

}  // namespace quarn::client
