#include "platform/win32/Win32SystemAwake.h"

#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Utf16.h"

namespace tovik::win32 {

namespace {

// Kernel32 is always loaded; these are looked up at run time so that a
// system without them still starts.
SystemProcedure<HANDLE(WINAPI*)(PREASON_CONTEXT)> powerCreateRequest{L"kernel32.dll", "PowerCreateRequest"};
SystemProcedure<BOOL(WINAPI*)(HANDLE, POWER_REQUEST_TYPE)> powerSetRequest{L"kernel32.dll", "PowerSetRequest"};
SystemProcedure<BOOL(WINAPI*)(HANDLE, POWER_REQUEST_TYPE)> powerClearRequest{L"kernel32.dll", "PowerClearRequest"};

}  // namespace

void Win32SystemAwake::hold(const std::string& reason) {
    // A request's reason is fixed when it is made: a new one replaces it, and
    // holding again (after a resume) sets the request afresh.
    release();
    const auto create = powerCreateRequest.get();
    const auto set = powerSetRequest.get();
    if (create && set && powerClearRequest.get()) {
        std::wstring text = Widen(reason);
        REASON_CONTEXT context{};
        context.Version = POWER_REQUEST_CONTEXT_VERSION;
        context.Flags = POWER_REQUEST_CONTEXT_SIMPLE_STRING;
        context.Reason.SimpleReasonString = text.data();
        HANDLE request = create(&context);
        if (request != INVALID_HANDLE_VALUE && request) {
            // System required only: the display may go dark as usual.
            if (set(request, PowerRequestSystemRequired)) {
                request_ = request;
                return;
            }
            CloseHandle(request);
        }
    }
    executionStateHeld_ = SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED) != 0;
}

void Win32SystemAwake::release() {
    if (request_) {
        if (const auto clear = powerClearRequest.get()) clear(request_, PowerRequestSystemRequired);
        CloseHandle(request_);
        request_ = nullptr;
    }
    if (executionStateHeld_) {
        SetThreadExecutionState(ES_CONTINUOUS);
        executionStateHeld_ = false;
    }
}

}  // namespace tovik::win32
