#pragma once

#include <QString>

// libmpv is not linked: it is opened the first time a player is made. Loading it and the ~190
// libraries it pulls in takes 75-130 ms and about 40 MiB, which --version, --help and --cmd
// never need, and a machine without it gets a message instead of the loader's refusal to start.
//
// mpv_library.cpp defines the mpv_* functions Scribo calls as forwarders into the loaded
// library, so that callers use libmpv's own header as they would with it linked. None of them
// may be called before load() has succeeded.
namespace MpvLibrary {
// The library to open: SCRIBO_MPV_LIBRARY when set (a name or a path; tests name a missing
// one), otherwise libmpv's soname.
QString configuredName();

// Opens the library once for the life of the process (later calls return the first result):
// empty on success, otherwise a message saying what could not be loaded and why.
QString load();
}  // namespace MpvLibrary
