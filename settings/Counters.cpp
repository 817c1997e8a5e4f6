#include "settings/Counters.h"

#include <cstdint>
#include <iterator>
#include <stdexcept>

#include "settings/SettingsStore.h"

namespace tovik::settings {

namespace {

// In code order, 1 to 9; also the order in which a reset writes them.
constexpr const char* counterNames[] = {
    "RunCounter",       "RestartCounter",  "PwrOffCounter",    "OopsCounter", "OopsResumeCounter",
    "LogOffCounter",    "TimerOffCounter", "HibernateCounter", "LockCounter",
};
static_assert(std::size(counterNames) == counterKindCount, "one name for each kind of counter");

}  // namespace

std::string CounterValueName(CounterKind kind) {
    const int code = static_cast<int>(kind);
    if (code < 1 || code > static_cast<int>(std::size(counterNames)))
        throw std::invalid_argument("Unbekannter Zähler-Code " + std::to_string(code));
    return counterNames[code - 1];
}

void Counters::BumpCounter(CounterKind kind) {
    const std::string name = CounterValueName(kind);
    SettingsStore store(registry_);
    store.openForWriting(RegistryHive::CurrentUser, settingsKeyPath, true);
    if (store.valueExists(name)) {
        // Wraps from the largest signed 32-bit value to the smallest.
        const auto bits = static_cast<std::uint32_t>(store.readInteger(name)) + 1u;
        store.writeInteger(name, static_cast<std::int32_t>(bits));
    } else {
        store.writeInteger(name, 1);
    }
    store.close();
}

void Counters::ResetCounters() {
    {
        SettingsStore store(registry_);
        if (store.openForWriting(RegistryHive::CurrentUser, settingsKeyPath, true)) {
            for (const char* name : counterNames) store.writeInteger(name, 0);
            store.close();
        }
    }
    application_.processMessages();
}

}  // namespace tovik::settings
