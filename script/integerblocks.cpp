#include "script/blockparts.h"
#include "script/blocks.h"

namespace corvane::script {

namespace {

using namespace parts;

void appendKeyLoop(QString& out, const TColumnRec& s, QString between, QString draw,
                   QStringView fallbackIndent)
{
    appendKeyDraw(out, s,
                  {u"@rand_int", std::move(between), std::move(draw), fallbackIndent,
                   QStringLiteral("begin set @rand_int=@val end")});
    appendCursorTail(out, s, true);
}

QString randomDraw(const TColumnRec& s)
{
    return u"floor(rand()*(" + s.param2 + u"-" + s.param1 + u"+1)+" + s.param1 + u")";
}

QString noiseDraw(const TColumnRec& s)
{
    return u"@val+floor(rand()*" + s.param1 + u"*2-" + s.param1 + u")";
}

} // namespace

void appendIntegerBlock(QString& out, const TColumnRec& s)
{
    switch (s.method) {
    case 101:
        out += u" update " + s.stab + u" set [" + s.col + u"]=" + s.param1 + u" \r\n";
        break;
    case 102:
        appendCursorHead(out, s);
        out += u"     set @rand_int=" + noiseDraw(s) + u" \r\n";
        appendRowUpdate(out, s, u"@rand_int");
        appendCursorTail(out, s, false);
        break;
    case 103:
        appendCursorHead(out, s);
        out += u"     set @rand_int=" + randomDraw(s) + u"\r\n";
        appendRowUpdate(out, s, u"@rand_int");
        appendCursorTail(out, s, false);
        break;
    case 104:
        appendShuffle(out, s, u"insert into @rand_tab (_varchar) select [", u"_varchar", {});
        break;
    case 105:
        appendDisableTriggers(out, s);
        out += u" if " + s.param1 + u" in ( select " + s.PK_column + u" from " + s.PK_table +
               u") update " + s.stab + u" set [" + s.col + u"]=" + s.param1 + u" \r\n";
        appendEnableTriggers(out, s, false);
        break;
    case 106:
        appendDisableTriggers(out, s);
        appendCursorHead(out, s);
        appendKeyLoop(out, s, u"@val-" + s.param1 + u" and @val+" + s.param1, noiseDraw(s), u"   ");
        break;
    case 107:
        appendDisableTriggers(out, s);
        out += u' '; // this block's DECLARE line alone starts with a blank
        appendCursorHead(out, s);
        appendKeyLoop(out, s, s.param1 + u" and " + s.param2, randomDraw(s), u"     ");
        break;
    case 108:
        appendShuffle(out, s, u"insert into @rand_tab (_varchar) select [", u"_varchar",
                      u" alter table ");
        break;
    case 109:
        appendSetNull(out, s);
        break;
    default:
        break;
    }
}

} // namespace corvane::script
