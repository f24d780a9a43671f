#pragma once

#include <QWidget>

#include <functional>

class QPlainTextEdit;
class QPushButton;

namespace corvane {

class Workspace;

namespace check {
class CheckState;
}

// The "SQL" page: generates the script into a memo and saves it.
class TSQLF : public QWidget
{
    Q_OBJECT
public:
    explicit TSQLF(QWidget* parent = nullptr);

    // The catalogue, the seed and the database are read from `workspace` at
    // each generation.
    void SetSource(Workspace& workspace);
    // The check of the workspace: a generation asks before it goes on with
    // errors found, and the header lists the findings.
    void SetCheck(check::CheckState& check) { m_check = &check; }
    // Where "Save SQL" proposes to save, and whom it tells the file it saved;
    // by default the current directory, and nobody.
    void SetSaveFolder(std::function<QString()> folder,
                       std::function<void(const QString&)> saved);
    void SQLGenerator();
    void BtSSQLSaveClick();

private:
    // False when the generation ended early (the message has been shown) or
    // the operator chose not to generate past the check's errors.
    bool generate();

    Workspace* m_workspace = nullptr;
    check::CheckState* m_check = nullptr;
    std::function<QString()> m_saveFolder;
    std::function<void(const QString&)> m_saved;
    QPlainTextEdit* m_memo = nullptr;
    QPushButton* m_generate = nullptr;
    QPushButton* m_save = nullptr;
};

} // namespace corvane
