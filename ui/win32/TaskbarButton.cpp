// The window's taskbar button: the "TaskbarButtonCreated" message, COM and
// the shell's taskbar list started on the first button, and the progress.
#include "ui/win32/TaskbarButton.h"

#include <shobjidl.h>

#include "platform/win32/SystemLibrary.h"

namespace tovik::win32 {

TaskbarButton::~TaskbarButton() {
    if (taskbarList_) taskbarList_->Release();
}

void TaskbarButton::listen(HWND window) {
    window_ = window;
    // The shell announces the window's taskbar button with this message,
    // also to a program that runs with higher rights than the shell.
    buttonCreatedMessage_ = RegisterWindowMessageW(L"TaskbarButtonCreated");
    using FilterFunction = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    static SystemProcedure<FilterFunction> filter{L"user32.dll", "ChangeWindowMessageFilterEx"};
    if (auto allow = filter.get()) allow(window_, buttonCreatedMessage_, 1 /* MSGFLT_ALLOW */, nullptr);
}

void TaskbarButton::buttonCreated() {
    // Older systems: the taskbar entry is the application window's, and
    // their shell has no progress on it.
    if (!platform::IsNewerWindows(system_)) return;
    if (!taskbarList_) taskbarList_ = createTaskbarList();
    // A new button (the shell may have restarted) shows nothing yet.
    if (taskbarList_) showProgress(true);
}

ITaskbarList3* TaskbarButton::createTaskbarList() {
    // COM only now, once there is a button to show on: no start-up cost,
    // and nothing at all where the shell never announces a button.
    auto* list = static_cast<ITaskbarList3*>(com_.create(CLSID_TaskbarList, IID_ITaskbarList3));
    if (!list) return nullptr;
    if (SUCCEEDED(list->HrInit())) return list;
    list->Release();
    return nullptr;
}

void TaskbarButton::progressChanged() {
    if (taskbarList_) showProgress(false);
}

void TaskbarButton::showProgress(bool again) {
    const ui::ProgressState state = progress_.state();
    const bool stateChanged = again || state != shownState_;
    shownState_ = state;
    if (state == ui::ProgressState::None) {
        if (stateChanged) taskbarList_->SetProgressState(window_, TBPF_NOPROGRESS);
        return;
    }
    // The value first: it would turn a bar without progress into a normal one.
    taskbarList_->SetProgressValue(window_, static_cast<ULONGLONG>(progress_.value()),
                                   static_cast<ULONGLONG>(ui::TaskbarProgress::steps));
    if (!stateChanged) return;
    TBPFLAG flag = TBPF_NORMAL;
    if (state == ui::ProgressState::Paused) flag = TBPF_PAUSED;
    if (state == ui::ProgressState::Error) flag = TBPF_ERROR;
    taskbarList_->SetProgressState(window_, flag);
}

}  // namespace tovik::win32
