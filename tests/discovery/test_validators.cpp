#include "discovery/validators.h"

#include <QTest>

using namespace corvane::discovery;

namespace {

const QDate Today(2026, 12, 8);

} // namespace

// Each check with values it must take and near misses it must refuse.
class TestValidators : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void checks_data()
    {
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("passes");
        const auto row = [](const char* check, const char* value, bool passes) {
            QTest::addRow("%s '%s'", check, value)
                << QString::fromLatin1(check) << QString::fromUtf8(value) << passes;
        };
        row("email", "anna.muller@example.de", true);
        row("email", " o'brien+news@mail.example.co.uk ", true);
        row("email", "anna.muller@example", false);    // no top-level domain
        row("email", "anna..muller@example.de", false); // two dots
        row("email", "anna muller@example.de", false);
        row("email", "@example.de", false);
        row("email", "anna@-example.de", false);
        row("email", "anna@example.d3", false);

        row("iban", "DE89370400440532013000", true);
        row("iban", "DE89 3704 0044 0532 0130 00", true);
        row("iban", "GB82WEST12345698765432", true);
        row("iban", "NL91ABNA0417164300", true);
        row("iban", "fr1420041010050500013m02606", true);
        row("iban", "DE89370400440532013001", false); // one digit wrong
        row("iban", "DE88370400440532013000", false); // check digits wrong
        row("iban", "DE8937040044053201300", false);  // too short for Germany
        row("iban", "DE89-3704-0044-0532-0130-00", false);

        row("card", "4111111111111111", true);
        row("card", "4111 1111 1111 1111", true);
        row("card", "5500-0000-0000-0004", true);
        row("card", "378282246310005", true);
        row("card", "4111111111111112", false); // fails Luhn
        row("card", "411111111111", false);     // too few digits
        row("card", "0000000000000000", false);
        row("card", "4111.1111.1111.1111", false);

        row("ip", "192.168.0.1", true);
        row("ip", "0.0.0.0", true);
        row("ip", "2001:db8::1", true);
        row("ip", "::1", true);
        row("ip", "fe80:0:0:0:202:b3ff:fe1e:8329", true);
        row("ip", "::ffff:192.0.2.128", true);
        row("ip", "256.1.1.1", false);
        row("ip", "192.168.01.1", false);
        row("ip", "192.168.1", false);
        row("ip", "2001:db8::1::2", false);
        row("ip", "2001:db8:0:0:0:0:0:0:1", false);
        row("ip", "12345::1", false);

        row("phone", "+49 30 1234567", true);
        row("phone", "0049 (0)30 123 45 67", true);
        row("phone", "030/1234567", true);
        row("phone", "555-123-4567", true);
        row("phone", "(020) 555 0199", true);
        row("phone", "12345", false);
        row("phone", "2024-01-31", false);
        row("phone", "31.01.2024", false);
        row("phone", "1234567890123456", false);
        row("phone", "0000000000", false);
        row("phone", "call 0301234567", false);

        row("postal", "10115", true);
        row("postal", "1017 AB", true);
        row("postal", "1017AB", true);
        row("postal", "SW1A 1AA", true);
        row("postal", "90210-1234", true);
        row("postal", "K1A 0B1", true);
        row("postal", "123", false);
        row("postal", "0123 AB", false);
        row("postal", "ABCDE", false);

        row("birth", "1980-05-17", true);
        row("birth", "1980-05-17 00:00:00.000", true);
        row("birth", "17.05.1980", true);
        row("birth", "17/05/1980", true);
        row("birth", "19800517", true);
        row("birth", "1980-05-17 14:32:10.123", false); // an event, not a birth
        row("birth", "2027-01-01", false);              // in the future
        row("birth", "1890-01-01", false);              // too long ago
        row("birth", "1980-02-30", false);
    }

    void checks()
    {
        QFETCH(QString, check);
        QFETCH(QString, value);
        QFETCH(bool, passes);
        bool got = false;
        if (check == u"email")
            got = IsEmailAddress(value);
        else if (check == u"iban")
            got = IsIban(value);
        else if (check == u"card")
            got = IsPaymentCard(value);
        else if (check == u"ip")
            got = IsIpv4Address(value) || IsIpv6Address(value);
        else if (check == u"phone")
            got = IsPhoneNumber(value);
        else if (check == u"postal")
            got = IsPostalCode(value);
        else if (check == u"birth")
            got = IsBirthDate(value, Today);
        QCOMPARE(got, passes);
    }
};

QTEST_APPLESS_MAIN(TestValidators)
#include "test_validators.moc"
