#include "db/odbcconnection.h"
#include "tests/support/tdsserver.h"
#include "tests/support/testlocale.h"

#include <QTest>

using namespace corvane;

template <typename R>
static QByteArray why(const R& result)
{
    return result.ok() ? QByteArray() : result.error().message.toUtf8();
}

class TestOdbcConnection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::useTestLocale(); }

    void smoke()
    {
        test::TdsServer server(test::TdsServer::defaultFixture(R"([
            {"match": "select * from T", "columns": [{"name": "id", "type": "int"}, {"name": "name", "type": "nvarchar"}, {"name": "d", "type": "datetime"}, {"name": "f", "type": "float"}],
             "rows": [[1, "Zoë Ωmega", "2024-01-31 13:45:00", 1.5], [null, null, null, null]]}
        ])"));
        QVERIFY(server.started());
        auto c = db::MakeOdbcConnection();
        auto st = c->open(server.connectionString());
        QVERIFY2(st.ok(), why(st).constData());
        auto name = c->databaseName();
        QVERIFY(name.ok());
        QCOMPARE(*name, QStringLiteral("fixture"));
        auto rows = c->queryAll(QStringLiteral("select * from T"));
        QVERIFY2(rows.ok(), why(rows).constData());
        QCOMPARE(rows->fields, (QStringList{QStringLiteral("id"), QStringLiteral("name"), QStringLiteral("d"), QStringLiteral("f")}));
        QCOMPARE(rows->rows.value(0), (QStringList{QStringLiteral("1"), QStringLiteral("Zoë Ωmega"), QStringLiteral("2024-01-31 13:45:00.000"), QStringLiteral("1.5")}));
        QCOMPARE(rows->rows.value(1), (QStringList{QString(), QString(), QString(), QString()}));
        QCOMPARE(server.batches(), QStringList{QStringLiteral("select * from T")});
    }
};

QTEST_GUILESS_MAIN(TestOdbcConnection)
#include "test_odbcconnection.moc"
