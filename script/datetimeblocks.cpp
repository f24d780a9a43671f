#include "catalogue/textconv.h"
#include "script/blockparts.h"
#include "script/blocks.h"
#include "script/sqlnumber.h"

namespace corvane::script {

namespace {

using parts::BlockWriter;

// Dates are stored in the operator's short format; the server is given the
// unambiguous yyyymmdd form.
QString serverDate(QDate date)
{
    return date.toString(u"yyyyMMdd");
}

void appendNoise(BlockWriter& w, const SqlNumber& days)
{
    const QString& n = days.text;
    w.out += u"DECLARE cur " + w.cursorKind() + u" FOR \r\n"
             u"SELECT " + w.column + u" from " + w.table + u" FOR UPDATE \r\n"
             u"OPEN cur \r\n"
             u"FETCH cur INTO @val_datetime \r\n"
             u"WHILE @@FETCH_STATUS = 0 \r\n"
             u"\tBEGIN \r\n"
             u" update " + w.table + u" set " + w.column + u"=dateadd(day,floor(rand()*2*" + n +
             u"-" + n + u")," + w.column + u") WHERE CURRENT OF cur  \r\n"
             u" FETCH cur INTO @val_datetime \r\n"
             u"END \r\n"
             u"CLOSE cur \r\n"
             u"DEALLOCATE cur  ";
}

void appendRandom(BlockWriter& w, const QString& from, const QString& to)
{
    w.out += u" DECLARE cur " + w.cursorKind() + u"  FOR  \r\n"
             u" SELECT  " + w.column + u" from " + w.table + u" FOR UPDATE  \r\n"
             u" OPEN cur \r\n"
             u" FETCH cur INTO @val_datetime \r\n"
             u" WHILE @@FETCH_STATUS = 0  \r\n"
             u"   BEGIN  \r\n"
             u"     update " + w.table + u" set " + w.column +
             u"=dateadd(day,floor(rand()*datediff(day,'" + from + u"','" + to + u"')) ,'" + from +
             u"') WHERE CURRENT OF cur \r\n"
             u"  FETCH cur INTO @val_datetime \r\n"
             u" END \r\n"
             u" CLOSE cur \r\n"
             u" DEALLOCATE cur ";
}

void appendKeyLoop(BlockWriter& w, QString low, QString high, QString draw)
{
    w.cursorHead(u"@val_datetime");
    w.keyDraw({u"@new_datetime", u"@val_datetime", std::move(low), std::move(high),
               std::move(draw), u"   "});
    w.cursorTail(u"@val_datetime", false);
}

// The whole days floor(rand()*2*n-n) reaches: -n .. n-1, only 0 for n = 0,
// and n .. -n for a negative n.
std::pair<qint64, qint64> noiseReach(qint64 n)
{
    if (n > 0)
        return {-n, n - 1};
    return {n, -n};
}

} // namespace

Status appendDateTimeBlock(QString& out, const TColumnRec& s, const BlockOptions& options)
{
    const MethodCode code = s.method;
    if (code < 1 || code > 9)
        return {};
    // Everything is read before anything is written.
    QDate from, to;
    if (code == 1 || code == 4 || code == 5 || code == 8) {
        auto date = ParamToDate(s, s.param1);
        if (!date)
            return date.error();
        from = *date;
    }
    if (code == 4 || code == 8) {
        auto date = ParamToDate(s, s.param2);
        if (!date)
            return date.error();
        to = *date;
    }
    auto numbers = ReadNumbers(s);
    if (!numbers)
        return numbers.error();
    const SqlNumber& days = numbers->first;

    BlockWriter w(out, s, options);
    const bool cursor = code != 1 && code != 5 && code != 9;
    w.begin(CountsMisses(code));
    switch (code) {
    case 1:
        out += u"update " + w.table + u" set " + w.column + u"='" + serverDate(from) + u"' \r\n";
        break;
    case 2:
        appendNoise(w, days);
        break;
    case 3:
    case 7: // a shuffle keeps the column's set of values, so keys stay keys
        w.shuffle(u"insert into @pool  (", u"_datetime", u"@val_datetime", {});
        break;
    case 4:
        appendRandom(w, serverDate(from), serverDate(to));
        break;
    case 5:
        out += u"if '" + serverDate(from) + u"' in ( select " + w.key + u" from " + w.keys +
               u") update " + w.table + u" set " + w.column + u"='" + serverDate(from) + u"' \r\n";
        break;
    case 6: {
        const auto [low, high] = noiseReach(days.whole);
        appendKeyLoop(w, u"dateadd(day," + QString::number(low) + u",@val_datetime)",
                      u"dateadd(day," + QString::number(high) + u",@val_datetime)",
                      u"dateadd(day,floor(rand()*2*" + days.text + u"-" + days.text +
                          u"),@val_datetime)");
        break;
    }
    case 8: {
        // floor(rand()*d) reaches 0 .. d-1 whole days for d > 0, d .. 0 for
        // d < 0, and only 0 for d = 0.
        const qint64 span = from.daysTo(to);
        const QDate first = span < 0 ? to : from;
        const QDate last = span > 0 ? to.addDays(-1) : from;
        const QString start = serverDate(from);
        appendKeyLoop(w, u'\'' + serverDate(first) + u'\'', u'\'' + serverDate(last) + u'\'',
                      u"dateadd(day,floor(rand()*datediff(day,'" + start + u"','" +
                          serverDate(to) + u"')) ,'" + start + u"')");
        break;
    }
    case 9:
        w.setNull();
        break;
    default:
        break;
    }
    w.end(cursor, CountsMisses(code));
    return {};
}

} // namespace corvane::script
