#pragma once

#include <QDialog>

namespace corvane {

// The word-list editor.
class TVirtualDataF : public QDialog
{
    Q_OBJECT
public:
    explicit TVirtualDataF(QWidget* parent = nullptr);

    // The file to edit; empty for a new file.
    void SetFileName(const QString& name);

private:
    QString m_fileName;
};

} // namespace corvane
