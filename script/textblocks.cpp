#include "script/blockparts.h"
#include "script/blocks.h"
#include "script/sqlnumber.h"

namespace corvane::script {

namespace {

using parts::BlockWriter;
using parts::quoted;

// Assigned again by every lorem block: 452 characters, line breaks included.
constexpr char16_t LoremAssignment[] =
    u"set @lorem='Lorem ipsum dolor sit amet, consectetur adipisicing elit, sed do eiusmod tempor "
    u"incididunt ut labore \r\n"
    u"et dolore magna aliqua. Ut enim ad minim veniam, quis nostrud exercitation ullamco laboris "
    u"nisi ut aliquip ex ea commodo consequat. \r\n"
    u"Duis aute irure dolor in reprehenderit in voluptate velit esse cillum dolore eu fugiat nulla "
    u"pariatur. Excepteur sint occaecat cupidatat non \r\n"
    u"proident, sunt in culpa qui officia deserunt mollit anim id est laborum.'  \r\n";

// LEN ignores trailing blanks; the length of the value with one more
// character, less one, counts every character. The value is widened to
// nvarchar(max) first so that the added character is never cut off.
QString fullLength(const QString& column)
{
    return u"(len(cast(" + column + u" as nvarchar(max))+N'x')-1)";
}

void appendSameLength(BlockWriter& w, const QString& text)
{
    // REPLICATE of a text that is not of a max type stops at 8,000 bytes.
    const QString length = fullLength(w.column);
    w.cursorHead(u"@val_text");
    w.out += u"     update " + w.table + u" set " + w.column +
             u"=substring(replicate(cast(N'" + text + u"' as nvarchar(max)),floor(" + length +
             u"/(len(N'" + text + u"'+N'x')-1))+1),1," + length + u") WHERE CURRENT OF cur \r\n";
    w.cursorTail(u"@val_text", false);
}

void appendLorem(BlockWriter& w, const SqlNumber& shortest, const SqlNumber& longest)
{
    w.out += LoremAssignment;
    w.cursorHead(u"@val_text");
    w.out += u"  \t set @rand_int=floor(rand()*(" + longest.text + u"-" + shortest.text + u")+" +
             shortest.text + u") \r\n"
             u"     update " + w.table + u" set " + w.column +
             u"=substring(replicate(@lorem,floor(@rand_int/len(@lorem))+1),1,@rand_int) WHERE "
             u"CURRENT OF cur \r\n";
    w.cursorTail(u"@val_text", false);
}

void appendWordList(BlockWriter& w, const QString& values)
{
    // As in the shuffle, the pool is emptied first and its rows are addressed
    // from this block's first rid. The word list never switched the triggers
    // off, so it leaves them as they are.
    w.out += u"delete from @pool \r\n"
             u"insert into @pool (_text) select * from dbo.corvane_split(N'" + quoted(values) +
             u"',';') \r\n"
             u"\r\n"
             u"DECLARE cur " + w.cursorKind() + u"  FOR \r\n"
             u"SELECT  " + w.column + u" from " + w.table + u" FOR UPDATE  \r\n"
             u"set @id=(select count(*) from @pool)       \r\n"
             u"if @id=0 raiserror(N'No values to draw from: the word list is empty.',16,1) \r\n"
             u"OPEN cur \r\n"
             u"FETCH cur INTO @val_text  \r\n"
             u"WHILE @@FETCH_STATUS = 0  \r\n"
             u"  BEGIN \r\n"
             u"  update " + w.table + u" set " + w.column +
             u"=(select _text from @pool where rid=cast((select min(rid) from "
             u"@pool)+floor(rand()*@id) as int)) WHERE CURRENT OF cur  \r\n"
             u" FETCH cur INTO @val_text  \r\n"
             u"END   \r\n"
             u"CLOSE cur \r\n"
             u"DEALLOCATE cur  ";
}

Error emptyText(const TColumnRec& s)
{
    return Error::failure(QStringLiteral("The text to repeat is empty for column [") + s.col +
                          QStringLiteral("] of table ") + s.stab);
}

} // namespace

Status appendTextBlock(QString& out, const TColumnRec& s, const BlockOptions& options)
{
    const MethodCode code = s.method;
    if (code < 1001 || code > 1009 || code == 1006)
        return {};
    // Everything is read before anything is written.
    auto lengths = ReadNumbers(s);
    if (!lengths)
        return lengths.error();
    if (code == 1002 && s.param1.isEmpty())
        return emptyText(s);
    QString words;
    if (code == 1007) {
        const auto found = options.words ? options.words->constFind(s.param1)
                                         : WordLists::const_iterator();
        if (!options.words || found == options.words->cend())
            return Error::failure(QStringLiteral("The word list ") + s.param1 +
                                  QStringLiteral(" was not read."));
        if (!found->ok())
            return found->error();
        words = found->value();
    }

    BlockWriter w(out, s, options);
    // The operator's text is written as a Unicode literal: a plain one is
    // converted to the database's code page before the column sees it, and
    // every character outside it would arrive as '?'.
    const QString text = quoted(s.param1);
    w.begin();
    switch (code) {
    case 1001:
        out += u" update " + w.table + u" set " + w.column + u"=N'" + text + u"' \r\n";
        break;
    case 1002:
        appendSameLength(w, text);
        break;
    case 1003:
        appendLorem(w, lengths->first, lengths->second);
        break;
    case 1004:
        w.shuffle(u"insert into @pool (", u"_text", u"@val_text", {});
        break;
    case 1005:
        w.disableTriggers();
        out += u" if N'" + text + u"' in ( select " + w.key + u" from " + w.keys +
               u") update " + w.table + u" set " + w.column + u"=N'" + text + u"' \r\n";
        w.enableTriggers(false);
        break;
    case 1007:
        appendWordList(w, words);
        break;
    case 1008:
        w.shuffle(u"insert into @pool (", u"_text", u"@val_text", u" alter table ");
        break;
    case 1009:
        w.setNull();
        break;
    default:
        break;
    }
    w.end(code != 1001 && code != 1005 && code != 1009);
    return {};
}

} // namespace corvane::script
