// Start-up as the user sees it: the main window appears, owned by the
// application window whose text is the taskbar entry.
#include "tests/e2e/TovikTest.h"

namespace tovik::e2e {
namespace {

using Startup = TovikTest;

TEST_F(Startup, ShowsMainWindowOwnedByTheApplicationWindow) {
    ASSERT_TRUE(start()) << "no visible TForm1 window of Tovik.exe appeared";
    EXPECT_EQ(main.className(), "TForm1");
    EXPECT_TRUE(main.visible());
    const Window app = owner();
    ASSERT_TRUE(app) << "the main window has no owner window";
    EXPECT_EQ(app.className(), "TApplication");
    EXPECT_EQ(app.processId(), tovik.id());
    EXPECT_TRUE(tovik.running());
}

}  // namespace
}  // namespace tovik::e2e
