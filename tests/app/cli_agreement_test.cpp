// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's `now` shows the very texts the window shows for the
// same typed site and moment, in every azimuth convention.
#include <QLocale>

#include <nlohmann/json.hpp>

#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "window_test_support.h"

namespace ostrel::testing {
namespace {

struct Agreement {
  const char *what;
  Input typed;                    // the window's fields
  std::vector<std::string> words; // the same values on the command line
};

const Agreement kAgreements[] = {
    {"degrees and minutes",
     {},
     {"--lat", "47:0N", "--lon", "28:50E", "--tz", "3", "--at", "2011-06-21T12:00"}},
    {"south and west with decimal minutes",
     {.longGrad = "73", .longMin = "59.5", .latGrad = "33", .latMin = "52.2", .timezon = "-5",
      .list1 = 1, .list2 = 1, .day = "3", .month = "10", .year = "2024", .hour = "6",
      .minute = "15", .second = "42"},
     {"--lat", "33:52.2S", "--lon", "73:59.5W", "--tz", "-5", "--at", "2024-10-03T06:15:42"}},
    {"decimal degrees",
     {.longGrad = "151.21", .longMin = "0", .latGrad = "-33.87", .latMin = "0",
      .timezon = "10", .day = "31", .month = "12", .year = "2100", .hour = "23",
      .minute = "59", .second = "59"},
     {"--lat", "-33.87", "--lon", "151.21", "--tz", "10", "--at", "2100-12-31T23:59:59"}},
    {"polar night, zone -12",
     {.longGrad = "179", .longMin = "30", .latGrad = "80", .latMin = "0", .timezon = "-12",
      .list1 = 1, .day = "1", .month = "1", .year = "1700", .hour = "0", .minute = "0",
      .second = "0"},
     {"--lat", "80:0N", "--lon", "179:30W", "--tz", "-12", "--at", "1700-01-01T00:00"}},
    {"midnight sun, fractional zone",
     {.longGrad = "18", .longMin = "57", .latGrad = "69", .latMin = "39", .timezon = "5.75",
      .day = "21", .month = "6", .year = "2026", .hour = "23", .minute = "30"},
     {"--lat", "69:39N", "--lon", "18:57E", "--tz", "5.75", "--at", "2026-06-21T23:30"}},
};

TEST(CliAgreement, NowTextsAreTheWindows) {
  const QLocale before;
  QLocale::setDefault(QLocale::c()); // "." as the window's decimal sign
  const struct {
    const char *name;
    void (MainWindow::*choose)();
  } conventions[] = {{"north", &MainWindow::me1_12_Click},
                     {"south", &MainWindow::me1_13_Click},
                     {"south-signed", &MainWindow::me1_14_Click}};
  for (const Agreement &a : kAgreements) {
    for (const auto &convention : conventions) {
      auto window = MakeWindow();
      SelectManual(*window);
      (window.get()->*convention.choose)();
      Fill(*window, a.typed);
      const QStringList messages = RunClosingMessages([&] { window->Command2_Click(); });
      ASSERT_TRUE(messages.isEmpty()) << a.what << ": " << messages.join(" ").toStdString();

      std::vector<std::string> words{"now"};
      words.insert(words.end(), a.words.begin(), a.words.end());
      words.insert(words.end(), {"--azimuth", convention.name, "--format", "json"});
      std::ostringstream out, err;
      ASSERT_EQ(cli::Run(words, out, err, {}), cli::kDone) << err.str();
      const nlohmann::json texts = nlohmann::json::parse(out.str())["texts"];
      for (const auto &[name, text] : SunReport::Labels) {
        EXPECT_EQ(texts.at(name).get<std::string>(), TextOf(*window, name).toStdString())
            << a.what << ", " << convention.name << ": " << name;
      }
    }
  }
  QLocale::setDefault(before);
}

} // namespace
} // namespace ostrel::testing
