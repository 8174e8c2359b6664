// SPDX-License-Identifier: GPL-3.0-or-later
// One program start, for timing from outside: builds a window in the current folder, shows
// it, lets it draw, and exits.
//   startup_probe quorix   as the program starts: the folder read on a thread from the start,
//                          then the real main window (list, count, settings load)
//   startup_probe bare     a bare Qt window with a menu bar and one list of the folder's *.bin
// It prints its peak resident size in KiB (VmHWM) when it ends.
#include "forms/fonts.h"
#include "forms/icon.h"
#include "launch/launcher.h"
#include "main/frmquorix.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <optional>

int main(int argc, char *argv[])
{
    const bool quorix = argc > 1 && QByteArray(argv[1]) == "quorix";
    // As main.cpp does: the listing starts before Qt does.
    std::optional<Launcher> launcher;
    if (quorix)
        launcher.emplace(QDir::currentPath());
    QApplication app(argc, argv);
    std::unique_ptr<QMainWindow> window;
    if (quorix) {
        Forms::applyClassicLook();
        QApplication::setWindowIcon(Forms::programIcon());
        window = std::make_unique<frmQuorix>(*launcher);
    } else {
        window = std::make_unique<QMainWindow>();
        window->menuBar()->addMenu(QStringLiteral("&File"));
        auto *list = new QListWidget;
        list->addItems(QDir().entryList({QStringLiteral("*.bin")}, QDir::Files, QDir::Name | QDir::IgnoreCase));
        window->setCentralWidget(list);
    }
    window->show();
    QTimer::singleShot(0, &app, &QCoreApplication::quit); // after the first round of drawing
    const int result = app.exec();
    window.reset();
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                std::printf("%s\n", line.mid(6).trimmed().split(' ').first().constData());
    }
    return result;
}
