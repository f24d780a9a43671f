#include "ui/editor/keyfilter.h"

namespace corvane::editor {

namespace {

bool accepts(KeyFilter filter, QChar c)
{
    if (c >= u'0' && c <= u'9')
        return true;
    switch (filter) {
    case KeyFilter::Digits: return false;
    case KeyFilter::SignedDigits: return c == u'-';
    case KeyFilter::Decimal: return c == u'-' || c == u'.';
    }
    return false;
}

} // namespace

bool keyPasses(KeyFilter filter, const QString& text)
{
    for (const QChar c : text) {
        // Backspace, and the control characters that shortcuts such as
        // Ctrl+C and Ctrl+V type, are editing, not input.
        if (c.category() == QChar::Other_Control)
            continue;
        if (!accepts(filter, c))
            return false;
    }
    return true;
}

} // namespace corvane::editor
