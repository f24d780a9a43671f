#include "discovery/classifier.h"

#include "discovery/typekind.h"
#include "discovery/vocabulary.h"

#include <QSet>

#include <algorithm>
#include <array>
#include <vector>

namespace corvane::discovery {

namespace {

constexpr int Symbols = 36; // a-z, 0-9
constexpr double ReportThreshold = 0.5;

int symbol(char c)
{
    return c >= 'a' ? c - 'a' : 26 + (c - '0');
}

// Words that say no more than "the value of" the record the table is about:
// "Line1" of an Address table, "Value" of a ContactEmail table.
bool isGenericWord(const QByteArray& word)
{
    static const QSet<QByteArray> generic = {
        "line",  "value", "text",  "number", "nummer", "numero", "nr",    "no",
        "num",   "wert",  "valeur", "valor", "waarde", "zeile",  "ligne", "linea",
        "regel", "data",  "daten",  "datos", "donnee", "gegevens"};
    return generic.contains(word);
}

bool isDigits(const QByteArray& word)
{
    for (char c : word)
        if (c < '0' || c > '9')
            return false;
    return true;
}

QString stemPhrase(const Stem& stem)
{
    QString text = u"name \"" + QString::fromLatin1(stem.text) + u'"';
    if (*stem.language)
        text += u" (" + QString::fromLatin1(stem.language) + u')';
    return text;
}

// How well the column's type can hold the category's data: 0 rules the
// column out, 1 is a plain fit, below 1 an odd but seen way to store it.
double typeFit(Category category, Detail detail, const TColumnRec& column, bool personContext)
{
    const TypeKind kind = KindOfType(column.typ);
    if (kind == TypeKind::Unusable)
        return 0;
    const int length = MaxLength(column);
    // A text column whose length is not known passes every length test.
    const auto textOf = [&](int shortest) {
        return length == -1 || length == 0 || length >= shortest ? 1.0 : 0.0;
    };
    const bool number = kind == TypeKind::Integer || kind == TypeKind::Decimal;
    const int digits = DigitCapacity(column.typ);
    switch (category) {
    case Category::PersonName:
        return kind == TypeKind::Text ? textOf(2) : 0;
    case Category::Email:
        return kind == TypeKind::Text ? textOf(6) : 0;
    case Category::City:
        return kind == TypeKind::Text ? textOf(3) : 0;
    case Category::Address:
        if (detail == Detail::HouseNumber)
            return kind == TypeKind::Text ? 1 : kind == TypeKind::Integer ? 0.9 : 0;
        return kind == TypeKind::Text ? textOf(4) : 0;
    case Category::FreeText:
        return kind == TypeKind::Text && (length == -1 || length == 0 || length >= 50) ? 1 : 0;
    case Category::Phone:
        if (kind == TypeKind::Text)
            return textOf(6);
        return (number || kind == TypeKind::Float) && digits >= 10 ? 0.85 : 0;
    case Category::PostalCode:
        if (kind == TypeKind::Text)
            return textOf(3);
        return kind == TypeKind::Integer && digits >= 5 ? 0.85 : 0;
    case Category::BirthDate:
        if (kind == TypeKind::Date)
            return 1;
        if (kind == TypeKind::Text)
            return textOf(6) * 0.85;
        return kind == TypeKind::Integer ? 0.8 : 0;
    case Category::NationalId:
        if (kind == TypeKind::Text)
            return textOf(5);
        return number && digits >= 9 ? 0.9 : 0;
    case Category::TaxId:
        if (kind == TypeKind::Text)
            return textOf(5);
        // An integer "TaxId" of an invoice is as often the key of a tax rate.
        return number && digits >= 9 && personContext ? 0.85 : 0;
    case Category::BankAccount:
        if (kind == TypeKind::Text)
            return textOf(8);
        return number && digits >= 10 ? 0.85 : 0;
    case Category::PaymentCard:
        if (kind == TypeKind::Text)
            return textOf(3);
        return number && digits >= 3 ? 0.85 : 0;
    case Category::IpAddress:
        if (kind == TypeKind::Text)
            return textOf(7);
        return kind == TypeKind::Integer && digits >= 10 ? 0.8 : 0;
    case Category::Other:
        return 1;
    case Category::None:
        break;
    }
    return 0;
}

} // namespace

struct Classifier::Trie
{
    struct Node
    {
        std::array<int, Symbols> next;
        QVarLengthArray<int, 2> stems;
        Node() { next.fill(-1); }
    };
    std::vector<Node> nodes;

    Trie()
    {
        nodes.emplace_back();
        const QList<Stem>& stems = Vocabulary();
        for (int i = 0; i < stems.size(); ++i) {
            int node = 0;
            for (const char* p = stems.at(i).text; *p; ++p) {
                const int s = symbol(*p);
                if (nodes[node].next[s] < 0) {
                    nodes[node].next[s] = int(nodes.size());
                    nodes.emplace_back();
                }
                node = nodes[node].next[s];
            }
            nodes[node].stems.append(i);
        }
    }
};

Classifier::Classifier() : m_trie(std::make_unique<Trie>()) {}

Classifier::~Classifier() = default;

const Classifier& Classifier::instance()
{
    static const Classifier classifier;
    return classifier;
}

void Classifier::findStems(const Words& words, QVarLengthArray<Match, 16>& matches) const
{
    const QList<Stem>& stems = Vocabulary();
    const char* text = words.joined.constData();
    const int n = int(words.joined.size());
    for (int start = 0; start < n; ++start) {
        const bool atWordStart = words.startsWordAt(start);
        int node = 0;
        for (int i = start; i < n; ++i) {
            node = m_trie->nodes[node].next[symbol(text[i])];
            if (node < 0)
                break;
            for (int index : m_trie->nodes[node].stems) {
                const Place place = stems.at(index).place;
                if (place != Place::Anywhere && !atWordStart)
                    continue;
                if (place == Place::Words && !words.endsWordAt(i + 1))
                    continue;
                matches.append({start, i + 1, index});
            }
        }
    }
}

Classifier::TableContext Classifier::tableContext(const TColumnRec& column) const
{
    TableContext context;
    context.table = column.tab.isEmpty() ? column.stab.section(u'.', -1) : column.tab;
    const Words words = SplitWords(context.table);
    QVarLengthArray<Match, 16> matches;
    findStems(words, matches);
    const QList<Stem>& stems = Vocabulary();
    for (const Match& m : matches) {
        const Stem& stem = stems.at(m.stem);
        context.person |= (stem.flags & PersonWord) != 0;
        context.address |= (stem.flags & AddressWord) != 0;
        if (stem.category == Category::Address || stem.category == Category::Phone ||
            stem.category == Category::Email)
            context.entity = stem.category;
    }
    return context;
}

Finding Classifier::classify(const TColumnRec& column) const
{
    if (column.col.isEmpty())
        return {};
    return classify(column, tableContext(column));
}

Finding Classifier::classify(const TColumnRec& column, const TableContext& context) const
{
    Finding finding;
    if (column.col.isEmpty() || column.isForeignKey())
        return finding;
    if (!column.PK.isEmpty() && KindOfType(column.typ) == TypeKind::Integer)
        return finding; // a surrogate key

    const QList<Stem>& stems = Vocabulary();
    const Words words = SplitWords(column.col);
    QVarLengthArray<Match, 16> matches;
    findStems(words, matches);
    const QString& table = context.table;
    const bool tablePerson = context.person;
    const bool tableAddress = context.address;
    const Category tableEntity = context.entity;

    bool columnPerson = false;
    QVarLengthArray<const Match*, 8> candidates;
    for (const Match& m : matches) {
        const Stem& stem = stems.at(m.stem);
        if (stem.flags & Blocker)
            return finding;
        columnPerson |= (stem.flags & PersonWord) != 0;
        if (stem.confidence > 0)
            candidates.append(&m);
    }
    // Longest first: "ipaddress" before "address", "birthplace" before "birth".
    std::stable_sort(candidates.begin(), candidates.end(), [&](const Match* a, const Match* b) {
        const int la = a->end - a->start;
        const int lb = b->end - b->start;
        if (la != lb)
            return la > lb;
        return stems.at(a->stem).confidence > stems.at(b->stem).confidence;
    });
    const bool personContext = columnPerson || tablePerson;

    // Whether a stem that names a person's data only in context stands in one.
    const auto inContext = [&](const Match& best, Category category) {
        // "ProductName" and "nom_produit" name things: any word beside the
        // stem that is neither a person nor a mere prefix makes it a thing's.
        for (int w = 0; w < words.count(); ++w) {
            const int ws = words.starts[w];
            const int we = words.end(w);
            if ((ws >= best.start && we <= best.end) || isDigits(words.word(w)))
                continue;
            bool known = false;
            for (const Match& m : matches) {
                const quint8 f = stems.at(m.stem).flags;
                if (m.start <= ws && m.end >= we && (f & (Neutral | PersonWord)))
                    known = true;
            }
            if (!known && !columnPerson)
                return false;
        }
        const bool addressStem = category == Category::Address ||
                                 category == Category::PostalCode || category == Category::City;
        return personContext || (addressStem && tableAddress);
    };

    QStringList evidence;
    double confidence = 0;
    Category category = Category::None;
    Detail detail = Detail::Any;
    for (const Match* m : candidates) {
        const Stem& stem = stems.at(m->stem);
        if (stem.category == Category::None)
            return finding; // "MacAddress", "UserName": named, and not personal
        if ((stem.flags & NeedsPerson) && !inContext(*m, stem.category))
            continue;
        category = stem.category;
        detail = stem.detail;
        confidence = stem.confidence / 100.0;
        evidence << stemPhrase(stem);
        if (stem.flags & NeedsPerson)
            evidence << (columnPerson ? QStringLiteral("a person's, by the column name")
                                      : u"table \"" + table + u"\" holds people");
        break;
    }
    if (category == Category::None && candidates.isEmpty() && tableEntity != Category::None &&
        words.count() > 0) {
        // "Line1" of an Address table, "Value" of a ContactPhone table.
        for (int w = 0; w < words.count(); ++w) {
            const QByteArray word = words.word(w);
            if (!isGenericWord(word) && !isDigits(word))
                return finding;
        }
        category = tableEntity;
        detail = category == Category::Address ? Detail::Street : Detail::Any;
        confidence = 0.7;
        evidence << u"table \"" + table + QStringLiteral("\" holds ") +
                        CategoryCaption(category).toLower() + QStringLiteral(" records");
    }
    if (category == Category::None)
        return finding;

    const double fit = typeFit(category, detail, column, personContext);
    if (fit <= 0)
        return finding;
    confidence *= fit;
    if ((category == Category::Address || category == Category::City ||
         category == Category::PostalCode || category == Category::Phone ||
         category == Category::Email) &&
        (tablePerson || tableAddress))
        confidence = qMin(1.0, confidence + 0.03);
    if (confidence < ReportThreshold)
        return finding;
    evidence << QStringLiteral("type ") + TypeText(column);

    finding.category = category;
    finding.detail = detail;
    finding.confidence = confidence;
    finding.evidence = evidence;
    return finding;
}

QVector<Finding> ClassifyCatalogue(const TData& catalogue, const QVector<int>* columnSlots)
{
    const Classifier& classifier = Classifier::instance();
    QVector<Finding> findings;
    // A table's columns follow one another: its name is read once.
    Classifier::TableContext context;
    QString contextOf;
    bool haveContext = false;
    const auto one = [&](int slot) {
        const TColumnRec& column = catalogue.at(slot);
        if (!haveContext || column.stab != contextOf) {
            context = classifier.tableContext(column);
            contextOf = column.stab;
            haveContext = true;
        }
        Finding f = classifier.classify(column, context);
        if (!f.isPersonal())
            return;
        f.slot = slot;
        findings.append(std::move(f));
    };
    if (columnSlots) {
        for (int slot : *columnSlots)
            if (slot >= 0 && slot < catalogue.size() && !catalogue.at(slot).col.isEmpty())
                one(slot);
    } else {
        for (int slot = 0; slot < catalogue.size(); ++slot)
            if (!catalogue.at(slot).col.isEmpty())
                one(slot);
    }
    return findings;
}

} // namespace corvane::discovery
