// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings_file.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <cmath>

#include "core/text/numtext.h"

namespace ostrel {
namespace {

// Windows-1251, bytes 0x80 to 0xFF (the lower half is ASCII).  0x98 is not
// assigned and passes through as U+0098, as Qt's converter does.
constexpr std::array<char16_t, 128> kUpperHalf{{
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 0x88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 0x98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // 0xA0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // 0xA8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // 0xB8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // 0xC0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // 0xC8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // 0xD0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // 0xD8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // 0xE0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // 0xE8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // 0xF0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // 0xF8
}};

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool IsLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }

// Reads the values of the file one after another from its decoded text.
class ValueReader {
public:
  explicit ValueReader(QStringView text) : text_(text) {}

  // A text value: leading blanks skipped; a quoted text runs to the closing
  // quote ("" inside stands for one quote), an unquoted one to the next
  // comma or line end, without its trailing blanks.
  std::optional<QString> Text() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
    if (pos_ >= text_.size()) return std::nullopt;
    QString value;
    if (text_[pos_] == u'"') {
      ++pos_;
      for (; pos_ < text_.size(); ++pos_) {
        if (text_[pos_] != u'"') {
          value += text_[pos_];
        } else if (pos_ + 1 < text_.size() && text_[pos_ + 1] == u'"') {
          value += u'"';
          ++pos_;
        } else {
          ++pos_;
          break;
        }
      }
      SkipSeparator();
      return value;
    }
    while (pos_ < text_.size() && text_[pos_] != u',' && !IsLineEnd(text_[pos_])) {
      value += text_[pos_++];
    }
    while (!value.isEmpty() && IsBlank(value.back())) value.chop(1);
    SkipSeparator();
    return value;
  }

  // A number value: leading blanks and line ends skipped; it runs to the
  // next blank, comma or line end.
  std::optional<double> Number() {
    while (pos_ < text_.size() && (IsBlank(text_[pos_]) || IsLineEnd(text_[pos_]))) ++pos_;
    if (pos_ >= text_.size()) return std::nullopt;
    const qsizetype start = pos_;
    while (pos_ < text_.size() && !IsBlank(text_[pos_]) && text_[pos_] != u',' &&
           !IsLineEnd(text_[pos_])) {
      ++pos_;
    }
    const double value = ParseNumber(text_.mid(start, pos_ - start).toLatin1().toStdString());
    SkipSeparator();
    if (!std::isfinite(value)) return std::nullopt;
    return value;
  }

  std::optional<float> Single() {
    const auto value = Number();
    if (!value) return std::nullopt;
    const float single = RoundToSingle(*value);
    if (!std::isfinite(single)) return std::nullopt;
    return single;
  }

  std::optional<std::int16_t> Integer() {
    const auto value = Number();
    if (!value) return std::nullopt;
    const double whole = std::nearbyint(*value); // halves to even
    if (whole < -32768 || whole > 32767) return std::nullopt;
    return static_cast<std::int16_t>(whole);
  }

private:
  // The blanks after a value, then one comma or one line end.
  void SkipSeparator() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
    if (pos_ >= text_.size()) return;
    const QChar next = text_[pos_];
    if (next == u',' || next == u'\n') {
      ++pos_;
    } else if (next == u'\r') {
      ++pos_;
      if (pos_ < text_.size() && text_[pos_] == u'\n') ++pos_;
    }
  }

  QStringView text_;
  qsizetype pos_ = 0;
};

// A number item: " " for zero or more, "-" for a negative value, the
// number's text without its sign, " ".
template <typename T>
QByteArray NumberItem(T value) {
  QByteArray item(value < 0 ? "-" : " ");
  item += NumText(std::fabs(value)).c_str();
  item += ' ';
  return item;
}

QByteArray IntegerItem(std::int16_t value) { return NumberItem(static_cast<double>(value)); }

QString Quoted(const QString &town) {
  const bool plain = !town.contains(u',') && !town.startsWith(u'"') &&
                     !(town.size() && (IsBlank(town.front()) || IsBlank(town.back()))) &&
                     !town.contains(u'\r') && !town.contains(u'\n');
  if (plain) return town;
  QString quoted = town;
  quoted.replace(u'"', QStringLiteral("\"\""));
  return u'"' + quoted + u'"';
}

} // namespace

std::optional<Settings> ReadSettings(QByteArrayView bytes) {
  const QString text = DecodeWindows1251(bytes);
  ValueReader reader(text);
  auto town = reader.Text();
  auto longGrad = town ? reader.Number() : std::nullopt;
  auto longMin = longGrad ? reader.Single() : std::nullopt;
  auto list1 = longMin ? reader.Integer() : std::nullopt;
  auto latGrad = list1 ? reader.Number() : std::nullopt;
  auto latMin = latGrad ? reader.Single() : std::nullopt;
  auto list2 = latMin ? reader.Integer() : std::nullopt;
  auto timezon = list2 ? reader.Single() : std::nullopt;
  auto interval = timezon ? reader.Integer() : std::nullopt;
  auto azimuth = interval ? reader.Integer() : std::nullopt;
  auto language = azimuth ? reader.Text() : std::nullopt;
  if (!language) return std::nullopt;
  Settings s{*town,   *longGrad, *longMin,  *list1,   *latGrad, *latMin,
             *list2,  *timezon,  *interval, *azimuth, *language};
  if (const auto theory = reader.Text())
    s.theory = TheoryFromKey(theory->toStdString()).value_or(Theory::Classic);
  return s;
}

std::optional<QByteArray> WriteSettings(const Settings &s) {
  const auto town = EncodeWindows1251(Quoted(s.Town));
  // The token is the line's last value: an empty one is quoted, else the
  // reader would take the line end for the separator after the number.
  const auto language = EncodeWindows1251(
      s.Language.isEmpty() ? QStringLiteral("\"\"") : Quoted(s.Language));
  if (!town || !language) return std::nullopt;
  QByteArray line = *town;
  line += ',';
  line += NumberItem(s.LongGrad);
  line += NumberItem(s.LongMin);
  line += IntegerItem(s.List1);
  line += NumberItem(s.LatGrad);
  line += NumberItem(s.LatMin);
  line += IntegerItem(s.List2);
  line += NumberItem(s.Timezon);
  line += IntegerItem(s.TimerInterval);
  line += ' ';
  line += IntegerItem(s.AzimuthMode);
  line += *language;
  if (s.theory != Theory::Classic) {
    line += ',';
    line += TheoryKey(s.theory);
  }
  line += "\r\n";
  return line;
}

QString DecodeWindows1251(QByteArrayView bytes, Converter converter) {
  if (converter == Converter::Qt) {
    QStringDecoder decoder("windows-1251");
    if (decoder.isValid()) return decoder.decode(bytes);
  }
  QString text;
  text.reserve(bytes.size());
  for (const char byte : bytes) {
    const auto code = static_cast<unsigned char>(byte);
    text += code < 0x80 ? QChar(code) : QChar(kUpperHalf[code - 0x80]);
  }
  return text;
}

std::optional<QByteArray> EncodeWindows1251(QStringView text, Converter converter) {
  if (converter == Converter::Qt) {
    QStringEncoder encoder("windows-1251");
    if (encoder.isValid()) {
      QByteArray bytes = encoder.encode(text);
      if (encoder.hasError()) return std::nullopt;
      return bytes;
    }
  }
  QByteArray bytes;
  bytes.reserve(text.size());
  for (const QChar c : text) {
    if (c.unicode() < 0x80) {
      bytes += static_cast<char>(c.unicode());
      continue;
    }
    qsizetype index = 0;
    while (index < 128 && kUpperHalf[index] != c.unicode()) ++index;
    if (index == 128) return std::nullopt;
    bytes += static_cast<char>(0x80 + index);
  }
  return bytes;
}

} // namespace ostrel
