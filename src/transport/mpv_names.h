#pragma once

// Names of the libmpv options, properties and commands Scribo uses, in one place so that a
// rename in a later mpv is a one-line change.
namespace mpvname {

// Options set before initialisation.
inline constexpr char kYtdl[] = "ytdl";
inline constexpr char kLoadScripts[] = "load-scripts";
inline constexpr char kKeepOpen[] = "keep-open";
inline constexpr char kHrSeek[] = "hr-seek";
inline constexpr char kAudioFallbackToNull[] = "audio-fallback-to-null";
inline constexpr char kPulseBuffer[] = "pulse-buffer";
inline constexpr char kAudioClientName[] = "audio-client-name";
inline constexpr char kOsc[] = "osc";
inline constexpr char kInputDefaultBindings[] = "input-default-bindings";
inline constexpr char kInputVoKeyboard[] = "input-vo-keyboard";
inline constexpr char kInputCursor[] = "input-cursor";
inline constexpr char kCursorAutohide[] = "cursor-autohide";
inline constexpr char kTerminal[] = "terminal";
inline constexpr char kConfig[] = "config";
inline constexpr char kIdle[] = "idle";
inline constexpr char kTlsVerify[] = "tls-verify";

// Options that may also change at run time.
inline constexpr char kVo[] = "vo";
inline constexpr char kAccessReferences[] = "access-references";
inline constexpr char kLavfOptions[] = "demuxer-lavf-o";
inline constexpr char kWid[] = "wid";
inline constexpr char kForceWindow[] = "force-window";

// Properties.
inline constexpr char kPause[] = "pause";
inline constexpr char kEofReached[] = "eof-reached";
inline constexpr char kIdleActive[] = "idle-active";
inline constexpr char kTimePos[] = "time-pos";
inline constexpr char kAudioPts[] = "audio-pts";
inline constexpr char kDuration[] = "duration";
inline constexpr char kSpeed[] = "speed";
inline constexpr char kVolume[] = "volume";
inline constexpr char kMute[] = "mute";

// Commands and their arguments.
inline constexpr char kLoadfile[] = "loadfile";
inline constexpr char kReplace[] = "replace";
inline constexpr char kSeek[] = "seek";
inline constexpr char kAbsoluteExact[] = "absolute+exact";
inline constexpr char kStop[] = "stop";

// Field of the loadfile command's result.
inline constexpr char kPlaylistEntryId[] = "playlist_entry_id";

// Values.
inline constexpr char kYes[] = "yes";
inline constexpr char kNo[] = "no";
inline constexpr char kNullOutput[] = "null";
// No protocol has this name: FFmpeg's demuxers may then open nothing beside the file itself.
inline constexpr char kNoNestedOpens[] = "protocol_whitelist=none";
// Video outputs that draw into a given window; mpv's own list would fall back to ones that
// open a window of their own.
inline constexpr char kEmbeddableOutputs[] = "gpu,xv,x11";

}  // namespace mpvname
