#pragma once

#include "KeyInjector.h"

#include <QtGlobal>

// Posts key events to the focus widget (for a web view that is its focus proxy,
// which hands them to the page) or, without one, to the focus object. The
// events travel the application's event filters like typed keys, so the
// hotkey dispatcher sees them too.
class QtKeyInjector : public KeyInjector {
public:
    void injectKey(Qt::Key key, bool down) override;

private:
    bool m_ctrlDown = false;
};
