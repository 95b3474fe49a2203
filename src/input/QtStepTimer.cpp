#include "QtStepTimer.h"

#include <QTimer>

void QtStepTimer::after(int milliseconds, std::function<void()> step)
{
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &m_context, std::move(step));
}
