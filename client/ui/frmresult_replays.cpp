// The hero board's replays page: the own recent games, newest first; a chosen
// one is asked for and opens in the replay window.
#include <QDateTime>
#include <QTableWidget>

#include "client/ui/frmresult.h"
#include "core/gbk.h"

namespace quarn::client {

namespace {

QString NamesText(const ReplayListLineRecord& game) {
  QStringList names;
  for (std::size_t seat = 0; seat < game.names.size(); ++seat) {
    const QString name = QString::fromStdString(GbkToUtf8(game.names[seat]));
    names << (seat == game.landlord ? QStringLiteral("*") + name : name);
  }
  return names.join(QLatin1Char(' '));
}

}  // namespace

void TFormGameResult::ShowReplays(const std::vector<ReplayListLineRecord>& games) {
  ShowTabs();
  if (tabs_->count() < 3) tabs_->addTab(tr("回放"));
  games_ = games;
  replays_->setRowCount(static_cast<int>(games.size()));
  for (int row = 0; row < replays_->rowCount(); ++row) {
    const ReplayListLineRecord& game = games[static_cast<std::size_t>(row)];
    const QDateTime finished = QDateTime::fromSecsSinceEpoch(game.finishedAt);
    const std::array<QString, 4> texts = {
        finished.toString(QStringLiteral("MM-dd hh:mm")), QString::number(game.gameTable),
        NamesText(game),
        QStringLiteral("%1%2").arg(game.scoreChange > 0 ? "+" : "").arg(game.scoreChange)};
    for (int c = 0; c < static_cast<int>(texts.size()); ++c) {
      auto* item = new QTableWidgetItem(texts[static_cast<std::size_t>(c)]);
      item->setTextAlignment((c == 2 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
      item->setToolTip(tr("第 %1 局").arg(game.gameId));
      replays_->setItem(row, c, item);
    }
  }
  if (!games.empty() && replays_->currentRow() < 0) replays_->selectRow(0);
}

void TFormGameResult::WantSelectedReplay() {
  const int row = replays_->currentRow();
  if (row < 0 || row >= static_cast<int>(games_.size())) return;
  const ReplayListLineRecord& game = games_[static_cast<std::size_t>(row)];
  emit replayWanted(game.gameId, game.ownSeat);
}

}  // namespace quarn::client
