#pragma once

#include "ui/common/dialogs.h"

#include <QQueue>
#include <QStringList>

namespace corvane::test {

// Records every message and answers file dialogs from a queue (an empty
// answer, or an empty queue, is a cancel). Installs itself while it lives.
class FakeDialogs final : public ui::Dialogs
{
public:
    FakeDialogs() { ui::setDialogs(this); }
    ~FakeDialogs() override { ui::setDialogs(nullptr); }

    struct Shown
    {
        QString kind; // "message", "information", "warning", "confirm <button>", "error", "save", "open"
        QString text; // the message, or the dialog's title
        ui::FileDialogOptions options;
    };

    QList<Shown> shown;
    QQueue<QString> fileAnswers;
    // Answers to confirmations; an empty queue confirms.
    QQueue<bool> confirmAnswers;

    void message(QWidget*, const QString& text) override { shown.append({QStringLiteral("message"), text, {}}); }
    void information(QWidget*, const QString& text) override
    {
        shown.append({QStringLiteral("information"), text, {}});
    }
    void warning(QWidget*, const QString& text) override
    {
        shown.append({QStringLiteral("warning"), text, {}});
    }
    bool confirm(QWidget*, const QString& text, const QString& acceptCaption) override
    {
        shown.append({QStringLiteral("confirm ") + acceptCaption, text, {}});
        return confirmAnswers.isEmpty() || confirmAnswers.dequeue();
    }
    void error(QWidget*, const QString& text) override { shown.append({QStringLiteral("error"), text, {}}); }
    QString saveFileName(QWidget*, const ui::FileDialogOptions& o) override
    {
        shown.append({QStringLiteral("save"), o.title, o});
        return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
    }
    QString openFileName(QWidget*, const ui::FileDialogOptions& o) override
    {
        shown.append({QStringLiteral("open"), o.title, o});
        return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
    }

    // "kind: text" of every message shown, in order.
    QStringList texts() const
    {
        QStringList out;
        for (const Shown& s : shown)
            out << s.kind + QStringLiteral(": ") + s.text;
        return out;
    }
};

} // namespace corvane::test
