// corvane-cli discover and template --suggest on a small schema.
#include "cli/commandline.h"
#include "tests/support/fakeconnection.h"
#include "tests/support/schemarows.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane;
using test::row;
using test::schemaFields;

namespace {

// Slots: 1 dbo.Kunde, 2 KundenNr, 3 Vorname, 4 E\tMail, 5 Umsatz, 6 Geburtsdatum,
// 7 dbo.Rechnung, 8 RechnungNr, 9 KundenNr (FK), 10 Betrag.
db::Rows schema()
{
    return test::makeRows(
        schemaFields,
        {row("Kunde|KundenNr|dbo|dbo.Kunde|\\N|\\N|\\N|\\N|KundenNr|NO|int|\\N"),
         row("Kunde|Vorname|dbo|dbo.Kunde|\\N|\\N|\\N|\\N|\\N|YES|nvarchar|50"),
         row("Kunde|E\tMail|dbo|dbo.Kunde|\\N|\\N|\\N|\\N|\\N|YES|nvarchar|100"),
         row("Kunde|Umsatz|dbo|dbo.Kunde|\\N|\\N|\\N|\\N|\\N|YES|decimal|\\N"),
         row("Kunde|Geburtsdatum|dbo|dbo.Kunde|\\N|\\N|\\N|\\N|\\N|YES|date|\\N"),
         row("Rechnung|RechnungNr|dbo|dbo.Rechnung|\\N|\\N|\\N|\\N|RechnungNr|NO|int|\\N"),
         row("Rechnung|KundenNr|dbo|dbo.Rechnung|KundenNr|Kunde|KundenNr|FK_R_K|\\N|NO|int|\\N"),
         row("Rechnung|Betrag|dbo|dbo.Rechnung|\\N|\\N|\\N|\\N|\\N|YES|money|\\N")});
}

struct Cli
{
    test::FakeServer server;
    QByteArray out;
    QByteArray err;

    Cli() { server.answer(QStringLiteral("INFORMATION_SCHEMA"), schema()); }

    int run(const QString& command, const QStringList& more = {})
    {
        out.clear();
        err.clear();
        QBuffer outBuffer(&out);
        QBuffer errBuffer(&err);
        outBuffer.open(QIODevice::WriteOnly);
        errBuffer.open(QIODevice::WriteOnly);
        cli::Context context;
        context.connect = server.factory();
        context.password = []() -> Result<QString> { return QStringLiteral("pw"); };
        context.out = &outBuffer;
        context.err = &errBuffer;
        return cli::RunCommandLine(QStringList{command, QStringLiteral("--server=s"),
                                               QStringLiteral("--database=d"),
                                               QStringLiteral("--login=l")} +
                                       more,
                                   context);
    }

    // What was sent besides the schema query.
    QStringList sentAfterSchema() const { return server.sent.mid(1); }
};

const QByteArray VornameLine =
    "dbo.Kunde\tVorname\tperson-name\t0.95\tname \"vorname\" (de); type nvarchar(50)\t1007\t"
    "first_names\t\n";
const QByteArray MailLine = "dbo.Kunde\tE\\tMail\te-mail\t0.98\tname \"email\"; type "
                            "nvarchar(100)\t1002\tmasked@example.org\t\n";
const QByteArray BirthLine = "dbo.Kunde\tGeburtsdatum\tbirth-date\t0.95\tname \"geburt\" (de); "
                             "type date\t2\t180\t\n";

} // namespace

class TestCliDiscover : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsFindingsByNamesAndTypes()
    {
        Cli cli;
        QCOMPARE(cli.run(QStringLiteral("discover")), 0);
        QCOMPARE(cli.out, VornameLine + MailLine + BirthLine);
        QCOMPARE(cli.err, QByteArray());
        // The labels are asked for; no value is read without --sample.
        QCOMPARE(cli.sentAfterSchema().size(), 1);
        QVERIFY(cli.sentAfterSchema().at(0).contains(u"sys.sensitivity_classifications"));
    }

    void samplesOnlyTheTablesNamed()
    {
        Cli cli;
        cli.server.fail(QStringLiteral("[dbo].[Rechnung]"),
                        QStringLiteral("The SELECT permission was denied."));
        cli.server.answer(QStringLiteral("[dbo].[Kunde]"),
                          test::makeRows({QStringLiteral("Vorname")}, {}));
        QCOMPARE(cli.run(QStringLiteral("discover"),
                         {QStringLiteral("--tables"), QStringLiteral("kun*"),
                          QStringLiteral("--sample"), QStringLiteral("7")}),
                 0);
        QCOMPARE(cli.sentAfterSchema().mid(1),
                 QStringList(QStringLiteral("select TOP (7) [KundenNr],[Vorname],[E\tMail],[Umsatz],"
                                            "[Geburtsdatum] from [dbo].[Kunde]")));

        // A table that cannot be read is named, and the listing is complete.
        QCOMPARE(cli.run(QStringLiteral("discover"), {QStringLiteral("--sample=3")}), 0);
        QCOMPARE(cli.err, QByteArray("corvane-cli: dbo.Rechnung: values not read: The SELECT "
                                     "permission was denied.\n"));
        QVERIFY(cli.out.startsWith("dbo.Kunde\tVorname\tperson-name\t0.95\tname \"vorname\" (de); type "
                                   "nvarchar(50); values: too few to judge\t1007"));
    }

    void refusesWhatItCannotDo_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("more");
        QTest::addColumn<QString>("error");
        QTest::newRow("no table matches")
            << "discover" << QStringList{QStringLiteral("--tables=hr.*")}
            << "corvane-cli: --tables: no table matches 'hr.*'\n";
        QTest::newRow("sample of none")
            << "discover" << QStringList{QStringLiteral("--sample=0")}
            << "corvane-cli: discover: --sample: give a number of rows from 1 to 1000 (see "
               "corvane-cli discover --help)\n";
        QTest::newRow("sample of too many")
            << "discover" << QStringList{QStringLiteral("--sample=1001")}
            << "corvane-cli: discover: --sample: give a number of rows from 1 to 1000 (see "
               "corvane-cli discover --help)\n";
        QTest::newRow("suggest on discover")
            << "discover" << QStringList{QStringLiteral("--suggest")}
            << "corvane-cli: discover: --suggest does not apply here (see corvane-cli discover "
               "--help)\n";
        QTest::newRow("suggest with a value")
            << "template" << QStringList{QStringLiteral("--suggest=yes")}
            << "corvane-cli: template: --suggest takes no value (see corvane-cli template "
               "--help)\n";
        QTest::newRow("sample without suggest")
            << "template" << QStringList{QStringLiteral("--sample=5")}
            << "corvane-cli: template: --sample and --tables go with --suggest (see corvane-cli "
               "template --help)\n";
    }

    void refusesWhatItCannotDo()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, more);
        QFETCH(QString, error);
        Cli cli;
        QCOMPARE(cli.run(command, more), 2);
        QCOMPARE(QString::fromUtf8(cli.err), error);
        QVERIFY(cli.out.isEmpty());
    }

    void templateWithSuggestions()
    {
        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        Cli cli;
        const int status = cli.run(QStringLiteral("template"), {QStringLiteral("--suggest")});
        QDir::setCurrent(previous);
        QCOMPARE(status, 0);
        QCOMPARE(cli.out, QByteArray("11\r\n"
                                     "1;;;0;;;\r\n"
                                     "2;KundenNr;dbo.Kunde;-1;;;\r\n"
                                     "3;Vorname;dbo.Kunde;1007;first_names;;\r\n"
                                     "4;E\tMail;dbo.Kunde;1002;masked@example.org;;\r\n"
                                     "5;Umsatz;dbo.Kunde;-1;;;\r\n"
                                     "6;Geburtsdatum;dbo.Kunde;2;180;;\r\n"
                                     "7;;;0;;;\r\n"
                                     "8;RechnungNr;dbo.Rechnung;-1;;;\r\n"
                                     "9;KundenNr;dbo.Rechnung;-1;;;\r\n"
                                     "10;Betrag;dbo.Rechnung;-1;;;\r\n"));
        // Here there is no virtual_data folder: the operator is told where the
        // named list comes from.
        QCOMPARE(cli.err, QByteArray("corvane-cli: the word list first_names is not in "
                                     "virtual_data here; copy it from the installed defaults "
                                     "(share/corvane/virtual_data)\n"));
    }
};

QTEST_GUILESS_MAIN(TestCliDiscover)
#include "test_clidiscover.moc"
