// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/hemisphere_list.h"

#include <QScrollBar>

namespace ostrel {

HemisphereList::HemisphereList(QWidget *parent) : QListWidget(parent) {
  // Scrolling by whole items makes the scroll bar's value the index of the
  // top item.
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

void HemisphereList::SetItems(const QStringList &items) {
  clear();
  addItems(items);
  FitRowsToViewport();
}

int HemisphereList::TopIndex() const {
  if (count() == 0)
    return 0;
  return qBound(0, verticalScrollBar()->value(), count() - 1);
}

void HemisphereList::SetListIndex(int index) {
  if (index < 0 || index >= count()) {
    setCurrentRow(-1);
    clearSelection();
    scrollToTop();
    return;
  }
  setCurrentRow(index);
  scrollToItem(item(index), QAbstractItemView::PositionAtTop);
}

void HemisphereList::resizeEvent(QResizeEvent *event) {
  QListWidget::resizeEvent(event);
  FitRowsToViewport();
}

// One item fills the visible row, so no part of the next item shows below
// it and the row reads as the list's one value.
void HemisphereList::FitRowsToViewport() {
  const int top = TopIndex();
  const QSize row(viewport()->width(), viewport()->height());
  for (int i = 0; i < count(); ++i)
    item(i)->setSizeHint(row);
  if (count() > 0)
    scrollToItem(item(top), QAbstractItemView::PositionAtTop);
}

} // namespace ostrel
