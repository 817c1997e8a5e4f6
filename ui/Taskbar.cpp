#include "ui/Taskbar.h"

namespace tovik::ui {

std::uint32_t ApplicationWindowExStyle(std::uint32_t exStyle, bool newerSystem) {
    return newerSystem ? exStyle | exstyle::toolWindow : exStyle;
}

std::uint32_t MainWindowExStyle(std::uint32_t exStyle, bool newerSystem) {
    if (!newerSystem) return exStyle;
    return (exStyle & ~exstyle::toolWindow) | exstyle::appWindow;
}

SystemCommandRoute WMSysCommandRoute(unsigned commandWord, bool newerSystem) {
    const unsigned command = commandWord & syscmd::mask;
    if (newerSystem && (command == syscmd::minimize || command == syscmd::maximize || command == syscmd::restore))
        return SystemCommandRoute::OwnWindowThenHideOwner;
    if (command == syscmd::minimize) return SystemCommandRoute::MinimizeApplication;
    return SystemCommandRoute::DefaultProcedure;
}

void AppMinimize(TForm1& form, Application& app) {
    form.showWindow(ShowCommand::Show);
    app.processMessages();
    form.showWindow(ShowCommand::Minimize);
}

}  // namespace tovik::ui
