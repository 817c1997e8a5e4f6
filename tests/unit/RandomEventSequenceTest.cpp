// Thousands of seeded random sequences of everything a user and the machine
// can do (clicks on whatever is in view and enabled, keys, typing, double
// clicks, combo choices, box answers, time steps from 1 ms to 10 minutes,
// stalls, sleeps of the computer), from every start mode, on the clocks of
// Windows 10 and of Windows 7, on the whole program. After each step the
// rules that keep a power-off program trustworthy must hold. A failing seed is
// printed so that it can be replayed with TOVIK_SEQUENCE_SEED.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>

#include "tests/support/ProgramHarness.h"
#include "tests/support/SettingsWorld.h"

using namespace tovik;
using tovik::test::ProgramHarness;

namespace {

const std::vector<std::string> counterNames = {"RunCounter",    "RestartCounter",  "PwrOffCounter",
                                               "OopsCounter",   "OopsResumeCounter", "LogOffCounter",
                                               "TimerOffCounter", "HibernateCounter", "LockCounter"};

// Records what a user would see change: the captions of btOops and
// stSeconds, the window caption, and the count at each restore of the window.
struct Observer : ui::ControlPeer, ui::WindowPeer {
    explicit Observer(ui::TForm1& f) : form(f) {}
    ui::TForm1& form;
    std::vector<std::string> oopsCaptions, lineCaptions, windowCaptions;
    std::vector<int> restoredAt;
    void propertyChanged(ui::Control& control, ui::Property what) override {
        if (what != ui::Property::Caption) return;
        if (&control == &form.btOops) oopsCaptions.push_back(control.caption());
        if (&control == &form.stSeconds) lineCaptions.push_back(control.caption());
    }
    void focusRequested(ui::Control&) override {}
    void captionChanged() override { windowCaptions.push_back(form.caption()); }
    void heightChanged() override {}
    void showWindow(ui::ShowCommand command) override {
        if (command == ui::ShowCommand::Restore) restoredAt.push_back(form.remainingTicks);
    }
};

const std::map<std::string, std::string> statusCounter = {{"und tschüss......", "PwrOffCounter"},
                                                          {"Es wird neu gestartet...", "RestartCounter"},
                                                          {"Melde mich ab...", "LogOffCounter"},
                                                          {"Gehe schlafen...", "HibernateCounter"}};

class Sequence {
public:
    static inline long stepsTaken = 0;
    explicit Sequence(unsigned seed) : random_(seed) {}

    // Runs one sequence; returns an empty text or the first broken rule.
    std::string run(int steps) {
        startInARandomMode();
        if (!broken_.empty()) return broken_;
        for (int step = 0; step < steps && !h_.loop.terminated() && broken_.empty(); ++step) {
            stepNumber_ = step;
            ++stepsTaken;
            act();
            checkAfterStep();
        }
        f().attachPeer(nullptr);
        for (ui::Control* control : f().controls()) control->attachPeer(nullptr);
        return broken_;
    }

private:
    ui::TForm1& f() { return h_.form(); }
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool chance(int percent) { return pick(100) < percent; }

    void breakRule(const std::string& rule) {
        if (broken_.empty())
            broken_ = started_ + ", " + h_.clocks->describe() + ", step " + std::to_string(stepNumber_) + " (" +
                      lastAction_ + "): " + rule;
    }

    void startInARandomMode() {
        const std::vector<std::string> modes = {"", "", "30", "2", "r", "d", "x", "22:30", "00:00", "12:7x", "3600"};
        std::string argument = modes[pick(int(modes.size()))];
        if (argument == "22:30") argument = (pick(24) < 10 ? "0" : "") + std::to_string(pick(24)) + ":" + (pick(2) ? "05" : "59");
        simulation_ = chance(30);
        h_.clockKind = {chance(25), chance(50), chance(50)};
        h_.clockSeed = static_cast<std::uint32_t>(random_());
        if (chance(50)) h_.loop.useWindowsTimers(static_cast<std::uint32_t>(random_()));
        // Nobody touches the computer until the start's countdown has acted.
        quiet_ = chance(25);
        if (simulation_) h_.system.devEnvironment = "Werkbank";
        h_.system.major = chance(20) ? 5 : 10;
        h_.clock.time = {2026, 12, 8, pick(24), pick(60), pick(60), pick(1000)};
        lastAction_ = "start '" + argument + "'" + (simulation_ ? " simulated" : "") + (quiet_ ? " untouched" : "");
        started_ = lastAction_;
        ui::TForm1& form = h_.create();
        observer_ = std::make_unique<Observer>(form);
        form.attachPeer(observer_.get());
        for (ui::Control* control : {static_cast<ui::Control*>(&form.btOops), static_cast<ui::Control*>(&form.stSeconds)})
            control->attachPeer(observer_.get());
        scriptAnswers();
        h_.start(argument);
        expected_["RunCounter"] = 1;
        // A grace countdown of a minute at most must reach its action (a clock
        // time sets its own countdown once the window is up).
        boxesAtStart_ = h_.loop.boxes().size();
        if (argument.find(':') == std::string::npos && form.tmCountDown.enabled() && form.remainingTicks <= 600)
            untouchedActsBy_ = h_.loop.now() + form.remainingTicks * 100LL + 1000;
        // The toolkit shows the window: the show handler, then the first paint.
        if (!h_.loop.terminated()) h_.loop.user([&] { form.onShow(); });
        if (!h_.loop.terminated()) h_.loop.user([&] { form.onPaint(); });
        account();
    }

    // The boxes of the next step take these answers in order, then OK.
    void scriptAnswers() {
        h_.loop.clearAnswers();
        answers_.clear();
        boxesAtScript_ = h_.loop.boxes().size();
        for (int i = 0; i < 3; ++i) {
            answers_.push_back({chance(50) ? ui::answerYes : ui::answerNo,
                                static_cast<std::uint32_t>(chance(50) ? 0 : pick(8000))});
            h_.loop.scriptAnswer(answers_.back());
        }
    }

    bool inView(const ui::Control& control) {
        const int clientHeight = f().height() - (ui::TForm1::designOuterHeight - ui::TForm1::clientHeight);
        return control.visible() && control.bounds().top + control.bounds().height / 2 < clientHeight;
    }

    void user(const std::string& what, const std::function<void()>& action) {
        lastAction_ = what;
        userAction_ = true;
        // From a user's click on, what follows is the user's doing.
        wokeAt_ = -1;
        h_.loop.user(action);
    }

    // A step in which the computer slept or stood still a minute: what it
    // shows at waking was nobody's click, and nothing is counted.
    void woke() {
        wakeStep_ = true;
        wokeAt_ = h_.loop.now();
        untouchedActsBy_ = -1;
        observer_->oopsCaptions.clear();
        observer_->windowCaptions.clear();
        observer_->restoredAt.clear();
    }

    void act() {
        scriptAnswers();
        userAction_ = false;
        wakeStep_ = false;
        const std::size_t boxesBefore = h_.loop.boxes().size();
        const std::size_t requestsBefore = requests();
        const bool untouched = quiet_ && untouchedActsBy_ >= 0;
        switch (untouched ? 11 + 3 * pick(2) : pick(15)) {
            case 0: case 1: case 2: {  // a click on whatever is in view and enabled
                std::vector<ui::Control*> clickable;
                for (ui::Control* c : f().controls())
                    if (c->enabled() && inView(*c) && !dynamic_cast<ui::Gauge*>(c) &&
                        !dynamic_cast<ui::SpinEdit*>(c) && !dynamic_cast<ui::ComboBox*>(c))
                        clickable.push_back(c);
                if (clickable.empty()) break;
                ui::Control* c = clickable[static_cast<size_t>(pick(int(clickable.size())))];
                if (auto* box = dynamic_cast<ui::CheckBox*>(c)) user("click " + c->name(), [box] { box->toggleByUser(); });
                else user("click " + c->name(), [c] { c->click(); });
                break;
            }
            case 3:
                user("Esc", [&] { f().previewKeyDown(ui::VK_ESCAPE_KEY, 0); });
                break;
            case 4:
                user("Enter", [&] {
                    if (!f().previewKeyDown(ui::VK_RETURN_KEY, 0)) f().previewKeyPress('\r');
                });
                break;
            case 5:
                user("Ctrl+Alt", [&] { f().previewKeyDown(0x12, ui::ssCtrl | ui::ssAlt); });
                break;
            case 6:
                if (chance(50)) user("Shift down", [&] { f().previewKeyDown(0x10, ui::ssShift); });
                else user("key up", [&] { f().previewKeyUp(0x10, 0); });
                break;
            case 7: {  // typing into the minutes field, Enter at times
                if (!inView(f().seShutMinutes)) break;
                const std::string keys = std::string(1, "0123456789\b-x"[pick(13)]) + (chance(20) ? "\r" : "");
                user("type into the minutes", [&, keys] {
                    f().seShutMinutes.setFocus();
                    for (char typed : keys) test::TypeIntoMinutes(f(), typed);
                    f().seShutMinutes.leave();
                });
                break;
            }
            case 8:
                user("double-click on the window", [&] { f().onDblClick(); });
                break;
            case 9:
                user("double-click on the line", [&] {
                    f().stSeconds.click();
                    f().stSeconds.doubleClick();
                });
                break;
            case 10:
                if (!inView(f().cbOffByTime)) break;
                if (chance(80)) user("combo choice", [&] { f().cbOffByTime.selectByUser(pick(48)); });
                else user("combo typed", [&] { f().cbOffByTime.typeByUser("1"); });
                break;
            case 11: {
                const std::uint32_t ms = static_cast<std::uint32_t>(std::exp(std::uniform_real_distribution<double>(0, std::log(untouched ? 59999.0 : 600000.0))(random_)));
                lastAction_ = "stall " + std::to_string(ms) + " ms";
                const ui::Timer* first = f().timers[pick(ui::TForm1::timerCount)];
                h_.loop.stall(ms, first);
                if (untouchedActsBy_ >= 0) untouchedActsBy_ += ms;
                if (ms >= 60000) woke();
                break;
            }
            case 12: {  // the computer sleeps: the messages in either order with the late timers
                const std::uint32_t ms = static_cast<std::uint32_t>(std::exp(std::uniform_real_distribution<double>(std::log(1000.0), std::log(7200000.0))(random_)));
                // Windows 7 always tells; Windows 10 counts the time asleep
                // and may say nothing at all.
                const bool silent = !h_.clockKind.windows7 && chance(20);
                const bool suspendMessage = !silent && chance(80), resumeFirst = chance(50);
                lastAction_ = "sleep " + std::to_string(ms) + " ms" + (silent ? " without messages" : "");
                if (suspendMessage) h_.loop.user(f().onSuspend);
                h_.clock.time = timerTime(ms);
                h_.loop.sleep(ms);
                if (resumeFirst && !silent) h_.loop.user(f().onResume);
                h_.loop.processMessages();
                if (!resumeFirst && !silent && !h_.loop.terminated()) h_.loop.user(f().onResume);
                if (!silent && chance(50) && !h_.loop.terminated()) h_.loop.user(f().onResumeByUser);
                woke();
                break;
            }
            default: {
                const std::uint32_t ms = static_cast<std::uint32_t>(std::exp(std::uniform_real_distribution<double>(0, std::log(chance(90) ? 20000.0 : 600000.0))(random_)));
                lastAction_ = "wait " + std::to_string(ms) + " ms";
                h_.clock.time = timerTime(ms);
                h_.loop.advance(ms);
            }
        }
        checkNoWakeWithoutASleep();
        observer_->restoredAt.clear();
        // A single user action that reported an error requested nothing.
        bool errorShown = false;
        for (std::size_t i = boxesBefore; i < h_.loop.boxes().size(); ++i)
            errorShown = errorShown || h_.loop.boxes()[i].kind == test::ShownBox::Kind::Error;
        if (userAction_ && errorShown && requests() != requestsBefore) breakRule("a power request after an error box");
        account();
    }

    platform::LocalDateTime timerTime(std::uint32_t ms) {
        platform::LocalDateTime t = h_.clock.time;
        long long total = ((t.hour * 60LL + t.minute) * 60 + t.second) * 1000 + t.millisecond + ms;
        total %= 86400000;
        t.hour = int(total / 3600000);
        t.minute = int(total / 60000 % 60);
        t.second = int(total / 1000 % 60);
        t.millisecond = int(total % 1000);
        return t;
    }

    std::size_t requests() const {
        std::size_t n = 0;
        for (const std::string& call : h_.power.calls) n += call != "privilege";
        return n;
    }

    // Turns what the user saw into the counts the store must hold.
    void account() {
        for (const std::string& caption : observer_->oopsCaptions) {
            if (caption == "Oder vielleicht doch?") ++expected_["OopsCounter"];
            if (caption == "Oder etwa nicht?") ++expected_["OopsResumeCounter"];
        }
        observer_->oopsCaptions.clear();
        for (const std::string& caption : observer_->windowCaptions)
            if (caption.rfind("Nach einer bestimmten Zeit ausschalten", 0) == 0) ++expected_["TimerOffCounter"];
        observer_->windowCaptions.clear();

        // Every power action asks for the shutdown privilege first.
        std::size_t actions = 0;
        for (std::size_t i = seenCalls_; i < h_.power.calls.size(); ++i) actions += h_.power.calls[i] == "privilege";
        bool lock = false;
        for (std::size_t i = seenCalls_; i < h_.power.calls.size(); ++i) lock = lock || h_.power.calls[i] == "lockWorkStation";
        for (std::size_t i = seenBoxes_; i < h_.loop.boxes().size(); ++i) {
            const std::string& text = h_.loop.boxes()[i].text;
            lock = lock || text == "Jetzt würde die LockWorkStation Prozedur ausgeführt!";
            lock = lock || text == "System nicht erfolgreich gesperrt!";
            if (text == "Die Counter wirklich auf Null setzen?" && answerOf(i) == ui::answerYes)
                for (const std::string& name : counterNames) expected_[name] = 0;
        }
        if (actions > 1) breakRule(std::to_string(actions) + " power actions in one step");
        if (actions == 1) {
            std::string counter = lock ? "LockCounter" : "";
            for (const std::string& caption : observer_->lineCaptions)
                if (counter.empty() && statusCounter.count(caption)) counter = statusCounter.at(caption);
            if (counter.empty()) breakRule("a power action without its status");
            else ++expected_[counter];
            actingSince_ = h_.loop.now();
            watchdogMs_ = f().tmExitDelay.interval();
            if (!h_.loop.terminated() && !f().tmExitDelay.enabled()) breakRule("acting without the watchdog");
            if (simulation_ && requests() > seenRequests_) breakRule("a power request in simulation mode");
            if (!userAction_ && wokeAt_ >= 0 && h_.loop.now() < wokeAt_ + 60000)
                breakRule("a power action " + std::to_string(h_.loop.now() - wokeAt_) + " ms after waking");
        }
        if (requests() > seenRequests_ + 1) breakRule("more than one power request in one step");
        seenRequests_ = requests();
        observer_->lineCaptions.clear();
        seenCalls_ = h_.power.calls.size();
        seenBoxes_ = h_.loop.boxes().size();
    }

    int answerOf(std::size_t box) const {
        const std::size_t k = box - boxesAtScript_;
        const test::BoxAnswer answer = k < answers_.size() ? answers_[k] : test::BoxAnswer{};
        // A box that the watchdog closed before the answer came has none.
        if (h_.loop.terminated() && h_.loop.terminatedAt() <= h_.loop.boxes()[box].openedAt + answer.afterMs) return 0;
        return answer.answer;
    }

    // Without a sleep nothing is handled as a wake: no pause, no missed
    // timer and no window restored that no click and no mark explains.
    void checkNoWakeWithoutASleep() {
        if (userAction_ || wakeStep_) return;
        for (const std::string& caption : observer_->oopsCaptions)
            if (caption == "Oder vielleicht doch?") breakRule("a pause nobody asked for");
        for (const std::string& caption : observer_->lineCaptions)
            if (caption.rfind("Verpasst", 0) == 0) breakRule("'" + caption + "' without a sleep");
        for (const int ticks : observer_->restoredAt)
            if (ticks != 6000 && ticks != 1800 && ticks != 1200 && ticks != 600 && ticks != 100)
                breakRule("the window restored at " + std::to_string(ticks) + " ticks without a sleep");
    }

    void checkAfterStep() {
        if (f().remainingTicks < 0) breakRule("remainingTicks below zero: " + std::to_string(f().remainingTicks));
        if (simulation_ && requests() > 0) breakRule("a power request in simulation mode");
        if (!h_.loop.terminated() && h_.awake.held() != f().tmCountDown.enabled())
            breakRule(h_.awake.held() ? "kept awake without a running countdown" : "a running countdown not kept awake");
        if (userAction_) actingSince_ = -1;
        if (userAction_) untouchedActsBy_ = -1;
        // In simulation mode the action is a box.
        const bool acted = !h_.power.calls.empty() || h_.loop.boxes().size() > boxesAtStart_;
        if (untouchedActsBy_ >= 0 && !acted && (h_.loop.terminated() || h_.loop.now() > untouchedActsBy_))
            breakRule("an untouched countdown did not act");
        if (acted) untouchedActsBy_ = -1;
        if (actingSince_ >= 0 && !userAction_ && h_.loop.now() > actingSince_ + watchdogMs_ + 200 && !h_.loop.terminated())
            breakRule("still running " + std::to_string(h_.loop.now() - actingSince_) + " ms after acting");
        for (const std::string& name : counterNames) {
            const int stored = h_.registry.dword(test::HKCU, test::tovikKey, name).value_or(0);
            if (stored != expected_[name])
                breakRule(name + " is " + std::to_string(stored) + ", the events give " + std::to_string(expected_[name]));
        }
    }

    std::mt19937 random_;
    ProgramHarness h_;
    std::unique_ptr<Observer> observer_;
    std::map<std::string, int> expected_;
    bool simulation_ = false;
    bool userAction_ = false;
    bool wakeStep_ = false;
    bool quiet_ = false;
    long long untouchedActsBy_ = -1;
    std::size_t boxesAtStart_ = 0;
    int stepNumber_ = -1;
    std::string lastAction_, started_;
    std::string broken_;
    std::size_t seenCalls_ = 0, seenBoxes_ = 0, seenRequests_ = 0;
    std::vector<test::BoxAnswer> answers_;
    std::size_t boxesAtScript_ = 0;
    long long actingSince_ = -1;
    long long wokeAt_ = -1;
    int watchdogMs_ = 0;
};

}  // namespace

TEST(RandomEventSequences, EveryRuleHoldsAfterEveryStep) {
    if (const char* replay = std::getenv("TOVIK_SEQUENCE_SEED")) {
        const unsigned seed = static_cast<unsigned>(std::strtoul(replay, nullptr, 10));
        EXPECT_EQ(Sequence(seed).run(80), "") << "seed " << seed;
        return;
    }
    int failures = 0;
    Sequence::stepsTaken = 0;
    const unsigned sequences = 2000;
    for (unsigned seed = 1; seed <= sequences && failures < 3; ++seed) {
        const std::string broken = Sequence(seed).run(80);
        if (!broken.empty()) {
            ++failures;
            ADD_FAILURE() << "seed " << seed << " (replay with TOVIK_SEQUENCE_SEED=" << seed << "): " << broken;
        }
    }
    std::printf("%u sequences, %ld steps\n", sequences, Sequence::stepsTaken);
}
