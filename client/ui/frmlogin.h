// TFormLogin: the modal login window. It checks the name, opens the connection
// through the table window, remembers names, icons and addresses in quarn.ini
// and sends LoginRequest; it closes with OK once the request went out.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <string>

#include "client/ui/language.h"
#include "client/ui/loginsettings.h"
#include "protocol/pcpheadtail.h"
#include "protocol/pcplobby.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

namespace quarn::client {

class TLobbyProbe;
class TDlgHead;
class TDlgService;

// What the login window needs of the table window's connection.
class ILoginLink {
 public:
  virtual ~ILoginLink() = default;
  // Sets the server address and opens the connection. 0 when the connection is
  // under way (a later failure arrives as the socket's error); 1 when the
  // address cannot be used or the socket refused at once.
  virtual int OpenConnection(const std::string& host, std::uint16_t port) = 0;
  // Writes a finished packet to the socket; 0 on success, 1 on failure.
  virtual int SendPacket(const quarn::Packet& packet) = 0;
};

class TFormLogin : public QDialog {
  Q_OBJECT

 public:
  // The pickers are the program's own DlgHead and DlgService; they are not owned.
  TFormLogin(TDlgHead* dlgHead, TDlgService* dlgService, QWidget* parent = nullptr);
  ~TFormLogin() override = default;

  void SetLink(ILoginLink* link) { link_ = link; }
  // The settings file; "quarn.ini" in the working directory unless set.
  void SetSettingsPath(std::string path) { settingsPath_ = std::move(path); }
  // How a picker is opened; QDialog::exec unless a test replaces it.
  void SetDialogRunner(std::function<int(QDialog&)> runner) { runDialog_ = std::move(runner); }

  // The values the table window takes after OK; the name without blanks around it.
  QString PlayerName() const;
  int IconNo() const { return iconNo_; }
  int ServiceNo() const { return serviceNo_; }

  // The handlers, callable directly by tests.
  void FormShow();
  void ComboBoxNameChange(int index);
  void ImageHeadDblClick();
  void ImageServiceDblClick();
  void BitBtnLoginClick();
  // 观看: asks to watch the table chosen in the list; the window stays open
  // until the server answers (WatchAnswered).
  void BtnWatchClick();
  // The server's answer: watching closes the window with OK (Watching() is
  // then true); a refusal is shown here and the window stays.
  void WatchAnswered(WatchResult result);
  bool Watching() const { return watching_; }
  void LoadSettings();
  void SaveSettings();

  QComboBox* ComboBoxName() const { return comboBoxName_; }
  QLineEdit* EditPassword() const { return editPassword_; }
  QComboBox* ComboBoxAddress() const { return comboBoxAddress_; }
  QLineEdit* EditTable() const { return editTable_; }
  QComboBox* ComboBoxSeat() const { return comboBoxSeat_; }
  QLabel* ImageHead() const { return imageHead_; }
  QLabel* ImageService() const { return imageService_; }
  QPushButton* BitBtnLogin() const { return bitBtnLogin_; }
  QPushButton* BitBtnCancel() const { return bitBtnCancel_; }
  // The tables in use, shown beside the fields once the server answered our
  // lobby request; the first row is "any table". Hidden while no answer came.
  QListWidget* ListTables() const { return listTables_; }
  // Enabled while a table of the list is chosen and the server lets watchers in.
  QPushButton* BtnWatch() const { return btnWatch_; }
  TLobbyProbe* Probe() const { return probe_; }
  // A row of the list chosen: its table and first free seat go to the fields.
  void ListTablesClick(int row);
  QComboBox* ComboBoxLanguage() const { return comboBoxLanguage_; }
  const LoginLists& Lists() const { return lists_; }

 signals:
  // The player picked another language; it is already kept in the settings file.
  void languageChosen(quarn::client::Language language);

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void DrawIcon(QLabel* image, const std::string& resourceName);
  void FillCombos();
  void ChooseNewestEntries();
  // Asks the server in the address box for its tables (again, after a change).
  void StartProbe();
  void ShowTables();
  void ComboBoxLanguageChange(int index);
  void EnableWatch();
  // The table of the list's chosen row; 0 for "any table" or none.
  int ChosenTable() const;

  TDlgHead* dlgHead_;
  TDlgService* dlgService_;
  ILoginLink* link_ = nullptr;
  std::string settingsPath_{kSettingsFile};
  std::function<int(QDialog&)> runDialog_;
  LoginLists lists_;
  bool firstShow_ = true;
  int iconNo_ = 1;
  int serviceNo_ = 1;
  int chosenName_ = -1;  // the list entry the player chose; -1 once typed over
  int chosenAddress_ = -1;
  bool watching_ = false;

  QComboBox* comboBoxName_;
  QLineEdit* editPassword_;
  QComboBox* comboBoxAddress_;
  QLineEdit* editTable_;
  QComboBox* comboBoxSeat_;
  QLabel* imageHead_;
  QLabel* imageService_;
  QPushButton* bitBtnLogin_;
  QPushButton* bitBtnCancel_;
  QListWidget* listTables_;
  QPushButton* btnWatch_;
  QTimer* watchWait_;  // runs while a watch request awaits its answer
  TLobbyProbe* probe_;
  QComboBox* comboBoxLanguage_;
};

}  // namespace quarn::client
