#pragma once

#include "db/connection.h"

#include <QObject>
#include <QThread>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>

namespace corvane::db {

// What a call running on a worker shares with the thread that started it: a
// way to stop it early. The call names the connection it is waiting on, and
// cancel() asks the server to stop the statement that runs there.
class CallControl
{
public:
    // While it lives, cancel() reaches the statement running on `connection`.
    class Watch
    {
    public:
        Watch(CallControl& control, Connection& connection);
        ~Watch();
        Watch(const Watch&) = delete;
        Watch& operator=(const Watch&) = delete;

    private:
        CallControl& m_control;
    };

    void cancel();
    // Checked by the call between its steps: nobody waits for its result.
    bool isCancelled() const;

private:
    mutable std::mutex m_lock; // guards the pointer against cancel() from another thread
    Connection* m_watched = nullptr;
    bool m_cancelled = false;
};

// Runs database calls off the owner's thread, one at a time, and hands each
// result back on the owner's thread through its event loop. Starting a call
// supersedes the one still running: that one is cancelled and its result
// dropped, as is the result of a call that ends after the worker (a child of
// its owner) is gone. A call must therefore hold copies of what it reads,
// never the owner's own objects.
class Worker : public QObject
{
    Q_OBJECT
public:
    explicit Worker(QObject* owner);
    ~Worker() override;

    // Runs `call(CallControl&)` on a thread of its own; `deliver(result)` is
    // called on this object's thread unless the call was superseded.
    template <typename Call, typename Deliver> void start(Call call, Deliver deliver);

    bool isRunning() const { return m_current != nullptr; }
    // Cancels the running call, if any; its result is dropped.
    void cancel();

private:
    // Starts `thread` as the current call; `done` runs when it has finished.
    void launch(QThread* thread, std::shared_ptr<CallControl> control, std::function<void()> done);

    std::shared_ptr<CallControl> m_current;
};

template <typename Call, typename Deliver> void Worker::start(Call call, Deliver deliver)
{
    using Value = std::invoke_result_t<Call&, CallControl&>;
    auto control = std::make_shared<CallControl>();
    auto result = std::make_shared<std::optional<Value>>();
    QThread* thread = QThread::create([control, result, call = std::move(call)]() mutable {
        // What the call holds (connections among it) ends on this thread.
        Call local = std::move(call);
        result->emplace(local(*control));
        if (control->isCancelled())
            result->reset();
    });
    launch(thread, control, [result, deliver = std::move(deliver)]() mutable {
        if (result->has_value())
            deliver(std::move(**result));
    });
}

} // namespace corvane::db
