#include "client/ui/frmresult.h"

#include <QEvent>
#include <QHeaderView>
#include <QShowEvent>
#include <QTableWidget>

#include "client/ui/uifont.h"

namespace quarn::client {
namespace {

constexpr int kColumns = 4;
constexpr int kColumnWidth = 113;
const std::array<QString, 4> kSeatNames = {QStringLiteral("东"), QStringLiteral("北"),
                                           QStringLiteral("西"), QStringLiteral("南")};

}  // namespace

TFormGameResult::TFormGameResult(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral("“Vardel”英雄榜"));
  setFixedSize(480, 129);
  move(191, 158);

  grid_ = new QTableWidget(2, kColumns, this);
  grid_->setGeometry(0, 0, 480, 129);
  grid_->setFont(UiFont(14));
  grid_->setFrameShape(QFrame::NoFrame);
  grid_->horizontalHeader()->hide();
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setDefaultSectionSize(22);
  for (int c = 0; c < kColumns; ++c) grid_->setColumnWidth(c, kColumnWidth);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::NoSelection);
  grid_->setFocusPolicy(Qt::NoFocus);
  ResetBoard();
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
    auto* header = new QTableWidgetItem(QStringLiteral("%1家:%2").arg(
        kSeatNames[static_cast<std::size_t>(c)], snapshot.names[static_cast<std::size_t>(c)]));
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
  QWidget::showEvent(event);
}

void TFormGameResult::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow()) hide();
  QWidget::changeEvent(event);
}

}  // namespace quarn::client
