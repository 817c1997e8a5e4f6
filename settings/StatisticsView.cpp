#include "settings/StatisticsView.h"

#include <array>
#include <cstdint>
#include <string>

#include "settings/SettingsStore.h"

namespace tovik::settings {

StatisticsView::StatisticsView(ui::TForm1& form, ui::Application& app, platform::Registry& registry,
                               const platform::SystemInfo& system, Counters& counters)
    : form_(form), app_(app), registry_(registry), system_(system), counters_(counters) {}

void StatisticsView::StatisticsBranch() {
    form_.setCaption("Tovik - Statistics - " + system_.executablePath());
    {
        SettingsStore store(registry_);
        if (store.openForReading(RegistryHive::CurrentUser, settingsKeyPath)) {
            // Every count is read before any text is set: a count that cannot
            // be read ends the view with the texts as they were.
            std::array<std::string, counterKindCount + 1> count;
            for (int code = 1; code <= counterKindCount; ++code) {
                const std::string name = CounterValueName(static_cast<CounterKind>(code));
                count[code] = std::to_string(store.valueExists(name) ? store.readInteger(name) : 0);
            }
            auto of = [&](CounterKind kind) { return count[static_cast<int>(kind)]; };
            form_.btOops.setCaption("Oops_Button = " + of(CounterKind::OopsCounter) + "   :   " +
                                    "OopsResume_Button = " + of(CounterKind::OopsResumeCounter));
            form_.btNewStart.setCaption("Res_Btn = " + of(CounterKind::RestartCounter));
            form_.btPwrOff.setCaption("Pwr_Btn = " + of(CounterKind::PwrOffCounter));
            form_.btLogOff.setCaption("Log_Btn = " + of(CounterKind::LogOffCounter));
            form_.btLock.setCaption(of(CounterKind::LockCounter));
            form_.btTimerOff1.setCaption("Tim_Btn = " + of(CounterKind::TimerOffCounter));
            form_.btHibernate.setCaption("Hib_Btn = " + of(CounterKind::HibernateCounter));
            form_.stSeconds.setCaption("RunCounter = " + of(CounterKind::RunCounter) + "   ");
            store.close();
        }
    }
    for (ui::Control* shown : {static_cast<ui::Control*>(&form_.btRestart), static_cast<ui::Control*>(&form_.seShutMinutes),
                               static_cast<ui::Control*>(&form_.stRestartTime), static_cast<ui::Control*>(&form_.stWatch)})
        shown->setVisible(true);
    form_.cbHibernateForPwrOff.setVisible(false);
    // From now on the height buttons stay in view for the rest of the run.
    for (ui::Button* height : {&form_.btFormMinus, &form_.btFormPlus, &form_.btFormHeight1Store, &form_.btFormHeight2Store})
        height->setVisible(true);
}

void StatisticsView::stSecondsDblClick(const std::function<void()>& showStatistics) {
    if (form_.Gauge1.visible()) return;
    const int answer =
        app_.askQuestion("Die Counter wirklich auf Null setzen?", "Registry Einträge - Counter", ui::mbYesNo + ui::mbIconWarning + ui::mbDefButton2);
    if (answer != ui::answerYes) return;
    counters_.ResetCounters();
    showStatistics();
}

}  // namespace tovik::settings
