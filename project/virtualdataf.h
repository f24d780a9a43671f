#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace corvane {

// The word-list editor: one value per line on screen, one line of values
// separated by ';' in the file.
class TVirtualDataF : public QDialog
{
    Q_OBJECT
public:
    explicit TVirtualDataF(QWidget* parent = nullptr);

    // The file to edit; empty for a new file.
    void SetFileName(const QString& name);

    void FormShow();
    void BtSaveClick();
    void BtCancelClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString m_fileName;
    QPlainTextEdit* m_data = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace corvane
