#include "settings/Settings.h"

namespace tovik::settings {

// Until the registry store is built, these answer as a fresh profile would:
// the defaults, an empty owner, and nothing is stored.

void Settings::LoadSettings(ui::TForm1& form) {
    form.cbForcePwrOff.setChecked(true);
    form.cbAutoMinimize.setChecked(true);
    form.cbHibernateForPwrOff.setChecked(false);
    form.btPrefTime1.setCaption("00:45");
    form.btPrefTime2.setCaption("18:45");
    form.btTimerOff2.setCaption("genau " + form.btPrefTime2.caption());
    form.cbHibernateForPwrOff.setVisible(false);
}

void Settings::LoadFormHeights(ui::TForm1& form) {
    form.smallFormHeight = platform::IsNewerWindows(system_) ? 315 : 320;
    form.bigFormHeight = 430;
}

std::string Settings::ReadOwnDisplayedOwner() { return {}; }

std::string Settings::ReadWindowsNtValue(const std::string&, Hive) { return {}; }

}  // namespace tovik::settings
