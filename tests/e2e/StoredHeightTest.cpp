// The compact height stored in the registry reaches the window as it is, no
// range check: small and negative heights leave only what the system keeps
// of a window (its caption), a larger one is taken exactly.
#include "tests/e2e/TovikTest.h"

namespace tovik::e2e {
namespace {

class StoredHeight : public TovikTest {
protected:
    // Starts Tovik with FormHeight1 stored and returns the window's outer height.
    int startWithStoredHeight(DWORD stored) {
        reg::setDword(HKEY_CURRENT_USER, reg::settingsKey, L"FormHeight1", stored);
        tovik.reset();
        if (!start(L"300")) return -1;
        const int height = main.outerHeight();
        tovik.kill();
        tovik.waitForExit(5s);
        return height;
    }
};

TEST_F(StoredHeight, EveryStoredCompactHeightReachesTheWindow) {
    // The smallest outer height the system lets a captioned window have.
    const int minimum = GetSystemMetrics(SM_CYMINTRACK);
    ASSERT_GT(minimum, 0);
    ASSERT_LT(minimum, 200);

    EXPECT_EQ(startWithStoredHeight(200), 200);
    for (const int small : {0, -5, 1}) {
        SCOPED_TRACE("FormHeight1 = " + std::to_string(small));
        EXPECT_EQ(startWithStoredHeight(static_cast<DWORD>(small)), minimum)
            << "the stored height did not reach the window";
    }
    // The stored value itself is left as it was.
    EXPECT_EQ(reg::getDword(HKEY_CURRENT_USER, reg::settingsKey, L"FormHeight1"), std::optional<DWORD>(1));
}

}  // namespace
}  // namespace tovik::e2e
