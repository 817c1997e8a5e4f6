#include "settings/Settings.h"

#include <functional>

#include "settings/DateTimeText.h"
#include "settings/SettingsStore.h"

namespace tovik::settings {

namespace {

// One value written at once: the settings key opened with create (its result
// not tested, so a key that does not open fails with the write error),
// written, closed.
void writeThrough(platform::Registry& registry, const std::function<void(SettingsStore&)>& write) {
    SettingsStore store(registry);
    store.openForWriting(Hive::CurrentUser, settingsKeyPath, true);
    write(store);
    store.close();
}

constexpr std::string::size_type maxPathCharacters = 255;

// The byte length of the first `characters` UTF-8 characters of the text.
std::string::size_type utf8Prefix(const std::string& text, std::string::size_type characters) {
    std::string::size_type pos = 0;
    for (std::string::size_type count = 0; pos < text.size() && count < characters; ++count) {
        ++pos;
        while (pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80) ++pos;
    }
    return pos;
}

}  // namespace

std::string ExecutableDirectory(const std::string& executablePath) {
    std::string dir = executablePath.substr(0, utf8Prefix(executablePath, maxPathCharacters));
    const auto separator = dir.find_last_of("\\:");
    dir.resize(separator == std::string::npos ? 0 : separator + 1);
    while (!dir.empty() && dir.back() == '\\') dir.pop_back();
    return dir + "\\";
}

void Settings::LoadSettings(ui::TForm1& form) {
    // Each step opens the settings key afresh; the result of the open is not
    // tested: a key that did not open fails at the first write.
    {
        SettingsStore store(registry_);
        store.openForWriting(Hive::CurrentUser, settingsKeyPath, true);
        store.writeText("InstallDir", ExecutableDirectory(system_.executablePath()));
        if (!store.valueExists("InstallDate")) store.writeText("InstallDate", DateTimeText(clock_.now(), locale_));
        store.close();
    }
    loadOption("ForcePwrOff", true, form.cbForcePwrOff);
    loadOption("AutoMinimize", true, form.cbAutoMinimize);
    loadOption("HibernateForPwrOff", false, form.cbHibernateForPwrOff);
    form.btPrefTime1.setCaption(loadPresetTime("PrefTime1", "00:45"));
    form.btPrefTime2.setCaption(loadPresetTime("PrefTime2", "18:45"));
    form.btTimerOff2.setCaption("genau " + form.btPrefTime2.caption());
    {
        SettingsStore store(registry_);
        store.openForWriting(Hive::CurrentUser, settingsKeyPath, true);
        if (!store.valueExists("cbHibernateForPwrOffAllowed")) {
            store.writeBoolean("cbHibernateForPwrOffAllowed", false);
            store.writeBoolean("HibernateForPwrOff", false);
            form.cbHibernateForPwrOff.setChecked(store.readBoolean("HibernateForPwrOff"));
        }
        form.cbHibernateForPwrOff.setVisible(store.readBoolean("cbHibernateForPwrOffAllowed"));
        store.close();
    }
}

void Settings::loadOption(const std::string& name, bool defaultValue, ui::CheckBox& box) {
    SettingsStore store(registry_);
    store.openForWriting(Hive::CurrentUser, settingsKeyPath, true);
    if (!store.valueExists(name)) store.writeBoolean(name, defaultValue);
    box.setChecked(store.readBoolean(name));
    store.close();
}

std::string Settings::loadPresetTime(const std::string& name, const std::string& defaultValue) {
    SettingsStore store(registry_);
    store.openForWriting(Hive::CurrentUser, settingsKeyPath, false);
    if (!store.valueExists(name)) store.writeText(name, defaultValue);
    std::string time = store.readText(name);
    store.close();
    return time;
}

void Settings::StorePresetTime(const std::string& name, const std::string& clockText) {
    writeThrough(registry_, [&](SettingsStore& store) { store.writeText(name, clockText); });
}

void Settings::StoreFormHeight(const std::string& name, int height) {
    writeThrough(registry_, [&](SettingsStore& store) { store.writeInteger(name, height); });
}

void Settings::LoadFormHeights(ui::TForm1& form) {
    form.smallFormHeight = platform::IsNewerWindows(system_) ? 315 : 320;
    form.bigFormHeight = 430;
    SettingsStore store(registry_);
    store.openForReading(Hive::CurrentUser, settingsKeyPath);
    // Stored heights are taken as they are, without a range check.
    if (store.valueExists("FormHeight1")) form.smallFormHeight = store.readInteger("FormHeight1");
    if (store.valueExists("FormHeight2")) form.bigFormHeight = store.readInteger("FormHeight2");
    store.close();
}

std::string Settings::ReadOwnDisplayedOwner() {
    std::string owner;
    SettingsStore store(registry_);
    store.openForReading(Hive::CurrentUser, settingsKeyPath);
    if (store.valueExists("DisplayedOwner")) owner = store.readText("DisplayedOwner");
    store.close();
    return owner;
}

std::string Settings::ReadWindowsNtValue(const std::string& name, Hive hive) {
    std::string text;
    SettingsStore store(registry_);
    store.openForReading(hive, windowsNtKeyPath);
    if (store.valueExists(name)) text = store.readText(name);
    store.close();
    return text;
}

void Settings::writeOption(const std::string& name, bool checked) {
    writeThrough(registry_, [&](SettingsStore& store) { store.writeBoolean(name, checked); });
}

void Settings::cbForcePwrOffClick(const ui::CheckBox& box) { writeOption("ForcePwrOff", box.checked()); }

void Settings::cbAutoMinimizeClick(const ui::CheckBox& box) { writeOption("AutoMinimize", box.checked()); }

void Settings::cbHibernateForPwrOffClick(const ui::CheckBox& box) {
    writeOption("HibernateForPwrOff", box.checked());
}

void Settings::FormKeyDown(ui::TForm1& form, int /*key*/, unsigned shift) {
    const bool ctrlAlt = (shift & ui::ssCtrl) != 0 && (shift & ui::ssAlt) != 0;
    if (ctrlAlt && !form.tmCountDown.enabled()) {
        const int answer = application_.askQuestion(
            "CheckBox 'In den Tiefschlafzustand statt Aussschalten bei CountDown' erlauben?",
            "Tiefschlaf / Suspend bei CountDown", ui::mbYesNo + ui::mbIconQuestion + ui::mbDefButton2);
        SettingsStore store(registry_);
        store.openForWriting(Hive::CurrentUser, settingsKeyPath, true);
        if (answer == ui::answerYes) {
            store.writeBoolean("cbHibernateForPwrOffAllowed", true);
            store.writeBoolean("HibernateForPwrOff", false);
            form.cbHibernateForPwrOff.setChecked(store.readBoolean("HibernateForPwrOff"));
        } else {
            // The check box keeps its mark; the stored refusal counts from the next start.
            store.writeBoolean("cbHibernateForPwrOffAllowed", false);
            store.writeBoolean("HibernateForPwrOff", false);
        }
        store.close();
    }
    // For the height buttons' step size.
    form.shiftDown = (shift & ui::ssShift) != 0;
}

}  // namespace tovik::settings
