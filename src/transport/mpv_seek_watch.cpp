#include "transport/mpv_seek_watch.h"

#include <mpv/client.h>

#include "core/timing_trace.h"

MpvSeekWatch::MpvSeekWatch(mpv_handle* core) {
    if (!timing::enabled()) return;
    mpv_handle* client = mpv_create_client(core, "timing");
    if (!client) return;
    thread_ = std::thread([client] {
        for (;;) {
            const mpv_event* event = mpv_wait_event(client, -1);
            if (event->event_id == MPV_EVENT_SHUTDOWN) break;
            if (event->event_id == MPV_EVENT_PLAYBACK_RESTART) timing::mark("player-seek-done");
        }
        mpv_destroy(client);
    });
}

MpvSeekWatch::~MpvSeekWatch() {
    if (thread_.joinable()) thread_.join();
}
