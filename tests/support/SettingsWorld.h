#pragma once
#include <string>
#include <vector>

#include "platform/UserError.h"
#include "settings/Counters.h"
#include "settings/Settings.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/MemoryRegistry.h"
#include "tests/support/VirtualLoop.h"
#include "ui/MainWindow.h"

namespace tovik::test {

// The program's keys as the registry sees them: without the leading backslash.
inline const std::string tovikKey = "Software\\Zeb\\Tovik";
inline const std::string diagnosticKey = "Software\\Zeb\\Zeb_Diagnostic";
inline const std::string windowsNtKey = "Software\\Microsoft\\Windows NT\\CurrentVersion";

constexpr auto HKCU = platform::RegistryHive::CurrentUser;
constexpr auto HKLM = platform::RegistryHive::LocalMachine;

// Counts how often the program lets pending messages run, and how many
// registry calls had happened by the last time.
class CountingLoop : public VirtualLoop {
public:
    explicit CountingLoop(const MemoryRegistry& registry) : registry_(registry) {}
    void processMessages() override {
        ++processed;
        logSizeAtLastProcess = registry_.log().size();
        VirtualLoop::processMessages();
    }
    int processed = 0;
    std::size_t logSizeAtLastProcess = 0;

private:
    const MemoryRegistry& registry_;
};

// The settings and counters over an in-memory registry, with a window model
// and the fake platform.
struct SettingsWorld {
    MemoryRegistry registry;
    FakeSystemInfo system;
    FakeClock clock;
    FakeLocale locale;
    CountingLoop loop{registry};
    ui::TForm1 form;
    settings::Settings settings{registry, system, clock, locale, loop};
    settings::Counters counters{registry, loop};
};

// The text of the UserError that the action raises; "(none)" when it raises none.
template <class Action>
std::string failureOf(Action&& action) {
    try {
        action();
    } catch (const UserError& failure) {
        return failure.what();
    }
    return "(none)";
}

// Names of the values written successfully, in order.
inline std::vector<std::string> writtenNames(const MemoryRegistry& registry) {
    std::vector<std::string> names;
    for (const auto& entry : registry.log())
        if (entry.call == MemoryRegistry::Call::SetValue && entry.succeeded) names.push_back(entry.name);
    return names;
}

}  // namespace tovik::test
