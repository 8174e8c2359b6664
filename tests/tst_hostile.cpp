#include "main/frmquorix.h"
#include "main/gamelist.h"
#include "testkit.h"
#include "windows/formkit.h"
#include "windows/frmwarning.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

#include <sys/stat.h>

using TestKit::WorkFolder;

// A folder somebody else filled: every odd entry is either launched under its exact name,
// as one argument, or left out; nothing else is created, run or hung on.
class TestHostile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void oddEntries_data();
    void oddEntries();
    void bigFolder();
};

void TestHostile::initTestCase()
{
    FormKit::applyClassicLook();
    qputenv("PATH", "/nonexistent");
}

void TestHostile::oddEntries_data()
{
    QTest::addColumn<QByteArray>("name"); // the raw bytes on disk
    QTest::addColumn<QString>("kind");    // file, dir, fifo, dangling, unreadable
    QTest::addColumn<bool>("listed");

    const auto row = [](const char *label, const QByteArray &name, const char *kind, bool listed) {
        QTest::newRow(label) << name << QString::fromLatin1(kind) << listed;
    };
    row("blanks", "  two  blanks .bin", "file", true);
    row("quotes", "it's \"quoted\".bin", "file", true);
    row("command separators", "a;b&&c||d|e.bin", "file", true);
    row("command substitution", "$(touch made1).bin", "file", true);
    row("backquotes", "`touch made2`.bin", "file", true);
    row("glob", "*.bin", "file", true);
    row("leading dash", "-rf.bin", "file", true);
    row("newline", "new\nline.bin", "file", true);
    row("255 bytes", QByteArray(251, 'n') + ".bin", "file", true);
    row("non-ASCII", "\xc3\x86r\xc3\xb8 \xe3\x82\xb2\xe3\x83\xbc\xe3\x83\xa0.bin", "file", true);
    row("not valid UTF-8", "bad\xff\xfe.bin", "file", false);
    row("unreadable", "locked.bin", "unreadable", true);
    row("dangling link", "gone.bin", "dangling", false);
    row("folder", "folder.bin", "dir", false);
    row("FIFO", "pipe.bin", "fifo", false);
}

void TestHostile::oddEntries()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, kind);
    QFETCH(bool, listed);
    WorkFolder folder;
    QVERIFY(folder.installEmulator());
    QVERIFY(folder.write(QStringLiteral("a first.bin"))); // so that nothing is selected by default
    const QByteArray path = QFile::encodeName(folder.path()) + '/' + name;
    // QTemporaryDir cannot remove names that are not valid text; this one goes by its bytes.
    const auto removeEntry = qScopeGuard([&] { kind == QLatin1String("dir") ? rmdir(path.constData()) : unlink(path.constData()); });
    if (kind == QLatin1String("dir"))
        QCOMPARE(mkdir(path.constData(), 0755), 0);
    else if (kind == QLatin1String("fifo"))
        QCOMPARE(mkfifo(path.constData(), 0644), 0);
    else if (kind == QLatin1String("dangling"))
        QCOMPARE(symlink("nowhere.bin", path.constData()), 0);
    else {
        FILE *f = fopen(path.constData(), "w");
        QVERIFY(f);
        fclose(f);
        if (kind == QLatin1String("unreadable"))
            QCOMPARE(chmod(path.constData(), 0), 0);
    }
    const QStringList before = QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);

    frmQuorix w;
    const QString shown = QFile::decodeName(name);
    QCOMPARE(w.games().count(shown), listed ? 1 : 0);
    QCOMPARE(w.games().size(), listed ? 2 : 1);
    if (!listed)
        return;
    QVERIFY(TestKit::selectGame(w, shown));
    w.cmdRun->click();
    const auto starts = folder.recordedStarts(1);
    QCOMPARE(starts.size(), 1);
    QCOMPARE(starts.first().first(), shown);
    QCOMPARE(QFile::encodeName(starts.first().first()), name);
    QVERIFY(!frmWarning::instance());
    // Nothing but the emulator's own record and the settings file has appeared.
    QStringList after = QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    after.removeIf([](const QString &n) { return n.startsWith(QLatin1String("o2em-")) || n == QLatin1String("quorix.cfg"); });
    QCOMPARE(after, before);
}

void TestHostile::bigFolder()
{
    WorkFolder folder;
    for (int i = 0; i < 10000; ++i)
        QVERIFY(folder.write(QStringLiteral("Game %1.%2").arg(9999 - i, 5, 10, QLatin1Char('0')).arg(i % 3 ? "bin" : "BIN")));
    for (int i = 0; i < 500; ++i)
        QVERIFY(folder.write(QStringLiteral("other %1.txt").arg(i)));
    frmQuorix w;
    QCOMPARE(w.games().size(), 10000);
    QCOMPARE(w.txtCount->text(), QStringLiteral("9999"));
    QCOMPARE(w.fileName(), QStringLiteral("Game 00000.BIN"));
    QCOMPARE(w.games().at(9999), QStringLiteral("Game 09999.BIN"));
}

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
