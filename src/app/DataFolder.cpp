#include "DataFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace DataFolder {

namespace {
QString withSeparator(const QString& path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}
}  // namespace

bool ensure(const QString& folder)
{
    QDir dir(folder);
    const bool existed = dir.exists();
    if (!existed && !QDir().mkpath(folder))
        return false;
    if (!existed)
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return true;
}

QString resolve(const QString& executableDir)
{
    const QString besidePath = QDir(executableDir).absoluteFilePath(QStringLiteral("config"));
    const QString beside = withSeparator(besidePath);
    if (QFileInfo(beside).isDir() && QFileInfo(beside).isWritable())
        return beside;
    // Without the separator: "config/" of a plain file named config does not exist,
    // and the program would then try to keep its data inside that file.
    if (!QFileInfo::exists(besidePath) && QFileInfo(executableDir).isWritable())
        return beside;
    const QString perUser = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return withSeparator(QDir(perUser).absoluteFilePath(QStringLiteral("config")));
}

int removeStaleTemporaries(const QString& folder)
{
    static const QRegularExpression temporary(QStringLiteral(
        "^(defualt\\.ini|SDUrl\\.txt|articles\\.txt|Content\\d+_\\d+\\.txt)\\.[A-Za-z0-9]{6}$"),
        QRegularExpression::CaseInsensitiveOption);
    // Unsorted, without a list of every name: the folder holds thousands of
    // article files, and this runs at every start.
    QDir dir(folder);
    int removed = 0;
    QDirIterator entries(folder, QDir::Files | QDir::Hidden);
    while (entries.hasNext()) {
        entries.next();
        const QString name = entries.fileName();
        if (temporary.match(name).hasMatch() && dir.remove(name))
            ++removed;
    }
    return removed;
}

}  // namespace DataFolder
