// Windows' dark app mode: on the real Tovik.exe, the dark face and its live
// switch back to light under Wine; on the window peer, the caption's DWM
// attribute (Wine ignores it) through a double that behaves as Windows does.
#include <map>

#include "platform/win32/Win32Platform.h"
#include "tests/e2e/TovikTest.h"
#include "ui/Palette.h"
#include "ui/win32/Win32Application.h"
#include "ui/win32/Win32MainWindow.h"

namespace tovik::e2e {
namespace {

constexpr const wchar_t* personalizeKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
constexpr const wchar_t* appModeValue = L"AppsUseLightTheme";

// The app mode dark while the object lives; missing (light) afterwards.
struct DarkAppMode {
    DarkAppMode() { reg::setDword(HKEY_CURRENT_USER, personalizeKey, appModeValue, 0); }
    ~DarkAppMode() { reg::deleteValue(HKEY_CURRENT_USER, personalizeKey, appModeValue); }
    // What Settings does when the user picks the light mode again.
    static void switchToLight(HWND window, bool broadcast) {
        reg::setDword(HKEY_CURRENT_USER, personalizeKey, appModeValue, 1);
        const auto area = reinterpret_cast<LPARAM>(L"ImmersiveColorSet");
        SendMessageTimeoutW(broadcast ? HWND_BROADCAST : window, WM_SETTINGCHANGE, 0, area, SMTO_ABORTIFHUNG, 3000,
                            nullptr);
    }
};

const COLORREF darkFace = win32::ColorRefOf(ui::dark::face);

using DarkMode = TovikTest;

TEST_F(DarkMode, FaceIsDarkAtStartAndTurnsLightWhenTheModeIsBroadcast) {
    DarkAppMode dark;
    ASSERT_TRUE(start(L"100"));
    EXPECT_TRUE(waitUntil([&] { return screenPixel(main, 2, 2) == darkFace; }, 3s))
        << std::hex << screenPixel(main, 2, 2);
    DarkAppMode::switchToLight(main.handle(), /*broadcast=*/true);
    EXPECT_TRUE(waitUntil([&] { return screenPixel(main, 2, 2) == GetSysColor(COLOR_BTNFACE); }, 3s))
        << "after the broadcast " << std::hex << screenPixel(main, 2, 2);
    EXPECT_TRUE(tovik.running());
}

// DwmSetWindowAttribute as Windows answers it: the dark-mode attribute by the
// one number the system knows, any other refused.
struct DwmDouble : win32::DwmWindowAttributes {
    explicit DwmDouble(DWORD known) : known(known) {}
    HRESULT set(HWND window, DWORD attribute, const void* value, DWORD size) override {
        asked.push_back(attribute);
        if (attribute != known || size != sizeof(BOOL)) return E_INVALIDARG;
        dark[window] = *static_cast<const BOOL*>(value);
        return S_OK;
    }
    DWORD known;
    std::vector<DWORD> asked;
    std::map<HWND, BOOL> dark;
};

TEST(DarkCaptionOnThePeer, CaptionIsDarkWhileTheModeIsAndLightAgainAfterTheSwitch) {
    win32::Win32Application application(GetModuleHandleW(nullptr));
    win32::Win32SystemInfo system;
    DwmDouble dwm(win32::darkModeAttribute);
    DarkAppMode dark;
    ui::TForm1 form;
    win32::Win32MainWindow window(GetModuleHandleW(nullptr), form, application, application.handle(), system, nullptr,
                                  nullptr, &dwm);
    EXPECT_EQ(dwm.dark[window.handle()], TRUE);
    DarkAppMode::switchToLight(window.handle(), /*broadcast=*/false);
    EXPECT_EQ(dwm.dark[window.handle()], FALSE);
    EXPECT_EQ(dwm.asked, (std::vector<DWORD>{20, 20}));

    // Windows 10 before build 18985 knows the attribute as 19 only.
    DwmDouble older(win32::darkModeAttributeBefore18985);
    EXPECT_TRUE(win32::ShowCaptionDark(older, window.handle(), true));
    EXPECT_EQ(older.dark[window.handle()], TRUE);
    EXPECT_EQ(older.asked, (std::vector<DWORD>{20, 19}));
}

}  // namespace
}  // namespace tovik::e2e
