#include "FolderCopy.h"

#include "StoredFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <filesystem>
#include <system_error>

FolderCopy::FolderCopy(QObject* parent) : QObject(parent)
{
    // A zero interval fires once the pending window events are handled.
    m_stepTimer.setInterval(0);
    connect(&m_stepTimer, &QTimer::timeout, this, &FolderCopy::step);
}

FolderCopy::~FolderCopy() = default;

bool FolderCopy::CopyFolderFiles(const QString& source, const QString& target)
{
    if (m_running)
        return false;
    // Files only (symbolic links to files count as files); no System filter, so
    // pipes, sockets and devices, which could block a read for ever, stay out.
    m_pending = QDir(source).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    if (m_leftOut)
        m_pending.removeIf([this](const QFileInfo& file) { return m_leftOut(file.fileName()); });
    m_next = 0;
    m_target = QDir(target).absolutePath() + QLatin1Char('/');
    m_copied = 0;
    m_failures.clear();
    m_running = true;
    m_stepTimer.start();
    return true;
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
    // The same file reached by two paths (the target folder is the source
    // folder, or links to it): it is already in place.
    if (target.exists() && target.canonicalFilePath() == source.canonicalFilePath()) {
        ++m_copied;
        return;
    }
    if (target.isDir()) {
        fail(targetPath, tr("a folder of that name is in the way"));
        return;
    }
    auto in = std::make_unique<QFile>(source.absoluteFilePath());
    if (!in->open(QIODevice::ReadOnly)) {
        fail(in->fileName(), in->errorString());
        return;
    }
    auto out = std::make_unique<QSaveFile>(targetPath);
    if (!out->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        fail(targetPath, out->errorString());
        return;
    }
    m_in = std::move(in);
    m_out = std::move(out);
    copyChunk();
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
    // Owner-only like every stored file: the data set holds passwords.
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
