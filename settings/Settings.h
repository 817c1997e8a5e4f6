#pragma once
#include <string>

#include "platform/SystemInfo.h"
#include "ui/MainWindow.h"

namespace tovik::settings {

enum class Hive { CurrentUser, LocalMachine };

// The start-up reads of the stored options, preset times, heights and owner name.
class Settings {
public:
    explicit Settings(const platform::SystemInfo& system) : system_(system) {}

    // Sets the option check boxes, the preset captions and the visibility of
    // cbHibernateForPwrOff from the stored values, writing missing defaults.
    void LoadSettings(ui::TForm1& form);
    // Sets smallFormHeight and bigFormHeight.
    void LoadFormHeights(ui::TForm1& form);
    // The owner name stored in the program's own key; empty when there is none.
    std::string ReadOwnDisplayedOwner();
    // A text value of the system's version key under the given hive.
    std::string ReadWindowsNtValue(const std::string& name, Hive hive);

private:
    const platform::SystemInfo& system_;
};

}  // namespace tovik::settings
