#pragma once

#include "ClipboardAccess.h"

// The application's QClipboard (the system clipboard, not the selection).
class QtClipboardAccess : public ClipboardAccess {
public:
    const QMimeData* content() const override;
    void setContent(QMimeData* data) override;
};
