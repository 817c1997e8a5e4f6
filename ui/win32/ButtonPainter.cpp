// Draws the owner-drawn buttons: face, frame, focus, picture beside the
// text; the pictures loaded from the resources once per size.
#include "ui/win32/ButtonPainter.h"

#include <vsstyle.h>

#include <vector>

#include "platform/win32/Utf16.h"
#include "res/ResourceIds.h"
#include "ui/Scaling.h"
#include "ui/win32/StartupTrace.h"

namespace tovik::win32 {

namespace {

constexpr COLORREF transparentColour = RGB(255, 0, 255);

// The resource id of a picture in a size: the 32-pixel id plus one size step
// for each larger size made.
int sizedResource(int resourceId, int size) {
    int step = 0;
    for (const int made : ui::pictureSizes) {
        if (made == size) return resourceId + step * IDB_SIZE_STEP;
        ++step;
    }
    return resourceId;
}

// A copy of the picture in washed-out grey, the transparent colour kept.
HBITMAP greyCopy(HBITMAP source, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, source, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    for (DWORD& pixel : pixels) {
        const int blue = pixel & 0xFF, green = (pixel >> 8) & 0xFF, red = (pixel >> 16) & 0xFF;
        if (red == 255 && green == 0 && blue == 255) continue;
        const int luminance = (red * 30 + green * 59 + blue * 11) / 100;
        const int grey = 110 + luminance * 100 / 255;
        pixel = static_cast<DWORD>(grey | (grey << 8) | (grey << 16));
    }
    void* bits = nullptr;
    HBITMAP copy = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (copy && bits) memcpy(bits, pixels.data(), pixels.size() * sizeof(DWORD));
    ReleaseDC(nullptr, screen);
    return copy;
}

// A picture of the resources as a 32-bit DIB section. The pictures beyond
// 32 pixels are stored run-length encoded (8 bits per pixel), which the
// system's bitmap loading does not turn into DIB sections; setting the bits
// decodes them.
HBITMAP loadPicture(HINSTANCE instance, int resourceId) {
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const auto* stored = static_cast<const BITMAPINFO*>(loaded ? LockResource(loaded) : nullptr);
    if (!stored) return nullptr;
    const BITMAPINFOHEADER& header = stored->bmiHeader;
    const DWORD colours = header.biClrUsed ? header.biClrUsed : (header.biBitCount <= 8 ? 1u << header.biBitCount : 0u);
    const auto* bits = reinterpret_cast<const BYTE*>(stored) + header.biSize + colours * sizeof(RGBQUAD);
    BITMAPINFO target{};
    target.bmiHeader.biSize = sizeof target.bmiHeader;
    target.bmiHeader.biWidth = header.biWidth;
    target.bmiHeader.biHeight = header.biHeight;
    target.bmiHeader.biPlanes = 1;
    target.bmiHeader.biBitCount = 32;
    target.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP picture = CreateDIBSection(screen, &target, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (picture && SetDIBits(screen, picture, 0, static_cast<UINT>(header.biHeight), bits, stored, DIB_RGB_COLORS) == 0) {
        DeleteObject(picture);
        picture = nullptr;
    }
    ReleaseDC(nullptr, screen);
    return picture;
}

}  // namespace

ButtonPainter::~ButtonPainter() {
    for (auto& [id, picture] : pictures_) {
        if (picture.normal) DeleteObject(picture.normal);
        if (picture.greyed) DeleteObject(picture.greyed);
    }
}

const ButtonPainter::Picture* ButtonPainter::picture(int resourceId, int size) {
    if (resourceId == 0) return nullptr;
    const int sized = sizedResource(resourceId, size);
    auto found = pictures_.find(sized);
    if (found == pictures_.end()) {
        const StartupTrace::Span span("pictures");
        Picture loaded;
        loaded.normal = loadPicture(instance_, sized);
        if (loaded.normal) {
            BITMAP info;
            GetObjectW(loaded.normal, sizeof info, &info);
            loaded.width = info.bmWidth;
            loaded.height = info.bmHeight;
            loaded.greyed = greyCopy(loaded.normal, loaded.width, loaded.height);
        }
        found = pictures_.emplace(sized, loaded).first;
    }
    if (!found->second.normal && sized != resourceId) return picture(resourceId, ui::designPictureSize);
    return found->second.normal ? &found->second : nullptr;
}

void ButtonPainter::drawPicture(HDC dc, const Picture& picture, int frame, bool disabled, int x, int y) {
    // A strip holds its own disabled and pressed frames, each as wide as it
    // is high; a single picture is greyed.
    const bool strip = picture.width >= 3 * picture.height;
    HBITMAP source = (!strip && disabled) ? picture.greyed : picture.normal;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, source);
    const int sourceX = strip ? frame * picture.height : 0;
    const int width = strip ? picture.height : picture.width;
    GdiTransparentBlt(dc, x, y, width, picture.height, memory, sourceX, 0, width, picture.height, transparentColour);
    SelectObject(memory, old);
    DeleteDC(memory);
}

void ButtonPainter::drawClassicFrame(HDC dc, RECT& area, bool flat, bool hot, bool pressed, bool focused) {
    if (flat) {
        if (pressed || hot) DrawEdge(dc, &area, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        return;
    }
    if (focused) {
        // The focused button carries the heavier frame of the default button.
        FrameRect(dc, &area, resources_.brush(ui::Role::ButtonBorder));
        InflateRect(&area, -1, -1);
    }
    DrawFrameControl(dc, &area, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
}

void ButtonPainter::drawDarkFrame(HDC dc, const RECT& area, bool flat, bool hot, bool pressed) {
    if (flat && !hot && !pressed) return;
    FrameRect(dc, &area, resources_.brush(ui::Role::ButtonBorder));
}

void ButtonPainter::drawThemedFrame(HTHEME theme, const DRAWITEMSTRUCT& item, bool flat, bool hot) {
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    // A flat button keeps its flat face and shows the theme's button only
    // while the mouse is over it or it is pressed.
    if (flat && !pressed && !hot) return;
    int state = PBS_NORMAL;
    if (disabled)
        state = PBS_DISABLED;
    else if (pressed)
        state = PBS_PRESSED;
    else if (hot)
        state = PBS_HOT;
    else if (focused)
        state = PBS_DEFAULTED;
    ThemeHandle::drawPart(theme, item.hwndItem, item.hDC, BP_PUSHBUTTON, state, item.rcItem);
}

void ButtonPainter::drawDisabledCheckBox(HDC dc, RECT area, const ui::CheckBox& box, HFONT font, int dpi) {
    FillRect(dc, &area, resources_.brush(ui::Role::Face));
    const int size = ui::ScaleToDpi(13, dpi);
    RECT square{area.left, (area.top + area.bottom - size) / 2, area.left + size, 0};
    square.bottom = square.top + size;
    DrawFrameControl(dc, &square, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_INACTIVE | (box.checked() ? DFCS_CHECKED : 0));
    area.left = square.right + ui::ScaleToDpi(4, dpi);
    const std::wstring text = Widen(box.caption());
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, resources_.colorRef(ui::Role::ButtonDisabledText));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, oldFont);
}

void ButtonPainter::draw(const DRAWITEMSTRUCT& item, const ui::Button& button, HFONT font, bool hot, int dpi) {
    HDC dc = item.hDC;
    RECT area = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;

    // Dark faces are the palette's own; the theme only draws light ones.
    const bool dark = resources_.palette().dark();
    FillRect(dc, &area, resources_.brush(ui::ButtonFaceFor(button.isFlat(), hot, pressed, disabled)));
    HTHEME theme = dark ? nullptr : theme_.get(item.hwndItem, dpi);
    if (theme)
        drawThemedFrame(theme, item, button.isFlat(), hot);
    else if (dark)
        drawDarkFrame(dc, area, button.isFlat(), hot, pressed);
    else
        drawClassicFrame(dc, area, button.isFlat(), hot, pressed, focused);

    const std::wstring text = Widen(button.caption());
    HGDIOBJ oldFont = SelectObject(dc, font);
    SIZE textSize{0, 0};
    if (!text.empty()) GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &textSize);

    const Picture* image = picture(button.image(), ui::PictureSizeFor(dpi));
    const int imageWidth = image ? (image->width >= 3 * image->height ? image->height : image->width) : 0;
    const int gap = (image && !text.empty()) ? ui::ScaleToDpi(button.spacing(), dpi) : 0;
    const int groupWidth = imageWidth + gap + textSize.cx;
    // The classic pressed button moves its content; a themed one does not.
    const int offset = pressed && !theme ? ui::ScaleToDpi(1, dpi) : 0;
    int x = area.left + (area.right - area.left - groupWidth) / 2 + offset;
    const int middle = (area.top + area.bottom) / 2 + offset;

    int textX = x;
    if (image) {
        const int imageX = button.imageLayout() == ui::ImageLayout::Left ? x : x + textSize.cx + gap;
        if (button.imageLayout() == ui::ImageLayout::Left) textX = x + imageWidth + gap;
        drawPicture(dc, *image, disabled ? 1 : (pressed ? 2 : 0), disabled, imageX, middle - image->height / 2);
    }

    SetBkMode(dc, TRANSPARENT);
    const int textY = middle - textSize.cy / 2;
    if (disabled && !theme && !dark) {
        // Classic disabled text is embossed.
        SetTextColor(dc, resources_.colorRef(ui::Role::ButtonEmboss));
        TextOutW(dc, textX + 1, textY + 1, text.c_str(), static_cast<int>(text.size()));
    }
    SetTextColor(dc, resources_.colorRef(disabled ? ui::Role::ButtonDisabledText : ui::Role::ButtonText));
    TextOutW(dc, textX, textY, text.c_str(), static_cast<int>(text.size()));
    SelectObject(dc, oldFont);

    // The dotted frame only while keyboard cues are shown: Windows hides them
    // until the keyboard is used.
    if (focused && !(item.itemState & ODS_NOFOCUSRECT) && !button.isFlat()) {
        RECT focus = area;
        InflateRect(&focus, -ui::ScaleToDpi(4, dpi), -ui::ScaleToDpi(4, dpi));
        DrawFocusRect(dc, &focus);
    }
}

}  // namespace tovik::win32
