#pragma once

#include <QString>
#include <QStringList>

namespace Emulator {

// Which program to start for the emulator: O2EM.EXE in the working folder, then on the search
// path, then the Linux name o2em in the same two places. When none is there, the working
// folder's O2EM.EXE, so that the start fails with the platform's own reason.
[[nodiscard]] QString locate(const QString &workDir, const QString &searchPath);

// Starts the program detached, in workDir, asking for a maximized window where the platform
// lets us. Returns an empty string on success, otherwise the platform's reason.
[[nodiscard]] QString start(const QString &program, const QStringList &arguments, const QString &workDir);

}
