// Start-up as the user sees it: the main window appears, owned by the
// application window whose text is the taskbar entry; DLLs planted beside
// Tovik.exe are not loaded.
#include <filesystem>

#include "tests/e2e/TovikTest.h"

namespace tovik::e2e {
namespace {

using Startup = TovikTest;

TEST_F(Startup, ShowsMainWindowOwnedByTheApplicationWindow) {
    ASSERT_TRUE(start()) << "no visible TForm1 window of Tovik.exe appeared";
    EXPECT_EQ(main.className(), "TForm1");
    EXPECT_TRUE(main.visible());
    const Window app = owner();
    ASSERT_TRUE(app) << "the main window has no owner window";
    EXPECT_EQ(app.className(), "TApplication");
    EXPECT_EQ(app.processId(), tovik.id());
    EXPECT_TRUE(tovik.running());
}

// Windows loads a DLL that is not one of its KnownDLLs from the program's
// folder first; Wine does the same for the DLLs told to prefer native ones.
TEST_F(Startup, DllsPlantedBesideTheProgramAreNotLoaded) {
    namespace fs = std::filesystem;
    const fs::path built = fs::path(tovikExecutable()).parent_path();
    const fs::path folder = built / "planted";
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy_file(built / "Tovik.exe", folder / "Tovik.exe");
    const std::vector<std::wstring> names{L"powrprof", L"msimg32", L"uxtheme", L"oleacc", L"dwmapi"};
    // Tovik.exe prefers native DLLs of these names (every test's set-up clears it).
    const wchar_t* overrides = L"Software\\Wine\\AppDefaults\\Tovik.exe\\DllOverrides";
    for (const auto& name : names) {
        fs::copy_file(built / "PlantedDll.dll", folder / (name + L".dll"));
        reg::setString(HKEY_CURRENT_USER, overrides, name.c_str(), "native,builtin");
    }
    tovik.setExecutable(folder / "Tovik.exe");
    const bool started = bool(start(L"100"));
    // The window asked about hibernation while it was made; its pictures are painted by now.
    EXPECT_TRUE(started);
    sleepFor(1s);
    for (const auto& name : names) EXPECT_FALSE(fs::exists(folder / (name + L".dll.loaded"))) << utf8(name);
}

}  // namespace
}  // namespace tovik::e2e
