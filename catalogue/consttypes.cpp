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
    // The date and time types that hold a day, the exact and approximate
    // numerics with decimals, and the whole numbers; anything else gets the
    // text methods.
    static const QHash<QString, TypeCategory> families = {
        {QStringLiteral("int"), tcInteger},           {QStringLiteral("integer"), tcInteger},
        {QStringLiteral("bigint"), tcInteger},        {QStringLiteral("smallint"), tcInteger},
        {QStringLiteral("tinyint"), tcInteger},       {QStringLiteral("datetime"), tcDateTime},
        {QStringLiteral("smalldatetime"), tcDateTime}, {QStringLiteral("date"), tcDateTime},
        {QStringLiteral("datetime2"), tcDateTime},    {QStringLiteral("datetimeoffset"), tcDateTime},
        {QStringLiteral("float"), tcFloat},           {QStringLiteral("real"), tcFloat},
        {QStringLiteral("money"), tcFloat},           {QStringLiteral("smallmoney"), tcFloat},
        {QStringLiteral("numeric"), tcFloat},         {QStringLiteral("decimal"), tcFloat},
        {QStringLiteral("varchar"), tcVarchar},       {QStringLiteral("nchar"), tcVarchar},
        {QStringLiteral("string"), tcVarchar},
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
//    (also for keys of several columns), with the referenced table's schema;
//    a column in several foreign keys takes the first constraint by name
//    (rn = 1); matched by schema, table and column;
//  - Pkeys: primary-key columns, constraints joined to their key columns by
//    schema and name, matched by schema, table and column.
// Sorted by table name, then schema, then ordinal position, so that the rows
// of one table stay together. Every column is named in the exact case in
// which its view or derived table declares it: in a database with a
// case-sensitive collation any other spelling is an unknown column.
QString GetMetadataQuery()
{
    static const char* const lines[] = {
        "select ",
        "\ttab= ta.TABLE_NAME, ",
        "\tcol=co.COLUMN_NAME, ",
        "\t[schema]=co.TABLE_SCHEMA, ",
        "\tstab=co.TABLE_SCHEMA+'.'+ta.TABLE_NAME, ",
        " Fkeys.FK_Column , ",
        "\tFkeys.PK_Table , ",
        "\tFkeys.PK_Column, ",
        "\tFkeys.Constraint_Name, ",
        "\tPK=Pkeys.COLUMN_NAME, ",
        "\t[isnull]=co.IS_NULLABLE, ",
        "\ttyp=co.DATA_TYPE, ",
        "\tchar_max=co.CHARACTER_MAXIMUM_LENGTH, ",
        "\tPK_schema=Fkeys.PK_Schema ",
        "from ",
        "INFORMATION_SCHEMA.TABLES ta ",
        "inner join INFORMATION_SCHEMA.COLUMNS co on ta.TABLE_SCHEMA=co.TABLE_SCHEMA and "
        "ta.TABLE_NAME=co.TABLE_NAME and ta.TABLE_TYPE='BASE TABLE' ",
        "left join ",
        "( ",
        "\tSELECT ",
        "\tK_Schema = OBJECT_SCHEMA_NAME(FKC.parent_object_id), ",
        "\tK_Table = OBJECT_NAME(FKC.parent_object_id), ",
        "\tFK_Column = COL_NAME(FKC.parent_object_id, FKC.parent_column_id), ",
        "\tPK_Schema = OBJECT_SCHEMA_NAME(FKC.referenced_object_id), ",
        "\tPK_Table = OBJECT_NAME(FKC.referenced_object_id), ",
        "\tPK_Column = COL_NAME(FKC.referenced_object_id, FKC.referenced_column_id), ",
        "\tConstraint_Name = OBJECT_NAME(FKC.constraint_object_id), ",
        "\trn = ROW_NUMBER() OVER (PARTITION BY FKC.parent_object_id, FKC.parent_column_id "
        "ORDER BY OBJECT_NAME(FKC.constraint_object_id)) ",
        "\tFROM ",
        "\tsys.foreign_key_columns FKC ",
        ") Fkeys on Fkeys.FK_Column=co.COLUMN_NAME and Fkeys.K_Table=ta.TABLE_NAME and "
        "Fkeys.K_Schema=ta.TABLE_SCHEMA and Fkeys.rn=1 ",
        "left join ",
        "(SELECT i1.TABLE_SCHEMA, i1.TABLE_NAME, i2.COLUMN_NAME ",
        "\tFROM INFORMATION_SCHEMA.TABLE_CONSTRAINTS i1 ",
        "\tINNER JOIN INFORMATION_SCHEMA.KEY_COLUMN_USAGE i2 ON i1.CONSTRAINT_SCHEMA = "
        "i2.CONSTRAINT_SCHEMA AND i1.CONSTRAINT_NAME = i2.CONSTRAINT_NAME ",
        "\tWHERE i1.CONSTRAINT_TYPE = 'PRIMARY KEY'  ",
        ") Pkeys on Pkeys.COLUMN_NAME=co.COLUMN_NAME and Pkeys.TABLE_NAME=ta.TABLE_NAME and "
        "Pkeys.TABLE_SCHEMA=ta.TABLE_SCHEMA ",
        "order by 1,3,co.ORDINAL_POSITION ",
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
