#include "StoredFile.h"

#include "TextCodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace StoredFile {

namespace {
WriteFault& writeFault()
{
    static WriteFault fault;
    return fault;
}

WriteResult failure(const QString& path, const QString& reason)
{
    return WriteResult{false, QStringLiteral("%1: %2").arg(QFileInfo(path).absoluteFilePath(), reason)};
}
}  // namespace

void setWriteFault(WriteFault fault) { writeFault() = std::move(fault); }

WriteResult writeBytes(const QString& path, const QByteArray& bytes)
{
    if (writeFault()) {
        const QString reason = writeFault()(path);
        if (!reason.isEmpty())
            return failure(path, reason);
    }
    QSaveFile file(path);
    // Replacing through a rename must also work in a folder we may write but
    // where the target itself is read-only: that is refused, as it should be.
    if (!file.open(QIODevice::WriteOnly))
        return failure(path, file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return failure(path, reason);
    }
    // The data folder holds passwords: stored files are for their owner only.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!file.commit())
        return failure(path, file.errorString());
    return {};
}

std::optional<QByteArray> readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

std::optional<QString> readText(const QString& path)
{
    const auto bytes = readBytes(path);
    if (!bytes)
        return std::nullopt;
    return TextCodec::toUnixBreaks(TextCodec::decode(*bytes));
}

WriteResult writeText(const QString& path, const QString& text)
{
    return writeBytes(path, TextCodec::encode(TextCodec::toWindowsBreaks(text)));
}

QStringList readLines(const QString& path)
{
    const auto bytes = readBytes(path);
    if (!bytes)
        return {};
    return TextCodec::splitLines(TextCodec::decode(*bytes));
}

WriteResult writeLines(const QString& path, const QStringList& lines)
{
    QString text;
    for (const QString& line : lines) {
        // An item holding a line break would read back as two items.
        if (line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r')))
            return failure(path, QStringLiteral("an item holds a line break"));
        text += line;
        text += QLatin1String("\r\n");
    }
    return writeBytes(path, TextCodec::encode(text));
}

}  // namespace StoredFile
