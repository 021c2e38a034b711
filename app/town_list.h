// SPDX-License-Identifier: GPL-3.0-or-later
// The towns offered while the town's name is typed, and the site fields a
// chosen town fills.  The search itself is the core's (FindPlaces): case
// and accents ignored, equal names first, the most populous first.
#pragma once

#include <QAbstractListModel>
#include <QString>

#include <vector>

#include "core/places/places.h"

namespace ostrel {

// One angle as two fields and a hemisphere list show it: whole degrees,
// minutes of arc rounded to 0.01' (in the field's single precision), and
// the hemisphere, West or South for a negative angle.
struct AngleFields {
  double degrees = 0;
  float minutes = 0;
  bool negative = false;

  bool operator==(const AngleFields &) const = default;
};

// degrees: -180 to 180.  Minutes that round to 60 carry into the degrees.
AngleFields AngleFieldsOf(double degrees);

// The list of towns of the completer of the town field: the display text
// names the town with its country ("Zürich, CH"), and with its region too
// where another town of the same name and country is in the list
// ("Springfield, Illinois, US"); the edit text is the name as the settings
// file can hold it (Windows1251Name), which the field takes.
class TownListModel : public QAbstractListModel {
  Q_OBJECT
public:
  // The row in this list, which an index of a proxy (the completer's)
  // gives too.
  static constexpr int kRowRole = Qt::UserRole;
  // The most towns offered at once.
  static constexpr std::size_t kCap = 20;

  explicit TownListModel(QObject *parent = nullptr);

  // The towns for the typed text (UTF-8 to FindPlaces); none for a blank one.
  void Search(const QString &typed);
  // The town of a row; null for a row not in the list.
  const Place *PlaceAt(int row) const;

  int rowCount(const QModelIndex &parent = QModelIndex()) const override;
  QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
  struct Row {
    const Place *place;
    QString display;
    QString edit;
  };
  std::vector<Row> rows_;
};

} // namespace ostrel
