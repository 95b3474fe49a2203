#include "TestData.h"

#include "TextCodec.h"

#include <QDir>
#include <QFile>

TestDataFolder::TestDataFolder(Content content)
{
    if (content != WindowsFixture)
        return;
    const QDir source(windowsFixturePath());
    for (const QString& name : source.entryList(QDir::Files)) {
        const QString target = file(name);
        QFile::copy(source.filePath(name), target);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    }
}

QString TestDataFolder::path() const { return m_dir.path() + QLatin1Char('/'); }

QByteArray TestDataFolder::readBytes(const QString& name) const
{
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestDataFolder::writeBytes(const QString& name, const QByteArray& bytes) const
{
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QString windowsFixturePath() { return QStringLiteral(QVB_FIXTURES_DIR "/windows-data"); }

QByteArray gb18030(const QString& text) { return TextCodec::encode(text); }
