#include "keyboard/hotkey_table.h"

#include <QtTest>

#include "core/settings_keys.h"
#include "keyboard/clipboard_time_code.h"
#include "keyboard/hotkey_help.h"
#include "keyboard/key_symbols.h"

namespace {
const QSet<QString> kAllSettings = {
    Ini::IgnoreCapsLock,    Ini::IgnoreCtrlSpace,   Ini::IgnoreBackspace, Ini::IgnoreInsert,
    Ini::IgnoreConvertKeys, Ini::IgnorePrintScreen, Ini::IgnoreBackslash, Ini::IgnoreAltCharacter,
    Ini::IgnoreBracketKey,  Ini::IgnoreF1,          Ini::IgnoreF2};

QList<int> grabbedIds(HotkeyTable& table, const QSet<QString>& checked) {
    QList<int> ids;
    table.registerAll(checked, [&](const HotkeySlot& s) { ids << s.id; });
    return ids;
}

QList<int> range(int from, int to) {
    QList<int> ids;
    for (int i = from; i <= to; ++i)
        ids << i;
    return ids;
}
}  // namespace

class HotkeyTableTest : public QObject {
    Q_OBJECT

private slots:
    void registersEverySlotInOrder() {
        HotkeyTable table;
        QCOMPARE(grabbedIds(table, {}), range(1, 77));
        QCOMPARE(table.registeredCount(), 77);
    }

    void settingSuppressesItsSlots_data() {
        QTest::addColumn<QSet<QString>>("checked");
        QTest::addColumn<QList<int>>("skipped");
        QTest::newRow("caps lock") << QSet{Ini::IgnoreCapsLock} << QList{14, 15, 16};
        QTest::newRow("ctrl space") << QSet{Ini::IgnoreCtrlSpace} << QList{9};
        QTest::newRow("backspace") << QSet{Ini::IgnoreBackspace} << QList{12, 13};
        QTest::newRow("insert") << QSet{Ini::IgnoreInsert} << QList{21, 22};
        QTest::newRow("convert") << QSet{Ini::IgnoreConvertKeys} << QList{23, 24};
        QTest::newRow("print screen") << QSet{Ini::IgnorePrintScreen} << QList{3, 4};
        QTest::newRow("backslash") << QSet{Ini::IgnoreBackslash} << QList{25};
        QTest::newRow("bracket") << QSet{Ini::IgnoreBracketKey} << QList{26};
        QTest::newRow("F1") << QSet{Ini::IgnoreF1} << QList{27};
        QTest::newRow("F2") << QSet{Ini::IgnoreF2} << QList{28};
        // The pass ends after the individual keys.
        QTest::newRow("alt printable") << QSet{Ini::IgnoreAltCharacter} << range(29, 77);
        QTest::newRow("other Menu keys do nothing")
            << QSet{Ini::AddClipboardNote, Ini::ProtectEntries} << QList<int>{};
    }
    void settingSuppressesItsSlots() {
        QFETCH(QSet<QString>, checked);
        QFETCH(QList<int>, skipped);
        HotkeyTable table;
        const QList<int> grabbed = grabbedIds(table, checked);
        QList<int> expected = range(1, 77);
        for (int id : skipped)
            expected.removeOne(id);
        QCOMPARE(grabbed, expected);
        for (int id = 1; id <= 77; ++id)
            QCOMPARE(table.isRegistered(id), !skipped.contains(id));
    }

    void allElevenLeaveTwelve() {
        HotkeyTable table;
        QCOMPARE(grabbedIds(table, kAllSettings),
                 (QList{1, 2, 5, 6, 7, 8, 10, 11, 17, 18, 19, 20}));
    }

    void releasesOnlyMarkedSlots() {
        HotkeyTable table;
        grabbedIds(table, {Ini::IgnoreF1, Ini::IgnoreAltCharacter});
        QList<int> released;
        table.releaseAll([&](const HotkeySlot& s) { released << s.id; });
        QList<int> expected = range(1, 28);
        expected.removeOne(27);
        QCOMPARE(released, expected);
        QCOMPARE(table.registeredCount(), 0);
        table.releaseAll([&](const HotkeySlot& s) { released << s.id; });
        QCOMPARE(released.size(), expected.size());
    }

    void passWithoutReleaseLetsGoOfNewlySkippedSlots() {
        HotkeyTable table;
        grabbedIds(table, {});
        QList<int> released;
        table.registerAll(
            {Ini::IgnoreF2}, [](const HotkeySlot&) {},
            [&](const HotkeySlot& s) { released << s.id; });
        QCOMPARE(released, QList{28});
        QVERIFY(!table.isRegistered(28));
        QCOMPARE(table.registeredCount(), 76);
    }

    void commandsOnlyForRegisteredSlots() {
        HotkeyTable table;
        QCOMPARE(table.commandFor(1), std::nullopt);
        grabbedIds(table, {Ini::IgnoreInsert});
        QCOMPARE(table.commandFor(1), HotkeyCommand::PlayPause);
        QCOMPARE(table.commandFor(21), std::nullopt);
        QCOMPARE(table.commandFor(0), std::nullopt);
        QCOMPARE(table.commandFor(78), std::nullopt);
        QCOMPARE(table.commandFor(-5), std::nullopt);
    }

    void slotsByCommand() {
        QMap<HotkeyCommand, QList<int>> ids;
        for (const HotkeySlot& s : HotkeyTable::slotList())
            ids[s.command] << s.id;
        QCOMPARE(ids[HotkeyCommand::PlayPause],
                 (QList{1, 3, 7, 9, 14, 25, 26, 27, 28} + range(29, 77)));
        QCOMPARE(ids[HotkeyCommand::VolumeUp], (QList{5, 19}));
        QCOMPARE(ids[HotkeyCommand::Nothing], (QList{15, 16, 20, 22}));
        QCOMPARE(ids.size(), 16);
        for (auto it = ids.cbegin(); it != ids.cend(); ++it)
            if (it.key() != HotkeyCommand::PlayPause && it.key() != HotkeyCommand::VolumeUp &&
                it.key() != HotkeyCommand::Nothing)
                QCOMPARE(it.value().size(), 1);
    }

    void everySlotHasItsOwnNameAndAKey() {
        QSet<QByteArray> names;
        QSet<QPair<int, int>> combinations;
        for (const HotkeySlot& s : HotkeyTable::slotList()) {
            QVERIFY(HotkeyTable::slot(s.id) == &s);
            names.insert(s.name);
            combinations.insert({int(s.modifier), s.virtualKey});
            if (s.virtualKey != 0xDF) QVERIFY2(!keySymbolsFor(s.virtualKey).isEmpty(), s.name);
        }
        QCOMPARE(names.size(), 77);
        QCOMPARE(combinations.size(), 77);
        QVERIFY(!names.contains("Hotkey22"));
    }

    void keySymbols_data() {
        QTest::addColumn<int>("virtualKey");
        QTest::addColumn<QList<KeySymbol>>("symbols");
        QTest::newRow("pause") << 0x13 << QList<KeySymbol>{{0xff13}};
        QTest::newRow("letter is lower case") << int('Q') << QList<KeySymbol>{{'q'}};
        QTest::newRow("digit") << int('7') << QList<KeySymbol>{{'7'}};
        QTest::newRow("eisu or caps lock") << 0xF0 << QList<KeySymbol>{{0xff30}, {0xffe5}};
        QTest::newRow("ro key") << 0xE2 << QList<KeySymbol>{{'\\', '_'}};
        QTest::newRow("yen key") << 0xDC << QList<KeySymbol>{{'\\', '|'}};
        QTest::newRow("semicolon key, or US equals") << 0xBB << QList<KeySymbol>{{';'}, {'='}};
        QTest::newRow("no key") << 0xDF << QList<KeySymbol>{};
        QTest::newRow("unknown") << 0x07 << QList<KeySymbol>{};
    }
    void keySymbols() {
        QFETCH(int, virtualKey);
        QFETCH(QList<KeySymbol>, symbols);
        QCOMPARE(keySymbolsFor(quint8(virtualKey)), symbols);
    }

    void combinationTexts() {
        QCOMPARE(combinationText(*HotkeyTable::slot(4)), QStringLiteral("Ctrl + Print Screen"));
        QCOMPARE(combinationText(*HotkeyTable::slot(14)), QStringLiteral("英数"));
        QCOMPARE(combinationText(*HotkeyTable::slot(29)), QStringLiteral("Alt + A"));
        QCOMPARE(combinationText(*HotkeyTable::slot(66)), QStringLiteral("Alt + :"));
        QCOMPARE(combinationText(*HotkeyTable::slot(25)), QStringLiteral("Shift + ＼ (ろ)"));
    }

    void helpNamesEveryKey() {
        const QString help = playbackKeysHelpText();
        for (const HotkeySlot& s : HotkeyTable::slotList())
            if (s.id <= kIndividualHotkeyCount) QVERIFY2(help.contains(combinationText(s)), s.name);
        QVERIFY(help.contains(QStringLiteral("Alt + 文字キー")));
        QVERIFY(timeCodeHelpText().contains(timeCodeClipText(3723)));
    }
};

QTEST_APPLESS_MAIN(HotkeyTableTest)
#include "hotkey_table_test.moc"
