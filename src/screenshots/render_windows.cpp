// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the program's windows, and two of the emulator's refusals in the warning, to PNG files,
// for looking at what a user sees:
//   render_windows <output folder>
// Runs in a scratch folder with a few games, so the main window shows a real list.
#include "common/module1.h"
#include "forms/fonts.h"
#include "forms/frmabout.h"
#include "forms/frmkeys.h"
#include "forms/frmwarning.h"
#include "launch/commandline.h"
#include "launch/emulator.h"
#include "launch/launcher.h"
#include "main/frmquorix.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Forms::applyClassicLook();
    if (argc != 2) {
        QTextStream(stderr) << "usage: render_windows <output folder>\n";
        return 2;
    }
    const QDir out(QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1])));
    if (!out.mkpath(QStringLiteral(".")))
        return 1;

    QTemporaryDir games;
    for (const char *name : {"O2ROM.BIN", "Cosmic Conflict.bin", "KC MUNCHKIN.BIN", "pickaxe pete.bin", "Turtles.bin"})
        QFile(games.filePath(QLatin1String(name))).open(QIODevice::WriteOnly);

    Launcher launcher(games.path());
    frmQuorix main(launcher);
    main.show();
    Module1::strWarning = CommandLine::NoGameRefusal;
    frmWarning warning;
    warning.show();
    // Two of the emulator's refusals as the warning says them: today's emulator refusing a stick
    // mode, and one unpacked without its execute bit.
    Process::Ending refused;
    refused.code = 1;
    refused.errors = "Invalid option : s1\n";
    Module1::strWarning = Emulator::describe(QStringLiteral("o2em2"), refused, {QStringLiteral("-s1=1")});
    frmWarning refusal;
    refusal.show();
    QFile(games.filePath(QStringLiteral("o2em2"))).open(QIODevice::WriteOnly);
    Module1::strWarning = Emulator::notFound(games.path());
    frmWarning notRunnable;
    notRunnable.show();
    frmKeys keys;
    keys.show();
    frmAbout about;
    about.show();
    QApplication::processEvents();

    bool ok = true;
    const std::pair<QWidget *, const char *> shots[] = {{&main, "main.png"},
                                                        {&warning, "warning.png"},
                                                        {&refusal, "warning-refused.png"},
                                                        {&notRunnable, "warning-not-runnable.png"},
                                                        {&keys, "keys.png"},
                                                        {&about, "about.png"}};
    for (const auto &[window, file] : shots)
        ok = window->grab().save(out.filePath(QLatin1String(file))) && ok;
    return ok ? 0 : 1;
}
