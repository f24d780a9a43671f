#include "script/blockparts.h"
#include "script/blocks.h"

namespace corvane::script {

namespace {

using namespace parts;

void appendKeyLoop(QString& out, const TColumnRec& s, QString between, QString draw,
                   QStringView fallbackIndent)
{
    appendDisableTriggers(out, s);
    appendCursorHead(out, s);
    appendKeyDraw(out, s,
                  {u"@rand_float", std::move(between), std::move(draw), fallbackIndent,
                   QStringLiteral("begin set @rand_float=@val end")});
    appendCursorTail(out, s, true);
}

// The noise keeps param2 decimals; the random interval always two.
QString noiseDraw(const TColumnRec& s)
{
    return u"@val+round(rand()*" + s.param1 + u"*2-" + s.param1 + u"," + s.param2 + u")";
}

QString randomDraw(const TColumnRec& s)
{
    return u"round(rand()*(" + s.param2 + u"-" + s.param1 + u")+" + s.param1 + u",2)";
}

} // namespace

void appendFloatBlock(QString& out, const TColumnRec& s)
{
    switch (s.method) {
    case 2001:
        out += u" update " + s.stab + u" set [" + s.col + u"]=" + s.param1 + u" \r\n";
        break;
    case 2002:
        appendCursorHead(out, s);
        out += u"     set @rand_float=" + noiseDraw(s) + u" \r\n";
        appendRowUpdate(out, s, u"@rand_float");
        appendCursorTail(out, s, false);
        break;
    case 2003:
        appendCursorHead(out, s);
        out += u"     set @rand_float=" + randomDraw(s) + u" \r\n";
        appendRowUpdate(out, s, u"@rand_float");
        appendCursorTail(out, s, false);
        break;
    case 2004:
        appendShuffle(out, s, u"insert into @rand_tab (_varchar) select [", u"_varchar", {});
        break;
    case 2005:
        appendDisableTriggers(out, s);
        out += u" if " + s.param1 + u" in ( select " + s.PK_column + u" from " + s.PK_table +
               u") update " + s.stab + u" set [" + s.col + u"]=" + s.param1 + u" \r\n";
        appendEnableTriggers(out, s, false);
        break;
    case 2006:
        appendKeyLoop(out, s, u"@val-" + s.param1 + u" and @val+" + s.param1, noiseDraw(s), u"   ");
        break;
    case 2007:
        appendKeyLoop(out, s, s.param1 + u" and " + s.param2, randomDraw(s), u"     ");
        break;
    case 2008:
        appendShuffle(out, s, u"insert into @rand_tab (_varchar) select [", u"_varchar",
                      u"alter table ");
        break;
    case 2009:
        appendSetNull(out, s);
        break;
    default:
        break;
    }
}

} // namespace corvane::script
