#include "client/ui/frmdlgicons.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "client/ui/artwork.h"
#include "client/ui/uifont.h"

namespace quarn::client {

TDlgIconPicker::TDlgIconPicker(std::string prefix, int count, const QString& caption,
                               QWidget* parent)
    : QDialog(parent), prefix_(std::move(prefix)), count_(count) {
  setWindowTitle(caption);
  setFont(UiFont(12));
  setFixedSize(384, 179);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);

  list_ = new QListWidget(this);
  list_->setGeometry(8, 8, 281, 161);
  list_->setViewMode(QListView::IconMode);
  list_->setIconSize(QSize(kIconSize, kIconSize));
  list_->setGridSize(QSize(44, 52));
  list_->setResizeMode(QListView::Adjust);
  list_->setMovement(QListView::Static);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(list_, &QListWidget::itemSelectionChanged, this, &TDlgIconPicker::SelectItem);
  connect(list_, &QListWidget::itemDoubleClicked, this, &TDlgIconPicker::OKBtnClick);

  imageSel_ = new QLabel(this);
  imageSel_->setGeometry(320, 104, kIconSize, kIconSize);
  labelSel_ = new QLabel(this);
  labelSel_->setGeometry(320, 144, 40, 16);
  labelSel_->setVisible(false);

  okBtn_ = new QPushButton(tr("确定(&Y)"), this);
  okBtn_->setGeometry(300, 8, 75, 25);
  okBtn_->setDefault(true);
  connect(okBtn_, &QPushButton::clicked, this, &TDlgIconPicker::OKBtnClick);
  auto* cancelBtn = new QPushButton(tr("放弃(&N)"), this);
  cancelBtn->setGeometry(300, 38, 75, 25);
  connect(cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

QString TDlgIconPicker::LabelSelText() const {
  return labelSel_->text();
}

void TDlgIconPicker::FormShow() {
  list_->clear();
  for (int i = 1; i <= count_; ++i) {
    QPixmap icon = ResourceBitmap(prefix_ + std::to_string(i), devicePixelRatioF());
    auto* item = new QListWidgetItem(QIcon(icon), QString::number(i), list_);
    item->setData(Qt::UserRole, i);
    item->setTextAlignment(Qt::AlignHCenter);
  }
  list_->clearSelection();
  list_->setCurrentItem(nullptr, QItemSelectionModel::NoUpdate);
  ShowPreview(1);
}

void TDlgIconPicker::ShowPreview(int number) {
  imageSel_->setPixmap(ResourceBitmap(prefix_ + std::to_string(number), devicePixelRatioF()));
  labelSel_->setText(QString::number(number));
}

void TDlgIconPicker::SelectItem() {
  const QList<QListWidgetItem*> chosen = list_->selectedItems();
  if (chosen.isEmpty()) return;  // a deselection changes nothing
  ShowPreview(chosen.front()->data(Qt::UserRole).toInt());
}

void TDlgIconPicker::OKBtnClick() {
  selected_ = 1;
  for (int row = 0; row < list_->count(); ++row) {
    if (list_->item(row)->isSelected()) {
      selected_ = list_->item(row)->data(Qt::UserRole).toInt();
      break;
    }
  }
  accept();
}

void TDlgIconPicker::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TDlgIconPicker::done(int result) {
  list_->clear();
  QDialog::done(result);
}

}  // namespace quarn::client
