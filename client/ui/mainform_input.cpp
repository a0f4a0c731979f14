// The table window's keys, mouse drags and right clicks, and the hint: each
// turns into the model's cursor or a click of the button it stands for.
#include <QKeyEvent>
#include <QMouseEvent>

#include "client/model/client_sending.h"
#include "client/model/screen_texts.h"
#include "client/ui/language.h"
#include "client/ui/mainform.h"

namespace quarn::client {

namespace {

std::optional<TableKey> KeyOf(const QKeyEvent& event) {
  // With Ctrl or Alt held the key is someone else's (Alt+letter: a button's mnemonic).
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
    return std::nullopt;
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return TableKey::Play;
    case Qt::Key_Escape:
      return TableKey::Clear;
    case Qt::Key_P:
      return TableKey::Pass;
    case Qt::Key_H:
      return TableKey::Hint;
    case Qt::Key_T:
      return TableKey::AutoPlay;
    case Qt::Key_Left:
      return TableKey::Left;
    case Qt::Key_Right:
      return TableKey::Right;
    case Qt::Key_Space:
      return TableKey::Toggle;
    case Qt::Key_Up:
      return TableKey::Raise;
    case Qt::Key_Down:
      return TableKey::Lower;
    default:
      return std::nullopt;
  }
}

}  // namespace

void TMainForm::keyPressEvent(QKeyEvent* event) {
  const std::optional<TableKey> key = KeyOf(*event);
  // A key held down presses its button once: the repeats would otherwise land
  // in whatever window that press opened (a login name full of blanks).
  const bool stepsCursor = key == TableKey::Left || key == TableKey::Right;
  if (key && event->isAutoRepeat() && !stepsCursor) {
    event->accept();
    return;
  }
  if (!key || !table_.Initialized) {
    // Before the table is set up only Enter means something: the login.
    if (key == TableKey::Play && btnLogin_->isEnabled()) {
      btnLogin_->click();
      return;
    }
    QWidget::keyPressEvent(event);
    return;
  }
  PressButton(cursor_.Press(table_, *key));
}

void TMainForm::PressButton(TableButton button) {
  // A click of the button itself: a disabled one does nothing, as with the mouse.
  switch (button) {
    case TableButton::Send:
      btnSend_->click();
      break;
    case TableButton::Bid:
      btnBid_->click();
      break;
    case TableButton::Login:
      btnLogin_->click();
      break;
    case TableButton::Cancel:
      btnCancel_->click();
      break;
    case TableButton::Pass:
      btnPass_->click();
      break;
    case TableButton::Hint:
      btnHint_->click();
      break;
    case TableButton::AutoPlay:
      btnAutoPlay_->click();
      break;
    case TableButton::None:
      break;
  }
}

void TMainForm::mousePressEvent(QMouseEvent* event) {
  // A right click anywhere on the table plays the selection.
  if (event->button() == Qt::RightButton) {
    btnSend_->click();
    event->accept();
    return;
  }
  QWidget::mousePressEvent(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  auto* image = qobject_cast<TImagePoker*>(watched);
  if (image && image->parentWidget() == panelMain_) {
    if (event->type() == QEvent::MouseMove) {
      const auto* move = static_cast<QMouseEvent*>(event);
      if (move->buttons() & Qt::LeftButton) {
        const QPoint at = image->mapTo(panelMain_, move->position().toPoint());
        cursor_.DragOver(table_.Me, HandSlotAt(at.x()));
      }
    } else if (event->type() == QEvent::MouseButtonRelease) {
      cursor_.EndDrag();
    }
  }
  return QWidget::eventFilter(watched, event);
}

int TMainForm::HandSlotAt(int x) const {
  // Later cards lie on top of earlier ones: the last card under x is the one seen.
  for (int slot = kHandSlots - 1; slot >= 0; --slot) {
    const TImagePoker* image = handImages_[static_cast<std::size_t>(slot)];
    if (image->isVisible() && x >= image->x() && x < image->x() + image->width()) return slot;
  }
  return -1;
}

void TMainForm::ImagePoker1Click(TImagePoker* image) {
  if (!table_.Initialized) return;
  const TGameState state = table_.GameState;
  if (state != TGameState::InPlay && state != TGameState::PlaySent) return;
  cursor_.Hide(table_.Me);
  const int slot = ownView_->SlotOf(image);
  // A click toggles the card and starts a drag that spreads its new state.
  if (slot < 0 || !table_.Me.Hand.Card(slot).IsPresent()) {
    table_.Me.ToggleCard(slot);  // reports a control that is none of the hand's
    return;
  }
  cursor_.BeginDrag(table_.Me, slot);
}

void TMainForm::BtnHintClick() {
  if (!table_.Initialized || !ButtonsFor(table_).hint) return;
  const std::optional<ai::PlannedPlay> play = hint_.Next(table_);
  if (!play) {
    table_.Me.CancelSelection();
    statusPanels_[0]->setText(ShownText(kHintNothingBeats));
    btnPass_->setDefault(true);  // 不要 is what is left
    return;
  }
  SelectPlay(table_, play->cards);
}

void TMainForm::ShowCardCounter(bool shown) {
  if (btnCounter_->isChecked() != shown) btnCounter_->setChecked(shown);  // comes back here
  if (counter_->isHidden() != shown) return;
  counter_->setVisible(shown);
  RefreshExtras();
  SaveWindow();
}

}  // namespace quarn::client
