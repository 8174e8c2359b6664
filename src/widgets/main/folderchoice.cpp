// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/folderchoice.h"

#include "common/names.h"
#include "forms/titles.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMimeData>
#include <QUrl>

namespace FolderChoice {

QString ask(QWidget *parent, const QString &from)
{
    return QFileDialog::getExistingDirectory(parent, Title::ChooseFolder, from);
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
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (auto *grid = qobject_cast<QGridLayout *>(chooser.layout())) {
        auto *hint = new QLabel(QStringLiteral("Choose the folder that holds your games: the emulator's folder, with "
                                               "%1/ in it, or the folder of the games themselves.")
                                    .arg(Names::RomsFolder));
        hint->setObjectName(QStringLiteral("hint"));
        hint->setWordWrap(true);
        grid->addWidget(hint, grid->rowCount(), 0, 1, grid->columnCount());
    }
    return chooser.exec() == QDialog::Accepted ? chooser.selectedFiles().value(0) : QString();
}

QString dropped(const QMimeData *data)
{
    const QList<QUrl> urls = data->urls();
    const QString path = urls.size() == 1 ? urls.first().toLocalFile() : QString();
    return !path.isEmpty() && QFileInfo(path).isDir() ? path : QString();
}

}
