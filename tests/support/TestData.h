#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh data folder for one test, optionally filled with the data set as
// the Windows original writes it (GB18030, CR LF).
class TestDataFolder {
public:
    enum Content {
        Empty,
        WindowsFixture
    };
    explicit TestDataFolder(Content content = Empty);

    bool isValid() const { return m_dir.isValid(); }
    QString path() const;  // with a trailing separator
    QString file(const QString& name) const { return path() + name; }

    QByteArray readBytes(const QString& name) const;
    void writeBytes(const QString& name, const QByteArray& bytes) const;

private:
    QTemporaryDir m_dir;
};

// The Windows data set shipped with the tests.
QString windowsFixturePath();
QByteArray gb18030(const QString& text);
