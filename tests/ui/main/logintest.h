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

} // namespace corvane::test
