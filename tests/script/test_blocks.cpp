#include "script/generator.h"
#include "tests/support/testlocale.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane;
using namespace Qt::StringLiterals;

namespace {

// Every block as its line list reads, with the slot's fields as {names}. A
// line that ends in '|' ends with CR LF; {tab} is one TAB.
QString blockTemplate(int code)
{
    switch (code) {
    case 1:
        return uR"(update {stab} set [{col}]='{d1}' |)"_s;
    case 2:
        return uR"(DECLARE cur CURSOR FOR |
SELECT [{col}] from {stab} FOR UPDATE |
OPEN cur |
FETCH cur INTO @val |
WHILE @@FETCH_STATUS = 0 |
{tab}BEGIN |
 update {stab} set [{col}]=dateadd(day,floor(rand()*2*{p1}-{p1}),[{col}]) WHERE CURRENT OF cur  |
 FETCH cur INTO @val |
END |
CLOSE cur |
DEALLOCATE cur  )"_s;
    case 3:
    case 7:
        return uR"(delete from @rand_tab |
insert into @rand_tab  (_datetime) select [{col}] from {stab} order by newid() |
set @id=(select min(rid)-1 from @rand_tab) |
DECLARE cur CURSOR  FOR |
SELECT  [{col}] from {stab} FOR UPDATE  |
OPEN cur |
FETCH cur INTO @val  |
WHILE @@FETCH_STATUS = 0  |
  BEGIN |
  set @id=@id+1 |
  update {stab} set [{col}]=(select _datetime from @rand_tab where rid=@id) WHERE CURRENT OF cur  |
 FETCH cur INTO @val  |
END   |
CLOSE cur |
DEALLOCATE cur  )"_s;
    case 4:
        return uR"( DECLARE cur CURSOR  FOR  |
 SELECT  [{col}] from {stab} FOR UPDATE  |
 OPEN cur |
 FETCH cur INTO @val |
 WHILE @@FETCH_STATUS = 0  |
   BEGIN  |
     update {stab} set [{col}]=dateadd(day,floor(rand()*datediff(day,'{d1}','{d2}')) ,'{d1}') WHERE CURRENT OF cur |
  FETCH cur INTO @val |
 END |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 5:
        return uR"(if '{d1}' in ( select {pkc} from {pkt}) update {stab} set [{col}]='{d1}' |)"_s;
    case 6:
        return uR"(DECLARE cur CURSOR FOR |
 SELECT [{col}] from {stab} FOR UPDATE |
 OPEN cur |
 FETCH cur INTO @val |
 WHILE @@FETCH_STATUS = 0 |
   BEGIN |
   set @rand_datetime=NULL |
   set @tries=0 |
     if exists (select {pkc} from {pkt} where {pkc} between dateadd(day,-{p1},@val) and dateadd(day,{p1},@val)) |
     while (( @rand_datetime not in ( select {pkc} from {pkt})) or (@rand_datetime is  null)) and @tries<1000 |
         select @rand_datetime=dateadd(day,floor(rand()*2*{p1}-{p1}),@val), @tries=@tries+1 |
   if @rand_datetime is null or @rand_datetime not in ( select {pkc} from {pkt}) set @rand_datetime=@val  |
     update {stab} set [{col}]=@rand_datetime WHERE CURRENT OF cur |
     FETCH cur INTO @val |
 END |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 8:
        return uR"(DECLARE cur CURSOR FOR |
 SELECT [{col}] from {stab} FOR UPDATE |
 OPEN cur |
 FETCH cur INTO @val |
 WHILE @@FETCH_STATUS = 0 |
   BEGIN |
   set @rand_datetime=NULL |
   set @tries=0 |
     if exists (select {pkc} from {pkt} where {pkc} between '{d1}' and '{d2}') |
     while (( @rand_datetime not in ( select {pkc} from {pkt})) or (@rand_datetime is  null)) and @tries<1000 |
         select @rand_datetime=dateadd(day,floor(rand()*datediff(day,'{d1}','{d2}')) ,'{d1}'), @tries=@tries+1 |
   if @rand_datetime is null or @rand_datetime not in ( select {pkc} from {pkt}) set @rand_datetime=@val  |
     update {stab} set [{col}]=@rand_datetime WHERE CURRENT OF cur |
     FETCH cur INTO @val |
 END |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 9:
    case 109:
    case 1009:
    case 2009:
        return uR"(update {stab} set [{col}]=NULL |)"_s;
    case 101:
    case 2001:
        return uR"( update {stab} set [{col}]={p1} |)"_s;
    case 102:
        return uR"(DECLARE cur CURSOR FOR |
 SELECT [{col}] from {stab} FOR UPDATE |
 OPEN cur |
 FETCH cur INTO @val |
 WHILE @@FETCH_STATUS = 0 |
   BEGIN |
     set @rand_int=@val+floor(rand()*{p1}*2-{p1}) |
     update {stab} set [{col}]=@rand_int WHERE CURRENT OF cur |
     FETCH cur INTO @val |
 END |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 103:
        return uR"(DECLARE cur CURSOR FOR |
 SELECT [{col}] from {stab} FOR UPDATE |
 OPEN cur |
 FETCH cur INTO @val |
 WHILE @@FETCH_STATUS = 0 |
   BEGIN |
     set @rand_int=floor(rand()*({p2}-{p1}+1)+{p1})|
     update {stab} set [{col}]=@rand_int WHERE CURRENT OF cur |
     FETCH cur INTO @val |
 END |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 104:
    case 1004:
    case 2004:
        return uR"(delete from @rand_tab |
insert into @rand_tab (_varchar) select [{col}] from {stab} order by newid() |
set @id=(select min(rid)-1 from @rand_tab) |
DECLARE cur CURSOR  FOR |
SELECT  [{col}] from {stab} FOR UPDATE  |
OPEN cur |
FETCH cur INTO @val  |
WHILE @@FETCH_STATUS = 0  |
  BEGIN |
  set @id=@id+1 |
  update {stab} set [{col}]=(select _varchar from @rand_tab where rid=@id) WHERE CURRENT OF cur  |
 FETCH cur INTO @val  |
END   |
CLOSE cur |
DEALLOCATE cur  )"_s;
    case 105:
    case 2005:
        return uR"( alter table {stab} disable trigger all |
 if {p1} in ( select {pkc} from {pkt}) update {stab} set [{col}]={p1} |
 alter table {stab} enable trigger all )"_s;
    case 106:
        return uR"( alter table {stab} disable trigger all |
DECLARE cur CURSOR FOR |
 SELECT [{col}] from {stab} FOR UPDATE |
 OPEN cur |
 FETCH cur INTO @val |
 WHILE @@FETCH_STATUS = 0 |
   BEGIN |
   set @rand_int=NULL |
   set @tries=0 |
     if exists (select {pkc} from {pkt} where {pkc} between @val-{p1} and @val+{p1}) |
     while (( @rand_int not in ( select {pkc} from {pkt})) or (@rand_int is  null)) and @tries<1000 |
         select @rand_int=@val+floor(rand()*{p1}*2-{p1}), @tries=@tries+1 |
   if @rand_int is null or @rand_int not in ( select {pkc} from {pkt}) begin set @rand_int=@val end |
     update {stab} set [{col}]=@rand_int WHERE CURRENT OF cur |
     FETCH cur INTO @val |
 END |
 alter table {stab} enable trigger all |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 107:
        return uR"( alter table {stab} disable trigger all |
 DECLARE cur CURSOR FOR |
 SELECT [{col}] from {stab} FOR UPDATE |
 OPEN cur |
 FETCH cur INTO @val |
 WHILE @@FETCH_STATUS = 0 |
   BEGIN |
   set @rand_int=NULL |
   set @tries=0 |
     if exists (select {pkc} from {pkt} where {pkc} between {p1} and {p2}) |
     while (( @rand_int not in ( select {pkc} from {pkt})) or (@rand_int is  null)) and @tries<1000 |
         select @rand_int=floor(rand()*({p2}-{p1}+1)+{p1}), @tries=@tries+1 |
     if @rand_int is null or @rand_int not in ( select {pkc} from {pkt}) begin set @rand_int=@val end |
     update {stab} set [{col}]=@rand_int WHERE CURRENT OF cur |
     FETCH cur INTO @val |
 END |
 alter table {stab} enable trigger all |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 108:
    case 1008:
        return uR"(delete from @rand_tab |
insert into @rand_tab (_varchar) select [{col}] from {stab} order by newid() |
 alter table {stab} disable trigger all |
set @id=(select min(rid)-1 from @rand_tab) |
DECLARE cur CURSOR  FOR |
SELECT  [{col}] from {stab} FOR UPDATE  |
OPEN cur |
FETCH cur INTO @val  |
WHILE @@FETCH_STATUS = 0  |
  BEGIN |
  set @id=@id+1 |
  update {stab} set [{col}]=(select _varchar from @rand_tab where rid=@id) WHERE CURRENT OF cur  |
 FETCH cur INTO @val  |
END   |
alter table {stab} enable trigger all |
CLOSE cur |
DEALLOCATE cur  )"_s;
    case 1001:
        return uR"( update {stab} set [{col}]='{q1}' |)"_s;
    case 1002:
        return uR"(DECLARE cur CURSOR FOR |
 SELECT [{col}] from {stab} FOR UPDATE |
 OPEN cur |
 FETCH cur INTO @val |
 WHILE @@FETCH_STATUS = 0 |
   BEGIN |
     update {stab} set [{col}]=substring(replicate('{q1}',floor(len([{col}])/len('{q1}'))+1),0,len([{col}])) WHERE CURRENT OF cur |
     FETCH cur INTO @val |
 END |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 1003:
        return uR"(set @lorem='Lorem ipsum dolor sit amet, consectetur adipisicing elit, sed do eiusmod tempor incididunt ut labore |
et dolore magna aliqua. Ut enim ad minim veniam, quis nostrud exercitation ullamco laboris nisi ut aliquip ex ea commodo consequat. |
Duis aute irure dolor in reprehenderit in voluptate velit esse cillum dolore eu fugiat nulla pariatur. Excepteur sint occaecat cupidatat non |
proident, sunt in culpa qui officia deserunt mollit anim id est laborum.'  |
DECLARE cur CURSOR FOR |
 SELECT [{col}] from {stab} FOR UPDATE |
 OPEN cur |
 FETCH cur INTO @val |
 WHILE @@FETCH_STATUS = 0 |
   BEGIN |
  {tab} set @rand_int=floor(rand()*({p2}-{p1})+{p1}) |
     update {stab} set [{col}]=substring(replicate(@lorem,floor(@rand_int/len(@lorem))+1),1,@rand_int) WHERE CURRENT OF cur |
     FETCH cur INTO @val |
 END |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 1005:
        return uR"( alter table {stab} disable trigger all |
 if '{q1}' in ( select {pkc} from {pkt}) update {stab} set [{col}]='{q1}' |
 alter table {stab} enable trigger all )"_s;
    case 1007:
        return uR"(delete from @rand_tab |
insert into @rand_tab (_varchar) select * from dbo.corvane_split('{words}',';') |
|
DECLARE cur CURSOR  FOR |
SELECT  [{col}] from {stab} FOR UPDATE  |
set @id=(select count(*) from @rand_tab)       |
OPEN cur |
FETCH cur INTO @val  |
WHILE @@FETCH_STATUS = 0  |
  BEGIN |
  update {stab} set [{col}]=(select _varchar from @rand_tab where rid=(select min(rid) from @rand_tab)+floor(rand()*@id)) WHERE CURRENT OF cur  |
 FETCH cur INTO @val  |
END   |
alter table {stab} enable trigger all |
CLOSE cur |
DEALLOCATE cur  )"_s;
    case 2002:
        return uR"(DECLARE cur CURSOR FOR |
 SELECT [{col}] from {stab} FOR UPDATE |
 OPEN cur |
 FETCH cur INTO @val |
 WHILE @@FETCH_STATUS = 0 |
   BEGIN |
     set @rand_float=@val+round(rand()*{p1}*2-{p1},{p2}) |
     update {stab} set [{col}]=@rand_float WHERE CURRENT OF cur |
     FETCH cur INTO @val |
 END |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 2003:
        return uR"(DECLARE cur CURSOR FOR |
 SELECT [{col}] from {stab} FOR UPDATE |
 OPEN cur |
 FETCH cur INTO @val |
 WHILE @@FETCH_STATUS = 0 |
   BEGIN |
     set @rand_float=round(rand()*({p2}-{p1})+{p1},2) |
     update {stab} set [{col}]=@rand_float WHERE CURRENT OF cur |
     FETCH cur INTO @val |
 END |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 2006:
        return uR"( alter table {stab} disable trigger all |
DECLARE cur CURSOR FOR |
 SELECT [{col}] from {stab} FOR UPDATE |
 OPEN cur |
 FETCH cur INTO @val |
 WHILE @@FETCH_STATUS = 0 |
   BEGIN |
   set @rand_float=NULL |
   set @tries=0 |
     if exists (select {pkc} from {pkt} where {pkc} between @val-{p1} and @val+{p1}) |
     while (( @rand_float not in ( select {pkc} from {pkt})) or (@rand_float is  null)) and @tries<1000 |
         select @rand_float=@val+round(rand()*{p1}*2-{p1},{p2}), @tries=@tries+1 |
   if @rand_float is null or @rand_float not in ( select {pkc} from {pkt}) begin set @rand_float=@val end |
     update {stab} set [{col}]=@rand_float WHERE CURRENT OF cur |
     FETCH cur INTO @val |
 END |
 alter table {stab} enable trigger all |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 2007:
        return uR"( alter table {stab} disable trigger all |
DECLARE cur CURSOR FOR |
 SELECT [{col}] from {stab} FOR UPDATE |
 OPEN cur |
 FETCH cur INTO @val |
 WHILE @@FETCH_STATUS = 0 |
   BEGIN |
   set @rand_float=NULL |
   set @tries=0 |
     if exists (select {pkc} from {pkt} where {pkc} between {p1} and {p2}) |
     while (( @rand_float not in ( select {pkc} from {pkt})) or (@rand_float is  null)) and @tries<1000 |
         select @rand_float=round(rand()*({p2}-{p1})+{p1},2), @tries=@tries+1 |
     if @rand_float is null or @rand_float not in ( select {pkc} from {pkt}) begin set @rand_float=@val end |
     update {stab} set [{col}]=@rand_float WHERE CURRENT OF cur |
     FETCH cur INTO @val |
 END |
 alter table {stab} enable trigger all |
 CLOSE cur |
 DEALLOCATE cur )"_s;
    case 2008:
        return uR"(delete from @rand_tab |
insert into @rand_tab (_varchar) select [{col}] from {stab} order by newid() |
alter table {stab} disable trigger all |
set @id=(select min(rid)-1 from @rand_tab) |
DECLARE cur CURSOR  FOR |
SELECT  [{col}] from {stab} FOR UPDATE  |
OPEN cur |
FETCH cur INTO @val  |
WHILE @@FETCH_STATUS = 0  |
  BEGIN |
  set @id=@id+1 |
  update {stab} set [{col}]=(select _varchar from @rand_tab where rid=@id) WHERE CURRENT OF cur  |
 FETCH cur INTO @val  |
END   |
alter table {stab} enable trigger all |
CLOSE cur |
DEALLOCATE cur  )"_s;
    default:
        return {};
    }
}

struct Fields
{
    QString stab, col, pkTable, pkColumn, p1, p2;
    // What lands in the text: p1 with its quotes doubled, dates as yyyymmdd,
    // the word list's first line with its quotes doubled.
    QString q1, d1, d2, words;
};

Fields fieldsOf(const QString& stab, const QString& col, const QString& pkTable,
                const QString& pkColumn, const QString& p1 = {}, const QString& p2 = {})
{
    Fields f;
    f.stab = stab;
    f.col = col;
    f.pkTable = pkTable;
    f.pkColumn = pkColumn;
    f.p1 = p1;
    f.p2 = p2;
    return f;
}

QString expand(int code, const Fields& f)
{
    QString text;
    const QStringList lines = blockTemplate(code).split(u'\n');
    for (const QString& line : lines)
        text += line.endsWith(u'|') ? line.chopped(1) + u"\r\n"_s : line;
    return text.replace(u"{tab}"_s, u"\t"_s)
        .replace(u"{stab}"_s, f.stab)
        .replace(u"{col}"_s, f.col)
        .replace(u"{pkt}"_s, f.pkTable)
        .replace(u"{pkc}"_s, f.pkColumn)
        .replace(u"{p1}"_s, f.p1)
        .replace(u"{p2}"_s, f.p2)
        .replace(u"{q1}"_s, f.q1)
        .replace(u"{d1}"_s, f.d1)
        .replace(u"{d2}"_s, f.d2)
        .replace(u"{words}"_s, f.words);
}

TColumnRec slotOf(int code, const Fields& f)
{
    TColumnRec slot;
    slot.stab = f.stab;
    slot.col = f.col;
    slot.PK_table = f.pkTable;
    slot.PK_column = f.pkColumn;
    slot.method = code;
    slot.param1 = f.p1;
    slot.param2 = f.p2;
    return slot;
}

const QList<int> DateCodes = {1, 2, 3, 4, 5, 6, 7, 8, 9};
const QList<int> OtherCodes = {101, 102, 103, 104, 105, 106, 107, 108, 109,
                               1001, 1002, 1003, 1004, 1005, 1007, 1008, 1009,
                               2001, 2002, 2003, 2004, 2005, 2006, 2007, 2008, 2009};

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
        writeFile(u"Virtual_Data/ odd .txt"_s, "x");
    }

    void blocks_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<Fields>("fields");

        // Names that show where blanks and brackets go; dates in the short US form.
        for (int code : DateCodes) {
            const bool dayCount = code == 2 || code == 6;
            Fields f = fieldsOf(u"dbo.Orders"_s, u"Order Date"_s, u"dbo.Calendar"_s, u"Day"_s,
                                dayCount ? u"7"_s : u"3/5/2024"_s,
                                dayCount ? QString() : u"12/31/2025"_s);
            f.d1 = u"20240305"_s;
            f.d2 = u"20251231"_s;
            QTest::addRow("%d dates", code) << code << f;
        }
        Fields sameDay = fieldsOf(u"dbo.Orders"_s, u"Order Date"_s, u"dbo.Calendar"_s, u"Day"_s,
                                  u"1/1/2030"_s, u"01/01/2030"_s);
        sameDay.d1 = sameDay.d2 = u"20300101"_s;
        QTest::addRow("4 same day") << 4 << sameDay;
        QTest::addRow("8 same day") << 8 << sameDay;
        const Fields noDays = fieldsOf(u"t"_s, u"a b"_s, u"k"_s, u"id"_s);
        QTest::addRow("2 empty day count") << 2 << noDays;
        QTest::addRow("6 empty day count") << 6 << noDays;

        for (int code : OtherCodes) {
            Fields f = fieldsOf(u"dbo.Orders"_s, u"Order Date"_s, u"dbo.Customers"_s, u"CustomerId"_s);
            if (code < 1000) {
                f.p1 = u"-3"_s;
                f.p2 = u"12"_s;
            } else if (code == 1003) {
                f.p1 = u"10"_s;
                f.p2 = u"20"_s;
            } else if (code == 1007) {
                f.p1 = u"colors"_s;
                f.words = u"red;gr''een;blue"_s;
            } else if (code < 2000) {
                f.p1 = u"O'Brien"_s;
                f.q1 = u"O''Brien"_s;
            } else {
                f.p1 = u"0.5"_s;
                f.p2 = u"2"_s;
            }
            QTest::addRow("%d", code) << code << f;

            // Empty parameters go in as they are (the word list "" is the
            // file ".txt", which is empty).
            QTest::addRow("%d empty", code) << code << fieldsOf(u"t"_s, u"a b"_s, u"k"_s, u"id"_s);
            // Blanks around parameters are kept; quotes stay single where the
            // value is not a text literal.
            Fields odd = fieldsOf(u"s.t"_s, u" c "_s, u"s.k"_s, u"id"_s, u" 1 "_s, u"x'y"_s);
            odd.q1 = u" 1 "_s;
            if (code == 1007) {
                odd.p1 = u" odd "_s;
                odd.words = u"x"_s;
            }
            QTest::addRow("%d odd", code) << code << odd;
        }
    }

    void blocks()
    {
        QFETCH(int, code);
        QFETCH(Fields, fields);
        const auto block = script::BuildBlock(slotOf(code, fields));
        QVERIFY2(block.ok(), qPrintable(block.ok() ? QString() : block.error().message));
        QCOMPARE(*block, expand(code, fields));
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
        const auto block = script::BuildBlock(slotOf(code, fieldsOf(u"t"_s, u"c"_s, u"k"_s, u"id"_s, u"1"_s, u"2"_s)));
        QVERIFY(block.ok());
        QCOMPARE(*block, QString());
    }

    // The code alone chooses the block: a date block on a varchar column.
    void typeIsNotConsulted()
    {
        TColumnRec slot = slotOf(9, fieldsOf(u"t"_s, u"c"_s, {}, {}));
        slot.typ = u"varchar"_s;
        QCOMPARE(*script::BuildBlock(slot), u"update t set [c]=NULL \r\n"_s);
    }

    void badDates_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("p1");
        QTest::addColumn<QString>("p2");
        QTest::addColumn<QString>("message");
        QTest::newRow("1 day first") << 1 << u"31/12/2024"_s << QString() << u"'31/12/2024' is not a valid date"_s;
        QTest::newRow("4 bad end") << 4 << u"1/1/2024"_s << u"2/30/2024"_s << u"'2/30/2024' is not a valid date"_s;
        QTest::newRow("8 bad end") << 8 << u"1/1/2024"_s << u"x"_s << u"'x' is not a valid date"_s;
    }

    void badDates()
    {
        QFETCH(int, code);
        QFETCH(QString, p1);
        QFETCH(QString, p2);
        QFETCH(QString, message);
        const auto block = script::BuildBlock(slotOf(code, fieldsOf(u"t"_s, u"c"_s, u"k"_s, u"id"_s, p1, p2)));
        QVERIFY(!block.ok());
        QCOMPARE(block.error().message, message);
        QVERIFY(!block.error().isNotice());
    }

    // Under a day.month.year format with a two-digit year the stored four
    // digits still decide the century.
    void dayMonthYearDates()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const auto block = script::BuildBlock(slotOf(1, fieldsOf(u"t"_s, u"c"_s, {}, {}, u"31.12.2030"_s)));
        const auto march = script::BuildBlock(slotOf(5, fieldsOf(u"t"_s, u"c"_s, u"k"_s, u"d"_s, u"05.03.2024"_s)));
        test::useTestLocale();
        QVERIFY(block.ok());
        QCOMPARE(*block, u"update t set [c]='20301231' \r\n"_s);
        QVERIFY(march.ok());
        QCOMPARE(*march, u"if '20240305' in ( select d from k) update t set [c]='20240305' \r\n"_s);
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
