// What Tovik keeps in the registry between runs, as seen from outside: the
// values a first start writes (and nothing more), what the next start keeps
// and rewrites, a stored option, owner name or height of the wrong type, the
// three option check boxes written through at the click, and the hidden
// Ctrl+Alt question that allows the hibernate option.
//
// Every test runs in simulation mode (a "TAppBuilder" window is open), so no
// countdown that runs out and no stray click can end the Wine session.
#include "tests/e2e/TovikTest.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <regex>
#include <sstream>

namespace tovik::e2e {
namespace {

using ValueMap = std::map<std::string, reg::Value>;

// Every value of a key, by name.
ValueMap valuesOf(HKEY root, const wchar_t* path) {
    ValueMap out;
    HKEY key;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return out;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        reg::Value value;
        DWORD size = 0;
        if (RegEnumValueW(key, index, name, &nameLength, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
            break;
        value.data.resize(size);
        nameLength = 256;
        RegEnumValueW(key, index, name, &nameLength, nullptr, &value.type, value.data.data(), &size);
        value.data.resize(size);
        out.emplace(utf8(std::wstring_view(name, nameLength)), std::move(value));
    }
    RegCloseKey(key);
    return out;
}

std::vector<std::string> subkeysOf(HKEY root, const wchar_t* path) {
    std::vector<std::string> out;
    HKEY key;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return out;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        out.push_back(utf8(std::wstring_view(name, nameLength)));
    }
    RegCloseKey(key);
    return out;
}

std::string typeName(DWORD type) {
    switch (type) {
    case REG_SZ: return "REG_SZ";
    case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
    case REG_DWORD: return "REG_DWORD";
    case REG_BINARY: return "REG_BINARY";
    default: return "type " + std::to_string(type);
    }
}

// The text of a REG_SZ value as stored, terminating zeros included, so that a
// missing or doubled terminator shows.
std::wstring storedCharacters(const reg::Value& value) {
    return std::wstring(reinterpret_cast<const wchar_t*>(value.data.data()), value.data.size() / sizeof(wchar_t));
}

std::string describe(const ValueMap& values) {
    std::ostringstream out;
    for (const auto& [name, value] : values) {
        out << "  " << name << " " << typeName(value.type) << " ";
        if (value.type == REG_DWORD && value.data.size() == 4) {
            DWORD d;
            std::memcpy(&d, value.data.data(), 4);
            out << d;
        } else if (value.type == REG_SZ || value.type == REG_EXPAND_SZ) {
            std::wstring text = storedCharacters(value);
            for (wchar_t& c : text)
                if (c == L'\0') c = L'|';
            out << "\"" << utf8(text) << "\" (| = zero)";
        } else {
            out << value.data.size() << " bytes";
        }
        out << "\n";
    }
    return out.str();
}

void expectText(const ValueMap& values, const std::string& name, const std::string& text) {
    SCOPED_TRACE(name);
    const auto found = values.find(name);
    ASSERT_NE(found, values.end()) << "missing";
    EXPECT_EQ(typeName(found->second.type), "REG_SZ");
    // The characters and exactly one terminating zero.
    EXPECT_EQ(utf8(storedCharacters(found->second)), text + std::string(1, '\0'));
}

void expectDword(const ValueMap& values, const std::string& name, DWORD expected) {
    SCOPED_TRACE(name);
    const auto found = values.find(name);
    ASSERT_NE(found, values.end()) << "missing";
    EXPECT_EQ(typeName(found->second.type), "REG_DWORD");
    ASSERT_EQ(found->second.data.size(), 4u);
    DWORD d;
    std::memcpy(&d, found->second.data.data(), 4);
    EXPECT_EQ(d, expected);
}

// The directory of Tovik.exe with one trailing backslash.
std::string tovikDirectory() {
    const std::string path = utf8(tovikExecutable());
    return path.substr(0, path.find_last_of('\\') + 1);
}

// The date-time text of the user's regional settings for a moment: short
// date, a blank and the long time; the date alone at midnight sharp.
std::string dateTimeText(const SYSTEMTIME& when) {
    wchar_t date[128] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr, date, 128);
    if (when.wHour == 0 && when.wMinute == 0 && when.wSecond == 0) return utf8(date);
    wchar_t time[128] = {};
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &when, nullptr, time, 128);
    return utf8(date) + " " + utf8(time);
}

// The date-time texts of every second from one moment to another.
std::vector<std::string> dateTimeTextsBetween(const SYSTEMTIME& from, const SYSTEMTIME& to) {
    auto ticks = [](const SYSTEMTIME& t) {
        SYSTEMTIME whole = t;
        whole.wMilliseconds = 0;
        FILETIME f;
        SystemTimeToFileTime(&whole, &f);
        return (ULONGLONG(f.dwHighDateTime) << 32) | f.dwLowDateTime;
    };
    constexpr ULONGLONG second = 10'000'000;
    std::vector<std::string> out;
    for (ULONGLONG t = ticks(from); t <= ticks(to); t += second) {
        FILETIME f{DWORD(t & 0xFFFFFFFF), DWORD(t >> 32)};
        SYSTEMTIME s;
        FileTimeToSystemTime(&f, &s);
        out.push_back(dateTimeText(s));
    }
    return out;
}

std::optional<DWORD> stored(const wchar_t* name) { return reg::getDword(HKEY_CURRENT_USER, reg::settingsKey, name); }

constexpr const wchar_t* allowedValue = L"cbHibernateForPwrOffAllowed";
constexpr const wchar_t* hibernateValue = L"HibernateForPwrOff";

class Settings : public TovikTest {
protected:
    void SetUp() override {
        TovikTest::SetUp();
        openDevEnvironment();
    }

    // Ends the running Tovik so that start() can run again.
    void endTovik() {
        tovik.reset();
        main = Window();
    }

    // Esc, then Ctrl+Alt with a letter: the hidden question, if it comes.
    MessageBoxView pauseAndPressCtrlAlt() {
        pressKeyInTovik(VK_ESCAPE);
        const Window oops = control(ids::btOops);
        if (waitForText(oops, [](const std::string& t) { return t == "Oder vielleicht doch?"; }, 2s) !=
            "Oder vielleicht doch?")
            ADD_FAILURE() << "Esc did not pause the countdown: " << oops.text();
        pressKeyInTovik('K', Ctrl | Alt);
        return tovik.waitForMessageBox(2s);
    }

    static void expectPermissionQuestion(const MessageBoxView& box) {
        EXPECT_EQ(box.text(), "CheckBox 'In den Tiefschlafzustand statt Aussschalten bei CountDown' erlauben?");
        EXPECT_EQ(box.caption(), "Tiefschlaf / Suspend bei CountDown");
        const auto buttons = box.buttons();
        ASSERT_EQ(buttons.size(), 2u) << ::testing::PrintToString(box.buttonTexts());
        EXPECT_EQ(buttons[0].id, IDYES);
        EXPECT_EQ(buttons[1].id, IDNO);
        EXPECT_FALSE(buttons[0].isDefault) << "Yes is the default button";
        EXPECT_TRUE(buttons[1].isDefault) << "No is not the default button";
        EXPECT_EQ(box.icon(), IconKind::Question) << toString(box.icon());
    }

    // Answers the box and waits until it has gone.
    static void answerAndWaitForClose(const MessageBoxView& box, int buttonId) {
        ASSERT_TRUE(box.window()) << "the box closed before it was answered";
        box.answer(buttonId);
        EXPECT_TRUE(waitUntil([&] { return !box.window(); }, 2s)) << "the box stays open after the answer";
    }

    // Starts Tovik with a stored value that stops start-up: the error box
    // comes first, the window shows all the same once it is answered, and no
    // countdown runs (the line keeps its design text, no announcement comes
    // and no watchdog ends the program).
    void startStoppedByErrorBox(const std::string& error) {
        tovik.start();
        const MessageBoxView box = expectErrorBox(error);
        ASSERT_TRUE(box);
        answerAndWaitForClose(box, IDOK);

        main = tovik.waitForMainWindow(5s);
        ASSERT_TRUE(main) << "the window does not show after the error";
        EXPECT_EQ(main.owner(), findTopLevel(tovik.id(), ids::applicationWindowClass, false));
        const Window line = control(ids::stSeconds);
        EXPECT_EQ(line.text(), "X");
        sleepFor(1000ms);
        EXPECT_EQ(line.text(), "X");
        EXPECT_TRUE(tovik.running());
        EXPECT_FALSE(findMessageBox(tovik.id())) << "a second box came";
    }

    // Start-up stopped after the settings were loaded: they are all stored,
    // the run is not counted, and the height buttons are still shown.
    void expectStoppedAfterTheSettings() {
        const ValueMap values = valuesOf(HKEY_CURRENT_USER, reg::settingsKey);
        for (const char* loaded : {"InstallDir", "InstallDate", "ForcePwrOff", "AutoMinimize", "HibernateForPwrOff",
                                   "PrefTime1", "PrefTime2", "cbHibernateForPwrOffAllowed"})
            EXPECT_TRUE(values.count(loaded)) << loaded << " is missing:\n" << describe(values);
        EXPECT_FALSE(values.count("RunCounter")) << describe(values);
        for (int id : {ids::btFormPlus, ids::btFormMinus, ids::btFormHeight1Store, ids::btFormHeight2Store})
            EXPECT_TRUE(control(id).visible()) << "height button " << id << " is hidden";
    }

    // The window closes as usual, and the program ends.
    void closeAndExpectTheEnd() {
        PostMessageW(main.handle(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(tovik.waitForExit(5s)) << "the program stays after its window was closed";
        EXPECT_EQ(tovik.exitCode(), 0u);
    }
};

// ---------------------------------------------------------------- what a start writes

TEST_F(Settings, FirstStartWritesTheDefaultsAndNothingElse) {
    SYSTEMTIME before;
    GetLocalTime(&before);
    ASSERT_TRUE(start());
    SYSTEMTIME after;
    GetLocalTime(&after);
    // Start-up has written everything once the window shows.
    endTovik();

    const ValueMap values = valuesOf(HKEY_CURRENT_USER, reg::settingsKey);
    std::vector<std::string> names;
    for (const auto& entry : values) names.push_back(entry.first);
    EXPECT_EQ(names, (std::vector<std::string>{"AutoMinimize", "ForcePwrOff", "HibernateForPwrOff", "InstallDate",
                                                "InstallDir", "PrefTime1", "PrefTime2", "RunCounter",
                                                "cbHibernateForPwrOffAllowed"}))
        << describe(values);

    expectText(values, "InstallDir", tovikDirectory());
    expectDword(values, "ForcePwrOff", 1);
    expectDword(values, "AutoMinimize", 1);
    expectDword(values, "HibernateForPwrOff", 0);
    expectDword(values, "cbHibernateForPwrOffAllowed", 0);
    expectText(values, "PrefTime1", "00:45");
    expectText(values, "PrefTime2", "18:45");
    expectDword(values, "RunCounter", 1);

    const auto installDate = reg::getString(HKEY_CURRENT_USER, reg::settingsKey, L"InstallDate");
    ASSERT_TRUE(installDate) << describe(values);
    expectText(values, "InstallDate", *installDate);
    // German short date and long time: 7.3.2024 09:05:01 or 07.03.2024 09:05:01.
    EXPECT_TRUE(std::regex_match(*installDate, std::regex(R"(\d{1,2}\.\d{1,2}\.\d{4} \d{2}:\d{2}:\d{2})")))
        << *installDate;
    const auto possible = dateTimeTextsBetween(before, after);
    EXPECT_NE(std::find(possible.begin(), possible.end(), *installDate), possible.end())
        << *installDate << " is not a moment of the start, which showed from " << possible.front() << " to "
        << possible.back();

    EXPECT_TRUE(subkeysOf(HKEY_CURRENT_USER, reg::settingsKey).empty());
    EXPECT_EQ(subkeysOf(HKEY_CURRENT_USER, reg::zebKey), std::vector<std::string>{"Tovik"});
    EXPECT_FALSE(reg::keyExists(HKEY_CURRENT_USER, reg::diagnosticKey));
}

TEST_F(Settings, NextStartCountsTheRunKeepsTheInstallDateAndRewritesTheInstallDir) {
    ASSERT_TRUE(start());
    const double firstShown = now();
    const auto installDate = reg::getString(HKEY_CURRENT_USER, reg::settingsKey, L"InstallDate");
    ASSERT_TRUE(installDate);
    endTovik();

    // As if the program had been started from another directory before.
    reg::setString(HKEY_CURRENT_USER, reg::settingsKey, L"InstallDir", "C:\\Programme\\Alt\\");
    // A date written anew would name a later second.
    sleepFor(Millis(std::max(0, int((firstShown + 1.1 - now()) * 1000))));

    ASSERT_TRUE(start());
    endTovik();
    EXPECT_EQ(stored(L"RunCounter"), std::optional<DWORD>(2));
    EXPECT_EQ(reg::getString(HKEY_CURRENT_USER, reg::settingsKey, L"InstallDate"), installDate);
    EXPECT_EQ(reg::getString(HKEY_CURRENT_USER, reg::settingsKey, L"InstallDir"), tovikDirectory());
}

// ---------------------------------------------------------------- a value of the wrong type

TEST_F(Settings, ForcePwrOffStoredAsTextStopsTheStartWithAnErrorBox) {
    reg::setString(HKEY_CURRENT_USER, reg::settingsKey, L"ForcePwrOff", "1");
    ASSERT_NO_FATAL_FAILURE(startStoppedByErrorBox("Ungültiger Datentyp für 'ForcePwrOff'"));

    // What ran before the failing read is stored, nothing after it.
    const ValueMap values = valuesOf(HKEY_CURRENT_USER, reg::settingsKey);
    EXPECT_TRUE(values.count("InstallDir")) << describe(values);
    EXPECT_TRUE(values.count("InstallDate")) << describe(values);
    EXPECT_EQ(reg::getString(HKEY_CURRENT_USER, reg::settingsKey, L"ForcePwrOff"), std::optional<std::string>("1"));
    for (const char* later : {"AutoMinimize", "HibernateForPwrOff", "PrefTime1", "PrefTime2",
                              "cbHibernateForPwrOffAllowed", "RunCounter"})
        EXPECT_FALSE(values.count(later)) << later << " was written:\n" << describe(values);

    closeAndExpectTheEnd();
}

// The owner name and the heights are read after the settings: a wrong type
// there stops start-up with every setting in place, but before the run is
// counted and before the height buttons are hidden.
TEST_F(Settings, OwnerStoredAsNumberStopsTheStartBeforeTheRunIsCounted) {
    reg::setDword(HKEY_CURRENT_USER, reg::settingsKey, L"DisplayedOwner", 7);
    ASSERT_NO_FATAL_FAILURE(startStoppedByErrorBox("Ungültiger Datentyp für 'DisplayedOwner'"));
    expectStoppedAfterTheSettings();
    closeAndExpectTheEnd();
}

TEST_F(Settings, SecondHeightStoredAsTextStopsTheStartBeforeTheRunIsCounted) {
    reg::setString(HKEY_CURRENT_USER, reg::settingsKey, L"FormHeight2", "430");
    ASSERT_NO_FATAL_FAILURE(startStoppedByErrorBox("Ungültiger Datentyp für 'FormHeight2'"));
    expectStoppedAfterTheSettings();
    closeAndExpectTheEnd();
}

// ---------------------------------------------------------------- the option check boxes

struct Option {
    const char* name;
    int id;
    const wchar_t* value;
};

TEST_F(Settings, OptionClicksAreStoredAtOnceAndShowAtTheNextStart) {
    // The hibernate option shows only once it has been allowed.
    reg::setDword(HKEY_CURRENT_USER, reg::settingsKey, allowedValue, 1);
    ASSERT_TRUE(start());

    const Option force{"cbForcePwrOff", ids::cbForcePwrOff, L"ForcePwrOff"};
    const Option autoMinimize{"cbAutoMinimize", ids::cbAutoMinimize, L"AutoMinimize"};
    const Option hibernate{"cbHibernateForPwrOff", ids::cbHibernateForPwrOff, hibernateValue};
    const Option options[] = {force, autoMinimize, hibernate};
    for (const Option& option : options) {
        SCOPED_TRACE(option.name);
        ASSERT_TRUE(control(option.id).visible());
        ASSERT_TRUE(control(option.id).enabled());
    }
    EXPECT_TRUE(control(force.id).checked());
    EXPECT_TRUE(control(autoMinimize.id).checked());
    EXPECT_FALSE(control(hibernate.id).checked());

    // Each click, the hibernate option's and a second one on the first box
    // included, is in the registry at once; the other options stay.
    struct Step {
        Option option;
        DWORD force, autoMinimize, hibernate;
    };
    const Step steps[] = {{force, 0, 1, 0}, {autoMinimize, 0, 0, 0}, {hibernate, 0, 0, 1}, {force, 1, 0, 1}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.option.name);
        const Window box = control(step.option.id);
        const bool wasChecked = box.checked();
        click(box);
        EXPECT_TRUE(waitUntil([&] { return box.checked() != wasChecked; }, 1s)) << "the click did not reach the box";
        EXPECT_TRUE(waitUntil(
            [&] {
                return stored(force.value) == step.force && stored(autoMinimize.value) == step.autoMinimize &&
                       stored(hibernate.value) == step.hibernate;
            },
            500ms))
            << describe(valuesOf(HKEY_CURRENT_USER, reg::settingsKey));
        EXPECT_EQ(stored(step.option.value), std::optional<DWORD>(box.checked() ? 1 : 0));
    }
    endTovik();

    ASSERT_TRUE(start());
    EXPECT_TRUE(control(force.id).checked());
    EXPECT_FALSE(control(autoMinimize.id).checked());
    EXPECT_TRUE(control(hibernate.id).checked());
    EXPECT_TRUE(control(hibernate.id).visible());
}

// ---------------------------------------------------------------- Ctrl+Alt: allow the hibernate option

TEST_F(Settings, CtrlAltWhilePausedAsksAndYesAllowsTheHibernateOptionFromTheNextStart) {
    // Not yet allowed, so hidden, but checked.
    reg::setDword(HKEY_CURRENT_USER, reg::settingsKey, allowedValue, 0);
    reg::setDword(HKEY_CURRENT_USER, reg::settingsKey, hibernateValue, 1);
    ASSERT_TRUE(start());
    const Window option = control(ids::cbHibernateForPwrOff);
    ASSERT_FALSE(option.visible());
    ASSERT_TRUE(option.checked());

    const MessageBoxView box = pauseAndPressCtrlAlt();
    ASSERT_TRUE(box) << "no question after Ctrl+Alt";
    expectPermissionQuestion(box);
    answerAndWaitForClose(box, IDYES);

    EXPECT_TRUE(waitUntil([&] { return stored(allowedValue) == 1u && stored(hibernateValue) == 0u; }, 1s))
        << describe(valuesOf(HKEY_CURRENT_USER, reg::settingsKey));
    EXPECT_FALSE(option.checked()) << "Yes leaves the option checked";
    EXPECT_FALSE(option.visible()) << "the option shows before the next start";
    // One question for one key press.
    EXPECT_FALSE(tovik.waitForMessageBox(300ms));
    endTovik();

    ASSERT_TRUE(start());
    EXPECT_TRUE(control(ids::cbHibernateForPwrOff).visible());
    EXPECT_FALSE(control(ids::cbHibernateForPwrOff).checked());
}

TEST_F(Settings, CtrlAltWhilePausedAsksAndNoWithdrawsTheHibernateOptionFromTheNextStart) {
    // Allowed and checked.
    reg::setDword(HKEY_CURRENT_USER, reg::settingsKey, allowedValue, 1);
    reg::setDword(HKEY_CURRENT_USER, reg::settingsKey, hibernateValue, 1);
    ASSERT_TRUE(start());
    const Window option = control(ids::cbHibernateForPwrOff);
    ASSERT_TRUE(option.visible());
    ASSERT_TRUE(option.checked());

    const MessageBoxView box = pauseAndPressCtrlAlt();
    ASSERT_TRUE(box) << "no question after Ctrl+Alt";
    expectPermissionQuestion(box);
    answerAndWaitForClose(box, IDNO);

    EXPECT_TRUE(waitUntil([&] { return stored(allowedValue) == 0u && stored(hibernateValue) == 0u; }, 1s))
        << describe(valuesOf(HKEY_CURRENT_USER, reg::settingsKey));
    // The window keeps the option as it was until the next start.
    EXPECT_TRUE(option.visible());
    EXPECT_TRUE(option.checked());
    endTovik();

    ASSERT_TRUE(start());
    EXPECT_FALSE(control(ids::cbHibernateForPwrOff).visible());
    EXPECT_FALSE(control(ids::cbHibernateForPwrOff).checked());
}

TEST_F(Settings, CtrlAltAsksNothingWhileTheCountdownRuns) {
    reg::setDword(HKEY_CURRENT_USER, reg::settingsKey, allowedValue, 1);
    reg::setDword(HKEY_CURRENT_USER, reg::settingsKey, hibernateValue, 1);
    ASSERT_TRUE(start());
    const auto before = waitForTicksAtMost(145, 5s);
    ASSERT_TRUE(before) << "the countdown does not run";

    pressKeyInTovik('K', Ctrl | Alt);
    EXPECT_FALSE(tovik.waitForMessageBox(1s)) << "a question came while the countdown ran";
    const auto later = parseSecondsLine(control(ids::stSeconds).text());
    ASSERT_TRUE(later);
    EXPECT_LE(later->ticks, before->ticks - 5) << "the countdown stopped";
    EXPECT_EQ(stored(allowedValue), std::optional<DWORD>(1));
    EXPECT_EQ(stored(hibernateValue), std::optional<DWORD>(1));

    // The same keys do ask once the countdown is paused.
    const MessageBoxView box = pauseAndPressCtrlAlt();
    ASSERT_TRUE(box) << "no question after Ctrl+Alt in the pause either";
    EXPECT_EQ(box.caption(), "Tiefschlaf / Suspend bei CountDown");
}

}  // namespace
}  // namespace tovik::e2e
