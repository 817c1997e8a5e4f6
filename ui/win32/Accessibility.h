// What screen readers read of the window: names and roles that the child
// windows do not carry themselves, and the countdown line as a live region.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "ui/MainWindow.h"
#include "ui/win32/ChildControls.h"
#include "ui/win32/Com.h"

struct IAccPropServices;

namespace tovik::win32 {

// Properties of a window's accessible object (its client area), as Windows'
// property services (oleacc) keep them for every accessibility client.
class AccessibleProperties {
public:
    virtual ~AccessibleProperties() = default;
    virtual void setName(HWND window, const std::wstring& name) = 0;
    // One of oleacc's ROLE_SYSTEM_ values.
    virtual void setRole(HWND window, long role) = 0;
    // How a change of the window is announced: 0 off, 1 polite, 2 assertive.
    virtual void setLiveSetting(HWND window, long setting) = 0;
    // Every property set so far is taken back, while the windows still exist.
    virtual void clearAll() {}
};

// oleacc's property services, started at the first property. Where the
// system has none, the properties are not set and nothing else changes.
class SystemAccessibleProperties : public AccessibleProperties {
public:
    SystemAccessibleProperties() = default;
    ~SystemAccessibleProperties() override;
    SystemAccessibleProperties(const SystemAccessibleProperties&) = delete;
    SystemAccessibleProperties& operator=(const SystemAccessibleProperties&) = delete;

    void setName(HWND window, const std::wstring& name) override;
    void setRole(HWND window, long role) override;
    void setLiveSetting(HWND window, long setting) override;
    void clearAll() override;

private:
    struct Annotation {
        HWND window;
        GUID property;
    };

    IAccPropServices* services();
    void setNumber(HWND window, const GUID& property, long value);
    // Each property of a window is cleared once, however often it was set.
    void note(const Annotation& annotation);

    IAccPropServices* services_ = nullptr;
    bool tried_ = false;
    ComUse com_;
    std::vector<Annotation> annotated_;
};

// The room: names and roles of the controls whose windows do not carry
// them, and the countdown line as a live region.
class Accessibility : public ScreenReaderNotes {
public:
    // `properties` replaces the system's property services (a test double).
    explicit Accessibility(AccessibleProperties* properties = nullptr)
        : properties_(properties ? *properties : system_) {}
    Accessibility(const Accessibility&) = delete;
    Accessibility& operator=(const Accessibility&) = delete;

    // The minutes field is named by its label, the combo box by what it
    // holds, the arrows as a spin button with an upper and a lower part; the
    // countdown line is a polite live region. The controls' later changes
    // reach it from now on.
    void describe(const ui::TForm1& form, ChildControls& controls);
    // The window is being destroyed: its properties go while it still exists.
    void forget();

    // ScreenReaderNotes: a button whose caption is emptied keeps the name of
    // what it does, the caption it last had with text; the live region's
    // text is read now.
    void captionChanged(const ui::Control& control, HWND child) override;
    void announce(HWND child) override;

private:
    // A window of the program's own class: its text is the name too, for
    // clients that read no property services.
    void nameOwnWindow(HWND window, const std::wstring& name, long role);

    SystemAccessibleProperties system_;
    AccessibleProperties& properties_;
    // Per button: the caption it last had with text, and the name set for it
    // while its caption is empty (none while the caption itself names it).
    std::map<HWND, std::wstring> lastCaption_;
    std::map<HWND, std::wstring> keptName_;
};

}  // namespace tovik::win32
