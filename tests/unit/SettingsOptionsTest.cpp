#include <gtest/gtest.h>

#include "tests/support/SettingsWorld.h"

using namespace tovik;
using namespace tovik::test;
using Call = MemoryRegistry::Call;

namespace {

// The settings with the window's option clicks and key-down bound to them.
struct OptionsWorld : SettingsWorld {
    OptionsWorld() {
        form.cbForcePwrOff.onClick = [this] { settings.cbForcePwrOffClick(form.cbForcePwrOff); };
        form.cbAutoMinimize.onClick = [this] { settings.cbAutoMinimizeClick(form.cbAutoMinimize); };
        form.cbHibernateForPwrOff.onClick = [this] { settings.cbHibernateForPwrOffClick(form.cbHibernateForPwrOff); };
        form.onKeyDown = [this](int key, unsigned shift) { settings.FormKeyDown(form, key, shift); };
    }
    // A key-down as the toolkit hands it to the window, through its dispatch point.
    void keyDown(int key, unsigned shift) {
        loop.user([&] { form.onKeyDown(key, shift); });
    }
    const ShownBox* lastQuestion() const {
        for (auto it = loop.boxes().rbegin(); it != loop.boxes().rend(); ++it)
            if (it->kind == ShownBox::Kind::Question) return &*it;
        return nullptr;
    }
    std::vector<ShownBox> errors() const {
        std::vector<ShownBox> found;
        for (const auto& box : loop.boxes())
            if (box.kind == ShownBox::Kind::Error) found.push_back(box);
        return found;
    }
};

struct OptionsTest : ::testing::Test, OptionsWorld {};

constexpr unsigned ctrlAlt = ui::ssCtrl | ui::ssAlt;

}  // namespace

TEST_F(OptionsTest, EachOptionClickWritesItsNewCheckMarkAndNothingElse) {
    form.cbForcePwrOff.setChecked(true);
    form.cbAutoMinimize.setChecked(false);
    form.cbHibernateForPwrOff.setChecked(false);
    form.cbForcePwrOff.toggleByUser();
    form.cbAutoMinimize.toggleByUser();
    form.cbHibernateForPwrOff.toggleByUser();
    form.cbHibernateForPwrOff.toggleByUser();
    EXPECT_EQ(registry.writes(), (std::vector<std::string>{"ForcePwrOff=dword:0", "AutoMinimize=dword:1",
                                                           "HibernateForPwrOff=dword:1", "HibernateForPwrOff=dword:0"}));
    // Each click opens the settings key, creating it, and closes it again.
    int creates = 0;
    for (const auto& entry : registry.log()) creates += entry.call == Call::CreateKey && entry.path == tovikKey;
    EXPECT_EQ(creates, 4);
    EXPECT_EQ(registry.openKeyCount(), 0u);
}

TEST_F(OptionsTest, ARefusedOptionWriteIsReported) {
    registry.refuseWrite("AutoMinimize");
    loop.user([&] { form.cbAutoMinimize.toggleByUser(); });
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_EQ(errors()[0].text, "Fehler beim Setzen der Daten für 'AutoMinimize'");
    EXPECT_EQ(registry.openKeyCount(), 0u);
}

TEST_F(OptionsTest, CtrlAltAsksWhetherHibernateMayBeOffered) {
    loop.scriptAnswer({ui::answerYes, 0});
    form.cbHibernateForPwrOff.setChecked(true);
    form.cbHibernateForPwrOff.setVisible(false);
    keyDown('H', ctrlAlt);
    const ShownBox* box = lastQuestion();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text, "CheckBox 'In den Tiefschlafzustand statt Aussschalten bei CountDown' erlauben?");
    EXPECT_EQ(box->caption, "Tiefschlaf / Suspend bei CountDown");
    EXPECT_EQ(box->flags, 292u);
    EXPECT_EQ(registry.writes(), (std::vector<std::string>{"cbHibernateForPwrOffAllowed=dword:1",
                                                           "HibernateForPwrOff=dword:0"}));
    // Yes clears the check mark from the stored value; visibility waits for the next start.
    EXPECT_FALSE(form.cbHibernateForPwrOff.checked());
    EXPECT_FALSE(form.cbHibernateForPwrOff.visible());
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(registry.openKeyCount(), 0u);
}

TEST_F(OptionsTest, AnyOtherAnswerRefusesButLeavesTheBoxAsItIs) {
    for (int answer : {ui::answerNo, 2 /* closed */}) {
        SCOPED_TRACE(answer);
        OptionsWorld w;
        w.registry.plantDword(HKCU, tovikKey, "cbHibernateForPwrOffAllowed", 1);
        w.registry.plantDword(HKCU, tovikKey, "HibernateForPwrOff", 1);
        w.form.cbHibernateForPwrOff.setChecked(true);
        w.form.cbHibernateForPwrOff.setVisible(true);
        w.loop.scriptAnswer({answer, 0});
        w.keyDown(0x12, ctrlAlt);
        EXPECT_EQ(w.registry.writes(), (std::vector<std::string>{"cbHibernateForPwrOffAllowed=dword:0",
                                                                 "HibernateForPwrOff=dword:0"}));
        EXPECT_TRUE(w.form.cbHibernateForPwrOff.checked());
        EXPECT_TRUE(w.form.cbHibernateForPwrOff.visible());
        EXPECT_EQ(w.registry.openKeyCount(), 0u);
    }
}

TEST_F(OptionsTest, TheStoredAllowanceTakesEffectAtTheNextStart) {
    settings.LoadSettings(form);
    EXPECT_FALSE(form.cbHibernateForPwrOff.visible());
    loop.scriptAnswer({ui::answerYes, 0});
    keyDown('X', ctrlAlt);
    EXPECT_FALSE(form.cbHibernateForPwrOff.visible());

    ui::TForm1 next;
    settings.LoadSettings(next);
    EXPECT_TRUE(next.cbHibernateForPwrOff.visible());
    EXPECT_FALSE(next.cbHibernateForPwrOff.checked());
}

TEST_F(OptionsTest, NoDialogWithoutBothModifiersForAltGrOrWhileTheCountdownRuns) {
    keyDown('A', ui::ssCtrl);
    keyDown('A', ui::ssAlt);
    keyDown('A', ui::ssCtrl | ui::ssShift);
    // AltGr+Q types "@" on a German keyboard: Ctrl and Alt down, the right Alt among them.
    keyDown('Q', ui::ShiftStateOf(false, true, true, true));
    EXPECT_EQ(ui::ShiftStateOf(true, true, true, false), ctrlAlt | ui::ssShift);
    form.tmCountDown.setEnabled(true);
    keyDown('A', ctrlAlt | ui::ssShift);
    EXPECT_TRUE(loop.boxes().empty());
    EXPECT_TRUE(registry.log().empty());
    // The Shift state is recorded all the same.
    EXPECT_TRUE(form.shiftDown);
}

TEST_F(OptionsTest, TheShiftStateIsRecordedAfterTheDialogToo) {
    keyDown(0x10, ui::ssShift);
    EXPECT_TRUE(form.shiftDown);
    loop.scriptAnswer({ui::answerNo, 0});
    keyDown('A', ctrlAlt);
    EXPECT_EQ(loop.boxes().size(), 1u);
    EXPECT_FALSE(form.shiftDown);
    loop.scriptAnswer({ui::answerYes, 0});
    keyDown('A', ctrlAlt | ui::ssShift);
    EXPECT_TRUE(form.shiftDown);
}

TEST_F(OptionsTest, ARefusedAllowanceWriteEndsTheHandlerWithTheWriteError) {
    registry.failOpen(HKCU, tovikKey);
    loop.scriptAnswer({ui::answerYes, 0});
    form.cbHibernateForPwrOff.setChecked(true);
    keyDown('A', ctrlAlt);
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_EQ(errors()[0].text, "Fehler beim Setzen der Daten für 'cbHibernateForPwrOffAllowed'");
    EXPECT_TRUE(form.cbHibernateForPwrOff.checked());
}
