#pragma once

#include "StepTimer.h"

#include <QObject>

// Single-shot precise timers; steps still pending when the timer is destroyed
// never run.
class QtStepTimer : public StepTimer {
public:
    void after(int milliseconds, std::function<void()> step) override;

private:
    QObject m_context;
};
