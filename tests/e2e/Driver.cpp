#include "tests/e2e/Driver.h"

#include "ui/ControlIds.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <future>
#include <sstream>
#include <stdexcept>

namespace tovik::e2e {

// ---------------------------------------------------------------- text, time

std::string utf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring wide(std::string_view text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring out(size_t(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), out.data(), size);
    return out;
}

double now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return double(f.QuadPart);
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) / frequency;
}

void sleepFor(Millis duration) { Sleep(DWORD(duration.count())); }

const char* toString(IconKind kind) {
    switch (kind) {
    case IconKind::None: return "none";
    case IconKind::Information: return "information";
    case IconKind::Warning: return "warning";
    case IconKind::Error: return "error";
    case IconKind::Question: return "question";
    case IconKind::Unknown: return "unknown";
    }
    return "?";
}

// ---------------------------------------------------------------- windows

namespace {

constexpr UINT crossProcessTimeoutMs = 5000;

LRESULT sendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, crossProcessTimeoutMs, &result)) return 0;
    return LRESULT(result);
}

}  // namespace

std::string Window::text() const {
    if (!handle_) return {};
    const LRESULT length = sendTo(handle_, WM_GETTEXTLENGTH, 0, 0);
    std::wstring buffer(size_t(length) + 64, L'\0');
    const LRESULT copied = sendTo(handle_, WM_GETTEXT, WPARAM(buffer.size()), LPARAM(buffer.data()));
    buffer.resize(size_t(std::max<LRESULT>(copied, 0)));
    return utf8(buffer);
}

std::string Window::className() const {
    wchar_t name[256] = {};
    GetClassNameW(handle_, name, 256);
    return utf8(name);
}

int Window::id() const { return int(GetWindowLongPtrW(handle_, GWLP_ID)); }

DWORD Window::processId() const {
    DWORD pid = 0;
    GetWindowThreadProcessId(handle_, &pid);
    return pid;
}

bool Window::visible() const { return handle_ && IsWindowVisible(handle_); }
bool Window::enabled() const { return handle_ && IsWindowEnabled(handle_); }
LRESULT Window::checkState() const { return sendTo(handle_, BM_GETCHECK, 0, 0); }
LONG_PTR Window::style() const { return GetWindowLongPtrW(handle_, GWL_STYLE); }
LONG_PTR Window::exStyle() const { return GetWindowLongPtrW(handle_, GWL_EXSTYLE); }

RECT Window::screenRect() const {
    RECT r{};
    GetWindowRect(handle_, &r);
    return r;
}

int Window::outerHeight() const {
    const RECT r = screenRect();
    return r.bottom - r.top;
}

RECT Window::rectInParent() const {
    RECT r = screenRect();
    MapWindowPoints(HWND_DESKTOP, GetParent(handle_), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT Window::clientScreenRect() const {
    RECT r{};
    GetClientRect(handle_, &r);
    MapWindowPoints(handle_, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

Window Window::owner() const { return Window(GetWindow(handle_, GW_OWNER)); }
Window Window::parent() const { return Window(GetParent(handle_)); }
Window Window::child(int controlId) const { return Window(GetDlgItem(handle_, controlId)); }

std::vector<Window> Window::children() const {
    struct Collect {
        HWND parent;
        std::vector<Window> found;
    } collect{handle_, {}};
    EnumChildWindows(
        handle_,
        [](HWND child, LPARAM data) -> BOOL {
            auto* c = reinterpret_cast<Collect*>(data);
            if (GetParent(child) == c->parent) c->found.emplace_back(child);
            return TRUE;
        },
        LPARAM(&collect));
    return collect.found;
}

std::vector<Window> topLevelWindows(DWORD processId) {
    struct Collect {
        DWORD pid;
        std::vector<Window> found;
    } collect{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* c = reinterpret_cast<Collect*>(data);
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (pid == c->pid) c->found.emplace_back(window);
            return TRUE;
        },
        LPARAM(&collect));
    return collect.found;
}

Window findTopLevel(DWORD processId, std::wstring_view className, bool visibleOnly) {
    const std::string wanted = utf8(className);
    for (const Window& w : topLevelWindows(processId)) {
        if (w.className() != wanted) continue;
        if (visibleOnly && !w.visible()) continue;
        return w;
    }
    return {};
}

namespace {

// A 32-bit top-down bitmap selected into a memory device context, to draw
// or copy into and read back pixel by pixel.
class PixelCanvas {
public:
    PixelCanvas(HDC compatible, int width, int height) : width_(width), height_(height) {
        memory_ = CreateCompatibleDC(compatible);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_ = CreateDIBSection(memory_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        old_ = SelectObject(memory_, bitmap_);
    }
    ~PixelCanvas() {
        SelectObject(memory_, old_);
        DeleteObject(bitmap_);
        DeleteDC(memory_);
    }
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;

    HDC dc() const { return memory_; }
    int size() const { return width_ * height_; }
    // Pixel i, counted row by row, once drawing is flushed.
    COLORREF pixel(int i) const {
        const DWORD p = static_cast<const DWORD*>(bits_)[i];  // 0x00RRGGBB
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

private:
    int width_;
    int height_;
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
};

}  // namespace

std::vector<COLORREF> captureClient(const Window& window, RECT area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    std::vector<COLORREF> out;
    if (width <= 0 || height <= 0) return out;
    POINT origin{area.left, area.top};
    ClientToScreen(window.handle(), &origin);

    HDC screen = GetDC(nullptr);
    {
        PixelCanvas canvas(screen, width, height);
        BitBlt(canvas.dc(), 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
        GdiFlush();
        out.reserve(size_t(canvas.size()));
        for (int i = 0; i < canvas.size(); ++i) out.push_back(canvas.pixel(i));
    }
    ReleaseDC(nullptr, screen);
    return out;
}

namespace {

bool similar(COLORREF a, COLORREF b) {
    auto close = [](int x, int y) { return std::abs(x - y) <= 8; };
    return close(GetRValue(a), GetRValue(b)) && close(GetGValue(a), GetGValue(b)) &&
           close(GetBValue(a), GetBValue(b));
}

std::string hex(COLORREF c) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return buffer;
}

}  // namespace

COLORREF screenPixel(const Window& window, int clientX, int clientY) {
    const auto pixels = captureClient(window, RECT{clientX, clientY, clientX + 1, clientY + 1});
    return pixels.empty() ? CLR_INVALID : pixels.front();
}

std::string GaugeScan::describe() const {
    std::ostringstream out;
    out << "width " << total << ": bar " << bar << ", background " << background << ", red " << red
        << ", other " << other;
    if (!pixels.empty()) {
        // Run-length summary of the colours, left to right.
        out << " [";
        size_t i = 0;
        while (i < pixels.size()) {
            size_t j = i;
            while (j < pixels.size() && pixels[j] == pixels[i]) ++j;
            out << hex(pixels[i]) << "x" << (j - i) << (j < pixels.size() ? " " : "");
            i = j;
        }
        out << "]";
    }
    return out.str();
}

GaugeScan scanGauge(const Window& mainWindow, RECT gauge, RECT inner) {
    GaugeScan scan;
    const int y = (gauge.top + inner.top) / 2;
    scan.pixels = captureClient(mainWindow, RECT{gauge.left, y, gauge.right, y + 1});
    // A thin border of another colour (up to 3 pixels each side) frames the
    // gauge; the bar and the background lie within it.
    auto gaugeColour = [](COLORREF p) {
        return similar(p, gaugeBar) || similar(p, gaugeBackground) || similar(p, gaugeRed);
    };
    for (int i = 0; i < 3 && !scan.pixels.empty() && !gaugeColour(scan.pixels.front()); ++i)
        scan.pixels.erase(scan.pixels.begin());
    for (int i = 0; i < 3 && !scan.pixels.empty() && !gaugeColour(scan.pixels.back()); ++i) scan.pixels.pop_back();
    scan.total = int(scan.pixels.size());
    bool inBar = true;
    for (int i = 0; i < scan.total; ++i) {
        const COLORREF p = scan.pixels[size_t(i)];
        const bool isBar = similar(p, gaugeBar);
        if (isBar && inBar) {
            ++scan.bar;
            continue;
        }
        if (inBar) {
            inBar = false;
            scan.firstNonBar = i;
        }
        if (isBar) ++scan.other;  // blue after the bar has ended: not a bar from the left
        else if (similar(p, gaugeBackground)) ++scan.background;
        else if (similar(p, gaugeRed)) ++scan.red;
        else ++scan.other;
    }
    return scan;
}

// ---------------------------------------------------------------- input

namespace {

void sendInputs(std::vector<INPUT>& inputs) {
    if (inputs.empty()) return;
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT keyInput(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = WORD(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

INPUT mouseInput(DWORD flags, int screenX, int screenY) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    const int w = GetSystemMetrics(SM_CXSCREEN);
    const int h = GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = LONG((screenX * 65535LL + (w - 1) / 2) / std::max(1, w - 1));
    in.mi.dy = LONG((screenY * 65535LL + (h - 1) / 2) / std::max(1, h - 1));
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    return in;
}

// Wine's X11 driver reports the pointer where X last saw it, which on a busy
// machine can be a place the mouse has long left (a window that appeared
// under it): such a report moves the cursor away. So every press and release
// names its place, and the two go in together: a report between them would
// pull the mouse off the button and cancel the click.
INPUT buttonInput(DWORD flags, int screenX, int screenY) { return mouseInput(MOUSEEVENTF_MOVE | flags, screenX, screenY); }

void mouseClickAtScreen(int x, int y, int clicks) {
    std::vector<INPUT> move{mouseInput(MOUSEEVENTF_MOVE, x, y)};
    sendInputs(move);
    sleepFor(20ms);
    for (int i = 0; i < clicks; ++i) {
        std::vector<INPUT> press{buttonInput(MOUSEEVENTF_LEFTDOWN, x, y), buttonInput(MOUSEEVENTF_LEFTUP, x, y)};
        sendInputs(press);
        sleepFor(30ms);
    }
}

Window rootOf(const Window& w) { return Window(GetAncestor(w.handle(), GA_ROOT)); }

}  // namespace

bool bringToForeground(const Window& topLevel) {
    if (GetForegroundWindow() == topLevel.handle()) return true;
    SetForegroundWindow(topLevel.handle());
    return waitUntil([&] { return GetForegroundWindow() == topLevel.handle(); }, 2s);
}

void clickAt(const Window& window, int clientX, int clientY) {
    bringToForeground(rootOf(window));
    POINT p{clientX, clientY};
    ClientToScreen(window.handle(), &p);
    mouseClickAtScreen(p.x, p.y, 1);
}

void doubleClickAt(const Window& window, int clientX, int clientY) {
    bringToForeground(rootOf(window));
    POINT p{clientX, clientY};
    ClientToScreen(window.handle(), &p);
    mouseClickAtScreen(p.x, p.y, 2);
}

void holdMouseAt(const Window& window, int clientX, int clientY, Millis duration) {
    bringToForeground(rootOf(window));
    POINT p{clientX, clientY};
    ClientToScreen(window.handle(), &p);
    std::vector<INPUT> move{mouseInput(MOUSEEVENTF_MOVE, p.x, p.y)};
    sendInputs(move);
    sleepFor(20ms);
    std::vector<INPUT> down{buttonInput(MOUSEEVENTF_LEFTDOWN, p.x, p.y)};
    sendInputs(down);
    sleepFor(duration);
    std::vector<INPUT> up{buttonInput(MOUSEEVENTF_LEFTUP, p.x, p.y)};
    sendInputs(up);
    sleepFor(30ms);
}

void click(const Window& control) {
    RECT r{};
    GetClientRect(control.handle(), &r);
    clickAt(control, (r.right - r.left) / 2, (r.bottom - r.top) / 2);
}

void doubleClick(const Window& control) {
    RECT r{};
    GetClientRect(control.handle(), &r);
    doubleClickAt(control, (r.right - r.left) / 2, (r.bottom - r.top) / 2);
}

void pressKey(WORD virtualKey, unsigned modifiers) {
    std::vector<WORD> held;
    if (modifiers & Ctrl) held.push_back(VK_CONTROL);
    if (modifiers & Alt) held.push_back(VK_MENU);
    if (modifiers & Shift) held.push_back(VK_SHIFT);
    std::vector<INPUT> inputs;
    for (WORD m : held) inputs.push_back(keyInput(m, false));
    inputs.push_back(keyInput(virtualKey, false));
    inputs.push_back(keyInput(virtualKey, true));
    for (auto it = held.rbegin(); it != held.rend(); ++it) inputs.push_back(keyInput(*it, true));
    for (INPUT& in : inputs) {
        std::vector<INPUT> one{in};
        sendInputs(one);
        sleepFor(10ms);
    }
}

void keyDown(WORD virtualKey) {
    std::vector<INPUT> down{keyInput(virtualKey, false)};
    sendInputs(down);
    sleepFor(10ms);
}

void keyUp(WORD virtualKey) {
    std::vector<INPUT> up{keyInput(virtualKey, true)};
    sendInputs(up);
    sleepFor(10ms);
}

void typeText(std::string_view text) {
    for (wchar_t c : wide(text)) {
        const SHORT scan = VkKeyScanW(c);
        if (scan == -1) continue;
        unsigned modifiers = NoModifier;
        if (scan & 0x100) modifiers |= Shift;
        if (scan & 0x200) modifiers |= Ctrl;
        if (scan & 0x400) modifiers |= Alt;
        pressKey(WORD(scan & 0xFF), modifiers);
    }
}

// ---------------------------------------------------------------- message boxes

std::string MessageBoxView::text() const { return box_.child(0xFFFF).text(); }

std::vector<MessageBoxButton> MessageBoxView::buttons() const {
    std::vector<MessageBoxButton> out;
    for (const Window& c : box_.children()) {
        if (c.className() != "Button" || !c.visible()) continue;
        const LONG_PTR type = c.style() & BS_TYPEMASK;
        out.push_back({c.id(), c.text(), type == BS_DEFPUSHBUTTON});
    }
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.id < b.id; });
    return out;
}

std::vector<std::string> MessageBoxView::buttonTexts() const {
    std::vector<std::string> out;
    for (const auto& b : buttons()) out.push_back(b.text);
    return out;
}

IconKind MessageBoxView::icon() const {
    Window iconControl;
    for (const Window& c : box_.children()) {
        if (c.className() == "Static" && (c.style() & SS_TYPEMASK) == SS_ICON && c.visible()) {
            iconControl = c;
            break;
        }
    }
    if (!iconControl) return IconKind::None;
    // A box without icon keeps an empty icon control (which other controls
    // may overlap on the screen).
    if (sendTo(iconControl.handle(), STM_GETICON, 0, 0) == 0) return IconKind::None;
    RECT client{};
    GetClientRect(iconControl.handle(), &client);
    const int w = client.right, h = client.bottom;
    if (w <= 0 || h <= 0) return IconKind::None;
    // The box may still be painting: read until two captures agree.
    auto shown = captureClient(iconControl, client);
    for (int i = 0; i < 20; ++i) {
        sleepFor(50ms);
        auto again = captureClient(iconControl, client);
        const bool settled = again == shown;
        shown = std::move(again);
        if (settled) break;
    }
    if (shown.empty()) return IconKind::Unknown;
    const COLORREF background = shown.front();
    // All background: the control is there but shows no icon.
    if (std::all_of(shown.begin(), shown.end(), [&](COLORREF p) { return p == background; })) return IconKind::None;

    struct Candidate {
        IconKind kind;
        LPCWSTR id;
    };
    const Candidate candidates[] = {{IconKind::Information, IDI_INFORMATION},
                                    {IconKind::Warning, IDI_WARNING},
                                    {IconKind::Error, IDI_ERROR},
                                    {IconKind::Question, IDI_QUESTION}};
    IconKind best = IconKind::Unknown;
    double bestShare = 0;
    HDC screen = GetDC(nullptr);
    for (const Candidate& candidate : candidates) {
        PixelCanvas canvas(screen, w, h);
        HBRUSH brush = CreateSolidBrush(background);
        RECT all{0, 0, w, h};
        FillRect(canvas.dc(), &all, brush);
        DeleteObject(brush);
        DrawIconEx(canvas.dc(), 0, 0, LoadIconW(nullptr, candidate.id), 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
        GdiFlush();
        int same = 0, relevant = 0;
        for (int i = 0; i < canvas.size(); ++i) {
            const COLORREF drawn = canvas.pixel(i);
            if (drawn == background && shown[size_t(i)] == background) continue;
            ++relevant;
            if (similar(drawn, shown[size_t(i)])) ++same;
        }
        const double share = relevant ? double(same) / relevant : 0.0;
        if (share > bestShare) {
            bestShare = share;
            best = candidate.kind;
        }
    }
    ReleaseDC(nullptr, screen);
    return bestShare >= 0.9 ? best : IconKind::Unknown;
}

void MessageBoxView::answer(int buttonId) const {
    const Window button = box_.child(buttonId);
    if (!button) throw std::runtime_error("the message box has no button with id " + std::to_string(buttonId));
    click(button);
}

MessageBoxView findMessageBox(DWORD processId) {
    for (const Window& w : topLevelWindows(processId)) {
        if (w.className() == "#32770" && w.visible()) return MessageBoxView(w);
    }
    return {};
}

// ---------------------------------------------------------------- polling

void TextTimeline::start(Window window, Millis interval) {
    stop();
    {
        std::lock_guard lock(mutex_);
        entries_.clear();
        stop_ = false;
    }
    thread_ = std::thread([this, window, interval] { run(window, interval); });
}

void TextTimeline::stop() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    if (thread_.joinable()) thread_.join();
}

void TextTimeline::run(Window window, Millis interval) {
    // One more reading after stop() was asked for, so that what was shown at
    // that moment is in the record.
    for (;;) {
        bool stopping;
        {
            std::lock_guard lock(mutex_);
            stopping = stop_;
        }
        if (!IsWindow(window.handle())) return;
        std::string text = window.text();
        const double t = now();
        {
            std::lock_guard lock(mutex_);
            if (IsWindow(window.handle()) && (entries_.empty() || entries_.back().text != text))
                entries_.push_back({t, std::move(text)});
        }
        if (stopping) return;
        sleepFor(interval);
    }
}

std::vector<TextTimeline::Entry> TextTimeline::entries() const {
    std::lock_guard lock(mutex_);
    return entries_;
}

std::optional<TextTimeline::Entry> TextTimeline::last() const {
    std::lock_guard lock(mutex_);
    if (entries_.empty()) return std::nullopt;
    return entries_.back();
}

std::string TextTimeline::describe() const {
    std::lock_guard lock(mutex_);
    std::ostringstream out;
    const double t0 = entries_.empty() ? 0 : entries_.front().time;
    for (const auto& e : entries_) {
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "%+8.3f s  ", e.time - t0);
        out << stamp << "\"" << e.text << "\"\n";
    }
    return out.str();
}

// ---------------------------------------------------------------- processes

std::wstring tovikExecutable() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    const size_t slash = path.find_last_of(L"\\/");
    path.resize(slash == std::wstring::npos ? 0 : slash + 1);
    return path + L"Tovik.exe";
}

namespace {

std::wstring lower(std::wstring s) {
    for (wchar_t& c : s) c = wchar_t(std::towlower(c));
    return s;
}

}  // namespace

void killLeftoverTovik(const std::wstring& executable) {
    const std::wstring wanted = lower(executable);
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    std::vector<DWORD> victims;
    for (BOOL ok = Process32FirstW(snapshot, &entry); ok; ok = Process32NextW(snapshot, &entry)) {
        if (lower(entry.szExeFile) == L"tovik.exe") victims.push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    for (DWORD pid : victims) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, pid);
        if (!process) continue;
        wchar_t image[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        const bool same = QueryFullProcessImageNameW(process, 0, image, &size) && lower(image) == wanted;
        if (same) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 5000);
        }
        CloseHandle(process);
    }
}

TovikProcess::~TovikProcess() {
    kill();
    if (process_) CloseHandle(process_);
}

PROCESS_INFORMATION createProcess(std::wstring commandLine, DWORD flags, STARTUPINFOW startup, double* startedAt) {
    PROCESS_INFORMATION info{};
    // Wine now and then refuses a start with ERROR_INTERNAL_ERROR right after
    // another process of the prefix ended; a moment later the same start works.
    for (int attempt = 0;; ++attempt) {
        if (startedAt) *startedAt = now();
        if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr, &startup, &info))
            return info;
        const DWORD error = GetLastError();
        if (error != ERROR_INTERNAL_ERROR || attempt == 4)
            throw std::runtime_error("cannot start " + utf8(commandLine) + ": error " + std::to_string(error));
        sleepFor(200ms);
    }
}

void TovikProcess::start(std::wstring_view arguments, int showCommand) {
    if (process_) throw std::logic_error("Tovik.exe was already started by this object");
    std::wstring commandLine = L"\"" + executable_ + L"\"";
    if (!arguments.empty()) {
        commandLine += L" ";
        commandLine += arguments;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (showCommand != SW_SHOWDEFAULT) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
    }
    PROCESS_INFORMATION info{};
    info = createProcess(commandLine, 0, startup, &startTime_);
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
}

Window TovikProcess::waitForMainWindow(Millis timeout) {
    Window found;
    waitUntil(
        [&] {
            found = mainWindow();
            return found || !running();
        },
        timeout, 5ms);
    return found;
}

Window TovikProcess::waitForMainWindowCreated(Millis timeout) {
    Window found;
    waitUntil(
        [&] {
            const Window candidate = process_ ? findTopLevel(processId_, L"TForm1", false) : Window();
            // The last control is created last.
            if (candidate && GetDlgItem(candidate.handle(), tovik::ui::ids::lastControl)) found = candidate;
            return found || !running();
        },
        timeout, 2ms);
    return found;
}

Window TovikProcess::mainWindow() const {
    if (!process_) return {};
    return findTopLevel(processId_, L"TForm1", true);
}

MessageBoxView TovikProcess::waitForMessageBox(Millis timeout) const {
    MessageBoxView box;
    waitUntil(
        [&] {
            box = findMessageBox(processId_);
            return bool(box) || !running();
        },
        timeout, 10ms);
    return box;
}

void TovikProcess::waitUntilInputIdle(Millis timeout) const {
    if (process_) WaitForInputIdle(process_, DWORD(timeout.count()));
}

bool TovikProcess::running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool TovikProcess::waitForExit(Millis timeout) {
    if (!process_) return false;
    if (WaitForSingleObject(process_, DWORD(timeout.count())) != WAIT_OBJECT_0) return false;
    if (exitTime_ == 0) exitTime_ = now();
    return true;
}

DWORD TovikProcess::exitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_) GetExitCodeProcess(process_, &code);
    return code;
}

void TovikProcess::reset() {
    kill();
    if (process_) CloseHandle(process_);
    process_ = nullptr;
    processId_ = 0;
    startTime_ = exitTime_ = 0;
}

void TovikProcess::kill() {
    if (!running()) return;
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
}

// ---------------------------------------------------------------- registry

namespace reg {

void deleteTree(HKEY root, const wchar_t* path) { RegDeleteTreeW(root, path); }

bool keyExists(HKEY root, const wchar_t* path) {
    HKEY key;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::optional<Value> get(HKEY root, const wchar_t* path, const wchar_t* name) {
    HKEY key;
    if (RegOpenKeyExW(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::nullopt;
    Value value;
    DWORD size = 0;
    LONG rc = RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size);
    if (rc == ERROR_SUCCESS) {
        value.data.resize(size);
        rc = RegQueryValueExW(key, name, nullptr, &value.type, value.data.data(), &size);
        value.data.resize(size);
    }
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return std::nullopt;
    return value;
}

std::optional<DWORD> getDword(HKEY root, const wchar_t* path, const wchar_t* name) {
    const auto value = get(root, path, name);
    if (!value || value->type != REG_DWORD || value->data.size() != 4) return std::nullopt;
    DWORD d;
    std::memcpy(&d, value->data.data(), 4);
    return d;
}

std::optional<std::string> getString(HKEY root, const wchar_t* path, const wchar_t* name) {
    const auto value = get(root, path, name);
    if (!value || (value->type != REG_SZ && value->type != REG_EXPAND_SZ)) return std::nullopt;
    std::wstring text(reinterpret_cast<const wchar_t*>(value->data.data()), value->data.size() / sizeof(wchar_t));
    const size_t end = text.find(L'\0');
    if (end != std::wstring::npos) text.resize(end);
    return utf8(text);
}

void set(HKEY root, const wchar_t* path, const wchar_t* name, const Value& value) {
    HKEY key;
    if (RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create registry key " + utf8(path));
    const LONG rc = RegSetValueExW(key, name, 0, value.type, value.data.data(), DWORD(value.data.size()));
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) throw std::runtime_error("cannot write registry value " + utf8(name));
}

void setDword(HKEY root, const wchar_t* path, const wchar_t* name, DWORD d) {
    Value value{REG_DWORD, std::vector<BYTE>(4)};
    std::memcpy(value.data.data(), &d, 4);
    set(root, path, name, value);
}

void setString(HKEY root, const wchar_t* path, const wchar_t* name, std::string_view utf8Text) {
    const std::wstring text = wide(utf8Text);
    Value value{REG_SZ, {}};
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    value.data.assign(bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
    set(root, path, name, value);
}

void deleteValue(HKEY root, const wchar_t* path, const wchar_t* name) {
    HKEY key;
    if (RegOpenKeyExW(root, path, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueW(key, name);
    RegCloseKey(key);
}

void freshProfile() {
    deleteTree(HKEY_CURRENT_USER, zebKey);
    if (keyExists(HKEY_CURRENT_USER, zebKey)) throw std::runtime_error("HKCU\\Software\\Zeb cannot be removed");
}

}  // namespace reg

// ---------------------------------------------------------------- environment

namespace {
constexpr const wchar_t* appDefaultsKey = L"Software\\Wine\\AppDefaults\\Tovik.exe";
constexpr const wchar_t* x11DriverKey = L"Software\\Wine\\AppDefaults\\Tovik.exe\\X11 Driver";
constexpr const wchar_t* dllOverridesKey = L"Software\\Wine\\AppDefaults\\Tovik.exe\\DllOverrides";
constexpr const wchar_t* desktopKey = L"Control Panel\\Desktop";
}  // namespace

DisplayScale::DisplayScale(DWORD dpi) : previous_(reg::getDword(HKEY_CURRENT_USER, desktopKey, L"LogPixels")) {
    reg::setDword(HKEY_CURRENT_USER, desktopKey, L"LogPixels", dpi);
}

DisplayScale::~DisplayScale() {
    if (previous_)
        reg::setDword(HKEY_CURRENT_USER, desktopKey, L"LogPixels", *previous_);
    else
        clear();
}

void DisplayScale::clear() { reg::deleteValue(HKEY_CURRENT_USER, desktopKey, L"LogPixels"); }

MissingDll::MissingDll(const wchar_t* name) : name_(name) {
    reg::setString(HKEY_CURRENT_USER, dllOverridesKey, name_.c_str(), "");
}

MissingDll::~MissingDll() { reg::deleteValue(HKEY_CURRENT_USER, dllOverridesKey, name_.c_str()); }

void MissingDll::clearAll() { reg::deleteTree(HKEY_CURRENT_USER, dllOverridesKey); }

void announceTaskbarButton(const Window& topLevel) {
    static const UINT message = RegisterWindowMessageW(L"TaskbarButtonCreated");
    PostMessageW(topLevel.handle(), message, 0, 0);
}

WindowsVersion::WindowsVersion(const wchar_t* wineVersionName) {
    reg::setString(HKEY_CURRENT_USER, appDefaultsKey, L"Version", utf8(wineVersionName));
}

WindowsVersion::~WindowsVersion() { clear(); }

void WindowsVersion::clear() { reg::deleteValue(HKEY_CURRENT_USER, appDefaultsKey, L"Version"); }

UnmanagedWindows::UnmanagedWindows() { reg::setString(HKEY_CURRENT_USER, x11DriverKey, L"Managed", "N"); }

UnmanagedWindows::~UnmanagedWindows() { reg::deleteTree(HKEY_CURRENT_USER, x11DriverKey); }

namespace {

LRESULT CALLBACK devEnvironmentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

DevEnvironmentWindow::DevEnvironmentWindow(std::wstring title) {
    std::promise<HWND> created;
    auto ready = created.get_future();
    thread_ = std::thread([this, title, &created] {
        threadId_ = GetCurrentThreadId();
        WNDCLASSW wc{};
        wc.lpfnWndProc = devEnvironmentProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TAppBuilder";
        RegisterClassW(&wc);  // fails harmlessly when already registered
        HWND window = CreateWindowExW(0, L"TAppBuilder", title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                      nullptr, nullptr, wc.hInstance, nullptr);
        created.set_value(window);
        if (!window) return;
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    });
    window_ = ready.get();
    if (!window_) {
        thread_.join();
        throw std::runtime_error("cannot create the TAppBuilder window");
    }
}

DevEnvironmentWindow::~DevEnvironmentWindow() {
    if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
    if (thread_.joinable()) thread_.join();
}

}  // namespace tovik::e2e
