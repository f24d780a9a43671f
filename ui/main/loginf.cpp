#include "ui/main/loginf.h"

#include "db/connectionstring.h"
#include "ui/common/dialogs.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvane {

QString TLoginF::s_serverName;
QString TLoginF::s_databaseName;
QString TLoginF::s_login;
QString TLoginF::s_password;
QString TLoginF::s_connectionString;

namespace {

QLineEdit* makeEdit(const QString& name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

QPushButton* makeButton(const QString& caption, const QString& name, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TLoginF::TLoginF(db::ConnectionFactory factory, QWidget* parent)
    : QDialog(parent), m_connect(std::move(factory)), m_tester(new db::Worker(this))
{
    setObjectName(QStringLiteral("LoginF"));
    setWindowTitle(QStringLiteral("Corvane"));
    setModal(true);

    auto* connectionBox = new QGroupBox(QStringLiteral("Connection "), this);
    auto* connectionLayout = new QVBoxLayout(connectionBox);
    connectionLayout->addWidget(new QLabel(
        QStringLiteral("Specify the following to connect to SQL Server"), connectionBox));

    auto* serverBox = new QGroupBox(QStringLiteral("SQL Server"), this);
    auto* serverLayout = new QFormLayout(serverBox);
    EdServerName = makeEdit(QStringLiteral("EdServerName"), serverBox);
    EdDatabaseName = makeEdit(QStringLiteral("EdDatabaseName"), serverBox);
    serverLayout->addRow(QStringLiteral("Server name"), EdServerName);
    serverLayout->addRow(QStringLiteral("Database"), EdDatabaseName);

    auto* userBox = new QGroupBox(QStringLiteral("User settings"), this);
    auto* userLayout = new QFormLayout(userBox);
    EdLogin = makeEdit(QStringLiteral("EdLogin"), userBox);
    EdPassword = makeEdit(QStringLiteral("EdPassword"), userBox);
    EdPassword->setEchoMode(QLineEdit::Password);
    // An asterisk per character, whatever the style's own mask character is.
    EdPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    userLayout->addRow(QStringLiteral("Login"), EdLogin);
    userLayout->addRow(QStringLiteral("Password"), EdPassword);

    Button3 = makeButton(QStringLiteral("Test connection"), QStringLiteral("Button3"), this);
    Button1 = makeButton(QStringLiteral("OK"), QStringLiteral("Button1"), this);
    Button2 = makeButton(QStringLiteral("Cancel"), QStringLiteral("Button2"), this);
    Button1->setEnabled(false);
    // The caption changes while a test runs; the row of buttons does not move.
    Button3->setMinimumWidth(Button3->sizeHint().width());

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button3);
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(connectionBox);
    layout->addWidget(serverBox);
    layout->addWidget(userBox);
    layout->addLayout(buttons);

    connect(Button3, &QPushButton::clicked, this, &TLoginF::testConnection);
    connect(Button1, &QPushButton::clicked, this, &TLoginF::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TLoginF::Button2Click);
    // A tested connection stands for the values it was tested with: any edit
    // asks for a new test before "OK" can hand anything over.
    for (QLineEdit* edit : {EdServerName, EdDatabaseName, EdLogin, EdPassword})
        connect(edit, &QLineEdit::textChanged, this, [this] { setConfirmable(false); });
    setConfirmable(false);
}

void TLoginF::setConfirmable(bool confirmable)
{
    Button1->setEnabled(confirmable);
    // Enter presses what there is to do next: test, or confirm what was tested.
    Button1->setDefault(confirmable);
    Button3->setDefault(!confirmable);
}

void TLoginF::setFields(const QString& server, const QString& database, const QString& login)
{
    EdServerName->setText(server);
    EdDatabaseName->setText(database);
    EdLogin->setText(login);
    // The first empty field is where the operator goes on typing.
    for (QLineEdit* edit : {EdServerName, EdDatabaseName, EdLogin, EdPassword}) {
        if (edit->text().isEmpty()) {
            edit->setFocus();
            break;
        }
    }
}

QString TLoginF::failureText(const Error& error, const QString& password)
{
    QString reason = error.message.trimmed();
    if (password.size() >= MinimumMaskedPassword)
        reason.replace(password, QStringLiteral("***"));
    if (reason.isEmpty())
        return QStringLiteral("Connection failed.");
    return QStringLiteral("Connection failed.\n") + reason;
}

void TLoginF::SetResultTarget(QString* target)
{
    m_target = target;
}

TLoginF::Fields TLoginF::shownFields() const
{
    return {EdServerName->text(), EdDatabaseName->text(), EdLogin->text(), EdPassword->text()};
}

void TLoginF::testConnection()
{
    // One test at a time: a click while one runs is refused, not queued.
    if (isTesting())
        return;
    const Fields tested = shownFields();
    s_serverName = tested.server;
    s_databaseName = tested.database;
    s_login = tested.login;
    s_password = tested.password;
    if (s_serverName.isEmpty() || s_databaseName.isEmpty() || s_login.isEmpty()) {
        ui::dialogs().message(this, QStringLiteral("All fields are required !"));
        return;
    }

    setConfirmable(false);
    s_connectionString = db::BuildConnectionString(
        {s_serverName, s_databaseName, s_login, s_password}, db::ComputerName());
    setTesting(true);
    m_tester->start(
        [connect = m_connect, connectionString = s_connectionString, login = tested.login,
         password = tested.password](db::CallControl&) -> Status {
            // A login cannot be cancelled: one whose answer nobody waits for
            // any more ends by itself, at the latest at the login time-out.
            std::unique_ptr<db::Connection> connection = connect ? connect() : nullptr;
            if (!connection)
                return Error::failure(QString());
            if (const Status opened = connection->open(connectionString, login, password); !opened)
                return opened;
            connection->close();
            return {};
        },
        [this, tested](const Status& status) { testFinished(tested, status); });
}

void TLoginF::testFinished(const Fields& tested, const Status& status)
{
    setTesting(false);
    // Under the fixed first line, the server's or the driver's reason: a refused
    // login, an unknown database and an unreachable server need different fixes.
    if (!status) {
        ui::dialogs().error(this, failureText(status.error(), tested.password));
        return;
    }
    ui::dialogs().message(this, QStringLiteral("Test connection succeeded."));
    // Values edited while the test ran have not been tested.
    setConfirmable(shownFields() == tested);
}

void TLoginF::setTesting(bool testing)
{
    Button3->setEnabled(!testing);
    Button3->setText(testing ? QStringLiteral("Testing…") : QStringLiteral("Test connection"));
    if (testing)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void TLoginF::done(int result)
{
    m_tester->cancel();
    setTesting(false);
    QDialog::done(result);
}

void TLoginF::Button1Click()
{
    // Only the string of a test that has just succeeded may be handed over.
    if (!Button1->isEnabled())
        return;
    if (m_target)
        *m_target = s_connectionString;
    accept();
}

void TLoginF::Button2Click()
{
    reject();
}

} // namespace corvane
