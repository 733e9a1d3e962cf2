// The video path: when each picture is due against the master clock.
#include "player/FFPlay.h"

#include <algorithm>
#include <cmath>

namespace {

// Pictures further apart than this are a jump in the stream, not a delay.
constexpr double NoSyncThreshold = 10.0;
constexpr double SyncThreshold = 0.01;

} // namespace

double NextFrameTime(TVideoState* is, double APTS) {
    double Delay = APTS - is->frame_last_pts;
    if (Delay <= 0 || Delay >= NoSyncThreshold)
        Delay = is->frame_last_delay;
    else
        is->frame_last_delay = Delay;
    is->frame_last_pts = APTS;
    if ((is->av_sync_type == AV_SYNC_AUDIO_MASTER && is->audio_st) ||
        is->av_sync_type == AV_SYNC_EXTERNAL_CLOCK) {
        // Late pictures go at once, early ones wait one more frame.
        const double Diff = PlayerVideoClock(is) - PlayerMasterClock(is);
        const double Threshold = std::max(SyncThreshold, Delay);
        if (std::fabs(Diff) < NoSyncThreshold) {
            if (Diff <= -Threshold)
                Delay = 0;
            else if (Diff >= Threshold)
                Delay = 2 * Delay;
        }
    }
    is->frame_timer = is->frame_timer + Delay;
    return is->frame_timer;
}
