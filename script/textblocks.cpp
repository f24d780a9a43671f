#include "project/wordlist.h"
#include "script/blockparts.h"
#include "script/blocks.h"

namespace corvane::script {

namespace {

using namespace parts;

// Assigned again by every lorem block: 452 characters, line breaks included.
constexpr char16_t LoremAssignment[] =
    u"set @lorem='Lorem ipsum dolor sit amet, consectetur adipisicing elit, sed do eiusmod tempor "
    u"incididunt ut labore \r\n"
    u"et dolore magna aliqua. Ut enim ad minim veniam, quis nostrud exercitation ullamco laboris "
    u"nisi ut aliquip ex ea commodo consequat. \r\n"
    u"Duis aute irure dolor in reprehenderit in voluptate velit esse cillum dolore eu fugiat nulla "
    u"pariatur. Excepteur sint occaecat cupidatat non \r\n"
    u"proident, sunt in culpa qui officia deserunt mollit anim id est laborum.'  \r\n";

void appendSameLength(QString& out, const TColumnRec& s)
{
    const QString text = quoted(s.param1);
    appendCursorHead(out, s);
    out += u"     update " + s.stab + u" set [" + s.col + u"]=substring(replicate('" + text +
           u"',floor(len([" + s.col + u"])/len('" + text + u"'))+1),0,len([" + s.col +
           u"])) WHERE CURRENT OF cur \r\n";
    appendCursorTail(out, s, false);
}

void appendLorem(QString& out, const TColumnRec& s)
{
    out += LoremAssignment;
    appendCursorHead(out, s);
    out += u"  \t set @rand_int=floor(rand()*(" + s.param2 + u"-" + s.param1 + u")+" + s.param1 +
           u") \r\n"
           u"     update " + s.stab + u" set [" + s.col +
           u"]=substring(replicate(@lorem,floor(@rand_int/len(@lorem))+1),1,@rand_int) WHERE "
           u"CURRENT OF cur \r\n";
    appendCursorTail(out, s, false);
}

void appendWordList(QString& out, const TColumnRec& s, const QString& values)
{
    // As in the shuffle, @rand_tab is emptied first and its rows are addressed
    // from this block's first rid.
    out += u"delete from @rand_tab \r\n"
           u"insert into @rand_tab (_varchar) select * from dbo.corvane_split('" + quoted(values) +
           u"',';') \r\n"
           u"\r\n"
           u"DECLARE cur CURSOR  FOR \r\n"
           u"SELECT  [" + s.col + u"] from " + s.stab + u" FOR UPDATE  \r\n"
           u"set @id=(select count(*) from @rand_tab)       \r\n"
           u"OPEN cur \r\n"
           u"FETCH cur INTO @val  \r\n"
           u"WHILE @@FETCH_STATUS = 0  \r\n"
           u"  BEGIN \r\n"
           u"  update " + s.stab + u" set [" + s.col +
           u"]=(select _varchar from @rand_tab where rid=(select min(rid) from "
           u"@rand_tab)+floor(rand()*@id)) WHERE CURRENT OF cur  \r\n"
           u" FETCH cur INTO @val  \r\n"
           u"END   \r\n"
           u"alter table " + s.stab + u" enable trigger all \r\n"
           u"CLOSE cur \r\n"
           u"DEALLOCATE cur  ";
}

} // namespace

Status appendTextBlock(QString& out, const TColumnRec& s)
{
    switch (s.method) {
    case 1001:
        out += u" update " + s.stab + u" set [" + s.col + u"]='" + quoted(s.param1) + u"' \r\n";
        break;
    case 1002:
        appendSameLength(out, s);
        break;
    case 1003:
        appendLorem(out, s);
        break;
    case 1004:
        appendShuffle(out, s, u"insert into @rand_tab (_varchar) select [", u"_varchar", {});
        break;
    case 1005: {
        const QString text = quoted(s.param1);
        appendDisableTriggers(out, s);
        out += u" if '" + text + u"' in ( select " + s.PK_column + u" from " + s.PK_table +
               u") update " + s.stab + u" set [" + s.col + u"]='" + text + u"' \r\n";
        appendEnableTriggers(out, s, false);
        break;
    }
    case 1007: {
        auto values = ReadWordList(s.param1);
        if (!values)
            return values.error();
        appendWordList(out, s, *values);
        break;
    }
    case 1008:
        appendShuffle(out, s, u"insert into @rand_tab (_varchar) select [", u"_varchar",
                      u" alter table ");
        break;
    case 1009:
        appendSetNull(out, s);
        break;
    default:
        break;
    }
    return {};
}

} // namespace corvane::script
