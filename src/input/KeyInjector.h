#pragma once

#include <Qt>

// Types keys into whatever control has the keyboard focus, as if the user had
// pressed them. One small interface so that the paste sequence can be checked
// with a recording fake.
class KeyInjector {
public:
    virtual ~KeyInjector() = default;
    virtual void injectKey(Qt::Key key, bool down) = 0;
};
