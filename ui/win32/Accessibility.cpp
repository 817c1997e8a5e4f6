// Names, roles and the live region for screen readers, set through oleacc's
// property services, which COM starts in the program at the first property.
#include "ui/win32/Accessibility.h"

#include <oleacc.h>

#include "platform/win32/Utf16.h"

namespace tovik::win32 {

namespace {

// oleacc's class and interface, and the properties the program sets; the
// live setting is UI Automation's, which oleacc passes on.
constexpr GUID accPropServicesClass{0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID accPropServicesInterface{0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID nameProperty{0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
constexpr GUID roleProperty{0xcb905ff2, 0x7bd1, 0x4c05, {0xb3, 0xc8, 0xe6, 0xc2, 0x41, 0x36, 0x4d, 0x70}};
constexpr GUID liveSettingProperty{0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr long politeLiveSetting = 1;

#ifndef EVENT_OBJECT_LIVEREGIONCHANGED
constexpr DWORD EVENT_OBJECT_LIVEREGIONCHANGED = 0x8019;
#endif

}  // namespace

// ---------------------------------------------------------------- the system's property services

SystemAccessibleProperties::~SystemAccessibleProperties() {
    clearAll();
    if (services_) services_->Release();
}

void SystemAccessibleProperties::clearAll() {
    // One property at a time: a clear that names a property the system does
    // not know (Windows 7 and the live setting) clears nothing.
    if (services_)
        for (const Annotation& annotation : annotated_)
            services_->ClearHwndProps(annotation.window, OBJID_CLIENT, CHILDID_SELF, &annotation.property, 1);
    annotated_.clear();
}

IAccPropServices* SystemAccessibleProperties::services() {
    if (tried_) return services_;
    tried_ = true;
    services_ = static_cast<IAccPropServices*>(com_.create(accPropServicesClass, accPropServicesInterface));
    return services_;
}

void SystemAccessibleProperties::setName(HWND window, const std::wstring& name) {
    if (IAccPropServices* services = this->services())
        if (SUCCEEDED(services->SetHwndPropStr(window, OBJID_CLIENT, CHILDID_SELF, nameProperty, name.c_str())))
            note({window, nameProperty});
}

void SystemAccessibleProperties::setNumber(HWND window, const GUID& property, long value) {
    IAccPropServices* services = this->services();
    if (!services) return;
    VARIANT number{};
    number.vt = VT_I4;
    number.lVal = value;
    if (SUCCEEDED(services->SetHwndProp(window, OBJID_CLIENT, CHILDID_SELF, property, number)))
        note({window, property});
}

void SystemAccessibleProperties::note(const Annotation& annotation) {
    for (const Annotation& known : annotated_)
        if (known.window == annotation.window && IsEqualGUID(known.property, annotation.property)) return;
    annotated_.push_back(annotation);
}

void SystemAccessibleProperties::setRole(HWND window, long role) { setNumber(window, roleProperty, role); }

void SystemAccessibleProperties::setLiveSetting(HWND window, long setting) {
    // Windows 7 knows no live setting and refuses it; nothing else changes.
    setNumber(window, liveSettingProperty, setting);
}

// ---------------------------------------------------------------- the room

void Accessibility::nameOwnWindow(HWND window, const std::wstring& name, long role) {
    SetWindowTextW(window, name.c_str());
    properties_.setName(window, name);
    properties_.setRole(window, role);
}

void Accessibility::describe(const ui::TForm1& form, ChildControls& controls) {
    for (const ui::Control* control : form.controls())
        if (dynamic_cast<const ui::Button*>(control))
            if (HWND button = controls.childOf(*control)) captionChanged(*control, button);
    controls.tellScreenReaders(*this);
    // Edit fields and combo boxes take their name from a label before them;
    // the field's label is created before it, the combo box has none.
    if (HWND field = controls.childOf(form.seShutMinutes))
        properties_.setName(field, Widen(form.stRestartTime.caption()));
    if (HWND combo = controls.childOf(form.cbOffByTime)) properties_.setName(combo, L"Vorgegebene Uhrzeit");
    if (const SpinArrows* arrows = controls.minutesArrows()) {
        nameOwnWindow(arrows->handle(), L"Minuten", ROLE_SYSTEM_SPINBUTTON);
        nameOwnWindow(arrows->upperPart(), L"Eine Minute mehr", ROLE_SYSTEM_PUSHBUTTON);
        nameOwnWindow(arrows->lowerPart(), L"Eine Minute weniger", ROLE_SYSTEM_PUSHBUTTON);
    }
    if (HWND line = controls.childOf(form.stSeconds)) properties_.setLiveSetting(line, politeLiveSetting);
}

void Accessibility::forget() {
    properties_.clearAll();
    lastCaption_.clear();
    keptName_.clear();
}

void Accessibility::captionChanged(const ui::Control& control, HWND child) {
    if (!dynamic_cast<const ui::Button*>(&control)) return;
    const std::wstring caption = Widen(control.caption());
    if (!caption.empty()) {
        lastCaption_[child] = caption;
        // A name kept earlier would hide the new caption.
        if (auto kept = keptName_.find(child); kept != keptName_.end() && kept->second != caption) {
            properties_.setName(child, caption);
            kept->second = caption;
        }
        return;
    }
    const std::wstring& name = lastCaption_[child];
    if (name.empty() || keptName_[child] == name) return;
    properties_.setName(child, name);
    keptName_[child] = name;
}

void Accessibility::announce(HWND liveRegion) {
    NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, liveRegion, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace tovik::win32
