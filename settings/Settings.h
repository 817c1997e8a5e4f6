#pragma once
#include <string>

#include "platform/Clock.h"
#include "platform/Locale.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "ui/Application.h"
#include "ui/MainWindow.h"

namespace tovik::settings {

using Hive = platform::RegistryHive;

// The directory of the executable for InstallDir: the path taken as at most
// 255 characters, cut after its last backslash or colon, ending in exactly
// one backslash ("C:\" for a file in a drive's root). Forward slashes are
// not separators.
std::string ExecutableDirectory(const std::string& executablePath);

// The stored options, preset times, heights and owner name: read at start-up
// with missing defaults written, and the options written through the moment
// their check box is clicked. Nothing is kept in memory; every routine opens
// its key, works and closes it again.
class Settings {
public:
    Settings(platform::Registry& registry, const platform::SystemInfo& system, const platform::Clock& clock,
             const platform::Locale& locale, ui::Application& application)
        : registry_(registry), system_(system), clock_(clock), locale_(locale), application_(application) {}

    // Sets the option check boxes, the preset captions and the visibility of
    // cbHibernateForPwrOff from the stored values, writing missing defaults.
    void LoadSettings(ui::TForm1& form);
    // Sets smallFormHeight and bigFormHeight.
    void LoadFormHeights(ui::TForm1& form);
    // The owner name stored in the program's own key; empty when there is none.
    std::string ReadOwnDisplayedOwner();
    // A text value of the system's version key under the given hive.
    std::string ReadWindowsNtValue(const std::string& name, Hive hive);

    // Click handlers of the three option check boxes: store the new check mark.
    void cbForcePwrOffClick(const ui::CheckBox& box);
    void cbAutoMinimizeClick(const ui::CheckBox& box);
    void cbHibernateForPwrOffClick(const ui::CheckBox& box);

    // Stores a preset time (PrefTime1 or PrefTime2), creating the key when
    // it is missing.
    void StorePresetTime(const std::string& name, const std::string& clockText);
    // Stores a window height (FormHeight1 or FormHeight2) as an integer,
    // creating the key when it is missing.
    void StoreFormHeight(const std::string& name, int height);

    // Every key-down in the window: Ctrl+Alt outside a countdown asks whether
    // the hibernate option may be offered; then the Shift state is recorded.
    void FormKeyDown(ui::TForm1& form, int key, unsigned shift);

private:
    void writeOption(const std::string& name, bool checked);
    // One start-up step of an option: writes the default when the value is
    // missing, then sets the check mark from what is stored.
    void loadOption(const std::string& name, bool defaultValue, ui::CheckBox& box);
    // One start-up step of a preset time (the key exists by then, so it is
    // opened without create); returns the stored time.
    std::string loadPresetTime(const std::string& name, const std::string& defaultValue);

    platform::Registry& registry_;
    const platform::SystemInfo& system_;
    const platform::Clock& clock_;
    const platform::Locale& locale_;
    ui::Application& application_;
};

}  // namespace tovik::settings
