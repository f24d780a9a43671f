#pragma once

#include "base/result.h"

#include <QString>

class QWidget;

namespace corvane::ui {

struct FileDialogOptions
{
    QString title;
    QString directory;
    QString filter;        // e.g. "Text file | *.txt"
    QString defaultSuffix; // without the dot; empty for none
};

// Every message box and file dialog of the program goes through this, so that
// tests can answer them and read their texts.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // A plain message box with the text alone and an OK button.
    virtual void message(QWidget* parent, const QString& text) = 0;
    // An information message box with an OK button.
    virtual void information(QWidget* parent, const QString& text) = 0;
    // A message with the warning icon: a command ended, but not as asked.
    virtual void warning(QWidget* parent, const QString& text) = 0;
    // Asks before an irreversible step: true only when the operator presses
    // the button captioned `acceptCaption`; Cancel is the default.
    virtual bool confirm(QWidget* parent, const QString& text, const QString& acceptCaption) = 0;
    // The application's error box: the error's own text.
    virtual void error(QWidget* parent, const QString& text) = 0;
    // Empty when the operator cancels.
    virtual QString saveFileName(QWidget* parent, const FileDialogOptions& options) = 0;
    // Only an existing file can be chosen; empty when the operator cancels.
    virtual QString openFileName(QWidget* parent, const FileDialogOptions& options) = 0;
};

// Asks where to save a text file ("Text file | *.txt"), starting in the
// current folder; empty when the operator cancels.
QString saveTextFileName(QWidget* parent, const QString& title);

// The dialogs in use; the real ones unless a test installed others.
Dialogs& dialogs();
// Installs `replacement` (nullptr restores the real dialogs). Not owned.
void setDialogs(Dialogs* replacement);

// Shows a failure that ended a command: a notice as an information message,
// anything else in the error box.
void showError(QWidget* parent, const Error& error);

// Runs `status`'s check in one line: shows the error and returns false on failure.
inline bool succeeded(QWidget* parent, const Status& status)
{
    if (!status)
        showError(parent, status.error());
    return status.ok();
}

} // namespace corvane::ui
