// Classifying a big schema by the names and types of its columns, as the
// window does at once when discovery starts.
#include "discovery/classifier.h"

#include <QElapsedTimer>

#include <cstdio>

using namespace corvane;

namespace {

// Columns named as real schemas name them, personal or not, in several
// languages and spellings, each table with a name of its own.
TData schema(int columns)
{
    static const char* const names[] = {
        "CustomerId",   "FirstName",    "last_name",     "EMailAddress", "Telefonnummer",
        "Geburtsdatum", "CreatedAt",    "OrderTotal",    "StatusCode",   "Strasse",
        "CodePostal",   "Ville",        "Observaciones", "ProductName",  "Quantity",
        "UnitPrice",    "iban",         "ip_address",    "IsActive",     "Description",
        "achternaam",   "NumeroSecu",   "strNotes",      "ModifiedBy",   "Name"};
    static const char* const types[][2] = {{"int", ""},       {"nvarchar", "50"},
                                           {"varchar", "100"}, {"date", ""},
                                           {"decimal", ""},    {"nvarchar", "-1"}};
    static const char* const tables[] = {"Customer", "Orders", "Kunde", "Produit", "Empleado",
                                         "Klant", "AuditLog"};
    TData data;
    data.reserve(columns + columns / 20 + 2);
    data.resize(1);
    for (int i = 0; i < columns; ++i) {
        if (i % 20 == 0)
            data.append(TColumnRec()); // the table's own slot
        const int t = i / 20;
        TColumnRec rec;
        rec.schema = QStringLiteral("dbo");
        rec.tab = QString::fromLatin1(tables[t % 7]) + QString::number(t);
        rec.stab = rec.schema + u'.' + rec.tab;
        rec.col = QString::fromLatin1(names[(i * 7 + t) % 25]);
        rec.typ = QString::fromLatin1(types[(i + t) % 6][0]);
        rec.char_max = QString::fromLatin1(types[(i + t) % 6][1]);
        rec.method = NoMethodYet;
        data.append(rec);
    }
    return data;
}

} // namespace

int main()
{
    discovery::Classifier::instance(); // the word tables, built once per process
    for (const int columns : {10000, 100000}) {
        const TData data = schema(columns);
        // The fastest of a few runs: the machine's other work only adds.
        QVector<discovery::Finding> findings;
        double ms = 0;
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer timer;
            timer.start();
            findings = discovery::ClassifyCatalogue(data);
            const double elapsed = timer.nsecsElapsed() / 1e6;
            ms = run == 0 ? elapsed : qMin(ms, elapsed);
        }
        int personal = 0;
        for (const discovery::Finding& f : findings)
            personal += f.isPersonal() ? 1 : 0;
        std::fprintf(stderr, "%d columns, %d personal\n", columns, personal);
        std::printf("discovery by names and types\t%d\t%.1f\n", columns, ms);
    }
    return 0;
}
