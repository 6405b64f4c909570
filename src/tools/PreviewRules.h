#pragma once

#include <cstdint>

// The three states of the main window's preview and the controls each allows.
enum class PreviewState { Stopped, Playing, Paused };

struct PreviewControls {
    bool play;
    bool pause;
    bool stop;
    bool snapshot;
};

PreviewControls ControlsFor(PreviewState state);

// Where a release on the position bar seeks to: the thumb's share of the bar
// applied to the file's duration, truncated to whole microseconds.
int64_t SeekTarget(int thumb, int barMaximum, int64_t duration);
