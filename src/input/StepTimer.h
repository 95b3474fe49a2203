#pragma once

#include <functional>

// Runs the next step of a sequence after a delay, from the event loop, so a
// sequence never blocks the user-interface thread nor nests an event loop.
class StepTimer {
public:
    virtual ~StepTimer() = default;
    virtual void after(int milliseconds, std::function<void()> step) = 0;
};
