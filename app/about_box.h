// SPDX-License-Identifier: GPL-3.0-or-later
// The About boxes: the program's name and version, our notice, the logo,
// the credit of the list of towns and an OK button, in English (frmAbout)
// and in Russian (frmAbout_rus).  Each is a top-level window of its own,
// shown modeless; OK (or Enter) only hides it, so the next "About program"
// shows the same box again.  Its title-bar button closes and destroys it.
#pragma once

#include <QDialog>

namespace ostrel {

class AboutBox : public QDialog {
  Q_OBJECT
public:
  enum class Language { English, Russian };
  explicit AboutBox(Language language);

public slots:
  // "OK": hides the box, which stays for the next "About program".
  void Command1_Click();
};

} // namespace ostrel
