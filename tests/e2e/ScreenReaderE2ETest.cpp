// What a screen reader finds: on the real Tovik.exe, what Wine's oleacc
// answers an accessibility client and the countdown line's announcements;
// on the Windows window peer, what it hands Windows' property services
// (Wine's keep nothing) and the foreground rule (Wine lets a restore take
// the foreground).
#include <oleacc.h>

#include <map>

#include "platform/win32/Win32Platform.h"
#include "tests/e2e/TovikTest.h"
#include "ui/win32/Win32Application.h"
#include "ui/win32/Win32MainWindow.h"

namespace tovik::e2e {
namespace {

// The accessible object of a window's client area, as a screen reader gets it.
std::pair<std::string, long> nameAndRole(HWND window) {
    static const auto fromWindow = reinterpret_cast<decltype(&AccessibleObjectFromWindow)>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"oleacc.dll"), "AccessibleObjectFromWindow")));
    IAccessible* object = nullptr;
    if (!fromWindow || FAILED(fromWindow(window, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&object))))
        return {"(none)", 0};
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::pair<std::string, long> result;
    if (object->get_accName(self, &name) == S_OK && name) result.first = utf8(name);
    SysFreeString(name);
    VARIANT role{};
    if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4) result.second = role.lVal;
    object->Release();
    return result;
}

std::vector<int> liveRegionEvents;
void CALLBACK noteLiveRegion(HWINEVENTHOOK, DWORD, HWND window, LONG, LONG, DWORD, DWORD) {
    liveRegionEvents.push_back(GetDlgCtrlID(window));
}

using ScreenReaders = TovikTest;

TEST_F(ScreenReaders, FieldsAndArrowsAreNamedAndTheLineIsAnnouncedAtTheMarkOnly) {
    ASSERT_TRUE(start(L"11"));
    HWINEVENTHOOK hook = SetWinEventHook(0x8019 /* EVENT_OBJECT_LIVEREGIONCHANGED */, 0x8019, nullptr,
                                         noteLiveRegion, tovik.id(), 0, WINEVENT_OUTOFCONTEXT);
    TextTimeline line;
    line.start(control(ids::stSeconds));
    // Out-of-context events arrive as messages of this thread.
    waitUntil([&] {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        const auto seen = parseSecondsLine(control(ids::stSeconds).text());
        return seen && seen->ticks <= 90;
    }, 3s);
    line.stop();
    UnhookWinEvent(hook);
    // Ten seconds left: one announcement among the line's many changes.
    EXPECT_EQ(liveRegionEvents, std::vector<int>{ids::stSeconds}) << line.describe();
    EXPECT_GE(line.entries().size(), 10u);

    // Buttons and check boxes are named by their texts, the field by its label.
    for (const Window& child : main.children())
        EXPECT_TRUE(child.className() != "Button" || nameAndRole(child.handle()).first == child.text()) << child.text();
    EXPECT_EQ(nameAndRole(control(ids::seShutMinutes).handle()),
              std::make_pair(std::string("PowerOff Zeit in Minuten"), long{ROLE_SYSTEM_TEXT}));
    const Window arrows = control(ids::seShutMinutes).child(ids::seShutMinutesArrows);
    const std::vector<Window> parts = arrows.children();
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(nameAndRole(arrows.handle()).first, "Minuten");
    EXPECT_EQ(nameAndRole(parts[0].handle()).first, "Eine Minute mehr");
    EXPECT_EQ(nameAndRole(parts[1].handle()).first, "Eine Minute weniger");
}

// ---------------------------------------------------------------- the Windows window peer, in this process

// Windows' property services: the last value of each property per window.
struct KeptProperties : win32::AccessibleProperties {
    void setName(HWND window, const std::wstring& name) override { names[window] = name; }
    void setRole(HWND window, long role) override { roles[window] = role; }
    void setLiveSetting(HWND window, long setting) override { live[window] = setting; }
    std::map<HWND, std::wstring> names;
    std::map<HWND, long> roles, live;
};

// Windows' foreground rule: a restore from the background leaves the
// foreground where it is, here with `foreground`.
struct ForegroundRule : win32::Attention {
    HWND foregroundWindow() const override { return foreground; }
    void flash(FLASHWINFO& info) override { flashes.push_back(info); }
    HWND foreground = GetDesktopWindow();
    std::vector<FLASHWINFO> flashes;
};

TEST(ScreenReadersOnThePeer, PropertiesNameTheComboAndGiveRolesAndARestoreLeftBehindFlashes) {
    win32::Win32Application application(GetModuleHandleW(nullptr));
    win32::Win32SystemInfo system;
    ui::TForm1 form;
    KeptProperties properties;
    ForegroundRule rule;
    win32::Win32MainWindow window(GetModuleHandleW(nullptr), form, application, application.handle(), system,
                                  &properties, &rule);
    const Window main(window.handle());
    const Window arrows = main.child(ids::seShutMinutes).child(ids::seShutMinutesArrows);
    const std::vector<Window> parts = arrows.children();
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(properties.names[main.child(ids::seShutMinutes).handle()], L"PowerOff Zeit in Minuten");
    EXPECT_EQ(properties.names[main.child(ids::cbOffByTime).handle()], L"Vorgegebene Uhrzeit");
    EXPECT_EQ(properties.names[arrows.handle()], L"Minuten");
    EXPECT_EQ(properties.roles[arrows.handle()], ROLE_SYSTEM_SPINBUTTON);
    EXPECT_EQ(properties.roles[parts[0].handle()], ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(properties.names[parts[1].handle()], L"Eine Minute weniger");
    EXPECT_EQ(properties.live[main.child(ids::stSeconds).handle()], 1);

    // Restored behind another program's window: the taskbar button flashes
    // until the window comes to the foreground; restored in front: no flash.
    form.showWindow(ui::ShowCommand::Minimize);
    form.showWindow(ui::ShowCommand::Restore);
    ASSERT_EQ(rule.flashes.size(), 1u);
    EXPECT_EQ(rule.flashes[0].hwnd, window.handle());
    EXPECT_EQ(rule.flashes[0].dwFlags, DWORD{FLASHW_TRAY | FLASHW_TIMERNOFG});
    rule.foreground = window.handle();
    form.showWindow(ui::ShowCommand::Minimize);
    form.showWindow(ui::ShowCommand::Restore);
    EXPECT_EQ(rule.flashes.size(), 1u);
}

}  // namespace
}  // namespace tovik::e2e
