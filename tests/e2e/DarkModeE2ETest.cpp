// Windows' dark app mode: on the real Tovik.exe, the dark face and its live
// switch back to light under Wine; on the window peer, the caption's DWM
// attribute (Wine ignores it) through a double that behaves as Windows does,
// and the focus frames of the custom-drawn push buttons.
#include <functional>
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

// What `paint` leaves in a bitmap of that size, row by row (0x00RRGGBB).
std::vector<DWORD> painted(int width, int height, const std::function<void(HDC)>& paint) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    paint(dc);
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + width * height);
    DeleteObject(SelectObject(dc, old));
    DeleteDC(dc);
    return pixels;
}

COLORREF erasedFace(HWND window) {
    const DWORD pixel = painted(1, 1, [&](HDC dc) { SendMessageW(window, WM_ERASEBKGND, WPARAM(dc), 0); })[0];
    return RGB(GetBValue(pixel), GetGValue(pixel), GetRValue(pixel));
}

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

TEST(DarkLookOnThePeer, CaptionFollowsTheModeTheLookStaysLightWhereItCannotAndFocusFramesFollowTheCues) {
    win32::Win32Application application(GetModuleHandleW(nullptr));
    win32::Win32SystemInfo system;
    DarkAppMode dark;
    {
        // Windows 10 before the builds that know either number refuses both:
        // the window stays light under its light caption.
        DwmDouble neither(0);
        ui::TForm1 form;
        win32::Win32MainWindow window(GetModuleHandleW(nullptr), form, application, application.handle(), system,
                                      nullptr, nullptr, &neither);
        EXPECT_EQ(neither.asked, (std::vector<DWORD>{20, 19}));
        EXPECT_EQ(erasedFace(window.handle()), GetSysColor(COLOR_BTNFACE));
    }
    DwmDouble dwm(win32::darkModeAttribute);
    ui::TForm1 form;
    win32::Win32MainWindow window(GetModuleHandleW(nullptr), form, application, application.handle(), system, nullptr,
                                  nullptr, &dwm);
    EXPECT_EQ(dwm.dark[window.handle()], TRUE);
    EXPECT_EQ(erasedFace(window.handle()), darkFace);

    // The standard push buttons ("Go!"), custom-drawn in the dark look, show
    // the dotted focus frame only while the item state carries the cues.
    const HWND go = Window(window.handle()).child(ids::btRestart).handle();
    const auto drawn = [&](UINT state) {
        return painted(80, 30, [&](HDC dc) {
            NMCUSTOMDRAW draw{{go, ids::btRestart, UINT(NM_CUSTOMDRAW)}, CDDS_PREPAINT, dc, {0, 0, 80, 30}, 0, state,
                              0};
            SendMessageW(window.handle(), WM_NOTIFY, ids::btRestart, reinterpret_cast<LPARAM>(&draw));
        });
    };
    EXPECT_TRUE(drawn(CDIS_FOCUS) == drawn(0)) << "a focus frame while the cues are hidden";
    EXPECT_FALSE(drawn(CDIS_FOCUS | CDIS_SHOWKEYBOARDCUES) == drawn(0)) << "no focus frame with the cues";

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
