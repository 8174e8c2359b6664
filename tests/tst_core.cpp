// SPDX-License-Identifier: GPL-3.0-or-later
// The window-free core: the settings reader (with its fuzz corpus) and file, the emulator
// lookup and the folder listing.
#include "common/names.h"
#include "inject.h"
#include "launch/emulator.h"
#include "launch/gamelist.h"
#include "settings/settingscodec.h"
#include "settings/settingsfile.h"
#include "testkit.h"

#include <QDirIterator>
#include <QScopeGuard>

#include <cfenv>

using namespace Qt::StringLiterals;
using TestKit::WorkFolder;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size); // tests/fuzz

using Options = std::optional<LaunchOptions>;
// An obstacle to a save, put in place by the user who saves, in a folder that holds an earlier quorix.cfg.
using Obstacle = std::function<void(const WorkFolder &)>;
struct Link {
    QByteArray name, target;
};
Q_DECLARE_METATYPE(Options)
Q_DECLARE_METATYPE(Obstacle)

static const Obstacle nothing = [](const WorkFolder &) {};
static const Obstacle readOnlyFolder = [](const WorkFolder &f) { TestKit::setMode(f.path(), 0555); };
static const Obstacle readOnlyFile = [](const WorkFolder &f) { TestKit::setMode(f.file(Names::SettingsFile), 0444); };
static const Obstacle folderOfThatName = [](const WorkFolder &f) {
    QFile::remove(f.file(Names::SettingsFile)), QDir(f.path()).mkdir(Names::SettingsFile);
};
static const Obstacle renameFails = [](const WorkFolder &) { failRename = true; };
static const Obstacle diskFull = [](const WorkFolder &) { TestKit::fullDisk(); };

// Saves the defaults in the working folder past the obstacle, as a user for whom file modes
// hold, in a child process where the obstacle stays: "saved", or why not as the user is told.
static QString saveDefaults(const WorkFolder &folder, const Obstacle &obstacle)
{
    TestKit::handOver(folder.path()), TestKit::handOver(folder.file(Names::SettingsFile));
    return QString::fromUtf8(TestKit::asUser([&] {
        obstacle(folder);
        QString why;
        return SettingsFile(Names::SettingsFile).save(SettingsCodec::defaults(), &why) ? "saved" : why.toUtf8();
    }));
}

// What a game folder holds, and how its file system behaves.
struct Folder {
    QByteArrayList files, folders, fifos;
    QList<Link> links;
    QByteArrayList hidden; // files marked hidden (or system, by name) the system's way
    bool noTypes = false;  // the file system reports no entry types, as some network and FUSE ones do
};
Q_DECLARE_METATYPE(Folder)

static void plainFolder(const char *tag, const QByteArrayList &files, const QByteArrayList &listed, int count,
                        const QByteArrayList &folders = {})
{
    QTest::newRow(tag) << Folder{files, folders} << listed << count;
}

// Names in list order, enough for the radix passes: `perLetter` names for each of `letters`,
// every other one in capitals. Their numbers fall from letter to letter, so
// that only the letters put them in order.
static QByteArrayList inOrder(const QString &letters, int perLetter)
{
    QByteArrayList names;
    for (int i = 0; i < letters.size(); ++i)
        for (int k = 0; k < perLetter; ++k)
            names
                << ((k % 2 ? letters[i].toUpper() : letters[i]) + QString::number(9000 - 20 * i + k) + ".bin").toUtf8();
    return names;
}

class TestCore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decode_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Options>("read");
        const auto row
            = [](const char *tag, const QByteArray &file, const Options &read) { QTest::newRow(tag) << file << read; };
        row("default line, its seventh value not read", "0,0,0,0,1,0,\"#TRUE#\"\r\n", LaunchOptions{0, 0, 0, 0, 1, 0});
        row("empty values are 0", ",,,1,,\r\n", LaunchOptions{0, 0, 0, 1, 0, 0});
        row("halves round to even", "0,0,0,1.5,0.5,2.5\r\n", LaunchOptions{0, 0, 0, 2, 0, 2});
        row("fractions round to the nearest", "0.6,1.49,.51,0,1,0\r\n", LaunchOptions{1, 1, 1, 0, 1, 0});
        row("exponents", "1E0,0,10e-1,0,3e+0,0.2e1", LaunchOptions{1, 0, 1, 0, 3, 2});
        row("quoted numbers", "\"1\",0,\" 2 \",0,\"3\",0\r\n", LaunchOptions{1, 0, 2, 0, 3, 0});
        row("quoted value before the line end", "0,0,0,0,1,\"2\"\r\n", LaunchOptions{0, 0, 0, 0, 1, 2});
        row("blanks and tabs around values", " 1 ,\t0, 0 ,0 ,\t\"1\" \t,0 \r\n", LaunchOptions{1, 0, 0, 0, 1, 0});
        row("lone CR line ends", "1,0,0\r0,1,0\r", LaunchOptions{1, 0, 0, 0, 1, 0});
        row("CR LF between values", "1,0,0\r\n1,1,0\r\n", LaunchOptions{1, 0, 0, 1, 1, 0});
        row("junk after six values", "0,0,0,0,1,0,zz\x01\xff\r\nmore", LaunchOptions{0, 0, 0, 0, 1, 0});
        // Refused files: values out of range, not numbers, too few.
        const std::initializer_list<std::pair<const char *, QByteArray>> refused{
            {"stick 2 of 4", "0,0,0,0,1,4"},
            {"stick of -1", "0,0,0,0,-1,0"},
            {"no voice of 3", "0,0,0,3,1,0"},
            {"65537, 1 in 16 bits", "0,0,65537,0,1,0"},
            {"-65536, 0 in 16 bits", "-65536,0,0,0,1,0"},
            {"1e999", "1e999,0,0,0,1,0"},
            {"nan", "nan,0,0,0,1,0"},
            {"1x", "1x,0,0,0,1,0"},
            {"an open quote", "\"1,0,0,0,1,0\r\n"},
            {"a NUL in a value", QByteArray("0,0\0,0,0,1,0", 13)},
            {"a picture", "\x89PNG\r\n\x1a\n\x01IHDR"},
            {"five values", "0,0,0,0,1\r\n"},
            {"empty", ""}};
        for (const auto &[tag, file] : refused)
            row(tag, file, std::nullopt);
    }
    void decode()
    {
        QFETCH(QByteArray, file);
        QFETCH(Options, read);
        std::fesetround(FE_UPWARD); // another rounding mode in force must neither change the result nor be lost
        const Options got = SettingsCodec::decode(file);
        const int mode = std::fegetround();
        std::fesetround(FE_TONEAREST);
        QCOMPARE(TestKit::text(got), TestKit::text(read)); // the six values, so that a failure shows them
        QCOMPARE(mode, FE_UPWARD);
    }

    void fuzzCorpus() // what fuzzing the reader kept, replayed: the target aborts on a fault
    {
        int inputs = 0;
        for (QDirIterator it(QUORIX_SOURCE_DIR "/tests/fuzz/corpus/settings", QDir::Files); it.hasNext(); ++inputs) {
            QFile input(it.next());
            QVERIFY(input.open(QIODevice::ReadOnly));
            const QByteArray bytes = input.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
        }
        QVERIFY(inputs > 80);
    }

    void failedSave_data()
    {
        QTest::addColumn<TestKit::Need>("need");
        QTest::addColumn<Obstacle>("obstacle");
        QTest::addColumn<QString>("told");     // why the save failed, as the user is told
        QTest::addColumn<QByteArray>("after"); // quorix.cfg afterwards
        const auto row = [](const char *tag, TestKit::Need need, const Obstacle &obstacle, const QString &told,
                            const QByteArray &after = QByteArray(20000, 'x')) {
            QTest::newRow(tag) << need << obstacle << told << after;
        };
        row("nothing wrong", TestKit::Always, nothing, "saved", "0,0,0,0,1,0\r\n");
        row("read-only folder", TestKit::FolderModes, readOnlyFolder, "the folder is read-only");
        row("read-only file", TestKit::Always, readOnlyFile, "the file is read-only");
        row("a folder of that name", TestKit::Always, folderOfThatName, "a folder has that name", "<missing>");
        row("the rename fails", TestKit::FaultInjection, renameFails, "Input/output error");
        row("the disk is full", TestKit::FaultInjection, diskFull, "the disk may be full");
    }
    void failedSave()
    {
        QFETCH(TestKit::Need, need);
        QFETCH(Obstacle, obstacle);
        QFETCH(QString, told);
        QFETCH(QByteArray, after);
        SKIP_WITHOUT(need);
        WorkFolder folder;
        QVERIFY(folder.write(Names::SettingsFile, QByteArray(20000, 'x')));
        QCOMPARE(saveDefaults(folder, obstacle), told);
        QCOMPARE(folder.read(), after);
        const QDir::Filters all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
        QCOMPARE(QDir(folder.path()).entryList(all), QStringList{Names::SettingsFile}); // nothing left beside it
    }

    void lookup_data()
    {
        // In a scratch folder: the games in games/, PATH's folders beside it; what is found
        // there, as paths in it.
        QTest::addColumn<QStringList>("programs");
        QTest::addColumn<QStringList>("path");  // PATH's folders, in order ("" an empty entry)
        QTest::addColumn<QStringList>("tried"); // in order
        const auto row = [](const char *tag, const QStringList &programs, const QStringList &path,
                            const QStringList &tried) { QTest::newRow(tag) << programs << path << tried; };
        const QStringList all{"games/O2EM.EXE", "bin/O2EM.EXE", "games/o2em", "bin/o2em", "games/o2em2", "bin/o2em2"};
        row("each name here, then on PATH", all, {"bin"}, all);
        row("o2em on PATH before the SDL port here", {"games/o2em2", "bin/o2em"}, {"bin"}, {"bin/o2em", "games/o2em2"});
        row("names in other letter cases", {"games/o2em.exe", "games/O2EM", "bin/O2em2"}, {"bin"}, {});
        row("PATH's folders in order; the game folder among them once", {"games/o2em", "sbin/O2EM.EXE", "bin/O2EM.EXE"},
            {"games", "bin", "sbin"}, {"bin/O2EM.EXE", "games/o2em"});
        row("no PATH: not the launcher's own", {"bin/o2em"}, {}, {});
        row("empty PATH entries: not the working folder", {"o2em"}, {"", "bin"}, {});
    }
    void lookup()
    {
        QFETCH(QStringList, programs);
        QFETCH(QStringList, path);
        QFETCH(QStringList, tried);
        SKIP_WITHOUT(LinuxEmulators);
        const WorkFolder work;
        const auto at = [&work](const QStringList &relative) {
            QStringList paths;
            for (const QString &p : relative)
                paths << (p.isEmpty() ? QString() : work.file(p));
            return paths;
        };
        QVERIFY(QDir().mkdir("games") && QDir().mkdir("bin") && QDir().mkdir("sbin"));
        for (const QString &p : programs)
            QVERIFY(work.installEmulator(p));
        qputenv("PATH",
                QFile::encodeName(work.file("bin"))); // the launcher's own, which the lookup takes only as given
        QCOMPARE(Emulator::candidates(work.file("games"), at(path).join(QDir::listSeparator())), at(tried));
    }

    void scan_data()
    {
        QTest::addColumn<Folder>("folder");
        QTest::addColumn<QByteArrayList>("listed");
        QTest::addColumn<int>("count"); // as the count box shows it
        const auto reversed
            = [](const QByteArrayList &names) { return QByteArrayList(names.crbegin(), names.crend()); };
        plainFolder("empty", {}, {}, 0);
        plainFolder("names like the ROM's are games", {"O2ROM.BIN.bin", "o2rom.bin", "O2ROM.BIN"},
                    {"O2ROM.BIN", "o2rom.bin", "O2ROM.BIN.bin"}, 2);
        plainFolder("case folded, A and Z too",
                    {"zeta.BIN", "O2ROM.BIN", "Zulu.bin", "Azure.bin", "alpha.bin", "Beta.Bin", "o2rom.bin"},
                    {"alpha.bin", "Azure.bin", "Beta.Bin", "O2ROM.BIN", "o2rom.bin", "zeta.BIN", "Zulu.bin"}, 6);
        const QByteArrayList accented{"zorro.bin", "ébène.bin", "Éden.bin"};
        plainFolder("non-ASCII folded", reversed(accented), accented, 3);
        plainFolder("same but for case: capitals first", {"b.bin", "B.bin", "a.bin"}, {"a.bin", "B.bin", "b.bin"}, 3);
        plainFolder("a name before its longer self", {"ab.bin.bin", "ab.bin"}, {"ab.bin", "ab.bin.bin"}, 2);
        plainFolder("long shared start",
                    {"Game 0012 Part Two.bin", "Game 0012 Part One.bin", "game 0012 part one.bin",
                     "Game 0012 Part One.bin.bin"},
                    {"Game 0012 Part One.bin", "game 0012 part one.bin", "Game 0012 Part One.bin.bin",
                     "Game 0012 Part Two.bin"},
                    4);
        plainFolder("same first eight bytes", {"aaaaaaaaaaaa2.bin", "aaaaaaaaaaaa1.bin", "b.bin"},
                    {"aaaaaaaaaaaa1.bin", "aaaaaaaaaaaa2.bin", "b.bin"}, 3);
        plainFolder("the fifth byte decides", {"abcdY1.bin", "abcdX2.bin"}, {"abcdX2.bin", "abcdY1.bin"}, 2);
        QByteArrayList numbers; // 1000.bin to 1299.bin
        for (int i = 0; i < 300; ++i)
            numbers << QByteArray::number(1000 + i) + ".bin";
        plainFolder("300 numbered names", reversed(numbers), numbers, 300);
        const QByteArrayList foreign = inOrder(u"àáâãäåæçèéêëìíîïðñòóôõöøùúûüýþÿ"
                                               u"αβγδεζηθικλμνξοπρστυφχψω"
                                               u"абвгдежзийклмнопрстуфхцчшщъыьэюя"_s,
                                               4);
        plainFolder("348 Latin, Greek and Cyrillic names, in both cases", reversed(foreign), foreign, 348);
        plainFolder("short and odd names", {"bin", "robin", "x.bi", "a.bin.txt", "b.binx", ".bin", "a.BIN"}, {"a.BIN"},
                    1);
        plainFolder("hidden", {".x.bin", "y.bin"}, {"y.bin"}, 1);
        const QByteArrayList realAndAlias{"alias.bin", "real.bin"};
        Folder odd{{"real.bin"}, {"x.bin"}, {"pipe.bin"}, {{"alias.bin", "real.bin"}, {"gone.bin", "nowhere"}}};
        odd.links += {{"dir.bin", "x.bin"}, {"fifo.bin", "pipe.bin"}};
        QTest::newRow("folders, links, FIFOs") << odd << realAndAlias << 2;
        odd.noTypes = true;
        QTest::newRow("the same where the file system reports no types") << odd << realAndAlias << 2;
        plainFolder("the emulator's roms/ too, nothing deeper", {"b.bin", "roms/a.bin", "roms/c.BIN", "roms/d/e.bin"},
                    {"a.bin", "b.bin", "c.BIN"}, 3, {"roms", "roms/d"});
        plainFolder("a name in both places once, the ROM too", {"a.bin", "roms/a.bin", "O2ROM.BIN", "roms/O2ROM.BIN"},
                    {"a.bin", "O2ROM.BIN"}, 1, {"roms"});
        plainFolder("ROMS in capitals, the ROM only there", {"ROMS/O2ROM.BIN"}, {"O2ROM.BIN"}, 0, {"ROMS"});
        plainFolder("a file named roms", {"roms", "a.bin"}, {"a.bin"}, 1);
        plainFolder("not valid UTF-8", {"bad\xff.bin", "ok.bin"}, {"ok.bin"}, 1);
        Folder marked{{"Shown.bin"}};
        marked.hidden = {"Hidden.bin", "System.bin"};
        QTest::newRow("files marked hidden or system") << marked << QByteArrayList{"Shown.bin"} << 1;
    }
    void scan()
    {
        QFETCH(Folder, folder);
        QFETCH(QByteArrayList, listed);
        QFETCH(int, count);
        if (!folder.fifos.isEmpty())
            SKIP_WITHOUT(Fifos);
        if (!folder.hidden.isEmpty())
            SKIP_WITHOUT(HiddenMarks);
        if (QString::fromUtf8(folder.files.join('/')).toUtf8() != folder.files.join('/'))
            SKIP_WITHOUT(ByteNames);
        if (QString::fromUtf8(folder.files.join('|')).toLower().split(u'|').removeDuplicates())
            SKIP_WITHOUT(CaseSensitiveNames);
        WorkFolder work;
        const QByteArray dir = QFile::encodeName(work.path()) + '/';
        const auto cleanUp
            = qScopeGuard([&] { unlink((dir + "bad\xff.bin").constData()); }); // QTemporaryDir cannot remove it
        for (const QByteArray &name : folder.folders)
            QVERIFY(QDir(work.path()).mkdir(QString::fromUtf8(name)));
        for (const QByteArray &name : folder.files + folder.hidden)
            QVERIFY(TestKit::makeFile(dir + name));
        for (const QByteArray &name : folder.hidden)
            QVERIFY(TestKit::markHidden(dir + name, name.startsWith("System")));
        for (const QByteArray &name : folder.fifos)
            QVERIFY(TestKit::makeFifo(dir + name));
        for (const Link &link : folder.links)
            QVERIFY(QFile::link(QString::fromUtf8(link.target), work.file(QString::fromUtf8(link.name))));
        unknownTypes = folder.noTypes;
        const GameList::Games got = GameList::startScan(work.path()).get();
        unknownTypes = false;
        // No name holds a slash.
        QStringList names;
        for (int row = 0; row < got.size(); ++row)
            names << got.at(row);
        QCOMPARE(std::pair(names.join(u'/'), got.gameCount()),
                 std::pair(QString::fromUtf8(listed.join('/')), count));
    }
};

QTEST_GUILESS_MAIN(TestCore)
#include "tst_core.moc"
