#pragma once

#include "ui/main/loginf.h"

#include <QTest>

namespace corvane::test {

// Waits for the answer of the test that runs in `dialog`, if any, as an
// operator would before pressing OK. False when none came in time.
inline bool waitForTest(TLoginF& dialog, int timeoutMs = 30000)
{
    return QTest::qWaitFor([&] { return !dialog.isTesting(); }, timeoutMs);
}

// Tests the values shown and waits for the answer.
inline bool testAndWait(TLoginF& dialog)
{
    dialog.testConnection();
    return waitForTest(dialog);
}

// Logs in to the TDS test server's "fixture" database on `port` as the
// operator would: fills the fields, tests them, waits, confirms.
inline void logInToFixture(TLoginF& dialog, quint16 port)
{
    dialog.EdServerName->setText(QStringLiteral("127.0.0.1,") + QString::number(port));
    dialog.EdDatabaseName->setText(QStringLiteral("fixture"));
    dialog.EdLogin->setText(QStringLiteral("corvane"));
    dialog.EdPassword->setText(QStringLiteral("secret"));
    testAndWait(dialog);
    dialog.Button1Click();
}

} // namespace corvane::test
