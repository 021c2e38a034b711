// SPDX-License-Identifier: GPL-3.0-or-later
// Number texts, the field parse and the rounding helpers.
#include <gtest/gtest.h>

#include <cfloat>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <cmath>
#include <limits>
#include <string>
#include <type_traits>

#include "core/text/numtext.h"

namespace ostrel {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct DoubleTextCase {
  double value;
  const char *text;
};

TEST(NumText, DoubleFifteenSignificantDigits) {
  const DoubleTextCase cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {1, "1"},
      {-1.5, "-1.5"},
      {0.1 + 0.2, "0.3"},
      {2.0 / 3, "0.666666666666667"},
      {51544.5, "51544.5"},
      {-58028, "-58028"},
      {1e20, "100000000000000000000"},
      {123456789012345678.0, "123456789012346000"},
      {1.5e-7, "0.00000015"},
      {-0.00001, "-0.00001"},
      {88434.49999 - 0.5, "88433.99999"},
      {147100086, "147100086"},
      {0.9999999999999999, "1"},
  };
  for (const auto &c : cases) EXPECT_EQ(NumText(c.value), c.text) << c.value;
  // The largest doubles would round to 15 digits past the double range, a
  // text that reads back as infinity: they take the largest one within it.
  EXPECT_EQ(NumText(DBL_MAX), "179769313486231" + std::string(294, '0'));
  EXPECT_EQ(NumText(-DBL_MAX), "-179769313486231" + std::string(294, '0'));
  EXPECT_TRUE(std::isfinite(ParseNumber(NumText(DBL_MAX))));
  // A subnormal has fewer bits than 15 digits: its shortest text "1e-320" is
  // not its value to 15 digits, 9.99988867182683e-321.
  EXPECT_EQ(NumText(1e-320), "0." + std::string(320, '0') + "999988867182683");
}

TEST(NumText, SingleSevenSignificantDigits) {
  const struct {
    float value;
    const char *text;
  } cases[] = {
      {59.99f, "59.99"},        {1.0f / 3, "0.3333333"}, {16777216.0f, "16777220"},
      {-0.0f, "0"},             {23.4f, "23.4"},         {-12.5f, "-12.5"},
      {1e-8f, "0.00000001"},    {3.0f, "3"},
      // Near 2^33 a float's last place is coarser than the 7-digit grid.
      {8589934592.0f, "8589935000"}, {8590000128.0f, "8590000000"},
  };
  for (const auto &c : cases) EXPECT_EQ(NumText(c.value), c.text) << c.value;
}

// Against the C library's exact rounding ("%.14e" for a double, "%.6e" for
// a float's exact value), which the text must name to the digit.  Besides
// random numbers of every magnitude, the generators aim at the rounding
// boundaries themselves: the doubles and floats nearest a decimal with one
// digit more than the precision and a last 5, and their neighbours, where
// rounding the shortest text would go wrong if it were done carelessly, and
// runs of nines that carry into a new first digit.
TEST(NumText, AgreesWithExactRounding) {
  std::mt19937_64 random(7);
  std::uniform_int_distribution<int> decimalExponent(-320, 290);
  std::uniform_int_distribution<int> floatExponent(-44, 37);
  std::uniform_int_distribution<std::uint64_t> digits15(100000000000000, 999999999999999);
  std::uniform_int_distribution<std::uint32_t> digits7(1000000, 9999999);
  const auto neighbours = [](auto value, int steps) {
    for (int k = 0; k < steps; ++k)
      value = std::nextafter(value, decltype(value)(k % 2 ? -INFINITY : INFINITY));
    return value;
  };
  // A float is rounded to 7 digits of its exact value, a double to 15.
  const auto expectExact = [](auto value) {
    constexpr bool single = std::is_same_v<decltype(value), float>;
    char exact[64];
    std::snprintf(exact, sizeof exact, single ? "%.6e" : "%.14e", double(value));
    const std::string text = NumText(value);
    ASSERT_EQ(std::strtod(text.c_str(), nullptr), std::strtod(exact, nullptr))
        << text << " vs " << exact;
  };
  for (int i = 0; i < 50000; ++i) {
    // Any finite double, from its bits.
    std::uint64_t bits = random();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    if (std::isfinite(value)) expectExact(value);
    // Any finite float.
    const auto floatBits = static_cast<std::uint32_t>(random());
    float single;
    std::memcpy(&single, &floatBits, sizeof single);
    if (std::isfinite(single)) expectExact(single);

    // A value and its neighbours on either side, a few steps out.
    const auto checkAround = [&](auto boundary, auto nines) {
      for (int step = 0; step < 4; ++step) {
        if (std::isfinite(boundary)) expectExact(neighbours(boundary, step));
        if (std::isfinite(nines)) expectExact(neighbours(nines, step));
      }
    };
    // Next to a 15-digit rounding boundary, and a run of nines.
    char decimal[64];
    const int exponent = decimalExponent(random);
    std::snprintf(decimal, sizeof decimal, "%llu5e%d",
                  static_cast<unsigned long long>(digits15(random)), exponent);
    const double boundary = std::strtod(decimal, nullptr);
    std::snprintf(decimal, sizeof decimal, "9.99999999999999%de%d", i % 10, exponent);
    const double nines = std::strtod(decimal, nullptr);
    checkAround(boundary, nines);
    // Next to a 7-digit rounding boundary of floats, and a run of nines.
    const int exponent7 = floatExponent(random);
    std::snprintf(decimal, sizeof decimal, "%u5e%d", digits7(random), exponent7 - 7);
    const float boundary7 = std::strtof(decimal, nullptr);
    std::snprintf(decimal, sizeof decimal, "9.999999%de%d", i % 10, exponent7);
    const float nines7 = std::strtof(decimal, nullptr);
    checkAround(boundary7, nines7);
  }
}

TEST(NumText, DecimalSeparatorOfTheRegion) {
  EXPECT_EQ(NumText(-5.25, ","), "-5,25");
  EXPECT_EQ(NumText(0.125f, ","), "0,125");
  EXPECT_EQ(NumText(12.0, ","), "12");
  EXPECT_EQ(NumText(3.5, "\u066B"), "3\u066B5"); // Arabic decimal separator, two bytes
}

struct ParseCase {
  const char *text;
  double value;
};

TEST(ParseNumber, LeadingNumberOfTheText) {
  const ParseCase cases[] = {
      {"028", 28},      {"00", 0},         {"", 0},           {"5.50", 5.5},
      {"12abc", 12},    {"1 5", 15},       {"50,5", 50},      {" -3.5 ", -3.5},
      {"\t1\n2", 12},   {"1e3", 1000},     {"1D3", 1000},     {"1d-2", 0.01},
      {"2E+2", 200},    {"1e", 1},         {"1e+", 1},        {"-", 0},
      {".", 0},         {".5", 0.5},       {"+7", 7},         {"--5", 0},
      {"1.2.3", 1.2},   {"abc", 0},        {"- 4", -4},       {"1 e 2", 100},
      {"59.99", 59.99}, {"1e-400", 0},     {"1000e-400", 0},  {"\r5", 0},
      {"1e400", kInf},  {"-1e400", -kInf}, {"0.0001e400", kInf},
      {"1000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000000000000000000000000",
       kInf},
  };
  for (const auto &c : cases) EXPECT_EQ(ParseNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(ParseNumber, NegativeZeroWritesBackAsZero) {
  const double value = ParseNumber("-0");
  EXPECT_EQ(value, 0);
  EXPECT_EQ(NumText(value), "0");
}

struct FieldCase {
  const char *typed;
  const char *written;
  bool holdable;
};

TEST(ReadField, WriteBackInTheFieldsPrecision) {
  const FieldCase doubles[] = {
      {"028", "28", true},      {"", "0", true},      {"5.50", "5.5", true},
      {"12abc", "12", true},    {"1 5", "15", true},  {"1e40", "10000000000000000000000000000000000000000", true},
      {"1e400", "1e400", false}, {"-1e999", "-1e999", false},
  };
  for (const auto &c : doubles) {
    const auto reading = ReadDoubleField(c.typed);
    EXPECT_EQ(reading.text, c.written) << c.typed;
    EXPECT_EQ(reading.holdable, c.holdable) << c.typed;
  }
  const FieldCase singles[] = {
      {"59.99", "59.99", true},
      {"59.995", "59.995", true},
      {"0.1", "0.1", true},
      {"3.4028234e38", "340282300000000000000000000000000000000", true},
      {"1e40", "10000000000000000000000000000000000000000", false},
      {"-1e40", "-10000000000000000000000000000000000000000", false},
      {"1e400", "1e400", false},
  };
  for (const auto &c : singles) {
    const auto reading = ReadSingleField(c.typed);
    EXPECT_EQ(reading.text, c.written) << c.typed;
    EXPECT_EQ(reading.holdable, c.holdable) << c.typed;
  }
  EXPECT_EQ(ReadSingleField("59.99").value, 59.99f);
  EXPECT_GT(ReadSingleField("59.995").value, ReadSingleField("59.99").value);
}

TEST(RoundHalfEven, HalvesGoToTheEvenNumber) {
  const struct {
    double value;
    std::int16_t rounded;
  } cases[] = {
      {0.5, 0},     {1.5, 2},     {2.5, 2},       {-0.5, 0},       {-1.5, -2},
      {532.5, 532}, {533.5, 534}, {59.5, 60},     {59.49, 59},     {-1800.4, -1800},
      {NAN, 0},     {1e9, 32767}, {-1e9, -32768},
  };
  for (const auto &c : cases) EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;
}

TEST(RoundToSingle, OverflowIsInfinityNotUndefined) {
  EXPECT_EQ(RoundToSingle(59.99), 59.99f);
  EXPECT_EQ(RoundToSingle(1e40), std::numeric_limits<float>::infinity());
  EXPECT_EQ(RoundToSingle(-1e40), -std::numeric_limits<float>::infinity());
  EXPECT_EQ(RoundToSingle(FLT_MAX * 1.00000001), FLT_MAX);
  EXPECT_TRUE(std::isnan(RoundToSingle(NAN)));
}

} // namespace
} // namespace ostrel
