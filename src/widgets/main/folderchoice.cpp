// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/folderchoice.h"

#include "common/names.h"
#include "forms/titles.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QScreen>
#include <QStyle>
#include <QUrl>

namespace FolderChoice {

namespace {

// Runs a chooser of folders within the screen, a title bar's height left for its frame, however
// large the scale makes Qt's own: its buttons, and any hint, are at its bottom. (A native one
// sizes itself.)
QString choose(QFileDialog &chooser)
{
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setOption(QFileDialog::ShowDirsOnly);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        chooser.resize(chooser.sizeHint().boundedTo(
            screen->availableSize() - QSize(0, chooser.style()->pixelMetric(QStyle::PM_TitleBarHeight))));
    return chooser.exec() == QDialog::Accepted ? chooser.selectedFiles().value(0) : QString();
}

}

QString ask(QWidget *parent, const QString &from)
{
    QFileDialog chooser(parent, Title::ChooseFolder, from);
    return choose(chooser);
}

QString askFirst(const QString &home)
{
    // The usual homes of the emulator and of games; else the home folder itself.
    QString from = home;
    for (const char *usual : {"o2em2", "o2em", "O2EM", "Games", "games"}) {
        if (const QString folder = QDir(home).filePath(QLatin1String(usual)); QFileInfo(folder).isDir()) {
            from = folder;
            break;
        }
    }
    // Qt's own chooser, the one that can say what to pick; the title says it in brief.
    QFileDialog chooser(nullptr, Title::ChooseGames, from);
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    if (auto *grid = qobject_cast<QGridLayout *>(chooser.layout())) {
        auto *hint = new QLabel(QStringLiteral("Choose the folder that holds your games: the emulator's folder, with "
                                               "%1/ in it, or the folder of the games themselves.")
                                    .arg(Names::RomsFolder));
        hint->setObjectName(QStringLiteral("hint"));
        hint->setWordWrap(true);
        grid->addWidget(hint, grid->rowCount(), 0, 1, grid->columnCount());
    }
    return choose(chooser);
}

QString dropped(const QMimeData *data)
{
    const QList<QUrl> urls = data->urls();
    const QString path = urls.size() == 1 ? urls.first().toLocalFile() : QString();
    return !path.isEmpty() && QFileInfo(path).isDir() ? path : QString();
}

}
