#include "cli/commandline.h"

#include "catalogue/workspace.h"
#include "check/factsquery.h"
#include "cli/checkcommand.h"
#include "cli/discovercommand.h"
#include "cli/options.h"
#include "cli/schemalisting.h"
#include "db/connectionstring.h"
#include "project/loadsave.h"
#include "project/textfile.h"
#include "project/wordlist.h"
#include "run/runner.h"
#include "script/scriptfile.h"

#include <QEventLoop>
#include <QFile>
#include <QIODevice>
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

        // A script's header lists the check's findings, as the SQL page's does.
        const bool checks = m_options.command == Command::Check ||
                            m_options.command == Command::Run ||
                            m_options.command == Command::Script;
        auto loaded = LoadDatabase(m_context.connect, m_connectionString,
                                   [&](db::Connection& connection) {
                                       if (checks)
                                           m_facts = check::ReadFacts(connection);
                                   });
        if (!loaded)
            return loaded.error();
        m_workspace.replace(std::move(*loaded));
        return {};
    }

    Status loadProject()
    {
        TData choices = m_workspace.catalogue();
        const Status loaded = TLoadSave().LoadProject(m_options.project, choices);
        m_workspace.replaceChoices(choices);
        return loaded;
    }

    // Standard output, or the named file written whole or not at all.
    int write(const QByteArray& bytes)
    {
        if (m_options.output.isEmpty()) {
            if (m_context.out->write(bytes) != bytes.size())
                return fail(ExitFailed, QStringLiteral("cannot write to standard output"));
            return ExitSuccess;
        }
        if (Status written = WriteFileAtomically(m_options.output, bytes); !written)
            return fail(ExitFailed, QStringLiteral("cannot write ") + m_options.output +
                                        QStringLiteral(": ") + written.error().message);
        return ExitSuccess;
    }

    int schema()
    {
        if (Status s = connectAndLoad(); !s)
            return fail(ExitNotRun, s.error().message);
        return write(SchemaListing(m_workspace.catalogue()).toUtf8());
    }

    // Discovery reads labels and values on a connection of its own; one that
    // cannot be opened leaves names and types, which need none.
    Result<discovery::DiscoveryReport> discoverCatalogue()
    {
        std::unique_ptr<db::Connection> connection =
            m_context.connect ? m_context.connect() : nullptr;
        if (connection && !connection->open(m_connectionString))
            connection.reset();
        auto report = DiscoverCatalogue(m_workspace.catalogue(), connection.get(), m_options);
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
        return write(FindingsListing(m_workspace.catalogue(), report->findings).toUtf8());
    }

    int writeTemplate()
    {
        if (Status s = connectAndLoad(); !s)
            return fail(ExitNotRun, s.error().message);
        if (m_options.suggest) {
            auto report = discoverCatalogue();
            if (!report)
                return fail(ExitNotRun, report.error().message);
            TData choices = m_workspace.catalogue();
            const QStringList lists = FillSuggestions(choices, report->findings);
            m_workspace.replaceChoices(choices);
            for (const QString& list : lists)
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
        if (Status s = TLoadSave().SaveProject(path, m_workspace.catalogue()); !s)
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
        m_workspace.setSeed(m_options.seed);
        const check::Findings findings = CheckProject(m_workspace.catalogue(), m_facts);
        const script::ScriptText generation = script::BuildScriptText(
            m_workspace.catalogue(),
            {m_workspace.serverName(), m_workspace.databaseName(), m_workspace.seed(),
             QDate::currentDate(), check::ScriptComments(findings)});
        // A script cut short at a failing column would look complete to a
        // scheduled job: write nothing then.
        if (generation.error)
            return fail(ExitFailed, generation.error->message);
        // The bytes the SQL page saves.
        return write(script::ScriptFileBytes(generation.text));
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
        const check::Findings findings = CheckProject(m_workspace.catalogue(), m_facts);
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
        const check::Findings findings = CheckProject(m_workspace.catalogue(), m_facts);
        if (auto refusal = RunRefusal(findings, m_options.force))
            return fail(ExitNotRun, *refusal);
        // A forced run says in its log what it was forced past.
        if (check::HasErrors(findings))
            m_context.err->write((QStringLiteral("corvane-cli: the check found ") +
                                  check::Summary(findings) +
                                  QStringLiteral("; running as --force asks\n"))
                                     .toLocal8Bit());

        run::RunPlan plan{m_workspace.catalogue(), m_options.seed,
                          m_workspace.connectionString(), m_context.connect};
        const run::MaskedCount count = run::CountMasked(plan.catalogue);
        if (count.columns == 0) {
            m_context.err->write("No column is masked: there is nothing to run.\n");
            return ExitSuccess;
        }
        // A scheduled job asks nothing, but its log names what it changes.
        m_context.err->write(
            (run::TargetLine(m_workspace.serverName(), m_workspace.databaseName(), count) + u'\n')
                .toLocal8Bit());

        run::Runner runner;
        QEventLoop loop;
        run::RunSummary summary;
        int sent = 0;
        // Queued from the runner's worker onto this thread.
        QObject::connect(&runner, &run::Runner::lineAdded, &runner, [&](const QString& line) {
            // On a terminal the log line takes the progress line's place; the
            // next step draws the progress again below it.
            if (m_context.errIsTerminal && m_progressShown) {
                m_context.err->write("\r\x1b[K");
                m_progressShown = false;
            }
            m_context.out->write((line + u'\n').toUtf8());
        });
        QObject::connect(&runner, &run::Runner::progressed, &runner, [&](int done, int columns) {
            sent = done;
            progress(done, columns);
        });
        QObject::connect(&runner, &run::Runner::finished, &runner,
                         [&](const run::RunSummary& result) {
                             summary = result;
                             loop.quit();
                         });
        if (m_context.onInterrupt)
            m_context.onInterrupt([&runner] { runner.cancel(); });
        runner.start(plan);
        loop.exec();
        if (m_context.onInterrupt)
            m_context.onInterrupt({});
        endProgressLine();

        if (summary.error)
            return fail(sent > 0 ? ExitFailed : ExitNotRun, summary.error->message);
        const QString counts = QStringLiteral("%1 of %2 columns succeeded, %3 failed")
                                   .arg(summary.succeeded)
                                   .arg(summary.columns)
                                   .arg(summary.failed);
        if (summary.stopped) {
            m_context.err->write((QStringLiteral("Stopped by the operator: ") + counts +
                                  QStringLiteral(".\n"))
                                     .toLocal8Bit());
            return ExitFailed;
        }
        if (summary.failed > 0) {
            m_context.err->write(
                (QStringLiteral("Finished with failures: ") + counts + QStringLiteral(".\n"))
                    .toLocal8Bit());
            return ExitFailed;
        }
        m_context.err->write("Finished !\n");
        return ExitSuccess;
    }

    const Options& m_options;
    Context& m_context;
    QString m_password;
    QString m_connectionString;
    Workspace m_workspace;
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
