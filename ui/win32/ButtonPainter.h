// Draws the owner-drawn buttons: the action buttons with their picture and
// text, and the flat buttons, in the picture size made for the DPI.
#pragma once
#include <windows.h>

#include <map>

#include "ui/Control.h"
#include "ui/win32/GdiResources.h"
#include "ui/win32/VisualStyle.h"

namespace tovik::win32 {

// Draws the owner-drawn buttons: the action buttons with their picture beside
// the text (the picture and text centred as a group, 12 pixels apart at 96
// DPI) and the flat buttons. Pictures come from the resources, in the size
// made for the window's DPI; magenta is transparent.
class ButtonPainter {
public:
    // The colours come from the palette of `resources`.
    ButtonPainter(HINSTANCE instance, GdiResources& resources) : instance_(instance), resources_(resources) {}
    ~ButtonPainter();
    ButtonPainter(const ButtonPainter&) = delete;
    ButtonPainter& operator=(const ButtonPainter&) = delete;

    // Face and frame are the theme's push button in its state where the
    // application is themed, else the classic 3-D frame; in the dark look
    // the palette's dark faces for the state, with a plain frame.
    // `hot`: the mouse is over the button; a flat button shows its frame then.
    // `dpi`: the window's DPI, which picks the picture size and the spacing.
    void draw(const DRAWITEMSTRUCT& item, const ui::Button& button, HFONT font, bool hot, int dpi);
    // A disabled check box in the dark look: the classic box greyed and its
    // text in the disabled colour, which the system would draw in a grey too
    // dim for the dark face.
    void drawDisabledCheckBox(HDC dc, RECT area, const ui::CheckBox& box, HFONT font, int dpi);

private:
    struct Picture {
        HBITMAP normal = nullptr;
        HBITMAP greyed = nullptr;  // for disabled buttons with a single picture
        int width = 0;
        int height = 0;
    };
    // The picture of that resource id (the 32-pixel one) in the given size.
    const Picture* picture(int resourceId, int size);
    void drawPicture(HDC dc, const Picture& picture, int frame, bool disabled, int x, int y);
    // The classic frame; `area` shrinks to the part inside a focus frame.
    void drawClassicFrame(HDC dc, RECT& area, bool flat, bool hot, bool pressed, bool focused);
    // The dark look's plain frame.
    void drawDarkFrame(HDC dc, const RECT& area, bool flat, bool hot, bool pressed);
    void drawThemedFrame(HTHEME theme, const DRAWITEMSTRUCT& item, bool flat, bool hot);

    HINSTANCE instance_;
    GdiResources& resources_;
    std::map<int, Picture> pictures_;
    ThemeHandle theme_{L"BUTTON"};
};

}  // namespace tovik::win32
