#pragma once

class QMimeData;

// The system clipboard as the paste sequence needs it.
class ClipboardAccess {
public:
    virtual ~ClipboardAccess() = default;
    // What the clipboard holds now; null or empty when it holds nothing. Owned by
    // the clipboard: valid until the next change.
    virtual const QMimeData* content() const = 0;
    // Replaces the content; takes ownership. Null empties the clipboard.
    virtual void setContent(QMimeData* data) = 0;
};
