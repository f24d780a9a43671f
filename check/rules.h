#pragma once

#include "catalogue/consttypes.h"
#include "base/result.h"
#include "check/facts.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace corvane::check {

enum class Level { Warning, Error };

QString LevelName(Level level); // "warning", "error"

// One thing the server would refuse (an error) or the operator should know
// (a warning) about one masked column, or about a table as a whole (then
// `column` is empty and `method` is NoMethodYet).
struct Finding
{
    Level level = Level::Warning;
    int slot = 0;  // the catalogue slot; for a table finding its first masked column's
    QString table; // stab
    QString column;
    MethodCode method = NoMethodYet;
    QString rule;    // a short fixed name: "not-null", "too-long", ...
    QString message; // what is wrong and what to do

    bool operator==(const Finding&) const = default;
};

using Findings = QList<Finding>;

struct Options
{
    // Reads a word list's first line (values separated by ';'). Without it
    // the entries of word lists are not checked.
    std::function<Result<QString>(const QString& name)> wordList;
};

// The rules in the order in which they are applied, each with its level.
struct RuleInfo
{
    QString name;
    Level level;
};
const QList<RuleInfo>& Rules();

// Every finding of the catalogue's masked columns, in slot order; a table's
// findings come before those of its columns.
Findings Check(const TData& catalogue, const Facts& facts, const Options& options = {});

// The findings of slots [first, last) as the whole check gives them; the
// range must hold every slot of its tables, so that each table is seen whole.
Findings CheckRange(const TData& catalogue, int first, int last, const Facts& facts,
                    const Options& options = {});

// The findings of one slot alone, as the editor shows them; table findings
// are left to the whole check.
Findings CheckSlot(const TColumnRec& slot, int index, const Facts& facts,
                   const Options& options = {});

bool HasErrors(const Findings& findings);
int CountOf(const Findings& findings, Level level);
// "3 errors, 5 warnings", "1 error, 0 warnings"; "No findings" when empty.
QString Summary(const Findings& findings);

// What one column's own findings come to, for a list with one cell per
// column: none, warnings, or errors.
struct SlotVerdict
{
    int errors = 0;
    int warnings = 0;

    Level level() const { return errors > 0 ? Level::Error : Level::Warning; }
    // 0 nothing found, 1 warnings only, 2 errors: the order in which a list sorts.
    int rank() const { return errors > 0 ? 2 : warnings > 0 ? 1 : 0; }
    QString text() const; // "2 errors", "1 warning", "1 error, 2 warnings", "" for none
};
// By slot, for the slots that have findings of their own (table findings are
// left out).
QHash<int, SlotVerdict> VerdictsBySlot(const Findings& findings);

// The findings as the lines of a script's header: the summary, then one line
// per finding. Names and messages stand as they are; the header makes each
// line a comment and keeps line breaks in them from ending it.
QStringList ScriptComments(const Findings& findings);

} // namespace corvane::check
