#include "cli/schemalisting.h"

namespace corvane::cli {

// Names may hold any character; these would break the line and field
// structure, so they are written as escapes that a reader can undo.
QString EscapeField(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString SchemaListing(const TData& catalogue)
{
    QString out;
    for (qsizetype i = 1; i < catalogue.size(); ++i) {
        const TColumnRec& slot = catalogue.at(i);
        out += QString::number(i);
        // Table slots are empty; their table is that of the columns after them.
        if (slot.col.isEmpty() && slot.stab.isEmpty()) {
            const QString table = i + 1 < catalogue.size() ? catalogue.at(i + 1).stab : QString();
            out += u'\t' + EscapeField(table) + u'\n';
            continue;
        }
        for (const QString* field : {&slot.stab, &slot.col, &slot.typ, &slot.isnull,
                                     &slot.char_max, &slot.PK, &slot.PK_table, &slot.PK_column,
                                     &slot.Constraint_Name})
            out += u'\t' + EscapeField(*field);
        out += u'\n';
    }
    return out;
}

} // namespace corvane::cli
