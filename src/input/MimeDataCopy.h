#pragma once

#include <QMimeData>

#include <chrono>
#include <memory>

// A deep copy of every format of a clipboard content, so it can be put back
// after the clipboard was used for something else.
namespace MimeDataCopy {

// Each format is asked of the program that owns the clipboard, which may
// not answer: past this much time no further format is asked for, and the
// copy holds what came in time (texts first). The window never waits on one
// format longer than the platform's own limit.
constexpr std::chrono::milliseconds kCopyBudget{300};

// An empty QMimeData for a null source.
std::unique_ptr<QMimeData> copy(const QMimeData* source, std::chrono::milliseconds budget = kCopyBudget);

// True when the content holds no format at all.
bool isEmpty(const QMimeData* data);

}  // namespace MimeDataCopy
