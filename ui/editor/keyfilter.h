#pragma once

#include <QString>

namespace corvane::editor {

// What the parameter edits accept from the keyboard. Only typed characters
// are filtered: pasted text and editing keys pass.
enum class KeyFilter {
    Digits,        // '0'..'9'
    SignedDigits,  // '0'..'9' and '-'
    Decimal,       // '0'..'9', '-' and '.' (the decimal separator is always '.')
};

// Whether a key press that types `text` reaches the edit. Keys that type
// nothing, or only control characters (backspace among them), always pass.
bool keyPasses(KeyFilter filter, const QString& text);

} // namespace corvane::editor
