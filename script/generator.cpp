#include "script/generator.h"

#include "catalogue/methods.h"
#include "script/blocks.h"

namespace corvane::script {

namespace {

// Appends the slot's block, or nothing; on a failure nothing either. The code
// alone chooses the block, whatever the column's type.
Status appendBlock(QString& out, const TColumnRec& slot)
{
    const MethodInfo* method = methodInfo(slot.method);
    if (!method)
        return {};
    switch (method->family) {
    case tcDateTime: return appendDateTimeBlock(out, slot);
    case tcInteger: appendIntegerBlock(out, slot); return {};
    case tcVarchar: return appendTextBlock(out, slot);
    case tcFloat: appendFloatBlock(out, slot); return {};
    case tcOther: break;
    }
    return {};
}

// A rough size of one block, for reserving the script's buffer once.
constexpr qsizetype TypicalBlockSize = 420;

} // namespace

bool HasBlock(MethodCode code)
{
    return hasBlock(code);
}

QString BuildPreamble(std::int32_t seed)
{
    // @tries counts the draws of the foreign-key loops; it comes last so
    // that the declarations before it read as they always have.
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
           u"declare @tries int \r\n";
}

Result<QString> BuildBlock(const TColumnRec& slot)
{
    QString block;
    if (Status built = appendBlock(block, slot); !built)
        return built.error();
    return block;
}

Generation GenerateScript(const TData& catalogue, std::int32_t seed)
{
    // The preamble goes in first and counts only once a block follows it.
    Generation generation;
    QString& script = generation.script;
    script.reserve(qMin<qsizetype>(catalogue.size(), 1 << 20) * TypicalBlockSize);
    script += BuildPreamble(seed);
    bool anyBlock = false;
    for (qsizetype i = 1; i < catalogue.size(); ++i) {
        const qsizetype before = script.size();
        if (Status built = appendBlock(script, catalogue.at(i)); !built) {
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

} // namespace corvane::script
