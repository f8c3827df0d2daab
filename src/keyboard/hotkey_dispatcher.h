#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QTime>

#include "keyboard/hotkey_table.h"
#include "transport/playback_steps.h"

class Clipboard;
class EntryGate;
class IndexCommands;
class KeystrokeOutput;
class TransportController;

// What each system-wide key does. It asks the transport and the index's commands (Scroll Lock
// registers through the same command as the menus, which show its texts); what the window must
// show beyond those comes out of the signals below.
//
// Player errors (PlayerError) are not caught: the action ends at the failing call with what it
// did so far, and the caller's guard shows the standard error box. So dispatch() must run
// inside the session's guard.
class QTimer;

class HotkeyDispatcher : public QObject {
    Q_OBJECT
public:
    HotkeyDispatcher(TransportController& transport, IndexCommands& index, Clipboard& clipboard,
                     KeystrokeOutput& keystrokes, EntryGate& gate, QObject* parent = nullptr);

    // Runs the command of a pressed key; refused (nothing happens) while the gate is shut.
    void dispatch(HotkeyCommand command);

    // The actions, one per command.
    void playPause();
    void stepVolume(int step);
    void stepSpeed(SpeedStep step);
    void toggleSpeed();
    void setRepeatPosition();
    void playFromRepeatPosition();
    void startContinuousSkip(int direction);
    void stopContinuousSkip();
    // Ctrl+Print Screen: jumps to the time code on the clipboard and plays; true when it jumped.
    // The clipboard is the typist's and stays as it is: they may want the code again.
    bool playFromClipboardTimeCode();
    // Ctrl+Insert: the position's time code into the clipboard and pasted where the user types,
    // after which the clipboard's text before it comes back (only text is kept; an image or
    // files copied before are not); where keys cannot be sent, the code is left on the
    // clipboard with a word (once) to paste it.
    void insertTimeCode();
    static constexpr int kClipboardReturnMs = 1000;
    void registerIndexEntry();

    // The status line when Ctrl+Insert's paste was given up (keys held too long, or no way to
    // send keys): the time code is still in the clipboard for the typist's own Ctrl+V.
    static inline const QString PasteAbandonedText =
        QStringLiteral("ﾀｲﾑｺｰﾄﾞを貼り付けできません（Ctrl+Vで貼付可）");

    // The position bar's text colour while a continuous skip runs.
    static inline const QColor RewindColor = QColor(0, 0, 255);
    static inline const QColor ForwardColor = QColor(128, 0, 0);
    static inline const QString TimeCodeOnClipboard =
        QStringLiteral("タイムコードをコピーしました。貼り付けてください");

Q_SIGNALS:
    // The volume bar's leading text (the status line) alone; its trailing text stays.
    void statusTextChanged(const QString& text);
    // Both texts of the volume bar.
    void volumeBarTextsChanged(const QString& leading, const QString& trailing);
    // The position bar's text colour; the transport's next play-state refresh sets it back.
    void positionTextColorChanged(const QColor& color);
    // The repeat position, for the time picker.
    void repeatPositionShown(const QTime& time);
    // A speed text the transport does not show itself: the refused speed switch.
    void speedTextChanged(const QString& text);

private:
    void processEventsOnce();

    TransportController& transport_;
    IndexCommands& index_;
    Clipboard& clipboard_;
    KeystrokeOutput& keystrokes_;
    EntryGate& gate_;
    bool toldTimeCodeOnClipboard_ = false;
    // The typist's clipboard text while a pasted time code stands in for it.
    QString typistClipboard_;
    QString pastedCode_;
    QTimer* clipboardReturnTimer_;
};
