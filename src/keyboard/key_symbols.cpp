#include "keyboard/key_symbols.h"

namespace {
// X key symbols (keysymdef.h), spelled here so that this unit needs no X headers.
enum : quint32 {
    XkBackSpace = 0xff08,
    XkPause = 0xff13,
    XkScrollLock = 0xff14,
    XkMuhenkan = 0xff22,
    XkHenkan = 0xff23,
    XkEisuToggle = 0xff30,
    XkPrint = 0xff61,
    XkInsert = 0xff63,
    XkF1 = 0xffbe,
    XkF2 = 0xffbf,
    XkF24 = 0xffd5,
    XkCapsLock = 0xffe5,
};

struct Printable {
    quint8 virtualKey;
    QList<KeySymbol> symbols;
    const char* text;
};

// Japanese layout first (what the codes mean on the keyboards this program is made for), then
// the US key that Windows gives the same code, where no Japanese key has it unshifted.
const QList<Printable>& printables() {
    static const QList<Printable> table = {
        {0xBB, {{';'}, {'='}}, ";"},
        {0xBA, {{':'}}, ":"},
        {0xBC, {{','}}, ","},
        {0xBD, {{'-'}}, "-"},
        {0xBE, {{'.'}}, "."},
        {0xBF, {{'/'}}, "/"},
        {0xC0, {{'@'}, {'`'}}, "@"},
        {0xDB, {{'['}}, "["},
        {0xDC, {{'\\', '|'}}, "\\ (￥)"},
        {0xDD, {{']'}}, "]"},
        {0xDE, {{'^'}, {'\''}}, "^"},
        {0xDF, {}, "OEM_8"},
        {0xE2, {{'\\', '_'}}, "\\ (ろ)"},
    };
    return table;
}

const Printable* printable(quint8 virtualKey) {
    for (const Printable& p : printables())
        if (p.virtualKey == virtualKey) return &p;
    return nullptr;
}
}  // namespace

QList<KeySymbol> keySymbolsFor(quint8 virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') return {{quint32(virtualKey - 'A' + 'a')}};
    if (virtualKey >= '0' && virtualKey <= '9') return {{virtualKey}};
    switch (virtualKey) {
        case 0x08:
            return {{XkBackSpace}};
        case 0x13:
            return {{XkPause}};
        case 0x1C:
            return {{XkHenkan}};
        case 0x1D:
            return {{XkMuhenkan}};
        case 0x20:
            return {{' '}};
        case 0x2C:
            return {{XkPrint}};
        case 0x2D:
            return {{XkInsert}};
        case 0x70:
            return {{XkF1}};
        case 0x71:
            return {{XkF2}};
        case 0x87:
            return {{XkF24}};
        case 0x91:
            return {{XkScrollLock}};
        // 英数 of a Japanese keyboard; Caps Lock where the layout has no 英数.
        case 0xF0:
            return {{XkEisuToggle}, {XkCapsLock}};
    }
    if (const Printable* p = printable(virtualKey)) return p->symbols;
    return {};
}

QString combinationText(const HotkeySlot& slot) {
    QString key;
    const quint8 vk = slot.virtualKey;
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
        key = QChar(vk);
    } else if (const Printable* p = printable(vk); p && vk != 0xDB && vk != 0xE2) {
        key = QString::fromUtf8(p->text);
    } else {
        switch (vk) {
            case 0x08:
                key = QStringLiteral("BackSpace");
                break;
            case 0x13:
                key = QStringLiteral("Pause");
                break;
            case 0x1C:
                key = QStringLiteral("変換");
                break;
            case 0x1D:
                key = QStringLiteral("無変換");
                break;
            case 0x20:
                key = QStringLiteral("Space");
                break;
            case 0x2C:
                key = QStringLiteral("Print Screen");
                break;
            case 0x2D:
                key = QStringLiteral("Insert");
                break;
            case 0x70:
                key = QStringLiteral("F1");
                break;
            case 0x71:
                key = QStringLiteral("F2");
                break;
            case 0x87:
                key = QStringLiteral("F24");
                break;
            case 0x91:
                key = QStringLiteral("Scroll Lock");
                break;
            case 0xDB:
                key = QStringLiteral("［");
                break;
            case 0xE2:
                key = QStringLiteral("＼ (ろ)");
                break;
            case 0xF0:
                key = QStringLiteral("英数");
                break;
            default:
                key = QStringLiteral("0x%1").arg(vk, 2, 16, QLatin1Char('0'));
        }
    }
    switch (slot.modifier) {
        case HotkeyModifier::Alt:
            return QStringLiteral("Alt + ") + key;
        case HotkeyModifier::Control:
            return QStringLiteral("Ctrl + ") + key;
        case HotkeyModifier::Shift:
            return QStringLiteral("Shift + ") + key;
        case HotkeyModifier::None:
            break;
    }
    return key;
}
