// SPDX-License-Identifier: GPL-3.0-or-later
// The window-free core: the settings reader and file, the folder listing, the emulator
// lookup and the command line.
#include "launch/emulator.h"
#include "launch/gamelist.h"
#include "settings/settingscodec.h"
#include "common/names.h"
#include "settings/settingsfile.h"
#include "testkit.h"

#include <QScopeGuard>

#include <cerrno>
#include <cfenv>
#include <csignal>
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/resource.h>

using namespace Qt::StringLiterals;
using TestKit::text;
using TestKit::WorkFolder;

// Faults the file system rarely gives on demand, injected into the C library's calls.
static bool failRename = false, unknownTypes = false;
template<class F> static F *real(const char *name) { return reinterpret_cast<F *>(dlsym(RTLD_NEXT, name)); }
extern "C" int rename(const char *from, const char *to)
{
    return failRename ? (errno = EIO, -1) : real<int(const char *, const char *)>("rename")(from, to);
}
extern "C" int renameat2(int fromDir, const char *from, int toDir, const char *to, unsigned flags)
{
    return failRename ? (errno = EIO, -1) : real<int(int, const char *, int, const char *, unsigned)>("renameat2")(fromDir, from, toDir, to, flags);
}
extern "C" dirent *readdir(DIR *dir)
{
    dirent *entry = real<dirent *(DIR *)>("readdir")(dir);
    if (entry && unknownTypes)
        entry->d_type = DT_UNKNOWN; // as some network and FUSE file systems report
    return entry;
}

struct Pair { QByteArray in, out; };
struct SaveRow { QByteArray fault; QString why; };
struct ScanRow { QByteArray entries, listed; int count; };
Q_DECLARE_METATYPE(Pair)
Q_DECLARE_METATYPE(SaveRow)
Q_DECLARE_METATYPE(ScanRow)

class TestCore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decode_data()
    {
        QTest::addColumn<Pair>("row"); // the file, the options read
        QTest::newRow("all set") << Pair{"1,1,1,1,3,2\r\n", "1,1,1,1,3,2"};
        QTest::newRow("default line, its seventh value not read") << Pair{"0,0,0,0,1,0,\"#TRUE#\"\r\n", "0,0,0,0,1,0"};
        QTest::newRow("grayed box") << Pair{"2,0,1,0,1,0\r\n", "2,0,1,0,1,0"};
        QTest::newRow("equal sticks read as they stand") << Pair{"0,0,0,0,2,2\r\n", "0,0,0,0,2,2"};
        QTest::newRow("empty values are 0") << Pair{",,,1,,\r\n", "0,0,0,1,0,0"};
        QTest::newRow("halves round to even") << Pair{"0,0,0,1.5,0.5,2.5\r\n", "0,0,0,2,0,2"};
        QTest::newRow("fractions round to the nearest") << Pair{"0.6,1.49,0,0,1,0\r\n", "1,1,0,0,1,0"};
        QTest::newRow("signs") << Pair{"-0,+1,0,0,1,0", "0,1,0,0,1,0"};
        QTest::newRow("exponents") << Pair{"1E0,0,0,0,3e0,0.2e1", "1,0,0,0,3,2"};
        QTest::newRow("quoted numbers") << Pair{"\"1\",0,\" 2 \",0,\"3\",0\r\n", "1,0,2,0,3,0"};
        QTest::newRow("quoted value before the line end") << Pair{"0,0,0,0,1,\"2\"\r\n", "0,0,0,0,1,2"};
        QTest::newRow("quoted value at the very end") << Pair{"0,0,0,0,1,\"2\"", "0,0,0,0,1,2"};
        QTest::newRow("blanks and tabs around values") << Pair{" 1 ,\t0, 0 ,0 ,\t\"1\",0 \r\n", "1,0,0,0,1,0"};
        QTest::newRow("lone LF line ends") << Pair{"1,0,0\n0,1,0\n", "1,0,0,0,1,0"};
        QTest::newRow("lone CR line ends") << Pair{"1,0,0\r0,1,0\r", "1,0,0,0,1,0"};
        QTest::newRow("no line end") << Pair{"0,1,0,0,3,1", "0,1,0,0,3,1"};
        QTest::newRow("junk after six values") << Pair{"0,0,0,0,1,0,zz\x01\xff\r\nmore", "0,0,0,0,1,0"};
        // Each of these files fails.
        QTest::newRow("out of range") << Pair{"1,1,0,0,4,0|0,0,0,0,-1,0|3,0,0,0,1,0|0,0,0,0,3.5,0|0,0,0,40000,1,0|0,0,65537,0,1,0|-65536,0,0,0,1,0|1e999,0,0,0,1,0", "fails"};
        QTest::newRow("not numbers") << Pair{"yes,0,0,0,1,0|&H1,0,0,0,1,0|inf,0,0,0,1,0|nan,0,0,0,1,0|1x,0,0,0,1,0|1 0,0,0,0,1,0|\"1,0,0,0,1,0\r\n|"
                                             "\"\",0,0,0,1,0|\"1\"x,0,0,0,1,0|" + QByteArray("0,0\0,0,0,1,0", 13) + "|\x89PNG\r\n\x1a\n\x01IHDR", "fails"};
        QTest::newRow("too short") << Pair{"0,0,0,0,1\r\n|0,0,0,0,1,||\r\n", "fails"};
    }
    void decode()
    {
        QFETCH(Pair, row);
        for (const QByteArray &file : row.out == "fails" ? row.in.split('|') : QByteArrayList{row.in}) {
            std::fesetround(FE_UPWARD); // another rounding mode in force must neither change the result nor be lost
            const QByteArray got = text(SettingsCodec::decode(file));
            QVERIFY2(got == row.out && std::fegetround() == FE_UPWARD, file.constData());
            std::fesetround(FE_TONEAREST);
        }
    }

    void encode() // the one save the windows cannot show: no stick selected
    {
        LaunchOptions o = *SettingsCodec::decode("1,0,0,2,1,0");
        o.stick1 = o.stick2 = std::nullopt;
        QCOMPARE(SettingsCodec::encode(o), "1,0,0,2,,\r\n");
    }

    void failedSave_data()
    {
        QTest::addColumn<SaveRow>("row"); // the fault; why the save failed, as the user is told
        QTest::newRow("nothing wrong") << SaveRow{"", {}};
        QTest::newRow("read-only folder") << SaveRow{"folder 0555", u"the folder is read-only"_s};
        QTest::newRow("read-only file") << SaveRow{"file 0444", u"the file is read-only"_s};
        QTest::newRow("a folder of that name") << SaveRow{"dir", u"a folder has that name"_s};
        QTest::newRow("the rename fails") << SaveRow{"rename", u"Input/output error"_s};
        QTest::newRow("the disk is full") << SaveRow{"full", u"the disk may be full"_s};
    }
    void failedSave()
    {
        QFETCH(SaveRow, row);
        WorkFolder folder;
        const QByteArray old = row.fault == "dir" ? "<missing>" : QByteArray(20000, 'x');
        QVERIFY(row.fault == "dir" ? QDir().mkdir(u"quorix.cfg"_s) : folder.write(u"quorix.cfg"_s, old));
        if (row.fault.contains(' ')) {
            TestKit::handOver(folder.path(), row.fault.startsWith("folder") ? 0555 : 0755);
            TestKit::handOver(folder.file(u"quorix.cfg"_s), row.fault.startsWith("file") ? 0444 : 0644);
        }
        const auto save = [&] {
            failRename = row.fault == "rename";
            if (row.fault == "full") { // the file size limit stops the write after a few bytes
                signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{4, 4};
                setrlimit(RLIMIT_FSIZE, &limit);
            }
            QString why;
            const bool saved = SettingsFile(Names::SettingsFile).save(SettingsCodec::defaults(), &why);
            failRename = false;
            return saved == row.why.isEmpty() && why == row.why ? 0 : 1;
        };
        QCOMPARE(row.fault.contains(' ') ? TestKit::asUser(save) : row.fault == "full" ? TestKit::inChild(save) : save(), 0);
        QCOMPARE(folder.read(), row.why.isEmpty() ? SettingsCodec::encode(SettingsCodec::defaults()) : old);
        QCOMPARE(folder.entries(), QStringList{u"quorix.cfg"_s}); // nothing left beside it
    }

    void startsInTheFolderGiven() // not in the launcher's own working folder
    {
        const WorkFolder games;
        QVERIFY(games.installEmulator());
        const WorkFolder elsewhere;
        QCOMPARE(Emulator::start({games.file(u"O2EM.EXE"_s)}, {u"a.bin"_s}, games.path()), QString());
        QCOMPARE(games.starts(1).value(0).value(0), QFileInfo(games.path()).canonicalFilePath());
    }

    void killedSaveLeavesWholeRecord()
    {
        WorkFolder folder;
        const QByteArray a = "1,0,1,0,3,2\r\n", b = "0,2,0,1,0,1\r\n";
        QVERIFY(folder.write(u"quorix.cfg"_s, a));
        for (int round = 0; round < 40; ++round) {
            const pid_t pid = fork();
            for (int i = 0; pid == 0; ++i)
                SettingsFile(Names::SettingsFile).save(*SettingsCodec::decode(i % 2 ? a : b));
            usleep(static_cast<useconds_t>(200 + (round * 397) % 3000));
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            QVERIFY2(folder.read() == a || folder.read() == b, folder.read().constData());
        }
    }

    void scan_data()
    {
        QTest::addColumn<ScanRow>("row"); // "|"-separated entries (name/ a folder, name@target a link, name! a FIFO), the listing, the count
        QTest::newRow("empty") << ScanRow{"", "", 0};
        QTest::newRow("only the ROM") << ScanRow{"O2ROM.BIN", "O2ROM.BIN", 0};
        QTest::newRow("one game") << ScanRow{"solo.bin", "solo.bin", 1};
        QTest::newRow("case folded, A and Z too") << ScanRow{"zeta.BIN|O2ROM.BIN|Zulu.bin|Azure.bin|alpha.bin|Beta.Bin|o2rom.bin",
                                                             "alpha.bin|Azure.bin|Beta.Bin|O2ROM.BIN|o2rom.bin|zeta.BIN|Zulu.bin", 6};
        QTest::newRow("non-ASCII folded") << ScanRow{"\xc3\x89" "den.bin|\xc3\xa9" "b\xc3\xa8" "ne.bin|zorro.bin",
                                                     "zorro.bin|\xc3\xa9" "b\xc3\xa8" "ne.bin|\xc3\x89" "den.bin", 3};
        QTest::newRow("same but for case: capitals first") << ScanRow{"b.bin|B.bin|a.bin", "a.bin|B.bin|b.bin", 3};
        QTest::newRow("a name before its longer self") << ScanRow{"ab.bin.bin|ab.bin", "ab.bin|ab.bin.bin", 2};
        QTest::newRow("long shared start") << ScanRow{"Game 0012 Part Two.bin|Game 0012 Part One.bin|game 0012 part one.bin|Game 0012 Part One.bin.bin",
                                                      "Game 0012 Part One.bin|game 0012 part one.bin|Game 0012 Part One.bin.bin|Game 0012 Part Two.bin", 4};
        QTest::newRow("same first eight bytes") << ScanRow{"aaaaaaaaaaaa2.bin|aaaaaaaaaaaa1.bin|b.bin", "aaaaaaaaaaaa1.bin|aaaaaaaaaaaa2.bin|b.bin", 3};
        QTest::newRow("the fifth byte decides") << ScanRow{"abcdY1.bin|abcdX2.bin", "abcdX2.bin|abcdY1.bin", 2};
        QByteArrayList many, sorted; // enough names for the radix passes
        for (int i = 0; i < 300; ++i)
            many << QByteArray::number(1000 + i * 7 % 300) + ".bin", sorted << QByteArray::number(1000 + i) + ".bin";
        QTest::newRow("300 names") << ScanRow{many.join('|'), sorted.join('|'), 300};
        QTest::newRow("short and odd names") << ScanRow{"bin|robin|x.bi|a.bin.txt|b.binx|.bin|a.BIN", "a.BIN", 1};
        QTest::newRow("hidden") << ScanRow{".x.bin|y.bin", "y.bin", 1};
        QTest::newRow("folders, links, FIFOs") << ScanRow{"x.bin/|real.bin|alias.bin@real.bin|gone.bin@nowhere|dir.bin@x.bin|pipe.bin!", "alias.bin|real.bin", 2};
        QTest::newRow("types unknown to the file system") << ScanRow{"x.bin/|real.bin|alias.bin@real.bin|pipe.bin!", "alias.bin|real.bin", 2};
        QTest::newRow("not valid UTF-8") << ScanRow{"bad\xff.bin|ok.bin", "ok.bin", 1};
        QTest::newRow("unreadable folder") << ScanRow{"a.bin|b.bin", "", 0};
    }
    void scan()
    {
        QFETCH(ScanRow, row);
        const QByteArray tag = QTest::currentDataTag();
        WorkFolder folder;
        const QByteArray dir = QFile::encodeName(folder.path()) + '/';
        const auto cleanUp = qScopeGuard([&] { unlink((dir + "bad\xff.bin").constData()); }); // QTemporaryDir cannot remove it
        for (const QByteArray &e : row.entries.split('|')) {
            const QByteArray at = dir + e.left(e.indexOf('@') < 0 ? e.size() - (e.endsWith('/') || e.endsWith('!')) : e.indexOf('@'));
            QVERIFY(e.isEmpty() || (e.endsWith('/') ? mkdir(at.constData(), 0755) : e.endsWith('!') ? mkfifo(at.constData(), 0644)
                                    : e.contains('@') ? symlink(e.mid(e.indexOf('@') + 1).constData(), at.constData())
                                                      : close(open(at.constData(), O_CREAT | O_WRONLY, 0644))) == 0);
        }
        unknownTypes = tag == "types unknown to the file system";
        GameList::Games got;
        if (tag == "unreadable folder") {
            TestKit::handOver(folder.path(), 0311);
            QCOMPARE(TestKit::asUser([&] { return GameList::scan(folder.path()).size(); }), 0);
        } else {
            got = GameList::startScan(folder.path()).get();
        }
        unknownTypes = false;
        QCOMPARE(got.toList().join(u'|').toUtf8(), row.listed);
        QCOMPARE(got.gameCount(), row.count);
    }
};

QTEST_GUILESS_MAIN(TestCore)
#include "tst_core.moc"
