#include "tests/e2e/TovikTest.h"

#include <regex>

namespace tovik::e2e {

const std::vector<NamedControl> actionButtons = {
    {"btOops", ids::btOops},         {"btPwrOff", ids::btPwrOff},       {"btNewStart", ids::btNewStart},
    {"btLogOff", ids::btLogOff},     {"btLock", ids::btLock},           {"btTimerOff1", ids::btTimerOff1},
    {"btTimerOff2", ids::btTimerOff2}, {"btHibernate", ids::btHibernate},
};

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
    return main;
}

Window TovikTest::start(std::wstring_view arguments, const std::function<void(const Window&)>& whenCreated) {
    tovik.start(arguments);
    const Window created = tovik.waitForMainWindowCreated(15s);
    if (!created) return {};
    whenCreated(created);
    main = tovik.waitForMainWindow(15s);
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
