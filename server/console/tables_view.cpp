#include "server/console/tables_view.h"

#include <QHeaderView>
#include <QStringList>

#include "server/console/console_texts.h"

namespace quarn::server {

const char* TableStatusText(std::int8_t status) {
  switch (status) {
    case 1:
      return texts::kTableSeating;
    case 2:
      return texts::kTableWaiting;
    case 3:
      return texts::kTableDealing;
    case 4:
    case 5:
      return texts::kTableBidding;
    case 6:
    case 7:
      return texts::kTablePlaying;
    default:
      return "";
  }
}

TablesView::TablesView(QWidget* parent) : QTreeWidget(parent) {
  setObjectName("TreeTables");
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setHeaderLabels(
      {texts::kColumnTable, texts::kColumnPlayers, texts::kColumnState, texts::kColumnNames});
  header()->setStretchLastSection(true);
  setColumnWidth(0, 44);
  setColumnWidth(1, 44);
  setColumnWidth(2, 48);
}

void TablesView::Show(const TableSummary& table) {
  QTreeWidgetItem*& row = rows_[table.number];
  if (row == nullptr) {
    row = new QTreeWidgetItem;
    // Rows stay in table order: insert before the first higher number.
    const auto next = rows_.upper_bound(table.number);
    const int at = next == rows_.end() ? topLevelItemCount() : indexOfTopLevelItem(next->second);
    insertTopLevelItem(at, row);
    row->setText(0, QString::number(table.number));
    row->setTextAlignment(0, Qt::AlignCenter);
    row->setTextAlignment(1, Qt::AlignCenter);
  }
  row->setText(1, QString::number(table.players) + "/4");
  row->setText(2, QString::fromUtf8(TableStatusText(table.status)));
  QStringList names;
  for (const std::string& name : table.names) {
    if (!name.empty()) names << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  }
  row->setText(3, names.join(QStringLiteral("  ")));
}

void TablesView::KeepUpTo(std::uint32_t count) {
  for (auto it = rows_.upper_bound(static_cast<std::int32_t>(count)); it != rows_.end();) {
    delete it->second;
    it = rows_.erase(it);
  }
}

}  // namespace quarn::server
