// The child windows of the main window's controls: creation, places and
// fonts for the DPI, the model's changes mirrored, notifications as events.
#include "ui/win32/ChildControls.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/Utf16.h"
#include "ui/win32/ButtonBehaviour.h"
#include "ui/win32/Dpi.h"

namespace tovik::win32 {

namespace {

// The combo box's list: 12 items of 16 pixels.
constexpr int comboItemHeight = 16;
constexpr int comboListItems = 12;
// The combo box's selection field is this much lower than the control at 96 DPI.
constexpr int comboFieldFrame = 6;

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// A drop-down combo box is as high as its selection field: the item height
// plus a frame of the system's own, which does not grow with the DPI
// everywhere. The item height is set so that the field is `height` high.
void fitComboField(HWND combo, int height) {
    SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - comboFieldFrame);
    RECT taken;
    GetWindowRect(combo, &taken);
    const int missing = height - (taken.bottom - taken.top);
    if (missing != 0) SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - comboFieldFrame + missing);
}

bool isOwnerDrawn(const ui::Button& button) { return button.isDefault() || button.isCancel() || button.isFlat(); }

}  // namespace

RECT ChildControls::place(const ui::Control& control) const { return DevicePlace(control, dpi_); }

void ChildControls::create(HINSTANCE instance, HWND window, int dpi) {
    window_ = window;
    dpi_ = dpi;
    // A label comes right before its field: screen readers name an edit
    // field by the label before it in the window order.
    std::vector<ui::Control*> order = form_.controls();
    const auto field = std::find(order.begin(), order.end(), &form_.seShutMinutes);
    const auto label = std::find(order.begin(), order.end(), &form_.stRestartTime);
    if (field < label && label != order.end()) std::rotate(field, label, label + 1);
    for (ui::Control* control : order) {
        // The gauges are painted by the window beneath the controls.
        if (dynamic_cast<ui::Gauge*>(control)) continue;
        const wchar_t* windowClassName = L"BUTTON";
        DWORD style = WS_CHILD;
        DWORD exStyle = 0;
        if (auto* button = dynamic_cast<ui::Button*>(control)) {
            style |= isOwnerDrawn(*button) ? BS_OWNERDRAW : BS_PUSHBUTTON;
        } else if (dynamic_cast<ui::CheckBox*>(control)) {
            style |= BS_CHECKBOX;
        } else if (auto* text = dynamic_cast<ui::StaticText*>(control)) {
            windowClassName = L"STATIC";
            style |= SS_CENTER | SS_NOTIFY;
            if (text == &form_.stSeconds) style |= SS_SUNKEN;
        } else if (dynamic_cast<ui::SpinEdit*>(control)) {
            windowClassName = L"EDIT";
            style |= ES_LEFT | ES_AUTOHSCROLL;
            exStyle |= WS_EX_CLIENTEDGE;
        } else if (dynamic_cast<ui::ComboBox*>(control)) {
            windowClassName = L"COMBOBOX";
            style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
        }
        HWND child = CreateWindowExW(exStyle, windowClassName, Widen(control->caption()).c_str(), style, 0, 0, 0, 0,
                                     window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control->id())), instance,
                                     nullptr);
        children_[control->id()] = child;
        fit(*control, child);

        if (auto* button = dynamic_cast<ui::Button*>(control); button && isOwnerDrawn(*button)) {
            if (button->isFlat())
                PressLikeFlatButton(child);
            else
                ClickOnEveryPress(child);
        }
        if (auto* box = dynamic_cast<ui::CheckBox*>(control))
            SendMessageW(child, BM_SETCHECK, box->checked() ? BST_CHECKED : BST_UNCHECKED, 0);
        if (auto* spin = dynamic_cast<ui::SpinEdit*>(control))
            minutesField_ = std::make_unique<MinutesField>(instance, window_, child, *spin, app_, dpi_, resources_);
        if (auto* combo = dynamic_cast<ui::ComboBox*>(control)) {
            // A combo box takes its text only after creation.
            for (const std::string& item : combo->items())
                SendMessageW(child, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
            SetWindowTextW(child, Widen(control->caption()).c_str());
        }
        EnableWindow(child, control->enabled());
        if (control->visible()) ShowWindow(child, SW_SHOWNA);
        control->attachPeer(this);
    }
}

void ChildControls::showHintsIn(Tooltips& tooltips) {
    tooltips_ = &tooltips;
    for (ui::Control* control : form_.controls())
        if (HWND child = childOf(*control)) tooltips.update(*control, child);
}

void ChildControls::setDpi(int dpi) {
    dpi_ = dpi;
    for (ui::Control* control : form_.controls())
        if (HWND child = childOf(*control)) fit(*control, child);
}

void ChildControls::fit(const ui::Control& control, HWND child) {
    const RECT r = place(control);
    const bool combo = dynamic_cast<const ui::ComboBox*>(&control) != nullptr;
    // A combo box's window also holds its drop-down list.
    const int height = r.bottom - r.top + (combo ? px(comboItemHeight * comboListItems) : 0);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(resources_.font(control.font())), FALSE);
    SetWindowPos(child, nullptr, r.left, r.top, r.right - r.left, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (combo) {
        // Its selection field as high as the designed control, the list items 16.
        fitComboField(child, r.bottom - r.top);
        SendMessageW(child, CB_SETITEMHEIGHT, 0, px(comboItemHeight));
    }
    if (&control == &form_.seShutMinutes && minutesField_) minutesField_->fitArrows(dpi_);
}

HWND ChildControls::childOf(const ui::Control& control) const {
    auto found = children_.find(control.id());
    return found == children_.end() ? nullptr : found->second;
}

ui::Control* ChildControls::controlOf(HWND child) const {
    while (child && GetParent(child) != window_) child = GetParent(child);
    return child ? form_.controlById(GetDlgCtrlID(child)) : nullptr;
}

void ChildControls::command(int id, int code, HWND child) {
    ui::Control* control = form_.controlById(id);
    if (!control || child == nullptr) return;
    if (auto* box = dynamic_cast<ui::CheckBox*>(control)) {
        if (code == BN_CLICKED) app_.dispatch([box] { box->toggleByUser(); });
    } else if (dynamic_cast<ui::Button*>(control)) {
        if (code == BN_CLICKED) app_.dispatch([control] { control->click(); });
    } else if (dynamic_cast<ui::StaticText*>(control)) {
        if (code == STN_CLICKED) app_.dispatch([control] { control->click(); });
        if (code == STN_DBLCLK) app_.dispatch([control] { control->doubleClick(); });
    } else if (auto* spin = dynamic_cast<ui::SpinEdit*>(control)) {
        if (code == EN_CHANGE) {
            const std::wstring text = windowText(child);
            const std::string typed = Narrow(text);
            app_.dispatch([spin, typed] { spin->setTextByUser(typed); });
        }
    } else if (auto* combo = dynamic_cast<ui::ComboBox*>(control)) {
        if (code == CBN_SELCHANGE) {
            const int index = static_cast<int>(SendMessageW(child, CB_GETCURSEL, 0, 0));
            app_.dispatch([combo, index] { combo->selectByUser(index); });
        } else if (code == CBN_EDITCHANGE) {
            const std::string typed = Narrow(windowText(child));
            app_.dispatch([combo, typed] { combo->typeByUser(typed); });
        }
    }
}

HBRUSH ChildControls::colors(HDC dc, HWND child) {
    ui::Control* control = controlOf(child);
    ui::Color back = ui::clBtnFace;
    if (auto* text = dynamic_cast<ui::StaticText*>(control)) back = text->color();
    const ui::TextColors paint = resources_.palette().text(back);
    SetBkColor(dc, ColorRefOf(paint.back));
    SetTextColor(dc, ColorRefOf(paint.text));
    return resources_.brush(paint.back);
}

HBRUSH ChildControls::fieldColors(HDC dc) {
    SetBkColor(dc, resources_.colorRef(ui::Role::FieldBack));
    SetTextColor(dc, resources_.colorRef(ui::Role::FieldText));
    return resources_.brush(ui::Role::FieldBack);
}

bool ChildControls::drawButton(const DRAWITEMSTRUCT& item) {
    auto* button = dynamic_cast<ui::Button*>(form_.controlById(static_cast<int>(item.CtlID)));
    if (!button) return false;
    painter_.draw(item, *button, resources_.font(button->font()), IsHot(item.hwndItem), dpi_);
    return true;
}

LRESULT ChildControls::customDraw(const NMCUSTOMDRAW& draw) {
    if (draw.dwDrawStage != CDDS_PREPAINT || !resources_.palette().dark()) return CDRF_DODEFAULT;
    ui::Control* control = controlOf(draw.hdr.hwndFrom);
    if (auto* box = dynamic_cast<ui::CheckBox*>(control)) {
        if (box->enabled()) return CDRF_DODEFAULT;
        painter_.drawDisabledCheckBox(draw.hdc, draw.rc, *box, resources_.font(box->font()), dpi_);
        return CDRF_SKIPDEFAULT;
    }
    auto* button = dynamic_cast<ui::Button*>(control);
    if (!button || isOwnerDrawn(*button)) return CDRF_DODEFAULT;
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(button->id());
    item.hwndItem = draw.hdr.hwndFrom;
    item.hDC = draw.hdc;
    item.rcItem = draw.rc;
    if (draw.uItemState & CDIS_SELECTED) item.itemState |= ODS_SELECTED;
    if (draw.uItemState & CDIS_DISABLED) item.itemState |= ODS_DISABLED;
    if (draw.uItemState & CDIS_FOCUS) item.itemState |= ODS_FOCUS;
    // The keyboard cues as the owner-drawn buttons get them: the dotted
    // frame only while the system shows them.
    if (!(draw.uItemState & CDIS_SHOWKEYBOARDCUES)) item.itemState |= ODS_NOFOCUSRECT;
    painter_.draw(item, *button, resources_.font(button->font()), (draw.uItemState & CDIS_HOT) != 0, dpi_);
    return CDRF_SKIPDEFAULT;
}

void ChildControls::propertyChanged(ui::Control& control, ui::Property what) {
    HWND child = childOf(control);
    if (!child) return;
    switch (what) {
        case ui::Property::Caption: {
            // A field's own edit reaches the model as a caption change; writing
            // the same text back would move the caret to the start.
            const std::wstring text = Widen(control.caption());
            const bool field = dynamic_cast<ui::SpinEdit*>(&control) || dynamic_cast<ui::ComboBox*>(&control);
            if (field && windowText(child) == text) break;
            SetWindowTextW(child, text.c_str());
            if (screenReaders_) screenReaders_->captionChanged(control, child);
            break;
        }
        case ui::Property::Visible:
            ShowWindow(child, control.visible() ? SW_SHOWNA : SW_HIDE);
            break;
        case ui::Property::Enabled:
            EnableWindow(child, control.enabled());
            break;
        case ui::Property::Checked:
            if (auto* box = dynamic_cast<ui::CheckBox*>(&control))
                SendMessageW(child, BM_SETCHECK, box->checked() ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        case ui::Property::Hint:
            if (tooltips_) tooltips_->update(control, child);
            break;
        default:
            InvalidateRect(child, nullptr, TRUE);
            break;
    }
}

void ChildControls::announceRequested(ui::Control& control) {
    if (HWND child = childOf(control); child && screenReaders_) screenReaders_->announce(child);
}

void ChildControls::focusRequested(ui::Control& control) {
    if (HWND child = childOf(control)) {
        focusToGiveBack_ = child;
        SetFocus(child);
    }
}

void ChildControls::rememberFocus() {
    HWND focus = GetFocus();
    if (focus && IsChild(window_, focus)) focusToGiveBack_ = focus;
}

void ChildControls::giveFocusBack() {
    HWND child = focusToGiveBack_;
    if (child && IsWindow(child) && IsWindowVisible(child) && IsWindowEnabled(child)) SetFocus(child);
}

}  // namespace tovik::win32
