// TMainForm: the table window. It shows the own cards, the cards last played
// and the three other players, carries the buttons, the status bar and the
// chat memo, and owns the table state and the connection to the server.
//
// The rules live in the model (TClientTable and the senders); this window only
// shows what the model tells it and turns clicks into model calls.
#pragma once

#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "client/assist/hint.h"
#include "client/model/display.h"
#include "client/model/hand_keys.h"
#include "client/model/table_layout.h"
#include "client/model/table_state.h"
#include "client/ui/clientsocket.h"
#include "client/ui/frmlogin.h"
#include "client/ui/imagepoker.h"
#include "client/ui/seatact.h"
#include "client/ui/seatview.h"
#include "core/card_error.h"

class QStatusBar;
class QFrame;
class QCloseEvent;
class QKeyEvent;
class QMouseEvent;
class QResizeEvent;

namespace quarn::client {

// What the login window hands back when it closed with OK (it has opened the
// connection and sent the login request itself).
struct LoginOutcome {
  QString name;
  int serviceNo = 1;
  int iconNo = 1;
  bool watching = false;  // a table is watched (the model already knows), nobody logged in
};

// The other windows the table window opens. Each may be left empty; the
// program wires the real dialogs, tests wire their own.
struct TableWindows {
  // Opens the login window modally; nullopt unless it closed with OK.
  std::function<std::optional<LoginOutcome>()> login;
  // Opens the bid window modally with the current bid and the proposed one.
  std::function<void(int currentBid, int proposedBid)> bid;
  // Shows (and records a row on) the hero board; empties it.
  std::function<void()> showHero;
  std::function<void()> resetHero;
  // Shows or hides the talk window.
  std::function<void(bool visible)> showTalk;
  // The standings the server sent changed.
  std::function<void()> standingsChanged;
  // The replay list or the game asked for changed.
  std::function<void()> replaysChanged;
  // The server answered the login window's request to watch a table.
  std::function<void(WatchResult)> watchAnswered;
};

class TMainForm : public QWidget, public IClientDisplay, public ILoginLink {
  Q_OBJECT

 public:
  static constexpr int kTableSlots = 33;

  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  void SetWindows(TableWindows windows) { windows_ = std::move(windows); }

  TClientTable& Table() { return table_; }
  const TClientTable& Table() const { return table_; }
  TClientSocket& ClientSocketMain() { return socket_; }

  // One-time set-up of the table; later calls do nothing.
  void InitTable();

  // ILoginLink: the login window sets the address and opens the connection.
  int OpenConnection(const std::string& host, std::uint16_t port) override;

  // Senders used by the dialogs. 0 when the packet was written.
  int SendPacket(const Packet& packet) override;
  int SendBid();
  int SendBidPass();
  int SendTalk(const QString& text);
  // Our own: true when the packet was written.
  bool SendIconChange(int serviceIcon, int headIcon);

  // IClientDisplay
  void SetGameState(TGameState state) override;
  void ShowLordCard(std::uint8_t card) override;
  void ShowTableCards() override;
  void ShowPass(int seat) override;
  void TableRestored() override;
  void SeatControlsChanged() override;
  void TurnClockChanged() override;
  void StandingsChanged() override {
    if (windows_.standingsChanged) windows_.standingsChanged();
  }
  void ReplaysChanged() override {
    if (windows_.replaysChanged) windows_.replaysChanged();
  }
  void WatchAnswered(WatchResult result) override;
  void ShowLoginRefused() override;
  void ShowWinner(int seat, std::string_view text) override;
  void ResetRound() override;
  void ClearSeat(int seat) override;
  void AddTalk(int seat, std::string_view line) override;
  void ShowMessage(MessageIcon icon, std::string_view caption, std::string_view text) override;

  // Event handlers, public so that tests and the program can drive them.
  void BtnLoginClick();
  void BtnSendClick();
  void BtnBidClick();
  void BtnCancelClick();
  void BtnPassClick();
  void BtnQuitClick();
  void ImagePoker1Click(TImagePoker* image);
  void SBtnSpeakClick();
  void SBtnShutupClick();
  void SBtnHeroClick();
  void SBtnWaiterClick() {}
  // The hint (提示): selects the computer's choice, then each further play
  // that beats the table; says so when none does.
  void BtnHintClick();
  // Shows or hides the card counter (记牌器) and remembers the choice.
  void ShowCardCounter(bool shown);
  // 托管 (T): asks the server to play the own seat, or to give it back.
  void BtnAutoPlayClick();
  // After a lost connection: connects again and sends the remembered login.
  void BtnReconnectClick();
  void ClientSocketMainDisconnect();
  void ClientSocketMainError(const QString& description);

  // Controls, for the program and the tests.
  QPushButton* BtnLogin() const { return btnLogin_; }
  QPushButton* BtnSend() const { return btnSend_; }
  QPushButton* BtnBid() const { return btnBid_; }
  QPushButton* BtnCancel() const { return btnCancel_; }
  QPushButton* BtnPass() const { return btnPass_; }
  QPushButton* BtnQuit() const { return btnQuit_; }
  QPushButton* BtnHint() const { return btnHint_; }
  QPushButton* BtnCounter() const { return btnCounter_; }
  QPushButton* BtnAutoPlay() const { return btnAutoPlay_; }
  QPushButton* BtnReconnect() const { return btnReconnect_; }
  // Position 0 (own), 1 (left), 2 (top), 3 (right): the mark of a seat the
  // computer plays, and the seconds a timed turn has left, over its head image.
  QLabel* AutoPlayMark(int position) const;
  QLabel* ClockLabel(int position) const;
  TCardCounter* CardCounter() const { return counter_; }
  // What position 0 (own), 1 (left), 2 (top), 3 (right) did last in this round.
  TSeatActView* SeatActView(int position) const;
  const THandCursor& Cursor() const { return cursor_; }
  // The table's scale: 1 at 632 x 453, the layout's own size.
  qreal TableScale() const { return layout_.Scale(); }

  // The settings file for the window's size and the counter; none unless set.
  void SetSettingsPath(std::string path) { settingsPath_ = std::move(path); }
  // Opens at the remembered size (or about two thirds of a screen of
  // `screen`), maximized if it was, the counter as it was left.
  void RestoreWindow(QSize screen);
  void SaveWindow() const;
  QToolButton* SBtnSpeak() const { return sbtnSpeak_; }
  QToolButton* SBtnShutup() const { return sbtnShutup_; }
  QToolButton* SBtnHero() const { return sbtnHero_; }
  QToolButton* SBtnWaiter() const { return sbtnWaiter_; }
  QLabel* LabelSeat() const { return labelSeat_; }
  QLabel* ImageLord() const { return imageLord_; }
  TImagePoker* ImageLordCard() const { return imageLordCard_; }
  QPlainTextEdit* MemoTalking() const { return memoTalking_; }
  // Panel 0 (wide, left), 1 (middle) and 2 (fixed text) of the status bar.
  QString StatusText(int panel) const;
  // The whole text of a panel, also when the panel shows it shortened.
  QString StatusPanelTip(int panel) const;
  // Own card slot 0..32 (ImagePoker1..33) and table slot 0..32 (ImagePoker34..66).
  TImagePoker* HandImage(int slot) const;
  TImagePoker* TableImage(int slot) const;
  // Position 0 (own), 1 (left), 2 (top), 3 (right).
  QLabel* LabelPlayer(int position) const;
  QLabel* LabelCount(int position) const;
  QLabel* ImageHead(int position) const;

 signals:
  // The window was closed (quit button or system menu): the program ends.
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // A widget with its place and font size in the layout at scale 1.
  struct Placed {
    QWidget* widget;
    LayoutRect base;  // not sized: the widget sizes itself to its text
    int fontPx;       // 0: keeps its font
  };
  void BuildLayout();
  void BuildPlayers();
  void BuildTable();
  void BuildButtons();
  void BuildStatusBar();
  void BuildExtras();
  QWidget* Put(QWidget* widget, LayoutRect base, int fontPx = 12);
  void ApplyScale();
  void PlaceCards();
  void PlaceStatusBar();
  // The seats' last moves and the counter, from the table.
  void RefreshExtras();
  void PressButton(TableButton button);
  // The own card under `x` (panel coordinates) during a drag; -1 for none.
  int HandSlotAt(int x) const;
  void ConnectSignals();
  void UpdateButtons();
  // After a change of the buttons: the focus on an enabled action, never on quit.
  void KeepFocusUseful();
  void UpdateStatus();
  void SetPanel1(const QString& text);
  void OnPacket(const Packet& packet);
  // mainform_keep.cpp: the 托管 button and marks, the turn clock, the reconnect offer.
  void BuildKeepControls();
  void PlaceKeepMarks();
  void ShowClock();
  // The screen position (0 own, 1 left, 2 top, 3 right) of `seat`.
  int PositionOf(int seat) const;

  TClientTable table_;
  QString handTip_;              // how to pick cards, on the hand's panel while seated
  QLabel* watchNote_ = nullptr;  // in the empty hand's place while watching
  HintCycle hint_;
  THandCursor cursor_;
  std::vector<Placed> placed_;
  TableLayout layout_;
  std::string settingsPath_;
  TClientSocket socket_;
  TableWindows windows_;
  CardErrorSink previousCardErrorSink_;
  // The winner's text stays in the middle panel until the next game's bidding or play.
  bool holdWinnerText_ = false;

  QLabel* labelSeat_ = nullptr;
  TImagePoker* imageLordCard_ = nullptr;
  QLabel* imageLord_ = nullptr;
  QPlainTextEdit* memoTalking_ = nullptr;
  std::array<QLabel*, 4> imageHead_{};
  std::array<QLabel*, 4> labelPlayer_{};
  std::array<QLabel*, 4> labelCount_{};
  std::array<QLabel*, 3> imageCards_{};
  QFrame* panelTable_ = nullptr;
  QFrame* panelMain_ = nullptr;
  std::array<TImagePoker*, kHandSlots> handImages_{};
  std::array<TImagePoker*, kTableSlots> tableImages_{};
  QToolButton* sbtnShutup_ = nullptr;
  QToolButton* sbtnSpeak_ = nullptr;
  QToolButton* sbtnHero_ = nullptr;
  QToolButton* sbtnWaiter_ = nullptr;
  QPushButton* btnLogin_ = nullptr;
  QPushButton* btnSend_ = nullptr;
  QPushButton* btnBid_ = nullptr;
  QPushButton* btnCancel_ = nullptr;
  QPushButton* btnPass_ = nullptr;
  QPushButton* btnQuit_ = nullptr;
  QPushButton* btnHint_ = nullptr;
  QPushButton* btnCounter_ = nullptr;
  QPushButton* btnAutoPlay_ = nullptr;
  QPushButton* btnReconnect_ = nullptr;
  std::array<QLabel*, 4> autoMarks_{};  // own, left, top, right
  std::array<QLabel*, 4> clockLabels_{};
  QTimer clockTimer_;
  QElapsedTimer clockSince_;
  // The last login sent, for a reconnect with one click.
  std::optional<Packet> rememberedLogin_;
  TCardCounter* counter_ = nullptr;
  std::array<TSeatActView*, 4> seatActs_{};  // own, left, top, right
  QStatusBar* statusBar_ = nullptr;
  std::array<QLabel*, 3> statusPanels_{};

  std::unique_ptr<TOwnView> ownView_;
  std::array<std::unique_ptr<TSeatView>, 3> otherViews_;  // left, top, right
};

}  // namespace quarn::client
