// SPDX-License-Identifier: GPL-3.0-or-later
// The window-free core: the settings reader and file, the emulator lookup, the folder listing,
// and what the list tells of a game file.
#include "inject.h"
#include "launch/emulator.h"
#include "launch/gamelist.h"
#include "settings/settingscodec.h"
#include "settings/settingsfile.h"
#include "testkit.h"
#include "titles/crc32.h"
#include "titles/gameinfo.h"

#include <cfenv>

using namespace Qt::StringLiterals;
using TestKit::WorkFolder;

// A save past an obstacle, put in place by the user who saves in a folder that holds an earlier quorix.cfg:
// why it failed, as the user is told; the old file stays whole.
struct Save {
    TestKit::Need need;
    std::function<void(const QString &folder)> obstacle;
    QString told;
};
// What a game folder holds, and how its file system behaves.
struct Folder {
    QStringList files, fifos = {};                 // a file in a folder makes it
    QList<std::pair<QString, QString>> links = {}; // name, target
    bool noTypes = false; // the file system reports no entry types, as some network and FUSE ones do
};
// A game file, made to a size and a CRC-32, or what else it is.
struct GameFile {
    enum Kind { Plain, Missing, Fifo, Unreadable, Sparse } kind;
    QByteArray bytes; // of a plain one, made to a size and a CRC-32
};
Q_DECLARE_METATYPE(Save)
Q_DECLARE_METATYPE(Folder)
Q_DECLARE_METATYPE(GameFile)

// `size` bytes whose last four give them the CRC-32 `want`: the register that must meet them is found
// by running the CRC's 32 steps backwards from the one wanted.
static QByteArray forced(int size, quint32 want)
{
    QByteArray data(size - 4, 'q');
    quint32 state = ~0u, before = ~want;
    for (const char b : data)
        for (int k = 0, bits = uchar(b); k < 8; ++k, bits >>= 1)
            state = (state ^ bits) & 1 ? state >> 1 ^ 0xEDB88320u : state >> 1;
    for (int k = 0; k < 32; ++k)
        before = before & 0x80000000u ? (before ^ 0xEDB88320u) << 1 | 1 : before << 1;
    for (int k = 0; k < 4 && size > 0; ++k) // none for an empty file
        data += char((before ^ state) >> 8 * k);
    return data;
}

class TestCore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decode_data()
    {
        // A settings file, and the options read from it, as TestKit::text() writes them ("fails": refused).
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("read");
        const auto row = [](const char *tag, const QByteArray &file, const QByteArray &read) {
            QTest::newRow(tag) << file << read;
        };
        row("the record Quorix writes: its seventh value not read", "0,0,0,0,1,0,\"#TRUE#\"\r\n", "0,0,0,0,1,0");
        row("empty values are 0", ",,,1,,\r\n", "0,0,0,1,0,0");
        row("halves round to even", "0,0,0,1.5,0.5,2.5\r\n", "0,0,0,2,0,2");
        row("fractions round to the nearest", "0.6,1.49,.51,0,1,0\r\n", "1,1,1,0,1,0");
        row("exponents", "1E0,0,10e-1,0,3e+0,0.2e1", "1,0,1,0,3,2");
        row("quoted, one before the line end", "\"1\",0,\" 2 \",0,1,\"2\"\r\n", "1,0,2,0,1,2");
        row("blanks and tabs around values", " 1 ,\t0, 0 ,0 ,\t\"1\" \t,0 \r\n", "1,0,0,0,1,0");
        row("lone CR line ends", "1,0,0\r0,1,0\r", "1,0,0,0,1,0");
        row("CR LF between values, junk after six", "1,0,0\r\n1,1,0\r\nzz\x01\xff", "1,0,0,1,1,0");
        row("stick 2 of 4", "0,0,0,0,1,4", "fails");
        row("no voice of 3", "0,0,0,3,1,0", "fails");
        row("65537, 1 in 16 bits", "0,0,65537,0,1,0", "fails");
        row("a NUL in a value", QByteArray("0,0\0,0,0,1,0", 13), "fails");
        row("stick of -1", "0,0,0,0,-1,0", "fails");
        row("a value beyond any range", "1e999,0,0,0,1,0", "fails");
        row("a number with junk after it", "1x,0,0,0,1,0", "fails");
        row("an open quote", "\"1,0,0,0,1,0\r\n", "fails");
        row("five values", "0,0,0,0,1\r\n", "fails");
        row("a picture", "\x89PNG\r\n\x1a\n\x01IHDR", "fails");
    }

    void decode()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, read);
        std::fesetround(FE_UPWARD); // another rounding mode in force must neither change the result nor be lost
        const QByteArray got = TestKit::text(SettingsCodec::decode(file));
        const int mode = std::fegetround();
        std::fesetround(FE_TONEAREST);
        QCOMPARE(std::pair(got, mode), std::pair(read, FE_UPWARD));
    }

    void failedSave_data()
    {
        QTest::addColumn<Save>("save");
        const auto row = [](const char *tag, const Save &save) { QTest::newRow(tag) << save; };
        row("read-only folder",
            {TestKit::FolderModes, [](auto f) { TestKit::setMode(f, 0555); }, "the folder is read-only"});
        row("the rename fails", {TestKit::FaultInjection, [](auto) { failRename = true; }, "Input/output error"});
        row("the disk is full", {TestKit::FaultInjection, [](auto) { TestKit::fullDisk(); }, "the disk may be full"});
    }
    void failedSave()
    {
        QFETCH(Save, save);
        SKIP_WITHOUT(save.need);
        WorkFolder folder;
        QVERIFY(folder.write("quorix.cfg", QByteArray(20000, 'x')));
        // Past the obstacle, as a user for whom file modes hold, in a child process where it stays.
        const QByteArray saved = TestKit::asUser({folder.path(), folder.file("quorix.cfg")}, [&] {
            save.obstacle(folder.path());
            QString why;
            return SettingsFile("quorix.cfg").save(SettingsCodec::defaults(), &why) ? "saved" : why.toUtf8();
        });
        const QDir::Filters all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
        failRename = false;
        QCOMPARE(std::tuple(QString::fromUtf8(saved), folder.read(), QDir(folder.path()).entryList(all)),
                 std::tuple(save.told, QByteArray(20000, 'x'), QStringList{"quorix.cfg"})); // nothing left beside it
    }

    void lookup_data()
    {
        // Emulators in a scratch folder (games/, and PATH's folders beside it), PATH, and what the lookup tries.
        QTest::addColumn<QStringList>("programs");
        QTest::addColumn<QStringList>("path");
        QTest::addColumn<QStringList>("tried");
        const QStringList all{"games/O2EM.EXE", "bin/O2EM.EXE", "games/o2em", "bin/o2em", "games/o2em2", "bin/o2em2"};
        QTest::newRow("each name here, then on PATH") << all << QStringList{"bin"} << all;
        QTest::newRow("PATH's folders in order; the game folder among them once")
            << QStringList{"games/o2em", "sbin/O2EM.EXE", "bin/O2EM.EXE"} << QStringList{"games", "bin", "sbin"}
            << QStringList{"bin/O2EM.EXE", "games/o2em"};
        QTest::newRow("no PATH: not the launcher's own") << QStringList{"bin/o2em"} << QStringList() << QStringList();
    }
    void lookup()
    {
        QFETCH(QStringList, programs);
        QFETCH(QStringList, path);
        QFETCH(QStringList, tried);
        SKIP_WITHOUT(LinuxEmulators);
        const WorkFolder work;
        for (const QString &p : programs)
            QVERIFY(work.installEmulator(p));
        // The launcher's own PATH, which the lookup takes only as given.
        qputenv("PATH", QFile::encodeName(work.file("bin")));
        const QString here = work.path() + u'/';
        const QString searched = path.replaceInStrings(QRegularExpression("^"), here).join(QDir::listSeparator());
        QCOMPARE(Emulator::candidates(work.file("games"), searched).replaceInStrings(here, QString()), tried);
    }

    void scan_data()
    {
        QTest::addColumn<Folder>("folder");
        QTest::addColumn<QStringList>("listed"); // each entry where it is: its name, or its path through roms/
        QTest::addColumn<int>("count");          // as the count box shows it
        QStringList foreign; // enough for the sort's radix passes, in list order, every other one in capitals
        for (const QChar c : u"àáâãäåæçèéêëìíîïðñòóôõöøùúûüýþÿ"
                             u"αβγδεζηθικλμνξοπρστυφχψω"
                             u"абвгдежзийклмнопрстуфхцчшщъыьэюя"_s)
            for (int k = 0; k < 4; ++k) // numbers falling from letter to letter: only the letters put them in order
                foreign << (k % 2 ? c.toUpper() : c) + QString::number(9000 - foreign.size() / 4 * 20 + k) + ".bin";
        const auto row = [](const char *tag, const Folder &folder, const QStringList &listed, int count) {
            QTest::newRow(tag) << folder << listed << count;
        };
        row("names like the ROM's are games", {{"O2ROM.BIN.bin", "o2rom.bin", "O2ROM.BIN"}},
            {"O2ROM.BIN", "o2rom.bin", "O2ROM.BIN.bin"}, 2);
        row("case folded: A and Z, capitals first, a name before its longer self",
            {{"zeta.BIN", "Zulu.bin", "Azure.bin", "alpha.bin", "b.bin", "B.bin", "ab.bin.bin", "ab.bin"}},
            {"ab.bin", "ab.bin.bin", "alpha.bin", "Azure.bin", "B.bin", "b.bin", "zeta.BIN", "Zulu.bin"}, 8);
        row("non-ASCII folded, and the fifth byte decides",
            {{"Éden.bin", "ébène.bin", "zorro.bin", "abcdY1.bin", "abcdX2.bin", "aaaaaaaaaaaa1.bin"}},
            {"aaaaaaaaaaaa1.bin", "abcdX2.bin", "abcdY1.bin", "zorro.bin", "ébène.bin", "Éden.bin"}, 6);
        QStringList numbers; // 1000.bin to 1299.bin
        for (int i = 0; i < 300; ++i)
            numbers << QString::number(1000 + i) + ".bin";
        row("300 numbered names", {QStringList(numbers.crbegin(), numbers.crend())}, numbers, 300);
        row("348 Latin, Greek and Cyrillic names", {QStringList(foreign.crbegin(), foreign.crend())}, foreign, 348);
        row("short and odd names, hidden ones",
            {{"bin", "robin", "x.bi", "a.bin.txt", "b.binx", ".bin", ".x.bin", "a.BIN"}}, {"a.BIN"}, 1);
        Folder odd{
            {"real.bin", "x.bin/y"},
            {"pipe.bin"},
            {{"alias.bin", "real.bin"}, {"gone.bin", "nowhere"}, {"dir.bin", "x.bin"}, {"fifo.bin", "pipe.bin"}}};
        row("folders, links, FIFOs", odd, {"alias.bin", "real.bin"}, 2);
        odd.noTypes = true;
        row("the same where the file system reports no types", odd, {"alias.bin", "real.bin"}, 2);
        row("roms/ too, nothing deeper; a name in both places once, the one in roms/",
            {{"b.bin", "roms/a.bin", "roms/d/e.bin", "c.bin", "roms/c.bin", "O2ROM.BIN", "roms/O2ROM.BIN"}},
            {"roms/a.bin", "b.bin", "roms/c.bin", "roms/O2ROM.BIN"}, 3);
        const QStringList inRoms = QStringList(numbers.mid(0, 100)).replaceInStrings(QRegularExpression("^"), "roms/");
        row("100 names in both places: each once, the one in roms/", {numbers.mid(0, 100) + inRoms}, inRoms, 100);
        row("ROMS in capitals", {{"ROMS/O2ROM.BIN", "ROMS/-x.bin"}}, {"ROMS/-x.bin", "ROMS/O2ROM.BIN"}, 1);
    }
    void scan()
    {
        QFETCH(Folder, folder);
        QFETCH(QStringList, listed);
        QFETCH(int, count);
        SKIP_WITHOUT(folder.fifos.isEmpty() ? Always : Fifos);
        SKIP_WITHOUT(folder.files.join(u'|').toLower().split(u'|').removeDuplicates() ? CaseSensitiveNames : Always);
        WorkFolder work;
        for (const QString &name : folder.files)
            QVERIFY(work.write(name));
        for (const QString &name : folder.fifos)
            QVERIFY(TestKit::makeFifo(work.file(name)));
        for (const auto &[name, target] : folder.links)
            QVERIFY(QFile::link(target, work.file(name)));
        unknownTypes = folder.noTypes;
        const GameList::Games got = GameList::startScan(work.path()).get();
        unknownTypes = false;
        QStringList places;
        for (int row = 0; row < got.size(); ++row)
            places << got.path(row);
        QCOMPARE(std::pair(places, got.gameCount()), std::pair(listed, count));
    }

    void gameInfo_data()
    {
        // What the list tells of game.bin, as MAME's list and the emulator's source know the dumps.
        QTest::addColumn<GameFile>("file");
        QTest::addColumn<QString>("told");
        const auto row
            = [](const char *tag, int size, quint32 crc, const QString &told, GameFile::Kind kind = GameFile::Plain) {
                  QTest::newRow(tag) << GameFile{kind, forced(size, crc)} << "game.bin\n" + told;
              };
        row("a clone, and the keys that start its games", 2048, 0x3b24e1ee,
            "Course de Voitures/Autodrome/Cryptogramme\n1978, Radiola\n"
            "Press 1 for Course de Voitures, 2 for 3-lap Autodrome, 4 for 15-lap Autodrome, 5 for Cryptogramme");
        row("the second joystick", 2048, 0x2a5f0b2b, "Cosmic Conflict\n1980, Philips\nUses the second joystick.");
        row("the console's BIOS", 1024, 0x8016a315, "The console's BIOS (Odyssey² / Videopac G7000), not a game.");
        row("unknown", 2048, 0x12345678, "2048 bytes, not in the cartridge list.");
        row("a known CRC-32, another size", 4096, 0x3b24e1ee, "4096 bytes, not in the cartridge list.");
        row("empty", 0, 0, "An empty file: not a cartridge.");
        row("gone since the listing", 0, 0, "The file is no longer there.", GameFile::Missing);
        row("a FIFO, never opened", 0, 0, "Not a plain file: not a cartridge.", GameFile::Fifo);
        row("not to be read", 2048, 0, "The file cannot be read (Permission denied).", GameFile::Unreadable);
        row("2 GiB, sparse: never read", 0, 0, "2.0 GiB: too large to be a cartridge.", GameFile::Sparse);
    }
    void gameInfo()
    {
        QFETCH(GameFile, file);
        QFETCH(QString, told);
        SKIP_WITHOUT(file.kind == GameFile::Fifo ? Fifos : file.kind == GameFile::Unreadable ? FolderModes : Always);
        const WorkFolder work;
        const QString path = work.file("game.bin");
        QVERIFY(file.kind == GameFile::Fifo ? TestKit::makeFifo(path) : work.write("game.bin", file.bytes));
        QVERIFY(file.kind != GameFile::Missing || QFile::remove(path));
        TestKit::setMode(path, file.kind == GameFile::Unreadable ? 0 : 0644);
        QVERIFY(file.kind != GameFile::Sparse || QFile::resize(path, qint64(2) << 30));
        const auto describe = [&path] { return GameInfo::describe("game.bin", path).toUtf8(); };
        QCOMPARE(QString::fromUtf8(TestKit::asUser({work.path()}, describe)), told);
        // The standard check value, in two parts.
        QCOMPARE(Crc32::update(Crc32::update(0, "1234"), "56789"), 0xCBF43926u);
    }
};

QTEST_GUILESS_MAIN(TestCore)
#include "tst_core.moc"
