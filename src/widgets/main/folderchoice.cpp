// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/folderchoice.h"

#include "forms/titles.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace FolderChoice {

QString ask(QWidget *parent, const QString &from)
{
    return QFileDialog::getExistingDirectory(parent, Title::ChooseFolder, from);
}

QString dropped(const QMimeData *data)
{
    const QList<QUrl> urls = data->urls();
    const QString path = urls.size() == 1 ? urls.first().toLocalFile() : QString();
    return !path.isEmpty() && QFileInfo(path).isDir() ? path : QString();
}

}
