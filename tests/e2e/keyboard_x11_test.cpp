// The keyboard layers on a real X server: grabs, key presses from another client, the paste.

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QtTest>
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "e2e/e2e_support.h"
#include "keyboard/hotkey_service.h"
#include "keyboard/key_state.h"
#include "keyboard/key_symbols.h"
#include "keyboard/keystroke_output.h"
#include "keyboard/x11_keymap.h"

namespace {
enum : quint32 { XkPause = 0xff13, XkPrint = 0xff61, XkF24 = 0xffd5, XkV = 'v' };

struct KeyEvent {
    xcb_keycode_t keycode;
    quint16 state;
};

// Another X client: it holds grabs of its own, owns a focused window that records the key
// presses reaching it, and changes the key map.
class OtherClient {
public:
    OtherClient() : connection_(xcb_connect(nullptr, nullptr)), keymap_(connection_) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        keymap_.reload();
    }
    ~OtherClient() { xcb_disconnect(connection_); }

    xcb_keycode_t keycodeOf(quint32 keysym) const { return keymap_.keycodeOf(keysym); }
    QList<xcb_keycode_t> keycodesFor(const KeySymbol& symbol) const {
        return keymap_.keycodesFor(symbol);
    }

    bool grab(xcb_keycode_t keycode, quint16 modifiers) {
        auto cookie = xcb_grab_key_checked(connection_, 0, root_, modifiers, keycode,
                                           XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        xcb_generic_error_t* error = xcb_request_check(connection_, cookie);
        std::free(error);
        return !error;
    }

    void showFocusedWindow() {
        window_ = xcb_generate_id(connection_);
        const quint32 mask = XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, root_, 0, 0, 200, 100, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                          &mask);
        xcb_map_window(connection_, window_);
        xcb_flush(connection_);
        waitUntil([&] { return drain(XCB_MAP_NOTIFY); }, 5000);
        xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_POINTER_ROOT, window_, XCB_CURRENT_TIME);
        xcb_flush(connection_);
    }

    // Key presses that reached the window since the last call.
    QList<KeyEvent> keyPresses() {
        drain(0);
        return std::exchange(presses_, {});
    }

    void mapKeysym(xcb_keycode_t keycode, quint32 keysym) {
        const xcb_keysym_t syms[2] = {keysym, keysym};
        xcb_change_keyboard_mapping(connection_, 1, keycode, 2, syms);
        xcb_flush(connection_);
    }
    // A keycode without any symbol, free for a test's own mapping.
    xcb_keycode_t spareKeycode() const {
        const xcb_setup_t* setup = xcb_get_setup(connection_);
        for (int k = setup->max_keycode; k >= setup->min_keycode; --k)
            if (isEmpty(xcb_keycode_t(k))) return xcb_keycode_t(k);
        return 0;
    }
    void tap(xcb_keycode_t keycode) {
        xcb_test_fake_input(connection_, XCB_KEY_PRESS, keycode, XCB_CURRENT_TIME, XCB_NONE, 0, 0,
                            0);
        xcb_test_fake_input(connection_, XCB_KEY_RELEASE, keycode, XCB_CURRENT_TIME, XCB_NONE, 0, 0,
                            0);
        xcb_flush(connection_);
    }

private:
    bool isEmpty(xcb_keycode_t keycode) const {
        auto* reply = xcb_get_keyboard_mapping_reply(
            connection_, xcb_get_keyboard_mapping(connection_, keycode, 1), nullptr);
        if (!reply) return false;
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply);
        bool empty = true;
        for (int i = 0; i < xcb_get_keyboard_mapping_keysyms_length(reply); ++i)
            empty = empty && syms[i] == 0;
        std::free(reply);
        return empty;
    }
    // Reads pending events; true when one of the given type was among them.
    bool drain(quint8 wanted) {
        bool seen = false;
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            const quint8 type = event->response_type & 0x7f;
            if (type == wanted) seen = true;
            if (type == XCB_KEY_PRESS) {
                const auto* press = reinterpret_cast<xcb_key_press_event_t*>(event);
                presses_ << KeyEvent{press->detail, press->state};
            }
            std::free(event);
        }
        return seen;
    }

    xcb_connection_t* connection_;
    X11Keymap keymap_;
    xcb_window_t root_ = 0;
    xcb_window_t window_ = 0;
    QList<KeyEvent> presses_;
};

}  // namespace

class KeyboardX11Test : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb")); }

    void grabbedKeyArrivesAsItsSlot_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<HotkeyModifier>("modifier");
        QTest::addColumn<int>("virtualKey");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("lock");  // a lock key toggled on around the press
        QTest::newRow("Pause") << 1 << HotkeyModifier::None << 0x13 << "Pause"
                               << "";
        QTest::newRow("Ctrl+Insert") << 21 << HotkeyModifier::Control << 0x2D << "ctrl+Insert"
                                     << "";
        QTest::newRow("Shift+Scroll Lock")
            << 8 << HotkeyModifier::Shift << 0x91 << "shift+Scroll_Lock"
            << "";
        QTest::newRow("Alt+A") << 29 << HotkeyModifier::Alt << int('A') << "alt+a"
                               << "";
        QTest::newRow("Alt+無変換") << 23 << HotkeyModifier::Alt << 0x1D << "alt+Muhenkan"
                                    << "";
        QTest::newRow("Pause, Num Lock on") << 1 << HotkeyModifier::None << 0x13 << "Pause"
                                            << "Num_Lock";
        QTest::newRow("Alt+A, Caps Lock on") << 29 << HotkeyModifier::Alt << int('A') << "alt+a"
                                             << "Caps_Lock";
    }
    void grabbedKeyArrivesAsItsSlot() {
        QFETCH(int, id);
        QFETCH(HotkeyModifier, modifier);
        QFETCH(int, virtualKey);
        QFETCH(QString, keys);
        QFETCH(QString, lock);
        OtherClient editor;
        editor.showFocusedWindow();
        auto service = createHotkeyService();
        QVERIFY(service->isAvailable());
        QSignalSpy activated(service.get(), &HotkeyService::activated);
        QCOMPARE(service->grab(id, modifier, quint8(virtualKey)), GrabResult::Grabbed);
        QCOMPARE(service->result(id), GrabResult::Grabbed);

        if (!lock.isEmpty()) QVERIFY(xdotool({QStringLiteral("key"), lock}));
        QVERIFY(xdotool({QStringLiteral("key"), keys}));
        if (!lock.isEmpty()) QVERIFY(xdotool({QStringLiteral("key"), lock}));
        QTRY_COMPARE(activated.size(), 1);
        QCOMPARE(activated.at(0).at(0).toInt(), id);
        QTest::qWait(50);
        QCOMPARE(activated.size(), 1);
        // The focused window saw the modifiers and lock keys at most, never the key itself.
        QList<xcb_keycode_t> keycodes;
        for (const KeySymbol& symbol : keySymbolsFor(quint8(virtualKey)))
            keycodes += editor.keycodesFor(symbol);
        QVERIFY(!keycodes.isEmpty());
        for (const KeyEvent& press : editor.keyPresses())
            QVERIFY(!keycodes.contains(press.keycode));

        // Released, the key goes to the focused window again.
        service->release(id);
        QCOMPARE(service->result(id), GrabResult::NoSuchKey);
        QVERIFY(xdotool({QStringLiteral("key"), keys}));
        QList<KeyEvent> reached;  // gathered, as QTRY_VERIFY evaluates its test once more
        const auto isTheKey = [&](const KeyEvent& e) { return keycodes.contains(e.keycode); };
        QTRY_VERIFY((reached += editor.keyPresses(),
                     std::any_of(reached.cbegin(), reached.cend(), isTheKey)));
        QTest::qWait(50);
        QCOMPARE(activated.size(), 1);
    }

    void everyKeycodeOfTheSymbolIsGrabbed() {
        OtherClient other;
        const QList<xcb_keycode_t> prints = other.keycodesFor({XkPrint});
        QVERIFY2(prints.size() >= 2, "the test keymap has Print on two keys");
        auto service = createHotkeyService();
        QSignalSpy activated(service.get(), &HotkeyService::activated);
        QCOMPARE(service->grab(3, HotkeyModifier::None, 0x2C), GrabResult::Grabbed);
        for (const xcb_keycode_t keycode : prints)
            other.tap(keycode);
        QTRY_COMPARE(activated.size(), int(prints.size()));
    }

    void combinationHeldElsewhereIsNotGrabbed() {
        auto holder = std::make_unique<OtherClient>();
        QVERIFY(holder->grab(holder->keycodeOf(XkPause), 0));
        auto service = createHotkeyService();
        QSignalSpy activated(service.get(), &HotkeyService::activated);
        QCOMPARE(service->grab(1, HotkeyModifier::None, 0x13), GrabResult::HeldElsewhere);
        QCOMPARE(service->result(1), GrabResult::HeldElsewhere);
        // Other combinations are not disturbed by the refusal.
        QCOMPARE(service->grab(5, HotkeyModifier::Alt, 0x13), GrabResult::Grabbed);
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("Pause")}));
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+Pause")}));
        QTRY_COMPARE(activated.size(), 1);
        QCOMPARE(activated.at(0).at(0).toInt(), 5);
        // Once the holder is gone the combination can be had.
        holder.reset();
        QCOMPARE(service->grab(1, HotkeyModifier::None, 0x13), GrabResult::Grabbed);
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("Pause")}));
        QTRY_COMPARE(activated.size(), 2);
        QCOMPARE(activated.at(1).at(0).toInt(), 1);
    }

    void keyAppearingInTheLayoutIsGrabbedAnew() {
        OtherClient other;
        QCOMPARE(other.keycodeOf(XkF24), xcb_keycode_t(0));
        const xcb_keycode_t spare = other.spareKeycode();
        QVERIFY(spare != 0);
        auto service = createHotkeyService();
        QSignalSpy activated(service.get(), &HotkeyService::activated);
        QSignalSpy renewed(service.get(), &HotkeyService::grabsRenewed);
        QCOMPARE(service->grab(7, HotkeyModifier::None, 0x87), GrabResult::NoSuchKey);

        other.mapKeysym(spare, XkF24);
        QTRY_VERIFY(renewed.size() >= 1);
        QCOMPARE(service->result(7), GrabResult::Grabbed);
        other.tap(spare);
        QTRY_COMPARE(activated.size(), 1);
        QCOMPARE(activated.at(0).at(0).toInt(), 7);
        other.mapKeysym(spare, 0);
        QTRY_COMPARE(service->result(7), GrabResult::NoSuchKey);
    }

    void pasteWaitsUntilEveryKeyIsUp() {
        OtherClient editor;
        editor.showFocusedWindow();
        const xcb_keycode_t v = editor.keycodeOf(XkV);
        auto output = createKeystrokeOutput();
        QVERIFY(output->isAvailable());
        QSignalSpy pasted(output.get(), &KeystrokeOutput::pasted);

        QVERIFY(xdotool({QStringLiteral("keydown"), QStringLiteral("shift")}));
        output->pasteWhenKeysReleased();
        output->pasteWhenKeysReleased();  // joins the waiting one
        QTest::qWait(150);
        QCOMPARE(pasted.size(), 0);
        QVERIFY(xdotool({QStringLiteral("keyup"), QStringLiteral("shift")}));
        QTRY_COMPARE(pasted.size(), 1);

        QList<KeyEvent> presses;
        QTRY_VERIFY((presses += editor.keyPresses(),
                     std::any_of(presses.cbegin(), presses.cend(),
                                 [&](const KeyEvent& e) { return e.keycode == v; })));
        const auto paste = std::find_if(presses.cbegin(), presses.cend(),
                                        [&](const KeyEvent& e) { return e.keycode == v; });
        QCOMPARE(paste->state & (XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT), XCB_MOD_MASK_CONTROL);
        QTest::qWait(100);
        QCOMPARE(pasted.size(), 1);
        QCOMPARE(presses.size() + editor.keyPresses().size(), 3);  // shift, ctrl, v
    }

    void pasteGoesToTheFocusedEditor() {
        const QString text = QStringLiteral("{▼[0:01:15]▲}");
        QGuiApplication::clipboard()->setText(text);
        QProcess editor;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1"));
        editor.setProcessEnvironment(environment);
        editor.start(QStringLiteral("yad"),
                     {QStringLiteral("--text-info"), QStringLiteral("--editable"),
                      QStringLiteral("--title=paste target"), QStringLiteral("--button=_Done:0")});
        QVERIFY(editor.waitForStarted());
        QString window;
        QVERIFY(waitUntil(
            [&] {
                window = runTool(QStringLiteral("xdotool"),
                                 {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                  QStringLiteral("--name"), QStringLiteral("^paste target$")})
                             .trimmed()
                             .section(QLatin1Char('\n'), -1);
                return !window.isEmpty();
            },
            15000));
        QVERIFY(xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window}));
        QTest::qWait(300);

        auto output = createKeystrokeOutput();
        QSignalSpy pasted(output.get(), &KeystrokeOutput::pasted);
        output->pasteWhenKeysReleased();
        QTRY_COMPARE(pasted.size(), 1);
        QTest::qWait(500);  // the editor asks us for the clipboard; keep serving it
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("alt+d")}));
        QVERIFY(editor.waitForFinished(10000));
        QCOMPARE(QString::fromUtf8(editor.readAllStandardOutput()).trimmed(), text);
    }

    void tellsWhichModifiersAreHeld_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("held");
        QTest::newRow("control") << "Control_R" << int(ModifierKey::Control);
        QTest::newRow("alt") << "Alt_L" << int(ModifierKey::Alt);
        QTest::newRow("shift") << "Shift_L" << int(ModifierKey::Shift);
        QTest::newRow("a letter") << "b" << 0;
    }
    void tellsWhichModifiersAreHeld() {
        QFETCH(QString, key);
        QFETCH(int, held);
        auto state = createKeyState();
        QCOMPARE(int(state->heldModifiers()), 0);
        QVERIFY(xdotool({QStringLiteral("keydown"), key}));
        QCOMPARE(int(state->heldModifiers()), held);
        QVERIFY(xdotool({QStringLiteral("keyup"), key}));
        QCOMPARE(int(state->heldModifiers()), 0);
    }
};

QTEST_MAIN(KeyboardX11Test)
#include "keyboard_x11_test.moc"
