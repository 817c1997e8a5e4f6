#pragma once
#include <memory>
#include <string>

#include "app/Program.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/MemoryRegistry.h"
#include "tests/support/VirtualLoop.h"
#include "tests/support/WindowsClocks.h"

namespace tovik::test {

// The whole program on the headless toolkit and fake platform: a test sets
// the facts it needs, starts it with an argument and advances virtual time.
struct ProgramHarness {
    explicit ProgramHarness(WindowsClocks::Kind kind = {}, std::uint32_t seed = 1) : clockKind(kind), clockSeed(seed) {}

    VirtualLoop loop;
    FakeSystemInfo system;
    FakeClock clock;
    FakeLocale locale;
    RecordingPower power;
    MemoryRegistry registry;
    RecordingAwake awake;
    // The computer's clocks; a test may choose another kind before create().
    WindowsClocks::Kind clockKind;
    std::uint32_t clockSeed = 1;
    std::unique_ptr<WindowsClocks> clocks;
    std::unique_ptr<app::Program> program;

    // Creates the window model and its handlers, without running the creation
    // handler yet (a test may attach a window peer first).
    ui::TForm1& create() {
        clocks = std::make_unique<WindowsClocks>(loop, clockKind, clockSeed);
        program = std::make_unique<app::Program>(loop, app::Platform{system, clock, locale, power, registry, *clocks, awake});
        program->attachTimers(loop);
        return program->Form1;
    }
    // Creates the window model and runs its creation handler.
    ui::TForm1& start(const std::string& argument = "") {
        if (!program) create();
        loop.user([&] { program->FormCreate(argument); });
        return program->Form1;
    }
    ui::TForm1& form() { return program->Form1; }
};

// One key typed by a user into the focused minutes field: the window's key
// preview first, then the field's filter; Backspace takes the last character.
inline void TypeIntoMinutes(ui::TForm1& f, char typed) {
    char key = f.previewKeyPress(typed);
    if (key == 0 || !f.seShutMinutes.typeCharacter(key) || key == 0) return;
    std::string text = f.seShutMinutes.text();
    if (key == '\b') {
        if (!text.empty()) text.pop_back();
    } else {
        text += key;
    }
    f.seShutMinutes.setTextByUser(text);
}

}  // namespace tovik::test
