// COM on the window's thread for the parts that need it (the taskbar list,
// the accessibility property services), started at their first object.
#include "ui/win32/Com.h"

#include <objbase.h>

#include "platform/win32/SystemLibrary.h"

namespace tovik::win32 {

namespace {

using InitializeFunction = HRESULT(WINAPI*)(void*, DWORD);
using CreateFunction = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);
using UninitializeFunction = void(WINAPI*)();
SystemProcedure<InitializeFunction> coInitializeEx{L"ole32.dll", "CoInitializeEx"};
SystemProcedure<CreateFunction> coCreateInstance{L"ole32.dll", "CoCreateInstance"};
SystemProcedure<UninitializeFunction> coUninitialize{L"ole32.dll", "CoUninitialize"};

}  // namespace

ComUse::~ComUse() {
    // Each successful start is ended once.
    if (started_)
        if (auto uninitialize = coUninitialize.get()) uninitialize();
}

void* ComUse::create(const GUID& objectClass, const GUID& interfaceId) {
    auto initialize = coInitializeEx.get();
    auto createInstance = coCreateInstance.get();
    if (!initialize || !createInstance) return nullptr;
    if (!started_) started_ = SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
    void* created = nullptr;
    if (FAILED(createInstance(objectClass, nullptr, CLSCTX_INPROC_SERVER, interfaceId, &created))) return nullptr;
    return created;
}

}  // namespace tovik::win32
