#include "MimeDataCopy.h"

#include <QElapsedTimer>
#include <QImage>

#include <algorithm>

namespace {
// Qt keeps images and colours as values, not bytes; they are copied as values.
const char kQtImageFormat[] = "application/x-qt-image";
const char kQtColorFormat[] = "application/x-color";
}  // namespace

namespace MimeDataCopy {

std::unique_ptr<QMimeData> copy(const QMimeData* source, std::chrono::milliseconds budget)
{
    auto result = std::make_unique<QMimeData>();
    if (!source)
        return result;
    QElapsedTimer clock;
    clock.start();
    const auto inTime = [&clock, budget] { return clock.elapsed() < budget.count(); };
    // Texts first: what a user most likely copied comes back even when the
    // owner is slow to hand over the rest.
    QStringList formats = source->formats();
    std::stable_partition(formats.begin(), formats.end(),
                          [](const QString& format) { return format.startsWith(QLatin1String("text/")); });
    for (const QString& format : std::as_const(formats)) {
        if (!inTime())
            return result;
        if (format == QLatin1String(kQtImageFormat) || format == QLatin1String(kQtColorFormat))
            continue;
        result->setData(format, source->data(format));
    }
    if (inTime() && source->hasImage())
        result->setImageData(source->imageData());
    if (inTime() && source->hasColor())
        result->setColorData(source->colorData());
    return result;
}

bool isEmpty(const QMimeData* data) { return !data || data->formats().isEmpty(); }

}  // namespace MimeDataCopy
