// The window's taskbar button on newer systems: the shell's announcement of
// the button, and the taskbar progress shown on it through ITaskbarList3.
#pragma once
#include <windows.h>

#include "platform/SystemInfo.h"
#include "ui/TaskbarProgress.h"
#include "ui/win32/Com.h"

struct ITaskbarList3;

namespace tovik::win32 {

class TaskbarButton : public ui::TaskbarProgressPeer {
public:
    // `system` answers at each use whether the taskbar arrangement of newer
    // systems applies.
    TaskbarButton(const platform::SystemInfo& system, const ui::TaskbarProgress& progress)
        : system_(system), progress_(progress) {}
    ~TaskbarButton() override;
    TaskbarButton(const TaskbarButton&) = delete;
    TaskbarButton& operator=(const TaskbarButton&) = delete;

    // Listens for the shell's announcement of the button of `window`.
    void listen(HWND window);
    // Whether the message is the shell's announcement.
    bool isButtonCreated(UINT message) const { return message == buttonCreatedMessage_ && message != 0; }
    // The shell has made (or made again) the window's taskbar button. Until
    // the shell's taskbar list is had, each announcement asks for it again:
    // the shell may have been starting or restarting at the first one.
    void buttonCreated();

    // ui::TaskbarProgressPeer
    void progressChanged() override;

protected:
    // The shell's taskbar list, ready for use; null where there is none (yet).
    // COM is started at the first call.
    virtual ITaskbarList3* createTaskbarList();

private:
    // Shows the model's taskbar progress; `again` applies everything, also
    // what the button showed already.
    void showProgress(bool again);

    const platform::SystemInfo& system_;
    const ui::TaskbarProgress& progress_;
    HWND window_ = nullptr;
    UINT buttonCreatedMessage_ = 0;
    // The shell's taskbar list, once the button exists and where the system has one.
    ITaskbarList3* taskbarList_ = nullptr;
    ComUse com_;
    ui::ProgressState shownState_ = ui::ProgressState::None;
};

}  // namespace tovik::win32
