#include "db/odbcdiag.h"

#include <QStringList>

#include <vector>

namespace corvane::db::odbc {

QString stripPrefixes(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == u'[') {
        const qsizetype close = text.indexOf(u']', i);
        if (close < 0)
            break;
        i = close + 1;
    }
    return text.mid(i).trimmed();
}

Error diagnostics(SQLSMALLINT handleType, SQLHANDLE handle, const QString& fallback)
{
    QStringList errors;
    QStringList warnings;
    int code = 0;
    bool timeout = false;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        std::vector<SQLWCHAR> text(1024);
        SQLRETURN rc = SQLGetDiagRecW(handleType, handle, record, state, &native, text.data(),
                                      SQLSMALLINT(text.size()), &length);
        if (rc == SQL_SUCCESS_WITH_INFO && length >= SQLSMALLINT(text.size())) {
            text.resize(size_t(length) + 1);
            rc = SQLGetDiagRecW(handleType, handle, record, state, &native, text.data(),
                                SQLSMALLINT(text.size()), &length);
        }
        if (!succeeded(rc))
            break;
        const QString sqlState = fromWide(state, 5);
        const QString message =
            stripPrefixes(fromWide(text.data(), qMin<qsizetype>(length, qsizetype(text.size()) - 1)));
        if (sqlState == u"HYT00" || sqlState == u"HYT01")
            timeout = true;
        // Class 01 is a warning or a server's informational message ("Changed
        // database context to ..."), not the reason for a failure.
        QStringList& list = sqlState.startsWith(u"01") ? warnings : errors;
        if (!message.isEmpty() && !list.contains(message))
            list << message;
        if (code == 0 && native != 0 && !sqlState.startsWith(u"01"))
            code = int(native);
    }
    if (errors.isEmpty())
        errors = warnings;
    Error error = Error::failure(errors.isEmpty() ? fallback : errors.join(u'\n'), code);
    if (timeout)
        error.kind = Error::Kind::Timeout;
    return error;
}

} // namespace corvane::db::odbc
