#include "project/virtualdataf.h"

#include "project/textfile.h"
#include "project/wordlist.h"
#include "ui/common/dialogs.h"

#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTextDocument>
#include <QVBoxLayout>

namespace corvane {

TVirtualDataF::TVirtualDataF(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("VirtualDataF"));
    setWindowTitle(QStringLiteral("VirtualDataF"));
    resize(726, 473);

    auto* group = new QGroupBox(QStringLiteral("Virtual data"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(group);

    auto* label = new QLabel(
        QStringLiteral("Insert your virtual data here ( for example one column from excel ) :"), group);
    label->setObjectName(QStringLiteral("Label1"));
    m_data = new QPlainTextEdit(group);
    m_data->setObjectName(QStringLiteral("MeData"));
    m_data->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_data->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_data->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_save = new QPushButton(QStringLiteral("Save"), group);
    m_save->setObjectName(QStringLiteral("BtSave"));
    m_cancel = new QPushButton(QStringLiteral("Cancel"), group);
    m_cancel->setObjectName(QStringLiteral("BtCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(m_cancel);
    auto* inner = new QVBoxLayout(group);
    inner->addWidget(label);
    inner->addWidget(m_data);
    inner->addLayout(buttons);

    connect(m_save, &QPushButton::clicked, this, &TVirtualDataF::BtSaveClick);
    connect(m_cancel, &QPushButton::clicked, this, &TVirtualDataF::BtCancelClick);
}

void TVirtualDataF::SetFileName(const QString& name)
{
    m_fileName = name;
}

void TVirtualDataF::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TVirtualDataF::FormShow()
{
    m_data->clear();
    if (m_fileName.isEmpty())
        return;
    auto lines = ReadLines(m_fileName);
    if (!lines) {
        ui::showError(this, lines.error());
        return;
    }
    m_data->setPlainText(EditorTextFromWordList(*lines));
}

void TVirtualDataF::BtSaveClick()
{
    // The raw text keeps no-break spaces, which the plain text turns into blanks.
    QString text = m_data->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    if (text.isEmpty()) {
        ui::dialogs().message(this, QStringLiteral("Empty input!"));
        return;
    }
    QString target = m_fileName;
    if (target.isEmpty()) {
        ui::FileDialogOptions options;
        options.title = QStringLiteral("Save your virtual data file");
        // A word list is offered to the columns only from this folder; made
        // here when missing, so that the dialog opens in it.
        options.directory = VirtualDataFolder();
        const bool made = options.directory.isEmpty();
        if (made) {
            options.directory = QDir::currentPath() + QStringLiteral("/virtual_data");
            QDir().mkpath(options.directory);
        }
        options.filter = QStringLiteral("Text file | *.txt");
        options.defaultSuffix = QStringLiteral("txt");
        target = ui::dialogs().saveFileName(this, options);
        if (target.isEmpty()) {
            if (made)
                QDir().rmdir(options.directory); // only while still empty
            reject();
            return;
        }
    }
    // On a failure the editor stays open with the operator's text.
    if (ui::succeeded(this, WriteTextFile(target, WordListFromEditorText(text) + QStringLiteral("\r\n"))))
        accept();
}

void TVirtualDataF::BtCancelClick()
{
    reject();
}

} // namespace corvane
