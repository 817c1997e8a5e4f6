// The per-user installer and its uninstaller, run silently as a package
// manager would: where the files, the shortcuts and the Uninstall entry go,
// that the installed program is this build and runs, that an installation
// over an existing one keeps the settings and counters, that a running Tovik
// stops both the installer and the uninstaller before they touch a file, and
// what the wizards say about a running Tovik when someone watches.
//
// Every test starts from a profile where Tovik was never installed (the
// installation folder, the shortcuts and the Uninstall entry removed) and
// runs the installed program in simulation mode only.
#include <shlobj.h>
#include <shobjidl.h>
#include <winver.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "TovikVersion.h"
#include "tests/e2e/TovikTest.h"

namespace tovik::e2e {
namespace {

namespace fs = std::filesystem;

constexpr const wchar_t* uninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zeb.Tovik";
// The installer's exit code when Tovik runs.
constexpr DWORD exitTovikRunning = 3;

fs::path knownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    if (FAILED(SHGetKnownFolderPath(id, 0, nullptr, &path))) throw std::runtime_error("no known folder");
    fs::path result(path);
    CoTaskMemFree(path);
    return result;
}

fs::path driverFolder() { return fs::path(tovikExecutable()).parent_path(); }
fs::path setupFile() { return driverFolder() / L"packages" / wide(TOVIK_SETUP_NAME); }
fs::path installFolder() { return knownFolder(FOLDERID_LocalAppData) / L"Programs" / L"Tovik"; }
fs::path installedExe() { return installFolder() / L"Tovik.exe"; }
fs::path startMenuShortcut() { return knownFolder(FOLDERID_Programs) / L"Tovik.lnk"; }
fs::path desktopShortcut() { return knownFolder(FOLDERID_Desktop) / L"Tovik.lnk"; }

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void appendToFile(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out << bytes;
}

// The target of a shell link, or an empty path when it cannot be read.
fs::path shortcutTarget(const fs::path& link) {
    fs::path target;
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW* shellLink = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&shellLink)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t path[MAX_PATH] = {};
            if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) &&
                SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, 0)))
                target = path;
            file->Release();
        }
        shellLink->Release();
    }
    if (SUCCEEDED(init)) CoUninitialize();
    return target;
}

bool samePath(const fs::path& a, const fs::path& b) {
    std::error_code error;
    return fs::equivalent(a, b, error);
}

struct VersionResource {
    std::string fixed;  // "1.2.3.0" from the fixed file info
    std::string productVersion;
    std::string fileVersion;
    std::string companyName;
};

std::optional<VersionResource> versionResource(const fs::path& file) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data())) return std::nullopt;
    VersionResource out;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed) {
        out.fixed = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) +
                    "." + std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                    std::to_string(LOWORD(fixed->dwFileVersionLS));
    }
    const auto text = [&](const wchar_t* name) {
        wchar_t* value = nullptr;
        const std::wstring query = std::wstring(L"\\StringFileInfo\\040704B0\\") + name;
        if (!VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
            return std::string();
        return utf8(value);
    };
    out.productVersion = text(L"ProductVersion");
    out.fileVersion = text(L"FileVersion");
    out.companyName = text(L"CompanyName");
    return out;
}

// Splits a command line as an Uninstall entry holds it: a quoted program
// and its arguments.
std::pair<std::wstring, std::wstring> splitCommand(const std::wstring& command) {
    if (command.size() < 2 || command[0] != L'"') return {};
    const size_t close = command.find(L'"', 1);
    if (close == std::wstring::npos) return {};
    std::wstring arguments = command.substr(close + 1);
    if (!arguments.empty() && arguments[0] == L' ') arguments.erase(0, 1);
    return {command.substr(1, close - 1), arguments};
}

// Answers a wizard's message box from the keyboard (Enter: the default
// button, Esc: Cancel). The box asks to be topmost, but Wine leaves it
// beneath Tovik's topmost window, where a click would hit Tovik instead.
void answer(const MessageBoxView& box, WORD key) {
    bringToForeground(box.window());
    pressKey(key);
}

class Installer : public TovikTest {
protected:
    void SetUp() override {
        TovikTest::SetUp();
        killLeftoverTovik(installedExe().wstring());
        forgetInstallation();
        ASSERT_TRUE(fs::exists(setupFile())) << utf8(setupFile().wstring())
                                             << " is missing: build the packages target first";
    }

    void TearDown() override {
        program.kill();
        TovikTest::TearDown();
        killLeftoverTovik(installedExe().wstring());
        forgetInstallation();
    }

    // A profile where Tovik was never installed.
    static void forgetInstallation() {
        std::error_code error;
        fs::remove_all(installFolder(), error);
        fs::remove(startMenuShortcut(), error);
        fs::remove(desktopShortcut(), error);
        reg::deleteTree(HKEY_CURRENT_USER, uninstallKey);
    }

    // Runs a program with the arguments to its end; returns its exit code.
    DWORD run(const fs::path& executable, std::wstring_view arguments, const char* what) {
        program.reset();
        program.setExecutable(executable.wstring());
        const double started = now();
        program.start(arguments);
        EXPECT_TRUE(program.waitForExit(60s)) << what << " did not end within 60 s";
        std::cout << what << " " << utf8(arguments) << ": exit code " << program.exitCode() << " after "
                  << int((now() - started) * 1000) << " ms\n";
        return program.exitCode();
    }
    DWORD install(std::wstring_view arguments = L"/S") { return run(setupFile(), arguments, "installer"); }
    // The QuietUninstallString of the Uninstall entry, exactly as it stands.
    DWORD quietUninstall() {
        const auto command = reg::getString(HKEY_CURRENT_USER, uninstallKey, L"QuietUninstallString");
        EXPECT_TRUE(command) << "no QuietUninstallString";
        if (!command) return DWORD(-1);
        const auto [executable, arguments] = splitCommand(wide(*command));
        EXPECT_FALSE(executable.empty()) << "not a quoted program: " << *command;
        return run(executable, arguments, "uninstaller");
    }

    std::optional<std::string> entry(const wchar_t* name) const {
        return reg::getString(HKEY_CURRENT_USER, uninstallKey, name);
    }

    // Starts the installed Tovik in simulation mode and waits for its window.
    Window startInstalled() {
        openDevEnvironment();
        tovik.setExecutable(installedExe().wstring());
        return start();
    }

    // The visible wizard window of the watched program (its caption begins
    // with the text), or an empty one after the time-out.
    Window waitForWizard(const std::string& caption, Millis timeout) {
        Window wizard;
        waitUntil(
            [&] {
                for (const Window& w : topLevelWindows(program.id()))
                    if (w.visible() && w.className() == "#32770" && w.text().rfind(caption, 0) == 0) wizard = w;
                return bool(wizard) || !program.running();
            },
            timeout);
        return wizard;
    }
    // A message box of the watched program over its wizard.
    MessageBoxView waitForBoxOver(const Window& wizard, Millis timeout) {
        MessageBoxView box;
        waitUntil(
            [&] {
                for (const Window& w : topLevelWindows(program.id()))
                    if (w.visible() && w.className() == "#32770" && !(w == wizard)) box = MessageBoxView(w);
                return bool(box) || !program.running();
            },
            timeout);
        return box;
    }

    // Marks the installed program as an older one: still a working
    // Tovik.exe, but not the file this build would install.
    static std::string ageInstalledProgram() {
        appendToFile(installedExe(), "older installed version");
        return readFile(installedExe());
    }

    TovikProcess program;
};

TEST_F(Installer, SilentInstallPutsTheProgramShortcutAndUninstallEntryInPlaceAndTheProgramRuns) {
    ASSERT_EQ(install(), 0u);

    // The files: this build's Tovik.exe and the uninstaller, nothing half done.
    const std::string built = readFile(tovikExecutable());
    ASSERT_FALSE(built.empty());
    EXPECT_EQ(readFile(installedExe()), built) << "the installed Tovik.exe is not the built one";
    EXPECT_TRUE(fs::exists(installFolder() / L"Uninstall.exe"));
    EXPECT_FALSE(fs::exists(installFolder() / L"Tovik.exe.neu"));

    // The Start-menu shortcut starts the installed program; the desktop one
    // is left out unless asked for.
    ASSERT_TRUE(fs::exists(startMenuShortcut())) << utf8(startMenuShortcut().wstring());
    EXPECT_TRUE(samePath(shortcutTarget(startMenuShortcut()), installedExe()))
        << utf8(shortcutTarget(startMenuShortcut()).wstring());
    EXPECT_FALSE(fs::exists(desktopShortcut()));

    // The Uninstall entry.
    const std::string folder = utf8(installFolder().wstring());
    EXPECT_EQ(entry(L"DisplayName"), std::optional<std::string>("Tovik"));
    EXPECT_EQ(entry(L"DisplayVersion"), std::optional<std::string>(TOVIK_VERSION_TEXT));
    EXPECT_EQ(entry(L"Publisher"), std::optional<std::string>(TOVIK_PUBLISHER));
    EXPECT_TRUE(samePath(wide(entry(L"DisplayIcon").value_or("")), installedExe())) << *entry(L"DisplayIcon");
    EXPECT_TRUE(samePath(wide(entry(L"InstallLocation").value_or("")), installFolder()));
    EXPECT_EQ(entry(L"UninstallString"), std::optional<std::string>("\"" + folder + "\\Uninstall.exe\""));
    EXPECT_EQ(entry(L"QuietUninstallString"),
              std::optional<std::string>("\"" + folder + "\\Uninstall.exe\" /S _?=" + folder));
    EXPECT_EQ(reg::getDword(HKEY_CURRENT_USER, uninstallKey, L"NoModify"), std::optional<DWORD>(1));
    EXPECT_EQ(reg::getDword(HKEY_CURRENT_USER, uninstallKey, L"NoRepair"), std::optional<DWORD>(1));
    uintmax_t bytes = 0;
    for (const auto& file : fs::directory_iterator(installFolder())) bytes += file.file_size();
    const auto estimated = reg::getDword(HKEY_CURRENT_USER, uninstallKey, L"EstimatedSize");
    ASSERT_TRUE(estimated) << "EstimatedSize is missing or not a DWORD";
    EXPECT_NEAR(double(*estimated), double(bytes) / 1024.0, 1.0) << "EstimatedSize is not the size in KiB";

    // The installed program carries the project version.
    const auto version = versionResource(installedExe());
    ASSERT_TRUE(version) << "no version resource";
    EXPECT_EQ(version->fixed, TOVIK_FILE_VERSION_TEXT);
    EXPECT_EQ(version->fileVersion, TOVIK_FILE_VERSION_TEXT);
    EXPECT_EQ(version->productVersion, TOVIK_VERSION_TEXT);
    EXPECT_EQ(version->companyName, TOVIK_PUBLISHER);

    // The installer writes no settings of its own.
    EXPECT_FALSE(reg::keyExists(HKEY_CURRENT_USER, reg::zebKey));

    // And the installed program runs and counts down.
    ASSERT_TRUE(startInstalled()) << "the installed Tovik.exe showed no window";
    const auto first = waitForTicksAtMost(1000, 5s);
    ASSERT_TRUE(first) << control(ids::stSeconds).text();
    EXPECT_TRUE(waitForTicksAtMost(first->ticks - 3, 5s)) << control(ids::stSeconds).text();
}

TEST_F(Installer, SecondSilentInstallReplacesTheProgramAndKeepsSettingsAndCounters) {
    ASSERT_EQ(install(), 0u);
    // What a used installation has: settings, counters, diagnostics and an
    // older program.
    reg::setDword(HKEY_CURRENT_USER, reg::settingsKey, L"RunCounter", 41);
    reg::setDword(HKEY_CURRENT_USER, reg::settingsKey, L"ForcePwrOff", 1);
    reg::setString(HKEY_CURRENT_USER, reg::diagnosticKey, L"LastShutDown", "1.2.2026 17:30:00");
    ageInstalledProgram();

    ASSERT_EQ(install(), 0u);
    EXPECT_EQ(readFile(installedExe()), readFile(tovikExecutable())) << "the older program was not replaced";
    EXPECT_FALSE(fs::exists(installFolder() / L"Tovik.exe.neu"));
    EXPECT_EQ(reg::getDword(HKEY_CURRENT_USER, reg::settingsKey, L"RunCounter"), std::optional<DWORD>(41));
    EXPECT_EQ(reg::getDword(HKEY_CURRENT_USER, reg::settingsKey, L"ForcePwrOff"), std::optional<DWORD>(1));
    EXPECT_EQ(reg::getString(HKEY_CURRENT_USER, reg::diagnosticKey, L"LastShutDown"),
              std::optional<std::string>("1.2.2026 17:30:00"));
    EXPECT_EQ(entry(L"DisplayVersion"), std::optional<std::string>(TOVIK_VERSION_TEXT));
    EXPECT_TRUE(fs::exists(startMenuShortcut()));
}

TEST_F(Installer, SilentInstallWhileTovikRunsFailsAndLeavesTheInstalledProgramAsItWas) {
    ASSERT_EQ(install(), 0u);
    const std::string older = ageInstalledProgram();
    ASSERT_TRUE(startInstalled());

    EXPECT_EQ(install(), exitTovikRunning);
    EXPECT_EQ(readFile(installedExe()), older) << "the installed program was touched";
    EXPECT_FALSE(fs::exists(installFolder() / L"Tovik.exe.neu"));
    EXPECT_TRUE(tovik.running());

    // The running copy was the only obstacle.
    tovik.kill();
    ASSERT_EQ(install(), 0u);
    EXPECT_EQ(readFile(installedExe()), readFile(tovikExecutable()));
}

TEST_F(Installer, SilentUninstallRemovesProgramShortcutsAndEntryButKeepsSettingsAndCounters) {
    ASSERT_EQ(install(), 0u);
    // The optional desktop shortcut, as the wizard would have made it.
    fs::copy_file(startMenuShortcut(), desktopShortcut());
    reg::setString(HKEY_CURRENT_USER, reg::diagnosticKey, L"LastShutDown", "1.2.2026 17:30:00");

    // While Tovik runs, nothing is removed.
    ASSERT_TRUE(startInstalled());
    ASSERT_TRUE(waitForTicksAtMost(1000, 5s));
    const auto runs = counter(L"RunCounter");
    ASSERT_TRUE(runs) << "the start was not counted";
    EXPECT_EQ(quietUninstall(), exitTovikRunning);
    EXPECT_TRUE(fs::exists(installedExe()));
    EXPECT_TRUE(fs::exists(installFolder() / L"Uninstall.exe"));
    EXPECT_TRUE(fs::exists(startMenuShortcut()));
    EXPECT_TRUE(reg::keyExists(HKEY_CURRENT_USER, uninstallKey));
    tovik.kill();

    // The exit code comes when the work is done: only the uninstaller's own
    // file and the folder go a moment later.
    EXPECT_EQ(quietUninstall(), 0u);
    EXPECT_FALSE(fs::exists(installedExe()));
    EXPECT_FALSE(fs::exists(startMenuShortcut()));
    EXPECT_FALSE(fs::exists(desktopShortcut()));
    EXPECT_FALSE(reg::keyExists(HKEY_CURRENT_USER, uninstallKey));
    EXPECT_TRUE(waitUntil([] { return !fs::exists(installFolder()); }, 10s))
        << "the installation folder is still there";
    EXPECT_EQ(counter(L"RunCounter"), runs);
    EXPECT_EQ(reg::getString(HKEY_CURRENT_USER, reg::diagnosticKey, L"LastShutDown"),
              std::optional<std::string>("1.2.2026 17:30:00"));
}

// The wizards ask the user to end a running Tovik: Retry asks again while it
// still runs and goes on once it has ended; Cancel ends the wizard with the
// running-Tovik exit code and leaves everything as it was.
TEST_F(Installer, WizardsAskToEndARunningTovikAndCancelLeavesEverythingAsItWas) {
    const std::string runningText =
        "Tovik läuft gerade.\r\n\r\nBitte beenden Sie Tovik und klicken Sie dann auf „Wiederholen“.";
    ASSERT_EQ(install(), 0u);
    const std::string older = ageInstalledProgram();
    ASSERT_TRUE(startInstalled());

    // The uninstaller, run in place so that its process is the one watched.
    program.reset();
    program.setExecutable((installFolder() / L"Uninstall.exe").wstring());
    program.start(L"_?=" + installFolder().wstring());
    MessageBoxView box = program.waitForMessageBox(20s);
    ASSERT_TRUE(box) << "the uninstaller did not say that Tovik runs";
    EXPECT_EQ(box.text(), runningText);
    EXPECT_EQ(box.caption(), "Deinstallation von Tovik");
    EXPECT_EQ(box.buttonTexts(), (std::vector<std::string>{"Abbrechen", "&Wiederholen"}));
    answer(box, VK_ESCAPE);
    ASSERT_TRUE(program.waitForExit(10s));
    EXPECT_EQ(program.exitCode(), exitTovikRunning);
    EXPECT_TRUE(reg::keyExists(HKEY_CURRENT_USER, uninstallKey));

    // The installer.
    program.reset();
    program.setExecutable(setupFile().wstring());
    program.start();
    box = program.waitForMessageBox(20s);
    ASSERT_TRUE(box) << "the installer did not say that Tovik runs";
    EXPECT_EQ(box.text(), runningText);
    EXPECT_EQ(box.caption(), "Installation von Tovik");
    const Window first = box.window();
    answer(box, VK_RETURN);
    // Still running: the same question again.
    waitUntil(
        [&] {
            box = findMessageBox(program.id());
            return (box && !(box.window() == first)) || !program.running();
        },
        10s);
    ASSERT_TRUE(box && !(box.window() == first)) << "Retry with Tovik still running did not ask again";
    EXPECT_EQ(box.text(), runningText);
    answer(box, VK_ESCAPE);
    ASSERT_TRUE(program.waitForExit(10s));
    EXPECT_EQ(program.exitCode(), exitTovikRunning);
    EXPECT_EQ(readFile(installedExe()), older);

    // Once Tovik has ended, Retry goes on to the wizard's first page.
    program.reset();
    program.start();
    box = program.waitForMessageBox(20s);
    ASSERT_TRUE(box);
    tovik.kill();
    answer(box, VK_RETURN);
    EXPECT_TRUE(waitForWizard("Installation von Tovik", 15s)) << "no wizard after Retry";
    program.kill();
    EXPECT_EQ(readFile(installedExe()), older) << "the wizard wrote before it was asked to";
}

// Uninstalling with the wizard asks whether the settings and counters go
// too, "Nein" being the default; "Ja" removes both keys, and HKCU\Software\Zeb
// with them when nothing else is left in it.
TEST_F(Installer, WizardUninstallAsksWhetherSettingsAndCountersGoAndYesRemovesThem) {
    ASSERT_EQ(install(), 0u);
    reg::setDword(HKEY_CURRENT_USER, reg::settingsKey, L"RunCounter", 5);
    reg::setString(HKEY_CURRENT_USER, reg::diagnosticKey, L"LastShutDown", "1.2.2026 17:30:00");

    program.reset();
    program.setExecutable((installFolder() / L"Uninstall.exe").wstring());
    program.start(L"_?=" + installFolder().wstring());
    const Window wizard = waitForWizard("Deinstallation von Tovik", 20s);
    ASSERT_TRUE(wizard) << "no uninstall wizard";
    bringToForeground(wizard);
    pressKey(VK_RETURN);  // "Deinstallieren"

    const MessageBoxView box = waitForBoxOver(wizard, 20s);
    ASSERT_TRUE(box) << "the uninstaller did not ask about the settings";
    EXPECT_EQ(box.text(),
              "Sollen auch die Einstellungen und Nutzungszähler von Tovik entfernt werden?\r\n\r\n"
              "Wenn Sie „Nein“ wählen, bleiben sie für eine spätere Installation erhalten.");
    EXPECT_EQ(box.icon(), IconKind::Question);
    std::vector<std::string> defaults;
    for (const auto& button : box.buttons())
        if (button.isDefault) defaults.push_back(button.text);
    EXPECT_EQ(defaults, std::vector<std::string>{"&Nein"});
    answer(box, 'J');  // "&Ja"

    // Done: the wizard's close button, enabled at the end, ends it.
    const Window close = wizard.child(IDOK);
    // The wizard names the button and enables it one after the other.
    EXPECT_TRUE(waitUntil([&] { return close.enabled() && close.text() == "&Beenden"; }, 10s))
        << "the uninstaller did not finish: " << close.text();
    click(close);
    ASSERT_TRUE(program.waitForExit(10s));
    EXPECT_EQ(program.exitCode(), 0u);
    EXPECT_FALSE(reg::keyExists(HKEY_CURRENT_USER, reg::settingsKey));
    EXPECT_FALSE(reg::keyExists(HKEY_CURRENT_USER, reg::diagnosticKey));
    EXPECT_FALSE(reg::keyExists(HKEY_CURRENT_USER, reg::zebKey));
    EXPECT_FALSE(fs::exists(installedExe()));
}

}  // namespace
}  // namespace tovik::e2e
