#include "project/loadsave.h"

#include "catalogue/choices.h"
#include "catalogue/methods.h"
#include "project/textfile.h"

#include "catalogue/textconv.h"

#include <QFile>
#include <QStringView>

namespace corvane {

namespace {

const QString Incompatible = QStringLiteral("Incompatible file for this database !.");

// Builds of the program before names were kept whole stored at most this many
// characters of a table or column name.
constexpr qsizetype LegacyNameLength = 20;

// The name a file's field stands for: the slot's own name when the field is
// that name cut as earlier builds cut it.
const QString& wholeName(const QString& field, const QString& name)
{
    const bool cut = field.size() == LegacyNameLength && name.size() > LegacyNameLength &&
                     name.startsWith(field);
    return cut ? name : field;
}

// Walks the lines of a text held in memory; CR LF, LF and a lone CR all end a
// line. Past the last line it keeps handing out empty lines.
class LineReader
{
public:
    explicit LineReader(QStringView text) : m_text(text) {}

    QStringView next()
    {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos];
            if (c == u'\r' || c == u'\n') {
                const QStringView line = m_text.sliced(start, m_pos - start);
                ++m_pos;
                if (c == u'\r' && m_pos < m_text.size() && m_text[m_pos] == u'\n')
                    ++m_pos;
                return line;
            }
            ++m_pos;
        }
        return m_text.sliced(start, m_pos - start);
    }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

bool isDate(const MethodInfo* method, ParamKind MethodInfo::*param)
{
    return method && method->*param == ParamKind::Date;
}

// A date parameter goes into the file as yyyy-MM-dd, so that the file reads the
// same under every locale; a text that is no date is kept as the operator left it.
QString paramToFile(const QString& param, bool isDate)
{
    if (!isDate)
        return param;
    const Result<QDate> date = TextToDate(param);
    return date ? DateToFileText(*date) : param;
}

QString paramFromFile(const QString& field, bool isDate)
{
    return isDate ? FileTextToParam(field) : field;
}

} // namespace

bool SplitFields(const QString& line, TFields& fields, QChar separator)
{
    std::size_t current = 0;
    fields[0].clear();
    qsizetype start = 0;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        if (i < line.size() && line.at(i) != separator)
            continue;
        fields[current] = line.sliced(start, i - start);
        if (i == line.size())
            break;
        if (++current == fields.size())
            return false;
        start = i + 1;
    }
    return true;
}

Status TLoadSave::SaveProject(const QString& fileName, const TData& catalogue)
{
    QString text;
    text.reserve(catalogue.size() * 48 + 16);
    const QString separator = QStringLiteral(";");
    const QString lineEnd = QStringLiteral("\r\n");
    text += QString::number(catalogue.size()) + lineEnd;
    for (qsizetype i = 1; i < catalogue.size(); ++i) {
        const TColumnRec& slot = catalogue.at(i);
        const MethodInfo* method = methodInfo(slot.method);
        text += QString::number(i) + separator + slot.col + separator + slot.stab + separator +
                QString::number(slot.method) + separator +
                paramToFile(slot.param1, isDate(method, &MethodInfo::param1)) + separator +
                paramToFile(slot.param2, isDate(method, &MethodInfo::param2)) + separator +
                lineEnd;
    }

    return WriteTextFile(fileName, text);
}

Status TLoadSave::LoadProject(const QString& fileName, TData& catalogue)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return Error::failure(file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Error::failure(file.errorString());
    file.close();

    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    LineReader lines(text);

    const Result<std::int32_t> count = StrToInt(lines.next().toString());
    if (!count)
        return count.error();
    if (*count != catalogue.size())
        return Error::notice(Incompatible);

    TFields fields;
    for (qsizetype i = 1; i < catalogue.size(); ++i) {
        if (!SplitFields(lines.next().toString(), fields, u';'))
            return Error::notice(Incompatible);
        TColumnRec& slot = catalogue[i];
        if (!IsColumn(slot, wholeName(fields[2], slot.stab), wholeName(fields[1], slot.col)))
            return Error::notice(Incompatible);
        const Result<std::int32_t> method = StrToInt(fields[3]);
        if (!method)
            return method.error();
        slot.method = *method;
        const MethodInfo* info = methodInfo(slot.method);
        slot.setParam1(paramFromFile(fields[4], isDate(info, &MethodInfo::param1)));
        slot.setParam2(paramFromFile(fields[5], isDate(info, &MethodInfo::param2)));
    }
    return {};
}

} // namespace corvane
