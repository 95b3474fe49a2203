#include "MimeDataCopy.h"

#include <QImage>

namespace {
// Qt keeps images and colours as values, not bytes; they are copied as values.
const char kQtImageFormat[] = "application/x-qt-image";
const char kQtColorFormat[] = "application/x-color";
}  // namespace

namespace MimeDataCopy {

std::unique_ptr<QMimeData> copy(const QMimeData* source)
{
    auto result = std::make_unique<QMimeData>();
    if (!source)
        return result;
    for (const QString& format : source->formats()) {
        if (format == QLatin1String(kQtImageFormat) || format == QLatin1String(kQtColorFormat))
            continue;
        result->setData(format, source->data(format));
    }
    if (source->hasImage())
        result->setImageData(source->imageData());
    if (source->hasColor())
        result->setColorData(source->colorData());
    return result;
}

bool isEmpty(const QMimeData* data)
{
    return !data || data->formats().isEmpty();
}

}  // namespace MimeDataCopy
