// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/platform.h"

#include "common/log.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace Platform {

QStringList commandWords(int argc, char *argv[])
{
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list << QString::fromLocal8Bit(argv[i]);
    return list;
}

void tell(const QString &text, bool isError)
{
    isError ? Log::text(text) : Log::output(text);
}

namespace {

int signalPipe[2] = {-1, -1};
const int watchedSignals[] = {SIGTERM, SIGHUP, SIGINT};

extern "C" void onSignal(int number)
{
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1); // all a handler may safely do
    errno = saved;
}

// How Qt's X11 and Wayland plugins say the display is gone; each ends the process right after.
const char *const displayLossWarnings[]
    = {"The X11 connection broke", "The Wayland connection broke", "The Wayland connection experienced a fatal error"};
std::mutex displayLossMutex;
std::function<QString()> displayLost;
bool displayLossTold = false; // once for each watcher: the process ends after it
QtMessageHandler qtHandler = nullptr;

void onMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const auto said = [&message](const char *warning) { return message.startsWith(QLatin1String(warning)); };
    if (type != QtWarningMsg || std::none_of(std::begin(displayLossWarnings), std::end(displayLossWarnings), said)) {
        qtHandler(type, context, message);
        return;
    }
    // Wayland's plugin says it from two threads at once: the first one through saves, the
    // other waits here until that is done, then ends the process without a word.
    const std::lock_guard lock(displayLossMutex);
    if (std::exchange(displayLossTold, true))
        return;
    displayLost ? Log::line(QStringLiteral("the display is gone; %1").arg(displayLost()))
                : qtHandler(type, context, message);
}

}

EndWatcher::EndWatcher()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0)
        return;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : watchedSignals)
        sigaction(number, &action, nullptr);
}

EndWatcher::~EndWatcher()
{
    for (int number : watchedSignals)
        std::signal(number, SIG_DFL);
    if (qtHandler) {
        qInstallMessageHandler(std::exchange(qtHandler, nullptr));
        const std::lock_guard lock(displayLossMutex);
        displayLost = nullptr;
    }
    for (int &fd : signalPipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void EndWatcher::listen()
{
    if (signalPipe[0] < 0 || m_notifier)
        return;
    m_notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        unsigned char byte = 0;
        while (::read(signalPipe[0], &byte, 1) == 1)
            Q_EMIT requested(byte);
    });
}

void EndWatcher::onDisplayLost(std::function<QString()> last)
{
    {
        const std::lock_guard lock(displayLossMutex);
        displayLost = std::move(last);
        displayLossTold = false;
    }
    if (!qtHandler)
        qtHandler = qInstallMessageHandler(onMessage);
}
}
