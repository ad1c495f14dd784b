#include "qt/paper_list.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QLineEdit>
#include <QPointer>

#include <algorithm>

#include "qt/colours.h"

namespace valdremo::qt {
namespace {

// Makes every list item `extra` pixels taller than the style would, and
// leaves the drawing to the style's own delegate.
class SpacedItemDelegate : public QAbstractItemDelegate {
 public:
  SpacedItemDelegate(QAbstractItemDelegate* inner, int extra, QObject* parent)
      : QAbstractItemDelegate(parent), inner_(inner), extra_(extra) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    if (inner_ != nullptr) inner_->paint(painter, option, index);
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = inner_ != nullptr ? inner_->sizeHint(option, index) : QSize();
    size.rheight() += extra_;
    return size;
  }

 private:
  QPointer<QAbstractItemDelegate> inner_;
  int extra_;
};

// Qt's editable combo box picks the item whose text the user typed when
// Enter is pressed or the field loses the focus, and completes typed text
// from the items. Here the selection changes only by picking an item:
// typing changes the field's text and nothing else.
void KeepSelectionWhileTyping(QComboBox* combo) {
  combo->setCompleter(nullptr);
  QLineEdit* field = combo->lineEdit();
  QObject::disconnect(field, &QLineEdit::returnPressed, combo, nullptr);
  QObject::disconnect(field, &QLineEdit::editingFinished, combo, nullptr);
}

void SetColours(QComboBox* combo, const ComboBoxProperties& list) {
  QPalette palette = combo->palette();
  const QColor face = palette.color(QPalette::Window);
  palette.setColor(QPalette::Text, ColourOf(list.textColour, face));
  palette.setColor(QPalette::Base, ColourOf(list.backgroundColour, face));
  combo->setPalette(palette);
  // The dropped list is a window of its own and inherits no palette.
  combo->view()->setPalette(palette);
}

}  // namespace

QComboBox* CreateComboBox(const ComboBoxProperties& list, QRect field, int dropped,
                          QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setEditable(list.listType == 1);
  combo->setInsertPolicy(QComboBox::NoInsert);
  if (combo->lineEdit() != nullptr) KeepSelectionWhileTyping(combo);
  SetColours(combo, list);

  QAbstractItemView* view = combo->view();
  view->setItemDelegate(new SpacedItemDelegate(view->itemDelegate(), list.lineSpacing, combo));

  for (std::size_t i = 0; i < list.itemCount; ++i) {
    const QString text = QString::fromUtf8(list.itemTexts[i]);
    if (i < list.valueCount) {
      combo->addItem(text, list.itemValues[i]);
    } else {
      combo->addItem(text);
    }
  }
  // Adding to an empty list selects the first item; the stored selection
  // decides instead.
  const int last = combo->count() - 1;
  combo->setCurrentIndex(std::clamp(list.currentSelection, -1, last));

  if (QLineEdit* edit = combo->lineEdit()) {
    if (list.maximumTextLength > 0) edit->setMaxLength(list.maximumTextLength);
    edit->setText(QString::fromUtf8(list.text));
    edit->setSelection(list.selectionStart, list.selectionLength);
  }

  combo->setGeometry(field);
  // As many items as fit below the field in the height meant for both.
  const int row = std::max(1, view->sizeHintForRow(0));
  combo->setMaxVisibleItems(std::max(1, (dropped - field.height()) / row));
  return combo;
}

}  // namespace valdremo::qt
