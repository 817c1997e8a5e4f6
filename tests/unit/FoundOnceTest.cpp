#include <gtest/gtest.h>

#include "platform/FoundOnce.h"

using tovik::platform::FoundOnce;

namespace {

// Stands in for a procedure bound at run time.
bool procedure(bool, bool, bool) { return true; }
bool otherProcedure(bool, bool, bool) { return false; }
using Procedure = bool (*)(bool, bool, bool);

}  // namespace

// The process-wide binding of a procedure: a module or procedure that cannot
// be found is looked for again at the next call, a found one never again.
TEST(FoundOnce, KeepsOnlyAFoundProcedureAndLooksAgainAfterAFailedLookup) {
    FoundOnce<Procedure> cache;
    Procedure answer = nullptr;
    int lookups = 0;
    auto lookup = [&] {
        ++lookups;
        return answer;
    };

    EXPECT_EQ(cache.get(lookup), nullptr);
    EXPECT_EQ(cache.get(lookup), nullptr);
    EXPECT_EQ(lookups, 2);
    EXPECT_FALSE(cache.holds());

    answer = &procedure;
    EXPECT_EQ(cache.get(lookup), &procedure);
    EXPECT_EQ(lookups, 3);
    EXPECT_TRUE(cache.holds());

    // Once found, the lookup is not asked again, whatever it would answer now.
    answer = nullptr;
    EXPECT_EQ(cache.get(lookup), &procedure);
    answer = &otherProcedure;
    EXPECT_EQ(cache.get(lookup), &procedure);
    EXPECT_EQ(lookups, 3);
}
