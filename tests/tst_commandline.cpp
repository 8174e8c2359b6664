#include "common/module1.h"
#include "launch/commandline.h"
#include "launch/emulator.h"
#include "testkit.h"

#include <QFile>
#include <QTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void compose_data();
    void compose();
    void refusals_data();
    void refusals();
    void foreignPrefixGivesNoArguments();
    void locate_data();
    void locate();
    void startFailureGivesReason();
};

static LaunchOptions opts(qint16 debug, qint16 noLimit, qint16 noSound, qint16 noVoice,
                          std::optional<StickMode> s1 = Stick::LeftKeyboard,
                          std::optional<StickMode> s2 = Stick::Joystick)
{
    return TestKit::options(debug, noLimit, noSound, noVoice, s1, s2);
}

void TestCommandLine::compose_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<LaunchOptions>("options");
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QStringList>("arguments");

    const QString g = QStringLiteral("GAME.BIN");
    QTest::newRow("no boxes: a blank for every flag")
        << g << opts(0, 0, 0, 0) << "O2EM.EXE GAME.BIN  -s1=2 -s2=3   " << QStringList{g, "-s1=2", "-s2=3"};
    QTest::newRow("no speed limit only")
        << g << opts(0, 1, 0, 0) << "O2EM.EXE GAME.BIN  -s1=2 -s2=3 -nolimit  "
        << QStringList{g, "-s1=2", "-s2=3", "-nolimit"};
    QTest::newRow("all four")
        << g << opts(1, 1, 1, 1) << "O2EM.EXE GAME.BIN -debug -s1=2 -s2=3 -nolimit -nosound -novoice"
        << QStringList{g, "-debug", "-s1=2", "-s2=3", "-nolimit", "-nosound", "-novoice"};
    QTest::newRow("grayed boxes count as off")
        << g << opts(2, 2, 1, 2) << "O2EM.EXE GAME.BIN  -s1=2 -s2=3  -nosound "
        << QStringList{g, "-s1=2", "-s2=3", "-nosound"};
    QTest::newRow("no stick selected")
        << g << opts(0, 0, 0, 1, std::nullopt, std::nullopt) << "O2EM.EXE GAME.BIN  -s1= -s2=   -novoice"
        << QStringList{g, "-s1=", "-s2=", "-novoice"};
    QTest::newRow("other stick modes")
        << g << opts(1, 0, 0, 0, Stick::Disable, Stick::RightKeyboard) << "O2EM.EXE GAME.BIN -debug -s1=0 -s2=1   "
        << QStringList{g, "-debug", "-s1=0", "-s2=1"};
    QTest::newRow("blanks in the name stay one argument")
        << "my  game .bin" << opts(0, 0, 0, 0) << "O2EM.EXE my  game .bin  -s1=2 -s2=3   "
        << QStringList{"my  game .bin", "-s1=2", "-s2=3"};
    const QString shelly = QStringLiteral("a;touch x$(touch y)`touch z`'\"|&.bin");
    QTest::newRow("shell characters")
        << shelly << opts(0, 0, 0, 0) << "O2EM.EXE " + shelly + "  -s1=2 -s2=3   "
        << QStringList{shelly, "-s1=2", "-s2=3"};
    const QString utf = QString::fromUtf8("Ærø – ゲーム.bin");
    QTest::newRow("non-ASCII name")
        << utf << opts(0, 0, 1, 0) << "O2EM.EXE " + utf + "  -s1=2 -s2=3  -nosound "
        << QStringList{utf, "-s1=2", "-s2=3", "-nosound"};
    QTest::newRow("lower-case rom name is a game")
        << "o2rom.bin" << opts(0, 0, 0, 0) << "O2EM.EXE o2rom.bin  -s1=2 -s2=3   "
        << QStringList{"o2rom.bin", "-s1=2", "-s2=3"};
    QTest::newRow("name that looks like an option")
        << "-s1=9.bin" << opts(0, 0, 0, 0) << "O2EM.EXE -s1=9.bin  -s1=2 -s2=3   "
        << QStringList{"-s1=9.bin", "-s1=2", "-s2=3"};
}

void TestCommandLine::compose()
{
    QFETCH(QString, file);
    QFETCH(LaunchOptions, options);
    QFETCH(QString, commandLine);
    QFETCH(QStringList, arguments);

    const CommandLine::Launch launch = CommandLine::prepare(file, options);
    QVERIFY(!launch.refused());
    QCOMPARE(launch.commandLine, commandLine);
    QCOMPARE(CommandLine::arguments(launch.commandLine, file).value_or(QStringList{"<none>"}), arguments);
}

void TestCommandLine::refusals_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");
    QTest::newRow("the ROM") << "O2ROM.BIN" << "You can not play 02ROM.BIN!";
    QTest::newRow("nothing selected") << "" << "There are no available games!";
}

void TestCommandLine::refusals()
{
    QFETCH(QString, file);
    QFETCH(QString, message);
    Module1::strStick1 = QStringLiteral("earlier");
    Module1::strDebug = QStringLiteral("earlier");

    const CommandLine::Launch launch = CommandLine::prepare(file, opts(1, 0, 2, 0));
    QVERIFY(launch.refused());
    QCOMPARE(launch.refusal, message);
    QVERIFY(launch.commandLine.isEmpty());
    // The flags are read before the refusal, the sticks only after it.
    QCOMPARE(Module1::strDebug, QStringLiteral(" -debug"));
    QCOMPARE(Module1::strNoSound, QStringLiteral(" "));
    QCOMPARE(Module1::strStick1, QStringLiteral("earlier"));
}

void TestCommandLine::foreignPrefixGivesNoArguments()
{
    QVERIFY(!CommandLine::arguments(QStringLiteral("O2EM.EXE A.BIN -s1=1"), QStringLiteral("B.BIN")));
    QVERIFY(!CommandLine::arguments(QStringLiteral("O2EM.EXE  -s1=1"), QString()));
}

void TestCommandLine::locate_data()
{
    QTest::addColumn<QStringList>("inFolder");
    QTest::addColumn<QStringList>("onPath");
    QTest::addColumn<QString>("expected"); // "folder/NAME", "path/NAME"

    QTest::newRow("folder's O2EM.EXE first") << QStringList{"O2EM.EXE", "o2em"} << QStringList{"O2EM.EXE"} << "folder/O2EM.EXE";
    QTest::newRow("then O2EM.EXE on the path") << QStringList{"o2em"} << QStringList{"O2EM.EXE"} << "path/O2EM.EXE";
    QTest::newRow("then the folder's o2em") << QStringList{"o2em"} << QStringList{"o2em"} << "folder/o2em";
    QTest::newRow("then o2em on the path") << QStringList{} << QStringList{"o2em"} << "path/o2em";
    QTest::newRow("none: the folder's O2EM.EXE, to fail") << QStringList{} << QStringList{} << "folder/O2EM.EXE";
}

void TestCommandLine::locate()
{
    QFETCH(QStringList, inFolder);
    QFETCH(QStringList, onPath);
    QFETCH(QString, expected);

    QTemporaryDir folder, path;
    const auto make = [](const QString &file) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.setPermissions(f.permissions() | QFile::ExeOwner);
    };
    for (const QString &n : inFolder)
        make(folder.filePath(n));
    for (const QString &n : onPath)
        make(path.filePath(n));
    QString want = expected;
    want.replace(QStringLiteral("folder/"), folder.path() + '/').replace(QStringLiteral("path/"), path.path() + '/');
    QCOMPARE(Emulator::locate(folder.path(), "/nonexistent:" + path.path()), want);
}

void TestCommandLine::startFailureGivesReason()
{
    QTemporaryDir folder;
    const QString reason = Emulator::start(folder.filePath(QStringLiteral("O2EM.EXE")), {}, folder.path());
    QVERIFY2(!reason.isEmpty(), "a missing program must not count as started");
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
