// COM on the window's thread for the parts that need it (the taskbar list,
// the accessibility property services), started at their first object.
#pragma once
#include <windows.h>

namespace tovik::win32 {

// One start of COM, made with the first object it creates and ended when it
// goes; ole32's procedures are looked up at run time, from the system folder.
class ComUse {
public:
    ComUse() = default;
    ~ComUse();
    ComUse(const ComUse&) = delete;
    ComUse& operator=(const ComUse&) = delete;

    // A new in-process object of `objectClass` as `interfaceId`; null when
    // the system has no such object (or no COM).
    void* create(const GUID& objectClass, const GUID& interfaceId);

private:
    bool started_ = false;
};

}  // namespace tovik::win32
