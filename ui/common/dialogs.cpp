#include "ui/common/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

namespace corvane::ui {

namespace {

// "Text file | *.txt" is the notation of the program's filters; Qt wants
// "Text file (*.txt)". Entries are separated by ";;", as in Qt.
QString qtFilter(const QString& filter)
{
    QStringList entries;
    for (const QString& entry : filter.split(QStringLiteral(";;"))) {
        const qsizetype bar = entry.indexOf(u'|');
        if (bar < 0)
            entries << entry;
        else
            entries << entry.left(bar).trimmed() + QStringLiteral(" (") +
                           entry.mid(bar + 1).trimmed() + u')';
    }
    return entries.join(QStringLiteral(";;"));
}

// The extension of a Qt filter entry's first pattern: "txt" for "Text file (*.txt)".
QString suffixOf(const QString& qtEntry)
{
    const qsizetype dot = qtEntry.indexOf(QStringLiteral("*."));
    if (dot < 0)
        return {};
    QString suffix = qtEntry.mid(dot + 2);
    const qsizetype end = suffix.indexOf(QRegularExpression(QStringLiteral("[ );]")));
    return end < 0 ? suffix : suffix.left(end);
}

class RealDialogs final : public Dialogs
{
public:
    void message(QWidget* parent, const QString& text) override
    {
        QMessageBox::information(parent, QApplication::applicationName(), text);
    }
    void warning(QWidget* parent, const QString& text) override
    {
        QMessageBox::warning(parent, QApplication::applicationName(), text);
    }
    bool confirm(QWidget* parent, const QString& text, const QString& acceptCaption) override
    {
        QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), text,
                        QMessageBox::NoButton, parent);
        QPushButton* accept = box.addButton(acceptCaption, QMessageBox::AcceptRole);
        QPushButton* cancel = box.addButton(QMessageBox::Cancel);
        // A stray Enter must not change a database.
        box.setDefaultButton(cancel);
        box.setEscapeButton(cancel);
        box.exec();
        return box.clickedButton() == accept;
    }
    void information(QWidget* parent, const QString& text) override
    {
        QMessageBox::information(parent, QApplication::applicationName(), text);
    }
    void error(QWidget* parent, const QString& text) override
    {
        QMessageBox::critical(parent, QApplication::applicationName(), text);
    }
    QString saveFileName(QWidget* parent, const FileDialogOptions& o) override
    {
        QFileDialog dialog(parent, o.title, o.directory, qtFilter(o.filter));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setDefaultSuffix(o.defaultSuffix);
        // A name typed without an extension gets the one of the chosen kind.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, &o](const QString& entry) {
                             const QString suffix = suffixOf(entry);
                             dialog.setDefaultSuffix(suffix.isEmpty() ? o.defaultSuffix : suffix);
                         });
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }
    QString openFileName(QWidget* parent, const FileDialogOptions& o) override
    {
        QFileDialog dialog(parent, o.title, o.directory, qtFilter(o.filter));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDefaultSuffix(o.defaultSuffix);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }
};

RealDialogs g_real;
Dialogs* g_current = nullptr;

} // namespace

Dialogs& dialogs()
{
    return g_current ? *g_current : g_real;
}

void setDialogs(Dialogs* replacement)
{
    g_current = replacement;
}

void showError(QWidget* parent, const Error& error)
{
    if (error.isNotice())
        dialogs().information(parent, error.message);
    else
        dialogs().error(parent, error.message);
}

QString saveTextFileName(QWidget* parent, const QString& title)
{
    FileDialogOptions options;
    options.title = title;
    options.directory = QDir::currentPath();
    options.filter = QStringLiteral("Text file | *.txt");
    options.defaultSuffix = QStringLiteral("txt");
    return dialogs().saveFileName(parent, options);
}

} // namespace corvane::ui
