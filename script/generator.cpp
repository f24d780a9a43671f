#include "script/generator.h"

#include "catalogue/methods.h"
#include "project/wordlist.h"
#include "script/blocks.h"

namespace corvane::script {

namespace {

// Appends the slot's block, or nothing; on a failure nothing either. The code
// alone chooses the block, whatever the column's type.
Status appendBlock(QString& out, const TColumnRec& slot, const BlockOptions& options)
{
    const MethodInfo* method = methodInfo(slot.method);
    if (!method)
        return {};
    switch (method->family) {
    case tcDateTime: return appendDateTimeBlock(out, slot, options);
    case tcInteger:
    case tcFloat: return appendNumericBlock(out, slot, options);
    case tcVarchar: return appendTextBlock(out, slot, options);
    case tcOther: break;
    }
    return {};
}

// A rough size of one block, for reserving the script's buffer once.
constexpr qsizetype TypicalBlockSize = 950;

} // namespace

bool HasBlock(MethodCode code)
{
    return hasBlock(code);
}

bool CountsMisses(MethodCode code)
{
    switch (code) {
    case 6:
    case 8:
    case 106:
    case 107:
    case 2006:
    case 2007:
        return true;
    default:
        return false;
    }
}

QString BuildPreamble(std::int32_t seed)
{
    // The first lines read as they always have. The values are fetched into
    // variables of their family's widest type so that nothing is rounded on
    // the way; @pool keeps each family's values in a column of their own type
    // with rid as its key. No "rows affected" message per row; any error ends
    // the block's transaction and rolls it back.
    return u"declare @r float \r\n"
           u" set @r=rand(" + QString::number(seed) + u")\r\n"
           u"declare @val varchar(100) \r\n"
           u"declare @rand_int int         \r\n"
           u"declare @rand_float float         \r\n"
           u"declare @rand_datetime datetime         \r\n"
           u"declare @rand_tab table (  rid int IDENTITY(1,1), _datetime datetime, _varchar "
           u"varchar(1000) ) \r\n"
           u"declare @lorem varchar(500) \r\n"
           u"declare @id int \r\n"
           u"declare @tries int \r\n"
           u"declare @val_int bigint \r\n"
           u"declare @val_float float \r\n"
           u"declare @val_datetime datetimeoffset \r\n"
           u"declare @val_text nvarchar(max) \r\n"
           u"declare @new_int bigint \r\n"
           u"declare @new_datetime datetimeoffset \r\n"
           u"declare @misses int \r\n"
           u"declare @msg nvarchar(2048) \r\n"
           u"declare @pool table (rid int IDENTITY(1,1) primary key, _int bigint, _float float, "
           u"_datetime datetimeoffset, _text nvarchar(max)) \r\n"
           u"set nocount on \r\n"
           u"set xact_abort on \r\n";
}

WordLists ReadWordLists(const TData& catalogue)
{
    WordLists words;
    for (qsizetype i = 1; i < catalogue.size(); ++i) {
        const TColumnRec& slot = catalogue.at(i);
        if (slot.method == 1007 && !words.contains(slot.param1))
            words.insert(slot.param1, ReadWordList(slot.param1));
    }
    return words;
}

QList<bool> KeyedSlots(const TData& catalogue)
{
    // A table's columns follow its own empty slot up to the next empty one.
    QList<bool> keyed(catalogue.size(), false);
    qsizetype first = 1;
    while (first < catalogue.size()) {
        qsizetype last = first;
        bool hasKey = false;
        while (last < catalogue.size() && !catalogue.at(last).col.isEmpty()) {
            hasKey = hasKey || !catalogue.at(last).PK.isEmpty();
            ++last;
        }
        for (qsizetype i = first; i < last; ++i)
            keyed[i] = hasKey;
        first = last + 1;
    }
    return keyed;
}

Result<QString> BuildBlock(const TColumnRec& slot, const BlockOptions& options)
{
    QString block;
    if (Status built = appendBlock(block, slot, options); !built)
        return built.error();
    return block;
}

Result<QString> BuildBlock(const TColumnRec& slot)
{
    WordLists words;
    if (slot.method == 1007)
        words.insert(slot.param1, ReadWordList(slot.param1));
    return BuildBlock(slot, {Target::Script, false, &words});
}

Generation GenerateScript(const TData& catalogue, std::int32_t seed, const WordLists& words)
{
    // The preamble goes in first and counts only once a block follows it.
    Generation generation;
    QString& script = generation.script;
    script.reserve(qMin<qsizetype>(catalogue.size(), 1 << 20) * TypicalBlockSize);
    script += BuildPreamble(seed);
    const QList<bool> keyed = KeyedSlots(catalogue);
    bool anyBlock = false;
    for (qsizetype i = 1; i < catalogue.size(); ++i) {
        const qsizetype before = script.size();
        const BlockOptions options{Target::Script, keyed.at(i), &words};
        if (Status built = appendBlock(script, catalogue.at(i), options); !built) {
            generation.error = built.error();
            break;
        }
        if (script.size() == before)
            continue;
        script += u"\r\n\r\n";
        anyBlock = true;
    }
    if (!anyBlock)
        script.clear();
    return generation;
}

Generation GenerateScript(const TData& catalogue, std::int32_t seed)
{
    return GenerateScript(catalogue, seed, ReadWordLists(catalogue));
}

} // namespace corvane::script
