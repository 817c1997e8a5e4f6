#include "tests/e2e/TovikTest.h"

#include <regex>

namespace tovik::e2e {

const std::vector<NamedControl> actionButtons = {
    {"btOops", ids::btOops},         {"btPwrOff", ids::btPwrOff},       {"btNewStart", ids::btNewStart},
    {"btLogOff", ids::btLogOff},     {"btLock", ids::btLock},           {"btTimerOff1", ids::btTimerOff1},
    {"btTimerOff2", ids::btTimerOff2}, {"btHibernate", ids::btHibernate},
};

const std::vector<DesignedControl> designedControls = {
    {"btFormPlus", ids::btFormPlus, at(324, 210, 30, 20)},
    {"btFormMinus", ids::btFormMinus, at(289, 210, 30, 20)},
    {"btFormHeight1Store", ids::btFormHeight1Store, at(358, 210, 105, 20)},
    {"btFormHeight2Store", ids::btFormHeight2Store, at(464, 210, 97, 20)},
    {"btPwrOff", ids::btPwrOff, at(8, 120, 273, 49)},
    {"stSeconds", ids::stSeconds, at(24, 240, 521, 33)},
    {"btNewStart", ids::btNewStart, at(8, 64, 273, 49)},
    {"btLogOff", ids::btLogOff, at(288, 64, 197, 49)},
    {"btRestart", ids::btRestart, at(8, 347, 297, 46)},
    {"seShutMinutes", ids::seShutMinutes, at(8, 312, 105, 28)},
    {"stRestartTime", ids::stRestartTime, at(121, 315, 180, 17)},
    {"stWatch", ids::stWatch, at(212, 289, 145, 17)},
    {"btTimerOff1", ids::btTimerOff1, at(288, 120, 145, 49)},
    {"btPlusHour", ids::btPlusHour, at(320, 312, 89, 25)},
    {"btMinusHour", ids::btMinusHour, at(320, 368, 89, 25)},
    {"btPlusDay", ids::btPlusDay, at(416, 312, 75, 25)},
    {"btMinusDay", ids::btMinusDay, at(416, 368, 75, 25)},
    {"cbForcePwrOff", ids::cbForcePwrOff, at(288, 173, 275, 17)},
    {"cbAutoMinimize", ids::cbAutoMinimize, at(288, 188, 275, 17)},
    {"cbOffByTime", ids::cbOffByTime, at(496, 312, 65, 24)},
    {"btPrefTime1", ids::btPrefTime1, at(496, 340, 64, 25)},
    {"btPrefTime2", ids::btPrefTime2, at(496, 368, 64, 25)},
    {"btHibernate", ids::btHibernate, at(8, 176, 273, 49)},
    {"cbHibernateForPwrOff", ids::cbHibernateForPwrOff, at(288, 204, 275, 17)},
    {"btOops", ids::btOops, at(8, 8, 553, 49)},
    {"btLock", ids::btLock, at(484, 64, 77, 49)},
    {"btTimerOff2", ids::btTimerOff2, at(432, 120, 129, 49)},
    {"Button1", ids::Button1, at(320, 340, 171, 25)},
};

RECT coveredArea(const Window& main, int id) {
    RECT r = main.child(id).rectInParent();
    if (id == ids::seShutMinutes) {
        if (const Window arrows = main.child(ids::seShutMinutesArrows)) {
            const RECT a = arrows.rectInParent();
            UnionRect(&r, &r, &a);
        }
    }
    return r;
}

std::optional<SecondsLine> parseSecondsLine(const std::string& text) {
    static const std::regex pattern(R"(^Noch (\d+)([,.])(\d)s bis (Feierabend|Neustart) (.*)$)");
    std::smatch m;
    if (!std::regex_match(text, m, pattern)) return std::nullopt;
    SecondsLine line;
    line.ticks = std::stoi(m[1].str()) * 10 + std::stoi(m[3].str());
    line.separator = m[2].str();
    line.goal = m[4].str();
    line.tail = m[5].str();
    return line;
}

std::vector<SeenLine> secondsLines(const std::vector<TextTimeline::Entry>& entries) {
    std::vector<SeenLine> out;
    for (const auto& e : entries) {
        if (auto line = parseSecondsLine(e.text)) out.push_back({e.time, *line, e.text});
    }
    return out;
}

void TovikTest::SetUp() {
    killLeftoverTovik();
    WindowsVersion::clear();
    DisplayScale::clear();
    MissingDll::clearAll();
    reg::freshProfile();
    // The owner name falls back to the machine's value; no test expects one
    // unless it writes it.
    reg::deleteValue(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion", L"DisplayedOwner");
    useWindowsVersion(L"win10");
    unmanagedWindows_.emplace();
}

void TovikTest::TearDown() {
    tovik.kill();
    devEnvironment_.reset();
    windowsVersion_.reset();
    unmanagedWindows_.reset();
    reg::deleteValue(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion", L"DisplayedOwner");
}

void TovikTest::useWindowsVersion(const wchar_t* wineVersionName) {
    windowsVersion_.reset();
    windowsVersion_.emplace(wineVersionName);
}

void TovikTest::openDevEnvironment(std::wstring title) {
    devEnvironment_.reset();
    devEnvironment_.emplace(std::move(title));
}

Window TovikTest::start(std::wstring_view arguments) {
    tovik.start(arguments);
    main = tovik.waitForMainWindow(15s);
    if (main) tovik.waitUntilInputIdle();
    return main;
}

Window TovikTest::start(std::wstring_view arguments, const std::function<void(const Window&)>& whenCreated) {
    tovik.start(arguments);
    const Window created = tovik.waitForMainWindowCreated(15s);
    if (!created) return {};
    whenCreated(created);
    main = tovik.waitForMainWindow(15s);
    if (main) tovik.waitUntilInputIdle();
    return main;
}

std::string TovikTest::waitForText(const Window& window, const std::function<bool(const std::string&)>& condition,
                                   Millis timeout) {
    std::string text;
    waitUntil(
        [&] {
            text = window.text();
            return condition(text);
        },
        timeout, 5ms);
    return text;
}

std::optional<SecondsLine> TovikTest::waitForTicksAtMost(int ticks, Millis timeout) {
    std::optional<SecondsLine> line;
    waitForText(
        control(ids::stSeconds),
        [&](const std::string& text) {
            line = parseSecondsLine(text);
            return line && line->ticks <= ticks;
        },
        timeout);
    if (line && line->ticks > ticks) line.reset();
    return line;
}

void TovikTest::pressKeyInTovik(WORD virtualKey, unsigned modifiers) {
    bringToForeground(main);
    pressKey(virtualKey, modifiers);
}

COLORREF TovikTest::secondsLineBackground() const {
    const Window line = control(ids::stSeconds);
    RECT client{};
    GetClientRect(line.handle(), &client);
    return screenPixel(line, 6, client.bottom / 2);
}

std::optional<DWORD> TovikTest::counter(const wchar_t* name) const {
    return reg::getDword(HKEY_CURRENT_USER, reg::settingsKey, name);
}

MessageBoxView TovikTest::expectErrorBox(const std::string& text) {
    MessageBoxView box = tovik.waitForMessageBox(15s);
    EXPECT_TRUE(box) << "no error box";
    if (!box) return box;
    const Window application = findTopLevel(tovik.id(), ids::applicationWindowClass, false);
    EXPECT_TRUE(application);
    EXPECT_EQ(box.text(), text);
    EXPECT_EQ(box.caption(), application.text()) << "the caption is not the application title";
    EXPECT_FALSE(box.caption().empty());
    EXPECT_EQ(box.buttonTexts(), std::vector<std::string>{"OK"});
    EXPECT_EQ(box.icon(), IconKind::Error) << toString(box.icon());
    return box;
}

}  // namespace tovik::e2e
