#include "client/ui/msgbox.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMessageBox>
#include <utility>

#include "client/ui/uifont.h"

namespace quarn::client {
namespace {

MessageHook& Hook() {
  static MessageHook hook;
  return hook;
}

QMessageBox::Icon BoxIcon(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Information:
      return QMessageBox::Information;
    case MsgIcon::Warning:
      return QMessageBox::Warning;
    case MsgIcon::Question:
      return QMessageBox::Question;
    case MsgIcon::Error:
      return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

void ShowMessage(QWidget* parent, const QString& text, const QString& caption, MsgIcon icon) {
  if (Hook()) {
    Hook()({text, QCoreApplication::translate("Quarn", caption.toUtf8().constData()), icon});
    return;
  }
  // The captions are the model's texts, translated here for every box.
  const QString shownCaption = QCoreApplication::translate("Quarn", caption.toUtf8().constData());
  QMessageBox box(BoxIcon(icon), shownCaption, text, QMessageBox::Ok, parent);
  box.setFont(UiFont(12));
  if (QAbstractButton* ok = box.button(QMessageBox::Ok))
    ok->setText(QCoreApplication::translate("Quarn", "确定"));
  box.exec();
}

MessageHook SetMessageHook(MessageHook hook) {
  return std::exchange(Hook(), std::move(hook));
}

}  // namespace quarn::client
