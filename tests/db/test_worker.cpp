// Database calls off the caller's thread: each result comes back on the
// owner's thread, only that of the latest call and never to an owner that is
// gone; a cancel reaches the statement the call waits on.
#include "db/odbcconnection.h"
#include "db/worker.h"
#include "tests/support/tdsserver.h"

#include <QElapsedTimer>
#include <QSemaphore>
#include <QTest>

#include <atomic>
#include <memory>

using namespace corvane;
using test::TdsServer;

namespace {

// Notes the thread its last copy ends on.
struct EndProbe
{
    std::atomic<QThread*>* endedOn;
    ~EndProbe() { *endedOn = QThread::currentThread(); }
};

} // namespace

class TestWorker : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The call runs on a thread of its own, and what it holds ends there;
    // the result is handed over on the owner's thread.
    void deliversOnTheOwnersThread()
    {
        QObject owner;
        auto* worker = new db::Worker(&owner);
        std::atomic<QThread*> endedOn = nullptr;
        QThread* ranOn = nullptr;
        QThread* deliveredOn = nullptr;
        worker->start([probe = std::make_shared<EndProbe>(&endedOn)](
                          db::CallControl&) { return QThread::currentThread(); },
                      [&](QThread* thread) {
                          ranOn = thread;
                          deliveredOn = QThread::currentThread();
                      });
        QVERIFY(worker->isRunning());
        QTRY_VERIFY(deliveredOn);
        // Compared as pointers: the worker's thread object may be gone.
        QVERIFY(deliveredOn == QThread::currentThread());
        QVERIFY(ranOn != QThread::currentThread());
        QVERIFY(endedOn.load() == ranOn);
        QVERIFY(!worker->isRunning());
    }

    // A newer call supersedes the one still running: only its result arrives,
    // also when the older one ends later; the older one learns it is cancelled.
    void newerCallSupersedes()
    {
        QObject owner;
        auto* worker = new db::Worker(&owner);
        QSemaphore gate;
        std::atomic<bool> firstEnded = false;
        std::atomic<bool> firstCancelled = false;
        QStringList delivered;
        worker->start(
            [&](db::CallControl& control) {
                gate.tryAcquire(1, 10000);
                firstCancelled = control.isCancelled();
                firstEnded = true;
                return QStringLiteral("first");
            },
            [&](const QString& value) { delivered << value; });
        worker->start([](db::CallControl&) { return QStringLiteral("second"); },
                      [&](const QString& value) { delivered << value; });
        QTRY_COMPARE(delivered, QStringList{QStringLiteral("second")});
        QVERIFY(!worker->isRunning());

        gate.release();
        QTRY_VERIFY(firstEnded);
        QTest::qWait(20); // room for a stale result to arrive
        QCOMPARE(delivered, QStringList{QStringLiteral("second")});
        QVERIFY(firstCancelled);
    }

    // A call that ends after its owner has gone hands nothing over.
    void ownerGoneDropsTheResult()
    {
        auto owner = std::make_unique<QObject>();
        auto* worker = new db::Worker(owner.get());
        QSemaphore gate;
        std::atomic<bool> ended = false;
        bool delivered = false;
        worker->start(
            [&](db::CallControl&) {
                gate.tryAcquire(1, 10000);
                ended = true;
                return 1;
            },
            [&](int) { delivered = true; });
        owner.reset();
        gate.release();
        QTRY_VERIFY(ended);
        QTest::qWait(20);
        QVERIFY(!delivered);
    }

    // Through the real driver: a statement the server holds ends at once
    // when the call is cancelled.
    void cancelStopsAStalledStatement()
    {
        TdsServer server(TdsServer::defaultFixture(R"([{"match": "waitfor", "stall": 20}])"));
        QVERIFY(server.started());
        QObject owner;
        auto* worker = new db::Worker(&owner);
        std::atomic<bool> ended = false;
        bool delivered = false;
        worker->start(
            [&ended, connectionString = server.connectionString()](db::CallControl& control) {
                auto connection = db::MakeOdbcConnection();
                Status status = connection->open(connectionString);
                if (status) {
                    const db::CallControl::Watch watch(control, *connection);
                    status = connection->execute(QStringLiteral("waitfor delay '00:00:20'"));
                }
                ended = true;
                return status.ok();
            },
            [&](bool) { delivered = true; });
        QTRY_VERIFY(server.batches().contains(QStringLiteral("waitfor delay '00:00:20'")));
        QElapsedTimer clock;
        clock.start();
        worker->cancel();
        QVERIFY(!worker->isRunning());
        QTRY_VERIFY_WITH_TIMEOUT(ended, 5000);
        QVERIFY2(clock.elapsed() < 1000, QByteArray::number(clock.elapsed()).constData());
        QTest::qWait(20);
        QVERIFY(!delivered);
    }
};

QTEST_GUILESS_MAIN(TestWorker)
#include "test_worker.moc"
