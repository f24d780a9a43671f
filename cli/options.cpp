#include "cli/options.h"

#include "catalogue/consttypes.h"
#include "catalogue/textconv.h"
#include "discovery/sampling.h"

#include <algorithm>

using namespace Qt::StringLiterals;
using corvane::discovery::MaxSampleRows;

namespace corvane::cli {

namespace {

enum Option : unsigned {
    OptServer = 1u << 0,
    OptDatabase = 1u << 1,
    OptLogin = 1u << 2,
    OptProject = 1u << 3,
    OptSeed = 1u << 4,
    OptOutput = 1u << 5,
    OptSample = 1u << 6,
    OptTables = 1u << 7,
    OptSuggest = 1u << 8, // a flag: takes no value
};

constexpr unsigned ConnectionOptions = OptServer | OptDatabase | OptLogin;

unsigned allowedOptions(Command command)
{
    switch (command) {
    case Command::Schema:
        return ConnectionOptions | OptOutput;
    case Command::Template:
        return ConnectionOptions | OptOutput | OptSuggest | OptSample | OptTables;
    case Command::Discover:
        return ConnectionOptions | OptOutput | OptSample | OptTables;
    case Command::Script:
        return ConnectionOptions | OptProject | OptSeed | OptOutput;
    case Command::Run:
        return ConnectionOptions | OptProject | OptSeed;
    case Command::None:
        break;
    }
    return 0;
}

Command commandNamed(const QString& name)
{
    for (Command c : {Command::Schema, Command::Template, Command::Script, Command::Run,
                      Command::Discover})
        if (CommandName(c) == name)
            return c;
    return Command::None;
}

struct OptionName
{
    Option option;
    QString name;
};

const QList<OptionName>& optionNames()
{
    static const QList<OptionName> names = {
        {OptServer, QStringLiteral("--server")},   {OptDatabase, QStringLiteral("--database")},
        {OptLogin, QStringLiteral("--login")},     {OptProject, QStringLiteral("--project")},
        {OptSeed, QStringLiteral("--seed")},       {OptOutput, QStringLiteral("--output")},
        {OptSample, QStringLiteral("--sample")},   {OptTables, QStringLiteral("--tables")},
        {OptSuggest, QStringLiteral("--suggest")},
    };
    return names;
}

Error usage(Command command, const QString& text)
{
    const QString prefix = command == Command::None ? QString() : CommandName(command) + u": ";
    const QString hint = command == Command::None
                             ? QStringLiteral(" (see corvane-cli --help)")
                             : QStringLiteral(" (see corvane-cli ") + CommandName(command) +
                                   QStringLiteral(" --help)");
    return Error::failure(prefix + text + hint);
}

} // namespace

QString CommandName(Command command)
{
    switch (command) {
    case Command::Schema:
        return QStringLiteral("schema");
    case Command::Template:
        return QStringLiteral("template");
    case Command::Script:
        return QStringLiteral("script");
    case Command::Run:
        return QStringLiteral("run");
    case Command::Discover:
        return QStringLiteral("discover");
    case Command::None:
        break;
    }
    return {};
}

Result<Options> ParseArguments(const QStringList& arguments)
{
    Options options;
    qsizetype i = 0;
    if (i < arguments.size() && !arguments.at(i).startsWith(u'-')) {
        options.command = commandNamed(arguments.at(i));
        if (options.command == Command::None)
            return usage(Command::None, u"unknown command '"_s + arguments.at(i) + u"'"_s);
        ++i;
    }

    unsigned given = 0;
    for (; i < arguments.size(); ++i) {
        QString argument = arguments.at(i);
        if (argument == u"--help" || argument == u"-h") {
            options.help = true;
            continue;
        }
        if (!argument.startsWith(u"--"))
            return usage(options.command, u"unexpected argument '"_s + argument + u"'"_s);
        if (argument == u"--password" || argument.startsWith(u"--password="))
            return usage(options.command,
                         QStringLiteral("the password is never taken from the command line; set "
                                        "CORVANE_PASSWORD or answer the prompt"));

        QString value;
        bool hasValue = false;
        if (const qsizetype eq = argument.indexOf(u'='); eq > 0) {
            value = argument.mid(eq + 1);
            argument.truncate(eq);
            hasValue = true;
        }
        const auto known = std::find_if(optionNames().cbegin(), optionNames().cend(),
                                        [&](const OptionName& o) { return o.name == argument; });
        if (known == optionNames().cend())
            return usage(options.command, u"unknown option '"_s + argument + u"'"_s);
        if (options.command == Command::None)
            return usage(Command::None, QStringLiteral("name a command before ") + argument);
        if (!(allowedOptions(options.command) & known->option))
            return usage(options.command, argument + QStringLiteral(" does not apply here"));
        if (known->option == OptSuggest) {
            if (hasValue)
                return usage(options.command, argument + QStringLiteral(" takes no value"));
        } else if (!hasValue) {
            if (i + 1 >= arguments.size())
                return usage(options.command, argument + QStringLiteral(" needs a value"));
            value = arguments.at(++i);
        }
        if (given & known->option)
            return usage(options.command, argument + QStringLiteral(" is given twice"));
        given |= known->option;

        switch (known->option) {
        case OptServer:
            options.server = value;
            break;
        case OptDatabase:
            options.database = value;
            break;
        case OptLogin:
            options.login = value;
            break;
        case OptProject:
            options.project = value;
            break;
        case OptOutput:
            options.output = value;
            break;
        case OptTables:
            options.tables = value;
            break;
        case OptSuggest:
            options.suggest = true;
            break;
        case OptSample: {
            auto rows = StrToInt(value);
            if (!rows || *rows < 1 || *rows > MaxSampleRows)
                return usage(options.command,
                             QStringLiteral("--sample: give a number of rows from 1 to %1")
                                 .arg(MaxSampleRows));
            options.sample = *rows;
            break;
        }
        case OptSeed: {
            auto seed = StrToInt(value);
            if (!seed)
                return usage(options.command, QStringLiteral("--seed: ") + seed.error().message);
            options.seed = *seed;
            break;
        }
        }
    }

    if (options.help)
        return options;
    if (options.command == Command::None)
        return usage(Command::None, QStringLiteral("name a command"));
    // Like the connection dialog: the password may be empty, the rest may not.
    for (const OptionName& o : optionNames()) {
        const bool required = (o.option & ConnectionOptions) ||
                              (o.option == OptProject &&
                               (allowedOptions(options.command) & OptProject));
        if (required && !(given & o.option))
            return usage(options.command, u"missing "_s + o.name);
    }
    if (options.command == Command::Template && !options.suggest && (given & (OptSample | OptTables)))
        return usage(options.command, QStringLiteral("--sample and --tables go with --suggest"));
    if (options.server.isEmpty() || options.database.isEmpty() || options.login.isEmpty())
        return usage(options.command,
                     QStringLiteral("--server, --database and --login must not be empty"));
    return options;
}

QString HelpText(Command command)
{
    static const QString connection = QStringLiteral(
        "  --server NAME      host, host\\instance or host,port\n"
        "  --database NAME    the database to work on\n"
        "  --login NAME       SQL Server login\n"
        "The password is read from the environment variable CORVANE_PASSWORD or,\n"
        "on a terminal, asked for without echo; it is never taken from the command\n"
        "line.\n");
    static const QString output = QStringLiteral(
        "  --output FILE      write FILE whole (or not at all) instead of standard output\n");
    static const QString discoveryOptions = QStringLiteral(
        "  --sample N         read the values of up to N rows (1 to 1000) of each table\n"
        "                     with SELECT TOP (N); without it nothing but the schema is read\n"
        "  --tables PATTERN   only these tables: comma-separated wildcards (* and ?),\n"
        "                     schema.table, or the table's name alone\n");
    static const QString status = QStringLiteral(
        "Exit status: 0 done; 1 failed after the work began; 2 nothing could be done\n"
        "(bad arguments, connection failed, incompatible project). Errors are one line\n"
        "on standard error.\n");

    switch (command) {
    case Command::Schema:
        return QStringLiteral(
                   "Usage: corvane-cli schema --server NAME --database NAME --login NAME "
                   "[--output FILE]\n"
                   "Prints the database's catalogue, one line per slot of the tree in slot\n"
                   "order. The database node (slot 0) has no line. A table line holds the slot\n"
                   "index and the table (schema.table); a column line holds ten TAB-separated\n"
                   "fields: index, table, column, type, nullable (YES/NO), maximum length,\n"
                   "primary key, and for a foreign key the referenced table, column and\n"
                   "constraint. Empty fields stay empty; a TAB, line break or backslash inside\n"
                   "a name is written as \\t, \\n, \\r or \\\\.\n") +
               connection + output + status;
    case Command::Template:
        return QStringLiteral(
                   "Usage: corvane-cli template --server NAME --database NAME --login NAME "
                   "[--output FILE]\n"
                   "                            [--suggest [--sample N] [--tables PATTERN]]\n"
                   "Writes a project file for the database with every column at -1 (no\n"
                   "method chosen yet); edit it and use it with the script and run commands\n"
                   "or load it in the program.\n"
                   "  --suggest          give the columns that hold personal data the suggested\n"
                   "                     method (as corvane-cli discover lists them)\n") +
               discoveryOptions + connection + output + status;
    case Command::Discover:
        return QStringLiteral(
                   "Usage: corvane-cli discover --server NAME --database NAME --login NAME\n"
                   "                            [--sample N] [--tables PATTERN] [--output FILE]\n"
                   "Finds the columns that hold personal data, by the names of columns and\n"
                   "tables (English, German, French, Spanish, Dutch), their types, the\n"
                   "server's sensitivity labels and, on request, a sample of their values.\n"
                   "Prints one line per finding, TAB-separated: table, column, category,\n"
                   "confidence (0 to 1), evidence, and the suggested method code and its two\n"
                   "parameters. Escapes as in corvane-cli schema. Tables that cannot be read\n"
                   "are named on standard error; the others are listed all the same.\n") +
               discoveryOptions + connection + output + status;
    case Command::Script:
        return QStringLiteral(
                   "Usage: corvane-cli script --server NAME --database NAME --login NAME\n"
                   "                          --project FILE [--seed N] [--output FILE]\n"
                   "Loads the catalogue and the project file and writes the anonymisation\n"
                   "script, the same bytes as the program's \"Save SQL\". Word lists are read\n"
                   "from virtual_data under the current directory.\n"
                   "  --project FILE     the project file with the methods of the columns\n"
                   "  --seed N           seed of the server's random sequence (default 1)\n") +
               connection + output + status;
    case Command::Run:
        return QStringLiteral(
                   "Usage: corvane-cli run --server NAME --database NAME --login NAME\n"
                   "                       --project FILE [--seed N]\n"
                   "Anonymises the database directly, one batch per masked column, and\n"
                   "prints one log line per column on standard output (a failed column is\n"
                   "followed by an indented line with the server's error); progress goes to\n"
                   "standard error. Word lists are read from virtual_data under the current\n"
                   "directory.\n"
                   "  --project FILE     the project file with the methods of the columns\n"
                   "  --seed N           seed of the server's random sequence (default 1)\n") +
               connection +
               QStringLiteral(
                   "Exit status: 0 every column succeeded; 1 a column failed or the run ended\n"
                   "early after its first batch; 2 nothing could be run (bad arguments,\n"
                   "connection failed, incompatible project, missing word list before the\n"
                   "first batch). Errors are one line on standard error.\n");
    case Command::None:
        break;
    }
    return QStringLiteral(
        "Usage: corvane-cli COMMAND [OPTIONS]\n"
        "Anonymises one SQL Server database without the windows.\n"
        "Commands:\n"
        "  schema     print the catalogue of the database\n"
        "  template   write a project file with every column unmasked\n"
        "  script     write the anonymisation script of a project\n"
        "  run        anonymise the database directly\n"
        "  discover   list the columns that hold personal data, with suggested methods\n"
        "Run corvane-cli COMMAND --help for a command's options.\n");
}

} // namespace corvane::cli
