#include "db/worker.h"

namespace corvane::db {

CallControl::Watch::Watch(CallControl& control, Connection& connection) : m_control(control)
{
    const std::lock_guard lock(m_control.m_lock);
    m_control.m_watched = &connection;
}

CallControl::Watch::~Watch()
{
    const std::lock_guard lock(m_control.m_lock);
    m_control.m_watched = nullptr;
}

void CallControl::cancel()
{
    // Under the lock, so that the call cannot drop the connection while the
    // cancel is being sent on it.
    const std::lock_guard lock(m_lock);
    m_cancelled = true;
    if (m_watched)
        m_watched->cancel();
}

bool CallControl::isCancelled() const
{
    const std::lock_guard lock(m_lock);
    return m_cancelled;
}

Worker::Worker(QObject* owner) : QObject(owner) {}

Worker::~Worker()
{
    cancel();
}

void Worker::cancel()
{
    if (m_current)
        m_current->cancel();
    m_current.reset();
}

void Worker::launch(QThread* thread, std::shared_ptr<CallControl> control,
                    std::function<void()> done)
{
    cancel();
    m_current = control;
    thread->setObjectName(QStringLiteral("database call"));
    // Queued to this object's thread; gone with this object, so a result that
    // arrives after its owner never reaches it.
    connect(thread, &QThread::finished, this, [this, control, done = std::move(done)] {
        if (m_current != control)
            return;
        m_current.reset();
        done();
    });
    // The thread object is not this worker's child: a call that outlives its
    // owner ends on its own and then frees its thread.
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

} // namespace corvane::db
