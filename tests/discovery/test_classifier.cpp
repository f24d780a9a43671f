#include "discovery/classifier.h"
#include "tests/discovery/labelledschema.h"

#include <QTest>

using namespace corvane;
using namespace corvane::discovery;

namespace {

// "nvarchar(50)", "nvarchar(max)", "int pk", "int fk" as a slot of `stab`.
TColumnRec column(const QString& stab, const QString& col, const QString& type)
{
    TColumnRec rec;
    rec.stab = stab;
    rec.schema = stab.section(u'.', 0, 0);
    rec.tab = stab.section(u'.', 1);
    rec.col = col;
    QStringList parts = type.split(u' ');
    QString typ = parts.takeFirst();
    if (const qsizetype open = typ.indexOf(u'('); open > 0) {
        const QString length = typ.mid(open + 1, typ.size() - open - 2);
        rec.char_max = length == u"max" ? QStringLiteral("-1") : length;
        typ.truncate(open);
        if (!typ.contains(u"char"))
            rec.char_max.clear(); // decimal(12,2) and the like
    }
    rec.typ = typ;
    rec.isnull = QStringLiteral("YES");
    if (parts.contains(u"pk"))
        rec.PK = col;
    if (parts.contains(u"fk")) {
        rec.PK_schema = rec.schema;
        rec.PK_table = QStringLiteral("Other");
        rec.PK_column = QStringLiteral("Id");
    }
    rec.method = NoMethodYet;
    return rec;
}

QString categoryOf(const QString& stab, const QString& col, const QString& type)
{
    return CategoryKey(Classifier::instance().classify(column(stab, col, type)).category);
}

} // namespace

class TestClassifier : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void splitsIdentifiersIntoWords_data()
    {
        QTest::addColumn<QString>("identifier");
        QTest::addColumn<QStringList>("words");
        const auto w = [](std::initializer_list<const char*> list) {
            QStringList out;
            for (const char* s : list)
                out << QString::fromLatin1(s);
            return out;
        };
        QTest::newRow("camel") << "customerFirstName" << w({"customer", "first", "name"});
        QTest::newRow("pascal") << "FirstName" << w({"first", "name"});
        QTest::newRow("underscores") << "first__name_" << w({"first", "name"});
        QTest::newRow("capitals") << "SSN" << w({"ssn"});
        QTest::newRow("acronym then word") << "IPAddress" << w({"ip", "address"});
        QTest::newRow("single capital") << "EMailAddress" << w({"e", "mail", "address"});
        QTest::newRow("digits") << "AddressLine2" << w({"address", "line", "2"});
        QTest::newRow("hungarian") << "strVorName" << w({"str", "vor", "name"});
        QTest::newRow("sharp s") << "Straße" << w({"strasse"});
        QTest::newRow("accents") << "Prénom Dirección" << w({"prenom", "direccion"});
        QTest::newRow("other script") << "имя_name" << w({"name"});
        QTest::newRow("empty") << "" << QStringList();
    }

    void splitsIdentifiersIntoWords()
    {
        QFETCH(QString, identifier);
        QFETCH(QStringList, words);
        const Words split = SplitWords(identifier);
        QStringList got;
        for (int i = 0; i < split.count(); ++i)
            got << QString::fromLatin1(split.word(i));
        QCOMPARE(got, words);
    }

    // The same data under the names of five languages and the spellings of
    // real schemas: case, underscores, camel case, prefixes, compounds.
    void readsNamesInFiveLanguages_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("col");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("category");

        const struct
        {
            const char* table;
            const char* col;
            const char* type;
            const char* category;
        } rows[] = {
            {"dbo.Users", "FIRST_NAME", "varchar(40)", "person-name"},
            {"dbo.Users", "firstname", "varchar(40)", "person-name"},
            {"dbo.Users", "cust_first_name", "varchar(40)", "person-name"},
            {"dbo.Users", "strLastName", "varchar(40)", "person-name"},
            {"dbo.Kunden", "VorName", "nvarchar(40)", "person-name"},
            {"dbo.Kunden", "kunde_nachname", "nvarchar(40)", "person-name"},
            {"dbo.Clients", "prénom", "nvarchar(40)", "person-name"},
            {"dbo.Clientes", "primer_apellido", "nvarchar(40)", "person-name"},
            {"dbo.Klanten", "achter_naam", "nvarchar(40)", "person-name"},
            {"dbo.Orders", "customer_name", "nvarchar(80)", "person-name"},
            {"dbo.Contacts", "Name", "nvarchar(80)", "person-name"},
            {"dbo.Commandes", "nom_client", "nvarchar(80)", "person-name"},
            {"dbo.Pedidos", "nombre_cliente", "nvarchar(80)", "person-name"},
            {"dbo.Users", "e_mail", "varchar(100)", "e-mail"},
            {"dbo.Users", "EMailAdresse", "varchar(100)", "e-mail"},
            {"dbo.Clients", "adresse_courriel", "varchar(100)", "e-mail"},
            {"dbo.Clientes", "correo", "varchar(100)", "e-mail"},
            {"dbo.Users", "mail", "varchar(100)", "e-mail"},
            {"dbo.Users", "tel", "varchar(20)", "phone"},
            {"dbo.Kunden", "TelefonNr", "varchar(20)", "phone"},
            {"dbo.Kunden", "Handy", "varchar(20)", "phone"},
            {"dbo.Clients", "tel_portable", "varchar(20)", "phone"},
            {"dbo.Clientes", "telefono_movil", "varchar(20)", "phone"},
            {"dbo.Klanten", "mobiel_nummer", "varchar(20)", "phone"},
            {"dbo.Users", "phone_number", "bigint", "phone"},
            {"dbo.Users", "street", "nvarchar(80)", "address"},
            {"dbo.Kunden", "Straße", "nvarchar(80)", "address"},
            {"dbo.Kunden", "Hauptstrasse", "nvarchar(80)", "address"},
            {"dbo.Clients", "rue", "nvarchar(80)", "address"},
            {"dbo.Clientes", "calle", "nvarchar(80)", "address"},
            {"dbo.Klanten", "straatnaam", "nvarchar(80)", "address"},
            {"dbo.Users", "zip", "char(5)", "postal-code"},
            {"dbo.Users", "zip", "int", "postal-code"},
            {"dbo.Kunden", "Plz", "char(5)", "postal-code"},
            {"dbo.Klanten", "post_code", "char(7)", "postal-code"},
            {"dbo.Users", "birth_date", "date", "birth-date"},
            {"dbo.Users", "DOB", "datetime", "birth-date"},
            {"dbo.Users", "dob", "varchar(10)", "birth-date"},
            {"dbo.Kunden", "geburtsdatum", "date", "birth-date"},
            {"dbo.Clients", "date_de_naissance", "date", "birth-date"},
            {"dbo.Clientes", "fecha_de_nacimiento", "datetime2", "birth-date"},
            {"dbo.Klanten", "geboorte_datum", "date", "birth-date"},
            {"dbo.Kunden", "Geburtsort", "nvarchar(50)", "city"},
            {"dbo.Users", "place_of_birth", "nvarchar(50)", "city"},
            {"dbo.Users", "ssn", "char(11)", "national-id"},
            {"dbo.Users", "nin", "char(9)", "national-id"},
            {"dbo.Kunden", "SteuerNr", "varchar(20)", "tax-id"},
            {"dbo.Users", "iban", "varchar(34)", "bank-account"},
            {"dbo.Users", "bic", "varchar(11)", "bank-account"},
            {"dbo.Users", "kontonummer", "varchar(20)", "bank-account"},
            {"dbo.Users", "card_pan", "char(16)", "payment-card"},
            {"dbo.Users", "credit_card_no", "varchar(19)", "payment-card"},
            {"dbo.Users", "ip", "varchar(45)", "ip-address"},
            {"dbo.Users", "ip_address", "varchar(45)", "ip-address"},
            {"dbo.Users", "last_login_ip", "varchar(45)", "ip-address"},
            // Words that hold the stems of personal data and are none.
            {"dbo.Users", "ship_date", "date", "-"},
            {"dbo.Users", "company", "varchar(50)", "-"},
            {"dbo.Users", "ethnicity", "varchar(50)", "-"},
            {"dbo.Users", "hotel", "varchar(50)", "-"},
            {"dbo.Users", "report", "varchar(50)", "-"},
            {"dbo.Users", "email_id", "int", "-"},
            {"dbo.Users", "phone_type", "varchar(10)", "-"},
            {"dbo.Users", "is_email_verified", "bit", "-"},
            {"dbo.Users", "address_id", "int", "-"},
            {"dbo.Users", "birth_date", "bit", "-"},
            {"dbo.Users", "mac_address", "char(17)", "-"},
            {"dbo.Users", "user_name", "varchar(50)", "-"},
            {"dbo.Products", "name", "varchar(50)", "-"},
            {"dbo.Products", "nombre", "varchar(50)", "-"},
            {"dbo.Produits", "nom_produit", "varchar(50)", "-"},
            {"dbo.Customers", "company_name", "varchar(50)", "-"},
            {"dbo.Users", "notes", "varchar(20)", "-"},
            {"dbo.Users", "zip", "varbinary(20)", "-"},
        };
        for (const auto& r : rows)
            QTest::addRow("%s.%s %s", r.table, r.col, r.type)
                << QString::fromUtf8(r.table) << QString::fromUtf8(r.col)
                << QString::fromUtf8(r.type) << QString::fromUtf8(r.category);
    }

    void readsNamesInFiveLanguages()
    {
        QFETCH(QString, table);
        QFETCH(QString, col);
        QFETCH(QString, type);
        QFETCH(QString, category);
        const QString got = categoryOf(table, col, type);
        QCOMPARE(got == u"none" ? QStringLiteral("-") : got, category);
    }

    void keysThatPointElsewhereAreNoFinding()
    {
        QCOMPARE(categoryOf(QStringLiteral("dbo.Users"), QStringLiteral("Email"),
                            QStringLiteral("nvarchar(100) fk")),
                 QStringLiteral("none"));
        QCOMPARE(categoryOf(QStringLiteral("dbo.Users"), QStringLiteral("Email"),
                            QStringLiteral("nvarchar(100) pk")),
                 QStringLiteral("e-mail"));
    }

    void findingCarriesEvidence()
    {
        const Finding f = Classifier::instance().classify(
            column(QStringLiteral("verw.Kunde"), QStringLiteral("Name"),
                   QStringLiteral("nvarchar(100)")));
        QCOMPARE(f.category, Category::PersonName);
        QVERIFY(f.confidence >= 0.5 && f.confidence <= 1.0);
        QCOMPARE(f.evidence,
                 QStringList({QStringLiteral("name \"name\" (en)"),
                              QStringLiteral("table \"Kunde\" holds people"),
                              QStringLiteral("type nvarchar(100)")}));
    }

    // Precision and recall by names and types alone over a labelled schema.
    void measuresPrecisionAndRecall()
    {
        int columns = 0;
        int truePositives = 0;
        int falsePositives = 0;
        int falseNegatives = 0;
        int sameCategory = 0;
        QStringList misses;
        const QStringList lines = QString::fromUtf8(LabelledSchema).split(u'\n', Qt::SkipEmptyParts);
        for (const QString& line : lines) {
            const QStringList f = line.split(u'|');
            QCOMPARE(f.size(), 4);
            ++columns;
            const QString got = categoryOf(f[0], f[1], f[2]);
            const bool expected = f[3] != u"-";
            const bool found = got != u"none";
            if (expected && found) {
                ++truePositives;
                if (got == f[3])
                    ++sameCategory;
                else
                    misses << line + u" as " + got;
            } else if (found) {
                ++falsePositives;
                misses << line + u" found as " + got;
            } else if (expected) {
                ++falseNegatives;
                misses << line + u" missed";
            }
        }
        const double precision = double(truePositives) / (truePositives + falsePositives);
        const double recall = double(truePositives) / (truePositives + falseNegatives);
        const double agreement = double(sameCategory) / truePositives;
        qInfo("%d columns, %d personal: precision %.3f, recall %.3f, same category %.3f", columns,
              truePositives + falseNegatives, precision, recall, agreement);
        for (const QString& m : misses)
            qInfo("  %s", qUtf8Printable(m));
        QVERIFY(columns >= 150);
        QVERIFY2(recall >= 0.95, qPrintable(QString::number(recall)));
        QVERIFY2(precision >= 0.9, qPrintable(QString::number(precision)));
        QVERIFY2(agreement >= 0.95, qPrintable(QString::number(agreement)));
    }
};

QTEST_APPLESS_MAIN(TestClassifier)
#include "test_classifier.moc"
