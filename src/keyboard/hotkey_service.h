#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "keyboard/hotkey_table.h"

enum class GrabResult {
    Grabbed,
    HeldElsewhere,  // another program holds the combination; it goes there as before
    NoSuchKey,      // the keyboard layout has no key for it
    Unavailable,    // no system-wide keys on this display
};

// System-wide key combinations: pressing a grabbed combination anywhere on the desktop reports
// its id, and the application that has the focus never sees it.
class HotkeyService : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~HotkeyService() override = default;

    virtual bool isAvailable() const = 0;
    // Grabbing an id again replaces its earlier grab.
    virtual GrabResult grab(int id, HotkeyModifier modifier, quint8 virtualKey) = 0;
    // Releasing an id that is not grabbed does nothing.
    virtual void release(int id) = 0;
    // The latest result for an id; NoSuchKey for an id never grabbed or released.
    virtual GrabResult result(int id) const = 0;

Q_SIGNALS:
    void activated(int id);
    // The keyboard layout changed and the combinations were grabbed anew; results may differ.
    void grabsRenewed();
    // Emitted once, on the first grab, when the display offers no system-wide keys.
    void unavailable(const QString& reason);
};

// The X11 service on an X display (including XWayland), otherwise one that reports once, on
// standard error and through unavailable(), that system-wide keys are not to be had.
std::unique_ptr<HotkeyService> createHotkeyService(QObject* parent = nullptr);
