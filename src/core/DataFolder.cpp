#include "DataFolder.h"

#include "StoredFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace DataFolder {

namespace {
QString withSeparator(const QString& path) { return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/'); }
}  // namespace

QString perUserFolder()
{
    const QString perUser = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return withSeparator(QDir(perUser).absoluteFilePath(QStringLiteral("config")));
}

bool isInstalledProgramFolder(const QString& executableDir)
{
    const QString dir = QDir::cleanPath(QDir(executableDir).absolutePath());
    return dir == QLatin1String(QVB_INSTALL_BINDIR) || dir == QLatin1String("/usr/bin")
        || dir == QLatin1String("/usr/local/bin");
}

bool holdsData(const QString& folder)
{
    for (const char* name : {"defualt.ini", "SDUrl.txt", "articles.txt"})
        if (QFileInfo::exists(folder + QLatin1String(name)))
            return true;
    return false;
}

QString writeProblem(const QString& folder)
{
#ifdef Q_OS_UNIX
    // A file made and written for real: a full disk, a read-only mount, a
    // missing permission or a path that is no folder each say so here.
    const QByteArray probe = QFile::encodeName(withSeparator(folder) + QStringLiteral(".qvbzevi-write-test"));
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return StoredFile::systemReason(errno);
    const bool written = ::write(fd, "x", 1) == 1;
    const int error = errno;
    ::close(fd);
    ::unlink(probe.constData());
    return written ? QString() : StoredFile::systemReason(error);
#else
    return QFileInfo(folder).isWritable() ? QString() : QCoreApplication::translate("DataFolder", "not writable");
#endif
}

bool ensure(const QString& folder)
{
    // Every folder made here is for its owner only, the missing parents too:
    // the data folder may be made along the way to one of its subfolders.
    QStringList missing;
    for (QString path = QDir::cleanPath(QDir(folder).absolutePath()); !QFileInfo::exists(path);
         path = QFileInfo(path).absolutePath())
        missing << path;
    if (!missing.isEmpty() && !QDir().mkpath(folder))
        return false;
    for (const QString& made : missing)
        QFile::setPermissions(made, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return true;
}

QString resolve(const QString& executableDir)
{
    // An installed program never keeps data among the system's programs,
    // even when run by a user (root) who could write there.
    if (isInstalledProgramFolder(executableDir))
        return perUserFolder();
    const QString besidePath = QDir(executableDir).absoluteFilePath(QStringLiteral("config"));
    const QString beside = withSeparator(besidePath);
    if (QFileInfo(beside).isDir() && QFileInfo(beside).isWritable())
        return beside;
    // The user's data stays in view even where it cannot be written (a
    // read-only mount): an empty folder elsewhere would look as if it was lost.
    // The window says that changes cannot be saved.
    if (holdsData(beside))
        return beside;
    // Without the separator: "config/" of a plain file named config does not exist,
    // and the program would then try to keep its data inside that file.
    if (!QFileInfo::exists(besidePath) && QFileInfo(executableDir).isWritable())
        return beside;
    return perUserFolder();
}

namespace {
const char* const DataSetNames = "defualt\\.ini|SDUrl\\.txt|articles\\.txt|Content[0-9]+_[0-9]+\\.txt";
}  // namespace

bool isDataSetFile(const QString& fileName)
{
    // Exactly as spelt: the stores open these names, another spelling would
    // lie beside them unread.
    static const QRegularExpression name(QStringLiteral("^(?:%1)$").arg(QLatin1String(DataSetNames)));
    return name.match(fileName).hasMatch();
}

int removeStaleTemporaries(const QString& folder)
{
    static const QRegularExpression temporary(
        // A saved file's temporary (QSaveFile's name.XXXXXX), or a copy of the
        // history database on its way into place.
        QStringLiteral("^((%1)\\.|history\\.sqlite\\.qvbtmp-)[A-Za-z0-9]{6}$").arg(QLatin1String(DataSetNames)),
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
