#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Locale.h"
#include "platform/PowerApi.h"
#include "platform/SystemAwake.h"
#include "platform/SystemInfo.h"

namespace tovik::test {

// System facts a test sets at will.
class FakeSystemInfo : public platform::SystemInfo {
public:
    int major = 10;
    std::optional<std::string> devEnvironment;
    bool hibernate = true;
    bool suspend = false;
    std::string exePath = "C:\\Programme\\Tovik\\Tovik.exe";

    int majorVersion() const override { return major; }
    std::optional<std::string> findDevEnvironmentWindow() const override { return devEnvironment; }
    bool hibernateAllowed() const override { return hibernate; }
    bool suspendAllowed() const override { return suspend; }
    std::string executablePath() const override { return exePath; }
};

class FakeClock : public platform::Clock {
public:
    platform::LocalDateTime time{2026, 12, 8, 18, 45, 12, 0};
    platform::LocalDateTime now() const override { return time; }
};

// German regional settings unless a test changes them.
class FakeLocale : public platform::Locale {
public:
    std::string separator = ",";
    std::string clockSeparator = ":";
    std::string decimalSeparator() const override { return separator; }
    std::string timeSeparator() const override { return clockSeparator; }
    std::string formatShortDate(const platform::LocalDateTime& when) const override;
    std::string formatLongTime(const platform::LocalDateTime& when) const override;
};

// Records every request in order, with its arguments: "privilege",
// "exitWindows(12)", "setSuspendState(1,0,0)", "lockWorkStation". Their
// results are set by the test.
class RecordingPower : public platform::PowerApi {
public:
    std::vector<std::string> calls;
    bool exitResult = true;
    bool suspendResult = true;
    bool lockResult = true;

    void enableShutdownPrivilege() override { calls.push_back("privilege"); }
    bool exitWindows(unsigned flags) override {
        calls.push_back("exitWindows(" + std::to_string(flags) + ")");
        return exitResult;
    }
    bool setSuspendState(bool hibernate, bool forceCritical, bool disableWakeEvent) override {
        calls.push_back("setSuspendState(" + flag(hibernate) + "," + flag(forceCritical) + "," +
                        flag(disableWakeEvent) + ")");
        return suspendResult;
    }
    bool lockWorkStation() override {
        calls.push_back("lockWorkStation");
        return lockResult;
    }

private:
    static std::string flag(bool on) { return on ? "1" : "0"; }
};

// The keep-awake request as the system sees it: held or not, with its reason.
class RecordingAwake : public platform::SystemAwake {
public:
    std::optional<std::string> reason;  // set while held
    int holds = 0;

    void hold(const std::string& why) override {
        reason = why;
        ++holds;
    }
    void release() override { reason.reset(); }
    bool held() const { return reason.has_value(); }
};

}  // namespace tovik::test
