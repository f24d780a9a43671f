#include "discovery/validators.h"

#include <QHash>
#include <QRegularExpression>
#include <QTime>

namespace corvane::discovery {

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isHex(QChar c)
{
    return isAsciiDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// The digits of a number written with blanks or dashes between groups; empty
// when anything else stands in it.
QString groupedDigits(const QString& value)
{
    QString digits;
    for (const QChar c : value) {
        if (isAsciiDigit(c))
            digits += c;
        else if (c != u' ' && c != u'-')
            return {};
    }
    return digits;
}

} // namespace

bool IsEmailAddress(const QString& value)
{
    const QString text = value.trimmed();
    if (text.size() > 254)
        return false;
    const qsizetype at = text.lastIndexOf(u'@');
    if (at <= 0 || at > 64 || at == text.size() - 1)
        return false;
    static const QString localChars = QStringLiteral("!#$%&'*+/=?^_`{|}~.-");
    const QString local = text.left(at);
    if (local.startsWith(u'.') || local.endsWith(u'.') || local.contains(QStringLiteral("..")))
        return false;
    for (const QChar c : local)
        if (!isAsciiDigit(c) && !isAsciiLetter(c) && !localChars.contains(c))
            return false;
    const QStringList labels = text.mid(at + 1).split(u'.');
    if (labels.size() < 2)
        return false;
    for (const QString& label : labels) {
        if (label.isEmpty() || label.size() > 63 || label.startsWith(u'-') ||
            label.endsWith(u'-'))
            return false;
        for (const QChar c : label)
            if (!isAsciiDigit(c) && !isAsciiLetter(c) && c != u'-')
                return false;
    }
    const QString& tld = labels.last();
    if (tld.size() < 2)
        return false;
    for (const QChar c : tld)
        if (!isAsciiLetter(c))
            return false;
    return true;
}

bool IsIban(const QString& value)
{
    static const QHash<QString, int> lengths = {
        {QStringLiteral("AT"), 20}, {QStringLiteral("BE"), 16}, {QStringLiteral("CH"), 21},
        {QStringLiteral("CZ"), 24}, {QStringLiteral("DE"), 22}, {QStringLiteral("DK"), 18},
        {QStringLiteral("ES"), 24}, {QStringLiteral("FI"), 18}, {QStringLiteral("FR"), 27},
        {QStringLiteral("GB"), 22}, {QStringLiteral("IE"), 22}, {QStringLiteral("IT"), 27},
        {QStringLiteral("LI"), 21}, {QStringLiteral("LU"), 20}, {QStringLiteral("MC"), 27},
        {QStringLiteral("NL"), 18}, {QStringLiteral("NO"), 15}, {QStringLiteral("PL"), 28},
        {QStringLiteral("PT"), 25}, {QStringLiteral("SE"), 24},
    };
    QString iban;
    for (const QChar c : value) {
        if (c == u' ')
            continue;
        if (!isAsciiDigit(c) && !isAsciiLetter(c))
            return false;
        iban += c.toUpper();
    }
    if (iban.size() < 15 || iban.size() > 34)
        return false;
    if (!isAsciiLetter(iban[0]) || !isAsciiLetter(iban[1]) || !isAsciiDigit(iban[2]) ||
        !isAsciiDigit(iban[3]))
        return false;
    const int expected = lengths.value(iban.left(2), 0);
    if (expected != 0 && iban.size() != expected)
        return false;
    // The country code and check digits go to the end; letters count as 10..35.
    const QString moved = iban.mid(4) + iban.left(4);
    int remainder = 0;
    for (const QChar c : moved) {
        if (isAsciiDigit(c)) {
            remainder = (remainder * 10 + (c.unicode() - u'0')) % 97;
        } else {
            const int n = c.unicode() - u'A' + 10;
            remainder = (remainder * 100 + n) % 97;
        }
    }
    return remainder == 1;
}

bool IsPaymentCard(const QString& value)
{
    const QString digits = groupedDigits(value.trimmed());
    if (digits.size() < 13 || digits.size() > 19)
        return false;
    if (digits.count(digits.at(0)) == digits.size())
        return false; // 0000 0000 0000 0000 passes the sum and is no card
    int sum = 0;
    bool twice = false;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        int d = digits.at(i).unicode() - u'0';
        if (twice) {
            d *= 2;
            if (d > 9)
                d -= 9;
        }
        sum += d;
        twice = !twice;
    }
    return sum % 10 == 0;
}

bool IsIpv4Address(const QString& value)
{
    const QStringList parts = value.trimmed().split(u'.');
    if (parts.size() != 4)
        return false;
    for (const QString& part : parts) {
        if (part.isEmpty() || part.size() > 3 || (part.size() > 1 && part.startsWith(u'0')))
            return false;
        for (const QChar c : part)
            if (!isAsciiDigit(c))
                return false;
        if (part.toInt() > 255)
            return false;
    }
    return true;
}

bool IsIpv6Address(const QString& value)
{
    QString text = value.trimmed();
    if (text.isEmpty() || text.count(QStringLiteral("::")) > 1 || text.contains(QStringLiteral(":::")))
        return false;
    int groupsNeeded = 8;
    // An IPv4 address may stand for the last two groups ("::ffff:192.0.2.1").
    const qsizetype lastColon = text.lastIndexOf(u':');
    if (lastColon >= 0 && text.indexOf(u'.', lastColon) > lastColon) {
        if (!IsIpv4Address(text.mid(lastColon + 1)))
            return false;
        text = text.left(lastColon + 1) + QStringLiteral("0");
        groupsNeeded = 7;
    }
    const bool compressed = text.contains(QStringLiteral("::"));
    QString body = text;
    if (compressed) {
        if (body == u"::")
            return groupsNeeded == 8;
        body.replace(QStringLiteral("::"), QStringLiteral(":*:"));
        if (body.startsWith(u':'))
            body.remove(0, 1);
        if (body.endsWith(u':'))
            body.chop(1);
    }
    const QStringList groups = body.split(u':');
    int count = 0;
    for (const QString& group : groups) {
        if (group == u"*")
            continue;
        if (group.isEmpty() || group.size() > 4)
            return false;
        for (const QChar c : group)
            if (!isHex(c))
                return false;
        ++count;
    }
    return compressed ? count < groupsNeeded : count == groupsNeeded;
}

bool IsPhoneNumber(const QString& value)
{
    const QString text = value.trimmed();
    if (text.isEmpty())
        return false;
    QString digits;
    int separators = 0;
    int parens = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isAsciiDigit(c)) {
            digits += c;
        } else if (c == u'+') {
            if (i != 0)
                return false;
        } else if (c == u' ' || c == u'-' || c == u'.' || c == u'/') {
            ++separators;
        } else if (c == u'(' || c == u')') {
            ++parens;
        } else {
            return false;
        }
    }
    if (digits.size() < 7 || digits.size() > 15 || parens % 2 != 0)
        return false;
    // 2024-01-31, 31.01.2024, 12/05/1980: dates, not numbers to call.
    static const QRegularExpression date(
        QStringLiteral(R"(^(\d{4}[-./]\d{1,2}[-./]\d{1,2}|\d{1,2}[-./]\d{1,2}[-./]\d{2,4})$)"));
    if (date.match(text).hasMatch())
        return false;
    if (digits.count(digits.at(0)) == digits.size())
        return false;
    const bool international = text.startsWith(u'+') || text.startsWith(QStringLiteral("00"));
    const bool national = text.startsWith(u'0') || text.startsWith(u'(');
    return international || national || separators >= 2 || parens > 0;
}

bool IsPostalCode(const QString& value)
{
    static const QRegularExpression shapes(QStringLiteral(
        R"(^(\d{4,5}|[1-9]\d{3} ?[A-Za-z]{2}|\d{5}-\d{4}|)"
        R"([A-Za-z]{1,2}\d[A-Za-z\d]? ?\d[A-Za-z]{2}|[A-Za-z]\d[A-Za-z] ?\d[A-Za-z]\d)$)"));
    return shapes.match(value.trimmed()).hasMatch();
}

bool IsBirthDate(const QString& value, const QDate& today)
{
    const QString text = value.trimmed();
    QString datePart = text;
    if (const qsizetype blank = text.indexOf(u' '); blank > 0) {
        // "1980-05-17 00:00:00.000" as a datetime is read; a time of day other
        // than midnight marks an event, not a birth.
        datePart = text.left(blank);
        QString timePart = text.mid(blank + 1);
        if (const qsizetype offset = timePart.indexOf(u' '); offset > 0)
            timePart.truncate(offset); // datetimeoffset's "+01:00"
        static const QRegularExpression midnight(QStringLiteral(R"(^00:00(:00(\.0+)?)?$)"));
        if (!midnight.match(timePart).hasMatch())
            return false;
    }
    QDate date;
    for (const char* format : {"yyyy-MM-dd", "dd.MM.yyyy", "dd/MM/yyyy", "yyyyMMdd", "d.M.yyyy"}) {
        date = QDate::fromString(datePart, QString::fromLatin1(format));
        if (date.isValid())
            break;
    }
    return date.isValid() && date <= today && date >= today.addYears(-120);
}

} // namespace corvane::discovery
