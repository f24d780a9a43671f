#include "script/sqlf.h"

#include "catalogue/workspace.h"
#include "project/textfile.h"
#include "script/scriptfile.h"
#include "ui/common/dialogs.h"

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
    panel->setMinimumSize(720, 530);

    m_memo = new QPlainTextEdit(panel);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setGeometry(40, 16, 665, 465);
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    m_generate = new QPushButton(QStringLiteral("Generate SQL"), panel);
    m_generate->setObjectName(QStringLiteral("BtGenSQL"));
    m_generate->setGeometry(464, 496, 121, 25);

    m_save = new QPushButton(QStringLiteral("Save SQL"), panel);
    m_save->setObjectName(QStringLiteral("BtSSQLSave"));
    m_save->setGeometry(600, 496, 105, 25);

    connect(m_generate, &QPushButton::clicked, this, &TSQLF::SQLGenerator);
    connect(m_save, &QPushButton::clicked, this, &TSQLF::BtSSQLSaveClick);
}

void TSQLF::SetSource(Workspace& workspace)
{
    m_workspace = &workspace;
}

void TSQLF::SQLGenerator()
{
    generate();
}

bool TSQLF::generate()
{
    m_memo->clear();
    if (!m_workspace)
        return true;
    script::ScriptText generation = script::BuildScriptText(
        m_workspace->catalogue(), {m_workspace->serverName(), m_workspace->databaseName(),
                                   m_workspace->seed(), QDate::currentDate()});
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
    const QString path = ui::saveTextFileName(this, QStringLiteral("Save your SQL file"));
    if (path.isEmpty())
        return;
    // The raw text, since the plain text turns no-break spaces (which word
    // lists may hold) into blanks.
    ui::succeeded(this,
                  WriteFileAtomically(path, script::ScriptFileBytes(m_memo->document()->toRawText())));
}

} // namespace corvane
