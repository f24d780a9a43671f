#pragma once

#include "base/result.h"
#include "db/connection.h"
#include "db/worker.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace corvane {

// The connection dialog: only a connection that has just passed "Test
// connection" can be confirmed. The test runs off the window's thread: the
// dialog stays responsive meanwhile and refuses a second test.
class TLoginF : public QDialog
{
    Q_OBJECT
public:
    explicit TLoginF(db::ConnectionFactory connect, QWidget* parent = nullptr);

    // The variable that "OK" writes the connection string into.
    void SetResultTarget(QString* target);

    // Fills server, database and login (never the password), as remembered
    // from an earlier run; the focus goes to the first field still empty.
    void setFields(const QString& server, const QString& database, const QString& login);

    // "Connection failed." and, on the next line, the reason of `error`, with
    // `password` masked should a driver repeat it.
    static QString failureText(const Error& error, const QString& password);

    // Starts a test of the values shown; the answer comes later, in a message
    // box. Refused while a test runs.
    void testConnection();
    bool isTesting() const { return m_tester->isRunning(); }
    void Button1Click();
    void Button2Click();

    QLineEdit* EdServerName = nullptr;
    QLineEdit* EdDatabaseName = nullptr;
    QLineEdit* EdLogin = nullptr;
    QLineEdit* EdPassword = nullptr;
    QPushButton* Button1 = nullptr; // OK
    QPushButton* Button2 = nullptr; // Cancel
    QPushButton* Button3 = nullptr; // Test connection

    // Closing drops a running test: its answer is for nobody.
    void done(int result) override;

private:
    struct Fields
    {
        QString server, database, login, password;
        bool operator==(const Fields&) const = default;
    };
    Fields shownFields() const;
    void setConfirmable(bool confirmable);
    void setTesting(bool testing);
    void testFinished(const Fields& tested, const Status& status);

    // A password this short would mask ordinary letters of the reason.
    static constexpr int MinimumMaskedPassword = 4;

    // What the last test read and built; shared by every dialog of the run, like
    // the fields of a login screen that remembers its last attempt.
    static QString s_serverName;
    static QString s_databaseName;
    static QString s_login;
    static QString s_password;
    static QString s_connectionString;

    db::ConnectionFactory m_connect;
    QString* m_target = nullptr;
    db::Worker* m_tester;
};

} // namespace corvane
