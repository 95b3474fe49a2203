#pragma once

#include <QMimeData>
#include <memory>

// A deep copy of every format of a clipboard content, so it can be put back
// after the clipboard was used for something else.
namespace MimeDataCopy {

// An empty QMimeData for a null source.
std::unique_ptr<QMimeData> copy(const QMimeData* source);

// True when the content holds no format at all.
bool isEmpty(const QMimeData* data);

}  // namespace MimeDataCopy
