#include "cli/password.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <string>

#include <termios.h>
#include <unistd.h>

namespace corvane::cli {

namespace {

termios savedTerminal;
volatile std::sig_atomic_t echoOff = 0;

// An interrupt while the prompt waits must not leave the terminal without echo.
extern "C" void restoreAndReraise(int signal)
{
    if (echoOff)
        tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

Result<QString> prompt()
{
    std::fputs("Password: ", stderr);
    std::fflush(stderr);

    if (tcgetattr(STDIN_FILENO, &savedTerminal) != 0)
        return Error::failure(QStringLiteral("cannot read the password from the terminal"));
    termios silent = savedTerminal;
    silent.c_lflag &= ~tcflag_t(ECHO);
    silent.c_lflag |= ECHONL;
    const auto oldInt = std::signal(SIGINT, restoreAndReraise);
    const auto oldTerm = std::signal(SIGTERM, restoreAndReraise);
    echoOff = 1;
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);

    std::string line;
    bool complete = false;
    for (int c; (c = std::fgetc(stdin)) != EOF;) {
        if (c == '\n') {
            complete = true;
            break;
        }
        line.push_back(char(c));
    }

    tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedTerminal);
    echoOff = 0;
    std::signal(SIGINT, oldInt);
    std::signal(SIGTERM, oldTerm);

    if (!complete && line.empty())
        return Error::failure(QStringLiteral("no password given"));
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    QString password = QString::fromLocal8Bit(line.data(), qsizetype(line.size()));
    // Don't leave the secret lying around in freed memory longer than needed.
    std::fill(line.begin(), line.end(), '\0');
    return password;
}

} // namespace

Result<QString> ReadPassword()
{
    if (qEnvironmentVariableIsSet(PasswordVariable))
        return qEnvironmentVariable(PasswordVariable);
    if (!isatty(STDIN_FILENO))
        return Error::failure(QStringLiteral("no password: set CORVANE_PASSWORD, or run on a "
                                             "terminal to be asked for it"));
    return prompt();
}

} // namespace corvane::cli
