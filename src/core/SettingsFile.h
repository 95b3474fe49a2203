#pragma once

#include "StoredFile.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

#include <vector>

// The settings file (defualt.ini) in the Windows profile format: "[section]"
// lines followed by "key=value" lines, GB18030 bytes, CR LF. Section and key
// names match without regard to case; the order of sections and keys is kept,
// and lines that no write touches (comments, blank lines, odd spacing) are
// written back byte for byte.
//
// Write-through: every write ends with the file on disk, through one atomic
// rewrite. A Batch groups the writes of one user action into one rewrite.
// Values are read whole (no length limit). The file is read again when it
// changed on disk (an import, another tool).
class SettingsFile : public QObject {
    Q_OBJECT
public:
    explicit SettingsFile(const QString& path, QObject* parent = nullptr);
    ~SettingsFile() override;

    QString path() const { return m_path; }

    QString readString(const QString& section, const QString& key, const QString& def = {});
    // Decimal, or hexadecimal with "0x"; missing or not a number gives def.
    int readInteger(const QString& section, const QString& key, int def);
    bool readBool(const QString& section, const QString& key, bool def);
    bool hasSection(const QString& section);
    bool hasKey(const QString& section, const QString& key);
    // Every key of the section in file order, with its value as stored (the
    // bytes stay valid until the section is written): one pass for a caller
    // that compares many values without decoding them. A plain ASCII key comes
    // without the blanks around it; any other key comes as stored, with
    // plainAscii false (such keys match by their decoded, case-folded text).
    using StoredValueVisitor = std::function<void(QByteArrayView key, bool plainAscii, QByteArrayView value)>;
    void visitStoredValues(const QString& section, const StoredValueVisitor& visit);
    QStringList sectionNames();

    // False (and writeFailed) when the file could not be written, or when the
    // names or the value cannot be stored so that they read back the same.
    bool writeString(const QString& section, const QString& key, const QString& value);
    bool writeInteger(const QString& section, const QString& key, int value);
    bool writeBool(const QString& section, const QString& key, bool value);
    // A section name reads back as written: not empty, no blanks around it,
    // no line break or "]".
    static bool isStorableSection(const QString& name);
    // A key reads back as written: not empty, no blanks around it, no line
    // break or "=", not led by "[" or ";".
    static bool isStorableKey(const QString& key);
    // Removes every line of `key` from the section (the first of that name,
    // the one reads use); the section's other lines stay.
    bool removeKey(const QString& section, const QString& key);
    // Removes every section of that name with all its lines.
    bool removeSection(const QString& section);
    // Makes section `to` hold the lines `from` holds, as they stand (no key is
    // decoded or encoded again): `to` keeps its header line, or gets one at the
    // end of the file when it is new. A missing `from` empties `to` (a missing
    // `to` stays missing), so every key reads the same from both afterwards.
    // Copying a section onto itself changes nothing. False (and writeFailed)
    // when `to` cannot be stored or the file could not be written.
    bool copySection(const QString& from, const QString& to);

    // One user action, one rewrite. Writes inside the batch change memory
    // only; commit() writes the file once. A refused write or a failed
    // commit drops every change of the batch: memory goes back to what the
    // file holds. A batch destroyed without commit() commits.
    class Batch {
    public:
        explicit Batch(SettingsFile& file);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        bool commit();

    private:
        SettingsFile* m_file;
        bool m_done = false;
    };

    QString lastError() const { return m_lastError; }
    int rewriteCount() const { return m_rewrites; }  // for tests and benchmarks
    qint64 bytesWritten() const { return m_bytesWritten; }

signals:
    void writeFailed(const QString& error);

private:
    // A section or key name in the indexes below: names match as their
    // toCaseFolded() forms do, but plain ASCII names (nearly every lookup) are
    // compared and hashed in place, without building a folded copy.
    struct FoldedName {
        QString name;
        static bool same(const QString& a, const QString& b) noexcept;
        static size_t hash(const QString& name, size_t seed) noexcept;
        friend bool operator==(const FoldedName& a, const FoldedName& b) noexcept { return same(a.name, b.name); }
        friend size_t qHash(const FoldedName& key, size_t seed) noexcept { return hash(key.name, seed); }
    };
    // A value is decoded when first read: most lines of a large file (clause
    // texts during a delete, say) are only ever copied as their bytes.
    struct Line {
        QByteArray raw;  // the line as it stands in the file, without its break
        QString key;  // empty for comments and blank lines
        bool isEntry = false;
        qsizetype valueAt = 0;  // where the value starts in raw
        mutable bool decoded = false;
        mutable QString value;
        const QString& text() const;
    };
    // A section's lines are split into keys only when first used: start-up
    // with thousands of sites then costs one scan of the file, and a rewrite
    // copies every section no write changed as the bytes they were.
    struct Section {
        QByteArray rawHeader;  // empty for the lines before the first section
        QString name;
        bool isPreamble = false;
        bool parsed = false;
        bool edited = false;  // a write changed the lines: rawBody no longer holds them
        QByteArray rawBody;  // the lines as read, breaks included, until edited
        std::vector<Line> lines;
        int entries = 0;  // lines holding a key
        QHash<FoldedName, int> keyIndex;  // key -> first line holding it; only past kSmallSection
        bool indexed = false;  // keyIndex is made and kept up to date
    };

    void reloadIfChanged();
    void load();
    void parse(const QByteArray& bytes);
    void rememberDiskState();
    static constexpr int kSmallSection = 8;
    Section* findSection(const QString& name);
    static void buildKeyIndex(Section& section);
    static int findKey(Section& section, const QString& key);  // the line, or -1
    static void ensureParsed(Section& section);
    const Line* findLine(const QString& section, const QString& key);
    bool storeInMemory(const QString& section, const QString& key, const QString& value);
    Section* addSection(const QString& name);
    bool copyInMemory(const QString& from, const QString& to);
    bool flush();
    void beginBatch();
    bool endBatch();
    void fail(const QString& error);

    QString m_path;
    std::vector<Section> m_sections;
    QHash<FoldedName, int> m_sectionIndex;  // name -> first section of that name
    int m_lastSection = -1;  // the section the last lookup found
    int m_batchDepth = 0;
    bool m_batchFailed = false;
    bool m_dirty = false;
    bool m_diskKnown = false;
    bool m_readFailed = false;
    QDateTime m_diskTime;
    qint64 m_diskSize = -1;
    QString m_lastError;
    int m_rewrites = 0;
    qint64 m_bytesWritten = 0;
};
