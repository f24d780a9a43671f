#include "cli/commandline.h"
#include "cli/password.h"
#include "db/connectionstring.h"
#include "db/odbcconnection.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Ctrl+C: the first one asks the running command to stop, through a pipe
// that the event loop watches (nothing else is safe in a signal handler); a
// second one ends the program at once.
int interruptPipe[2] = {-1, -1};
volatile std::sig_atomic_t interrupts = 0;

void onSigint(int)
{
    interrupts = interrupts + 1;
    if (interrupts > 1)
        _exit(1);
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(interruptPipe[1], &byte, 1);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("corvane-cli %s\n", CORVANE_VERSION);
        return 0;
    }
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvane-cli"));

    // Unbuffered, so that each log line of a run is out as soon as it is known.
    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);

    corvane::cli::Context context;
    context.connect = &corvane::db::MakeOdbcConnection;
    context.password = &corvane::cli::ReadPassword;
    context.computerName = corvane::db::ComputerName();
    context.out = &out;
    context.err = &err;
    context.errIsTerminal = isatty(STDERR_FILENO);

    std::function<void()> stop;
    std::unique_ptr<QSocketNotifier> notifier;
    if (pipe2(interruptPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        notifier = std::make_unique<QSocketNotifier>(interruptPipe[0], QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [&] {
            char byte;
            while (read(interruptPipe[0], &byte, 1) > 0) {
            }
            if (stop)
                stop();
            else
                _exit(1);
        });
        context.onInterrupt = [&](std::function<void()> handler) { stop = std::move(handler); };
        std::signal(SIGINT, onSigint);
    }

    return corvane::cli::RunCommandLine(QCoreApplication::arguments().mid(1), context);
}
