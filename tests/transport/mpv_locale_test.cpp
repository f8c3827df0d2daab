// libmpv refuses to start unless LC_NUMERIC is "C"; the player must start and handle
// fractional values under the user's locale all the same.

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <clocale>
#include <cmath>
#include <memory>
#include <string>

#include "fakes/test_media.h"
#include "transport/mpv_player.h"

class MpvLocaleTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString tone_;
    std::string initialLocale_;

    // Makes `locale` (e.g. "de_DE.UTF-8") available to setlocale: as installed, or compiled
    // into a private folder (LOCPATH) where the system lacks it.
    bool provide(const QByteArray& locale) {
        if (std::setlocale(LC_ALL, locale.constData())) return true;
        const QString localedef = QStandardPaths::findExecutable(QStringLiteral("localedef"));
        if (localedef.isEmpty()) return false;
        const QByteArray base = locale.left(locale.indexOf('.'));
        const QString folder = dir_.filePath(QStringLiteral("locales"));
        QDir().mkpath(folder);
        QProcess::execute(localedef, {QStringLiteral("-i"), QString::fromLatin1(base),
                                      QStringLiteral("-f"), QStringLiteral("UTF-8"),
                                      folder + QLatin1Char('/') + QString::fromLatin1(locale)});
        qputenv("LOCPATH", QFile::encodeName(folder));
        const bool loaded = std::setlocale(LC_ALL, locale.constData()) != nullptr;
        // Loaded for good; left set, glibc's newlocale() leaks the path on every call.
        qunsetenv("LOCPATH");
        return loaded;
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        initialLocale_ = std::setlocale(LC_ALL, nullptr);
        tone_ = dir_.filePath(QStringLiteral("tone.wav"));
        QVERIFY(testmedia::writeWav(tone_, 10.0));
    }

    void cleanup() { std::setlocale(LC_ALL, initialLocale_.c_str()); }

    void startsUnderTheUserLocale_data() {
        QTest::addColumn<QByteArray>("locale");
        QTest::addColumn<QByteArray>("decimalPoint");
        QTest::newRow("de_DE") << QByteArray("de_DE.UTF-8") << QByteArray(",");
        QTest::newRow("ja_JP") << QByteArray("ja_JP.UTF-8") << QByteArray(".");
    }
    void startsUnderTheUserLocale() {
        QFETCH(QByteArray, locale);
        QFETCH(QByteArray, decimalPoint);
        if (!provide(locale)) QSKIP("locale not available and cannot be generated");
        QCOMPARE(QByteArray(std::localeconv()->decimal_point), decimalPoint);

        auto player =
            std::make_unique<MpvPlayer>(MpvOptions{{QStringLiteral("ao"), QStringLiteral("null")},
                                                   {QStringLiteral("vo"), QStringLiteral("null")}});
        QCOMPARE(QByteArray(std::setlocale(LC_NUMERIC, nullptr)), QByteArray("C"));

        player->open(tone_);
        QTRY_COMPARE_WITH_TIMEOUT(player->playState(), PlayState::Paused, 5000);
        QVERIFY(std::abs(player->duration() - 10.0) < 0.05);
        player->setRate(0.6);
        QCOMPARE(player->rate(), 0.6);
        player->setPosition(2.5);
        QTest::qWait(200);
        QCOMPARE(player->position(), 2.5);
        player->play();
        QTRY_VERIFY_WITH_TIMEOUT(player->position() > 2.6, 3000);
    }
};

QTEST_GUILESS_MAIN(MpvLocaleTest)
#include "mpv_locale_test.moc"
