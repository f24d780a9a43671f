#include "check/factsquery.h"

#include <QRegularExpression>

namespace corvane::check {

namespace {

// One OUTER APPLY per group of facts, with the stub that stands for it when
// the login may not read its views. Every name is written in the case of the
// catalogue views' own columns, so that a case-sensitive database accepts it.
struct Section
{
    FactGroup group;
    QStringList views; // the catalogue views the section reads, as error 229 names them
    const char16_t* apply;
    const char16_t* stub;
};

const QList<Section>& sections()
{
    static const QList<Section> list = {
        {FactGroup::UniqueIndexes,
         {QStringLiteral("indexes"), QStringLiteral("index_columns")},
         // The narrowest enforced unique index that has the column as a key.
         u"outer apply (select top (1) i.name, key_columns=(select count(*) from "
         u"sys.index_columns k where k.object_id=i.object_id and k.index_id=i.index_id and "
         u"k.key_ordinal>0), i.has_filter \r\n"
         u"\tfrom sys.index_columns ic inner join sys.indexes i on i.object_id=ic.object_id and "
         u"i.index_id=ic.index_id \r\n"
         u"\twhere ic.object_id=c.object_id and ic.column_id=c.column_id and ic.key_ordinal>0 "
         u"and i.is_unique=1 and i.is_disabled=0 and i.is_hypothetical=0 \r\n"
         u"\torder by key_columns, i.has_filter, i.name) u \r\n",
         u"outer apply (select name=cast(null as sysname), key_columns=cast(null as int), "
         u"has_filter=cast(null as bit)) u \r\n"},
        {FactGroup::ReferencingKeys,
         {QStringLiteral("foreign_key_columns"), QStringLiteral("foreign_keys")},
         // update_referential_action 1 is CASCADE; disabled keys are not enforced.
         u"outer apply (select referenced_by=count(*), without_cascade=sum(case when "
         u"fk.update_referential_action=1 then 0 else 1 end), blocking_key=max(case when "
         u"fk.update_referential_action=1 then N'' else fk.name end) \r\n"
         u"\tfrom sys.foreign_key_columns rc inner join sys.foreign_keys fk on "
         u"fk.object_id=rc.constraint_object_id \r\n"
         u"\twhere rc.referenced_object_id=c.object_id and rc.referenced_column_id=c.column_id "
         u"and fk.is_disabled=0) r \r\n",
         u"outer apply (select referenced_by=cast(null as int), without_cascade=cast(null as "
         u"int), blocking_key=cast(null as sysname)) r \r\n"},
        {FactGroup::OwnKeys,
         {QStringLiteral("foreign_key_columns")},
         u"outer apply (select foreign_keys=count(*), key_columns=max(n.key_columns) \r\n"
         u"\tfrom sys.foreign_key_columns oc cross apply (select key_columns=count(*) from "
         u"sys.foreign_key_columns x where x.constraint_object_id=oc.constraint_object_id) n \r\n"
         u"\twhere oc.parent_object_id=c.object_id and oc.parent_column_id=c.column_id) f \r\n",
         u"outer apply (select foreign_keys=cast(null as int), key_columns=cast(null as int)) f "
         u"\r\n"},
        {FactGroup::Triggers,
         {QStringLiteral("triggers")},
         u"outer apply (select triggers=count(*), first_trigger=min(tg.name) \r\n"
         u"\tfrom sys.triggers tg where tg.parent_id=t.object_id and tg.is_disabled=0 and "
         u"OBJECTPROPERTY(tg.object_id, 'ExecIsUpdateTrigger')=1) tr \r\n",
         u"outer apply (select triggers=cast(null as int), first_trigger=cast(null as sysname)) "
         u"tr \r\n"},
        {FactGroup::RowCounts,
         {QStringLiteral("partitions")},
         // The heap or the clustered index holds each row once.
         u"outer apply (select [rows]=sum(pa.[rows]) from sys.partitions pa where "
         u"pa.object_id=t.object_id and pa.index_id<2) p \r\n",
         u"outer apply (select [rows]=cast(null as bigint)) p \r\n"},
    };
    return list;
}

constexpr char16_t Head[] =
    u"select \r\n"
    u"\t[schema]=SCHEMA_NAME(t.schema_id), tab=t.name, col=c.name, typ=ty.name, \r\n"
    u"\tmax_length=c.max_length, [precision]=c.precision, scale=c.scale, \r\n"
    u"\tis_nullable=c.is_nullable, is_identity=c.is_identity, is_computed=c.is_computed, \r\n"
    u"\tgenerated_always=c.generated_always_type, is_sparse=c.is_sparse, \r\n"
    u"\ttemporal_type=t.temporal_type, is_memory_optimized=t.is_memory_optimized, \r\n"
    u"\tunique_index=u.name, unique_columns=u.key_columns, unique_filtered=u.has_filter, \r\n"
    u"\treferenced_by=r.referenced_by, without_cascade=r.without_cascade, "
    u"blocking_key=r.blocking_key, \r\n"
    u"\tforeign_keys=f.foreign_keys, foreign_key_columns=f.key_columns, \r\n"
    u"\ttriggers=tr.triggers, first_trigger=tr.first_trigger, [rows]=p.[rows] \r\n"
    u"from sys.tables t \r\n"
    u"inner join sys.columns c on c.object_id=t.object_id \r\n"
    // The system type, also for a column of an alias type such as sysname.
    u"left join sys.types ty on ty.user_type_id=c.system_type_id \r\n";

constexpr char16_t Tail[] = u"where t.is_ms_shipped=0 \r\n"
                            u"order by 1,2,c.column_id ";

// The view that error 229 names: "The SELECT permission was denied on the
// object 'partitions', database 'mssqlsystemresource', schema 'sys'."
QString deniedView(const Error& error)
{
    static const QRegularExpression object(QStringLiteral("on the object '([^']*)'"));
    if (error.code != 229)
        return {};
    const auto match = object.match(error.message);
    return match.hasMatch() ? match.captured(1) : QString();
}

bool flag(const QString& text)
{
    return text == u"1" || text.compare(u"true", Qt::CaseInsensitive) == 0;
}

} // namespace

QString FactsQuery(unsigned unknown)
{
    QString text = QString::fromUtf16(Head);
    for (const Section& s : sections())
        text += QString::fromUtf16((unknown & unsigned(s.group)) ? s.stub : s.apply);
    text += QString::fromUtf16(Tail);
    return text;
}

Facts BuildFacts(const db::Rows& rows, unsigned unknown, const QString& reason)
{
    Facts facts;
    for (const Section& s : sections())
        if (unknown & unsigned(s.group))
            facts.setUnknown(s.group, reason);

    const auto index = [&](const char* name) { return rows.fieldIndex(QLatin1String(name)); };
    const int schema = index("schema"), tab = index("tab"), col = index("col"), typ = index("typ");
    const int maxLength = index("max_length"), precision = index("precision"),
              scale = index("scale");
    const int nullable = index("is_nullable"), identity = index("is_identity"),
              computed = index("is_computed"), generated = index("generated_always"),
              sparse = index("is_sparse"), temporal = index("temporal_type"),
              memory = index("is_memory_optimized");
    const int uniqueIndex = index("unique_index"), uniqueColumns = index("unique_columns"),
              uniqueFiltered = index("unique_filtered");
    const int referencedBy = index("referenced_by"), withoutCascade = index("without_cascade"),
              blockingKey = index("blocking_key");
    const int foreignKeys = index("foreign_keys"), foreignKeyColumns = index("foreign_key_columns");
    const int triggers = index("triggers"), firstTrigger = index("first_trigger"),
              rowCount = index("rows");

    TableFacts* table = nullptr;
    QString lastSchema, lastTable;
    for (const QStringList& row : rows.rows) {
        const auto text = [&](int i) { return i < 0 ? QString() : row.value(i); };
        const auto number = [&](int i) { return text(i).toInt(); };
        if (!table || text(schema) != lastSchema || text(tab) != lastTable) {
            lastSchema = text(schema);
            lastTable = text(tab);
            table = &facts.table(lastSchema, lastTable);
            // temporal_type 2: a system-versioned table (1 is a history table).
            table->temporal = number(temporal) == 2;
            table->memoryOptimized = flag(text(memory));
            table->triggers = number(triggers);
            table->firstTrigger = text(firstTrigger);
            bool ok = false;
            const qint64 n = text(rowCount).toLongLong(&ok);
            if (ok)
                table->rows = n;
        }
        ColumnFacts& c = table->columns[text(col)];
        c.type = text(typ);
        c.maxLength = number(maxLength);
        c.precision = number(precision);
        c.scale = number(scale);
        c.nullable = flag(text(nullable));
        c.identity = flag(text(identity));
        c.computed = flag(text(computed));
        c.generatedAlways = number(generated) != 0;
        c.sparse = flag(text(sparse));
        c.uniqueIndex = text(uniqueIndex);
        c.uniqueColumns = c.uniqueIndex.isEmpty() ? 0 : number(uniqueColumns);
        c.uniqueFiltered = flag(text(uniqueFiltered));
        c.referencedBy = number(referencedBy);
        c.referencedWithoutCascade = number(withoutCascade);
        c.blockingKey = text(blockingKey);
        c.foreignKeys = number(foreignKeys);
        c.foreignKeyColumns = number(foreignKeyColumns);
    }
    return facts;
}

Result<Facts> LoadFacts(db::Connection& connection)
{
    unsigned unknown = 0;
    QString reason;
    for (;;) {
        auto rows = connection.queryAll(FactsQuery(unknown));
        if (rows)
            return BuildFacts(*rows, unknown, reason);
        const QString view = deniedView(rows.error());
        unsigned dropped = 0;
        if (!view.isEmpty())
            for (const Section& s : sections())
                if (!(unknown & unsigned(s.group)) && s.views.contains(view, Qt::CaseInsensitive))
                    dropped |= unsigned(s.group);
        // Anything else, or a denied view that every attempt needs (the
        // columns themselves), ends the load.
        if (!dropped)
            return rows.error();
        unknown |= dropped;
        reason = reason.isEmpty() ? rows.error().message : reason + u' ' + rows.error().message;
    }
}

Facts ReadFacts(db::Connection& connection)
{
    auto facts = LoadFacts(connection);
    return facts ? std::move(*facts) : Facts::unknown(facts.error().message);
}

} // namespace corvane::check
