// A thread of the scene's own that takes the simulation step off the caller's thread: the
// game draws its frame between simulate and fetchResults, and the step runs meanwhile.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

class StepWorker {
public:
    // `job(arg)` is what each start runs, on the worker.
    StepWorker(void (*job)(void*), void* arg);
    ~StepWorker();
    StepWorker(const StepWorker&) = delete;
    StepWorker& operator=(const StepWorker&) = delete;

    // Runs the job once on the worker; the caller goes on. Waits first for a run still going.
    void start();
    // Returns once no run is going.
    void wait();
    // Whether no run is going.
    bool finished();

private:
    void loop();

    void (*job)(void*);
    void* arg;
    std::mutex mutex;
    std::condition_variable changed;
    bool running = false;
    bool quitting = false;
    std::thread thread;
};
