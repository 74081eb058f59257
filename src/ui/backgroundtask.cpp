#include "backgroundtask.h"

#include <QThreadPool>

#include <exception>
#include <thread>

namespace twinsift::backgroundwork {

bool start(WorkerKind kind, std::function<void()> work) {
    if (kind == WorkerKind::pooled) {
        // The pool queues what it cannot run at once; it never refuses.
        QThreadPool::globalInstance()->start(std::move(work));
        return true;
    }
    try {
        std::thread(std::move(work)).detach();
        return true;
    } catch (const std::exception &) {
        // Out of threads or memory.
        return false;
    }
}

} // namespace twinsift::backgroundwork
