#pragma once

#include "catalogue/consttypes.h"
#include "base/result.h"
#include "catalogue/methods.h"

#include <QDate>
#include <QString>

#include <optional>

// The rules of the method editor, apart from any widget: each store action
// takes the current slot and the values of the controls it reads, and says
// what to store in the slot or what to tell the operator instead.
namespace corvane::editor {

// The edit that a maximum-length refusal puts back.
enum class Reset {
    None,          // a refusal that unchecks the radio button instead
    ConstantText,  // emptied
    LoremFrom,     // set to "0"
    LoremTo,       // set to "0"
};

struct Outcome
{
    enum class Kind {
        Store,  // write method and the parameters given into the slot
        Keep,   // nothing to do, nothing to say
        Refuse, // show `message`; then reset the edit named by `reset`, or uncheck the radio
        Fail,   // show `error`; the slot stays as it was
    };

    Kind kind = Kind::Keep;
    MethodCode method = NoMethodYet;
    std::optional<QString> param1; // unset: the slot keeps what an earlier method left
    std::optional<QString> param2;
    QString message;
    Error error;
    Reset reset = Reset::None;
    // A constant stored on a foreign-key column: offer the referenced key's values.
    bool offerKeyValues = false;

    bool stores() const { return kind == Kind::Store; }
    // Writes a Store outcome into `slot` (parameters cut to their capacity);
    // any other outcome leaves the slot alone.
    void applyTo(TColumnRec& slot) const;
};

inline const QString NullRefusal = QStringLiteral("Cannot insert tha value NULL into this column.");
inline const QString ForeignKeyRefusal = QStringLiteral("Not allowed for foreign key.");
inline const QString ForeignKeyHintText =
    QStringLiteral("foreign key - please choose the value only from combobox");
// The initial text of ComboBox4, stored as the list name while none is chosen.
inline const QString VirtualDataPrompt = QStringLiteral("Virtual data..");
inline const QString BlankUserTextRefusal =
    QStringLiteral("The user defined text must hold at least one character that is not a blank.");

// Every sheet; `family` is the sheet's method family (MethodFamilies).
Outcome noMask(TypeCategory family);
Outcome setNull(const TColumnRec& slot, TypeCategory family);
// Date-time 3 (7), integer 104 (108), text 1004 (1008), float 2004 (2008).
Outcome shuffle(const TColumnRec& slot, TypeCategory family);

// Date-time, integer and float sheets: the constant as its control shows it.
Outcome constantValue(const TColumnRec& slot, TypeCategory family, const QString& value);
// Date-time and integer sheets: the noise range.
Outcome noise(const TColumnRec& slot, TypeCategory family, const QString& range);
// Integer and float sheets: the bounds as typed.
Outcome randomRange(const TColumnRec& slot, TypeCategory family, const QString& lower,
                    const QString& upper);

// Date-time sheet.
Outcome constantDate(const TColumnRec& slot, const QDate& date);
// `last` is the last day the operator chose; the slot keeps the day after it,
// the interval's exclusive end.
Outcome randomDates(const TColumnRec& slot, const QDate& first, const QDate& last);
// The day shown as the last day of an interval stored with the exclusive end `end`.
QDate lastDayOfInterval(const QDate& end);

// Float sheet.
Outcome floatNoise(const TColumnRec& slot, const QString& range, const QString& decimals);

// Text sheet.
Outcome constantText(const TColumnRec& slot, const QString& text);
Outcome userText(const TColumnRec& slot, const QString& text);
Outcome loremLength(const TColumnRec& slot, const QString& from, const QString& to);
Outcome virtualData(const TColumnRec& slot, const QString& listName);

// "Max length is <char_max> !"
QString maxLengthMessage(const TColumnRec& slot);

} // namespace corvane::editor
