// SPDX-License-Identifier: GPL-3.0-or-later
// Quorix's performance figures, measured in one run on this machine and printed with the
// target ratios. Run through scripts/bench.
#include "common/names.h"
#include "forms/fonts.h"
#include "launch/launcher.h"
#include "main/frmquorix.h"
#include "settings/settingscodec.h"
#include "settings/settingsfile.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

namespace {

QTextStream out(stdout);

struct Figures {
    double min = 0, median = 0;
};

Figures summarise(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return {samples.front(), samples[samples.size() / 2]};
}

// Milliseconds per call of f, over `runs` calls.
Figures timeIt(int runs, const std::function<void()> &f)
{
    std::vector<double> samples;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        samples.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    return summarise(samples);
}

struct ProcessFigures {
    Figures ms;
    long peakKiB = 0; // the largest peak resident size (VmHWM) seen
};

// Whole-process runs of the probe in `folder`: wall time and peak memory.
ProcessFigures runProbe(const QString &probe, const char *mode, const QString &folder, int runs)
{
    ProcessFigures result;
    std::vector<double> samples;
    const QByteArray program = QFile::encodeName(probe);
    const QString previous = QDir::currentPath();
    const QByteArray report = QFile::encodeName(QDir::tempPath() + QStringLiteral("/quorix-probe-peak.txt"));
    QDir::setCurrent(folder);
    for (int i = 0; i < runs; ++i) {
        char *argv[] = {const_cast<char *>(program.constData()), const_cast<char *>(mode), nullptr};
        QElapsedTimer t;
        t.start();
        // The probe reports its own peak size: a spawned child's ru_maxrss would count the
        // parent's size at the fork.
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, report.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t pid = 0;
        if (posix_spawn(&pid, program.constData(), &actions, nullptr, argv, environ) != 0)
            qFatal("cannot start %s", program.constData());
        int status = 0;
        waitpid(pid, &status, 0);
        samples.push_back(double(t.nsecsElapsed()) / 1e6);
        posix_spawn_file_actions_destroy(&actions);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            qFatal("probe failed");
        QFile peak(QString::fromLocal8Bit(report));
        if (peak.open(QIODevice::ReadOnly))
            result.peakKiB = std::max(result.peakKiB, peak.readAll().trimmed().toLong());
    }
    QDir::setCurrent(previous);
    result.ms = summarise(samples);
    return result;
}

// The games, and O2ROM.BIN, in `sub` of the folder (the emulator's roms/) or beside the program.
void fill(const QTemporaryDir &dir, int games, const QString &sub = {})
{
    const QDir to(dir.filePath(sub));
    to.mkpath(QStringLiteral("."));
    for (int i = 0; i < games; ++i)
        QFile(to.filePath(QStringLiteral("Game %1.bin").arg(i * 7919 % games, 6, 10, QLatin1Char('0'))))
            .open(QIODevice::WriteOnly);
    QFile(to.filePath(QStringLiteral("O2ROM.BIN"))).open(QIODevice::WriteOnly);
}

void line(const QString &what, const Figures &f, const QString &unit = QStringLiteral("ms"))
{
    out << qSetFieldWidth(52) << Qt::left << what << qSetFieldWidth(0)
        << QStringLiteral("min %1 %3   median %2 %3\n").arg(f.min, 8, 'f', 3).arg(f.median, 8, 'f', 3).arg(unit);
}

void target(const QString &what, double value, double limit)
{
    out << qSetFieldWidth(52) << Qt::left << what << qSetFieldWidth(0)
        << QStringLiteral("%1 (target at most %2)  %3\n")
               .arg(value, 0, 'f', 2)
               .arg(limit, 0, 'f', 2)
               .arg(value <= limit ? QStringLiteral("met") : QStringLiteral("MISSED"));
}

}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Forms::applyClassicLook();
    const QString here = QCoreApplication::applicationDirPath();
    const QString probe = here + QStringLiteral("/startup_probe");
    const int runs = argc > 1 ? QByteArray(argv[1]).toInt() : 15;

    QTemporaryDir empty, thousand, big, bigRoms;
    fill(thousand, 1000);
    fill(big, 100000);
    fill(bigRoms, 100000, QStringLiteral("roms"));

    out << "== Building the main window in-process (list, count, settings load), " << runs << " runs\n";
    for (const auto &[dir, label] : {std::pair{&empty, "empty folder"},
                                     {&thousand, "1,000 games"},
                                     {&big, "100,000 games"},
                                     {&bigRoms, "100,000 games in roms/"}}) {
        const QString folder = dir->path();
        line(QStringLiteral("  %1").arg(QLatin1String(label)), timeIt(runs, [&folder] {
                 Launcher launcher(folder);
                 frmQuorix w(launcher);
             }));
    }

    out << "== Whole process, start to main window shown (offscreen), " << runs << " runs\n";
    const ProcessFigures bareEmpty = runProbe(probe, "bare", empty.path(), runs);
    const ProcessFigures quorixEmpty = runProbe(probe, "quorix", empty.path(), runs);
    const ProcessFigures bareBig = runProbe(probe, "bare", big.path(), runs);
    const ProcessFigures quorixBig = runProbe(probe, "quorix", big.path(), runs);
    const ProcessFigures quorixRoms = runProbe(probe, "quorix", bigRoms.path(), runs);
    line(QStringLiteral("  bare window, empty folder"), bareEmpty.ms);
    line(QStringLiteral("  Quorix, empty folder"), quorixEmpty.ms);
    line(QStringLiteral("  bare window (naive listing), 100,000 games"), bareBig.ms);
    line(QStringLiteral("  Quorix, 100,000 games"), quorixBig.ms);
    line(QStringLiteral("  Quorix, 100,000 games in roms/"), quorixRoms.ms);

    out << "== Launch latency, Run Game click to emulator running (stand-in exits at once)\n";
    {
        QTemporaryDir dir;
        fill(dir, 2);
        QFile::copy(here + QStringLiteral("/instant_o2em"), dir.filePath(QStringLiteral("O2EM.EXE")));
        Launcher launcher(dir.path());
        frmQuorix w(launcher);
        auto *run = w.findChild<QPushButton *>(QStringLiteral("cmdRun"));
        line(QStringLiteral("  RunGame"), timeIt(std::max(runs, 30), [run] { run->click(); }));
    }

    out << "== A game's tooltip, from the request to the text (the file read, its CRC-32, the table)\n";
    {
        // A fresh window each time, so that every answer is a first one: read, not kept.
        QFile game(big.filePath(QStringLiteral("Game 054321.bin")));
        game.open(QIODevice::WriteOnly);
        game.write(QByteArray(4096, 'g'));
        game.close();
        std::vector<double> samples;
        for (int i = 0; i < std::max(runs, 30); ++i) {
            Launcher launcher(big.path());
            frmQuorix w(launcher);
            const QAbstractItemModel *model = w.findChild<QListView *>(QStringLiteral("filList"))->model();
            const QModelIndex entry = model->index(54321, 0);
            QElapsedTimer t;
            t.start();
            const QString told = entry.data(Qt::ToolTipRole).toString();
            samples.push_back(double(t.nsecsElapsed()) / 1e6);
            if (!told.startsWith(QStringLiteral("Game 054321.bin\n4096 bytes")))
                qFatal("the tooltip said %s", qPrintable(told));
        }
        out << "  the session's first, the cartridge table read too: " << samples.front() << " ms\n";
        line(QStringLiteral("  first tooltip, an entry of 100,000 games"), summarise(samples));
    }

    out << "== Settings file\n";
    {
        QTemporaryDir dir;
        const SettingsFile file(dir.filePath(Names::SettingsFile));
        const LaunchOptions options = SettingsCodec::defaults();
        file.save(options);
        line(QStringLiteral("  read quorix.cfg"), timeIt(2000, [&] { (void)file.read(); }));
        line(QStringLiteral("  save quorix.cfg (write beside, then rename)"), timeIt(500, [&] { file.save(options); }));
    }

    out << "== Peak memory (largest resident size)\n";
    out << "  bare window, empty folder:  " << bareEmpty.peakKiB << " KiB;  Quorix: " << quorixEmpty.peakKiB
        << " KiB\n";
    out << "  bare window, 100,000 games: " << bareBig.peakKiB << " KiB;  Quorix: " << quorixBig.peakKiB << " KiB\n";

    out << "== Targets (medians)\n";
    target(QStringLiteral("  start, empty folder: Quorix / bare"), quorixEmpty.ms.median / bareEmpty.ms.median, 1.15);
    target(QStringLiteral("  start, Quorix: 100,000 games / empty"), quorixBig.ms.median / quorixEmpty.ms.median, 1.6);
    target(QStringLiteral("  start, Quorix: 100,000 in roms/ / beside it"), quorixRoms.ms.median / quorixBig.ms.median,
           1.1);
    target(QStringLiteral("  peak memory, 100,000 games: Quorix / bare"),
           double(quorixBig.peakKiB) / double(bareBig.peakKiB), 1.1);
    target(QStringLiteral("  peak memory, empty folder: Quorix / bare"),
           double(quorixEmpty.peakKiB) / double(bareEmpty.peakKiB), 1.1);
    return 0;
}
