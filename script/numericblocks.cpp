#include "script/blockparts.h"
#include "script/blocks.h"
#include "script/sqlnumber.h"

namespace corvane::script {

namespace {

using parts::BlockWriter;

// What sets the integer codes (101..109) and the float codes (2001..2009)
// apart; their nine blocks are otherwise the same.
struct Family
{
    MethodCode base;
    NumberKind kind;            // whole values or decimals
    QStringView fetched;        // the row's value, in the family's widest type
    QStringView drawn;          // the new value
    QStringView pool;           // the shuffle's column of @pool
    QStringView randomLineEnd;  // what follows the random draw on its line
    QStringView shuffleDisable; // how the shuffle's disable line starts
    QStringView wide;           // the type that the random bounds are computed in
};

constexpr Family Integer{100, NumberKind::Whole, u"@val_int", u"@new_int", u"_int", u"",
                         u" alter table ", u"bigint"};
constexpr Family Float{2000, NumberKind::Decimal, u"@val_float", u"@rand_float", u"_float", u" ",
                       u"alter table ", u"float"};

using Params = SlotNumbers;

QString noiseDraw(const Family& f, const Params& p)
{
    const QString& n = p.first.text;
    if (f.kind == NumberKind::Whole)
        return f.fetched + u"+floor(rand()*" + n + u"*2-" + n + u")";
    return f.fetched + u"+round(rand()*" + n + u"*2-" + n + u"," + p.second.text + u")";
}

QString randomDraw(const Family& f, const Params& p)
{
    const QString& low = p.first.text;
    const QString high = u"cast(" + p.second.text + u" as " + f.wide + u")";
    if (f.kind == NumberKind::Whole)
        return u"floor(rand()*(" + high + u"-" + low + u"+1)+" + low + u")";
    return u"round(rand()*(" + high + u"-" + low + u")+" + low + u",2)";
}

// The values that the noise draw reaches around the row's value.
std::pair<QString, QString> noiseReach(const Family& f, const SqlNumber& n)
{
    if (f.kind == NumberKind::Decimal)
        return {f.fetched + u"-" + n.magnitude, f.fetched + u"+" + n.magnitude};
    // floor(rand()*n*2-n) reaches -n .. n-1, only 0 for n = 0, n .. -n for n < 0.
    const qint64 w = n.whole;
    if (w > 0)
        return {withOffset(f.fetched.toString(), -w), withOffset(f.fetched.toString(), w - 1)};
    return {withOffset(f.fetched.toString(), w), withOffset(f.fetched.toString(), -w)};
}

// The random draw reaches its bounds in either order.
std::pair<QString, QString> boundsReach(const Params& p)
{
    return p.first.value > p.second.value ? std::pair{p.second.text, p.first.text} : std::pair{p.first.text, p.second.text};
}

void appendKeyLoop(BlockWriter& w, const Family& f, std::pair<QString, QString> reach, QString draw,
                   QStringView fallbackIndent)
{
    w.keyDraw({f.drawn, f.fetched, std::move(reach.first), std::move(reach.second),
               std::move(draw), fallbackIndent});
    w.cursorTail(f.fetched, true);
}

} // namespace

Status appendNumericBlock(QString& out, const TColumnRec& s, const BlockOptions& options)
{
    const Family& f = s.method >= Float.base ? Float : Integer;
    const int offset = s.method - f.base;
    if (offset < 1 || offset > 9)
        return {};
    auto params = ReadNumbers(s);
    if (!params)
        return params.error();
    const Params& p = *params;

    BlockWriter w(out, s, options);
    w.begin(CountsMisses(s.method));
    switch (offset) {
    case 1:
        out += u" update " + w.table + u" set " + w.column + u"=" + p.first.text + u" \r\n";
        break;
    case 2:
        w.cursorHead(f.fetched);
        out += u"     set " + f.drawn + u"=" + noiseDraw(f, p) + u" \r\n";
        w.rowUpdate(f.drawn);
        w.cursorTail(f.fetched, false);
        break;
    case 3:
        w.cursorHead(f.fetched);
        out += u"     set " + f.drawn + u"=" + randomDraw(f, p) + f.randomLineEnd + u"\r\n";
        w.rowUpdate(f.drawn);
        w.cursorTail(f.fetched, false);
        break;
    case 4:
        w.shuffle(u"insert into @pool (", f.pool, f.fetched, {});
        break;
    case 5:
        w.disableTriggers();
        out += u" if " + p.first.text + u" in ( select " + w.key + u" from " + w.keys +
               u") update " + w.table + u" set " + w.column + u"=" + p.first.text + u" \r\n";
        w.enableTriggers(false);
        break;
    case 6:
        w.disableTriggers();
        w.cursorHead(f.fetched);
        appendKeyLoop(w, f, noiseReach(f, p.first), noiseDraw(f, p), u"   ");
        break;
    case 7:
        w.disableTriggers();
        if (f.kind == NumberKind::Whole)
            out += u' '; // this block's DECLARE line alone starts with a blank
        w.cursorHead(f.fetched);
        appendKeyLoop(w, f, boundsReach(p), randomDraw(f, p), u"     ");
        break;
    case 8:
        w.shuffle(u"insert into @pool (", f.pool, f.fetched, f.shuffleDisable);
        break;
    case 9:
        w.setNull();
        break;
    default:
        break;
    }
    w.end(offset != 1 && offset != 5 && offset != 9, CountsMisses(s.method));
    return {};
}

} // namespace corvane::script
