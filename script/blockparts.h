#pragma once

#include "catalogue/consttypes.h"
#include "script/generator.h"

#include <QString>
#include <QStringView>

// Pieces that several blocks share, character for character.
namespace corvane::script::parts {

// Draws that may never hit a key give up after this many tries; the row then
// keeps its value.
inline constexpr char16_t DrawLimit[] = u"1000";

// A text between single quotes: quotes inside it are doubled.
QString quoted(const QString& text);

// Writes the block of one slot into `out`. Names go in delimited, taken from
// the slot's schema and table fields (never from `stab`, whose dot may be
// part of a name).
class BlockWriter
{
public:
    BlockWriter(QString& out, const TColumnRec& slot, const BlockOptions& options);

    QString& out;
    const TColumnRec& slot;
    const BlockOptions& options;
    const QString table;  // [schema].[table]
    const QString column; // [column]
    const QString keys;   // [schema].[table] that a foreign key refers to
    const QString key;    // [column] of that table
    // "Anonymisation table <stab> column [<col>]" as an N'' literal.
    const QString label;

    // The block's whole work is one transaction. `countsMisses`: the block
    // counts the rows whose key draw found nothing in @misses.
    void begin(bool countsMisses = false);
    // Commits, reports the misses, and on any error rolls the column back and
    // reports it: the script names the column and goes on, a run batch
    // raises the server's error again. `cursor`: the block's cursor is
    // deallocated on error.
    void end(bool cursor, bool countsMisses = false);

    // "CURSOR LOCAL", with KEYSET when the table has a primary key.
    QStringView cursorKind() const;

    // "DECLARE cur ..." down to "BEGIN": the cursor over the column, opened,
    // first row fetched into `fetchInto`, loop entered.
    void cursorHead(QStringView fetchInto);
    // The end of the loop from the next fetch to "DEALLOCATE cur", with the
    // triggers switched on again after the loop when `enableTriggers`.
    void cursorTail(QStringView fetchInto, bool enableTriggers);

    // "     update <table> set <column>=<value> WHERE CURRENT OF cur "
    void rowUpdate(QStringView value);

    // The shuffle: the column's values in random order into the emptied
    // @pool, then handed out row by row. `insertHead` is the insert line up
    // to the pool column, `pool` that column; `disablePrefix` (empty: the
    // triggers stay on) starts the line that switches the triggers off.
    void shuffle(QStringView insertHead, QStringView pool, QStringView fetchInto,
                 QStringView disablePrefix);

    // The body of a foreign-key draw: `variable` is drawn by `draw` while it
    // is no key, as long as some key lies in `low` .. `high` (the range the
    // draw can reach), at most DrawLimit times. A row whose draw found no key
    // keeps its value untouched and counts in @misses (a NULL row does not).
    struct KeyDraw
    {
        QStringView variable;
        QStringView fetched;
        QString low;
        QString high;
        QString draw;
        QStringView fallbackIndent;
    };
    void keyDraw(const KeyDraw& draw);

    // " alter table <table> disable trigger all " and its enable counterpart.
    void disableTriggers();
    void enableTriggers(bool lineEnd);

    // "update <table> set <column>=NULL ", the NULL block of every family.
    void setNull();

private:
    // Fails the block when the table `name` does not exist.
    void appendTableCheck(const QString& name);
};

} // namespace corvane::script::parts
