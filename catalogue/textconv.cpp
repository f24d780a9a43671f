#include "catalogue/textconv.h"

#include <QLocale>

namespace corvane {

Result<std::int32_t> StrToInt(const QString& text)
{
    const auto invalid = [&] {
        return Error::failure(QStringLiteral("'%1' is not a valid integer value").arg(text));
    };
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    if (i == text.size())
        return invalid();
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c < u'0' || c > u'9')
            return invalid();
        value = value * 10 + (c.unicode() - u'0');
        if (value > std::int64_t(INT32_MAX) + 1)
            return invalid();
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        return invalid();
    return static_cast<std::int32_t>(value);
}

QString ShortDateFormat()
{
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    QString result;
    for (qsizetype i = 0; i < format.size();) {
        if (format.at(i) == u'\'') { // quoted literal: copy through the closing quote
            const qsizetype end = format.indexOf(u'\'', i + 1);
            const qsizetype stop = end < 0 ? format.size() : end + 1;
            result += format.mid(i, stop - i);
            i = stop;
        } else if (format.at(i) == u'y') {
            while (i < format.size() && format.at(i) == u'y')
                ++i;
            result += QStringLiteral("yyyy");
        } else {
            result += format.at(i++);
        }
    }
    return result;
}

QString DateToText(const QDate& date)
{
    return QLocale().toString(date, ShortDateFormat());
}

namespace {

const QString FileDateFormat = QStringLiteral("yyyy-MM-dd");

QDate fileDate(const QString& text)
{
    // Exactly ten characters: "2024-1-5" or a time part is not a file date.
    return text.size() == FileDateFormat.size() ? QDate::fromString(text, FileDateFormat) : QDate();
}

} // namespace

Result<QDate> TextToDate(const QString& text)
{
    const QString trimmed = text.trimmed();
    QDate date = QLocale().toDate(trimmed, ShortDateFormat());
    if (!date.isValid())
        date = fileDate(trimmed);
    if (!date.isValid())
        return Error::failure(QStringLiteral("'%1' is not a valid date").arg(text));
    return date;
}

QString ColumnPlace(const TColumnRec& slot)
{
    return QStringLiteral("table ") + slot.stab + QStringLiteral(", column ") + slot.col;
}

Error AtColumn(const TColumnRec& slot, Error error)
{
    error.message += QStringLiteral(" (") + ColumnPlace(slot) + u')';
    return error;
}

Result<QDate> ParamToDate(const TColumnRec& slot, const QString& text)
{
    Result<QDate> date = TextToDate(text);
    if (!date)
        return AtColumn(slot, date.error());
    return date;
}

QString DateToFileText(const QDate& date)
{
    return date.toString(FileDateFormat);
}

QString FileTextToParam(const QString& text)
{
    const QDate date = fileDate(text);
    return date.isValid() ? DateToText(date) : text;
}

} // namespace corvane
