// SPDX-License-Identifier: GPL-3.0-or-later
// The main window "Ostrel": the input fields of the site and the moment, the
// result labels, the choice between real-time tracking and manual input,
// and the menus.  The window only moves values between its controls and the
// Ephemeris: input fields -> CalcState -> MAINCALC -> SunReport -> labels.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/run/ephemeris.h"
#include "core/text/numtext.h"
#include "app/field_text.h"
#include "app/local_clock.h"
#include "app/observer_settings.h"
#include "app/settings_file.h"
#include "app/zone_offset.h"

class QAction;
class QCloseEvent;
class QComboBox;
class QCompleter;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace ostrel {

class AboutBox;
class DayWindow;
class MapWindow;
class YearWindow;
class ResultLabel;
class HemisphereList;
class TownListModel;
struct Place;

class MainWindow : public QMainWindow {
  Q_OBJECT
public:
  // Builds the window in its design state and runs the load step with the
  // settings file at settingsPath.  `clock` gives the local date and time
  // for real-time tracking; an empty one means the computer's clock.
  explicit MainWindow(const QString &settingsPath,
                      std::function<LocalMoment()> clock = {},
                      QWidget *parent = nullptr);
  ~MainWindow() override;

  // The calculation state and the texts of the last run, read-only.
  const Ephemeris &ephemeris() const { return ephemeris_; }
  // The site and moment as handed to the last run of MAINCALC (the run
  // itself reuses some of these fields for other hours of the day).
  const CalcState &lastInput() const { return lastInput_; }
  // The tracking period chosen in the timer interval menu, milliseconds.
  std::int16_t timerInterval() const { return TimerInterval; }

  // A town chosen from the town field's list: its name as the settings
  // file can hold it, its longitude and latitude, its zone's offset at the
  // date and time in the window, then a tick while tracking or "Calculate"
  // in manual mode.  The time zone field follows the zone from then on.
  void ChooseTown(const Place &place);

public slots:
  // "Cancel": ends the program at once, saving nothing.
  void Command1_Click();
  // "Calculate": reads, checks and computes the typed site and moment.
  void Command2_Click();
  // One tick of real-time tracking.
  void Timer1_Timer();
  // "Real time tracking" and "Manual" selected.
  void Option1_Click();
  void Option2_Click();
  // The timer interval items: 1, 3, 5 and 10 seconds.
  void me1_2_Click();
  void me1_3_Click();
  void me1_4_Click();
  void me1_5_Click();
  // "&Save settings": writes the site, the period, the azimuth convention,
  // the language and the theory to the settings file.
  void me1_7_Click();
  // "&Exit": ends the program at once, like "Cancel".
  void me1_6_Click();
  // "English" and "Russian": re-caption the window; ApplyRussian is the
  // Russian switch, also run at load when the settings file says so.
  void me1_9_Click();
  void me1_10_Click();
  void ApplyRussian();
  // The azimuth conventions: from north, from south, signed from south.
  // The value reaches the next calculation only.
  void me1_12_Click();
  void me1_13_Click();
  void me1_14_Click();
  // The theories: classic (1980 epoch) and precise.  The results, the title
  // and the day and year windows follow at once.
  void me1_16_Click();
  void me1_17_Click();
  // "Time zone of this computer": the computer's offset at the date and
  // time in the window into the time zone field; a chosen town lets go of
  // its zone.  Nothing is calculated.
  void me1_18_Click();
  // "About program": the About box of the current language.
  void me2_1_Click();
  // "Sun's day..." and "Year table...": the day and the year windows, one
  // of each, brought to the front where they are when already shown.
  void me3_1_Click();
  void me3_2_Click();
  // "World map...": the map window, one, as the other two.
  void me3_3_Click();
  // A point clicked on the map, degrees: the nearest town of the list
  // within 50 km chosen as from the town field's list, else the point
  // itself with the town "–" and the zone of its longitude rounded to the
  // hour; then a tick while tracking or "Calculate" in manual mode.
  void ChooseMapPoint(double latitude, double longitude);
  // The observer accepted in the day window's dialog: kept in its own
  // settings file (observer.ini beside the one-line file) at once, and the
  // year window follows.
  void ChooseObserver(const ObserverChoice &choice);

protected:
  // Closing the main window ends the program with every window.
  void closeEvent(QCloseEvent *event) override;

private:
  // The five site fields as read, each written back at once.
  struct SiteInput {
    FieldReading<double> LongGrad;
    FieldReading<float> LongMin;
    FieldReading<double> LatGrad;
    FieldReading<float> LatMin;
    FieldReading<float> Timezon;
  };
  struct SitePosition {
    double LongHours = 0; // hours, east positive
    double LatRad = 0;    // radians, north positive
  };

  void BuildControls();
  void BuildMenus();
  // The town field's completer and the site fields whose typing lets go of
  // a chosen town's zone.
  void BuildTownChoice();
  void Form_Load();
  // Applies the values of a settings file in the load order; false when a
  // value cannot be applied (a list index other than -1, 0 or 1, a negative
  // period), which ends the load there.
  bool ApplySettings(const Settings &settings);
  // The window's values as the settings file keeps them; nothing when a
  // field holds a number its precision cannot keep.
  std::optional<Settings> CurrentSettings() const;
  // Sets the captions of one language column (the switch of both languages).
  void SwitchLanguage(bool russian);
  void ChooseAzimuthMode(std::int16_t mode);
  // The theory of every calculation from now on, with its check mark, the
  // title and the day and year windows; nothing is calculated (the load
  // step applies a saved theory this way).
  void ChooseTheory(Theory theory);
  // A theory chosen in the menu: the last calculation again in it.
  void SwitchTheory(Theory theory);
  // "Ostrel", or "Ostrel — precise" in the language's words.
  void ShowTitle(bool russian);
  // Stops the timer and closes every window, the About boxes too.
  void EndProgram();

  // The tracking period: a period of 0 stops Timer1.
  void SetTimerPeriod(int milliseconds);
  void ChooseTimerInterval(std::int16_t milliseconds, QAction *item);
  // The tracking inputs (Calculate and the site fields) in their fixed order.
  void EnableTrackingInputs(bool enabled);
  // A refused input: the modal message box "Ostrel" with one OK button.
  void ShowMessage(const QString &text);
  // A refused input on a tick: its message, then manual mode.
  void FallBackToManual(const char *text);
  // Reads LongGrad, LongMin, LatGrad, LatMin and Timezon, in this order.
  SiteInput ReadSite(WriteBack writeBack);
  // Checks the site read and turns it into the units of the calculation
  // with the hemispheres of List1 and List2.  `latitudeBound` is the
  // greatest accepted latitude in radians.  Returns the message of the
  // first bad value, or null when the site is good.
  const char *CheckSite(const SiteInput &site, double latitudeBound,
                        SitePosition &position) const;
  // Writes the checked site into CalcState: LongHours, LatRad, Timezon and
  // DayBoundary.
  void WriteSite(const SiteInput &site, const SitePosition &position);
  // The zone of the town chosen from the list, while it holds: nothing once
  // a site field has been typed, or a hemisphere list shows another
  // hemisphere than the town's.  The first call looks up the saved town.
  ZoneFollower *LinkedZone();
  void DropTownLink();
  // A saved town found in the list again, by its folded name and its
  // coordinates as the fields show them, takes its zone back.
  void RelinkSavedTown();
  // The time zone field given an offset, hours; a text it holds stays.
  void ShowZoneOffset(float hours);
  // The whole date and time the fields hold, a day past the month's end
  // brought back as "Calculate" does it; nothing when they hold no such
  // moment.
  std::optional<LocalMoment> TypedMoment() const;
  // The moment the window shows: the typed one, else the clock's.
  LocalMoment MomentShown();
  // Runs the calculation on the state filled by a handler and shows every
  // text of the run in the label of the same name.
  void Calculate();

  QString settingsPath_;
  // The observer of the day and year windows, read from observer.ini at
  // the load step.
  ObserverChoice observer_;
  std::function<LocalMoment()> clock_;
  Ephemeris ephemeris_;
  CalcState lastInput_;
  // The tracking period, milliseconds: 1000, 3000, 5000 or 10000 once the
  // load step has run.
  std::int16_t TimerInterval = 0;
  // True while a message box of this window is open: no tick may run then.
  bool messageOpen_ = false;

  // What the last tick left in the input fields: its site reading and the
  // day, month, year, hour, minute and second it wrote.  They stand for the
  // fields while inputsTouched_ is false, that is, while nothing but a tick
  // has changed a field's text since.
  SiteInput trackedSite_;
  std::array<int, 6> shownClock_{};
  bool inputsTouched_ = true;
  bool tickWriting_ = false; // the tick's own writes touch nothing

  QTimer *Timer1 = nullptr;
  QComboBox *DateDay = nullptr, *DateMonth = nullptr, *DateYear = nullptr;
  QLineEdit *TimeHour = nullptr, *TimeMin = nullptr, *TimeSec = nullptr;
  QLineEdit *LongGrad = nullptr, *LongMin = nullptr, *LatGrad = nullptr,
            *LatMin = nullptr, *Timezon = nullptr;
  HemisphereList *List1 = nullptr, *List2 = nullptr;
  QRadioButton *Option1 = nullptr, *Option2 = nullptr;
  QPushButton *Command1 = nullptr, *Command2 = nullptr;
  std::array<ResultLabel *, SunReport::Labels.size()> resultLabels_{};
  // The text each result label shows, as the report gave it.
  std::array<std::string, SunReport::Labels.size()> shownTexts_{};
  QAction *me1_2 = nullptr, *me1_3 = nullptr, *me1_4 = nullptr,
          *me1_5 = nullptr;
  QAction *me1_12 = nullptr, *me1_13 = nullptr, *me1_14 = nullptr;
  QAction *me1_16 = nullptr, *me1_17 = nullptr;
  QLineEdit *Town = nullptr;
  QCompleter *townCompleter_ = nullptr;
  TownListModel *townList_ = nullptr;
  // The zone of the town chosen last, and the hemispheres it showed.
  struct TownLink {
    ZoneFollower zone;
    int west = 0, south = 0; // the lists' indices
  };
  std::optional<TownLink> townLink_;
  // A settings file was loaded whole: its town is yet to be looked up.
  bool relinkPending_ = false;
  QLabel *AzimSun = nullptr;
  // Created on first use; a box closed by its title-bar button is gone and
  // made afresh next time.
  QPointer<AboutBox> frmAbout, frmAbout_rus;
  // Made on first use and kept: closed, each only hides and shows again
  // where it was.
  QPointer<DayWindow> frmDay;
  QPointer<YearWindow> frmYear;
  QPointer<MapWindow> frmMap;
  // A calculation has run since the window was built.
  bool calculated_ = false;
  // The day and year windows that are shown follow the last calculation.
  void UpdateViews();
  bool IsRussian() const;
};

} // namespace ostrel
