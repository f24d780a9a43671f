#include "cli/schemalisting.h"

namespace corvane::cli {

QString EscapedField(const QString& text)
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
            out += u'\t' + EscapedField(table) + u'\n';
            continue;
        }
        for (const QString* field : {&slot.stab, &slot.col, &slot.typ, &slot.isnull,
                                     &slot.char_max, &slot.PK, &slot.PK_table, &slot.PK_column,
                                     &slot.Constraint_Name})
            out += u'\t' + EscapedField(*field);
        out += u'\n';
    }
    return out;
}

} // namespace corvane::cli
