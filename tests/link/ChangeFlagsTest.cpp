#include "link/ChangeFlags.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace vantrel;

namespace {

// Every flag of the block as one list of (name, value), so a test can say
// exactly which must be set.
struct FlagCount {
    int keys = 0, a = 0, b = 0, c = 0, d = 0, e = 0, f = 0, g = 0;
};

FlagCount countFlags(const SharedBlock& s) {
    FlagCount n;
    for (int p = 0; p < kProfileCount; ++p) {
        for (int k = 0; k < kKeyPositions; ++k)
            n.keys += s.keyChanged[p][k];
        n.a += s.flagsA[p];
        n.c += s.flagsC[p];
        n.d += s.flagsD[p];
        n.e += s.flagsE[p];
        n.f += s.flagsF[p];
        n.g += s.flagsG[p];
    }
    n.b = s.flagB;
    return n;
}

std::unique_ptr<SharedBlock> clearBlock() {
    auto s = std::make_unique<SharedBlock>();
    s->spare1 = 77;
    s->spare2 = 88;
    return s;
}

} // namespace

TEST(ChangeFlags, EachOperationSetsExactlyItsFlags) {
    auto s = clearBlock();
    ChangeFlags::markKeyChanged(*s, 2, 9);
    EXPECT_EQ(s->keyChanged[2][9], 1);
    FlagCount n = countFlags(*s);
    EXPECT_EQ(n.keys, 1);
    EXPECT_EQ(n.a + n.b + n.c + n.d + n.e + n.f + n.g, 0);

    s = clearBlock();
    ChangeFlags::markProfileLoaded(*s, 3);
    n = countFlags(*s);
    EXPECT_EQ(n.keys, 128);
    EXPECT_EQ(s->keyChanged[3][127], 1);
    EXPECT_EQ(s->flagsA[3] + s->flagsC[3] + s->flagsD[3], 3);
    EXPECT_EQ(n.a + n.c + n.d, 3);
    EXPECT_EQ(n.b + n.e + n.f + n.g, 0);

    s = clearBlock();
    ChangeFlags::markProfileChanged(*s, 4);
    n = countFlags(*s);
    EXPECT_EQ(n.keys, 128);
    EXPECT_EQ(s->flagsA[4] + s->flagsC[4] + s->flagsD[4] + s->flagsF[4] + s->flagsG[4], 5);
    EXPECT_EQ(n.a + n.c + n.d + n.f + n.g, 5);
    EXPECT_EQ(n.b, 1);
    EXPECT_EQ(n.e, 0);

    s = clearBlock();
    ChangeFlags::markAllChanged(*s);
    n = countFlags(*s);
    EXPECT_EQ(n.keys, 640);
    EXPECT_EQ(n.a + n.c + n.d + n.f + n.g, 25);
    EXPECT_EQ(n.b, 1);
    EXPECT_EQ(n.e, 0);
    EXPECT_EQ(s->spare1, 77);
    EXPECT_EQ(s->spare2, 88);
}

TEST(ChangeFlags, ClearingTakesEveryFlagButTheSpareWords) {
    auto s = clearBlock();
    std::memset(s->keyChanged, 1, sizeof s->keyChanged);
    for (int p = 0; p < kProfileCount; ++p)
        s->flagsA[p] = s->flagsC[p] = s->flagsD[p] = s->flagsE[p] = s->flagsF[p] = s->flagsG[p] = 1;
    s->flagB = 1;
    ChangeFlags::clearChangeFlags(*s);
    const FlagCount n = countFlags(*s);
    EXPECT_EQ(n.keys + n.a + n.b + n.c + n.d + n.e + n.f + n.g, 0);
    EXPECT_EQ(s->spare1, 77);
    EXPECT_EQ(s->spare2, 88);
}

TEST(ChangeFlags, PositionsOutsideTheTablesAddressNothing) {
    auto s = clearBlock();
    ChangeFlags::markKeyChanged(*s, 0, 128);
    ChangeFlags::markKeyChanged(*s, 5, 0);
    ChangeFlags::markKeyChanged(*s, -1, 3);
    ChangeFlags::markProfileLoaded(*s, 5);
    ChangeFlags::markProfileChanged(*s, -1);
    const FlagCount n = countFlags(*s);
    EXPECT_EQ(n.keys + n.a + n.b + n.c + n.d + n.e + n.f + n.g, 0);
}
