// The clock seam and the program's own random generator.
#include "tests/core/game_fixture.h"

namespace gametest {
namespace {

TEST(RandomGenerator, SeedOneGivesTheKnownSequence) {
    SeedRandom(1);
    for (int32_t expected : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(NextRandom(), expected);
}

TEST(RandomGenerator, ReseedingRepeatsTheSequenceAndValuesStayInRange) {
    int32_t first[200];
    SeedRandom(0xDEADBEEF);
    for (int32_t& value : first) value = NextRandom();
    SeedRandom(0xDEADBEEF);
    int32_t highest = 0;
    for (int32_t value : first) {
        int32_t again = NextRandom();
        EXPECT_EQ(again, value);
        ASSERT_GE(again, 0);
        highest = std::max(highest, again);
    }
    EXPECT_LE(highest, 32767);
    EXPECT_GT(highest, 16383);  // bit 30 of the state reaches the result
}

TEST(Clock, ReadsTheInstalledSourceAndFallsBackWithout) {
    now = 0xFFFFFFFFu;
    SetClockSource(TestClock);
    EXPECT_EQ(ReadClock(), 0xFFFFFFFFu);
    now = 0;
    EXPECT_EQ(ReadClock(), 0u);
    SetClockSource(nullptr);
    const uint32_t before = ReadClock();
    EXPECT_LT(ReadClock() - before, 60000u);  // the stand-in clock runs forward from where it was
}

}  // namespace
}  // namespace gametest
