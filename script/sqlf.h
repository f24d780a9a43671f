#pragma once

#include <QWidget>

#include <functional>

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
    // Where "Save SQL" proposes to save, and whom it tells the file it saved;
    // by default the current directory, and nobody.
    void SetSaveFolder(std::function<QString()> folder,
                       std::function<void(const QString&)> saved);
    void SQLGenerator();
    void BtSSQLSaveClick();

private:
    // False when the generation ended early (the message has been shown).
    bool generate();

    Workspace* m_workspace = nullptr;
    std::function<QString()> m_saveFolder;
    std::function<void(const QString&)> m_saved;
    QPlainTextEdit* m_memo = nullptr;
    QPushButton* m_generate = nullptr;
    QPushButton* m_save = nullptr;
};

} // namespace corvane
