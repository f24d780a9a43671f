// Inputs that the fuzz targets found to fail, kept as regular tests.
#include "db/connectionstring.h"
#include "db/odbcconnection.h"
#include "tests/support/testlocale.h"

#include <QTest>

using namespace corvane;

class TestFuzzFindings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::useTestLocale(); }

    // A value whose first non-blank character is a quote was inserted bare;
    // reading the string back skips the blanks, takes the quote as the start
    // of a quoted value and finds no end, so the login could never connect.
    void dialogStringsTranslate_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("typed"); // the value that must reach the ODBC string whole

        QTest::newRow("password: blank, then a quote")
            << "db1" << "Shop" << "op" << " \"pa ss" << " \"pa ss";
        QTest::newRow("password: blanks, then an apostrophe")
            << "db1" << "Shop" << "op" << "  'x'" << "  'x'";
        QTest::newRow("database: blank, then a quote")
            << "db1" << " \"Shop" << "op" << "pw" << " \"Shop";
        // As found by the fuzzer (invalid UTF-8 read as replacement characters).
        QTest::newRow("found: server") << QString::fromUtf8(" \"\xb6" "e=\"ra`") << "%"
                                       << QString::fromUtf8("%lBl= =") << QString() << QString();
        QTest::newRow("found: database")
            << "dD=;6" << QString::fromUtf8(" \"\xa7\xb6" "33\xb6\xff\xff\xff\xff\xff\x14\xff\xff")
            << " T&erc" << QString() << QString();
    }

    void dialogStringsTranslate()
    {
        QFETCH(QString, server);
        QFETCH(QString, database);
        QFETCH(QString, login);
        QFETCH(QString, password);
        QFETCH(QString, typed);
        const QString built =
            db::BuildConnectionString({server, database, login, password}, QStringLiteral("WS1"));
        const Result<QString> odbc = db::ToOdbcConnectionString(built, QStringLiteral("FreeTDS"));
        QVERIFY2(odbc.ok(), qPrintable(odbc.ok() ? QString() : odbc.error().message));
        if (!typed.isEmpty())
            QVERIFY2(odbc->contains(typed), qPrintable(*odbc));
    }
};

QTEST_GUILESS_MAIN(TestFuzzFindings)
#include "test_fuzzfindings.moc"
