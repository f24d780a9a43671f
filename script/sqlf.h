#pragma once

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace corvane {

class Workspace;

// The "SQL" page: generates the script into a memo and saves it.
class TSQLF : public QWidget
{
    Q_OBJECT
public:
    explicit TSQLF(QWidget* parent = nullptr);

    // The catalogue, the seed and the database are read from `workspace` at
    // each generation.
    void SetSource(Workspace& workspace);
    void SQLGenerator();
    void BtSSQLSaveClick();

private:
    // False when the generation ended early (the message has been shown).
    bool generate();

    Workspace* m_workspace = nullptr;
    QPlainTextEdit* m_memo = nullptr;
    QPushButton* m_generate = nullptr;
    QPushButton* m_save = nullptr;
};

} // namespace corvane
