#include "core/profile_file.h"
#include "core/cp932.h"
#include "core/file_name.h"

#include <QtTest>

#include <sys/stat.h>

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    return file.readAll();
}

QByteArray sjis(const QString& text) {
    return toCp932(text);
}

}  // namespace

class ProfileFileTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    int counter_ = 0;

    // A fresh file name for every case, holding `bytes` unless they are null.
    QString file(const QByteArray& bytes = QByteArray()) {
        const QString path = dir_.filePath(QStringLiteral("case%1.inf").arg(++counter_));
        if (!bytes.isNull()) writeBytes(path, bytes);
        return path;
    }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void replacesValueInPlace() {
        const QString path =
            file("[General]\r\nFile=/a.wav\r\nURL=\r\n[Record]\r\nPosition=12.5\r\n");
        ProfileFile ini(path);
        ini.writeString("General", "File", "/b.mp3");
        ini.writeFloat("Record", "Position", 83.4);
        QCOMPARE(readBytes(path),
                 QByteArray("[General]\r\nFile=/b.mp3\r\nURL=\r\n[Record]\r\nPosition=83.4\r\n"));
        QCOMPARE(ini.readString("General", "File", "x"), QStringLiteral("/b.mp3"));
    }

    void matchesSectionAndKeyWithoutCase() {
        const QString path = file("[general]\r\nfile=one\r\n");
        ProfileFile ini(path);
        QCOMPARE(ini.readString("GENERAL", "FILE", "x"), QStringLiteral("one"));
        QCOMPARE(ini.readString("General", "File", "x"), QStringLiteral("one"));
        QVERIFY(ini.valueExists("GeNeRaL", "fIlE"));
        QVERIFY(!ini.valueExists("General", "URL"));
        ini.writeString("GENERAL", "FILE", "two");
        // The spelling already in the file is kept; only the value changes.
        QVERIFY(readBytes(path).startsWith("[general]\r\nfile=two\r\n"));
    }

    void matchesNonAsciiNamesOnDecodedText() {
        // "ソ" is 0x83 0x5C and "ゾ" 0x83 0x5D: a byte search would end the section at "ゾ".
        // "ー" is 0x81 0x5B; "表" is 0x95 0x5C.
        const QByteArray before = sjis("[ソゾ]\r\n表示=ー[x]\r\n");
        const QString path = file(before);
        ProfileFile ini(path);
        QCOMPARE(ini.readString("ソゾ", "表示", "x"), QStringLiteral("ー[x]"));
        QCOMPARE(ini.readString("ソ", "表示", "x"), QStringLiteral("x"));
        // Full-width Latin letters match without case too.
        const QString path2 = file(sjis("[ＡＢ]\r\nｋ=1\r\n"));
        QCOMPARE(ProfileFile(path2).readInteger("ａｂ", "Ｋ", 0), 1);
        ini.writeString("ソゾ", "表示", "表");
        QCOMPARE(readBytes(path), sjis("[ソゾ]\r\n表示=表\r\n"));
    }

    void addsKeyAtEndOfItsSection() {
        const QString path = file("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
        ProfileFile ini(path);
        ini.writeString("A", "z", "3");
        ini.writeString("B", "w", "4");
        QCOMPARE(readBytes(path), QByteArray("[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\nw=4\r\n"));

        // A section of only its header, followed by blank lines.
        const QString path2 = file("[A]\r\n \r\n\r\n[B]\r\n");
        ProfileFile(path2).writeInteger("A", "k", -7);
        QCOMPARE(readBytes(path2), QByteArray("[A]\r\nk=-7\r\n \r\n\r\n[B]\r\n"));

        // The last line has no line break: it gets one before the new key.
        const QString path3 = file("[A]\nx=1");
        ProfileFile(path3).writeBool("A", "y", true);
        QCOMPARE(readBytes(path3), QByteArray("[A]\nx=1\r\ny=1\r\n"));

        // Trailing blank lines at the end of the file stay after the new key.
        const QString path4 = file("[A]\r\nx=1\r\n\r\n\r\n");
        ProfileFile(path4).writeBool("A", "y", false);
        QCOMPARE(readBytes(path4), QByteArray("[A]\r\nx=1\r\ny=0\r\n\r\n\r\n"));
    }

    void addsSectionAtEndOfFile() {
        const QString path = file("[A]\r\nx=1\r\n");
        ProfileFile(path).writeString("B", "y", "2");
        QCOMPARE(readBytes(path), QByteArray("[A]\r\nx=1\r\n[B]\r\ny=2\r\n"));

        const QString path2 = file("[A]\r\nx=1");
        ProfileFile(path2).writeString("B", "y", "2");
        QCOMPARE(readBytes(path2), QByteArray("[A]\r\nx=1\r\n[B]\r\ny=2\r\n"));

        const QString path3 = file("");
        ProfileFile(path3).writeString("S", "k", "v");
        QCOMPARE(readBytes(path3), QByteArray("[S]\r\nk=v\r\n"));
    }

    void createsMissingFile() {
        const QString path = file();
        ProfileFile ini(path);
        QVERIFY(!ini.exists());
        QCOMPARE(ini.readString("S", "k", "default"), QStringLiteral("default"));
        ini.writeString("S", "k", "v");
        QVERIFY(ini.exists());
        QCOMPARE(readBytes(path), QByteArray("[S]\r\nk=v\r\n"));
    }

    void keepsUnrelatedLinesByteForByte() {
        const QByteArray head =
            "; comment line\n"
            "junk without equals\r\n"
            "[General]\n"
            "  Unknown  =  spaced value  \r\n"
            "\tTabbed\t=\tx\n" +
            sjis("表=ソ\r\n") + "lone\rcr=1\r\n";
        const QByteArray tail = "\n" + sjis("[表ソ]\n ソ = ー \r\n") + "[Other]\r\nkey=value\n";
        const QString path = file(head + "File=old\r\n" + tail);
        ProfileFile ini(path);
        ini.writeString("General", "File", "new");
        QCOMPARE(readBytes(path), head + "File=new\r\n" + tail);
        ini.writeString("Other", "added", "1");
        QCOMPARE(readBytes(path), head + "File=new\r\n" + tail + "added=1\r\n");
        // And what was kept still reads as before.
        QCOMPARE(ini.readString("General", "Unknown", ""), QStringLiteral("spaced value"));
        QCOMPARE(ini.readString("General", "Tabbed", ""), QStringLiteral("x"));
        QCOMPARE(ini.readString("General", "表", ""), QStringLiteral("ソ"));
        QCOMPARE(ini.readString("General", "lone\rcr", ""), QStringLiteral("1"));
        QCOMPARE(ini.readString("Other", "key", ""), QStringLiteral("value"));
        QCOMPARE(ini.readString("表ソ", "ソ", ""), QStringLiteral("ー"));
    }

    void writesCp932WithCrLf() {
        const QString path = file();
        ProfileFile ini(path);
        const QString comment = QStringLiteral("0:01:23,　会議開始,%24/07/02,13:05:09");
        ini.writeString("IndexComment", "1", comment);
        QCOMPARE(readBytes(path), "[IndexComment]\r\n1=" + sjis(comment) + "\r\n");
        QCOMPARE(ini.readString("IndexComment", "1", ""), comment);
        // Characters CP932 cannot hold are written as "?".
        ini.writeString("IndexComment", "2", QStringLiteral("a😀b"));
        QCOMPARE(ini.readString("IndexComment", "2", ""), QStringLiteral("a?b"));
    }

    void lineBreaksInValuesBecomeBlanks() {
        const QString path = file();
        ProfileFile ini(path);
        ini.writeString("S", "k", "one\r\ntwo\nthree\rfour");
        QCOMPARE(readBytes(path), QByteArray("[S]\r\nk=one two three four\r\n"));
    }

    void readsValues() {
        const QString path = file(
            "[S]\r\n"
            "dq=\"quoted value\"\r\n"
            "sq=' x '\r\n"
            "mixed=\"x'\r\n"
            "lone=\"\r\n"
            "inner=a \"b\" c\r\n"
            "blank=   padded   \r\n"
            "empty=\r\n"
            "int= 42 \r\n"
            "neg=-3\r\n"
            "plus=+5\r\n"
            "quotedint=\"7\"\r\n"
            "bad=12abc\r\n"
            "real=1.5\r\n"
            "hex=0x10\r\n"
            "dollar=$10\r\n"
            "huge=99999999999\r\n"
            "exp=1E-6\r\n"
            "comma=1,5\r\n"
            "cr=a\rb\r\n");
        ProfileFile ini(path);
        QCOMPARE(ini.readString("S", "dq", "x"), QStringLiteral("quoted value"));
        QCOMPARE(ini.readString("S", "sq", "x"), QStringLiteral(" x "));
        QCOMPARE(ini.readString("S", "mixed", "x"), QStringLiteral("\"x'"));
        QCOMPARE(ini.readString("S", "lone", "x"), QStringLiteral("\""));
        QCOMPARE(ini.readString("S", "inner", "x"), QStringLiteral("a \"b\" c"));
        QCOMPARE(ini.readString("S", "blank", "x"), QStringLiteral("padded"));
        QCOMPARE(ini.readString("S", "empty", "x"), QString());
        QCOMPARE(ini.readString("S", "cr", "x"), QStringLiteral("a b"));
        QCOMPARE(ini.readString("S", "missing", "def"), QStringLiteral("def"));
        QCOMPARE(ini.readString("Missing", "dq", "def"), QStringLiteral("def"));

        QCOMPARE(ini.readInteger("S", "int", -1), 42);
        QCOMPARE(ini.readInteger("S", "neg", -1), -3);
        QCOMPARE(ini.readInteger("S", "plus", -1), 5);
        QCOMPARE(ini.readInteger("S", "sq", -1), -1);
        QCOMPARE(ini.readInteger("S", "quotedint", -1), 7);
        for (const char* key : {"bad", "real", "hex", "dollar", "huge", "empty", "missing"})
            QVERIFY2(ini.readInteger("S", key, -1) == -1, key);

        QCOMPARE(ini.readBool("S", "int", false), true);
        QCOMPARE(ini.readBool("S", "missing", true), true);
        QCOMPARE(ini.readBool("S", "bad", true), true);
        QCOMPARE(ini.readBool("S", "bad", false), false);

        QCOMPARE(ini.readFloat("S", "real", -1), 1.5);
        QCOMPARE(ini.readFloat("S", "exp", -1), 1e-6);
        QCOMPARE(ini.readFloat("S", "int", -1), 42.0);
        QCOMPARE(ini.readFloat("S", "comma", -1), -1.0);
        QCOMPARE(ini.readFloat("S", "bad", -1), -1.0);
        QCOMPARE(ini.readFloat("S", "empty", -1), -1.0);
    }

    void limitsValuesTo2047Bytes() {
        const QByteArray longAscii(3000, 'a');
        // 2045 + 2 bytes fit exactly; 2046 + 2 would cross the limit, so the kanji is dropped
        // whole rather than cut in half.
        const QByteArray fits = QByteArray(2045, 'b') + sjis("会");
        const QByteArray crosses = QByteArray(2046, 'c') + sjis("会");
        const QString path = file("[S]\r\nlong=" + longAscii + "\r\nfits=" + fits +
                                  "\r\ncrosses=" + crosses + "\r\n");
        ProfileFile ini(path);
        QCOMPARE(ini.readString("S", "long", ""), QString(2047, QLatin1Char('a')));
        QCOMPARE(ini.readString("S", "fits", ""), QString(2045, QLatin1Char('b')) + "会");
        QCOMPARE(ini.readString("S", "crosses", ""), QString(2046, QLatin1Char('c')));
        // Writing keeps the whole value on disk.
        ini.writeString("S", "written", QString(2100, QLatin1Char('d')));
        QVERIFY(readBytes(path).contains("written=" + QByteArray(2100, 'd') + "\r\n"));
    }

    void refusesReadOnlyFile() {
        const QByteArray before = "[S]\r\nk=old\r\n";
        const QString path = file(before);
        QVERIFY(
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        try {
            ProfileFile(path).writeString("S", "k", "new");
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
            QFAIL("a read-only file was written");
        } catch (const ProfileWriteError& e) {
            QCOMPARE(QString::fromUtf8(e.what()), path + QStringLiteral(" に書き込めません"));
            QCOMPARE(e.path(), path);
        }
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(readBytes(path), before);
    }

    void refusesReadOnlyFolder() {
        const QString folder = dir_.filePath(QStringLiteral("locked"));
        QVERIFY(QDir().mkpath(folder));
        const QByteArray before = "[S]\r\nk=old\r\n";
        const QString path = folder + QStringLiteral("/settings.inf");
        writeBytes(path, before);
        const auto readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                              QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(folder, readOnly));
        QString message;
        try {
            ProfileFile(path).writeString("S", "k", "new");
        } catch (const ProfileWriteError& e) {
            message = QString::fromUtf8(e.what());
        }
        bool thrownForNewFile = false;
        try {
            ProfileFile(folder + QStringLiteral("/new.inf")).writeString("S", "k", "v");
        } catch (const ProfileWriteError&) {
            thrownForNewFile = true;
        }
        // Give the folder back its write bit before any check can end the test.
        QFile::setPermissions(folder, readOnly | QFile::WriteOwner);
        QCOMPARE(message, path + QStringLiteral(" に書き込めません"));
        QVERIFY(thrownForNewFile);
        QCOMPARE(readBytes(path), before);
        QVERIFY(!QFile::exists(folder + QStringLiteral("/new.inf")));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void refusesMissingFolder() {
        const QString path = dir_.filePath(QStringLiteral("no/such/folder/s.inf"));
        QVERIFY_THROWS_EXCEPTION(ProfileWriteError, ProfileFile(path).writeString("S", "k", "v"));
    }

    void keepsPermissions() {
        const QString path = file("[S]\r\nk=1\r\n");
        const auto perms = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(path, perms));
        ProfileFile(path).writeInteger("S", "k", 2);
        QCOMPARE(readBytes(path), QByteArray("[S]\r\nk=2\r\n"));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, 0640u);
    }

    void keyBeforeAnySectionBelongsToNone() {
        const QString path = file("k=outside\r\n[S]\r\nk=inside\r\n");
        ProfileFile ini(path);
        QCOMPARE(ini.readString("S", "k", "x"), QStringLiteral("inside"));
        QCOMPARE(ini.readString("", "k", "x"), QStringLiteral("x"));
        ini.writeString("S", "k", "changed");
        ini.writeString("T", "k", "new");
        QCOMPARE(readBytes(path), QByteArray("k=outside\r\n[S]\r\nk=changed\r\n[T]\r\nk=new\r\n"));

        // Without any section the key stands alone; a write adds a section after it.
        const QString path2 = file("k=outside\r\n");
        QCOMPARE(ProfileFile(path2).readString("S", "k", "x"), QStringLiteral("x"));
        ProfileFile(path2).writeString("S", "k", "v");
        QCOMPARE(readBytes(path2), QByteArray("k=outside\r\n[S]\r\nk=v\r\n"));
    }

    void firstSectionAndFirstKeyWin() {
        const QString path = file("[S]\r\nk=1\r\nk=2\r\n[s]\r\nk=3\r\nj=4\r\n");
        ProfileFile ini(path);
        QCOMPARE(ini.readInteger("S", "k", 0), 1);
        // A key only in the second occurrence is not seen.
        QCOMPARE(ini.readInteger("S", "j", 0), 0);
        ini.writeInteger("S", "k", 9);
        ini.writeInteger("S", "j", 8);
        QCOMPARE(readBytes(path), QByteArray("[S]\r\nk=9\r\nk=2\r\nj=8\r\n[s]\r\nk=3\r\nj=4\r\n"));
    }

    void sectionHeaderForms() {
        const QString path = file("  [ Spaced ] trailing text\r\nk=1\r\n[Unclosed\r\nk=2\r\n");
        ProfileFile ini(path);
        QCOMPARE(ini.readInteger("Spaced", "k", 0), 1);
        // "[Unclosed" is no header: its key still belongs to the section above.
        QVERIFY(!ini.valueExists("Unclosed", "k"));
    }

    void goldenSequenceOfWrites() {
        const QString path = file("");
        ProfileFile ini(path);
        ini.writeFloat("Index", "1", 83.4);
        ini.writeString("IndexComment", "1",
                        QStringLiteral("0:01:23,　会議開始,%24/07/02,13:05:09"));
        ini.writeFloat("Index", "2", 3723.5);
        ini.writeString("IndexComment", "2", QStringLiteral("1:02:03,　,%24/07/02,13:07:41"));
        ini.writeFloat("Index", "3", 0);
        ini.writeString("IndexComment", "3", QString());
        ini.writeString("IndexComment", "40", QString());
        ini.writeFloat("Index", "1", 1e-6);
        ini.writeInteger("Play", "Volume", 80);
        ini.writeBool("Menu", "AddClipboard", true);
        ini.writeFloat("Play", "ActualTime", 1.0 / 1440);
        const QByteArray expected =
            "[Index]\r\n"
            "1=1E-6\r\n"
            "2=3723.5\r\n"
            "3=0\r\n"
            "[IndexComment]\r\n" +
            sjis(QStringLiteral("1=0:01:23,　会議開始,%24/07/02,13:05:09\r\n"
                                "2=1:02:03,　,%24/07/02,13:07:41\r\n")) +
            "3=\r\n"
            "40=\r\n"
            "[Play]\r\n"
            "Volume=80\r\n"
            "ActualTime=0.000694444444444444\r\n"
            "[Menu]\r\n"
            "AddClipboard=1\r\n";
        QCOMPARE(readBytes(path), expected);
    }
    // The batched edit leaves the file exactly as the same writes one by one would, and
    // touches the disk only when committed.
    void editMatchesSingleWrites() {
        const QByteArray before = "; comment\r\n[play]\r\nVOLUME=50\r\n\r\n[Menu]\r\nx = 1";
        const QString single = file(before);
        const QString batched = file(before);
        auto apply = [](auto& ini) {
            ini.writeInteger("Play", "Volume", 80);
            ini.writeFloat("Play", "ActualTime", 1.0 / 1440);
            ini.writeBool("Menu", "AddClipboard", true);
            ini.writeString("General", "File", QStringLiteral("/メディア/会議.wav"));
            ini.writeInteger("Play", "Volume", 81);
            ini.writeUtf8String("Own", "File", QStringLiteral("/Zoë.mp3"));
            ini.writeUtf8String("Own", "URL", QStringLiteral("https://example.com/é"));
            ini.removeKey("Own", "File");
            ini.removeKey("Own", "Missing");
        };
        const ProfileFile one(single);
        apply(one);
        ProfileEdit edit(batched);
        apply(edit);
        QCOMPARE(readBytes(batched), before);
        edit.commit();
        QCOMPARE(readBytes(batched), readBytes(single));
        QVERIFY(readBytes(batched).contains(sjis(QStringLiteral("File=/メディア/会議.wav\r\n"))));

        // A missing file is created on commit only, and an edit without writes creates nothing.
        const QString fresh = file();
        ProfileEdit empty(fresh);
        empty.commit();
        QVERIFY(!QFile::exists(fresh));
        ProfileEdit created(fresh);
        created.writeInteger("S", "k", 1);
        QVERIFY(!QFile::exists(fresh));
        created.commit();
        QCOMPARE(readBytes(fresh), QByteArray("[S]\r\nk=1\r\n"));
    }

    void keepsUtf8ValuesApart() {
        const QByteArray before = "[General]\r\nFile=Caf?.mp3\r\n";
        const QString path = file(before);
        const ProfileFile ini(path);
        const QString exact = QStringLiteral("/rec/Café – 😀 〜.mp3");
        ini.writeUtf8String("Scribo.UTF8", "File", exact);
        QCOMPARE(readBytes(path), before + "[Scribo.UTF8]\r\nFile=" + exact.toUtf8() + "\r\n");
        QCOMPARE(ini.readUtf8String("scribo.utf8", "FILE", "x"), exact);
        QCOMPARE(ini.readUtf8String("Scribo.UTF8", "URL", "x"), QStringLiteral("x"));
        // A name with bytes that are not UTF-8 is stored and read back as those same bytes.
        const QString bytesName = fileNameFromBytes("/rec/bad\xff\xfe.mp3");
        ini.writeUtf8String("Scribo.UTF8", "Index", bytesName);
        QVERIFY(readBytes(path).endsWith("Index=/rec/bad\xff\xfe.mp3\r\n"));
        QCOMPARE(ini.readUtf8String("Scribo.UTF8", "Index", "x"), bytesName);
    }

    void removesKeys_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        const QByteArray general = "[General]\r\nFile=a\r\n";
        QTest::newRow("last key takes its section") << general + "[Own]\r\nFile=x\r\n" << general;
        QTest::newRow("and the blank lines in it")
            << "[Own]\r\nfile=x\r\n\r\n" + general << general;
        QTest::newRow("other keys stay") << QByteArray("[Own]\r\nURL=u\r\nFile=x\r\n[B]\r\nk=1")
                                         << QByteArray("[Own]\r\nURL=u\r\n[B]\r\nk=1");
        QTest::newRow("a comment keeps the section")
            << QByteArray("[Own]\r\n; mine\r\nFile=x\r\n") << QByteArray("[Own]\r\n; mine\r\n");
        QTest::newRow("missing key") << general << general;
        QTest::newRow("key of another section") << general + "[B]\r\nFile=x\r\n"
                                                << general + "[B]\r\nFile=x\r\n";
    }

    void removesKeys() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        const QString path = file(before);
        ProfileFile(path).removeKey("Own", "File");
        QCOMPARE(readBytes(path), after);
        // Removing from a file that is not there creates nothing.
        const QString missing = file();
        ProfileFile(missing).removeKey("Own", "File");
        QVERIFY(!QFile::exists(missing));
    }

    void editRefusals() {
        // Something there that cannot be read as a file is never replaced by a file of a few keys.
        const QString folder = dir_.filePath(QStringLiteral("folder.inf"));
        QVERIFY(QDir().mkpath(folder));
        ProfileEdit onFolder(folder);
        QVERIFY_THROWS_EXCEPTION(ProfileWriteError, onFolder.writeInteger("S", "k", 1));
        QVERIFY_THROWS_EXCEPTION(ProfileWriteError, ProfileFile(folder).writeInteger("S", "k", 1));
        QVERIFY(QFileInfo(folder).isDir());

        const QByteArray before = "[S]\r\nk=old\r\n";
        const QString path = file(before);
        QVERIFY(
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        ProfileEdit edit(path);
        edit.writeString("S", "k", "new");
        edit.writeString("T", "k", "new");
        QVERIFY_THROWS_EXCEPTION(ProfileWriteError, edit.commit());
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(readBytes(path), before);
    }
};

QTEST_GUILESS_MAIN(ProfileFileTest)
#include "profile_file_test.moc"
