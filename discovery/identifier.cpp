#include "discovery/identifier.h"

namespace corvane::discovery {

namespace {

enum class Class { Separator, Lower, Upper, Digit };

// The folded text of one character: lower-case ASCII letters and digits, or
// nothing for a separator.
Class fold(QChar c, char folded[3], int& length)
{
    length = 0;
    const char16_t u = c.unicode();
    if (u < 128) {
        if (u >= 'a' && u <= 'z') {
            folded[length++] = char(u);
            return Class::Lower;
        }
        if (u >= 'A' && u <= 'Z') {
            folded[length++] = char(u - 'A' + 'a');
            return Class::Upper;
        }
        if (u >= '0' && u <= '9') {
            folded[length++] = char(u);
            return Class::Digit;
        }
        return Class::Separator;
    }
    if (u == 0x00DF) { // ß
        folded[length++] = 's';
        folded[length++] = 's';
        return Class::Lower;
    }
    if (!c.isLetter())
        return Class::Separator;
    const QString base = c.decomposition();
    const QChar first = base.isEmpty() ? c : base.at(0);
    const char16_t b = first.toLower().unicode();
    if (b >= 'a' && b <= 'z')
        folded[length++] = char(b);
    else
        return Class::Separator; // a letter of another script: no word of ours
    return c.isUpper() ? Class::Upper : Class::Lower;
}

} // namespace

bool Words::startsWordAt(int offset) const
{
    for (int s : starts)
        if (s == offset)
            return true;
    return false;
}

bool Words::endsWordAt(int offset) const
{
    return offset == joined.size() || (offset > 0 && startsWordAt(offset));
}

Words SplitWords(const QString& identifier)
{
    Words words;
    Class previous = Class::Separator;
    bool inWord = false;
    const qsizetype n = identifier.size();
    for (qsizetype i = 0; i < n; ++i) {
        char folded[3];
        int length = 0;
        const Class cls = fold(identifier.at(i), folded, length);
        if (cls == Class::Separator || length == 0) {
            inWord = false;
            previous = Class::Separator;
            continue;
        }
        bool boundary = !inWord;
        if (inWord) {
            if (previous == Class::Lower && cls == Class::Upper)
                boundary = true;
            else if ((previous == Class::Digit) != (cls == Class::Digit))
                boundary = true;
            else if (previous == Class::Upper && cls == Class::Upper && i + 1 < n) {
                // "IPAddress": the capital before a lower-case run opens the next word.
                char next[3];
                int nextLength = 0;
                if (fold(identifier.at(i + 1), next, nextLength) == Class::Lower)
                    boundary = true;
            }
        }
        if (boundary)
            words.starts.append(int(words.joined.size()));
        words.joined.append(folded, length);
        inWord = true;
        previous = cls;
    }
    return words;
}

} // namespace corvane::discovery
