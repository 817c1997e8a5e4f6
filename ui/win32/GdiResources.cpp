// The fonts and brushes the window draws with: fonts made on first use for
// the window's DPI, brushes of fixed colours kept until the colours change.
#include "ui/win32/GdiResources.h"

#include "platform/win32/Utf16.h"
#include "ui/win32/StartupTrace.h"
#include "ui/win32/VisualStyle.h"

namespace tovik::win32 {

namespace {

// The bitmap face of the design is drawn in its TrueType twin, which has the
// same metrics and stays smooth at every scaling.
std::wstring faceOnWindows(const std::string& face) {
    return face == "MS Sans Serif" ? L"Microsoft Sans Serif" : Widen(face);
}

}  // namespace

COLORREF ColorRefOf(ui::Color color) {
    // 0x80000000 + n names system colour n.
    if (ui::IsSystemColor(color)) return GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color);
}

GdiResources::GdiResources() : palette_(HighContrastOn, DarkAppModeOn) {}

GdiResources::~GdiResources() {
    releaseRetiredFonts();
    for (auto& [key, handle] : fonts_) DeleteObject(handle);
    renewColors();
}

void GdiResources::renewColors() {
    for (auto& [color, handle] : brushes_) DeleteObject(handle);
    brushes_.clear();
    for (auto& [color, handle] : hatchedBrushes_) DeleteObject(handle);
    hatchedBrushes_.clear();
    palette_.renew();
}

void GdiResources::setDpi(int dpi) {
    dpi_ = dpi;
    for (auto& [key, handle] : fonts_) retiredFonts_.push_back(handle);
    fonts_.clear();
}

void GdiResources::releaseRetiredFonts() {
    for (HFONT handle : retiredFonts_) DeleteObject(handle);
    retiredFonts_.clear();
}

HFONT GdiResources::font(const ui::Font& design) {
    const StartupTrace::Span span("fonts");
    const ui::Font font = ui::ScaleFont(design, dpi_);
    const std::string key = font.face + "|" + std::to_string(font.height) + (font.bold ? "b" : "") +
                            (font.fixedPitch ? "f" : "");
    auto found = fonts_.find(key);
    if (found != fonts_.end()) return found->second;
    HFONT handle = CreateFontW(font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               (font.fixedPitch ? FIXED_PITCH : DEFAULT_PITCH) | FF_DONTCARE, faceOnWindows(font.face).c_str());
    fonts_.emplace(key, handle);
    return handle;
}

HBRUSH GdiResources::brush(ui::Color color) {
    // The system's own brushes follow its colours by themselves.
    if (ui::IsSystemColor(color)) return GetSysColorBrush(static_cast<int>(color & 0xFF));
    auto found = brushes_.find(color);
    if (found != brushes_.end()) return found->second;
    HBRUSH handle = CreateSolidBrush(ColorRefOf(color));
    brushes_.emplace(color, handle);
    return handle;
}

HBRUSH GdiResources::hatchedBrush(ui::Color color) {
    auto found = hatchedBrushes_.find(color);
    if (found != hatchedBrushes_.end()) return found->second;
    HBRUSH handle = CreateHatchBrush(HS_BDIAGONAL, ColorRefOf(color));
    hatchedBrushes_.emplace(color, handle);
    return handle;
}

}  // namespace tovik::win32
