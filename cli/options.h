#pragma once

#include "base/result.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace corvane::cli {

enum class Command { None, Schema, Template, Script, Run, Discover, Check };

// Exit statuses of the program.
enum ExitStatus : int {
    ExitSuccess = 0,
    ExitFailed = 1,  // the work began but did not all succeed
    ExitNotRun = 2,  // nothing could be done: arguments, connection, project
};

struct Options
{
    Command command = Command::None;
    bool help = false;
    QString server;
    QString database;
    QString login;
    QString project;
    QString output;          // empty: standard output
    std::int32_t seed = 1;
    // Discovery: which tables, how many rows of their values, and whether a
    // template gets the suggested methods.
    QString tables;          // empty: every table
    int sample = 0;          // 0: no values read
    bool suggest = false;
    bool force = false;      // run: go on although the check found errors
};

// Reads the arguments that follow the program name. A failure names what is
// wrong in one line.
Result<Options> ParseArguments(const QStringList& arguments);

QString CommandName(Command command);
// What `--help` prints: the overview without a command, else the command's own.
QString HelpText(Command command);

} // namespace corvane::cli
