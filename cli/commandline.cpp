#include "cli/commandline.h"

#include "catalogue/loader.h"
#include "cli/checkcommand.h"
#include "cli/discovercommand.h"
#include "cli/options.h"
#include "cli/schemalisting.h"
#include "db/connectionstring.h"
#include "project/loadsave.h"
#include "project/wordlist.h"
#include "run/runner.h"
#include "script/generator.h"

#include <QIODevice>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <memory>

namespace corvane::cli {

namespace {

class Session
{
public:
    Session(const Options& options, Context& context) : m_options(options), m_context(context) {}

    int execute()
    {
        switch (m_options.command) {
        case Command::Schema:
            return schema();
        case Command::Template:
            return writeTemplate();
        case Command::Script:
            return script();
        case Command::Run:
            return run();
        case Command::Check:
            return check();
        case Command::Discover:
            return discover();
        case Command::None:
            break;
        }
        return ExitNotRun;
    }

private:
    int fail(int status, const QString& text) const
    {
        // The password must never reach the output, whatever a driver or
        // server puts into its messages: neither as typed nor as it stands
        // quoted in the connection string.
        QString line = text;
        if (!m_password.isEmpty()) {
            QString quoted = m_password;
            quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
            line.replace(quoted, QStringLiteral("***"));
            line.replace(m_password, QStringLiteral("***"));
        }
        m_context.err->write(
            (QStringLiteral("corvane-cli: ") + line.simplified() + u'\n').toLocal8Bit());
        return status;
    }

    Status connectAndLoad()
    {
        if (!m_context.password)
            return Error::failure(QStringLiteral("no password"));
        auto password = m_context.password();
        if (!password)
            return password.error();
        m_password = *password;
        m_connectionString = db::BuildConnectionString(
            {m_options.server, m_options.database, m_options.login, m_password},
            m_context.computerName);

        std::unique_ptr<db::Connection> connection =
            m_context.connect ? m_context.connect() : nullptr;
        if (!connection)
            return Error::failure(QStringLiteral("Connection failed. No database driver."));
        connection->setLoginTimeout(db::DefaultLoginTimeout);
        SchemaTree tree;
        Status loaded = LoadCatalogue(*connection, m_connectionString, m_catalogue, tree);
        if (loaded && (m_options.command == Command::Check || m_options.command == Command::Run))
            m_facts = LoadCheckFacts(*connection);
        const bool connected = connection->isOpen();
        connection->close();
        if (!loaded) {
            const QString prefix = connected ? QStringLiteral("The schema could not be read. ")
                                             : QStringLiteral("Connection failed. ");
            return Error::failure(prefix + loaded.error().message);
        }
        return {};
    }

    Status loadProject()
    {
        return TLoadSave().LoadProject(m_options.project, m_catalogue);
    }

    // Standard output, or the named file written whole or not at all.
    int write(const QByteArray& bytes)
    {
        if (m_options.output.isEmpty()) {
            if (m_context.out->write(bytes) != bytes.size())
                return fail(ExitFailed, QStringLiteral("cannot write to standard output"));
            return ExitSuccess;
        }
        QSaveFile file(m_options.output);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
            !file.commit())
            return fail(ExitFailed, QStringLiteral("cannot write ") + m_options.output +
                                        QStringLiteral(": ") + file.errorString());
        return ExitSuccess;
    }

    int schema()
    {
        if (Status s = connectAndLoad(); !s)
            return fail(ExitNotRun, s.error().message);
        return write(SchemaListing(m_catalogue).toUtf8());
    }

    // Discovery reads labels and values on a connection of its own; one that
    // cannot be opened leaves names and types, which need none.
    Result<discovery::DiscoveryReport> discoverCatalogue()
    {
        std::unique_ptr<db::Connection> connection =
            m_context.connect ? m_context.connect() : nullptr;
        if (connection && !connection->open(m_connectionString))
            connection.reset();
        auto report = DiscoverCatalogue(m_catalogue, connection.get(), m_options);
        if (connection)
            connection->close();
        if (report) {
            for (const QString& note : report->notes)
                m_context.err->write((QStringLiteral("corvane-cli: ") + note + u'\n').toLocal8Bit());
        }
        return report;
    }

    int discover()
    {
        if (Status s = connectAndLoad(); !s)
            return fail(ExitNotRun, s.error().message);
        auto report = discoverCatalogue();
        if (!report)
            return fail(ExitNotRun, report.error().message);
        return write(FindingsListing(m_catalogue, report->findings).toUtf8());
    }

    int writeTemplate()
    {
        if (Status s = connectAndLoad(); !s)
            return fail(ExitNotRun, s.error().message);
        if (m_options.suggest) {
            auto report = discoverCatalogue();
            if (!report)
                return fail(ExitNotRun, report.error().message);
            for (const QString& list : FillSuggestions(m_catalogue, report->findings))
                if (!QFile::exists(WordListPath(list)))
                    m_context.err->write((QStringLiteral("corvane-cli: the word list ") + list +
                                          QStringLiteral(" is not in virtual_data here; copy it "
                                                         "from the installed defaults "
                                                         "(share/corvane/virtual_data)\n"))
                                             .toLocal8Bit());
        }
        // The project writer owns the file format; it writes to a file of its
        // own, which is then passed on as it is.
        QTemporaryDir dir;
        if (!dir.isValid())
            return fail(ExitFailed, QStringLiteral("cannot create a temporary folder: ") +
                                        dir.errorString());
        const QString path = dir.filePath(QStringLiteral("template.crv"));
        if (Status s = TLoadSave().SaveProject(path, m_catalogue); !s)
            return fail(ExitFailed, s.error().message);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return fail(ExitFailed, QStringLiteral("cannot read ") + path + QStringLiteral(": ") +
                                        file.errorString());
        return write(file.readAll());
    }

    int script()
    {
        if (Status s = connectAndLoad(); !s)
            return fail(ExitNotRun, s.error().message);
        if (Status s = loadProject(); !s)
            return fail(ExitNotRun, s.error().message);
        const script::Generation generation = script::GenerateScript(m_catalogue, m_options.seed);
        // A script cut short at a failing column would look complete to a
        // scheduled job: write nothing then.
        if (generation.error)
            return fail(ExitFailed, generation.error->message);
        // As the SQL page saves it: the script and one line break more.
        return write((generation.script + QStringLiteral("\r\n")).toUtf8());
    }

    void progress(int done, int columns)
    {
        const QString text = QStringLiteral("%1 of %2 masked columns done").arg(done).arg(columns);
        if (m_context.errIsTerminal)
            m_context.err->write((u'\r' + text + QStringLiteral("\x1b[K")).toLocal8Bit());
        else
            m_context.err->write((text + u'\n').toLocal8Bit());
        m_progressShown = true;
    }

    void endProgressLine()
    {
        if (m_context.errIsTerminal && m_progressShown)
            m_context.err->write("\n");
        m_progressShown = false;
    }

    int check()
    {
        if (Status s = connectAndLoad(); !s)
            return fail(ExitNotRun, s.error().message);
        if (Status s = loadProject(); !s)
            return fail(ExitNotRun, s.error().message);
        const check::Findings findings = CheckProject(m_catalogue, m_facts);
        if (int status = write(CheckListing(findings).toUtf8()); status != ExitSuccess)
            return status;
        return CheckExitStatus(findings);
    }

    int run()
    {
        if (Status s = connectAndLoad(); !s)
            return fail(ExitNotRun, s.error().message);
        if (Status s = loadProject(); !s)
            return fail(ExitNotRun, s.error().message);
        const check::Findings findings = CheckProject(m_catalogue, m_facts);
        if (auto refusal = RunRefusal(findings, m_options.force))
            return fail(ExitNotRun, *refusal);
        // A forced run says in its log what it was forced past.
        if (check::HasErrors(findings))
            m_context.err->write((QStringLiteral("corvane-cli: the check found ") +
                                  check::Summary(findings) +
                                  QStringLiteral("; running as --force asks\n"))
                                     .toLocal8Bit());

        SharedState state;
        state.ColumnCatalogue = m_catalogue;
        state.RandomSeed = m_options.seed;
        state.ConnectionString = m_connectionString;
        state.CatalogueConnectionString = m_connectionString;
        state.connect = m_context.connect;

        run::Runner runner;
        static const QString failedEnd = QStringLiteral("] - FAILED ");
        bool anyFailed = false;
        int sent = 0;
        QObject::connect(&runner, &run::Runner::lineAdded, [&](const QString& line) {
            if (line.endsWith(failedEnd))
                anyFailed = true;
            // On a terminal the log line takes the progress line's place; the
            // next step draws the progress again below it.
            if (m_context.errIsTerminal && m_progressShown) {
                m_context.err->write("\r\x1b[K");
                m_progressShown = false;
            }
            m_context.out->write((line + u'\n').toUtf8());
        });
        QObject::connect(&runner, &run::Runner::progressed, [&](int done, int columns) {
            sent = done;
            progress(done, columns);
        });

        const Status result = runner.run(state);
        endProgressLine();
        if (!result)
            return fail(sent > 0 ? ExitFailed : ExitNotRun, result.error().message);
        m_context.err->write("Finished !\n");
        return anyFailed ? ExitFailed : ExitSuccess;
    }

    const Options& m_options;
    Context& m_context;
    QString m_password;
    QString m_connectionString;
    TData m_catalogue;
    check::Facts m_facts;
    bool m_progressShown = false;
};

} // namespace

int RunCommandLine(const QStringList& arguments, Context& context)
{
    auto options = ParseArguments(arguments);
    if (!options) {
        context.err->write(
            (QStringLiteral("corvane-cli: ") + options.error().message + u'\n').toLocal8Bit());
        return ExitNotRun;
    }
    if (options->help) {
        context.out->write(HelpText(options->command).toUtf8());
        return ExitSuccess;
    }
    return Session(*options, context).execute();
}

} // namespace corvane::cli
