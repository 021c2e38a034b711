// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/picture_file.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QWidget>

#include "app/bilingual.h"

namespace ostrel {
namespace {

// %1 is the file's name, %2 the reason.
constexpr Bilingual kCouldNotSave{"Could not save \"%1\": %2", "Не удалось сохранить «%1»: %2"};
constexpr Bilingual kNotEncoded{"the picture could not be encoded",
                                "рисунок не удалось закодировать"};
constexpr Bilingual kUnknownSuffix{"the file name must end in .png or .svg",
                                   "имя файла должно кончаться на .png или .svg"};

} // namespace

QString CouldNotSave(const QString &path, const QString &reason, bool russian) {
  const QString name = QFileInfo(path).fileName().isEmpty() ? path : QFileInfo(path).fileName();
  return kCouldNotSave.In(russian).arg(name, reason);
}

bool SaveFileBytes(const QString &path, const QByteArray &bytes, bool russian, QString &why) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    why = CouldNotSave(path, file.errorString(), russian);
    return false;
  }
  if (file.write(bytes) != bytes.size()) {
    why = CouldNotSave(path, file.errorString(), russian);
    file.cancelWriting();
    return false;
  }
  if (!file.commit()) {
    why = CouldNotSave(path, file.errorString(), russian);
    return false;
  }
  return true;
}

bool SaveWidgetPicture(QWidget *widget, const QString &path, bool russian, QString &why) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (suffix == QLatin1String("png")) {
    const qreal ratio = widget->devicePixelRatioF();
    QImage image(widget->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(widget->palette().color(widget->backgroundRole()));
    widget->render(&image);
    if (!image.save(&buffer, "PNG")) {
      why = CouldNotSave(path, kNotEncoded.In(russian), russian);
      return false;
    }
  } else if (suffix == QLatin1String("svg")) {
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(widget->size());
    generator.setViewBox(QRect(QPoint(0, 0), widget->size()));
    generator.setTitle(widget->objectName());
    QPainter painter;
    if (!painter.begin(&generator)) {
      why = CouldNotSave(path, kNotEncoded.In(russian), russian);
      return false;
    }
    widget->render(&painter);
    painter.end();
  } else {
    why = CouldNotSave(path, kUnknownSuffix.In(russian), russian);
    return false;
  }
  return SaveFileBytes(path, bytes, russian, why);
}

void ShowSaveFailure(QWidget *parent, const QString &why) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Ostrel"), why, QMessageBox::Ok, parent);
  box.exec();
}

} // namespace ostrel
