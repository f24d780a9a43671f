#include "script/blockparts.h"

namespace corvane::script::parts {

QString quoted(const QString& text)
{
    if (!text.contains(u'\''))
        return text;
    QString doubled = text;
    doubled.replace(u'\'', QStringLiteral("''"));
    return doubled;
}

void appendCursorHead(QString& out, const TColumnRec& slot)
{
    out += u"DECLARE cur CURSOR FOR \r\n"
           u" SELECT [" + slot.col + u"] from " + slot.stab + u" FOR UPDATE \r\n"
           u" OPEN cur \r\n"
           u" FETCH cur INTO @val \r\n"
           u" WHILE @@FETCH_STATUS = 0 \r\n"
           u"   BEGIN \r\n";
}

void appendCursorTail(QString& out, const TColumnRec& slot, bool enableTriggers)
{
    out += u"     FETCH cur INTO @val \r\n"
           u" END \r\n";
    if (enableTriggers)
        out += u" alter table " + slot.stab + u" enable trigger all \r\n";
    out += u" CLOSE cur \r\n"
           u" DEALLOCATE cur ";
}

void appendRowUpdate(QString& out, const TColumnRec& slot, QStringView value)
{
    out += u"     update " + slot.stab + u" set [" + slot.col + u"]=" + value +
           u" WHERE CURRENT OF cur \r\n";
}

void appendShuffle(QString& out, const TColumnRec& slot, QStringView insertHead, QStringView pool,
                   QStringView disablePrefix)
{
    // A script declares @rand_tab once: the table is emptied so that this
    // column's values are not mixed with an earlier block's. Its IDENTITY does
    // not restart, so the rows are counted from this block's first rid.
    out += u"delete from @rand_tab \r\n" + insertHead + slot.col + u"] from " + slot.stab +
           u" order by newid() \r\n";
    if (!disablePrefix.isEmpty())
        out += disablePrefix + slot.stab + u" disable trigger all \r\n";
    out += u"set @id=(select min(rid)-1 from @rand_tab) \r\n"
           u"DECLARE cur CURSOR  FOR \r\n"
           u"SELECT  [" + slot.col + u"] from " + slot.stab + u" FOR UPDATE  \r\n"
           u"OPEN cur \r\n"
           u"FETCH cur INTO @val  \r\n"
           u"WHILE @@FETCH_STATUS = 0  \r\n"
           u"  BEGIN \r\n"
           u"  set @id=@id+1 \r\n"
           u"  update " + slot.stab + u" set [" + slot.col + u"]=(select " + pool +
           u" from @rand_tab where rid=@id) WHERE CURRENT OF cur  \r\n"
           u" FETCH cur INTO @val  \r\n"
           u"END   \r\n";
    if (!disablePrefix.isEmpty())
        out += u"alter table " + slot.stab + u" enable trigger all \r\n";
    out += u"CLOSE cur \r\n"
           u"DEALLOCATE cur  ";
}

void appendKeyDraw(QString& out, const TColumnRec& slot, const KeyDraw& d)
{
    const QString keys = u"( select " + slot.PK_column + u" from " + slot.PK_table + u")";
    out += u"   set " + d.variable + u"=NULL \r\n"
           u"   set @tries=0 \r\n"
           u"     if exists (select " + slot.PK_column + u" from " + slot.PK_table + u" where " +
           slot.PK_column + u" between " + d.between + u") \r\n"
           u"     while (( " + d.variable + u" not in " + keys + u") or (" + d.variable +
           u" is  null)) and @tries<" + DrawLimit + u" \r\n"
           u"         select " + d.variable + u"=" + d.draw + u", @tries=@tries+1 \r\n" +
           d.fallbackIndent + u"if " + d.variable + u" is null or " + d.variable + u" not in " +
           keys + u" " + d.keepValue + u" \r\n";
    appendRowUpdate(out, slot, d.variable);
}

void appendDisableTriggers(QString& out, const TColumnRec& slot)
{
    out += u" alter table " + slot.stab + u" disable trigger all \r\n";
}

void appendEnableTriggers(QString& out, const TColumnRec& slot, bool lineEnd)
{
    out += u" alter table " + slot.stab + u" enable trigger all ";
    if (lineEnd)
        out += u"\r\n";
}

void appendSetNull(QString& out, const TColumnRec& slot)
{
    out += u"update " + slot.stab + u" set [" + slot.col + u"]=NULL \r\n";
}

} // namespace corvane::script::parts
