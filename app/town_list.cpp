// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/town_list.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/text/numtext.h"

namespace ostrel {
namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

AngleFields AngleFieldsOf(double degrees) {
  // Hundredths of a minute of arc, rounded once, so that 59.995' carries
  // into the next degree instead of showing 60.
  const auto hundredths = static_cast<std::int64_t>(std::llround(std::fabs(degrees) * 6000));
  const std::int64_t wholeDegrees = hundredths / 6000;
  AngleFields fields;
  fields.degrees = static_cast<double>(wholeDegrees);
  fields.minutes = RoundToSingle(static_cast<double>(hundredths % 6000) / 100);
  fields.negative = degrees < 0 && hundredths != 0;
  return fields;
}

TownListModel::TownListModel(QObject *parent) : QAbstractListModel(parent) {}

void TownListModel::Search(const QString &typed) {
  const std::vector<const Place *> found = FindPlaces(typed.toStdString(), kCap);
  std::vector<std::string> folded(found.size());
  std::transform(found.begin(), found.end(), folded.begin(),
                 [](const Place *place) { return FoldName(place->name); });

  beginResetModel();
  rows_.clear();
  rows_.reserve(found.size());
  for (std::size_t i = 0; i < found.size(); ++i) {
    const Place &place = *found[i];
    bool namesake = false;
    for (std::size_t j = 0; j < found.size() && !namesake; ++j)
      namesake = j != i && folded[j] == folded[i] && found[j]->country == place.country;
    QString display = FromUtf8(place.name);
    if (namesake && !place.region.empty())
      display += QStringLiteral(", ") + FromUtf8(place.region);
    display += QStringLiteral(", ") + FromUtf8(place.country);
    rows_.push_back({&place, display, QString::fromStdString(Windows1251Name(place.name))});
  }
  endResetModel();
}

const Place *TownListModel::PlaceAt(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= rows_.size())
    return nullptr;
  return rows_[static_cast<std::size_t>(row)].place;
}

int TownListModel::rowCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant TownListModel::data(const QModelIndex &index, int role) const {
  const Place *place = PlaceAt(index.row());
  if (!index.isValid() || place == nullptr)
    return {};
  const Row &row = rows_[static_cast<std::size_t>(index.row())];
  switch (role) {
  case Qt::DisplayRole:
    return row.display;
  case Qt::EditRole:
    return row.edit;
  case kRowRole:
    return index.row();
  default:
    return {};
  }
}

} // namespace ostrel
