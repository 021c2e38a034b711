// SPDX-License-Identifier: GPL-3.0-or-later
// A list box one row high whose value is the index of the item in its
// visible row, highlighted or not: the user picks a hemisphere by scrolling.
#pragma once

#include <QListWidget>
#include <QStringList>

namespace ostrel {

class HemisphereList : public QListWidget {
  Q_OBJECT
public:
  explicit HemisphereList(QWidget *parent = nullptr);

  // Empties the list and adds the items, each exactly one visible row high.
  void SetItems(const QStringList &items);

  // Index of the item in the visible row (TopIndex); 0 when the list is
  // empty.
  int TopIndex() const;

  // Selects the item of that index and scrolls it into the visible row
  // (ListIndex).  -1 selects nothing and shows the first item.
  void SetListIndex(int index);

protected:
  void resizeEvent(QResizeEvent *event) override;

private:
  void FitRowsToViewport();
};

} // namespace ostrel
