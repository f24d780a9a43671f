#include "tests/support/tsqltokens.h"

namespace corvane::test {

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'@' || c == u'#' || c == u'$';
}

// From the opening character at `i` to its closing `close`, a doubled
// `close` standing for one. Returns the index after the closing character,
// or -1 when there is none.
qsizetype readQuoted(const QString& sql, qsizetype i, QChar close, QString& value)
{
    for (qsizetype j = i + 1; j < sql.size(); ++j) {
        if (sql.at(j) != close) {
            value += sql.at(j);
            continue;
        }
        if (j + 1 < sql.size() && sql.at(j + 1) == close) {
            value += close;
            ++j;
            continue;
        }
        return j + 1;
    }
    return -1;
}

} // namespace

QList<SqlToken> TokenizeSql(const QString& sql)
{
    using Kind = SqlToken::Kind;
    QList<SqlToken> tokens;
    qsizetype i = 0;
    const auto rest = [&](qsizetype from) {
        tokens.append({Kind::Unterminated, sql.mid(from), {}});
        i = sql.size();
    };
    while (i < sql.size()) {
        const QChar c = sql.at(i);
        const QChar next = i + 1 < sql.size() ? sql.at(i + 1) : QChar();
        if (c.isSpace()) {
            ++i;
        } else if (c == u'-' && next == u'-') {
            const qsizetype end = sql.indexOf(u'\n', i);
            const qsizetype stop = end < 0 ? sql.size() : end;
            tokens.append({Kind::Comment, sql.mid(i, stop - i), {}});
            i = stop;
        } else if (c == u'/' && next == u'*') {
            const qsizetype end = sql.indexOf(u"*/", i + 2);
            if (end < 0) {
                rest(i);
                continue;
            }
            tokens.append({Kind::Comment, sql.mid(i, end + 2 - i), {}});
            i = end + 2;
        } else if (c == u'\'' || ((c == u'N' || c == u'n') && next == u'\'')) {
            const qsizetype open = c == u'\'' ? i : i + 1;
            QString value;
            const qsizetype end = readQuoted(sql, open, u'\'', value);
            if (end < 0) {
                rest(i);
                continue;
            }
            tokens.append({Kind::String, sql.mid(i, end - i), value});
            i = end;
        } else if (c == u'[') {
            QString value;
            const qsizetype end = readQuoted(sql, i, u']', value);
            if (end < 0) {
                rest(i);
                continue;
            }
            tokens.append({Kind::Name, sql.mid(i, end - i), value});
            i = end;
        } else if (c.isDigit() || (c == u'.' && next.isDigit())) {
            qsizetype j = i;
            while (j < sql.size() && (sql.at(j).isDigit() || sql.at(j) == u'.'))
                ++j;
            tokens.append({Kind::Number, sql.mid(i, j - i), sql.mid(i, j - i)});
            i = j;
        } else if (isWordChar(c)) {
            qsizetype j = i;
            while (j < sql.size() && isWordChar(sql.at(j)))
                ++j;
            const QString word = sql.mid(i, j - i);
            tokens.append({c == u'@' ? Kind::Variable : Kind::Word, word, word});
            i = j;
        } else {
            tokens.append({Kind::Symbol, QString(c), QString(c)});
            ++i;
        }
    }
    return tokens;
}

} // namespace corvane::test
