#pragma once

#include <QObject>
#include <QtGlobal>

// The window's control of the given type and object name; the test fails (and stops) without it.
template <class T>
T* control(QObject& window, const char* name) {
    T* found = window.findChild<T*>(QLatin1String(name));
    if (!found) qFatal("the window has no %s named %s", T::staticMetaObject.className(), name);
    return found;
}
