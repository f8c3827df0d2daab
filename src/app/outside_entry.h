#pragma once

class MprisService;
class MainWindow;

// Connects the desktop media interface to the window's part of it: the error guard, the entry
// check, raising, quitting, opening a file as a drop would and playing a web address as the URL
// panel does. The service itself talks to the transport only.
void AttachMprisToWindow(MprisService& mpris, MainWindow& window);
