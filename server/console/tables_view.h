// The console's list of tables: one row per table in use, with its number,
// its players and what it is doing, kept up to date as the server reports.
#pragma once

#include <QTreeWidget>
#include <cstdint>
#include <map>

#include "server/host.h"

namespace quarn::server {

class TablesView final : public QTreeWidget {
  Q_OBJECT

 public:
  explicit TablesView(QWidget* parent = nullptr);

  // Adds or updates the row of `table`.
  void Show(const TableSummary& table);
  // Drops the rows of tables numbered above `count` (the count changed at a start).
  void KeepUpTo(std::uint32_t count);

 private:
  std::map<std::int32_t, QTreeWidgetItem*> rows_;
};

// The word the list uses for a table's state.
const char* TableStatusText(std::int8_t status);

}  // namespace quarn::server
