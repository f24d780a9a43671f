#include "script/sqlf.h"

#include "catalogue/workspace.h"
#include "check/checkstate.h"
#include "project/textfile.h"
#include "script/scriptfile.h"
#include "ui/check/findingspanel.h"
#include "ui/common/dialogs.h"

#include <QDir>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

namespace corvane {

TSQLF::TSQLF(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("SQLF"));
    setWindowTitle(QStringLiteral("SQLF"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* panel = new QWidget(this);
    layout->addWidget(panel);
    panel->setObjectName(QStringLiteral("Panel2"));

    m_memo = new QPlainTextEdit(panel);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Scripts line up in columns, and l, 1 and I must not be mistaken.
    m_memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    m_generate = new QPushButton(QStringLiteral("Generate SQL"), panel);
    m_generate->setObjectName(QStringLiteral("BtGenSQL"));

    m_save = new QPushButton(QStringLiteral("Save SQL"), panel);
    m_save->setObjectName(QStringLiteral("BtSSQLSave"));

    // The memo takes whatever room the page has; the buttons stay below it.
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->addWidget(m_memo, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_generate);
    buttons->addWidget(m_save);
    panelLayout->addLayout(buttons);

    connect(m_generate, &QPushButton::clicked, this, &TSQLF::SQLGenerator);
    connect(m_save, &QPushButton::clicked, this, &TSQLF::BtSSQLSaveClick);
}

void TSQLF::SetSource(Workspace& workspace)
{
    m_workspace = &workspace;
}

void TSQLF::SetSaveFolder(std::function<QString()> folder,
                          std::function<void(const QString&)> saved)
{
    m_saveFolder = std::move(folder);
    m_saved = std::move(saved);
}

void TSQLF::SQLGenerator()
{
    generate();
}

bool TSQLF::generate()
{
    if (!m_workspace) {
        m_memo->clear();
        return true;
    }
    QStringList notes;
    if (m_check) {
        // Word lists may have changed on disk since the last edit: the header
        // says what the check finds now, as the command line's does.
        m_check->recheck();
        const QString question = ui::ProceedQuestion(m_check->findings(), m_generate->text());
        if (!question.isEmpty() && !ui::dialogs().confirm(this, question, m_generate->text()))
            return false;
        notes = check::ScriptComments(m_check->findings());
    }
    m_memo->clear();
    script::ScriptText generation = script::BuildScriptText(
        m_workspace->catalogue(), {m_workspace->serverName(), m_workspace->databaseName(),
                                   m_workspace->seed(), QDate::currentDate(), notes});
    // The memo keeps its breaks as '\n'; saving turns them back into CR LF.
    generation.text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_memo->setPlainText(generation.text);
    if (!generation.error)
        return true;
    ui::showError(this, *generation.error);
    return false;
}

void TSQLF::BtSSQLSaveClick()
{
    // A generation that ended early is not saved as if it were the script.
    if (m_memo->document()->isEmpty() && !generate())
        return;
    ui::FileDialogOptions options;
    options.title = QStringLiteral("Save your SQL file");
    options.directory = m_saveFolder ? m_saveFolder() : QDir::currentPath();
    options.filter = QStringLiteral("Text file | *.txt;;SQL script | *.sql");
    options.defaultSuffix = QStringLiteral("txt");
    const QString path = ui::dialogs().saveFileName(this, options);
    if (path.isEmpty())
        return;
    // The raw text, since the plain text turns no-break spaces (which word
    // lists may hold) into blanks.
    if (ui::succeeded(this, WriteFileAtomically(
                                path, script::ScriptFileBytes(m_memo->document()->toRawText()))) &&
        m_saved)
        m_saved(path);
}

} // namespace corvane
