// Two minutes of random clicks, double-clicks and keys on the real Tovik.exe
// in simulation mode, every box answered at random: Tovik never crashes,
// every box it opens says one of its own texts, and every run ends with exit
// code 0. The random seed is printed so that a run can be repeated
// (TOVIK_MONKEY_SEED); TOVIK_MONKEY_SECONDS changes the length.
#include <cstdio>
#include <cstdlib>
#include <random>
#include <regex>
#include <stdexcept>

#include "tests/e2e/TovikTest.h"

namespace tovik::e2e {
namespace {

bool isOwnBoxText(const std::string& text) {
    static const std::vector<std::string> texts = {
        "Jetzt würde die ExitWindowsEx Prozedur EWX_POWEROFF+EWX_FORCE ausgeführt und LastShutDown notiert!",
        "Jetzt würde die ExitWindowsEx Prozedur EWX_POWEROFF ausgeführt und LastShutDown notiert!",
        "Jetzt würde die ExitWindowsEx Prozedur EWX_REBOOT ausgeführt!",
        "Jetzt würde die ExitWindowsEx Prozedur EWX_LOGOFF ausgeführt!",
        "Jetzt würde die SetSuspendState Prozedur ausgeführt!",
        "Jetzt würde die LockWorkStation Prozedur ausgeführt!",
        "Die Counter wirklich auf Null setzen?",
        "CheckBox 'In den Tiefschlafzustand statt Aussschalten bei CountDown' erlauben?",
    };
    static const std::regex patterns(
        "Wert FormHeight1 = -?[0-9]+ für kleines Formular gespeichert\\.|"
        "Wert FormHeight2 = -?[0-9]+ für grosses Formular gespeichert\\.|"
        "'.*:00' ist keine gültige Uhrzeit");
    return std::find(texts.begin(), texts.end(), text) != texts.end() || std::regex_match(text, patterns);
}

class Monkey : public TovikTest {};

TEST_F(Monkey, RandomInputNeverCrashesAndEveryRunEndsWithZero) {
    const char* seedText = std::getenv("TOVIK_MONKEY_SEED");
    const unsigned seed = seedText ? unsigned(std::strtoul(seedText, nullptr, 10)) : unsigned(GetTickCount());
    const char* secondsText = std::getenv("TOVIK_MONKEY_SECONDS");
    const double seconds = secondsText ? std::atof(secondsText) : 120.0;
    std::printf("monkey seed %u\n", seed);
    std::mt19937 random(seed);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };

    openDevEnvironment();
    const std::wstring arguments[] = {L"", L"30", L"r", L"600", L"23:59"};
    int events = 0, runs = 0, boxes = 0;
    const double end = now() + seconds;
    while (now() < end && !HasFailure()) {
        if (!tovik.started() || !tovik.running()) {
            if (tovik.started()) {
                ASSERT_TRUE(tovik.waitForExit(5s));
                EXPECT_EQ(tovik.exitCode(), 0u) << "run " << runs << " after " << events << " events";
                tovik.reset();
            }
            ++runs;
            tovik.start(arguments[pick(5)]);
            main = tovik.waitForMainWindow(15s);
            if (!main) {
                // The show handler's box can come first; it is answered below.
                if (!findMessageBox(tovik.id())) {
                    ASSERT_TRUE(tovik.running() || tovik.exitCode() == 0);
                }
            }
        }
        if (const MessageBoxView box = findMessageBox(tovik.id())) {
            ++boxes;
            const std::string text = box.text();
            // A box the watchdog closes while it is read has no text left.
            if (text.empty() && waitUntil([&] { return !box.window(); }, 1s)) continue;
            EXPECT_TRUE(isOwnBoxText(text)) << "a box with a text of its own: " << text;
            const auto buttons = box.buttons();
            // The watchdog may close the box (and end Tovik) while it is answered.
            if (!buttons.empty() && box.window()) {
                try {
                    box.answer(buttons[static_cast<size_t>(pick(int(buttons.size())))].id);
                } catch (const std::runtime_error&) {
                    EXPECT_FALSE(box.window()) << "a button of an open box is missing";
                }
            }
            sleepFor(50ms);
            continue;
        }
        main = tovik.mainWindow();
        if (!main || IsIconic(main.handle())) {
            if (main) ShowWindow(main.handle(), SW_RESTORE);
            sleepFor(50ms);
            continue;
        }
        ++events;
        const std::vector<Window> children = main.children();
        switch (pick(9)) {
            case 0: case 1: case 2: {
                std::vector<Window> shown;
                for (const Window& c : children)
                    if (c.visible() && c.enabled()) shown.push_back(c);
                if (!shown.empty()) click(shown[static_cast<size_t>(pick(int(shown.size())))]);
                break;
            }
            case 3: {
                std::vector<Window> shown;
                for (const Window& c : children)
                    if (c.visible()) shown.push_back(c);
                if (!shown.empty()) doubleClick(shown[static_cast<size_t>(pick(int(shown.size())))]);
                break;
            }
            case 4:
                doubleClickAt(main, 14, 260);  // the window's own background
                break;
            case 5: {
                const WORD keys[] = {VK_ESCAPE, VK_RETURN, VK_TAB, VK_UP, VK_DOWN, '1', '5', '0', VK_BACK, 'X'};
                pressKeyInTovik(keys[pick(10)], pick(4) == 0 ? Shift : NoModifier);
                break;
            }
            case 6:
                pressKeyInTovik(VK_SHIFT, pick(3) == 0 ? (Ctrl | Alt) : NoModifier);
                break;
            case 7:
                // Now and then the user closes the window.
                if (pick(5) == 0) PostMessageW(main.handle(), WM_CLOSE, 0, 0);
                break;
            default:
                sleepFor(Millis(pick(1500)));
        }
    }
    std::printf("monkey: %d events, %d boxes, %d runs in %.0f s\n", events, boxes, runs, seconds);
    if (tovik.running()) {
        if (const MessageBoxView box = findMessageBox(tovik.id()); box && !box.buttons().empty()) {
            try {
                box.answer(box.buttons().front().id);
            } catch (const std::runtime_error&) {
            }
        }
        PostMessageW(tovik.mainWindow().handle(), WM_CLOSE, 0, 0);
        if (tovik.waitForExit(10s)) {
            EXPECT_EQ(tovik.exitCode(), 0u);
        }
    }
}

}  // namespace
}  // namespace tovik::e2e
