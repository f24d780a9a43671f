#pragma once

#include "db/connection.h"

#include <QDialog>

namespace corvane {

// The connection dialog: only a connection that has just passed "Test
// connection" can be confirmed.
class TLoginF : public QDialog
{
    Q_OBJECT
public:
    explicit TLoginF(db::ConnectionFactory connect, QWidget* parent = nullptr);

    // The variable that "OK" writes the connection string into.
    void SetResultTarget(QString* target);

    void testConnection();
    void Button1Click();
    void Button2Click();

private:
    db::ConnectionFactory m_connect;
    QString* m_target = nullptr;
};

} // namespace corvane
