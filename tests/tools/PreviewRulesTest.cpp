#include "tools/PreviewRules.h"

#include <gtest/gtest.h>

namespace {

TEST(PreviewRules, ControlsByState)
{
    const struct {
        PreviewState state;
        bool play, pause, stop, snapshot;
    } cases[] = {
        {PreviewState::Stopped, true, false, false, false},
        {PreviewState::Playing, false, true, true, true},
        {PreviewState::Paused, true, false, true, true},
    };
    for (const auto& c : cases) {
        const PreviewControls controls = ControlsFor(c.state);
        EXPECT_EQ(controls.play, c.play) << int(c.state);
        EXPECT_EQ(controls.pause, c.pause) << int(c.state);
        EXPECT_EQ(controls.stop, c.stop) << int(c.state);
        EXPECT_EQ(controls.snapshot, c.snapshot) << int(c.state);
    }
}

TEST(PreviewRules, SeekTargetIsTheThumbsShareOfTheDurationTruncated)
{
    const struct {
        int thumb, maximum;
        int64_t duration, target;
    } cases[] = {
        {0, 213, 3'000'000, 0},
        {213, 213, 3'000'000, 3'000'000},
        {100, 213, 3'000'000, 1'408'450},  // 1408450.7 truncated
        {1, 213, 10'000'000'000, 46'948'356},
        {106, 213, 0, 0},   // a file of unknown length seeks to its start
        {50, 0, 3'000'000, 0},
        {300, 213, 3'000'000, 3'000'000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SeekTarget(c.thumb, c.maximum, c.duration), c.target) << c.thumb << "/" << c.maximum;
}

} // namespace
