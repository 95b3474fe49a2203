#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QThread;

// "测试连接": one connection to the server with the settings being edited,
// made in a thread of its own so the dialog stays responsive. The answer
// comes back on the probe's thread; a probe that goes away first waits for
// its connection attempt (at most its connect_timeout) and drops the answer.
class TeamProbe : public QObject {
    Q_OBJECT
public:
    using Callback = std::function<void(bool ok, const QString& message)>;

    explicit TeamProbe(QObject* parent = nullptr);
    ~TeamProbe() override;

    bool isRunning() const;
    // Ignored while one runs.
    void run(const QString& conninfo, Callback done);

private:
    QThread* m_thread = nullptr;
};
