#include "script/blockparts.h"

#include "catalogue/sqlname.h"

namespace corvane::script::parts {

QString quoted(const QString& text)
{
    if (!text.contains(u'\''))
        return text;
    QString doubled = text;
    doubled.replace(u'\'', QStringLiteral("''"));
    return doubled;
}

BlockWriter::BlockWriter(QString& out, const TColumnRec& slot, const BlockOptions& options)
    : out(out), slot(slot), options(options), table(quoteTable(slot.schema, slot.tab)),
      column(quoteName(slot.col)), keys(quoteTable(slot.PK_schema, slot.PK_table)),
      key(quoteName(slot.PK_column)),
      label(u"N'Anonymisation table " + quoted(slot.stab) + u" column [" + quoted(slot.col) + u"]'")
{
}

namespace {

// The codes whose blocks read the referenced table's keys.
bool readsKeys(MethodCode code)
{
    return CountsMisses(code) || code == 5 || code == 105 || code == 1005 || code == 2005;
}

} // namespace

void BlockWriter::begin(bool countsMisses)
{
    out += u"begin try \r\n"
           u" begin transaction \r\n";
    // A table that does not exist stops the whole batch where a statement
    // names it, out of reach of CATCH; in the script's one batch that would
    // end every later column too, so the block looks first.
    if (options.target == Target::Script) {
        appendTableCheck(table);
        if (readsKeys(slot.method))
            appendTableCheck(keys);
    }
    if (countsMisses)
        out += u" set @misses=0 \r\n";
}

void BlockWriter::appendTableCheck(const QString& name)
{
    const QString literal = quoted(name);
    out += u" if object_id(N'" + literal + u"') is null raiserror(N'Invalid object name %s.',16,1,N'" +
           literal + u"') \r\n";
}

void BlockWriter::end(bool cursor, bool countsMisses)
{
    if (!out.endsWith(u"\r\n"))
        out += u"\r\n";
    out += u" commit transaction \r\n";
    const bool script = options.target == Target::Script;
    if (countsMisses && script)
        out += u" if @misses>0 print " + label +
               u"+N' - '+cast(@misses as nvarchar(11))+N' rows kept their values: no key was "
               u"drawn for them' \r\n";
    // Under xact_abort an error dooms the transaction: it can only be rolled
    // back. A LOCAL cursor would outlive the failure until the end of the
    // batch, which in the script is the whole script.
    out += u"end try \r\n"
           u"begin catch \r\n"
           u" if xact_state()<>0 rollback transaction \r\n";
    if (cursor)
        out += u" if cursor_status('local','cur')>=-1 deallocate cur \r\n";
    // THROW would end the script's only batch; RAISERROR reports and goes on.
    if (script)
        out += u" set @msg=error_message() \r\n"
               u" raiserror(N'%s - FAILED: %s',16,1," + label + u",@msg) \r\n";
    else
        out += u" ;throw \r\n";
    out += u"end catch ";
    if (countsMisses && !script)
        out += u"\r\nselect misses=@misses ";
}

QStringView BlockWriter::cursorKind() const
{
    // KEYSET fixes the rows and their order when the cursor opens; it needs a
    // unique index, without one the server would make it a read-only static
    // cursor.
    return options.keyset ? QStringView(u"CURSOR LOCAL KEYSET") : QStringView(u"CURSOR LOCAL");
}

void BlockWriter::cursorHead(QStringView fetchInto)
{
    out += u"DECLARE cur " + cursorKind() + u" FOR \r\n"
           u" SELECT " + column + u" from " + table + u" FOR UPDATE \r\n"
           u" OPEN cur \r\n"
           u" FETCH cur INTO " + fetchInto + u" \r\n"
           u" WHILE @@FETCH_STATUS = 0 \r\n"
           u"   BEGIN \r\n";
}

void BlockWriter::cursorTail(QStringView fetchInto, bool enableTriggers)
{
    out += u"     FETCH cur INTO " + fetchInto + u" \r\n"
           u" END \r\n";
    if (enableTriggers)
        out += u" alter table " + table + u" enable trigger all \r\n";
    out += u" CLOSE cur \r\n"
           u" DEALLOCATE cur ";
}

void BlockWriter::rowUpdate(QStringView value)
{
    out += u"     update " + table + u" set " + column + u"=" + value + u" WHERE CURRENT OF cur \r\n";
}

void BlockWriter::shuffle(QStringView insertHead, QStringView pool, QStringView fetchInto,
                          QStringView disablePrefix)
{
    // The pool is emptied so that this column's values are not mixed with an
    // earlier block's. Its IDENTITY does not restart, so the rows are counted
    // from this block's first rid; rid is the pool's key, a seek per row.
    out += u"delete from @pool \r\n" + insertHead + pool + u") select " + column + u" from " +
           table + u" order by newid() \r\n";
    if (!disablePrefix.isEmpty())
        out += disablePrefix + table + u" disable trigger all \r\n";
    out += u"set @id=(select min(rid)-1 from @pool) \r\n"
           u"if @id is null raiserror(N'No values to shuffle: the pool of the column is empty.',16,1) \r\n"
           u"DECLARE cur " + cursorKind() + u"  FOR \r\n"
           u"SELECT  " + column + u" from " + table + u" FOR UPDATE  \r\n"
           u"OPEN cur \r\n"
           u"FETCH cur INTO " + fetchInto + u"  \r\n"
           u"WHILE @@FETCH_STATUS = 0  \r\n"
           u"  BEGIN \r\n"
           u"  set @id=@id+1 \r\n"
           u"  update " + table + u" set " + column + u"=(select " + pool +
           u" from @pool where rid=@id) WHERE CURRENT OF cur  \r\n"
           u" FETCH cur INTO " + fetchInto + u"  \r\n"
           u"END   \r\n";
    if (!disablePrefix.isEmpty())
        out += u"alter table " + table + u" enable trigger all \r\n";
    out += u"CLOSE cur \r\n"
           u"DEALLOCATE cur  ";
}

void BlockWriter::keyDraw(const KeyDraw& d)
{
    // NOT EXISTS, unlike NOT IN, is not made unknown by a NULL key.
    const QString isKey =
        u"exists ( select " + key + u" from " + keys + u" where " + key + u"=" + d.variable + u")";
    out += u"   set " + d.variable + u"=NULL \r\n"
           u"   set @tries=0 \r\n"
           u"     if exists (select " + key + u" from " + keys + u" where " + key + u" between " +
           d.low + u" and " + d.high + u") \r\n"
           u"     while (not " + isKey + u") and @tries<" + DrawLimit + u" \r\n"
           u"         select " + d.variable + u"=" + d.draw + u", @tries=@tries+1 \r\n" +
           d.fallbackIndent + u"if " + isKey + u" \r\n";
    rowUpdate(d.variable);
    out += d.fallbackIndent + u"else if " + d.fetched + u" is not null set @misses=@misses+1 \r\n";
}

void BlockWriter::disableTriggers()
{
    out += u" alter table " + table + u" disable trigger all \r\n";
}

void BlockWriter::enableTriggers(bool lineEnd)
{
    out += u" alter table " + table + u" enable trigger all ";
    if (lineEnd)
        out += u"\r\n";
}

void BlockWriter::setNull()
{
    out += u"update " + table + u" set " + column + u"=NULL \r\n";
}

} // namespace corvane::script::parts
