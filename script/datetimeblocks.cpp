#include "catalogue/textconv.h"
#include "script/blockparts.h"
#include "script/blocks.h"

namespace corvane::script {

namespace {

using namespace parts;

// Dates are stored in the operator's short format; the server is given the
// unambiguous yyyymmdd form.
Result<QString> serverDate(const QString& text)
{
    auto date = TextToDate(text);
    if (!date)
        return date.error();
    return date->toString(u"yyyyMMdd");
}

void appendNoise(QString& out, const TColumnRec& s)
{
    out += u"DECLARE cur CURSOR FOR \r\n"
           u"SELECT [" + s.col + u"] from " + s.stab + u" FOR UPDATE \r\n"
           u"OPEN cur \r\n"
           u"FETCH cur INTO @val \r\n"
           u"WHILE @@FETCH_STATUS = 0 \r\n"
           u"\tBEGIN \r\n"
           u" update " + s.stab + u" set [" + s.col + u"]=dateadd(day,floor(rand()*2*" + s.param1 +
           u"-" + s.param1 + u"),[" + s.col + u"]) WHERE CURRENT OF cur  \r\n"
           u" FETCH cur INTO @val \r\n"
           u"END \r\n"
           u"CLOSE cur \r\n"
           u"DEALLOCATE cur  ";
}

void appendRandom(QString& out, const TColumnRec& s, const QString& from, const QString& to)
{
    out += u" DECLARE cur CURSOR  FOR  \r\n"
           u" SELECT  [" + s.col + u"] from " + s.stab + u" FOR UPDATE  \r\n"
           u" OPEN cur \r\n"
           u" FETCH cur INTO @val \r\n"
           u" WHILE @@FETCH_STATUS = 0  \r\n"
           u"   BEGIN  \r\n"
           u"     update " + s.stab + u" set [" + s.col +
           u"]=dateadd(day,floor(rand()*datediff(day,'" + from + u"','" + to + u"')) ,'" + from +
           u"') WHERE CURRENT OF cur \r\n"
           u"  FETCH cur INTO @val \r\n"
           u" END \r\n"
           u" CLOSE cur \r\n"
           u" DEALLOCATE cur ";
}

void appendKeyLoop(QString& out, const TColumnRec& s, QString between, QString draw)
{
    appendCursorHead(out, s);
    appendKeyDraw(out, s,
                  {u"@rand_datetime", std::move(between), std::move(draw), u"   ",
                   QStringLiteral("set @rand_datetime=@val ")});
    appendCursorTail(out, s, false);
}

} // namespace

Status appendDateTimeBlock(QString& out, const TColumnRec& s)
{
    switch (s.method) {
    case 1: {
        auto date = serverDate(s.param1);
        if (!date)
            return date.error();
        out += u"update " + s.stab + u" set [" + s.col + u"]='" + *date + u"' \r\n";
        return {};
    }
    case 2:
        appendNoise(out, s);
        return {};
    case 3:
    case 7: // a shuffle keeps the column's set of values, so keys stay keys
        appendShuffle(out, s, u"insert into @rand_tab  (_datetime) select [", u"_datetime", {});
        return {};
    case 4:
    case 8: {
        auto from = serverDate(s.param1);
        if (!from)
            return from.error();
        auto to = serverDate(s.param2);
        if (!to)
            return to.error();
        if (s.method == 4) {
            appendRandom(out, s, *from, *to);
        } else {
            appendKeyLoop(out, s, u'\'' + *from + u"' and '" + *to + u'\'',
                          u"dateadd(day,floor(rand()*datediff(day,'" + *from + u"','" + *to +
                              u"')) ,'" + *from + u"')");
        }
        return {};
    }
    case 5: {
        auto date = serverDate(s.param1);
        if (!date)
            return date.error();
        out += u"if '" + *date + u"' in ( select " + s.PK_column + u" from " + s.PK_table +
               u") update " + s.stab + u" set [" + s.col + u"]='" + *date + u"' \r\n";
        return {};
    }
    case 6:
        appendKeyLoop(out, s,
                      u"dateadd(day,-" + s.param1 + u",@val) and dateadd(day," + s.param1 + u",@val)",
                      u"dateadd(day,floor(rand()*2*" + s.param1 + u"-" + s.param1 + u"),@val)");
        return {};
    case 9:
        appendSetNull(out, s);
        return {};
    default:
        return {};
    }
}

} // namespace corvane::script
