#include "keyboard/x11_connection.h"

#include <QGuiApplication>

xcb_connection_t* x11Connection() {
    auto* app = qGuiApp;
    if (!app) return nullptr;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}
