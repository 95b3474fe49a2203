#include "FixFolderPath.h"

#include "TextCodec.h"

#include <QDir>

void FixFolderPath(QString& path)
{
    const QChar separator = QDir::separator();
    QString fixed = QDir::toNativeSeparators(TextCodec::trimmed(path));
#ifdef Q_OS_WIN
    // A network path keeps its two leading separators.
    const bool networkPath = fixed.startsWith(QLatin1String("\\\\"));
#else
    const bool networkPath = false;
#endif
    fixed += separator;
    // Runs of three first, then pairs, each scan left to right without overlap.
    fixed.replace(QString(3, separator), QString(separator));
    fixed.replace(QString(2, separator), QString(separator));
    if (networkPath && !fixed.startsWith(QString(2, separator)))
        fixed.prepend(separator);
    path = fixed;
}

QString fixedFolderPath(QString path)
{
    FixFolderPath(path);
    return path;
}
