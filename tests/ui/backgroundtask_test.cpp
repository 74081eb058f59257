#include "backgroundtask.h"

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QTest>
#include <QThread>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <thread>
#include <vector>

using namespace twinsift;

namespace {

// An owner that records what reached it, in order.
class Owner : public QObject {
public:
    explicit Owner(WorkerKind kind = WorkerKind::ownThread) : task(this, kind) {}
    BackgroundTask<Owner> task;
    std::vector<int> delivered;
    std::vector<int> dropped;
};

// Work that answers `value` once its gate opens.
auto gatedAnswer(int value, std::shared_future<void> gate) {
    return [value, gate](const BackgroundTask<Owner>::Reply &reply) {
        gate.wait();
        reply([value](Owner *owner) { owner->delivered.push_back(value); },
              [value](Owner *owner) { owner->dropped.push_back(value); });
    };
}

bool waitFor(const std::function<bool()> &done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

} // namespace

class BackgroundTaskTest : public QObject {
    Q_OBJECT

private slots:
    void onlyTheNewestStartIsHeard_data() {
        QTest::addColumn<WorkerKind>("kind");
        QTest::newRow("own thread") << WorkerKind::ownThread;
        QTest::newRow("pooled") << WorkerKind::pooled;
    }
    void onlyTheNewestStartIsHeard() {
        QFETCH(WorkerKind, kind);
        Owner owner(kind);
        std::promise<void> first;
        QVERIFY(owner.task.start(gatedAnswer(1, first.get_future().share())));
        std::promise<void> second;
        second.set_value();
        QVERIFY(owner.task.start(gatedAnswer(2, second.get_future().share())));
        QTRY_COMPARE(owner.delivered, std::vector<int>{2});
        // The first answers late, after the second was heard: dropped, and
        // told so through its own callback only.
        first.set_value();
        QTRY_COMPARE(owner.dropped, std::vector<int>{1});
        QCOMPARE(owner.delivered, std::vector<int>{2});
    }

    void aNewerStartAsksTheOlderToStop() {
        Owner owner;
        auto sawStop = std::make_shared<std::atomic<bool>>(false);
        auto wasStale = std::make_shared<std::atomic<bool>>(false);
        QVERIFY(owner.task.start([sawStop, wasStale](const BackgroundTask<Owner>::Reply &reply) {
            *sawStop = waitFor([&] { return reply.stopRequested(); });
            *wasStale = reply.isStale();
        }));
        QVERIFY(!sawStop->load());
        QVERIFY(owner.task.start([](const BackgroundTask<Owner>::Reply &) {}));
        QVERIFY(waitFor([&] { return sawStop->load(); }));
        QVERIFY(wasStale->load());
    }

    void askingToStopKeepsTheAnswer() {
        // A cancelled scan still ends the scanning state with its outcome.
        Owner owner;
        auto sawStop = std::make_shared<std::atomic<bool>>(false);
        QVERIFY(owner.task.start([sawStop](const BackgroundTask<Owner>::Reply &reply) {
            *sawStop = waitFor([&] { return reply.stopRequested(); });
            reply([](Owner *o) { o->delivered.push_back(7); });
        }));
        owner.task.requestStop();
        QVERIFY(owner.task.stopToken().stop_requested());
        QTRY_COMPARE(owner.delivered, std::vector<int>{7});
        QVERIFY(sawStop->load());
    }

    void cancelDropsTheRunningAnswer() {
        Owner owner;
        std::promise<void> gate;
        QVERIFY(owner.task.start(gatedAnswer(3, gate.get_future().share())));
        owner.task.cancel();
        gate.set_value();
        QTRY_COMPARE(owner.dropped, std::vector<int>{3});
        QVERIFY(owner.delivered.empty());
    }

    void anAnswerAfterTheOwnerIsGoneDoesNotCrash() {
        auto owner = std::make_unique<Owner>();
        std::promise<void> gate;
        auto shared = gate.get_future().share();
        auto replied = std::make_shared<std::atomic<bool>>(false);
        auto stopped = std::make_shared<std::atomic<bool>>(false);
        QVERIFY(owner->task.start(
            [shared, replied, stopped](const BackgroundTask<Owner>::Reply &reply) {
                shared.wait();
                *stopped = reply.stopRequested();
                reply([](Owner *o) { o->delivered.push_back(9); });
                *replied = true;
            }));
        QPointer<QObject> watch(owner.get());
        owner.reset();
        gate.set_value();
        QVERIFY(waitFor([&] { return replied->load(); }));
        // Anything that still reached the event queue must not run.
        QCoreApplication::processEvents();
        QTest::qWait(20);
        QVERIFY(stopped->load());
        QVERIFY(watch.isNull());
    }

    void answersComeOnTheOwnersThread() {
        Owner owner(WorkerKind::pooled);
        auto heardOn = std::make_shared<std::atomic<QThread *>>(nullptr);
        QVERIFY(owner.task.start([heardOn](const BackgroundTask<Owner>::Reply &reply) {
            reply([heardOn](Owner *) { *heardOn = QThread::currentThread(); });
        }));
        QTRY_VERIFY(heardOn->load() != nullptr);
        QCOMPARE(heardOn->load(), QThread::currentThread());
    }
};

QTEST_GUILESS_MAIN(BackgroundTaskTest)
#include "backgroundtask_test.moc"
