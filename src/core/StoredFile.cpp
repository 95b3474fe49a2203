#include "StoredFile.h"

#include "TextCodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <vector>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace StoredFile {

namespace {
WriteFault& writeFault()
{
    static WriteFault fault;
    return fault;
}

QString absolute(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

QString located(const QString& path, const QString& reason)
{
    return QStringLiteral("%1: %2").arg(absolute(path), reason);
}

WriteResult failure(const QString& path, const QString& reason) { return WriteResult{false, located(path, reason)}; }

QString tr(const char* text) { return QCoreApplication::translate("StoredFile", text); }

// Files whose last read failed, with the reason; the article delete's worker
// thread writes too, so the list is guarded.
struct Unreadable {
    QMutex mutex;
    std::vector<std::pair<QString, QString>> files;  // absolute path, reason
};

Unreadable& unreadable()
{
    static Unreadable list;
    return list;
}

void noteRead(const QString& path, const QString& reason)
{
    Unreadable& list = unreadable();
    QMutexLocker lock(&list.mutex);
    if (reason.isEmpty() && list.files.empty())
        return;  // nearly every read: nothing to note, no path to work out
    const QString key = absolute(path);
    for (auto it = list.files.begin(); it != list.files.end(); ++it) {
        if (it->first == key) {
            if (reason.isEmpty())
                list.files.erase(it);
            else
                it->second = reason;
            return;
        }
    }
    if (!reason.isEmpty())
        list.files.emplace_back(key, reason);
}

QString unreadableReason(const QString& path)
{
    Unreadable& list = unreadable();
    QMutexLocker lock(&list.mutex);
    if (list.files.empty())
        return {};
    const QString key = absolute(path);
    for (const auto& [file, reason] : list.files)
        if (file == key)
            return reason;
    return {};
}

#ifdef Q_OS_UNIX
// Opened without waiting, so a pipe in the file's place cannot hold the
// program up; anything but a regular file is refused before a byte is read.
ReadResult readRegularFile(const QString& path)
{
    ReadResult result;
    const QByteArray native = QFile::encodeName(path);
    int fd;
    do
        fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (errno == ENOENT)
            result.missing = true;
        else
            result.error = systemReason(errno);
        return result;
    }
    struct stat info = {};
    if (::fstat(fd, &info) != 0) {
        result.error = systemReason(errno);
    } else if (!S_ISREG(info.st_mode)) {
        result.error = S_ISDIR(info.st_mode) ? tr("a folder stands where the file should be")
                                             : tr("not a regular file (a pipe, socket or device)");
    } else {
        result.bytes.resize(qsizetype(info.st_size));
        qsizetype filled = 0;
        for (;;) {
            if (filled == result.bytes.size())
                result.bytes.resize(filled + 65536);  // the file grew meanwhile
            const ssize_t n = ::read(fd, result.bytes.data() + filled, size_t(result.bytes.size() - filled));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                result.error = systemReason(errno);
                break;
            }
            if (n == 0)
                break;
            filled += n;
        }
        result.bytes.truncate(filled);
    }
    ::close(fd);
    if (!result.ok())
        result.bytes.clear();
    return result;
}
#else
ReadResult readRegularFile(const QString& path)
{
    ReadResult result;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        result.missing = true;
        return result;
    }
    if (!info.isFile()) {
        result.error = info.isDir() ? tr("a folder stands where the file should be") : tr("not a regular file");
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    result.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.error = file.errorString();
        result.bytes.clear();
    }
    return result;
}
#endif

}  // namespace

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

void setWriteFault(WriteFault fault) { writeFault() = std::move(fault); }

ReadResult read(const QString& path)
{
    ReadResult result = readRegularFile(path);
    noteRead(path, result.error);
    if (!result.ok())
        result.error = located(path, result.error);
    return result;
}

QString writeRefusal(const QString& path)
{
    const QString unread = unreadableReason(path);
    return unread.isEmpty() ? QString()
                            : located(path, tr("left as it is, since it could not be read (%1)").arg(unread));
}

QStringList unreadableFiles()
{
    Unreadable& list = unreadable();
    QMutexLocker lock(&list.mutex);
    QStringList files;
    for (const auto& [file, reason] : list.files)
        files << QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(file), reason);
    return files;
}

void forgetUnreadableFiles()
{
    Unreadable& list = unreadable();
    QMutexLocker lock(&list.mutex);
    list.files.clear();
}

WriteResult writeBytes(const QString& path, const QByteArray& bytes)
{
    if (writeFault()) {
        const QString reason = writeFault()(path);
        if (!reason.isEmpty())
            return failure(path, reason);
    }
    if (const QString refusal = writeRefusal(path); !refusal.isEmpty())
        return WriteResult{false, refusal};
    QSaveFile file(path);
    // Replacing through a rename must also work in a folder we may write but
    // where the target itself is read-only: that is refused, as it should be.
    QString reason = open(file);
    if (reason.isEmpty())
        reason = writeAll(file, bytes.constData(), bytes.size());
    if (reason.isEmpty())
        reason = commit(file);
    return reason.isEmpty() ? WriteResult{} : failure(path, reason);
}

QString open(QSaveFile& file)
{
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    // The data folder holds passwords. The temporary copy is made readable
    // for everyone the umask allows; a file system without owners (a FAT
    // stick) may refuse the change, and there it means nothing anyway.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return {};
}

QString writeAll(QSaveFile& file, const char* data, qint64 size)
{
    while (size > 0) {
        // A short write (the disk filled up on the way) is followed by one
        // that fails: that one says why.
        const qint64 written = file.write(data, size);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return reason;
        }
        data += written;
        size -= written;
    }
    return {};
}

QString commit(QSaveFile& file)
{
#ifdef Q_OS_UNIX
    // Some file systems report a full disk only when the data goes out.
    if (::fsync(file.handle()) != 0) {
        const QString reason = systemReason(errno);
        file.cancelWriting();
        return reason;
    }
#endif
    if (!file.commit())
        return file.errorString();
    return {};
}

std::optional<QByteArray> readBytes(const QString& path)
{
    ReadResult result = read(path);
    if (!result.ok() || result.missing)
        return std::nullopt;
    return std::move(result.bytes);
}

std::optional<QString> readText(const QString& path, QString* error)
{
    const ReadResult result = read(path);
    if (error)
        *error = result.error;
    if (!result.ok() || result.missing)
        return std::nullopt;
    return TextCodec::toUnixBreaks(TextCodec::decode(result.bytes));
}

WriteResult writeText(const QString& path, const QString& text)
{
    return writeBytes(path, TextCodec::encode(TextCodec::toWindowsBreaks(text)));
}

QStringList readLines(const QString& path, QString* error)
{
    const ReadResult result = read(path);
    if (error)
        *error = result.error;
    if (!result.ok() || result.missing)
        return {};
    return TextCodec::splitLines(TextCodec::decode(result.bytes));
}

WriteResult writeLines(const QString& path, const QStringList& lines)
{
    QString text;
    for (const QString& line : lines) {
        // An item holding a line break would read back as two items.
        if (line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r')))
            return failure(path, tr("an item holds a line break"));
        text += line;
        text += QLatin1String("\r\n");
    }
    return writeBytes(path, TextCodec::encode(text));
}

}  // namespace StoredFile
