#include "components/pager/pager_key_tips.h"

#include <gtest/gtest.h>

namespace {

TEST(PagerKeyTips, APrefixSharedByTwoKeepsBothAndTheRestSelects) {
    const std::vector<String> hints{"EA", "EB", "O", ""};
    std::vector<bool> shown{true, true, true, true};
    TKeyTipMatch m = MatchKeyTips("e", hints, shown);
    EXPECT_EQ(m.FullMatch, -1);
    EXPECT_TRUE(m.Partial);
    EXPECT_EQ(shown, (std::vector<bool>{true, true, false, true}));
    m = MatchKeyTips("eb", hints, shown);
    EXPECT_EQ(m.FullMatch, 1);
    EXPECT_EQ(MatchKeyTips("o", hints, shown).FullMatch, 2);
}

TEST(PagerKeyTips, ALetterThatMatchesNothingLeavesEveryTipShown) {
    const std::vector<String> hints{"EA", "O"};
    std::vector<bool> shown{true, true};
    const TKeyTipMatch m = MatchKeyTips("x", hints, shown);
    EXPECT_EQ(m.FullMatch, -1);
    EXPECT_FALSE(m.Partial);
    EXPECT_EQ(shown, (std::vector<bool>{true, true}));
}

}  // namespace
