#include "catalogue/consttypes.h"

#include "catalogue/methods.h"

#include <QHash>

namespace corvane {

void TColumnRec::setParam1(const QString& text)
{
    param1 = text.left(ParamCapacity);
}

void TColumnRec::setParam2(const QString& text)
{
    param2 = text.left(ParamCapacity);
}

TypeCategory GetTypeCategory(const QString& typ)
{
    static const QHash<QString, TypeCategory> families = {
        {QStringLiteral("decimal"), tcInteger},      {QStringLiteral("int"), tcInteger},
        {QStringLiteral("integer"), tcInteger},      {QStringLiteral("bigint"), tcInteger},
        {QStringLiteral("tinyint"), tcInteger},      {QStringLiteral("datetime"), tcDateTime},
        {QStringLiteral("smalldatetime"), tcDateTime}, {QStringLiteral("float"), tcFloat},
        {QStringLiteral("real"), tcFloat},           {QStringLiteral("money"), tcFloat},
        {QStringLiteral("numeric"), tcFloat},        {QStringLiteral("varchar"), tcVarchar},
        {QStringLiteral("nchar"), tcVarchar},        {QStringLiteral("string"), tcVarchar},
    };
    return families.value(typ, tcOther);
}

QString GetMethodName(MethodCode code)
{
    if (const MethodInfo* method = methodInfo(code))
        return method->displayName();
    return NoMaskName;
}

// The one schema query. Each join, from the top:
//  - columns to their base table by schema and name, so that same-named tables
//    of two schemas do not exchange columns;
//  - Fkeys: one row per foreign-key column from sys.foreign_key_columns, which
//    pairs every referencing column with the column it actually references
//    (also for keys of several columns); a column in several foreign keys
//    takes the first constraint by name (rn = 1); matched by schema, table
//    and column;
//  - Pkeys: primary-key columns, constraints joined to their key columns by
//    schema and name, matched by schema, table and column.
// Sorted by table name, then schema, then ordinal position, so that the rows
// of one table stay together.
QString GetMetadataQuery()
{
    static const char* const lines[] = {
        "select ",
        "\ttab= ta.table_name, ",
        "\tcol=co.column_name, ",
        "\t[schema]=co.table_schema, ",
        "\tstab=co.table_schema+'.'+ta.table_name, ",
        " Fkeys.FK_Column , ",
        "\tFkeys.PK_Table , ",
        "\tFkeys.PK_Column, ",
        "\tFkeys.Constraint_Name, ",
        "\tPK=Pkeys.column_name, ",
        "\t[isnull]=co.is_NuLLABle, ",
        "\ttyp=co.data_type, ",
        "\tchar_max=co.character_maximum_length ",
        "from ",
        "INFORMATION_SCHEMA.TABLES ta ",
        "inner join INFORMATION_SCHEMA.COLUMNS co on ta.table_schema=co.table_schema and "
        "ta.table_name=co.table_name and ta.table_type='BASE TABLE' ",
        "left join ",
        "( ",
        "\tSELECT ",
        "\tK_Schema = OBJECT_SCHEMA_NAME(FKC.parent_object_id), ",
        "\tK_Table = OBJECT_NAME(FKC.parent_object_id), ",
        "\tFK_Column = COL_NAME(FKC.parent_object_id, FKC.parent_column_id), ",
        "\tPK_Table = OBJECT_NAME(FKC.referenced_object_id), ",
        "\tPK_Column = COL_NAME(FKC.referenced_object_id, FKC.referenced_column_id), ",
        "\tConstraint_Name = OBJECT_NAME(FKC.constraint_object_id), ",
        "\trn = ROW_NUMBER() OVER (PARTITION BY FKC.parent_object_id, FKC.parent_column_id "
        "ORDER BY OBJECT_NAME(FKC.constraint_object_id)) ",
        "\tFROM ",
        "\tsys.foreign_key_columns FKC ",
        ") Fkeys on Fkeys.fk_column=co.column_name and Fkeys.k_table=ta.table_name and "
        "Fkeys.k_schema=ta.table_schema and Fkeys.rn=1 ",
        "left join ",
        "(SELECT i1.TABLE_SCHEMA, i1.TABLE_NAME, i2.COLUMN_NAME ",
        "\tFROM INFORMATION_SCHEMA.TABLE_CONSTRAINTS i1 ",
        "\tINNER JOIN INFORMATION_SCHEMA.KEY_COLUMN_USAGE i2 ON i1.CONSTRAINT_SCHEMA = "
        "i2.CONSTRAINT_SCHEMA AND i1.CONSTRAINT_NAME = i2.CONSTRAINT_NAME ",
        "\tWHERE i1.CONSTRAINT_TYPE = 'PRIMARY KEY'  ",
        ") Pkeys on Pkeys.column_name=co.column_name and Pkeys.table_name=ta.table_name and "
        "Pkeys.table_schema=ta.table_schema ",
        "order by 1,3,co.ordinal_position ",
    };
    QString text;
    for (const char* line : lines) {
        if (!text.isEmpty())
            text += QStringLiteral("\r\n");
        text += QLatin1String(line);
    }
    return text;
}

} // namespace corvane
