#include "main/gamelist.h"
#include "testkit.h"

#include <QDir>
#include <QFile>
#include <QTest>


class TestGameList : public QObject
{
    Q_OBJECT

private slots:
    void scan_data();
    void scan();
};

// Entries are made from short descriptions: "name" a file, "name/" a folder, "name@target" a link.
static void make(const QString &folder, const QString &entry)
{
    const QDir dir(folder);
    if (entry.endsWith('/')) {
        QVERIFY(dir.mkdir(entry.chopped(1)));
    } else if (entry.contains('@')) {
        const QStringList parts = entry.split('@');
        QVERIFY(QFile::link(parts[1], dir.filePath(parts[0])));
    } else {
        QFile f(dir.filePath(entry));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
}

void TestGameList::scan_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<int>("count");

    QTest::newRow("empty folder") << QStringList{} << QStringList{} << -1;
    QTest::newRow("only the ROM") << QStringList{"O2ROM.BIN"} << QStringList{"O2ROM.BIN"} << 0;
    QTest::newRow("one game") << QStringList{"pickaxe.bin"} << QStringList{"pickaxe.bin"} << 0;
    QTest::newRow("mixed case, sorted without regard to it")
        << QStringList{"zeta.BIN", "O2ROM.BIN", "alpha.bin", "Beta.Bin", "gamma.bIN"}
        << QStringList{"alpha.bin", "Beta.Bin", "gamma.bIN", "O2ROM.BIN", "zeta.BIN"} << 4;
    QTest::newRow("other extensions are not games")
        << QStringList{"a.bin.txt", "b.binx", "c.bi", "bin", "d.bin"} << QStringList{"d.bin"} << 0;
    QTest::newRow("a folder named like a game is not listed")
        << QStringList{"x.bin/", "y.bin"} << QStringList{"y.bin"} << 0;
    QTest::newRow("hidden files are not listed")
        << QStringList{".x.bin", "y.bin"} << QStringList{"y.bin"} << 0;
    QTest::newRow("a link to a game counts, a dangling one does not")
        << QStringList{"real.bin", "alias.bin@real.bin", "gone.bin@nowhere.bin"}
        << QStringList{"alias.bin", "real.bin"} << 1;
}

void TestGameList::scan()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, listed);
    QFETCH(int, count);
    QTemporaryDir folder;
    for (const QString &e : entries)
        make(folder.path(), e);

    const QStringList names = GameList::scan(folder.path());
    QCOMPARE(names, listed);
    QCOMPARE(GameList::gameCount(int(names.size())), count);
}

QTEST_GUILESS_MAIN(TestGameList)
#include "tst_gamelist.moc"
