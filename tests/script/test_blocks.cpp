#include "project/wordlist.h"
#include "script/generator.h"
#include "tests/support/testlocale.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane;
using namespace Qt::StringLiterals;

namespace {

// Every block's own lines as its line list reads, with the slot's fields as
// {names}: {T} the table as [schema].[table], {C} the column, {K} and {k} the
// referenced table and key column, {cur} the cursor's kind. A line that ends
// in '|' ends with CR LF; {tab} is one TAB.
QString blockTemplate(int code)
{
    switch (code) {
    case 1:
        return uR"(update {T} set {C}='{d1}' |)"_s;
    case 2:
        return uR"(DECLARE cur {cur} FOR |
SELECT {C} from {T} FOR UPDATE |
OPEN cur |
FETCH cur INTO @val_datetime |
WHILE @@FETCH_STATUS = 0 |
{tab}BEGIN |
 update {T} set {C}=dateadd(day,floor(rand()*2*{n1}-{n1}),{C}) WHERE CURRENT OF cur  |
 FETCH cur INTO @val_datetime |
END |
CLOSE cur |
DEALLOCATE cur  )"_s;
    case 3:
    case 7:
        return uR"(delete from @pool |
insert into @pool  (_datetime) select {C} from {T} order by newid() |
set @id=(select min(rid)-1 from @pool) |
if @id is null and exists (select * from {T}) raiserror(N'No values to shuffle: the pool of the column is empty.',16,1) |
DECLARE cur {cur}  FOR |
SELECT  {C} from {T} FOR UPDATE  |
OPEN cur |
FETCH cur INTO @val_datetime  |
WHILE @@FETCH_STATUS = 0  |
  BEGIN |
  set @id=@id+1 |
  update {T} set {C}=(select _datetime from @pool where rid=@id) WHERE CURRENT OF cur  |
 FETCH cur INTO @val_datetime  |
END   |
CLOSE cur |
DEALLOCATE cur  )"_s;
    case 4:
        return uR"( DECLARE cur {cur}  FOR  |
 SELECT  {C} from {T} FOR UPDATE  |
 OPEN cur |
 FETCH cur INTO @val_datetime |
 WHILE @@FETCH_STATUS = 0  |
   BEGIN  |
     update {T} set {C}=dateadd(day,floor(rand()*datediff(day,'{d1}','{d2}')) ,'{d1}') WHERE CURRENT OF cur |
  FETCH cur INTO @val_datetime |
 END |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 5:
        return uR"(if '{d1}' in ( select {k} from {K}) update {T} set {C}='{d1}' |)"_s;
    case 6:
        return uR"(DECLARE cur {cur} FOR |
 SELECT {C} from {T} FOR UPDATE |
 OPEN cur |
 FETCH cur INTO @val_datetime |
 WHILE @@FETCH_STATUS = 0 |
   BEGIN |
   set @new_datetime=NULL |
   set @tries=0 |
     if exists (select {k} from {K} where {k} between dateadd(day,{lo},@val_datetime) and dateadd(day,{hi},@val_datetime)) |
     while (not exists ( select {k} from {K} where {k}=@new_datetime)) and @tries<1000 |
         select @new_datetime=dateadd(day,floor(rand()*2*{n1}-{n1}),@val_datetime), @tries=@tries+1 |
   if exists ( select {k} from {K} where {k}=@new_datetime) |
     update {T} set {C}=@new_datetime WHERE CURRENT OF cur |
   else if @val_datetime is not null set @misses=@misses+1 |
     FETCH cur INTO @val_datetime |
 END |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 8:
        return uR"(DECLARE cur {cur} FOR |
 SELECT {C} from {T} FOR UPDATE |
 OPEN cur |
 FETCH cur INTO @val_datetime |
 WHILE @@FETCH_STATUS = 0 |
   BEGIN |
   set @new_datetime=NULL |
   set @tries=0 |
     if exists (select {k} from {K} where {k} between '{lo}' and '{hi}') |
     while (not exists ( select {k} from {K} where {k}=@new_datetime)) and @tries<1000 |
         select @new_datetime=dateadd(day,floor(rand()*datediff(day,'{d1}','{d2}')) ,'{d1}'), @tries=@tries+1 |
   if exists ( select {k} from {K} where {k}=@new_datetime) |
     update {T} set {C}=@new_datetime WHERE CURRENT OF cur |
   else if @val_datetime is not null set @misses=@misses+1 |
     FETCH cur INTO @val_datetime |
 END |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 9:
    case 109:
    case 1009:
    case 2009:
        return uR"(update {T} set {C}=NULL |)"_s;
    case 101:
    case 2001:
        return uR"( update {T} set {C}={n1} |)"_s;
    case 102:
        return uR"(DECLARE cur {cur} FOR |
 SELECT {C} from {T} FOR UPDATE |
 OPEN cur |
 FETCH cur INTO @val_int |
 WHILE @@FETCH_STATUS = 0 |
   BEGIN |
     set @new_int=@val_int+floor(rand()*{n1}*2-{n1}) |
     update {T} set {C}=@new_int WHERE CURRENT OF cur |
     FETCH cur INTO @val_int |
 END |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 103:
        return uR"(DECLARE cur {cur} FOR |
 SELECT {C} from {T} FOR UPDATE |
 OPEN cur |
 FETCH cur INTO @val_int |
 WHILE @@FETCH_STATUS = 0 |
   BEGIN |
     set @new_int=floor(rand()*(cast({n2} as bigint)-{n1}+1)+{n1})|
     update {T} set {C}=@new_int WHERE CURRENT OF cur |
     FETCH cur INTO @val_int |
 END |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 104:
    case 1004:
    case 2004:
        return uR"(delete from @pool |
insert into @pool ({pool}) select {C} from {T} order by newid() |
set @id=(select min(rid)-1 from @pool) |
if @id is null and exists (select * from {T}) raiserror(N'No values to shuffle: the pool of the column is empty.',16,1) |
DECLARE cur {cur}  FOR |
SELECT  {C} from {T} FOR UPDATE  |
OPEN cur |
FETCH cur INTO {v}  |
WHILE @@FETCH_STATUS = 0  |
  BEGIN |
  set @id=@id+1 |
  update {T} set {C}=(select {pool} from @pool where rid=@id) WHERE CURRENT OF cur  |
 FETCH cur INTO {v}  |
END   |
CLOSE cur |
DEALLOCATE cur  )"_s;
    case 105:
    case 2005:
        return uR"( alter table {T} disable trigger all |
 if {n1} in ( select {k} from {K}) update {T} set {C}={n1} |
 alter table {T} enable trigger all )"_s;
    case 106:
        return uR"( alter table {T} disable trigger all |
DECLARE cur {cur} FOR |
 SELECT {C} from {T} FOR UPDATE |
 OPEN cur |
 FETCH cur INTO @val_int |
 WHILE @@FETCH_STATUS = 0 |
   BEGIN |
   set @new_int=NULL |
   set @tries=0 |
     if exists (select {k} from {K} where {k} between {lo} and {hi}) |
     while (not exists ( select {k} from {K} where {k}=@new_int)) and @tries<1000 |
         select @new_int=@val_int+floor(rand()*{n1}*2-{n1}), @tries=@tries+1 |
   if exists ( select {k} from {K} where {k}=@new_int) |
     update {T} set {C}=@new_int WHERE CURRENT OF cur |
   else if @val_int is not null set @misses=@misses+1 |
     FETCH cur INTO @val_int |
 END |
 alter table {T} enable trigger all |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 107:
        return uR"( alter table {T} disable trigger all |
 DECLARE cur {cur} FOR |
 SELECT {C} from {T} FOR UPDATE |
 OPEN cur |
 FETCH cur INTO @val_int |
 WHILE @@FETCH_STATUS = 0 |
   BEGIN |
   set @new_int=NULL |
   set @tries=0 |
     if exists (select {k} from {K} where {k} between {lo} and {hi}) |
     while (not exists ( select {k} from {K} where {k}=@new_int)) and @tries<1000 |
         select @new_int=floor(rand()*(cast({n2} as bigint)-{n1}+1)+{n1}), @tries=@tries+1 |
     if exists ( select {k} from {K} where {k}=@new_int) |
     update {T} set {C}=@new_int WHERE CURRENT OF cur |
     else if @val_int is not null set @misses=@misses+1 |
     FETCH cur INTO @val_int |
 END |
 alter table {T} enable trigger all |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 108:
    case 1008:
    case 2008:
        return uR"(delete from @pool |
insert into @pool ({pool}) select {C} from {T} order by newid() |
{disable}{T} disable trigger all |
set @id=(select min(rid)-1 from @pool) |
if @id is null and exists (select * from {T}) raiserror(N'No values to shuffle: the pool of the column is empty.',16,1) |
DECLARE cur {cur}  FOR |
SELECT  {C} from {T} FOR UPDATE  |
OPEN cur |
FETCH cur INTO {v}  |
WHILE @@FETCH_STATUS = 0  |
  BEGIN |
  set @id=@id+1 |
  update {T} set {C}=(select {pool} from @pool where rid=@id) WHERE CURRENT OF cur  |
 FETCH cur INTO {v}  |
END   |
alter table {T} enable trigger all |
CLOSE cur |
DEALLOCATE cur  )"_s;
    case 1001:
        return uR"( update {T} set {C}=N'{q1}' |)"_s;
    case 1002:
        return uR"(DECLARE cur {cur} FOR |
 SELECT {C} from {T} FOR UPDATE |
 OPEN cur |
 FETCH cur INTO @val_text |
 WHILE @@FETCH_STATUS = 0 |
   BEGIN |
     update {T} set {C}=substring(replicate(cast(N'{q1}' as nvarchar(max)),floor((len(cast({C} as nvarchar(max))+N'x')-1)/(len(N'{q1}'+N'x')-1))+1),1,(len(cast({C} as nvarchar(max))+N'x')-1)) WHERE CURRENT OF cur |
     FETCH cur INTO @val_text |
 END |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 1003:
        return uR"(set @lorem='Lorem ipsum dolor sit amet, consectetur adipisicing elit, sed do eiusmod tempor incididunt ut labore |
et dolore magna aliqua. Ut enim ad minim veniam, quis nostrud exercitation ullamco laboris nisi ut aliquip ex ea commodo consequat. |
Duis aute irure dolor in reprehenderit in voluptate velit esse cillum dolore eu fugiat nulla pariatur. Excepteur sint occaecat cupidatat non |
proident, sunt in culpa qui officia deserunt mollit anim id est laborum.'  |
DECLARE cur {cur} FOR |
 SELECT {C} from {T} FOR UPDATE |
 OPEN cur |
 FETCH cur INTO @val_text |
 WHILE @@FETCH_STATUS = 0 |
   BEGIN |
  {tab} set @rand_int=floor(rand()*({n2}-{n1})+{n1}) |
     update {T} set {C}=substring(replicate(@lorem,floor(@rand_int/len(@lorem))+1),1,@rand_int) WHERE CURRENT OF cur |
     FETCH cur INTO @val_text |
 END |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 1005:
        return uR"( alter table {T} disable trigger all |
 if N'{q1}' in ( select {k} from {K}) update {T} set {C}=N'{q1}' |
 alter table {T} enable trigger all )"_s;
    case 1007:
        return uR"(delete from @pool |
insert into @pool (_text) select * from dbo.corvane_split(N'{words}',';') |
|
DECLARE cur {cur}  FOR |
SELECT  {C} from {T} FOR UPDATE  |
set @id=(select count(*) from @pool)       |
if @id=0 raiserror(N'No values to draw from: the word list is empty.',16,1) |
OPEN cur |
FETCH cur INTO @val_text  |
WHILE @@FETCH_STATUS = 0  |
  BEGIN |
  update {T} set {C}=(select _text from @pool where rid=cast((select min(rid) from @pool)+floor(rand()*@id) as int)) WHERE CURRENT OF cur  |
 FETCH cur INTO @val_text  |
END   |
CLOSE cur |
DEALLOCATE cur  )"_s;
    case 2002:
        return uR"(DECLARE cur {cur} FOR |
 SELECT {C} from {T} FOR UPDATE |
 OPEN cur |
 FETCH cur INTO @val_float |
 WHILE @@FETCH_STATUS = 0 |
   BEGIN |
     set @rand_float=@val_float+round(rand()*{n1}*2-{n1},{n2}) |
     update {T} set {C}=@rand_float WHERE CURRENT OF cur |
     FETCH cur INTO @val_float |
 END |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 2003:
        return uR"(DECLARE cur {cur} FOR |
 SELECT {C} from {T} FOR UPDATE |
 OPEN cur |
 FETCH cur INTO @val_float |
 WHILE @@FETCH_STATUS = 0 |
   BEGIN |
     set @rand_float=round(rand()*(cast({n2} as float)-{n1})+{n1},2) |
     update {T} set {C}=@rand_float WHERE CURRENT OF cur |
     FETCH cur INTO @val_float |
 END |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 2006:
        return uR"( alter table {T} disable trigger all |
DECLARE cur {cur} FOR |
 SELECT {C} from {T} FOR UPDATE |
 OPEN cur |
 FETCH cur INTO @val_float |
 WHILE @@FETCH_STATUS = 0 |
   BEGIN |
   set @rand_float=NULL |
   set @tries=0 |
     if exists (select {k} from {K} where {k} between {lo} and {hi}) |
     while (not exists ( select {k} from {K} where {k}=@rand_float)) and @tries<1000 |
         select @rand_float=@val_float+round(rand()*{n1}*2-{n1},{n2}), @tries=@tries+1 |
   if exists ( select {k} from {K} where {k}=@rand_float) |
     update {T} set {C}=@rand_float WHERE CURRENT OF cur |
   else if @val_float is not null set @misses=@misses+1 |
     FETCH cur INTO @val_float |
 END |
 alter table {T} enable trigger all |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 2007:
        return uR"( alter table {T} disable trigger all |
DECLARE cur {cur} FOR |
 SELECT {C} from {T} FOR UPDATE |
 OPEN cur |
 FETCH cur INTO @val_float |
 WHILE @@FETCH_STATUS = 0 |
   BEGIN |
   set @rand_float=NULL |
   set @tries=0 |
     if exists (select {k} from {K} where {k} between {lo} and {hi}) |
     while (not exists ( select {k} from {K} where {k}=@rand_float)) and @tries<1000 |
         select @rand_float=round(rand()*(cast({n2} as float)-{n1})+{n1},2), @tries=@tries+1 |
     if exists ( select {k} from {K} where {k}=@rand_float) |
     update {T} set {C}=@rand_float WHERE CURRENT OF cur |
     else if @val_float is not null set @misses=@misses+1 |
     FETCH cur INTO @val_float |
 END |
 alter table {T} enable trigger all |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    default:
        return {};
    }
}

bool isCursorBlock(int code)
{
    return !QList<int>{1, 5, 9, 101, 105, 109, 1001, 1005, 1009, 2001, 2005, 2009}.contains(code);
}

bool countsMisses(int code)
{
    return QList<int>{6, 8, 106, 107, 2006, 2007}.contains(code);
}

// Every block is one transaction whose failure is reported for the column.
QString wrapperTemplate(int code, script::Target target)
{
    QString text = u"begin try |\n begin transaction |\n"_s;
    const bool run = target == script::Target::Run;
    if (!run) {
        text += u" if object_id(N'{Tq}') is null raiserror(N'Invalid object name %s.',16,1,N'{Tq}') |\n"_s;
        if (QList<int>{5, 6, 8, 105, 106, 107, 1005, 2005, 2006, 2007}.contains(code))
            text += u" if object_id(N'{Kq}') is null raiserror(N'Invalid object name %s.',16,1,N'{Kq}') |\n"_s;
    }
    if (countsMisses(code))
        text += u" set @misses=0 |\n"_s;
    text += u"{body}\n commit transaction |\n"_s;
    if (countsMisses(code) && !run)
        text += u" if @misses>0 print {label}+N' - '+cast(@misses as nvarchar(11))+N' rows kept their values: no key was drawn for them' |\n"_s;
    text += u"end try |\nbegin catch |\n if xact_state()<>0 rollback transaction |\n"_s;
    if (isCursorBlock(code))
        text += u" if cursor_status('local','cur')>=-1 deallocate cur |\n"_s;
    text += run ? u" ;throw |\n"_s
                : u" set @msg=error_message() |\n raiserror(N'%s - FAILED: %s',16,1,{label},@msg) |\n"_s;
    text += u"end catch "_s;
    if (countsMisses(code) && run)
        text += u"|\nselect misses=@misses "_s;
    return text;
}

QString lineBreaks(const QString& lines)
{
    QString text;
    for (const QString& line : lines.split(u'\n'))
        text += line.endsWith(u'|') ? line.chopped(1) + u"\r\n"_s : line;
    return text;
}

struct Fields
{
    QString schema, tab, stab, col, pkSchema, pkTable, pkColumn, p1, p2;
    // What lands in the text: numbers as read ({n1}, {n2}), p1 with its
    // quotes doubled, dates as yyyymmdd, the range a key draw reaches, the
    // word list's first line with its quotes doubled.
    QString n1, n2, q1, d1, d2, lo, hi, words;
};

Fields fieldsOf(const QString& p1 = {}, const QString& p2 = {})
{
    Fields f;
    f.schema = u"dbo"_s;
    f.tab = u"Orders"_s;
    f.stab = u"dbo.Orders"_s;
    f.col = u"Order Date"_s;
    f.pkSchema = u"sales"_s;
    f.pkTable = u"Customers"_s;
    f.pkColumn = u"CustomerId"_s;
    f.p1 = f.n1 = f.q1 = p1;
    f.p2 = f.n2 = p2;
    return f;
}

QString label(const Fields& f)
{
    return u"N'Anonymisation table "_s + QString(f.stab).replace(u"'"_s, u"''"_s) + u" column ["_s +
           QString(f.col).replace(u"'"_s, u"''"_s) + u"]'"_s;
}

QString quotedName(QString name)
{
    return u'[' + name.replace(u"]"_s, u"]]"_s) + u']';
}

QString expand(int code, const Fields& f, script::Target target, bool keyset)
{
    QString body = lineBreaks(blockTemplate(code));
    if (!body.endsWith(u"\r\n"_s))
        body += u"\r\n"_s;
    const bool text = code > 1000 && code < 2000;
    const QString pool = code < 100 ? u"_datetime"_s : code < 1000 ? u"_int"_s : text ? u"_text"_s : u"_float"_s;
    const QString fetched = code < 1000 ? u"@val_int"_s : text ? u"@val_text"_s : u"@val_float"_s;
    return lineBreaks(wrapperTemplate(code, target))
        .replace(u"{body}"_s, body)
        .replace(u"{label}"_s, label(f))
        .replace(u"{tab}"_s, u"\t"_s)
        .replace(u"{cur}"_s, keyset ? u"CURSOR LOCAL KEYSET"_s : u"CURSOR LOCAL"_s)
        .replace(u"{disable}"_s, code == 2008 ? u"alter table "_s : u" alter table "_s)
        .replace(u"{pool}"_s, pool)
        .replace(u"{v}"_s, fetched)
        .replace(u"{Tq}"_s, QString(quotedName(f.schema) + u'.' + quotedName(f.tab)).replace(u"'"_s, u"''"_s))
        .replace(u"{Kq}"_s, QString(quotedName(f.pkSchema) + u'.' + quotedName(f.pkTable)).replace(u"'"_s, u"''"_s))
        .replace(u"{T}"_s, quotedName(f.schema) + u'.' + quotedName(f.tab))
        .replace(u"{C}"_s, quotedName(f.col))
        .replace(u"{K}"_s, quotedName(f.pkSchema) + u'.' + quotedName(f.pkTable))
        .replace(u"{k}"_s, quotedName(f.pkColumn))
        .replace(u"{n1}"_s, f.n1)
        .replace(u"{n2}"_s, f.n2)
        .replace(u"{q1}"_s, f.q1)
        .replace(u"{d1}"_s, f.d1)
        .replace(u"{d2}"_s, f.d2)
        .replace(u"{lo}"_s, f.lo)
        .replace(u"{hi}"_s, f.hi)
        .replace(u"{words}"_s, f.words);
}

TColumnRec slotOf(int code, const Fields& f)
{
    TColumnRec slot;
    slot.schema = f.schema;
    slot.tab = f.tab;
    slot.stab = f.stab;
    slot.col = f.col;
    slot.PK_schema = f.pkSchema;
    slot.PK_table = f.pkTable;
    slot.PK_column = f.pkColumn;
    slot.method = code;
    slot.param1 = f.p1;
    slot.param2 = f.p2;
    return slot;
}

const QList<int> AllCodes = {1,    2,    3,    4,    5,    6,    7,    8,    9,    101,  102,  103,
                             104,  105,  106,  107,  108,  109,  1001, 1002, 1003, 1004, 1005, 1007,
                             1008, 1009, 2001, 2002, 2003, 2004, 2005, 2006, 2007, 2008, 2009};

// Parameters that every code reads without complaint, with what they become.
Fields usualFields(int code)
{
    if (code == 2 || code == 6) {
        Fields f = fieldsOf(u"7"_s);
        f.lo = u"-7"_s;
        f.hi = u"6"_s;
        return f;
    }
    if (code < 100) {
        Fields f = fieldsOf(u"3/5/2024"_s, u"12/31/2025"_s);
        f.d1 = f.lo = u"20240305"_s;
        f.d2 = u"20251231"_s;
        f.hi = u"20251230"_s;
        return f;
    }
    if (code < 1000) {
        // A negative bound is written in parentheses: "12--3" would open a comment.
        Fields f = fieldsOf(u"-3"_s, u"12"_s);
        f.n1 = u"(-3)"_s;
        f.lo = code == 106 ? u"@val_int-3"_s : u"(-3)"_s;
        f.hi = code == 106 ? u"@val_int+3"_s : u"12"_s; // a negative width reaches both ways
        return f;
    }
    if (code == 1003)
        return fieldsOf(u"10"_s, u"20"_s);
    if (code == 1007) {
        Fields f = fieldsOf(u"colors"_s);
        f.words = u"red;gr''een;blue"_s;
        return f;
    }
    if (code < 2000) {
        Fields f = fieldsOf(u"O'Brien"_s);
        f.q1 = u"O''Brien"_s;
        return f;
    }
    Fields f = fieldsOf(u"0.5"_s, u"2"_s);
    f.lo = code == 2006 ? u"@val_float-0.5"_s : u"0.5"_s;
    f.hi = code == 2006 ? u"@val_float+0.5"_s : u"2"_s;
    return f;
}

} // namespace

Q_DECLARE_METATYPE(Fields)

class TestBlocks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        test::useTestLocale();
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir::setCurrent(m_dir.path()));
        // The folder's letter case differs from the name the generator looks for.
        QVERIFY(QDir(m_dir.path()).mkdir(u"Virtual_Data"_s));
        writeFile(u"Virtual_Data/colors.txt"_s, "red;gr'een;blue\r\nignored;line\r\n");
        writeFile(u"Virtual_Data/.txt"_s, "");
    }

    void blocks_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<Fields>("fields");
        QTest::addColumn<bool>("keyset");
        QTest::addColumn<int>("target");

        for (int code : AllCodes) {
            QTest::addRow("%d", code) << code << usualFields(code) << false << int(script::Target::Script);
            QTest::addRow("%d keyset run", code) << code << usualFields(code) << true << int(script::Target::Run);
        }

        Fields sameDay = fieldsOf(u"1/1/2030"_s, u"01/01/2030"_s);
        sameDay.d1 = sameDay.d2 = sameDay.lo = sameDay.hi = u"20300101"_s;
        QTest::addRow("4 same day") << 4 << sameDay << false << int(script::Target::Script);
        QTest::addRow("8 same day") << 8 << sameDay << false << int(script::Target::Script);
        // An end before the start: floor(rand()*-3) reaches -3 .. 0 days.
        Fields backwards = fieldsOf(u"1/10/2030"_s, u"1/7/2030"_s);
        backwards.d1 = backwards.hi = u"20300110"_s;
        backwards.d2 = backwards.lo = u"20300107"_s;
        QTest::addRow("8 backwards") << 8 << backwards << false << int(script::Target::Script);

        // A width of 0 draws the value itself; a negative one reaches both ways.
        Fields zero = fieldsOf(u"0"_s);
        zero.lo = zero.hi = u"@val_int"_s;
        QTest::addRow("106 zero width") << 106 << zero << false << int(script::Target::Script);
        Fields negative = fieldsOf(u"-2"_s);
        negative.n1 = u"(-2)"_s;
        negative.lo = u"@val_int-2"_s;
        negative.hi = u"@val_int+2"_s;
        QTest::addRow("106 negative width") << 106 << negative << false << int(script::Target::Script);
        Fields negativeDays = fieldsOf(u" -2 "_s);
        negativeDays.n1 = u"(-2)"_s;
        negativeDays.lo = u"-2"_s;
        negativeDays.hi = u"2"_s;
        QTest::addRow("6 negative days") << 6 << negativeDays << false << int(script::Target::Script);
        Fields swapped = fieldsOf(u"-1.5"_s, u"-7"_s);
        swapped.n1 = u"(-1.5)"_s;
        swapped.n2 = u"(-7)"_s;
        swapped.lo = u"(-7)"_s;
        swapped.hi = u"(-1.5)"_s;
        QTest::addRow("2007 bounds swapped") << 2007 << swapped << false << int(script::Target::Script);

        // Names that break bare T-SQL, taken from the slot's schema and table.
        Fields hostile = usualFields(1004);
        hostile.schema = u"sales"_s;
        hostile.tab = u"Order Line]Items"_s;
        hostile.stab = u"sales.Order Line]Items"_s;
        hostile.col = u"it's]"_s;
        QTest::addRow("1004 hostile names") << 1004 << hostile << false << int(script::Target::Script);

        // The empty word list of the file ".txt".
        QTest::addRow("1007 empty list") << 1007 << fieldsOf() << false << int(script::Target::Script);
    }

    void blocks()
    {
        QFETCH(int, code);
        QFETCH(Fields, fields);
        QFETCH(bool, keyset);
        QFETCH(int, target);
        script::WordLists words;
        words.insert(fields.p1, ReadWordList(fields.p1));
        const script::BlockOptions options{script::Target(target), keyset, &words};
        const auto block = script::BuildBlock(slotOf(code, fields), options);
        QVERIFY2(block.ok(), qPrintable(block.ok() ? QString() : block.error().message));
        QCOMPARE(*block, expand(code, fields, script::Target(target), keyset));
    }

    void codesWithoutBlock_data()
    {
        QTest::addColumn<int>("code");
        for (int code : {-1, 0, 10, 100, 110, 1000, 1006, 1010, 2000, 2010, 3000})
            QTest::addRow("%d", code) << code;
    }

    void codesWithoutBlock()
    {
        QFETCH(int, code);
        const auto block = script::BuildBlock(slotOf(code, fieldsOf(u"x"_s, u"y"_s)));
        QVERIFY(block.ok());
        QCOMPARE(*block, QString());
    }

    // The code alone chooses the block: a date block on a varchar column.
    void typeIsNotConsulted()
    {
        TColumnRec slot = slotOf(9, fieldsOf());
        slot.typ = u"varchar"_s;
        QVERIFY(script::BuildBlock(slot)->contains(u"update [dbo].[Orders] set [Order Date]=NULL \r\n"_s));
    }

    // What the generator refuses before it writes anything: the message names
    // the value, the column and the table.
    void refused_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("p1");
        QTest::addColumn<QString>("p2");
        QTest::addColumn<QString>("message");
        QTest::newRow("1 day first") << 1 << u"31/12/2024"_s << QString() << u"'31/12/2024' is not a valid date (table dbo.Orders, column Order Date)"_s;
        QTest::newRow("4 bad end") << 4 << u"1/1/2024"_s << u"2/30/2024"_s << u"'2/30/2024' is not a valid date (table dbo.Orders, column Order Date)"_s;
        QTest::newRow("8 bad end") << 8 << u"1/1/2024"_s << u"x"_s << u"'x' is not a valid date (table dbo.Orders, column Order Date)"_s;
        const QString where = u" is not a valid number for column [Order Date] of table dbo.Orders"_s;
        QTest::newRow("2 statement") << 2 << u"1 drop table dbo.X"_s << QString() << u"'1 drop table dbo.X'"_s + where;
        QTest::newRow("6 empty") << 6 << QString() << QString() << u"''"_s + where;
        QTest::newRow("101 decimals") << 101 << u"1.5"_s << QString() << u"'1.5'"_s + where;
        QTest::newRow("102 comment") << 102 << u"1--"_s << QString() << u"'1--'"_s + where;
        QTest::newRow("103 high") << 103 << u"1"_s << u"1e3"_s << u"'1e3'"_s + where;
        QTest::newRow("105 plus") << 105 << u"+1"_s << QString() << u"'+1'"_s + where;
        QTest::newRow("107 bigint") << 107 << u"1"_s << u"9223372036854775808"_s << u"'9223372036854775808'"_s + where;
        QTest::newRow("1003 shortest") << 1003 << u"ten"_s << u"20"_s << u"'ten'"_s + where;
        QTest::newRow("2001 comma") << 2001 << u"0,5"_s << QString() << u"'0,5'"_s + where;
        QTest::newRow("2002 decimals") << 2002 << u"1"_s << u"2.5"_s << u"'2.5'"_s + where;
        QTest::newRow("2003 dot") << 2003 << u"."_s << u"1"_s << u"'.'"_s + where;
        QTest::newRow("2005 two minus") << 2005 << u"--1"_s << QString() << u"'--1'"_s + where;
        QTest::newRow("2007 two points") << 2007 << u"1.2.3"_s << u"4"_s << u"'1.2.3'"_s + where;
        QTest::newRow("1002 empty text") << 1002 << QString() << QString()
                                         << u"The text to repeat is empty for column [Order Date] of table dbo.Orders"_s;
    }

    void refused()
    {
        QFETCH(int, code);
        QFETCH(QString, p1);
        QFETCH(QString, p2);
        QFETCH(QString, message);
        const auto block = script::BuildBlock(slotOf(code, fieldsOf(p1, p2)));
        QVERIFY(!block.ok());
        QCOMPARE(block.error().message, message);
        QVERIFY(!block.error().isNotice());
    }

    // Numbers as read: blanks around them go, decimals stay as written.
    void numbersAsRead_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("p1");
        QTest::addColumn<QString>("written");
        QTest::newRow("blanks") << 101 << u" 42 "_s << u"]=42 \r\n"_s;
        QTest::newRow("leading zeros") << 101 << u"007"_s << u"]=007 \r\n"_s;
        QTest::newRow("negative zero") << 101 << u"-0"_s << u"]=(-0) \r\n"_s;
        QTest::newRow("point first") << 2001 << u".25"_s << u"]=.25 \r\n"_s;
        QTest::newRow("point last") << 2001 << u"-3."_s << u"]=(-3.) \r\n"_s;
        QTest::newRow("38 digits") << 2001 << QString(38, u'9') << u"]="_s + QString(38, u'9') + u" \r\n"_s;
    }

    void numbersAsRead()
    {
        QFETCH(int, code);
        QFETCH(QString, p1);
        QFETCH(QString, written);
        const auto block = script::BuildBlock(slotOf(code, fieldsOf(p1)));
        QVERIFY2(block.ok(), qPrintable(block.ok() ? QString() : block.error().message));
        QVERIFY2(block->contains(written), qPrintable(*block));
        QVERIFY(!script::BuildBlock(slotOf(2001, fieldsOf(QString(39, u'9')))).ok());
    }

    // Under a day.month.year format with a two-digit year the stored four
    // digits still decide the century.
    void dayMonthYearDates()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const auto block = script::BuildBlock(slotOf(1, fieldsOf(u"31.12.2030"_s)));
        const auto march = script::BuildBlock(slotOf(5, fieldsOf(u"05.03.2024"_s)));
        test::useTestLocale();
        QVERIFY(block.ok());
        QVERIFY(block->contains(u"update [dbo].[Orders] set [Order Date]='20301231' \r\n"_s));
        QVERIFY(march.ok());
        QVERIFY(march->contains(u"if '20240305' in ( select [CustomerId] from [sales].[Customers]) update [dbo].[Orders] set [Order Date]='20240305' \r\n"_s));
    }

    // A list that was not read before the generation is not read during it.
    void wordListNotRead()
    {
        const script::WordLists none;
        const auto block = script::BuildBlock(slotOf(1007, fieldsOf(u"colors"_s)), {script::Target::Script, false, &none});
        QVERIFY(!block.ok());
        QCOMPARE(block.error().message, u"The word list colors was not read."_s);
    }

private:
    void writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestBlocks)
#include "test_blocks.moc"
