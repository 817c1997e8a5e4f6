// What a screen reader finds: on the real Tovik.exe, Wine's oleacc answers
// and the line's announcements; on the window peer, what it hands Windows'
// property services (Wine's keep nothing) and the foreground rule.
#include <oleacc.h>

#include <map>

#include "platform/win32/Utf16.h"
#include "platform/win32/Win32Platform.h"
#include "tests/e2e/TovikTest.h"
#include "ui/win32/ButtonPainter.h"
#include "ui/win32/Win32Application.h"
#include "ui/win32/Win32MainWindow.h"

namespace tovik::e2e {
namespace {

// The name of a window's client area, as a screen reader gets it.
std::string accessibleName(HWND window) {
    static const auto fromWindow = reinterpret_cast<decltype(&AccessibleObjectFromWindow)>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"oleacc.dll"), "AccessibleObjectFromWindow")));
    IAccessible* object = nullptr;
    BSTR name = nullptr;
    if (FAILED(fromWindow(window, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&object)))) return "(none)";
    VARIANT self{};
    self.vt = VT_I4;
    const std::string result = object->get_accName(self, &name) == S_OK && name ? utf8(name) : "";
    SysFreeString(name);
    object->Release();
    return result;
}

std::vector<int> liveRegionEvents;
void CALLBACK noteLiveRegion(HWINEVENTHOOK, DWORD, HWND window, LONG, LONG, DWORD, DWORD) {
    liveRegionEvents.push_back(GetDlgCtrlID(window));
}

using ScreenReaders = TovikTest;

TEST_F(ScreenReaders, FieldsAndArrowsAreNamedTheLineIsAnnouncedAtTheMarkOnlyAndTheFocusComesBack) {
    ASSERT_TRUE(start(L"11"));
    HWINEVENTHOOK hook = SetWinEventHook(0x8019 /* EVENT_OBJECT_LIVEREGIONCHANGED */, 0x8019, nullptr,
                                         noteLiveRegion, tovik.id(), 0, WINEVENT_OUTOFCONTEXT);
    // Out-of-context events arrive as messages of this thread.
    const bool pastTheMark = waitUntil([&] {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        const auto seen = parseSecondsLine(control(ids::stSeconds).text());
        return seen && seen->ticks <= 90;
    }, 10s);
    UnhookWinEvent(hook);
    ASSERT_TRUE(pastTheMark) << control(ids::stSeconds).text();
    // Twenty ticks, one announcement: ten seconds left.
    EXPECT_EQ(liveRegionEvents, std::vector<int>{ids::stSeconds});
    // The field is named by its label before it, the arrows by their texts.
    EXPECT_EQ(accessibleName(control(ids::seShutMinutes).handle()), "PowerOff Zeit in Minuten");
    const Window arrows = control(ids::seShutMinutes).child(ids::seShutMinutesArrows);
    const std::vector<Window> parts = arrows.children();
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(accessibleName(arrows.handle()), "Minuten");
    EXPECT_EQ(accessibleName(parts[0].handle()), "Eine Minute mehr");
    EXPECT_EQ(accessibleName(parts[1].handle()), "Eine Minute weniger");

    // Away and back: the control that had the keyboard focus has it again,
    // not the window itself.
    const auto focusInTovik = [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(main.handle(), nullptr), &info);
        return info.hwndFocus;
    };
    // Tab moves the focus once Tovik has read the key, which on a busy
    // machine is a while after it was pressed.
    const HWND before = focusInTovik();
    pressKeyInTovik(VK_TAB);
    HWND focused = nullptr;
    ASSERT_TRUE(waitUntil([&] {
        focused = focusInTovik();
        return focused && focused != before && IsChild(main.handle(), focused);
    }, 5s)) << "Tab moved no focus";
    HWND other = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 60, 60, nullptr, nullptr,
                                 nullptr, nullptr);
    EXPECT_TRUE(bringToForeground(Window(other)));
    EXPECT_TRUE(bringToForeground(main));
    // The focus comes back as Tovik handles its activation, after the
    // foreground has already changed.
    EXPECT_TRUE(waitUntil([&] { return focusInTovik() == focused; }, 5s)) << focusInTovik();
    DestroyWindow(other);
}

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

TEST(ScreenReadersOnThePeer, PropertiesNameTheComboAndEmptiedButtonsGiveRolesAndARestoreLeftBehindFlashes) {
    win32::Win32Application application(GetModuleHandleW(nullptr));
    win32::Win32SystemInfo system;
    ui::TForm1 form;
    KeptProperties properties;
    ForegroundRule rule;
    win32::Win32MainWindow window(GetModuleHandleW(nullptr), form, application, application.handle(), system,
                                  &properties, &rule);
    const Window main(window.handle());
    const HWND arrows = main.child(ids::seShutMinutes).child(ids::seShutMinutesArrows).handle();
    EXPECT_EQ(properties.names[main.child(ids::seShutMinutes).handle()], L"PowerOff Zeit in Minuten");
    EXPECT_EQ(properties.names[main.child(ids::cbOffByTime).handle()], L"Vorgegebene Uhrzeit");
    EXPECT_EQ(properties.roles[arrows], ROLE_SYSTEM_SPINBUTTON);
    EXPECT_EQ(properties.roles[GetWindow(arrows, GW_CHILD)], ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(properties.live[main.child(ids::stSeconds).handle()], 1);

    // A button whose caption is emptied keeps the name of what it does,
    // while its visible caption stays empty.
    const HWND logOff = main.child(ids::btLogOff).handle();
    const std::wstring startCaption = win32::Widen(form.btLogOff.caption());
    ASSERT_FALSE(startCaption.empty());
    EXPECT_EQ(properties.names.count(logOff), 0u) << "the caption names it by itself";
    form.btLogOff.setCaption("");
    EXPECT_EQ(properties.names[logOff], startCaption);
    EXPECT_EQ(main.child(ids::btLogOff).text(), "");
    form.btLogOff.setCaption("Abmelden");
    form.btLogOff.setCaption("");
    EXPECT_EQ(properties.names[logOff], L"Abmelden");


    // Restored behind another program's window: the taskbar button flashes
    // until the window comes to the foreground; restored in front: no flash.
    form.showWindow(ui::ShowCommand::Minimize);
    form.showWindow(ui::ShowCommand::Restore);
    ASSERT_EQ(rule.flashes.size(), 1u);
    EXPECT_TRUE(rule.flashes[0].hwnd == window.handle() && rule.flashes[0].dwFlags == (FLASHW_TRAY | FLASHW_TIMERNOFG));
    rule.foreground = window.handle();
    form.showWindow(ui::ShowCommand::Minimize);
    form.showWindow(ui::ShowCommand::Restore);
    EXPECT_EQ(rule.flashes.size(), 1u);
}

// The focused picture button draws its dotted frame only while keyboard
// cues are shown; the system says when they are not (Wine never does). The
// two pictures differ on that frame alone.
TEST(KeyboardCuesOnThePeer, FocusFrameIsDrawnOnlyWithoutTheSystemsNoFocusRectangleFlag) {
    constexpr int w = 200, h = 40;
    ui::TForm1 form;
    win32::GdiResources resources;
    win32::ButtonPainter painter(GetModuleHandleW(nullptr), resources);
    HDC dc = CreateCompatibleDC(nullptr);
    const auto draw = [&](UINT state) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(dc, bitmap);
        const DRAWITEMSTRUCT item{ODT_BUTTON, ids::btOops, 0, ODA_DRAWENTIRE, state, nullptr, dc, {0, 0, w, h}, 0};
        painter.draw(item, form.btOops, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), false, 96);
        GdiFlush();
        std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + w * h);
        DeleteObject(SelectObject(dc, old));
        return pixels;
    };
    const std::vector<DWORD> cued = draw(ODS_FOCUS), uncued = draw(ODS_FOCUS | ODS_NOFOCUSRECT);
    DeleteDC(dc);
    const auto onFrame = [](int v, int size) { return v == 4 || v == 5 || v == size - 5 || v == size - 6; };
    int differing = 0;
    for (int i = 0; i < w * h; ++i)
        if (cued[i] != uncued[i]) {
            ++differing;
            EXPECT_TRUE(onFrame(i % w, w) || onFrame(i / w, h)) << i % w << "," << i / w << " off the focus frame";
        }
    EXPECT_GT(differing, 100) << "no focus frame drawn";
}

}  // namespace
}  // namespace tovik::e2e
