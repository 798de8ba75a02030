#include "Physics/StepWorker.h"

StepWorker::StepWorker(void (*j)(void*), void* a) : job(j), arg(a), thread(&StepWorker::loop, this) {}

StepWorker::~StepWorker()
{
    {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [this] { return !running; });
        quitting = true;
    }
    changed.notify_all();
    thread.join();
}

void StepWorker::start()
{
    {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [this] { return !running; });
        running = true;
    }
    changed.notify_all();
}

void StepWorker::wait()
{
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return !running; });
}

bool StepWorker::finished()
{
    std::lock_guard<std::mutex> lock(mutex);
    return !running;
}

void StepWorker::loop()
{
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        changed.wait(lock, [this] { return running || quitting; });
        if (!running) return;
        lock.unlock();
        job(arg);
        lock.lock();
        running = false;
        changed.notify_all();
    }
}
