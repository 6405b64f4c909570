#include "tools/PreviewRules.h"

PreviewControls ControlsFor(PreviewState state)
{
    switch (state) {
    case PreviewState::Playing:
        return {false, true, true, true};
    case PreviewState::Paused:
        return {true, false, true, true};
    case PreviewState::Stopped:
        break;
    }
    return {true, false, false, false};
}

int64_t SeekTarget(int thumb, int barMaximum, int64_t duration)
{
    if (barMaximum <= 0 || duration <= 0 || thumb <= 0) return 0;
    if (thumb >= barMaximum) return duration;
    return int64_t(double(thumb) / double(barMaximum) * double(duration));
}
