#include "cli/commandline.h"
#include "cli/password.h"
#include "db/connectionstring.h"
#include "db/odbcconnection.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <cstring>

#include <unistd.h>

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

    return corvane::cli::RunCommandLine(QCoreApplication::arguments().mid(1), context);
}
