#pragma once

#include <QList>
#include <QString>

// A small T-SQL tokenizer for tests that check what the emitted statements
// mean rather than how they are spelt: string literals with '' (and an N
// prefix), delimited names with ]], comments, numbers, words and symbols.
namespace corvane::test {

struct SqlToken
{
    enum class Kind { Word, Variable, Name, String, Number, Comment, Symbol, Unterminated };
    Kind kind;
    QString text;  // as written
    QString value; // a name or string decoded ([a]]b] -> a]b, 'it''s' -> it's)
};

QList<SqlToken> TokenizeSql(const QString& sql);

} // namespace corvane::test
