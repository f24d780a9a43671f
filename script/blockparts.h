#pragma once

#include "catalogue/consttypes.h"

#include <QString>
#include <QStringView>

// Pieces that several families' blocks share, character for character.
namespace corvane::script::parts {

// Draws that may never hit a key give up after this many tries; the row then
// keeps its value.
inline constexpr char16_t DrawLimit[] = u"1000";

// A text between single quotes: quotes inside it are doubled.
QString quoted(const QString& text);

// "DECLARE cur ..." down to "BEGIN": the cursor over the column, opened, first
// row fetched, loop entered.
void appendCursorHead(QString& out, const TColumnRec& slot);

// The end of the loop from the next fetch to "DEALLOCATE cur", with the
// triggers switched on again after the loop when `enableTriggers`.
void appendCursorTail(QString& out, const TColumnRec& slot, bool enableTriggers);

// "     update <stab> set [<col>]=<value> WHERE CURRENT OF cur "
void appendRowUpdate(QString& out, const TColumnRec& slot, QStringView value);

// The shuffle: the column's values in random order into a fresh @rand_tab,
// then handed out row by row. `insertHead` is the insert line up to the
// column; `disablePrefix` (empty: triggers stay on) starts the line that
// switches the triggers off after the insert.
void appendShuffle(QString& out, const TColumnRec& slot, QStringView insertHead, QStringView pool,
                   QStringView disablePrefix);

// The body of a foreign-key draw: `variable` is drawn by `draw` while it is not
// a key, as long as some key lies in `between` ("<low> and <high>"), at most
// DrawLimit times; a row without a key keeps its value. `fallback` is the
// line's indentation, `keepValue` the statement that keeps it.
struct KeyDraw
{
    QStringView variable;
    QString between;
    QString draw;
    QStringView fallbackIndent;
    QString keepValue;
};
void appendKeyDraw(QString& out, const TColumnRec& slot, const KeyDraw& draw);

// " alter table <stab> disable trigger all " and its enable counterpart.
void appendDisableTriggers(QString& out, const TColumnRec& slot);
void appendEnableTriggers(QString& out, const TColumnRec& slot, bool lineEnd);

// "update <stab> set [<col>]=NULL ", the NULL block of every family.
void appendSetNull(QString& out, const TColumnRec& slot);

} // namespace corvane::script::parts
