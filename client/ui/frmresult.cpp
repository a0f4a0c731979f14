#include "client/ui/frmresult.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHeaderView>
#include <QPushButton>
#include <QShowEvent>
#include <QTabBar>
#include <QTableWidget>
#include <span>

#include "client/model/game_state.h"
#include "client/ui/uifont.h"
#include "core/gbk.h"

namespace quarn::client {
namespace {

constexpr int kColumns = 4;
constexpr int kColumnWidth = 113;
constexpr int kWidth = kHeroWidth;
constexpr int kHeight = kHeroHeight;
constexpr int kTabsHeight = kHeroTabsHeight;
constexpr std::array<const char*, 6> kStandingsHeads = {
    QT_TRANSLATE_NOOP("TFormGameResult", "名次"),
    QT_TRANSLATE_NOOP("TFormGameResult", "玩家"),
    QT_TRANSLATE_NOOP("TFormGameResult", "局数"),
    QT_TRANSLATE_NOOP("TFormGameResult", "胜局"),
    QT_TRANSLATE_NOOP("TFormGameResult", "地主胜/局"),
    QT_TRANSLATE_NOOP("TFormGameResult", "积分")};
constexpr std::array<int, 6> kStandingsWidths = {50, 130, 60, 60, 80, 100};
constexpr std::array<const char*, 4> kReplayHeads = {
    QT_TRANSLATE_NOOP("TFormGameResult", "时间"), QT_TRANSLATE_NOOP("TFormGameResult", "桌"),
    QT_TRANSLATE_NOOP("TFormGameResult", "东 北 西 南（*地主）"),
    QT_TRANSLATE_NOOP("TFormGameResult", "得分")};
constexpr std::array<int, 4> kReplayWidths = {92, 30, 250, 52};

void SetUpGrid(QTableWidget* grid) {
  grid->setFont(UiFont(14));
  grid->setFrameShape(QFrame::NoFrame);
  grid->horizontalHeader()->hide();
  grid->verticalHeader()->hide();
  grid->verticalHeader()->setDefaultSectionSize(22);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionMode(QAbstractItemView::NoSelection);
  grid->setFocusPolicy(Qt::NoFocus);
}
// The heads in the shown language.
QStringList Heads(std::span<const char* const> heads) {
  QStringList shown;
  for (const char* head : heads) shown << QCoreApplication::translate("TFormGameResult", head);
  return shown;
}

}  // namespace

TFormGameResult::TFormGameResult(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(tr("“Vardel”英雄榜"));
  setFixedSize(480, 129);
  move(191, 158);

  grid_ = new QTableWidget(2, kColumns, this);
  grid_->setGeometry(0, 0, kWidth, kHeight);
  SetUpGrid(grid_);
  for (int c = 0; c < kColumns; ++c) grid_->setColumnWidth(c, kColumnWidth);
  ResetBoard();

  standings_ = new QTableWidget(1, static_cast<int>(kStandingsHeads.size()), this);
  standings_->setObjectName("StandingsGrid");
  standings_->setGeometry(0, kTabsHeight, kWidth, kHeight);
  SetUpGrid(standings_);
  for (int c = 0; c < standings_->columnCount(); ++c) {
    standings_->setColumnWidth(c, kStandingsWidths[static_cast<std::size_t>(c)]);
    auto* head = new QTableWidgetItem(Heads(kStandingsHeads).at(c));
    head->setBackground(palette().button());
    head->setTextAlignment(Qt::AlignCenter);
    standings_->setItem(0, c, head);
  }
  standings_->hide();
  MakeReplaysPage();
  tabs_ = new QTabBar(this);
  tabs_->setObjectName("HeroTabs");
  tabs_->addTab(tr("本次登录"));
  tabs_->addTab(tr("排行榜"));
  tabs_->setGeometry(0, 0, kWidth - kWatchWidth, kTabsHeight);
  tabs_->hide();
  connect(tabs_, &QTabBar::currentChanged, this, &TFormGameResult::ShowPage);
}

void TFormGameResult::MakeReplaysPage() {
  replays_ = new QTableWidget(0, static_cast<int>(kReplayHeads.size()), this);
  replays_->setObjectName("ReplaysGrid");
  replays_->setGeometry(0, kTabsHeight, kWidth, kHeight);
  SetUpGrid(replays_);
  replays_->horizontalHeader()->show();
  replays_->horizontalHeader()->setFont(UiFont(14));
  replays_->setHorizontalHeaderLabels(Heads(kReplayHeads));
  for (int c = 0; c < replays_->columnCount(); ++c) {
    replays_->setColumnWidth(c, kReplayWidths[static_cast<std::size_t>(c)]);
  }
  replays_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
  replays_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  replays_->setSelectionMode(QAbstractItemView::SingleSelection);
  replays_->setSelectionBehavior(QAbstractItemView::SelectRows);
  replays_->setFocusPolicy(Qt::StrongFocus);
  replays_->hide();
  connect(replays_, &QTableWidget::cellDoubleClicked, this, [this] { WantSelectedReplay(); });
  watch_ = new QPushButton(tr("观看回放"), this);
  watch_->setObjectName("WatchReplay");
  watch_->setFont(UiFont(13));
  watch_->setGeometry(kWidth - kWatchWidth, 0, kWatchWidth, kTabsHeight);
  watch_->hide();
  connect(watch_, &QPushButton::clicked, this, [this] { WantSelectedReplay(); });
}

void TFormGameResult::ShowPage(int page) {
  grid_->setVisible(page == 0);
  standings_->setVisible(page == 1);
  replays_->setVisible(page == 2);
  watch_->setVisible(page == 2);
}

void TFormGameResult::ShowTabs() {
  if (!tabs_->isHidden()) return;
  setFixedSize(kWidth, kHeight + kTabsHeight);
  grid_->move(0, kTabsHeight);
  tabs_->show();
}

void TFormGameResult::ShowStandings(const std::vector<StandingsLineRecord>& top,
                                    const std::optional<StandingsLineRecord>& own) {
  ShowTabs();
  if (replaysWanted_ && replaysAsker_) replaysAsker_();
  replaysWanted_ = false;
  standings_->setRowCount(1);
  bool ownShown = false;
  for (const StandingsLineRecord& line : top) {
    const bool mine = own && own->name == line.name;
    ownShown = ownShown || mine;
    AddStandingRow(line, mine);
  }
  if (own && !ownShown) AddStandingRow(*own, true);
}

void TFormGameResult::AddStandingRow(const StandingsLineRecord& line, bool own) {
  const int row = standings_->rowCount();
  standings_->setRowCount(row + 1);
  const std::array<QString, 6> texts = {
      QString::number(line.rank),
      QString::fromStdString(GbkToUtf8(line.name)),
      QString::number(line.games),
      QString::number(line.wins),
      QStringLiteral("%1/%2").arg(line.landlordWins).arg(line.landlordGames),
      QString::number(line.points)};
  for (int c = 0; c < static_cast<int>(texts.size()); ++c) {
    auto* item = new QTableWidgetItem(texts[static_cast<std::size_t>(c)]);
    item->setTextAlignment((c == 1 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
    if (own) {
      QFont bold = standings_->font();
      bold.setBold(true);
      item->setFont(bold);
    }
    standings_->setItem(row, c, item);
  }
}

void TFormGameResult::SetSnapshotSource(std::function<ScoreSnapshot()> source) {
  source_ = std::move(source);
}

int TFormGameResult::RowCount() const {
  return grid_->rowCount();
}

QString TFormGameResult::Cell(int column, int row) const {
  const QTableWidgetItem* item = grid_->item(row, column);
  return item ? item->text() : QString();
}

void TFormGameResult::RecordSnapshot(const ScoreSnapshot& snapshot) {
  int rows = grid_->rowCount();
  int row = rows;
  if (rows == 2) {
    // Row 1 is still free unless a header was written, i.e. a row was recorded.
    row = Cell(1, 0).isEmpty() ? 1 : 2;
  }
  if (row >= rows) grid_->setRowCount(row + 1);
  for (int c = 0; c < kColumns; ++c) {
    auto* header = new QTableWidgetItem(tr("%1家:%2").arg(
        QString::fromStdString(ShownSeatName(c)), snapshot.names[static_cast<std::size_t>(c)]));
    header->setBackground(palette().button());
    header->setTextAlignment(Qt::AlignCenter);
    grid_->setItem(0, c, header);
    auto* score =
        new QTableWidgetItem(QString::number(snapshot.scores[static_cast<std::size_t>(c)]));
    score->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid_->setItem(row, c, score);
  }
  grid_->scrollToItem(grid_->item(row, 0));
}

void TFormGameResult::ResetBoard() {
  grid_->setRowCount(1);
  grid_->setRowCount(2);
  for (int c = 0; c < kColumns; ++c) {
    auto* header = new QTableWidgetItem();
    header->setBackground(palette().button());
    grid_->setItem(0, c, header);
  }
}

void TFormGameResult::showEvent(QShowEvent* event) {
  if (source_ && !event->spontaneous()) RecordSnapshot(source_());
  if (asker_ && !event->spontaneous()) asker_();
  if (!event->spontaneous()) replaysWanted_ = true;
  QWidget::showEvent(event);
}

void TFormGameResult::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow()) hide();
  QWidget::changeEvent(event);
}

}  // namespace quarn::client
