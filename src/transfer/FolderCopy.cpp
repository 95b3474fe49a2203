#include "FolderCopy.h"

#include "StoredFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

FolderCopy::FolderCopy(QObject* parent) : QObject(parent)
{
    // A zero interval fires once the pending window events are handled.
    m_stepTimer.setInterval(0);
    connect(&m_stepTimer, &QTimer::timeout, this, &FolderCopy::step);
}

FolderCopy::~FolderCopy() = default;

bool FolderCopy::CopyFolderFiles(const QString& source, const QString& target)
{
    return CopyFolderFiles(source, target, Selection());
}

bool FolderCopy::CopyFolderFiles(const QString& source, const QString& target, const Selection& selection)
{
    if (m_running)
        return false;
    select(source, selection);
    m_next = 0;
    m_target = QDir(target).absolutePath() + QLatin1Char('/');
    // The folder copied onto itself, perhaps reached through a link: every
    // file is in place already.
    m_ontoItself = QDir(source).canonicalPath() == QDir(target).canonicalPath();
    m_copied = 0;
    m_failures.clear();
    m_running = true;
    m_stepTimer.start();
    return true;
}

void FolderCopy::select(const QString& source, const Selection& selection)
{
    m_pending.clear();
    m_passedOver.clear();
    m_followLinks = selection.followLinks;
    // Every entry, links, pipes and devices too, so what is passed over can be
    // named; listing opens none of them.
    const QFileInfoList entries =
        QDir(source).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        if (m_leftOut && m_leftOut(name))
            continue;
        const bool readable = !entry.isSymLink() || selection.followLinks;
        if (entry.isDir() && readable)
            continue;  // subfolders are not part of a copy
        // Plain files only: a pipe, socket or device could block a read for ever.
        if (entry.isFile() && readable && (!selection.takes || selection.takes(name)))
            m_pending << entry;
        else
            m_passedOver << name;
    }
}

void FolderCopy::step()
{
    if (m_in) {
        copyChunk();
        return;
    }
    if (m_next < m_pending.size()) {
        beginFile(m_pending.at(m_next++));
        return;
    }
    m_stepTimer.stop();
    m_running = false;
    m_pending.clear();
    m_buffer = QByteArray();
    emit finished(m_failures.isEmpty());
}

void FolderCopy::beginFile(const QFileInfo& source)
{
    const QString targetPath = m_target + source.fileName();
    const QFileInfo target(targetPath);
    if (m_ontoItself) {
        ++m_copied;
        return;
    }
    // A link would have the copy replace whatever file it points to, which
    // may be no part of any data set; one to the source itself would leave
    // the target without a copy of its own.
    if (target.isSymLink()) {
        fail(targetPath, linkRefusal());
        return;
    }
    if (target.isDir()) {
        fail(targetPath, tr("a folder of that name is in the way"));
        return;
    }
    std::unique_ptr<QFile> in = openSource(source.absoluteFilePath());
    if (!in)
        return;
    auto out = std::make_unique<QSaveFile>(targetPath);
    if (const QString reason = StoredFile::open(*out); !reason.isEmpty()) {
        fail(targetPath, reason);
        return;
    }
    // The file may have become a link since the look above; the save file
    // then writes through it, so it is given up.
    if (QFileInfo(targetPath).isSymLink()) {
        out->cancelWriting();
        fail(targetPath, linkRefusal());
        return;
    }
    m_in = std::move(in);
    m_out = std::move(out);
    copyChunk();
}

QString FolderCopy::linkRefusal() { return tr("是符号链接，没有写入（它指向的文件保持不变）"); }

std::unique_ptr<QFile> FolderCopy::openSource(const QString& path)
{
    auto in = std::make_unique<QFile>(path);
#ifdef Q_OS_UNIX
    // Opened without waiting, so a pipe put in the file's place since the
    // listing cannot hold the copy up, and without following a link when
    // links are not to be read: the file is checked as it is opened.
    int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;
    if (!m_followLinks)
        flags |= O_NOFOLLOW;
    const QByteArray native = QFile::encodeName(path);
    int fd;
    do
        fd = ::open(native.constData(), flags);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        fail(path, errno == ELOOP && !m_followLinks ? tr("是符号链接，没有读取") : StoredFile::systemReason(errno));
        return nullptr;
    }
    struct stat info = {};
    QString problem;
    if (::fstat(fd, &info) != 0)
        problem = StoredFile::systemReason(errno);
    else if (!S_ISREG(info.st_mode))
        problem = tr("不是普通文件");
    if (problem.isEmpty() && !in->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        problem = in->errorString();
    if (!problem.isEmpty()) {
        ::close(fd);
        fail(path, problem);
        return nullptr;
    }
#else
    if (!in->open(QIODevice::ReadOnly)) {
        fail(path, in->errorString());
        return nullptr;
    }
#endif
    return in;
}

void FolderCopy::copyChunk()
{
    if (m_buffer.size() != ChunkBytes)
        m_buffer.resize(ChunkBytes);
    const qint64 read = m_in->read(m_buffer.data(), ChunkBytes);
    if (read < 0) {
        fail(m_in->fileName(), m_in->errorString());
        endFile();
        return;
    }
    if (read > 0) {
        if (const QString reason = StoredFile::writeAll(*m_out, m_buffer.constData(), read); !reason.isEmpty()) {
            fail(m_out->fileName(), reason);
            endFile();
            return;
        }
    }
    if (!m_in->atEnd())
        return;
    // Owner-only from the start (StoredFile::open), like every stored file.
    if (const QString reason = StoredFile::commit(*m_out); reason.isEmpty())
        ++m_copied;
    else
        fail(m_out->fileName(), reason);
    endFile();
}

void FolderCopy::endFile()
{
    // A save file closed without commit() removes its temporary file and
    // leaves the old target as it was.
    m_out.reset();
    m_in.reset();
}

void FolderCopy::fail(const QString& path, const QString& reason)
{
    m_failures << QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason);
}

bool FolderCopy::createFolder(const QString& folder, QString* error)
{
    if (QFileInfo(folder).isDir())
        return true;
#ifdef Q_OS_WIN
    const std::filesystem::path path(folder.toStdWString());
#else
    const std::filesystem::path path(QFile::encodeName(folder).toStdString());
#endif
    std::error_code failure;
    std::filesystem::create_directories(path, failure);
    if (!failure && QFileInfo(folder).isDir())
        return true;
    if (error) {
        const QString reason = failure ? QString::fromLocal8Bit(failure.message().c_str()) : tr("not a folder");
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(folder), reason);
    }
    return false;
}
