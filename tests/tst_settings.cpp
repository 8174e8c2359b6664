#include "settings/settingscodec.h"
#include "settings/settingsfile.h"
#include "testkit.h"

#include <QElapsedTimer>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using TestKit::WorkFolder;

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void encode_data();
    void encode();
    void roundTrip();
    void recovery_data();
    void recovery();
    void hostileFiles_data();
    void hostileFiles();
    void saveReplacesWholeFile();
    void failingWriteKeepsOldFile();
    void killedSaveLeavesWholeRecord();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
};

Q_DECLARE_METATYPE(std::optional<LaunchOptions>)

static std::optional<LaunchOptions> record(qint16 d, qint16 l, qint16 s, qint16 v, StickMode s1, StickMode s2)
{
    return TestKit::options(d, l, s, v, s1, s2);
}

void TestSettings::read_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<std::optional<LaunchOptions>>("expected");
    const std::optional<LaunchOptions> fail;

    QTest::newRow("all set") << QByteArray("1,1,1,1,3,2\r\n") << record(1, 1, 1, 1, 3, 2);
    QTest::newRow("default line with its seventh value")
        << QByteArray("0,0,0,0,1,0,\"#TRUE#\"\r\n") << record(0, 0, 0, 0, 1, 0);
    QTest::newRow("grayed box") << QByteArray("2,0,1,0,1,0\r\n") << record(2, 0, 1, 0, 1, 0);
    QTest::newRow("equal sticks are read as they are") << QByteArray("0,0,0,0,2,2\r\n") << record(0, 0, 0, 0, 2, 2);
    QTest::newRow("empty fifth value is 0") << QByteArray("0,0,0,0,,2\r\n") << record(0, 0, 0, 0, 0, 2);
    QTest::newRow("empty fifth and sixth") << QByteArray("0,0,0,0,,\r\n") << record(0, 0, 0, 0, 0, 0);
    QTest::newRow("empty check box value") << QByteArray(",,,1,1,0\r\n") << record(0, 0, 0, 1, 1, 0);
    QTest::newRow("half rounds to even, down") << QByteArray("0,0,0,0,2.5,0\r\n") << record(0, 0, 0, 0, 2, 0);
    QTest::newRow("half rounds to even, up") << QByteArray("0,0,0,1.5,0.5,2.5\r\n") << record(0, 0, 0, 2, 0, 2);
    QTest::newRow("3.5 rounds up to 4, no stick") << QByteArray("0,0,0,0,3.5,0\r\n") << std::optional<LaunchOptions>();
    QTest::newRow("fraction rounds to nearest") << QByteArray("0.6,1.49,0,0,1,0\r\n") << record(1, 1, 0, 0, 1, 0);
    QTest::newRow("minus zero and plus sign") << QByteArray("-0,+1,0,0,1,0\r\n") << record(0, 1, 0, 0, 1, 0);
    QTest::newRow("exponent form is a number") << QByteArray("1E0,0,0,0,3e0,0.2e1\r\n") << record(1, 0, 0, 0, 3, 2);
    QTest::newRow("quoted numbers") << QByteArray("\"1\",0,\" 2 \",0,\"3\",0\r\n") << record(1, 0, 2, 0, 3, 0);
    QTest::newRow("blanks around values") << QByteArray(" 1 ,\t0, 0 ,0 , 1,0 \r\n") << record(1, 0, 0, 0, 1, 0);
    QTest::newRow("lone LF line ends") << QByteArray("1,0,0\n0,1,0\n") << record(1, 0, 0, 0, 1, 0);
    QTest::newRow("lone CR line end") << QByteArray("1,0,0,0,1,0\r") << record(1, 0, 0, 0, 1, 0);
    QTest::newRow("no line end at all") << QByteArray("0,1,0,0,3,1") << record(0, 1, 0, 0, 3, 1);
    QTest::newRow("junk after six values is ignored") << QByteArray("0,0,0,0,1,0,zz\x01\xff\r\nmore") << record(0, 0, 0, 0, 1, 0);

    QTest::newRow("stick 4") << QByteArray("1,1,0,0,4,0\r\n") << fail;
    QTest::newRow("stick -1") << QByteArray("0,0,0,0,-1,0\r\n") << fail;
    QTest::newRow("check box 3") << QByteArray("3,0,0,0,1,0\r\n") << fail;
    QTest::newRow("40000 is outside 16 bits") << QByteArray("0,0,0,40000,1,0\r\n") << fail;
    QTest::newRow("exponent outside 16 bits") << QByteArray("1e5,0,0,0,1,0\r\n") << fail;
    QTest::newRow("huge exponent") << QByteArray("1e999,0,0,0,1,0\r\n") << fail;
    QTest::newRow("32767.5 rounds out of range") << QByteArray("32767.5,0,0,0,1,0\r\n") << fail;
    QTest::newRow("not a number") << QByteArray("yes,0,0,0,1,0\r\n") << fail;
    QTest::newRow("hex is not a decimal number") << QByteArray("&H1,0,0,0,1,0\r\n") << fail;
    QTest::newRow("inf and nan are not numbers") << QByteArray("inf,nan,0,0,1,0\r\n") << fail;
    QTest::newRow("number with a tail") << QByteArray("1x,0,0,0,1,0\r\n") << fail;
    QTest::newRow("blank inside a number") << QByteArray("1 0,0,0,0,1,0\r\n") << fail;
    QTest::newRow("unterminated quote") << QByteArray("\"1,0,0,0,1,0\r\n") << fail;
    QTest::newRow("empty quotes are text") << QByteArray("\"\",0,0,0,1,0\r\n") << fail;
    QTest::newRow("junk after a closing quote") << QByteArray("\"1\"x,0,0,0,1,0\r\n") << fail;
    QTest::newRow("short file") << QByteArray("0,0,0,0,1\r\n") << fail;
    QTest::newRow("ends right after the fifth comma") << QByteArray("0,0,0,0,1,") << fail;
    QTest::newRow("empty file") << QByteArray() << fail;
    QTest::newRow("only a line end") << QByteArray("\r\n") << fail;
    QTest::newRow("NUL bytes") << QByteArray("0,0\0,0,0,1,0\r\n", 14) << fail;
    QTest::newRow("binary junk") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << fail;
}

void TestSettings::read()
{
    QFETCH(QByteArray, text);
    QFETCH(std::optional<LaunchOptions>, expected);
    const std::optional<LaunchOptions> got = SettingsCodec::decode(text);
    QCOMPARE(got.has_value(), expected.has_value());
    if (expected)
        QVERIFY2(*got == *expected, SettingsCodec::encode(*got).constData());
}

void TestSettings::encode_data()
{
    QTest::addColumn<LaunchOptions>("options");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("debug set") << *record(1, 0, 0, 0, 1, 0) << QByteArray::fromHex("312c302c302c302c312c300d0a");
    QTest::newRow("grayed and sticks") << *record(2, 1, 0, 2, 3, 2) << QByteArray("2,1,0,2,3,2\r\n");
    LaunchOptions noSticks = *record(0, 0, 1, 0, 0, 0);
    noSticks.stick1.reset();
    noSticks.stick2.reset();
    QTest::newRow("no stick selected writes nothing") << noSticks << QByteArray("0,0,1,0,,\r\n");
}

void TestSettings::encode()
{
    QFETCH(LaunchOptions, options);
    QFETCH(QByteArray, bytes);
    QCOMPARE(SettingsCodec::encode(options), bytes);
    QCOMPARE(SettingsCodec::defaultRecord(),
             QByteArray::fromHex("302c302c302c302c312c302c2223545255452322" "0d0a"));
}

void TestSettings::roundTrip()
{
    // Every record the program can save reads back as itself.
    for (qint16 c = 0; c <= 2; ++c)
        for (StickMode a = 0; a < 4; ++a)
            for (StickMode b = 0; b < 4; ++b) {
                const LaunchOptions o = *record(c, qint16(2 - c), c, 1, a, b);
                QVERIFY(SettingsCodec::decode(SettingsCodec::encode(o)) == o);
            }
}

void TestSettings::recovery_data()
{
    QTest::addColumn<QByteArray>("content"); // "<none>": no file
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<std::optional<LaunchOptions>>("options");
    const QByteArray def = SettingsCodec::defaultRecord();
    QTest::newRow("missing file") << QByteArray("<none>") << def << record(0, 0, 0, 0, 1, 0);
    QTest::newRow("good file is kept") << QByteArray("1,1,1,1,3,2\r\n") << QByteArray("1,1,1,1,3,2\r\n") << record(1, 1, 1, 1, 3, 2);
    QTest::newRow("bad stick is replaced") << QByteArray("1,1,1,1,4,0\r\n") << def << record(0, 0, 0, 0, 1, 0);
    QTest::newRow("empty file is replaced") << QByteArray() << def << record(0, 0, 0, 0, 1, 0);
    QTest::newRow("a value running over the read limit is not cut short")
        << QByteArray("0,0,0,0,1,") + QByteArray(4090, '0') + "1\r\n" << def << record(0, 0, 0, 0, 1, 0);
    QTest::newRow("record behind 4096 blanks is not looked for")
        << QByteArray(5000, ' ') + "1,1,1,1,3,2\r\n" << def << record(0, 0, 0, 0, 1, 0);
}

void TestSettings::recovery()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, after);
    QFETCH(std::optional<LaunchOptions>, options);
    WorkFolder folder;
    if (content != "<none>")
        QVERIFY(folder.write(QStringLiteral("quorix.cfg"), content));
    QVERIFY(SettingsFile().loadWithRecovery() == *options);
    QCOMPARE(folder.read(QStringLiteral("quorix.cfg")), after);
}

void TestSettings::hostileFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("replaced"); // ends as the default record on disk
    QTest::addColumn<bool>("asNobody"); // run where file modes hold, even for root
    QTest::newRow("a folder named quorix.cfg") << "folder" << false << false;
    QTest::newRow("a FIFO, never opened") << "fifo" << true << false;
    QTest::newRow("a dangling link") << "link" << true << false;
    QTest::newRow("binary junk") << "junk" << true << false;
    QTest::newRow("100 MB of zeros") << "huge" << true << false;
    QTest::newRow("a record whose last value runs on for 1 MB") << "longline" << true << false;
    QTest::newRow("unreadable, mode 000") << "unreadable" << false << true;
    QTest::newRow("junk in a read-only folder") << "readonlyfolder" << false << true;
}

void TestSettings::hostileFiles()
{
    QFETCH(QString, kind);
    QFETCH(bool, replaced);
    QFETCH(bool, asNobody);
    WorkFolder folder;
    const QString path = folder.file(QStringLiteral("quorix.cfg"));
    const QByteArray dir = QFile::encodeName(folder.path()), file = QFile::encodeName(path);
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("quorix.cfg")));
    if (kind == QLatin1String("fifo"))
        QCOMPARE(mkfifo(file.constData(), 0644), 0);
    if (kind == QLatin1String("link"))
        QVERIFY(QFile::link(folder.file(QStringLiteral("gone.cfg")), path));
    if (kind == QLatin1String("junk") || kind == QLatin1String("readonlyfolder") || kind == QLatin1String("unreadable"))
        QVERIFY(folder.write(QStringLiteral("quorix.cfg"), QByteArray("\x7f" "ELF\x02\x01\0\0,,\xff\r\n", 12)));
    if (kind == QLatin1String("huge")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(100 << 20));
    }
    if (kind == QLatin1String("longline"))
        QVERIFY(folder.write(QStringLiteral("quorix.cfg"), "0,0,0,0,1," + QByteArray(1 << 20, '0') + "1"));
    if (asNobody) {
        QCOMPARE(chown(dir.constData(), 65534, 65534), 0);
        QCOMPARE(chown(file.constData(), 65534, 65534), 0);
        QCOMPARE(chmod(dir.constData(), kind == QLatin1String("readonlyfolder") ? 0555 : 0755), 0);
        QCOMPARE(chmod(file.constData(), kind == QLatin1String("unreadable") ? 0 : 0644), 0);
    }
    const QByteArray before = replaced || asNobody ? QByteArray() : folder.read(QStringLiteral("quorix.cfg"));

    QElapsedTimer clock;
    clock.start();
    const auto startUp = [&] { return SettingsFile(path).loadWithRecovery() == SettingsCodec::defaults() ? 0 : 1; };
    QCOMPARE(asNobody ? TestKit::runAsNobody(startUp) : startUp(), 0);
    QVERIFY2(clock.elapsed() < 5000, "start-up must never wait on the settings file");
    chmod(dir.constData(), 0755);
    chmod(file.constData(), 0644);
    if (replaced)
        QCOMPARE(folder.read(QStringLiteral("quorix.cfg")), SettingsCodec::defaultRecord());
    else if (!asNobody)
        QCOMPARE(folder.read(QStringLiteral("quorix.cfg")), before);
}

void TestSettings::saveReplacesWholeFile()
{
    WorkFolder folder;
    QVERIFY(folder.write(QStringLiteral("quorix.cfg"), QByteArray(10000, 'x')));
    QVERIFY(SettingsFile().save(*record(1, 0, 0, 0, 1, 0)));
    QCOMPARE(folder.read(QStringLiteral("quorix.cfg")), QByteArray("1,0,0,0,1,0\r\n"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"quorix.cfg"});
}

void TestSettings::failingWriteKeepsOldFile()
{
    // A full disk, injected: the file size limit stops the write after a few bytes.
    WorkFolder folder;
    const QByteArray old("1,1,1,1,3,2\r\n");
    QVERIFY(folder.write(QStringLiteral("quorix.cfg"), old));
    const int result = TestKit::runInChild([] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4, 4};
        setrlimit(RLIMIT_FSIZE, &limit);
        return SettingsFile().save(SettingsCodec::defaults()) ? 1 : 0;
    });
    QCOMPARE(result, 0);
    QCOMPARE(folder.read(QStringLiteral("quorix.cfg")), old);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"quorix.cfg"});
}

void TestSettings::killedSaveLeavesWholeRecord()
{
    // A saver killed at random moments: the file always holds one whole record, old or new.
    WorkFolder folder;
    const QByteArray a = SettingsCodec::encode(*record(1, 0, 1, 0, 3, 2));
    const QByteArray b = SettingsCodec::encode(*record(0, 2, 0, 1, 0, 1));
    QVERIFY(folder.write(QStringLiteral("quorix.cfg"), a));
    for (int round = 0; round < 40; ++round) {
        const pid_t pid = fork();
        if (pid == 0) {
            for (int i = 0;; ++i)
                SettingsFile().save(*SettingsCodec::decode(i % 2 ? a : b));
        }
        QVERIFY(pid > 0);
        usleep(static_cast<useconds_t>(200 + (round * 397) % 3000));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        const QByteArray now = folder.read(QStringLiteral("quorix.cfg"));
        QVERIFY2(now == a || now == b, now.constData());
    }
}

void TestSettings::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::addColumn<bool>("readOnlyFile");
    QTest::newRow("read-only folder") << true << false;
    QTest::newRow("read-only file") << false << true;
    QTest::newRow("both") << true << true;
}

void TestSettings::failedSaveKeepsOldFile()
{
    QFETCH(bool, readOnlyFolder);
    QFETCH(bool, readOnlyFile);
    // A save that cannot create its file beside the old one leaves the old one whole.
    WorkFolder folder;
    QVERIFY(!SettingsFile(folder.file(QStringLiteral("missing/quorix.cfg"))).save(SettingsCodec::defaults()));

    const QByteArray old("1,1,1,1,3,2\r\n");
    QVERIFY(folder.write(QStringLiteral("quorix.cfg"), old));
    const QByteArray dir = QFile::encodeName(folder.path());
    const QByteArray file = QFile::encodeName(folder.file(QStringLiteral("quorix.cfg")));
    // Owned by nobody, so that only the modes below keep nobody from writing.
    QCOMPARE(chown(dir.constData(), 65534, 65534), 0);
    QCOMPARE(chown(file.constData(), 65534, 65534), 0);
    QCOMPARE(chmod(dir.constData(), readOnlyFolder ? 0555 : 0755), 0);
    QCOMPARE(chmod(file.constData(), readOnlyFile ? 0444 : 0644), 0);

    const int result = TestKit::runAsNobody([&] {
        const SettingsFile settings(QString::fromLocal8Bit(file));
        if (settings.save(SettingsCodec::defaults()))
            return 1;
        return settings.loadWithRecovery() == *record(1, 1, 1, 1, 3, 2) ? 0 : 2;
    });
    chmod(dir.constData(), 0755);
    QCOMPARE(result, 0);
    QCOMPARE(folder.read(QStringLiteral("quorix.cfg")), old);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"quorix.cfg"});
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
