// The child windows of the main window's controls: one per model control
// (the gauges aside), mirroring the model and reporting the user's input.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <memory>

#include "ui/Application.h"
#include "ui/MainWindow.h"
#include "ui/win32/ButtonPainter.h"
#include "ui/win32/GdiResources.h"
#include "ui/win32/MinutesField.h"
#include "ui/win32/Tooltips.h"

namespace tovik::win32 {

// What the children tell screen readers: a caption that changed, and a
// line whose text is to be read now.
class ScreenReaderNotes {
public:
    virtual ~ScreenReaderNotes() = default;
    virtual void captionChanged(const ui::Control& control, HWND child) = 0;
    virtual void announce(HWND child) = 0;
};

class ChildControls : public ui::ControlPeer {
public:
    ChildControls(HINSTANCE instance, ui::TForm1& form, ui::Application& app, GdiResources& resources)
        : form_(form), app_(app), resources_(resources), painter_(instance, resources) {}

    // A child window of `window` for each control but the gauges, at its
    // place for the DPI; each control's changes show on it from now on.
    void create(HINSTANCE instance, HWND window, int dpi);
    // The controls' hints show in `tooltips` from now on.
    void showHintsIn(Tooltips& tooltips);
    // Caption changes and announcements reach `notes` from now on.
    void tellScreenReaders(ScreenReaderNotes& notes) { screenReaders_ = &notes; }
    // Each child at its place with its font, for a new DPI.
    void setDpi(int dpi);

    HWND childOf(const ui::Control& control) const;
    // The minutes field's arrows; null before creation.
    const SpinArrows* minutesArrows() const { return minutesField_ ? &minutesField_->arrows() : nullptr; }
    // The control a child window (or a window inside one) belongs to.
    ui::Control* controlOf(HWND child) const;

    // WM_COMMAND: a child's notification as the model's event.
    void command(int id, int code, HWND child);
    // WM_CTLCOLORSTATIC and WM_CTLCOLORBTN: the colours a child draws with.
    HBRUSH colors(HDC dc, HWND child);
    // WM_CTLCOLOREDIT and WM_CTLCOLORLISTBOX: the minutes field, the combo
    // box's field and its list.
    HBRUSH fieldColors(HDC dc);
    // NM_CUSTOMDRAW of a standard push button or a disabled check box: in the
    // dark look drawn by the painter (the theme, the classic frame and the
    // system's grey are light); otherwise the system draws it.
    LRESULT customDraw(const NMCUSTOMDRAW& draw);
    // WM_DRAWITEM: draws an owner-drawn button; false for any other item.
    bool drawButton(const DRAWITEMSTRUCT& item);

    // The child that has the keyboard focus when the window loses the
    // activation (or that the program last gave it to) gets it back when
    // the system gives the focus to the window itself, unless it is hidden
    // or disabled by then.
    void rememberFocus();
    void giveFocusBack();

    // ui::ControlPeer
    void propertyChanged(ui::Control& control, ui::Property what) override;
    void focusRequested(ui::Control& control) override;
    void announceRequested(ui::Control& control) override;

private:
    RECT place(const ui::Control& control) const;
    // The child at the control's place for the DPI, with its font.
    void fit(const ui::Control& control, HWND child);
    int px(int length) const { return ui::ScaleToDpi(length, dpi_); }

    ui::TForm1& form_;
    ui::Application& app_;
    GdiResources& resources_;
    ButtonPainter painter_;
    Tooltips* tooltips_ = nullptr;
    ScreenReaderNotes* screenReaders_ = nullptr;
    HWND window_ = nullptr;
    int dpi_ = ui::designDpi;
    std::map<int, HWND> children_;
    std::unique_ptr<MinutesField> minutesField_;
    HWND focusToGiveBack_ = nullptr;
};

}  // namespace tovik::win32
