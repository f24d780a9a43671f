#include "catalogue/loader.h"

namespace corvane {

void BuildCatalogue(const QString& databaseName, const db::Rows& rows, TData& catalogue,
                    SchemaTree& tree)
{
    const int stabField = rows.fieldIndex(QStringLiteral("stab"));
    const int schemaField = rows.fieldIndex(QStringLiteral("schema"));
    const int tabField = rows.fieldIndex(QStringLiteral("tab"));
    const int colField = rows.fieldIndex(QStringLiteral("col"));
    const int pkField = rows.fieldIndex(QStringLiteral("PK"));
    const int typField = rows.fieldIndex(QStringLiteral("typ"));
    const int pkSchemaField = rows.fieldIndex(QStringLiteral("PK_schema"));
    const int pkTableField = rows.fieldIndex(QStringLiteral("PK_table"));
    const int pkColumnField = rows.fieldIndex(QStringLiteral("PK_column"));
    const int isnullField = rows.fieldIndex(QStringLiteral("isnull"));
    const int constraintField = rows.fieldIndex(QStringLiteral("Constraint_Name"));
    const int charMaxField = rows.fieldIndex(QStringLiteral("char_max"));
    const auto field = [](const QStringList& row, int index) {
        return index < 0 ? QString() : row.value(index);
    };

    tree.addDatabase(databaseName);
    catalogue.clear();
    // One table node per slot between runs of columns, plus one per column.
    catalogue.reserve(rows.rows.size() * 2 + 2);

    int slot = 2;
    qsizetype r = 0;
    while (r < rows.rows.size()) {
        const QString stab = field(rows.rows.at(r), stabField);
        const int table = tree.addTable(stab);
        while (r < rows.rows.size() && field(rows.rows.at(r), stabField) == stab) {
            const QStringList& row = rows.rows.at(r);
            catalogue.resize(slot + 1);
            tree.addColumn(table, field(row, colField));
            TColumnRec& rec = catalogue[slot];
            rec.stab = stab;
            rec.schema = field(row, schemaField);
            rec.tab = field(row, tabField);
            rec.col = field(row, colField);
            rec.PK = field(row, pkField);
            rec.typ = field(row, typField);
            rec.PK_schema = field(row, pkSchemaField);
            rec.PK_table = field(row, pkTableField);
            rec.PK_column = field(row, pkColumnField);
            rec.isnull = field(row, isnullField);
            rec.Constraint_Name = field(row, constraintField);
            rec.char_max = field(row, charMaxField);
            rec.method = NoMethodYet;
            ++slot;
            ++r;
        }
        ++slot;
    }
}

Status LoadCatalogue(db::Connection& connection, const QString& connectionString,
                     TData& catalogue, SchemaTree& tree)
{
    tree.clear();
    if (auto opened = connection.open(connectionString); !opened)
        return opened;
    auto rows = connection.queryAll(GetMetadataQuery());
    if (!rows)
        return rows.error();
    auto name = connection.databaseName();
    if (!name)
        return name.error();
    BuildCatalogue(*name, *rows, catalogue, tree);
    return {};
}

} // namespace corvane
