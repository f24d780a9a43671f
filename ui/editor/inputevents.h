#pragma once

#include "ui/editor/keyfilter.h"

#include <functional>
#include <optional>

class QDateEdit;
class QWidget;

namespace corvane::editor {

// Drops the typed characters that `keys` does not accept (none when unset) and
// runs `click` (when set) after a mouse click into `widget`.
void watchInput(QWidget* widget, std::optional<KeyFilter> keys, std::function<void()> click);

// Runs `click` after a mouse click on the picker: its text or its drop-down button.
void watchPicker(QDateEdit* picker, std::function<void()> click);

} // namespace corvane::editor
