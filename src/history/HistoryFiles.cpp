#include "HistoryFiles.h"

#include "StoredFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray native(const QString& path) { return QFile::encodeName(path); }

// Takes the group's and others' rights from a regular file of this user's;
// the owner's own rights stay (a read-only file stays read-only).
void keepOwnerOnly(const QString& path)
{
    const int fd = ::open(native(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat info = {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 077))
        ::fchmod(fd, info.st_mode & 0700);
    ::close(fd);
}

}  // namespace

namespace HistoryFiles {

QString openProblem(const QString& path, int flags)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {};
    if (!info.isFile())
        return QCoreApplication::translate("HistoryDatabase", "不是普通文件");
    const int fd = ::open(native(path).constData(), flags | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return StoredFile::systemReason(errno);
    ::close(fd);
    return {};
}

QString makeOwnerOnly(const QString& databasePath)
{
    const int fd = ::open(native(databasePath).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        return {};
    }
    if (const int reason = errno; reason != EEXIST)
        return StoredFile::systemReason(reason);
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        keepOwnerOnly(databasePath + QLatin1String(suffix));
    return {};
}

QString createTemporaryBeside(const QString& path, QString* error)
{
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");
    for (int attempt = 0; attempt < 10; ++attempt) {
        QString name = path + QStringLiteral(".qvbtmp-");
        for (int i = 0; i < 6; ++i)
            name += letters.at(QRandomGenerator::global()->bounded(letters.size()));
        const int fd = ::open(native(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            return name;
        }
        const int reason = errno;
        *error = StoredFile::systemReason(reason);
        if (reason != EEXIST)
            break;
    }
    return {};
}

QString syncFile(const QString& path)
{
    const int fd = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return StoredFile::systemReason(errno);
    const bool synced = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    return synced ? QString() : StoredFile::systemReason(error);
}

void removeJournals(const QString& databasePath)
{
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(databasePath + QLatin1String(suffix));
}

}  // namespace HistoryFiles
