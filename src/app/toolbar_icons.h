#pragma once

#include <QIcon>
#include <functional>

// The window's own symbols, drawn at run time so that no image files have to ship.
namespace ToolbarIcons {
QIcon play();
QIcon pause();
QIcon skip();
QIcon panel();
QIcon openFile();
QIcon exit();
QIcon setTime();
QIcon indexPlay();
QIcon indexRegister();
}  // namespace ToolbarIcons
