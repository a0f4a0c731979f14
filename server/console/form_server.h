// TFormServer: the server's console window. It shows the state that ServerApp
// reports and hands the buttons, the double click and the close to it; the
// rules (settings check, listening, files) stay in ServerApp.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "server/host.h"
#include "server/server_app.h"
#include "store/sqlite/sqlite_database.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace quarn::server {

class RunningLight;
class TablesView;

class TFormServer final : public QWidget, public IConsoleView {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 473;
  static constexpr int kClientHeight = 229;

  explicit TFormServer(QWidget* parent = nullptr);
  // The server this window fronts; set before the window is first shown.
  void Attach(ServerApp* app) { app_ = app; }
  // The settings as their controls hold them now; nothing when an edit's text
  // is not a whole number within its limits.
  std::optional<ServerSettings> Settings() const;
  // The web port in its edit: 0 when empty (none); nothing when it is not a port.
  std::optional<std::uint16_t> WebPort() const;
  // Called with the web port (0: none) just before the start button starts
  // the server; the program hands it to its hosts.
  void OnStarting(std::function<void(std::uint16_t webPort)> starting) {
    starting_ = std::move(starting);
  }

  void LogLineAdded(std::string_view line) override;
  void HeroLineAdded(std::string_view line) override;
  void LogCleared() override;
  void HeroCleared() override;
  void StatusChanged(std::string_view status, bool listening) override;
  void TableChanged(const TableSummary& table) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void BuildTop();
  void BuildPages();
  QWidget* BuildSettingsPage();
  void BuildStatusBar();
  void BtnStartClick();
  void BtnStopClick();
  void WarnBadSettings();
  void Warn(const char* objectName, const char* text);
  // Opens or lets go of the game file as "keep games" says; false (after a
  // warning box) when the file cannot be used.
  bool UseGameFile();
  // Settings can be changed only while the server does not listen.
  void EnableSettings(bool listening);

  ServerApp* app_ = nullptr;
  std::function<void(std::uint16_t)> starting_;
  bool shown_ = false;

  RunningLight* shapeLight_ = nullptr;
  QPushButton* btnStart_ = nullptr;
  QPushButton* btnStop_ = nullptr;
  QTabWidget* pageControl_ = nullptr;
  QPlainTextEdit* memoLog_ = nullptr;
  QPlainTextEdit* memoHero_ = nullptr;
  TablesView* tables_ = nullptr;
  QCheckBox* checkBoxBid_ = nullptr;
  QLineEdit* editPoint_ = nullptr;
  QCheckBox* checkBoxRand_ = nullptr;
  QCheckBox* checkBoxDelay_ = nullptr;
  QLineEdit* editDelaySync_ = nullptr;
  QLineEdit* editDelayDeal_ = nullptr;
  QLineEdit* editTables_ = nullptr;
  QCheckBox* checkBoxKeepSeats_ = nullptr;
  QLineEdit* editTurnTime_ = nullptr;
  QLineEdit* editWebPort_ = nullptr;
  QCheckBox* checkBoxKeepGames_ = nullptr;
  QCheckBox* checkBoxAccounts_ = nullptr;
  QCheckBox* checkBoxLobby_ = nullptr;
  QCheckBox* checkBoxSpectatorChat_ = nullptr;
  QLineEdit* editSpectators_ = nullptr;
  // The game file while "keep games" is on and the server has started with it.
  std::unique_ptr<store::SqliteDatabase> database_;
  QLabel* statusPanel0_ = nullptr;
  QLabel* statusPanel1_ = nullptr;
};

}  // namespace quarn::server
