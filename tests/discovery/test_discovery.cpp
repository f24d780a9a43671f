#include "discovery/classifier.h"
#include "discovery/discovery.h"
#include "discovery/labels.h"
#include "discovery/sampling.h"
#include "discovery/suggestion.h"
#include "discovery/values.h"
#include "tests/discovery/columns.h"
#include "tests/support/fakeconnection.h"

#include <QTest>

using namespace corvane;
using namespace corvane::discovery;

namespace {

const QDate Today(2026, 12, 8);

using test::discoveryColumn;

TColumnRec col(const QString& schema, const QString& tab, const QString& name, const QString& typ,
               const QString& charMax = {})
{
    return discoveryColumn(schema, tab, name, typ, charMax);
}

// Slots: 1 dbo.Customer, 2 Id, 3 Email, 4 Notes, 5 Birth, 6 sales.Order Lines,
// 7 Contact], 8 CardNumber.
TData shop()
{
    TData data(9);
    const QString dbo = QStringLiteral("dbo");
    const QString customer = QStringLiteral("Customer");
    data[2] = col(dbo, customer, QStringLiteral("Id"), QStringLiteral("int"));
    data[2].PK = QStringLiteral("Id");
    data[3] = col(dbo, customer, QStringLiteral("Email"), QStringLiteral("nvarchar"),
                  QStringLiteral("100"));
    data[4] = col(dbo, customer, QStringLiteral("Notes"), QStringLiteral("nvarchar"),
                  QStringLiteral("-1"));
    data[5] = col(dbo, customer, QStringLiteral("Birth"), QStringLiteral("date"));
    const QString sales = QStringLiteral("sales");
    const QString lines = QStringLiteral("Order Lines");
    data[7] = col(sales, lines, QStringLiteral("Contact]"), QStringLiteral("varchar"),
                  QStringLiteral("60"));
    data[8] = col(sales, lines, QStringLiteral("CardNumber"), QStringLiteral("varchar"),
                  QStringLiteral("19"));
    return data;
}

Finding found(Category category, Detail detail = Detail::Any)
{
    Finding f;
    f.slot = 1;
    f.category = category;
    f.detail = detail;
    f.confidence = 0.9;
    return f;
}

} // namespace

class TestDiscovery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each suggestion keeps the column's shape and fits its family's codes.
    void suggestsMethodsThatKeepTheShape_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("detail");
        QTest::addColumn<QString>("typ");
        QTest::addColumn<QString>("charMax");
        QTest::addColumn<QString>("suggestion");
        const auto row = [](const char* name, Category c, Detail d, const char* typ,
                            const char* charMax, const char* expected) {
            QTest::newRow(name) << int(c) << int(d) << QString::fromLatin1(typ)
                                << QString::fromLatin1(charMax) << QString::fromLatin1(expected);
        };
        row("first name", Category::PersonName, Detail::FirstName, "nvarchar", "50",
            "1007 first_names");
        row("last name", Category::PersonName, Detail::LastName, "nvarchar", "50",
            "1007 last_names");
        row("whole name", Category::PersonName, Detail::FullName, "nvarchar", "50",
            "1007 last_names");
        row("street", Category::Address, Detail::Street, "nvarchar", "100", "1007 streets");
        row("house number", Category::Address, Detail::HouseNumber, "nvarchar", "10", "1002 1");
        row("house number as a number", Category::Address, Detail::HouseNumber, "smallint", "",
            "104");
        row("city", Category::City, Detail::Any, "nvarchar", "50", "1007 cities");
        row("e-mail", Category::Email, Detail::Any, "nvarchar", "100",
            "1002 masked@example.org");
        row("phone", Category::Phone, Detail::Any, "varchar", "20", "1002 0");
        row("phone as a number", Category::Phone, Detail::Any, "bigint", "", "104");
        row("iban", Category::BankAccount, Detail::Any, "char", "22",
            "1002 XX00000000000000000000000000000000");
        row("card as decimal", Category::PaymentCard, Detail::Any, "decimal", "", "2004");
        row("birth date", Category::BirthDate, Detail::Any, "date", "", "2 180");
        row("birth date as datetime2", Category::BirthDate, Detail::Any, "datetime2", "",
            "2 180");
        row("birth year", Category::BirthDate, Detail::Any, "smallint", "", "102 2");
        row("birth date as text", Category::BirthDate, Detail::Any, "char", "8", "1002 19700101");
        row("ip address", Category::IpAddress, Detail::Any, "varchar", "45", "1001 192.0.2.1");
        row("ip address in 8 characters", Category::IpAddress, Detail::Any, "char", "8",
            "1002 0");
        row("notes, bounded", Category::FreeText, Detail::Any, "nvarchar", "500", "1003 10 500");
        row("notes, unbounded", Category::FreeText, Detail::Any, "nvarchar", "-1",
            "1003 10 400");
        row("notes, ntext", Category::FreeText, Detail::Any, "ntext", "", "1003 10 400");
        row("no finding", Category::None, Detail::Any, "nvarchar", "50", "");
    }

    void suggestsMethodsThatKeepTheShape()
    {
        QFETCH(int, category);
        QFETCH(int, detail);
        QFETCH(QString, typ);
        QFETCH(QString, charMax);
        QFETCH(QString, suggestion);
        const TColumnRec c = col(QStringLiteral("dbo"), QStringLiteral("T"), QStringLiteral("c"),
                                 typ, charMax);
        const Suggestion s = Suggest(found(Category(category), Detail(detail)), c);
        QCOMPARE(SuggestionText(s), suggestion);
        if (s.isValid())
            QVERIFY(GetMethodName(s.code) != NoMaskName);
    }

    void noSuggestionForAForeignKey()
    {
        TColumnRec c = col(QStringLiteral("dbo"), QStringLiteral("T"), QStringLiteral("c"),
                           QStringLiteral("nvarchar"), QStringLiteral("50"));
        c.PK_table = QStringLiteral("Other");
        QVERIFY(!Suggest(found(Category::PersonName), c).isValid());
    }

    void applyingKeepsParametersWithinTheirCapacity()
    {
        TColumnRec c = col(QStringLiteral("dbo"), QStringLiteral("T"), QStringLiteral("c"),
                           QStringLiteral("nvarchar"), QStringLiteral("50"));
        c.param2 = QStringLiteral("left over");
        ApplySuggestion(c, {1002, QString(150, u'x'), {}});
        QCOMPARE(c.method, 1002);
        QCOMPARE(c.param1.size(), ParamCapacity);
        QCOMPARE(c.param2, QString());
    }

    void coverageCountsMaskedFindings()
    {
        TData data = shop();
        QVector<Finding> findings = ClassifyCatalogue(data);
        data[3].method = 1002;  // Email masked
        data[5].method = 0;     // Birth: "No mask" chosen
        const Coverage coverage = CoverageOf(data, findings);
        QCOMPARE(coverage.personal, 4); // Email, Notes, Birth, Card
        QCOMPARE(coverage.masked, 1);
        QCOMPARE(CoverageText(coverage), QStringLiteral("1 of 4 personal-data columns masked"));
    }

    // Values that plainly are of a kind tell it alone; shapes that many
    // values share only confirm or weaken the name.
    void weighsSampledValues()
    {
        const TColumnRec contact = col(QStringLiteral("dbo"), QStringLiteral("T"),
                                       QStringLiteral("Contact"), QStringLiteral("varchar"),
                                       QStringLiteral("100"));
        Finding f;
        AddValueEvidence(f, contact,
                         {QStringLiteral("a@example.org"), QStringLiteral("b@example.org"),
                          QStringLiteral(""), QStringLiteral("c@example.net"),
                          QStringLiteral("d@example.com")},
                         Today);
        QCOMPARE(f.category, Category::Email);
        QCOMPARE(f.evidence.first(), QStringLiteral("values: 4 of 4 e-mail addresses"));

        Finding codes;
        AddValueEvidence(codes, contact,
                         {QStringLiteral("10115"), QStringLiteral("80331"), QStringLiteral("50667")},
                         Today);
        QCOMPARE(codes.category, Category::None); // five digits alone prove nothing

        Finding phone = found(Category::Phone);
        AddValueEvidence(phone, contact,
                         {QStringLiteral("n/a"), QStringLiteral("none"), QStringLiteral("tbd"),
                          QStringLiteral("x")},
                         Today);
        QCOMPARE(phone.category, Category::Phone);
        QVERIFY(phone.confidence < 0.6);

        Finding few = found(Category::Phone);
        AddValueEvidence(few, contact, {QStringLiteral("+49 30 1234567"), QString()}, Today);
        QCOMPARE(few.confidence, 0.9);
        QCOMPARE(few.evidence.last(), QStringLiteral("values: too few to judge"));
    }

    void labelsOfTheServerStand()
    {
        TData data = shop();
        QVector<Finding> findings = ClassifyCatalogue(data);
        ApplyLabels(findings, data,
                    {{QStringLiteral("dbo"), QStringLiteral("Customer"), QStringLiteral("Id"),
                      QStringLiteral("Confidential"), QStringLiteral("Other")},
                     {QStringLiteral("dbo"), QStringLiteral("Customer"), QStringLiteral("Notes"),
                      QStringLiteral("Highly Confidential"), QStringLiteral("Credit Card")},
                     {QStringLiteral("DBO"), QStringLiteral("Customer"), QStringLiteral("Email"),
                      QStringLiteral("Public"), QStringLiteral("Contact Info")}});
        const auto at = [&](int slot) {
            return *std::find_if(findings.cbegin(), findings.cend(),
                                 [&](const Finding& f) { return f.slot == slot; });
        };
        QCOMPARE(at(2).category, Category::Other);
        QCOMPARE(at(2).label, QStringLiteral("Confidential"));
        QCOMPARE(at(4).category, Category::PaymentCard);
        QCOMPARE(at(4).evidence.first(),
                 QStringLiteral("label \"Highly Confidential\" (Credit Card)"));
        QVERIFY(at(3).label.isEmpty()); // another schema's column

        Finding labelled = at(4);
        AddValueEvidence(labelled, data.at(4),
                         {QStringLiteral("a@b.de"), QStringLiteral("c@d.de"),
                          QStringLiteral("e@f.de")},
                         Today);
        QCOMPARE(labelled.category, Category::PaymentCard);
    }

    void picksTablesByPattern_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QVector<int>>("columns");
        QTest::newRow("table name") << "customer" << QVector<int>{2, 3, 4, 5};
        QTest::newRow("qualified") << "sales.Order*" << QVector<int>{7, 8};
        QTest::newRow("blank inside") << "Order Lines" << QVector<int>{7, 8};
        QTest::newRow("schema does not match") << "hr.*" << QVector<int>{};
        QTest::newRow("list") << " Customer , sales.* " << QVector<int>{2, 3, 4, 5, 7, 8};
        QTest::newRow("regex characters are literal") << "Cust(omer)" << QVector<int>{};
    }

    void picksTablesByPattern()
    {
        QFETCH(QString, pattern);
        QFETCH(QVector<int>, columns);
        QCOMPARE(SlotsOfTables(shop(), pattern), columns);
    }

    void samplingQueryDelimitsEveryName()
    {
        const TData data = shop();
        QCOMPARE(SampleQuery(data, {7, 8}, 20),
                 QStringLiteral("select TOP (20) [Contact]]],[CardNumber] from [sales].[Order Lines]"));
        QCOMPARE(SampleQuery(data, {3}, 0), QStringLiteral("select TOP (1) [Email] from [dbo].[Customer]"));
        QCOMPARE(SampleQuery(data, {3}, 1000000),
                 QStringLiteral("select TOP (1000) [Email] from [dbo].[Customer]"));
        QVERIFY(!IsSampled(data.at(4))); // nvarchar(max)
    }

    // A table that cannot be read, and a server without labels, leave the
    // rest of the work done.
    void discoveryGoesOnPastWhatItCannotRead()
    {
        test::FakeServer server;
        server.fail(QStringLiteral("sensitivity_classifications"),
                    QStringLiteral("VIEW ANY SENSITIVITY CLASSIFICATION permission denied"));
        server.fail(QStringLiteral("from [sales].[Order Lines]"),
                    QStringLiteral("The SELECT permission was denied on the object 'Order Lines'"));
        server.answer(QStringLiteral("from [dbo].[Customer]"),
                      test::makeRows({QStringLiteral("Id"), QStringLiteral("Email"),
                                      QStringLiteral("Birth")},
                                     {{QStringLiteral("1"), QStringLiteral("a@example.org"),
                                       QStringLiteral("1970-01-01")},
                                      {QStringLiteral("2"), QStringLiteral("b@example.org"),
                                       QStringLiteral("1981-03-04")},
                                      {QStringLiteral("3"), QStringLiteral("c@example.org"),
                                       QStringLiteral("1999-12-31")}}));
        auto connection = server.connect();
        QVERIFY(connection->open(QStringLiteral("x")).ok());
        const TData data = shop();
        DiscoveryRequest request;
        request.sampleSlots = {2, 3, 4, 5, 7, 8};
        request.sampleRows = 5;
        request.today = Today;
        const DiscoveryReport report = Discover(data, connection.get(), request);
        QCOMPARE(report.notes.size(), 2);
        QVERIFY(report.notes.at(0).startsWith(u"Sensitivity labels not read: VIEW ANY"));
        QCOMPARE(report.notes.at(1),
                 QStringLiteral("sales.Order Lines: values not read: The SELECT permission was "
                                "denied on the object 'Order Lines'"));
        const QStringList sent = server.sent.mid(1);
        QCOMPARE(sent, QStringList({QStringLiteral("select TOP (5) [Id],[Email],[Birth] from "
                                                   "[dbo].[Customer]"),
                                    QStringLiteral("select TOP (5) [Contact]]],[CardNumber] from "
                                                   "[sales].[Order Lines]")}));
        const Finding& birth = report.findings.at(2);
        QCOMPARE(birth.slot, 5);
        QCOMPARE(birth.category, Category::BirthDate);
        QCOMPARE(birth.evidence.first(), QStringLiteral("values: 3 of 3 birth dates"));
    }
};

QTEST_GUILESS_MAIN(TestDiscovery)
#include "test_discovery.moc"
