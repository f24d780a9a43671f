#include "cli/checkcommand.h"

#include "cli/options.h"
#include "cli/schemalisting.h"
#include "project/wordlist.h"

namespace corvane::cli {

check::Findings CheckProject(const TData& catalogue, const check::Facts& facts)
{
    check::Options options;
    options.wordList = &ReadWordList;
    return check::Check(catalogue, facts, options);
}

QString CheckListing(const check::Findings& findings)
{
    QString out;
    for (const check::Finding& f : findings) {
        const QString method = f.method == NoMethodYet ? QString() : QString::number(f.method);
        out += check::LevelName(f.level) + u'\t' + EscapeField(f.table) + u'\t' +
               EscapeField(f.column) + u'\t' + method + u'\t' + f.rule + u'\t' +
               EscapeField(f.message) + u'\n';
    }
    return out;
}

int CheckExitStatus(const check::Findings& findings)
{
    if (check::HasErrors(findings))
        return ExitNotRun;
    return findings.isEmpty() ? ExitSuccess : ExitFailed;
}

std::optional<QString> RunRefusal(const check::Findings& findings, bool force)
{
    if (force || !check::HasErrors(findings))
        return std::nullopt;
    return QStringLiteral("the check found ") + check::Summary(findings) +
           QStringLiteral("; nothing was changed (see corvane-cli check, or give --force to run "
                          "anyway)");
}

} // namespace corvane::cli
