#include "script/scriptfile.h"

#include "catalogue/sqlname.h"
#include "script/generator.h"

namespace corvane::script {

namespace {

// A value inside a "--" comment: a line break would end the comment and
// turn the rest of the value into T-SQL.
QString commentValue(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = u'?';
    return out;
}

} // namespace

ScriptText BuildScriptText(const TData& catalogue, const ScriptOrigin& origin)
{
    Generation generation = GenerateScript(catalogue, origin.seed);
    if (generation.script.isEmpty())
        return {QString(), generation.error};

    int masked = 0;
    for (qsizetype i = 1; i < catalogue.size(); ++i)
        masked += HasBlock(catalogue.at(i).method) ? 1 : 0;
    const QString lineEnd = QStringLiteral("\r\n");
    const QString header =
        QStringLiteral("-- Corvane masking script") + lineEnd +
        QStringLiteral("-- Database: ") + commentValue(origin.database) + lineEnd +
        QStringLiteral("-- Server: ") + commentValue(origin.server) + lineEnd +
        QStringLiteral("-- Seed: ") + QString::number(origin.seed) + lineEnd +
        QStringLiteral("-- Date: ") + origin.date.toString(Qt::ISODate) + lineEnd +
        QStringLiteral("-- Masked columns: ") + QString::number(masked) + lineEnd;
    QString notes;
    for (const QString& note : origin.notes)
        notes += QStringLiteral("-- ") + commentValue(note) + lineEnd;
    const QString use =
        QStringLiteral("USE ") + quoteName(origin.database) + lineEnd + lineEnd;
    return {header + notes + use + generation.script, generation.error};
}

QByteArray ScriptFileBytes(const QString& text)
{
    QString out;
    out.reserve(text.size() + text.size() / 16 + 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            out += QStringLiteral("\r\n");
        } else if (c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
            out += QStringLiteral("\r\n");
        } else {
            out += c;
        }
    }
    out += QStringLiteral("\r\n");
    return out.toUtf8();
}

} // namespace corvane::script
