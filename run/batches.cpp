#include "run/batches.h"

#include "project/wordlist.h"
#include "script/generator.h"

#include <QRegularExpression>
#include <QStringList>

namespace corvane::run {

QString SplitInstallationBatch()
{
    // The definition sits in a variable and is created by exec() so that the
    // batch can skip it when the function is already there: CREATE FUNCTION
    // must otherwise be the only statement of its batch. LEN ignores trailing
    // blanks, so the lengths count one more character and take it off again:
    // a piece that ends in blanks keeps them. The list and its pieces are of
    // nvarchar(max): a word list is one line of any length, and a shorter
    // parameter would cut it off without a word.
    static const QStringList lines = {
        QStringLiteral("declare @split varchar(1000) "),
        QStringLiteral("set @split='  "),
        QStringLiteral("create FUNCTION dbo.corvane_split(@String nvarchar(max), @Delimiter "
                       "char(1)) "),
        QStringLiteral("returns @Results TABLE (Items nvarchar(max)) "),
        QStringLiteral("as "),
        QStringLiteral("begin "),
        QStringLiteral("declare @index int "),
        QStringLiteral("declare @slice nvarchar(max) "),
        QStringLiteral("select @index = 1 "),
        QStringLiteral("if @String is null return "),
        QStringLiteral("while @index != 0 "),
        QStringLiteral("begin "),
        QStringLiteral("select @index = charindex(@Delimiter,@String) "),
        QStringLiteral("if @index !=0 "),
        QStringLiteral("select @slice = left(@String,@index - 1) "),
        QStringLiteral("else "),
        QStringLiteral("select @slice = @String "),
        QStringLiteral("insert into @Results(Items) values(@slice) "),
        QStringLiteral("select @String = right(@String,len(@String+N'x')-1 - @index) "),
        QStringLiteral("if len(@String+N'x')-1 = 0 break "),
        QStringLiteral("end return "),
        QStringLiteral("end ' "),
        QStringLiteral("if not exists(SELECT 1 FROM sys.objects WHERE object_id = "
                       "OBJECT_ID(N'dbo.corvane_split') AND type = (N'TF')) "),
        QStringLiteral("exec  (@split) "),
    };
    return lines.join(QStringLiteral("\r\n"));
}

QString SplitDropBatch()
{
    return QStringLiteral("drop function dbo.corvane_split");
}

namespace {

Result<QString> batchOf(const TColumnRec& slot, std::int32_t seed,
                        const script::BlockOptions& options)
{
    auto block = script::BuildBlock(slot, options);
    if (!block)
        return block.error();
    if (block->isEmpty())
        return QString();
    return QString(script::BuildPreamble(seed) + *block);
}

} // namespace

Result<QString> BuildBatch(const TColumnRec& slot, std::int32_t seed)
{
    script::WordLists words;
    if (slot.method == 1007)
        words.insert(slot.param1, ReadWordList(slot.param1));
    return batchOf(slot, seed, {script::Target::Run, false, &words});
}

RunBatches::RunBatches(const TData& catalogue, std::int32_t seed)
    : m_catalogue(catalogue), m_seed(seed), m_words(script::ReadWordLists(catalogue)),
      m_keyed(script::KeyedSlots(catalogue))
{
}

Result<QString> RunBatches::batch(qsizetype index) const
{
    return batchOf(m_catalogue.at(index), m_seed,
                   {script::Target::Run, m_keyed.at(index), &m_words});
}

Result<int> ExecuteBatch(db::Connection& connection, const QString& batch, MethodCode code)
{
    Result<int> misses = 0;
    if (script::CountsMisses(code)) {
        // The block's last statement selects its count of rows kept.
        auto rows = connection.queryAll(batch);
        if (rows)
            misses = rows->rows.isEmpty() ? 0 : rows->value(0, QStringLiteral("misses")).toInt();
        else
            misses = rows.error();
    } else if (Status executed = connection.execute(batch); !executed) {
        misses = executed.error();
    }
    // An error that ends the batch before its CATCH (a missing table is only
    // found when its statement runs) can leave the block's transaction
    // open; the next column must not run inside it.
    if (!misses)
        (void)connection.execute(QStringLiteral("if @@trancount>0 rollback transaction"));
    return misses;
}

QString MissLine(int misses)
{
    return QStringLiteral("     ") + QString::number(misses) +
           QStringLiteral(" rows kept their values: no key was drawn for them");
}

QString SuccessLine(const TColumnRec& slot)
{
    return QStringLiteral(" Anonymisation table ") + slot.stab + QStringLiteral(" column [") +
           slot.col + QStringLiteral("] - successful ");
}

QString FailedLine(const TColumnRec& slot)
{
    return QStringLiteral(" Anonymisation table ") + slot.stab + QStringLiteral(" column [") +
           slot.col + QStringLiteral("] - FAILED ");
}

QString ReasonLine(const Error& error)
{
    // A driver may report several diagnostics on separate lines; the log keeps
    // one line per column, so they are put side by side.
    static const QRegularExpression breaks(QStringLiteral("[\\r\\n]+"));
    QString text;
    for (const QString& piece : error.message.split(breaks, Qt::SkipEmptyParts)) {
        const QString part = piece.trimmed();
        if (part.isEmpty())
            continue;
        if (!text.isEmpty())
            text += text.endsWith(u'.') ? QStringLiteral(" ") : QStringLiteral("; ");
        text += part;
    }
    if (text.isEmpty())
        text = error.isTimeout() ? QStringLiteral("The command timed out.")
                                 : QStringLiteral("The server gave no reason.");
    return QStringLiteral("     ") + text;
}

} // namespace corvane::run
