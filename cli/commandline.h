#pragma once

#include "base/result.h"
#include "db/connection.h"

#include <QString>
#include <QStringList>

#include <functional>

class QIODevice;

namespace corvane::cli {

// What a command line works with; the program passes the real ones, tests
// their own.
struct Context
{
    db::ConnectionFactory connect;
    // Asked only by commands that connect, and only once arguments are valid.
    std::function<Result<QString>()> password;
    QString computerName;
    QIODevice* out = nullptr;  // standard output
    QIODevice* err = nullptr;  // standard error
    // On a terminal the run's progress rewrites one line; elsewhere each step
    // is a line of its own.
    bool errIsTerminal = false;
    // Lets a command that can be stopped install what stops it: the program
    // calls it on its first interrupt (Ctrl+C). Empty when nothing stops.
    std::function<void(std::function<void()>)> onInterrupt;
};

// Runs the command named by `arguments` (those after the program name) and
// returns the exit status.
int RunCommandLine(const QStringList& arguments, Context& context);

} // namespace corvane::cli
