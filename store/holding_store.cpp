#include "store/holding_store.h"

#include <utility>

namespace quarn::store {

HoldingStore::HoldingStore(GameDatabase& database, Log log, Clock clock, std::size_t heldLimit)
    : database_(database),
      log_(std::move(log)),
      clock_(std::move(clock)),
      heldLimit_(heldLimit > 0 ? heldLimit : 1) {}

void HoldingStore::Save(const GameRecord& game) {
  if (held_.size() >= heldLimit_) {
    held_.pop_front();
    ++lost_;
  }
  held_.push_back(game);
  Flush();
}

void HoldingStore::Retry() {
  if (!held_.empty()) Flush();
}

bool HoldingStore::SetPasswordHash(std::string_view name, std::string_view hash) {
  if (database_.SetPasswordHash(name, hash)) return true;
  ReportFailure();
  return false;
}

AccountWrite HoldingStore::AddPasswordHash(std::string_view name, std::string_view hash) {
  const AccountWrite written = database_.AddPasswordHash(name, hash);
  if (written == AccountWrite::Failed) ReportFailure();
  return written;
}

void HoldingStore::Flush() {
  while (!held_.empty()) {
    if (!database_.Write(held_.front())) {
      failing_ = true;
      ReportFailure();
      return;
    }
    held_.pop_front();
    if (failing_) ++writtenLate_;
  }
  if (!failing_) return;
  // Written at last: say so whenever it happens, with what could not be kept.
  log_("game store writable again: " + std::to_string(writtenLate_) + " held games written late, " +
       std::to_string(lost_) + " lost");
  failing_ = false;
  writtenLate_ = 0;
  lost_ = 0;
  lastLogged_.reset();
}

void HoldingStore::ReportFailure() {
  const auto now = clock_();
  if (lastLogged_ && now - *lastLogged_ < kLogEvery) return;
  lastLogged_ = now;
  log_("game store write failed (" + database_.LastError() + "); " + std::to_string(held_.size()) +
       " games held in memory, " + std::to_string(lost_) + " lost");
}

}  // namespace quarn::store
