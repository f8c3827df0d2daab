#pragma once

#include <thread>

struct mpv_handle;

// For the timing trace only: marks "player-seek-done" the moment mpv itself has finished a
// seek, from a thread and client of its own. The window hears of it when its thread next runs,
// which says more about the window's load than about the player. Does nothing unless the trace
// is on. Destroy it after mpv_terminate_destroy(), which ends its client.
class MpvSeekWatch {
public:
    explicit MpvSeekWatch(mpv_handle* core);
    ~MpvSeekWatch();
    MpvSeekWatch(const MpvSeekWatch&) = delete;
    MpvSeekWatch& operator=(const MpvSeekWatch&) = delete;

private:
    std::thread thread_;
};
