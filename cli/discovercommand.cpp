#include "cli/discovercommand.h"

#include "catalogue/methods.h"
#include "cli/schemalisting.h"
#include "discovery/suggestion.h"

namespace corvane::cli {

using namespace discovery;

Result<DiscoveryReport> DiscoverCatalogue(const TData& catalogue, db::Connection* connection,
                                          const Options& options)
{
    DiscoveryRequest request;
    if (!options.tables.isEmpty()) {
        request.columnSlots = SlotsOfTables(catalogue, options.tables);
        if (request.columnSlots.isEmpty())
            return Error::failure(QStringLiteral("--tables: no table matches '") +
                                  options.tables + u'\'');
    }
    if (options.sample > 0) {
        request.sampleRows = options.sample;
        if (!request.columnSlots.isEmpty()) {
            request.sampleSlots = request.columnSlots;
        } else {
            for (int slot = 0; slot < catalogue.size(); ++slot)
                if (!catalogue.at(slot).col.isEmpty())
                    request.sampleSlots.append(slot);
        }
    }
    return Discover(catalogue, connection, request);
}

QString FindingsListing(const TData& catalogue, const QVector<Finding>& findings)
{
    QString out;
    for (const Finding& f : findings) {
        if (!f.isPersonal())
            continue;
        const TColumnRec& c = catalogue.at(f.slot);
        const Suggestion s = Suggest(f, c);
        const QStringList fields = {
            EscapeField(c.stab),
            EscapeField(c.col),
            CategoryKey(f.category),
            QString::number(f.confidence, 'f', 2),
            EscapeField(f.evidenceText()),
            s.isValid() ? QString::number(s.code) : QString(),
            EscapeField(s.param1),
            EscapeField(s.param2),
        };
        out += fields.join(u'\t') + u'\n';
    }
    return out;
}

QStringList FillSuggestions(TData& catalogue, const QVector<Finding>& findings)
{
    QStringList lists;
    for (const Finding& f : findings) {
        if (!f.isPersonal())
            continue;
        const Suggestion s = Suggest(f, catalogue.at(f.slot));
        ApplySuggestion(catalogue[f.slot], s);
        const MethodInfo* method = methodInfo(s.code);
        if (method && method->kind == MethodKind::WordList && !lists.contains(s.param1))
            lists << s.param1;
    }
    return lists;
}

} // namespace corvane::cli
