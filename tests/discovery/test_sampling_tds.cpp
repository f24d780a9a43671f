// Sampling through the real ODBC driver against the TDS test server.
#include "db/odbcconnection.h"
#include "discovery/discovery.h"
#include "discovery/labels.h"
#include "tests/discovery/columns.h"
#include "tests/support/tdsserver.h"

#include <QTest>

using namespace corvane;
using namespace corvane::discovery;
using test::TdsServer;

namespace {

TColumnRec col(const QString& schema, const QString& tab, const QString& name, const QString& typ,
               const QString& charMax = {})
{
    return test::discoveryColumn(schema, tab, name, typ, charMax);
}

// Slots 2-4 dbo.Customer (Contact, Born, Photo), 6-7 sales.Order Lines (Pay]Card, Note).
TData catalogue()
{
    TData data(8);
    const QString dbo = QStringLiteral("dbo");
    const QString customer = QStringLiteral("Customer");
    data[2] = col(dbo, customer, QStringLiteral("Contact"), QStringLiteral("nvarchar"),
                  QStringLiteral("100"));
    data[3] = col(dbo, customer, QStringLiteral("Born"), QStringLiteral("datetime"));
    data[4] = col(dbo, customer, QStringLiteral("Photo"), QStringLiteral("varbinary"),
                  QStringLiteral("-1"));
    const QString sales = QStringLiteral("sales");
    const QString lines = QStringLiteral("Order Lines");
    data[6] = col(sales, lines, QStringLiteral("Pay]Card"), QStringLiteral("varchar"),
                  QStringLiteral("19"));
    data[7] = col(sales, lines, QStringLiteral("Note"), QStringLiteral("nvarchar"),
                  QStringLiteral("-1"));
    return data;
}

const QByteArray Rules = R"([
  {"match": "sys.sensitivity_classifications",
   "error": {"number": 208, "message": "Invalid object name 'sys.sensitivity_classifications'."}},
  {"match": "select TOP (3) [Contact],[Born] from [dbo].[Customer]", "exact": true,
   "columns": [{"name": "Contact", "type": "nvarchar"}, {"name": "Born", "type": "datetime"}],
   "rows": [["ann@example.org", "1970-01-02 00:00:00"], ["bo@example.org", "1985-06-30 00:00:00"],
            ["cy@example.net", "1999-12-31 00:00:00"]]},
  {"match": "from [sales].[Order Lines]",
   "error": {"number": 229, "message": "The SELECT permission was denied on the object 'Order Lines', database 'fixture', schema 'sales'."}}
])";

} // namespace

class TestSamplingTds : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void samplesWithTopQueriesAndReportsAnUnreadableTable()
    {
        TdsServer server(TdsServer::defaultFixture(Rules));
        QVERIFY(server.started());
        auto connection = db::MakeOdbcConnection();
        QVERIFY(connection->open(server.connectionString()).ok());
        server.clearBatches();

        const TData data = catalogue();
        DiscoveryRequest request;
        request.sampleSlots = {2, 3, 4, 6, 7};
        request.sampleRows = 3;
        request.today = QDate(2026, 12, 8);
        const DiscoveryReport report = Discover(data, connection.get(), request);

        // The label query, then one TOP query per table with what can be
        // sampled, and nothing else.
        QCOMPARE(server.batches(),
                 QStringList({SensitivityLabelQuery(),
                              QStringLiteral("select TOP (3) [Contact],[Born] from [dbo].[Customer]"),
                              QStringLiteral("select TOP (3) [Pay]]Card] from [sales].[Order Lines]")}));
        // An older server's missing view is no news; the unreadable table is.
        QCOMPARE(report.notes,
                 QStringList(QStringLiteral(
                     "sales.Order Lines: values not read: The SELECT permission was denied on the "
                     "object 'Order Lines', database 'fixture', schema 'sales'.")));
        QVERIFY(!report.stopped);
        QCOMPARE(report.findings.size(), 3); // Contact, Born, Note
        QCOMPARE(report.findings.at(0).slot, 2);
        QCOMPARE(report.findings.at(0).category, Category::Email); // by its values alone
        QCOMPARE(report.findings.at(1).category, Category::BirthDate);
        QCOMPARE(report.findings.at(1).evidence.first(),
                 QStringLiteral("values: 3 of 3 birth dates"));
        QCOMPARE(report.findings.at(2).slot, 7);

        // The connection stays usable after the refused table.
        auto rows = connection->queryAll(QStringLiteral("select db_name()"));
        QVERIFY(rows.ok());
    }

    void stopsBetweenTables()
    {
        TdsServer server(TdsServer::defaultFixture(Rules));
        QVERIFY(server.started());
        auto connection = db::MakeOdbcConnection();
        QVERIFY(connection->open(server.connectionString()).ok());
        server.clearBatches();
        DiscoveryRequest request;
        request.sampleSlots = {2, 6};
        request.sampleRows = 3;
        const DiscoveryReport report =
            Discover(catalogue(), connection.get(), request, [](int done, int) { return done < 1; });
        QVERIFY(report.stopped);
        QCOMPARE(server.batches().size(), 2); // labels and the first table
    }
};

QTEST_GUILESS_MAIN(TestSamplingTds)
#include "test_sampling_tds.moc"
