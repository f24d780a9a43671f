#include "catalogue/consttypes.h"
#include "catalogue/textconv.h"
#include "tests/support/testlocale.h"

#include <QTest>

using namespace corvane;

class TestConstTypes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::useTestLocale(); }

    void typeCategory_data()
    {
        QTest::addColumn<QString>("typ");
        QTest::addColumn<int>("category");
        QTest::newRow("int") << QStringLiteral("int") << 1;
        QTest::newRow("INT in capitals") << QStringLiteral("INT") << 0;
        QTest::newRow("int with a blank") << QStringLiteral("int ") << 0;
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("decimal") << QStringLiteral("decimal") << 1;
        QTest::newRow("integer") << QStringLiteral("integer") << 1;
        QTest::newRow("bigint") << QStringLiteral("bigint") << 1;
        QTest::newRow("tinyint") << QStringLiteral("tinyint") << 1;
        QTest::newRow("smallint") << QStringLiteral("smallint") << 0;
        QTest::newRow("datetime") << QStringLiteral("datetime") << 2;
        QTest::newRow("smalldatetime") << QStringLiteral("smalldatetime") << 2;
        QTest::newRow("date") << QStringLiteral("date") << 0;
        QTest::newRow("float") << QStringLiteral("float") << 3;
        QTest::newRow("real") << QStringLiteral("real") << 3;
        QTest::newRow("money") << QStringLiteral("money") << 3;
        QTest::newRow("numeric") << QStringLiteral("numeric") << 3;
        QTest::newRow("varchar") << QStringLiteral("varchar") << 4;
        QTest::newRow("nchar") << QStringLiteral("nchar") << 4;
        QTest::newRow("string") << QStringLiteral("string") << 4;
        QTest::newRow("nvarchar") << QStringLiteral("nvarchar") << 0;
        QTest::newRow("char") << QStringLiteral("char") << 0;
        QTest::newRow("uniqueidentifier") << QStringLiteral("uniqueidentifier") << 0;
    }
    void typeCategory()
    {
        QFETCH(QString, typ);
        QFETCH(int, category);
        QCOMPARE(int(GetTypeCategory(typ)), category);
    }

    void methodName_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("name");
        const QList<std::pair<int, const char*>> names = {
            {-1, "No mask"},
            {0, "No mask"},
            {100, "No mask"},
            {1000, "No mask"},
            {1006, "No mask"},
            {2000, "No mask"},
            {5000, "No mask"},
            {10, "No mask"},
            {3000, "No mask"},
            {1, "Constant value datetime"},
            {2, "Noise interval datetime"},
            {3, "Shuffle datetime"},
            {4, "Random  interval datetime"},
            {5, "Constant value datetime Foreign Key"},
            {6, "Noise interval datetime Foreign Key"},
            {7, "Shuffle datetime Foreign Key"},
            {8, "Random interval datetime Foreign Key"},
            {9, "NULL datetime"},
            {101, "Constant value integer"},
            {102, "Noise interval integer"},
            {103, "Random interval integer"},
            {104, "Shuffle integer"},
            {105, "Constant value integer Foreign Key"},
            {106, "Noise interval integer Foreign Key"},
            {107, "Random interval integer Foreign Key"},
            {108, "Shuffle integer Foreign Key"},
            {109, "NULL integer"},
            {1001, "Constant value varchar"},
            {1002, "User defined text with same length varchar"},
            {1003, "Lorem Ipsum random length interval varchar"},
            {1004, "Shuffle varchar"},
            {1005, "Constant value varchar Foreign Key"},
            {1007, "Virtual data"},
            {1008, "Shuffle varchar Foreign Key"},
            {1009, "NULL varchar"},
            {2001, "Constant value float"},
            {2002, "Noise interval float"},
            {2003, "Random interval float"},
            {2004, "Shuffle float"},
            {2005, "Constant value float Foreign Key"},
            {2006, "Noise interval float Foreign Key"},
            {2007, "Random interval float Foreign Key "},
            {2008, "Shuffle float Foreign Key"},
            {2009, "NULL float"},
        };
        for (const auto& [code, name] : names)
            QTest::newRow(QByteArray::number(code).constData()) << code << QString::fromLatin1(name);
    }
    void methodName()
    {
        QFETCH(int, code);
        QFETCH(QString, name);
        QCOMPARE(GetMethodName(code), name);
    }

    void constants()
    {
        QCOMPARE(LoremText.size(), 124);
        QCOMPARE(DefaultSeed, 1);
        QCOMPARE(ForeignKeyHint, 1);
    }

    void emptySlot()
    {
        TData data;
        data.resize(3);
        QVERIFY(data[2].stab.isEmpty() && data[2].param2.isEmpty());
        QCOMPARE(data[2].method, 0);
    }

    // Names keep their whole text; the parameters keep at most 100 characters.
    void capacities()
    {
        TColumnRec rec;
        rec.stab = QStringLiteral("dbo.A_very_long_table_name_indeed");
        QCOMPARE(rec.stab.size(), 33);
        rec.setParam1(QString(150, u'x'));
        QCOMPARE(rec.param1.size(), 100);
        rec.setParam2(QStringLiteral("short"));
        QCOMPARE(rec.param2, QStringLiteral("short"));
    }

    void metadataQueryShape()
    {
        const QString q = GetMetadataQuery();
        QVERIFY(q.startsWith(QStringLiteral("select \r\n\ttab= ta.table_name, \r\n")));
        QVERIFY(!q.endsWith(QStringLiteral("\r\n")));
        QVERIFY(q.endsWith(QStringLiteral("order by 1,3,co.ordinal_position ")));
        // Each join names the schema next to the table.
        QVERIFY(q.contains(QStringLiteral("ta.table_schema=co.table_schema")));
        QVERIFY(q.contains(QStringLiteral("Fkeys.k_schema=ta.table_schema")));
        QVERIFY(q.contains(QStringLiteral("Pkeys.table_schema=ta.table_schema")));
        for (const QString& line : q.split(QStringLiteral("\r\n")))
            QVERIFY2(line.endsWith(u' '), qPrintable(line));
    }

    void strToInt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << QStringLiteral("42") << true << 42;
        QTest::newRow("negative") << QStringLiteral("-17") << true << -17;
        QTest::newRow("max") << QStringLiteral("2147483647") << true << 2147483647;
        QTest::newRow("min") << QStringLiteral("-2147483648") << true << int(INT32_MIN);
        QTest::newRow("over max") << QStringLiteral("2147483648") << false << 0;
        QTest::newRow("double minus") << QStringLiteral("--5") << false << 0;
        QTest::newRow("lone minus") << QStringLiteral("-") << false << 0;
        QTest::newRow("minus after digit") << QStringLiteral("5-") << false << 0;
        QTest::newRow("empty") << QString() << false << 0;
        QTest::newRow("huge") << QStringLiteral("99999999999999999999") << false << 0;
    }
    void strToInt()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, value);
        const auto result = StrToInt(text);
        QCOMPARE(result.ok(), valid);
        if (valid)
            QCOMPARE(*result, value);
        else
            QCOMPARE(result.error().message,
                     QStringLiteral("'%1' is not a valid integer value").arg(text));
    }

    // Short formats with a two-digit year must still write and read four digits.
    void dateText_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("en_US") << QStringLiteral("en_US") << QDate(2030, 12, 31) << QStringLiteral("12/31/2030");
        QTest::newRow("de_DE") << QStringLiteral("de_DE") << QDate(2030, 12, 31) << QStringLiteral("31.12.2030");
        QTest::newRow("en_GB") << QStringLiteral("en_GB") << QDate(1999, 1, 2) << QStringLiteral("02/01/1999");
    }
    void dateText()
    {
        QFETCH(QString, locale);
        QFETCH(QDate, date);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(DateToText(date), text);
        const auto back = TextToDate(text);
        QVERIFY(back.ok());
        QCOMPARE(*back, date);
        test::useTestLocale();
    }

    // Besides the short format, yyyy-MM-dd reads under every locale; a date
    // that reads in neither names where it came from when it is a parameter.
    void dateReading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::newRow("short") << QStringLiteral(" 12/8/1950 ") << QDate(1950, 12, 8);
        QTest::newRow("iso") << QStringLiteral("1950-12-08") << QDate(1950, 12, 8);
        QTest::newRow("iso leap day") << QStringLiteral("2024-02-29") << QDate(2024, 2, 29);
        QTest::newRow("iso no such day") << QStringLiteral("2023-02-29") << QDate();
        QTest::newRow("iso unpadded") << QStringLiteral("1950-12-8") << QDate();
        QTest::newRow("other locale") << QStringLiteral("31.12.2030") << QDate();
        QTest::newRow("empty") << QString() << QDate();
    }
    void dateReading()
    {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        TColumnRec slot;
        slot.stab = QStringLiteral("dbo.Person");
        slot.col = QStringLiteral("Birthdate");
        const auto result = ParamToDate(slot, text);
        QCOMPARE(result.ok(), date.isValid());
        if (date.isValid())
            QCOMPARE(*result, date);
        else
            QCOMPARE(result.error().message,
                     QStringLiteral("'%1' is not a valid date (table dbo.Person, column Birthdate)")
                         .arg(text));
    }

    void fileDates()
    {
        QCOMPARE(DateToFileText(QDate(987, 3, 4)), QStringLiteral("0987-03-04"));
        QCOMPARE(FileTextToParam(QStringLiteral("0987-03-04")), QStringLiteral("3/4/0987"));
        QCOMPARE(FileTextToParam(QStringLiteral("2030-12-31")), QStringLiteral("12/31/2030"));
        QCOMPARE(FileTextToParam(QStringLiteral("12/31/2030")), QStringLiteral("12/31/2030"));
        QCOMPARE(FileTextToParam(QStringLiteral("2030-12-31 ")), QStringLiteral("2030-12-31 "));
    }
};

QTEST_GUILESS_MAIN(TestConstTypes)
#include "test_consttypes.moc"
