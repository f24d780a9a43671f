#pragma once

#include "catalogue/consttypes.h"
#include "discovery/finding.h"

#include <QString>
#include <QVector>

namespace corvane::discovery {

// A method and its parameters, as the editor would store them.
struct Suggestion
{
    MethodCode code = NoMethodYet;
    QString param1;
    QString param2;

    bool isValid() const { return code != NoMethodYet; }
};

// The names of the word lists shipped as defaults.
inline const QString FirstNamesList = QStringLiteral("first_names");
inline const QString LastNamesList = QStringLiteral("last_names");
inline const QString StreetsList = QStringLiteral("streets");
inline const QString CitiesList = QStringLiteral("cities");

// A method that masks the finding's data and keeps its shape: names and
// cities from a word list, texts of the same length, dates moved by days,
// free text as Lorem ipsum within the column's length. None for a slot that
// is no finding and for a foreign-key column.
Suggestion Suggest(const Finding& finding, const TColumnRec& column);

// "1007 first_names", "2 180", "1003 10 200": the code and its parameters.
QString SuggestionText(const Suggestion& suggestion);

// Stores the suggestion in the slot as the editor would.
void ApplySuggestion(TColumnRec& column, const Suggestion& suggestion);

// Whether a slot's method masks its column.
bool IsMasked(const TColumnRec& column);

struct Coverage
{
    int personal = 0; // columns found to hold personal data
    int masked = 0;   // of those, the ones with a masking method
};

Coverage CoverageOf(const TData& catalogue, const QVector<Finding>& findings);
// "42 of 57 personal-data columns masked"
QString CoverageText(const Coverage& coverage);

} // namespace corvane::discovery
