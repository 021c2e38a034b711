// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file's line: exact bytes, round trips, the tolerant reader,
// its failures, and Windows-1251 through both converters.
#include <gtest/gtest.h>

#include <QStringDecoder>

#include "app/settings_file.h"
#include "core/text/numtext.h"

namespace ostrel {
namespace {

QByteArray Cp1251(const char *utf8) { return *EncodeWindows1251(QString::fromUtf8(utf8)); }

TEST(SettingsFile, ExampleLinesByteForByte) {
  EXPECT_EQ(*WriteSettings(Settings{}),
            QByteArray("Kishinev, 28  50  0  47  0  0  3  1000   0 Azimuth\r\n"));

  Settings russian;
  russian.List1 = 1;
  russian.List2 = 1;
  russian.Timezon = -5;
  russian.TimerInterval = 10000;
  russian.AzimuthMode = -180;
  russian.Language = QString::fromUtf8("Азимут");
  EXPECT_EQ(*WriteSettings(russian),
            Cp1251("Kishinev, 28  50  1  47  0  1 -5  10000  -180 Азимут\r\n"));
  // "Азимут" in Windows-1251.
  EXPECT_TRUE(WriteSettings(russian)->endsWith("\xC0\xE7\xE8\xEC\xF3\xF2\r\n"));
}

Settings With(const char *town, double longGrad, float longMin, std::int16_t west, double latGrad,
              float latMin, std::int16_t south, float zone, std::int16_t interval,
              std::int16_t mode, const char *language) {
  return {QString::fromUtf8(town), longGrad, longMin, west, latGrad, latMin, south, zone,
          interval, mode, QString::fromUtf8(language)};
}

TEST(SettingsFile, EveryValueSurvivesARoundTrip) {
  const Settings cases[] = {
      With("Kishinev", 28, 50, 0, 47, 0, 0, 3, 1000, 0, "Azimuth"),
      With("Санкт-Петербург", 30, 18.5f, 0, 59, 56.75f, 0, 3, 3000, 180, "Азимут"),
      With("Buenos Aires", 58, 22.1f, 1, 34, 36.2f, 1, -3, 5000, -180, "Azimuth"),
      With("Honolulu", 157.858, 0, 1, 21.3, 0.01f, 0, -10.5f, 10000, 0, "Азимут"),
      With("Auckland", 174, 45, 0, -36.85, 59.99f, 1, 12, 1000, 90, "Azimuth"),
      With("Chisinau, MD", -0.5, 0.25f, 0, 0, 0, 0, -12, 0, -32768, "Azimuth"),
      With("\"Quoted\" town", 1, 2, 0, 3, 4, 0, 5, 32767, 180, "Azimuth"),
      With("Say \"hi\", Bob", 1, 2, 0, 3, 4, 0, 5, 1000, 0, "Азимут"),
      With("  Padded  ", 1, 2, 0, 3, 4, 0, 5, 1000, 0, "Azimuth"),
      With("", 0, 0, 0, 0, 0, 0, 0, 1000, 0, "Azimuth"),
      // The token is the line's last value: empty, or holding a comma.
      With("Kishinev", 28, 50, 0, 47, 0, 0, 3, 1000, 0, ""),
      With("Kishinev", 28, 50, 0, 47, 0, 0, 3, 1000, 0, "a,b"),
      With("Kishinev", 1.7976931348623157e308, 0, 0, 47, 0, 0, 3, 1000, 0, "Azimuth"),
  };
  for (const Settings &written : cases) {
    const auto bytes = WriteSettings(written);
    ASSERT_TRUE(bytes) << written.Town.toStdString();
    EXPECT_TRUE(bytes->endsWith("\r\n"));
    EXPECT_EQ(bytes->count('\n'), 1);
    const auto read = ReadSettings(*bytes);
    ASSERT_TRUE(read) << bytes->toStdString();
    EXPECT_EQ(read->Town, written.Town);
    // Numbers come back as their 15-digit texts read them.
    EXPECT_EQ(read->LongGrad, ParseNumber(NumText(written.LongGrad)));
    EXPECT_EQ(read->LongMin, written.LongMin);
    EXPECT_EQ(read->List1, written.List1);
    EXPECT_EQ(read->LatGrad, written.LatGrad);
    EXPECT_EQ(read->LatMin, written.LatMin);
    EXPECT_EQ(read->List2, written.List2);
    EXPECT_EQ(read->Timezon, written.Timezon);
    EXPECT_EQ(read->TimerInterval, written.TimerInterval);
    EXPECT_EQ(read->AzimuthMode, written.AzimuthMode);
    EXPECT_EQ(read->Language, written.Language);
  }
}

TEST(SettingsFile, ReaderToleratesCommasLinesAndQuotes) {
  const char *texts[] = {
      "Kishinev, 28  50  1  47  0  1 -5  10000  -180 Azimuth\r\n",
      "Kishinev,28,50,1,47,0,1,-5,10000,-180,Azimuth\r\n",
      "Kishinev\r\n28\r\n50\r\n1\r\n47\r\n0\r\n1\r\n-5\r\n10000\r\n-180\r\nAzimuth\r\n",
      "Kishinev\n28\n50\n1\n47\n0\n1\n-5\n10000\n-180\nAzimuth",
      "\"Kishinev\" , 28 , 50 , 1 , 47 , 0 , 1 , -5 , 10000 , -180 , \"Azimuth\"",
      "  Kishinev  ,\t28\t50 1 47 0 1 -5 10000 -180 Azimuth",
      "Kishinev, 28.0  50  1  47  0.00  1 -5  1E4  -180 Azimuth\r\nignored",
  };
  for (const char *text : texts) {
    const auto read = ReadSettings(QByteArray(text));
    ASSERT_TRUE(read) << text;
    EXPECT_EQ(read->Town, "Kishinev") << text;
    EXPECT_EQ(read->LongGrad, 28) << text;
    EXPECT_EQ(read->LongMin, 50) << text;
    EXPECT_EQ(read->List1, 1) << text;
    EXPECT_EQ(read->LatGrad, 47) << text;
    EXPECT_EQ(read->List2, 1) << text;
    EXPECT_EQ(read->Timezon, -5) << text;
    EXPECT_EQ(read->TimerInterval, 10000) << text;
    EXPECT_EQ(read->AzimuthMode, -180) << text;
    EXPECT_EQ(read->Language, "Azimuth") << text;
  }
}

TEST(SettingsFile, ReaderValuesAsTheWindowParsesThem) {
  const auto read = ReadSettings(QByteArray("Town, 12abc  59.99  0.5  x  1.5  2.5  20  0  90 Other\r\n"));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->LongGrad, 12);       // the leading number
  EXPECT_EQ(read->LongMin, 59.99f);    // single precision
  EXPECT_EQ(read->List1, 0);           // 0.5 to the even 0
  EXPECT_EQ(read->LatGrad, 0);         // no number
  EXPECT_EQ(read->LatMin, 1.5f);
  EXPECT_EQ(read->List2, 2);           // 2.5 to the even 2; the window refuses it
  EXPECT_EQ(read->Timezon, 20);        // not checked here; the first tick refuses it
  EXPECT_EQ(read->TimerInterval, 0);
  EXPECT_EQ(read->AzimuthMode, 90);
  EXPECT_EQ(read->Language, "Other");
}

TEST(SettingsFile, FailuresGiveNothing) {
  const QByteArray whole = "Kishinev, 28  50  0  47  0  0  3  1000   0 Azimuth\r\n";
  // Fewer than eleven values: cut before each value in turn.
  const char *cuts[] = {"",
                        "Kishinev,",
                        "Kishinev, 28 ",
                        "Kishinev, 28  50  0  47  0  0  3  1000   0 ",
                        "Kishinev, 28  50  0  47  0  0  3  1000 \r\n",
                        "   \r\n"};
  for (const char *cut : cuts) EXPECT_FALSE(ReadSettings(QByteArray(cut))) << '"' << cut << '"';
  const char *bad[] = {
      "Kishinev, 28  50  0  47  0  0  3  40000   0 Azimuth",   // beyond 16 bits
      "Kishinev, 28  50  0  47  0  0  3  1000  -32769 Azimuth", // beyond 16 bits
      "Kishinev, 28  1e40  0  47  0  0  3  1000   0 Azimuth",  // beyond single precision
      "Kishinev, 1e400  50  0  47  0  0  3  1000   0 Azimuth", // beyond double precision
  };
  for (const char *text : bad) EXPECT_FALSE(ReadSettings(QByteArray(text))) << text;
  EXPECT_TRUE(ReadSettings(whole));
}

// The theory after the language, written only when it is the precise one;
// any other word, or none, reads as a classic line and writes one.
TEST(SettingsFile, TheTheoryAfterTheLanguage) {
  const QByteArray line = "Kishinev, 28  50  0  47  0  0  3  1000   0 Azimuth";
  const std::pair<const char *, Theory> cases[] = {
      {"\r\n", Theory::Classic},  {",precise\r\n", Theory::Precise}, {",foo\r\n", Theory::Classic},
      {",\r\n", Theory::Classic}, {",classic", Theory::Classic}};
  for (const auto &[end, theory] : cases) {
    const auto read = ReadSettings(line + end);
    ASSERT_TRUE(read) << end;
    EXPECT_EQ(read->theory, theory) << end;
    EXPECT_EQ(*WriteSettings(*read),
              line + (theory == Theory::Precise ? ",precise\r\n" : "\r\n")) << end;
  }
}

TEST(SettingsFile, TownWindows1251CannotHoldIsNotWritten) {
  Settings s;
  s.Town = QString::fromUtf8("Győr");  // o with double acute is not in the code page
  EXPECT_FALSE(WriteSettings(s));
  s.Town = QString::fromUtf8("東京");
  EXPECT_FALSE(WriteSettings(s));
  s.Town = QString::fromUtf8("Київ №1 «центр»");  // all in the code page
  EXPECT_TRUE(WriteSettings(s));
}

// Qt's converter (present with ICU) and the table agree on every byte and
// every character of the upper half, and both refuse what the code page
// lacks.
TEST(Windows1251, BothConvertersAgree) {
  QByteArray all;
  for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
  const QString table = DecodeWindows1251(all, Converter::Table);
  ASSERT_EQ(table.size(), 256);
  EXPECT_EQ(table.mid(0xC0), QString::fromUtf8("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"
                                               "абвгдежзийклмнопрстуфхцчшщъыьэюя"));
  EXPECT_EQ(table[0xA8], QChar(0x0401)); // Ё
  EXPECT_EQ(table[0xB9], QChar(0x2116)); // №
  EXPECT_EQ(table[0x88], QChar(0x20AC)); // €
  EXPECT_EQ(*EncodeWindows1251(table, Converter::Table), all);
  EXPECT_FALSE(EncodeWindows1251(u"\u0151", Converter::Table));

  if (!QStringDecoder("windows-1251").isValid()) {
    GTEST_SKIP() << "this Qt has no Windows-1251 converter; the table serves alone";
  }
  EXPECT_EQ(DecodeWindows1251(all, Converter::Qt), table);
  EXPECT_EQ(*EncodeWindows1251(table, Converter::Qt), all);
  EXPECT_FALSE(EncodeWindows1251(u"\u0151", Converter::Qt));
}

} // namespace
} // namespace ostrel
