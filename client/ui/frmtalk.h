// TFormTalk: the small always-on-top window in which the player types chat.
#pragma once

#include <QByteArray>
#include <QWidget>

class QLineEdit;
class QPushButton;

namespace quarn::client {

class TFormTalk : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kTalkBytes = 58;  // GBK bytes of a chat line on the wire

  explicit TFormTalk(QWidget* parent = nullptr);
  ~TFormTalk() override = default;

  // The line to say in GBK, cut to 58 bytes at a character boundary.
  QByteArray TalkGbk() const;

  // Says the line (Enter in the box does the same); the text stays in the box.
  void BtnOkClick();
  // Hides the window.
  void BtnCancelClick();

  QLineEdit* EditTalk() const { return editTalk_; }

 signals:
  // The table window sends ChatSay with these bytes (already cut).
  void talkRequested(const QByteArray& gbkText);

 private:
  QLineEdit* editTalk_;
  QPushButton* btnOk_;
  QPushButton* btnCancel_;
};

}  // namespace quarn::client
