#include "ui/Taskbar.h"

namespace tovik::ui {

void AppMinimize(TForm1& form, Application& app) {
    form.showWindow(ShowCommand::Show);
    app.processMessages();
    form.showWindow(ShowCommand::Minimize);
}

}  // namespace tovik::ui
