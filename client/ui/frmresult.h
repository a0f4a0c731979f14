// TFormGameResult: the hero board. Every showing adds one row with the four
// scores as they stand; the header row names the players of the seats. With a
// server that keeps its games, a second page shows its standings (the tabs
// appear with the first answer; other servers never answer), and a third the
// own recent games, any of which opens in the replay window.
#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "protocol/pcpreplay.h"
#include "protocol/pcpstandings.h"

class QPushButton;
class QTabBar;
class QTableWidget;

namespace quarn::client {

// The hero board's size, and the room its pages share.
inline constexpr int kHeroWidth = 480;
inline constexpr int kHeroHeight = 129;
inline constexpr int kHeroTabsHeight = 24;
inline constexpr int kWatchWidth = 90;

struct ScoreSnapshot {
  std::array<QString, 4> names;  // by absolute seat; empty for an empty seat
  std::array<int, 4> scores{};
};

class TFormGameResult : public QWidget {
  Q_OBJECT

 public:
  explicit TFormGameResult(QWidget* parent = nullptr);
  ~TFormGameResult() override = default;

  // Where a showing takes its snapshot from (the table window's seats).
  void SetSnapshotSource(std::function<ScoreSnapshot()> source);

  // Adds a row with `snapshot` and writes the header names (what a showing does).
  void RecordSnapshot(const ScoreSnapshot& snapshot);
  // Forgets every row and the header names: the next showing writes row 1.
  void ResetBoard();

  // Rows of the grid, the header row included (2 at the start).
  int RowCount() const;
  QString Cell(int column, int row) const;
  QTableWidget* Grid() const { return grid_; }

  // Asks the server for the standings; called at every showing.
  void SetStandingsAsker(std::function<void()> asker) { asker_ = std::move(asker); }
  // Fills the standings page (the top lines, then the own line when it is not
  // among them) and shows the page tabs.
  void ShowStandings(const std::vector<StandingsLineRecord>& top,
                     const std::optional<StandingsLineRecord>& own);
  QTableWidget* StandingsGrid() const { return standings_; }

  // Asks the server for the own recent games; called once a showing's
  // standings arrive, so only a server that keeps games is asked.
  void SetReplaysAsker(std::function<void()> asker) { replaysAsker_ = std::move(asker); }
  // Fills the replays page (newest first) and adds its tab.
  void ShowReplays(const std::vector<ReplayListLineRecord>& games);
  QTableWidget* ReplaysGrid() const { return replays_; }

 signals:
  // A game of the list was chosen (double-click, Enter or the watch button).
  void replayWanted(qint64 gameId, int ownSeat);

 public:
  QTabBar* Tabs() const { return tabs_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;  // hides when another window activates

 private:
  void AddStandingRow(const StandingsLineRecord& line, bool own);
  void MakeReplaysPage();
  void ShowTabs();
  void ShowPage(int page);
  void WantSelectedReplay();

  QTableWidget* grid_;
  QTableWidget* standings_;
  QTableWidget* replays_;
  QPushButton* watch_;
  QTabBar* tabs_;
  std::function<ScoreSnapshot()> source_;
  std::function<void()> asker_;
  std::function<void()> replaysAsker_;
  bool replaysWanted_ = false;
  std::vector<ReplayListLineRecord> games_;
};

}  // namespace quarn::client
