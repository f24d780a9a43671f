#pragma once

#include <QByteArray>
#include <QVarLengthArray>
#include <QString>
#include <QVarLengthArray>

namespace corvane::discovery {

// An identifier as the name matcher reads it: its words folded to lower-case
// ASCII letters and digits and written one after the other, with the offset at
// which each word starts. "Cust_FirstName2" gives "custfirstname2" with words
// at 0, 4, 9 and 13; "Straße" gives "strasse"; "EMailAddress" gives the words
// "e", "mail" and "address".
struct Words
{
    // On the stack for names of usual length: a schema has many thousands.
    QVarLengthArray<char, 64> joined;
    QVarLengthArray<int, 12> starts;

    int count() const { return int(starts.size()); }
    int end(int word) const { return word + 1 < count() ? starts[word + 1] : int(joined.size()); }
    QByteArray word(int index) const
    {
        return QByteArray(joined.constData() + starts[index], end(index) - starts[index]);
    }
    bool startsWordAt(int offset) const;
    bool endsWordAt(int offset) const;
};

// Words break at every character that is neither letter nor digit, where a
// lower-case letter is followed by a capital, before the last capital of a run
// that goes on in lower case ("IPAddress": "ip", "address"), and between
// letters and digits. Accents are dropped, ß is written ss.
Words SplitWords(const QString& identifier);

} // namespace corvane::discovery
