// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/lastfolder.h"

#include "common/names.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace LastFolder {

namespace {

QSettings userSettings()
{
    return QSettings(QSettings::defaultFormat(), QSettings::UserScope, Names::UserSettingsOrganisation,
                     Names::UserSettingsApplication);
}

}

QString recall()
{
    const QString folder = userSettings().value(Names::LastFolderKey).toString();
    const QFileInfo info(folder);
    return !folder.isEmpty() && info.isDir() && info.isReadable() ? folder : QString(); // gone: asked for again
}

void remember(const QString &folder)
{
    QSettings settings = userSettings();
    if (settings.value(Names::LastFolderKey).toString() != folder) // a start that changes nothing writes nothing
        settings.setValue(Names::LastFolderKey, folder);
}

}
