#include "check/rules.h"

#include "catalogue/textconv.h"
#include "check/masking.h"

#include <QDate>
#include <QHash>

#include <algorithm>
#include <limits>
#include <optional>

namespace corvane::check {

namespace {

using Kind = corvane::MethodKind;

// The column types whose values some rule bounds.
enum class TypeKind {
    Other,
    TinyInt,
    SmallInt,
    Int,
    BigInt,
    Decimal, // decimal and numeric
    Money,
    SmallMoney,
    DateTime,
    SmallDateTime,
    UnicodeText,  // nvarchar, nchar, ntext
    CodePageText, // varchar, char, text: one code page
};

TypeKind typeKind(const QString& type)
{
    static const QHash<QString, TypeKind> kinds = {
        {QStringLiteral("tinyint"), TypeKind::TinyInt},
        {QStringLiteral("smallint"), TypeKind::SmallInt},
        {QStringLiteral("int"), TypeKind::Int},
        {QStringLiteral("bigint"), TypeKind::BigInt},
        {QStringLiteral("decimal"), TypeKind::Decimal},
        {QStringLiteral("numeric"), TypeKind::Decimal},
        {QStringLiteral("money"), TypeKind::Money},
        {QStringLiteral("smallmoney"), TypeKind::SmallMoney},
        {QStringLiteral("datetime"), TypeKind::DateTime},
        {QStringLiteral("smalldatetime"), TypeKind::SmallDateTime},
        {QStringLiteral("nvarchar"), TypeKind::UnicodeText},
        {QStringLiteral("nchar"), TypeKind::UnicodeText},
        {QStringLiteral("ntext"), TypeKind::UnicodeText},
        {QStringLiteral("varchar"), TypeKind::CodePageText},
        {QStringLiteral("char"), TypeKind::CodePageText},
        {QStringLiteral("text"), TypeKind::CodePageText},
    };
    return kinds.value(type, TypeKind::Other);
}

// What one check reads once and uses for many columns: word lists by name,
// dates by their text (operators give many columns the same dates).
struct Cache
{
    QHash<QString, std::optional<QStringList>> wordLists;
    QHash<QString, Result<QDate>> dates;
    // Messages that depend on the table alone, made once per table.
    const TableFacts* messagesOf = nullptr;
    QString triggers, largeTable;

    const QString& tableMessage(const TableFacts* table, QString Cache::*message,
                                QString (*make)(const TableFacts&))
    {
        if (messagesOf != table) {
            messagesOf = table;
            triggers.clear();
            largeTable.clear();
        }
        if ((this->*message).isEmpty())
            this->*message = make(*table);
        return this->*message;
    }

    const Result<QDate>& date(const QString& text)
    {
        auto it = dates.find(text);
        if (it == dates.end())
            it = dates.insert(text, TextToDate(text));
        return *it;
    }
};

// What the rules look at: one masked slot, its method and what is known of it.
struct Subject
{
    Subject(const TColumnRec& slot, Masking method, const Facts& facts, const TableFacts* table,
            const ColumnFacts* column, const Options& options, Cache& cache)
        : slot(slot), method(method), facts(facts), table(table), column(column), options(options),
          cache(cache)
    {
        type = typeKind(typeName());
    }

    const TColumnRec& slot;
    Masking method;
    const Facts& facts;
    const TableFacts* table;   // null when the table's facts are unknown
    const ColumnFacts* column; // null when the column's facts are unknown
    const Options& options;
    Cache& cache;
    TypeKind type = TypeKind::Other;

    bool known(FactGroup group) const { return column && facts.known(group); }
    const ColumnFacts* properties() const { return known(FactGroup::Columns) ? column : nullptr; }

    QString typeName() const { return properties() ? column->type : slot.typ; }
    QString declaredType() const { return properties() ? column->declaredType() : slot.typ; }

    // Characters the column holds: -1 without a limit, 0 when it has none
    // or it is unknown.
    int length() const
    {
        if (const ColumnFacts* c = properties())
            return c->characterLength();
        // The schema query's length serves when the facts could not be read.
        bool ok = false;
        const int n = slot.char_max.toInt(&ok);
        return ok ? n : 0;
    }

    bool notNull() const { return properties() ? !column->nullable : slot.isnull == u"NO"; }

    std::optional<std::int64_t> rows() const
    {
        return table && facts.known(FactGroup::RowCounts) ? table->rows : std::nullopt;
    }

    // The entries of the slot's word list; none when it cannot be read (the
    // generation reports that itself).
    const QStringList* words() const
    {
        if (!options.wordList)
            return nullptr;
        auto it = cache.wordLists.find(slot.param1);
        if (it == cache.wordLists.end()) {
            auto text = options.wordList(slot.param1);
            it = cache.wordLists.insert(slot.param1,
                                        text ? std::optional(text->split(u';')) : std::nullopt);
        }
        return it->has_value() ? &**it : nullptr;
    }
};

using RuleFn = std::optional<QString> (*)(const Subject&);

struct Rule
{
    RuleInfo info;
    RuleFn apply;
};

QString quotedText(const QString& text)
{
    constexpr int Shown = 40;
    return u'\'' + (text.size() > Shown ? text.left(Shown) + QStringLiteral("...") : text) + u'\'';
}

// Digits in groups of three, the same in every locale: 2,500,000.
QString count(std::int64_t n)
{
    const QString digits = QString::number(n);
    const qsizetype sign = n < 0 ? 1 : 0;
    QString out = digits.left(sign);
    for (qsizetype i = sign; i < digits.size(); ++i) {
        if (i > sign && (digits.size() - i) % 3 == 0)
            out += u',';
        out += digits.at(i);
    }
    return out;
}

// --- numbers -----------------------------------------------------------------

// A parameter as the blocks take it: an optional minus, digits, and for the
// float family a fraction.
bool isNumber(const QString& text, bool fraction)
{
    qsizetype i = text.startsWith(u'-') ? 1 : 0;
    const auto digits = [&] {
        const qsizetype start = i;
        while (i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9')
            ++i;
        return i > start;
    };
    if (!digits())
        return false;
    if (fraction && i < text.size() && text.at(i) == u'.') {
        ++i;
        if (!digits())
            return false;
    }
    return i == text.size();
}

// Why `value` (a number) does not fit the column's type; empty when it fits
// or the type is not bounded.
QString outOfType(const Subject& s, const QString& value)
{
    struct IntegerType
    {
        TypeKind kind;
        std::int64_t low, high;
    };
    static constexpr IntegerType integers[] = {
        {TypeKind::TinyInt, 0, 255},
        {TypeKind::SmallInt, -32768, 32767},
        {TypeKind::Int, std::numeric_limits<std::int32_t>::min(),
         std::numeric_limits<std::int32_t>::max()},
        {TypeKind::BigInt, std::numeric_limits<std::int64_t>::min(),
         std::numeric_limits<std::int64_t>::max()},
    };
    const QStringView integral = QStringView(value).left(value.indexOf(u'.'));
    for (const IntegerType& t : integers) {
        if (s.type != t.kind)
            continue;
        bool ok = false;
        const qlonglong n = integral.toLongLong(&ok);
        if (ok && n >= t.low && n <= t.high)
            return {};
        return s.declaredType() + QStringLiteral(" holds ") + count(t.low) +
               QStringLiteral(" to ") + count(t.high);
    }
    if (s.type == TypeKind::Decimal && s.properties()) {
        const int digits = s.column->precision - s.column->scale;
        QStringView whole = integral;
        if (whole.startsWith(u'-'))
            whole = whole.mid(1);
        while (whole.startsWith(u'0'))
            whole = whole.mid(1);
        if (whole.size() <= digits)
            return {};
        return s.declaredType() + QStringLiteral(" holds at most ") + QString::number(digits) +
               QStringLiteral(" digits before the decimal point");
    }
    if (s.type == TypeKind::Money && std::abs(value.toDouble()) > 922337203685477.0)
        return QStringLiteral("money holds -922,337,203,685,477.5808 to 922,337,203,685,477.5807");
    if (s.type == TypeKind::SmallMoney && std::abs(value.toDouble()) > 214748.0)
        return QStringLiteral("smallmoney holds -214,748.3648 to 214,748.3647");
    return {};
}

// The first date that a date-time column of the type holds, and the last.
std::optional<std::pair<QDate, QDate>> dateBounds(TypeKind type)
{
    if (type == TypeKind::DateTime)
        return std::pair(QDate(1753, 1, 1), QDate(9999, 12, 31));
    if (type == TypeKind::SmallDateTime)
        return std::pair(QDate(1900, 1, 1), QDate(2079, 6, 6));
    return std::nullopt;
}

// A parameter that a method writes as a value (or as a range of values).
struct ValueParameter
{
    QString what; // how the message names it
    int param;    // 1 or 2
    const QString& text;
};

QList<ValueParameter> valueParameters(const Subject& s)
{
    switch (s.method.kind) {
    case Kind::Constant:
        return {{QStringLiteral("constant"), 1, s.slot.param1}};
    case Kind::Interval:
        return {{QStringLiteral("lower bound"), 1, s.slot.param1},
                {QStringLiteral("upper bound"), 2, s.slot.param2}};
    case Kind::Noise:
        // Date noise is a count of days, which no date type bounds.
        if (s.method.family == tcDateTime)
            return {};
        return {{QStringLiteral("noise range"), 1, s.slot.param1}};
    default:
        return {};
    }
}

// --- the rules ---------------------------------------------------------------

std::optional<QString> readOnly(const Subject& s)
{
    const ColumnFacts* c = s.properties();
    if (c && c->identity)
        return QStringLiteral(
            "identity column: the server refuses to update it; leave it unmasked");
    if (c && c->computed)
        return QStringLiteral("computed column: it cannot be updated; mask the columns it is "
                              "computed from instead");
    if (c && c->generatedAlways)
        return QStringLiteral("period column of a system-versioned table: the server sets it "
                              "itself and refuses updates; leave it unmasked");
    if ((c && c->rowversion()) ||
        (!c && (s.slot.typ == u"timestamp" || s.slot.typ == u"rowversion")))
        return QStringLiteral("rowversion column: the server sets it itself and refuses updates; "
                              "leave it unmasked");
    return std::nullopt;
}

std::optional<QString> notNull(const Subject& s)
{
    if (s.method.kind != Kind::Null || !s.notNull())
        return std::nullopt;
    return QStringLiteral("NOT NULL column: the server refuses NULL; choose a method that writes "
                          "values");
}

bool singleRow(const Subject& s)
{
    const auto rows = s.rows();
    return rows && *rows <= 1;
}

std::optional<QString> unique(const Subject& s)
{
    if (!s.known(FactGroup::UniqueIndexes) || s.column->uniqueColumns != 1 || singleRow(s))
        return std::nullopt;
    const QString index = QStringLiteral("in unique index ") + s.column->uniqueIndex;
    if (s.method.kind == Kind::Shuffle)
        return index + QStringLiteral(": the shuffle writes row by row, and each value it writes "
                                      "is still held by another row, so the first update breaks "
                                      "the index; leave the column unmasked or drop the index "
                                      "for the run");
    if (s.method.kind == Kind::Null) {
        // A filtered index usually leaves NULL out; one NULL is allowed anyway.
        if (s.column->uniqueFiltered)
            return std::nullopt;
        return index + QStringLiteral(": it allows one NULL, not one per row; leave the column "
                                      "unmasked or choose a method that draws values");
    }
    if (s.method.sameValue())
        return index + QStringLiteral(": this method gives rows the same value; choose a method "
                                      "that draws values");
    return std::nullopt;
}

std::optional<QString> uniqueRisk(const Subject& s)
{
    if (!s.known(FactGroup::UniqueIndexes) || s.column->uniqueColumns < 1 || singleRow(s))
        return std::nullopt;
    const QString& index = s.column->uniqueIndex;
    if (s.column->uniqueColumns == 1 && s.method.draws())
        return QStringLiteral("in unique index ") + index +
               QStringLiteral(": values are drawn at random and two rows may draw the same one; "
                              "the column then fails at that row");
    if (s.column->uniqueColumns > 1 && (s.method.sameValue() || s.method.kind == Kind::Shuffle))
        return QStringLiteral("in unique index ") + index + QStringLiteral(" of ") +
               QString::number(s.column->uniqueColumns) +
               QStringLiteral(" columns: rows that agree in the other columns may collide");
    return std::nullopt;
}

std::optional<QString> tooLong(const Subject& s)
{
    const int length = s.length();
    if (length <= 0)
        return std::nullopt;
    const QString limit = QStringLiteral(" is longer than ") + s.declaredType() +
                          QStringLiteral(": the server refuses it (string or binary data would be "
                                         "truncated)");
    switch (s.method.kind) {
    case Kind::Constant:
        if (s.method.family == tcVarchar && s.slot.param1.size() > length)
            return QStringLiteral("constant of ") + QString::number(s.slot.param1.size()) +
                   QStringLiteral(" characters") + limit + QStringLiteral("; shorten it");
        break;
    case Kind::LoremIpsum: {
        bool ok = false;
        const int longest = s.slot.param2.trimmed().toInt(&ok);
        if (ok && longest > length)
            return QStringLiteral("Lorem ipsum length ") + QString::number(longest) + limit +
                   QStringLiteral("; lower the longest length to ") + QString::number(length);
        break;
    }
    case Kind::WordList:
        if (const QStringList* words = s.words()) {
            const QString* longest = nullptr;
            for (const QString& w : *words)
                if (w.size() > length && (!longest || w.size() > longest->size()))
                    longest = &w;
            if (longest)
                return QStringLiteral("word list ") + s.slot.param1 +
                       QStringLiteral(" has an entry of ") + QString::number(longest->size()) +
                       QStringLiteral(" characters (") + quotedText(*longest) + u')' + limit +
                       QStringLiteral("; shorten its entries");
        }
        break;
    default:
        break;
    }
    return std::nullopt;
}

std::optional<QString> outOfRange(const Subject& s)
{
    if (s.method.family == tcDateTime) {
        const auto bounds = dateBounds(s.type);
        for (const ValueParameter& p : valueParameters(s)) {
            const auto& date = s.cache.date(p.text);
            if (!date)
                return date.error().message + QStringLiteral(" (") + p.what +
                       QStringLiteral("); enter a date");
            // A stored interval end is the day after the last day written.
            const QDate written =
                isExclusiveEndDate(*s.method.info, p.param) ? date->addDays(-1) : *date;
            if (bounds && (written < bounds->first || written > bounds->second))
                return p.what + u' ' + p.text + QStringLiteral(" is outside ") + s.typeName() +
                       QStringLiteral(", which holds ") + DateToText(bounds->first) +
                       QStringLiteral(" to ") + DateToText(bounds->second);
        }
        return std::nullopt;
    }
    if (s.method.family != tcInteger && s.method.family != tcFloat)
        return std::nullopt;
    for (const ValueParameter& p : valueParameters(s)) {
        const bool fraction = (p.param == 1 ? s.method.info->param1 : s.method.info->param2) ==
                              ParamKind::DecimalNumber;
        if (!isNumber(p.text, fraction))
            return p.what + u' ' + quotedText(p.text) +
                   (fraction ? QStringLiteral(" is not a number")
                             : QStringLiteral(" is not a whole number")) +
                   QStringLiteral("; enter one");
        if (const QString why = outOfType(s, p.text); !why.isEmpty())
            return p.what + u' ' + p.text + QStringLiteral(" does not fit the column: ") + why;
    }
    return std::nullopt;
}

std::optional<QString> referencedKey(const Subject& s)
{
    if (!s.known(FactGroup::ReferencingKeys) || s.column->referencedWithoutCascade <= 0)
        return std::nullopt;
    const int n = s.column->referencedWithoutCascade;
    const QString keys = n == 1 ? QString(QStringLiteral("foreign key ") + s.column->blockingKey)
                                : QString(QString::number(n) + QStringLiteral(" foreign keys (") +
                                          s.column->blockingKey + QStringLiteral(" and others)"));
    return QStringLiteral("referenced by ") + keys +
           QStringLiteral(" without ON UPDATE CASCADE: a changed value leaves the rows that point "
                          "at it without their key; leave the column unmasked");
}

std::optional<QString> foreignKeyMethod(const Subject& s)
{
    if (!s.method.foreignKey)
        return std::nullopt;
    if (!s.slot.isForeignKey())
        return QStringLiteral("a foreign-key method on a column that is no foreign key: there is "
                              "no referenced column to draw from; choose the plain method");
    if (!s.known(FactGroup::OwnKeys))
        return std::nullopt;
    if (s.column->foreignKeyColumns > 1)
        return QStringLiteral("part of foreign key ") + s.slot.Constraint_Name +
               QStringLiteral(" of ") + QString::number(s.column->foreignKeyColumns) +
               QStringLiteral(" columns: the method draws values of one referenced column alone, "
                              "which the key's other columns need not match; leave the column "
                              "unmasked");
    if (s.column->foreignKeys > 1)
        return QStringLiteral("in ") + QString::number(s.column->foreignKeys) +
               QStringLiteral(" foreign keys: the method draws keys of ") + s.slot.PK_table +
               QStringLiteral(
                   " only, which the other keys need not hold; leave the column unmasked");
    return std::nullopt;
}

QString triggersMessage(const TableFacts& table)
{
    return QStringLiteral("the table has ") + QString::number(table.triggers) +
           QStringLiteral(" enabled UPDATE trigger(s) (") + table.firstTrigger +
           QStringLiteral(") that fire for every row this method changes; disable them for the "
                          "run if they must not");
}

std::optional<QString> triggers(const Subject& s)
{
    if (!s.table || !s.facts.known(FactGroup::Triggers) || s.table->triggers <= 0 ||
        s.method.disablesTriggers())
        return std::nullopt;
    return s.cache.tableMessage(s.table, &Cache::triggers, triggersMessage);
}

constexpr std::int64_t LargeTable = 1000000;

QString largeTableMessage(const TableFacts& table)
{
    return QStringLiteral("this method updates row by row: about ") + count(*table.rows) +
           QStringLiteral(" single-row updates for this column alone, each a statement of its "
                          "own; expect a long run, or choose a one-statement method");
}

std::optional<QString> largeTable(const Subject& s)
{
    const auto rows = s.rows();
    if (!rows || *rows <= LargeTable || !s.method.cursor())
        return std::nullopt;
    return s.cache.tableMessage(s.table, &Cache::largeTable, largeTableMessage);
}

// The script writes the operator's text as Unicode literals; a column of one
// code page converts them on the way in.
std::optional<QString> unicode(const Subject& s)
{
    if (s.type != TypeKind::CodePageText)
        return std::nullopt;
    const auto beyondAscii = [](const QString& text) {
        for (QChar c : text)
            if (c.unicode() > 0x7f)
                return true;
        return false;
    };
    const QString* text = nullptr;
    if (s.method.kind == Kind::Constant || s.method.kind == Kind::SameLengthText) {
        if (beyondAscii(s.slot.param1))
            text = &s.slot.param1;
    } else if (s.method.kind == Kind::WordList) {
        if (const QStringList* words = s.words())
            for (const QString& w : *words)
                if (beyondAscii(w)) {
                    text = &w;
                    break;
                }
    }
    if (!text)
        return std::nullopt;
    return QStringLiteral("the text ") + quotedText(*text) +
           QStringLiteral(" goes into a column of one code page: characters outside the "
                          "column's code page become '?'; keep to characters it holds");
}

std::optional<QString> reversedInterval(const Subject& s)
{
    const QString& from = s.slot.param1;
    const QString& to = s.slot.param2;
    bool reversed = false;
    if (s.method.kind == Kind::Interval && s.method.family == tcDateTime) {
        const auto &a = s.cache.date(from), &b = s.cache.date(to);
        reversed = a && b && *a > *b;
    } else if (s.method.kind == Kind::Interval || s.method.kind == Kind::LoremIpsum) {
        bool okFrom = false, okTo = false;
        const double a = from.trimmed().toDouble(&okFrom), b = to.trimmed().toDouble(&okTo);
        reversed = okFrom && okTo && a > b;
    }
    if (!reversed)
        return std::nullopt;
    return QStringLiteral("the interval runs from ") + from + QStringLiteral(" down to ") + to +
           QStringLiteral(": its ends are reversed; swap them");
}

std::optional<QString> emptyTable(const Subject& s)
{
    const auto rows = s.rows();
    if (!rows || *rows != 0)
        return std::nullopt;
    return QStringLiteral("the table has no rows: there is nothing to mask");
}

std::optional<QString> history(const Subject& s)
{
    if (!s.table || !s.facts.known(FactGroup::Columns) || !s.table->temporal)
        return std::nullopt;
    return QStringLiteral("system-versioned table: its history table keeps every value this "
                          "method replaces; mask or purge the history as well");
}

const QList<Rule>& ruleTable()
{
    static const QList<Rule> rules = {
        {{QStringLiteral("read-only"), Level::Error}, readOnly},
        {{QStringLiteral("not-null"), Level::Error}, notNull},
        {{QStringLiteral("unique"), Level::Error}, unique},
        {{QStringLiteral("too-long"), Level::Error}, tooLong},
        {{QStringLiteral("out-of-range"), Level::Error}, outOfRange},
        {{QStringLiteral("referenced-key"), Level::Error}, referencedKey},
        {{QStringLiteral("foreign-key-method"), Level::Error}, foreignKeyMethod},
        {{QStringLiteral("unique-risk"), Level::Warning}, uniqueRisk},
        {{QStringLiteral("triggers"), Level::Warning}, triggers},
        {{QStringLiteral("large-table"), Level::Warning}, largeTable},
        {{QStringLiteral("unicode"), Level::Warning}, unicode},
        {{QStringLiteral("reversed-interval"), Level::Warning}, reversedInterval},
        {{QStringLiteral("empty-table"), Level::Warning}, emptyTable},
        {{QStringLiteral("history"), Level::Warning}, history},
    };
    return rules;
}

const QString FactsUnknownRule = QStringLiteral("facts-unknown");

void checkSlot(const TColumnRec& slot, Masking method, int index, const Facts& facts,
               const TableFacts* table, const Options& options, Cache& cache, Findings& out)
{
    if (!method.masks())
        return;
    const ColumnFacts* column = nullptr;
    if (table) {
        const auto it = table->columns.constFind(slot.col);
        column = it == table->columns.cend() ? nullptr : &*it;
    }
    const Subject subject(slot, method, facts, table, column, options, cache);
    for (const Rule& rule : ruleTable())
        if (auto message = rule.apply(subject))
            out.emplaceBack(Finding{rule.info.level, index, slot.stab, slot.col, slot.method,
                                    rule.info.name, std::move(*message)});
}

// What could not be known about a table with masked columns; empty when all is.
QStringList unknownFor(const Facts& facts, const TableFacts* table)
{
    if (!table || !facts.known(FactGroup::Columns))
        return {QStringLiteral("column facts")};
    QStringList names = facts.unknownNames();
    if (facts.known(FactGroup::RowCounts) && !table->rows)
        names << FactGroupName(FactGroup::RowCounts);
    return names;
}

} // namespace

QString LevelName(Level level)
{
    return level == Level::Error ? QStringLiteral("error") : QStringLiteral("warning");
}

const QList<RuleInfo>& Rules()
{
    static const QList<RuleInfo> infos = [] {
        QList<RuleInfo> list;
        for (const Rule& r : ruleTable())
            list << r.info;
        list << RuleInfo{FactsUnknownRule, Level::Warning};
        return list;
    }();
    return infos;
}

Findings CheckSlot(const TColumnRec& slot, int index, const Facts& facts, const Options& options)
{
    Findings findings;
    Cache cache;
    checkSlot(slot, Masking::of(slot.method), index, facts, facts.findTable(slot.schema, slot.tab),
              options, cache, findings);
    return findings;
}

Findings Check(const TData& catalogue, const Facts& facts, const Options& options)
{
    return CheckRange(catalogue, 1, int(catalogue.size()), facts, options);
}

Findings CheckRange(const TData& catalogue, int first, int last, const Facts& facts,
                    const Options& options)
{
    Findings findings;
    first = std::max(first, 1);
    last = std::min(last, int(catalogue.size()));
    findings.reserve(std::max(0, last - first) / 2);
    Cache cache;
    const TableFacts* table = nullptr;
    const TColumnRec* tableSlot = nullptr; // the first slot of the current table
    bool tableReported = false;
    for (int i = first; i < last; ++i) {
        const TColumnRec& slot = catalogue.at(i);
        const Masking method = Masking::of(slot.method);
        if (!method.masks())
            continue;
        if (!tableSlot || slot.schema != tableSlot->schema || slot.tab != tableSlot->tab ||
            slot.stab != tableSlot->stab) {
            tableSlot = &slot;
            table = facts.findTable(slot.schema, slot.tab);
            tableReported = false;
        }
        if (!tableReported) {
            tableReported = true;
            if (const QStringList unknown = unknownFor(facts, table); !unknown.isEmpty()) {
                QString message = unknown.join(QStringLiteral(", ")) + QStringLiteral(" unknown");
                if (!facts.unknownReason().isEmpty())
                    message += QStringLiteral(" (") + facts.unknownReason() + u')';
                message += QStringLiteral(": the rules that need them were not applied to this "
                                          "table; check it by hand or log in with the right to "
                                          "view its definition");
                findings.append(
                    {Level::Warning, i, slot.stab, {}, NoMethodYet, FactsUnknownRule, message});
            }
        }
        checkSlot(slot, method, i, facts, table, options, cache, findings);
    }
    return findings;
}

bool HasErrors(const Findings& findings)
{
    return CountOf(findings, Level::Error) > 0;
}

int CountOf(const Findings& findings, Level level)
{
    return int(std::count_if(findings.cbegin(), findings.cend(),
                             [level](const Finding& f) { return f.level == level; }));
}

QString Summary(const Findings& findings)
{
    if (findings.isEmpty())
        return QStringLiteral("No findings");
    const int errors = CountOf(findings, Level::Error);
    const int warnings = CountOf(findings, Level::Warning);
    return QString::number(errors) +
           (errors == 1 ? QStringLiteral(" error, ") : QStringLiteral(" errors, ")) +
           QString::number(warnings) +
           (warnings == 1 ? QStringLiteral(" warning") : QStringLiteral(" warnings"));
}

QString SlotVerdict::text() const
{
    QStringList parts;
    if (errors > 0)
        parts << QString::number(errors) +
                     (errors == 1 ? QStringLiteral(" error") : QStringLiteral(" errors"));
    if (warnings > 0)
        parts << QString::number(warnings) +
                     (warnings == 1 ? QStringLiteral(" warning") : QStringLiteral(" warnings"));
    return parts.join(QStringLiteral(", "));
}

QHash<int, SlotVerdict> VerdictsBySlot(const Findings& findings)
{
    QHash<int, SlotVerdict> verdicts;
    for (const Finding& f : findings) {
        if (f.column.isEmpty())
            continue;
        SlotVerdict& v = verdicts[f.slot];
        ++(f.level == Level::Error ? v.errors : v.warnings);
    }
    return verdicts;
}

QStringList ScriptComments(const Findings& findings)
{
    QStringList lines{QStringLiteral("Check: ") + Summary(findings)};
    lines.reserve(findings.size() + 1);
    for (const Finding& f : findings) {
        QString where = f.table;
        if (!f.column.isEmpty())
            where += QStringLiteral(" [") + f.column + QStringLiteral("] (") +
                     GetMethodName(f.method).trimmed() + u')';
        lines << LevelName(f.level) + u' ' + f.rule + QStringLiteral(": ") + where +
                     QStringLiteral(": ") + f.message;
    }
    return lines;
}

} // namespace corvane::check
