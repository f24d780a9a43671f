#include "run/batches.h"

#include "script/generator.h"

#include <QRegularExpression>
#include <QStringList>

namespace corvane::run {

QString SplitInstallationBatch()
{
    // The definition sits in a variable and is created by exec() so that the
    // batch can skip it when the function is already there: CREATE FUNCTION
    // must otherwise be the only statement of its batch.
    static const QStringList lines = {
        QStringLiteral("declare @split varchar(1000) "),
        QStringLiteral("set @split='  "),
        QStringLiteral("create FUNCTION dbo.corvane_split(@String nvarchar(4000), @Delimiter "
                       "char(1)) "),
        QStringLiteral("returns @Results TABLE (Items nvarchar(4000)) "),
        QStringLiteral("as "),
        QStringLiteral("begin "),
        QStringLiteral("declare @index int "),
        QStringLiteral("declare @slice nvarchar(4000) "),
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
        QStringLiteral("select @String = right(@String,len(@String) - @index) "),
        QStringLiteral("if len(@String) = 0 break "),
        QStringLiteral("end return "),
        QStringLiteral("end ' "),
        QStringLiteral("if not exists(SELECT 1 FROM sys.objects WHERE OBJECT_ID = "
                       "OBJECT_ID(N'dbo.corvane_split') AND type = (N'TF')) "),
        QStringLiteral("exec  (@split) "),
    };
    return lines.join(QStringLiteral("\r\n"));
}

QString SplitDropBatch()
{
    return QStringLiteral("drop function dbo.corvane_split");
}

Result<QString> BuildBatch(const TColumnRec& slot, std::int32_t seed)
{
    auto block = script::BuildBlock(slot);
    if (!block)
        return block.error();
    if (block->isEmpty())
        return QString();
    return QString(script::BuildPreamble(seed) + *block);
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
