#pragma once

class HotkeyService;
class MainWindow;
class MprisService;
class PortalShortcuts;
class RoutedHotkeyService;
class Session;

// The outside entry points make requests of the session and never touch the window, except to
// raise it or to say on it that no system-wide keys are to be had.

// The desktop media interface: its commands run as the session's requests (refused while the
// gate is shut); opens and quit wait for the gate like the session's own.
void AttachMprisToSession(MprisService& mpris, Session& session, MainWindow& window);

// The other ways to system-wide keys: the actions the desktop's portal reports run as keys do;
// when no system-wide keys are to be had (no portal, or no X server on the X11 route), it is said
// once on standard error and on the keyboard tab, with the way out: desktop shortcuts that run
// `scribo --cmd`. Before start-up, so that a failure of the first grabs is heard.
void AttachDesktopShortcuts(HotkeyService& keys, PortalShortcuts& portal, Session& session,
                            MainWindow& window);
// After start-up (the settings file may choose the route): binds the actions at the portal when
// the portal is the route.
void BindDesktopShortcuts(RoutedHotkeyService& route, PortalShortcuts& portal);
