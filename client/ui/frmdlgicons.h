// TDlgIconPicker: the window in which the player picks one of a row of icons.
// TDlgHead (head icons) and TDlgService (service icons) are two of it.
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QListWidget;
class QPushButton;

namespace quarn::client {

class TDlgIconPicker : public QDialog {
  Q_OBJECT

 public:
  // `prefix` is the resource prefix ("BITMAP_", "SERVICE_"), `count` the icons offered.
  TDlgIconPicker(std::string prefix, int count, const QString& caption, QWidget* parent);
  ~TDlgIconPicker() override = default;

  // The icon confirmed with OK, 1..count; 1 until then. Cancel leaves it as it was.
  int Selected() const { return selected_; }
  int IconCount() const { return count_; }

  // Fills the list afresh; the preview shows icon 1 and nothing is selected.
  void FormShow();
  // Selected = the first selected item's number, or 1 with none selected; closes with OK.
  void OKBtnClick();

  QListWidget* List() const { return list_; }
  QLabel* ImageSel() const { return imageSel_; }
  // The caption of the icon last selected (the label is never shown).
  QString LabelSelText() const;
  QPushButton* OkButton() const { return okBtn_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;  // empties the list on every close

 private:
  void SelectItem();
  void ShowPreview(int number);

  std::string prefix_;
  int count_;
  int selected_ = 1;
  QListWidget* list_;
  QLabel* imageSel_;
  QLabel* labelSel_;
  QPushButton* okBtn_;
};

}  // namespace quarn::client
