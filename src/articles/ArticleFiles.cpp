#include "ArticleFiles.h"

#include "InterfaceTexts.h"
#include "SettingsFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifndef Q_OS_WIN
#include <cerrno>
#include <dirent.h>
#endif

namespace {

StoredFile::WriteFault& renameFault()
{
    static StoredFile::WriteFault fault;
    return fault;
}

std::filesystem::path nativePath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

WriteResult renameFailure(const QString& path, const QString& reason)
{
    return WriteResult{false, QStringLiteral("%1: %2").arg(QFileInfo(path).absoluteFilePath(), reason)};
}

constexpr const char* kClauseNamePrefix = "ShowClauseDisplay";
constexpr const char* kClauseNameCopyPrefix = "ShowrtClauseDisplayDefault";

// Key names are built once: a delete reads and writes them for every article
// behind the removed ones.
template <int Count>
struct NumberedKeys {
    explicit NumberedKeys(const char* prefix)
    {
        for (int i = 1; i <= Count; ++i)
            names[size_t(i)] = QLatin1String(prefix) + QString::number(i);
    }
    std::array<QString, Count + 1> names;
};

const QString& clauseText(int i)
{
    static const NumberedKeys<ClauseCount> keys("ShowClause");
    return keys.names[size_t(i)];
}

const QString& clauseName(int i)
{
    static const NumberedKeys<ClauseCount> keys(kClauseNamePrefix);
    return keys.names[size_t(i)];
}

const QString& clauseNameCopy(int i)
{
    static const NumberedKeys<ClauseCount> keys(kClauseNameCopyPrefix);
    return keys.names[size_t(i)];
}

const QString& paragraphTitle(int j)
{
    static const NumberedKeys<ParagraphCount> keys("DetailClauseDisplay");
    return keys.names[size_t(j)];
}

}  // namespace

void ArticleFiles::setRenameFault(StoredFile::WriteFault fault) { renameFault() = std::move(fault); }

ArticleFiles::ArticleFiles(SettingsFile& settings, const QString& dataFolder)
    : m_settings(settings), m_dataFolder(dataFolder)
{
    if (!m_dataFolder.isEmpty() && !m_dataFolder.endsWith(QLatin1Char('/'))
        && !m_dataFolder.endsWith(QLatin1Char('\\')))
        m_dataFolder += QLatin1Char('/');
    m_pathNamesSections = SettingsFile::isStorableSection(contentPath(0, 1));
}

ArticleFiles::~ArticleFiles() = default;

QString ArticleFiles::articleListPath() const { return m_dataFolder + QLatin1String("articles.txt"); }

QString ArticleFiles::contentPath(int n, int j) const { return m_dataFolder + contentFileName(n, j); }

QString ArticleFiles::contentFileName(int n, int j)
{
    QString name;
    name.reserve(24);
    name.append(QLatin1String("Content")).append(QString::number(n)).append(QLatin1Char('_'));
    return name.append(QString::number(j)).append(QLatin1String(".txt"));
}

std::optional<QSet<QString>> ArticleFiles::contentFilesPresent() const
{
    QSet<QString> names;
#ifdef Q_OS_WIN
    std::error_code error;
    for (std::filesystem::directory_iterator it(nativePath(m_dataFolder), error), end; !error && it != end;
         it.increment(error)) {
        const QString name = QString::fromStdWString(it->path().filename().wstring());
        if (name.startsWith(QLatin1String("Content")))
            names.insert(name);
    }
    if (error)
        return std::nullopt;
#else
    // A plain listing: thousands of entries, and nothing but their names is needed.
    DIR* folder = ::opendir(QFile::encodeName(m_dataFolder).constData());
    if (!folder)
        return std::nullopt;
    bool complete = true;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(folder);
        if (!entry) {
            complete = errno == 0;
            break;
        }
        if (std::strncmp(entry->d_name, "Content", 7) == 0)
            names.insert(QFile::decodeName(entry->d_name));
    }
    ::closedir(folder);
    if (!complete)
        return std::nullopt;
#endif
    return names;
}

QString ArticleFiles::holderPath(int n, int j) const
{
    if (m_renamePlan && m_renames)
        if (const auto source = m_renamePlan->renameInto(n, j); source && source->step >= m_renames->stepsDone())
            return contentPath(source->from, j);
    return contentPath(n, j);
}

void ArticleFiles::renameInBackground(const ArticleRenumbering& plan, BackgroundRenames::Last last,
                                      BackgroundRenames::Finished finished)
{
    waitForRenames();
    m_renamePlan = plan;
    m_renames = std::make_unique<BackgroundRenames>(
        plan.renameCount(), [this, plan](size_t i) { return plan.renameStep(*this, i); }, std::move(last),
        std::move(finished));
}

bool ArticleFiles::renamesRunning() { return m_renames && m_renames->running(); }

QStringList ArticleFiles::waitForRenames()
{
    if (!m_renames)
        return {};
    const QStringList failures = m_renames->wait();
    m_renames.reset();
    m_renamePlan.reset();
    return failures;
}

QString ArticleFiles::articleSection(int n) { return QStringLiteral("software%1").arg(n); }
QString ArticleFiles::clauseTextKey(int i) { return clauseText(i); }
QString ArticleFiles::titleKey(int j) { return paragraphTitle(j); }

QString ArticleFiles::titleSection(int n, int j) const
{
    if (j == 1)
        return articleSection(n);
    // Named by the content file's full path, as the Windows original names it.
    // A path that cannot be a section name ("]" or a line break in a folder's
    // name) gives the file name under "./", which the look-up by file name
    // finds wherever the folder moves.
    return m_pathNamesSections ? contentPath(n, j - 1) : QStringLiteral("./") + contentFileName(n, j - 1);
}

QString ArticleFiles::defaultClauseName(int i) { return uiText(TextId::ClauseNamePart) + QString::number(i); }

QString ArticleFiles::defaultParagraphTitle(int j) { return uiText(TextId::ParagraphNamePart) + QString::number(j); }

// Under simplified Chinese both directions give the text back unchanged.
QString ArticleFiles::shownClauseName(int i, const QString& stored)
{
    return stored == defaultClauseName(i) ? InterfaceTexts::format(TextId::ClauseNameFormat, i) : stored;
}

QString ArticleFiles::storedClauseName(int i, const QString& shown)
{
    return shown == InterfaceTexts::format(TextId::ClauseNameFormat, i) ? defaultClauseName(i) : shown;
}

QString ArticleFiles::shownParagraphTitle(int j, const QString& stored)
{
    return stored == defaultParagraphTitle(j) ? InterfaceTexts::format(TextId::ParagraphNameFormat, j) : stored;
}

QString ArticleFiles::storedParagraphTitle(int j, const QString& shown)
{
    return shown == InterfaceTexts::format(TextId::ParagraphNameFormat, j) ? defaultParagraphTitle(j) : shown;
}

namespace {

QString fileNameOf(const QString& section)
{
    const qsizetype cut = std::max(section.lastIndexOf(QLatin1Char('/')), section.lastIndexOf(QLatin1Char('\\')));
    return cut < 0 ? QString() : section.mid(cut + 1).toLower();
}

}  // namespace

QStringList ArticleFiles::sectionsNamedLike(const QString& fileName)
{
    if (m_titleIndexWanted && !m_titleIndex)
        m_titleIndex = titleSectionsByFileName();
    if (m_titleIndex)
        return m_titleIndex->value(fileName.toLower());
    QStringList found;
    for (const QString& section : m_settings.sectionNames())
        if (fileNameOf(section) == fileName.toLower())
            found << section;
    return found;
}

QHash<QString, QStringList> ArticleFiles::titleSectionsByFileName()
{
    QHash<QString, QStringList> index;
    for (const QString& section : m_settings.sectionNames()) {
        const QString fileName = fileNameOf(section);
        if (fileName.startsWith(QLatin1String("content")))
            index[fileName] << section;
    }
    return index;
}

QString ArticleFiles::readTitle(int n, int j)
{
    const QString section = titleSection(n, j);
    const QString key = titleKey(j);
    if (m_settings.hasKey(section, key))
        return m_settings.readString(section, key);
    if (j == 1)
        return defaultParagraphTitle(j);
    // The section is named by the content file's full path, which changes
    // when the data folder moves. The last such section in the file is the
    // one written most recently.
    const QStringList sections = sectionsNamedLike(QFileInfo(contentPath(n, j - 1)).fileName());
    for (auto it = sections.crbegin(); it != sections.crend(); ++it)
        if (m_settings.hasKey(*it, key))
            return m_settings.readString(*it, key);
    return defaultParagraphTitle(j);
}

ArticleBuffer ArticleFiles::readKeys(int n)
{
    ArticleBuffer article;
    const QString section = articleSection(n);
    for (int i = 1; i <= ClauseCount; ++i) {
        article.ClauseText[i] = m_settings.readString(section, clauseTextKey(i));
        article.ClauseName[i] = m_settings.readString(section, clauseName(i), defaultClauseName(i));
    }
    for (int j = 1; j <= ParagraphCount; ++j)
        article.ParagraphTitle[j] = readTitle(n, j);
    return article;
}

ArticleBuffer ArticleFiles::read(int n)
{
    ArticleBuffer article = readKeys(n);
    const auto guard = m_renames ? m_renames->lock() : std::unique_lock<std::mutex>();
    for (int j = 1; j <= ParagraphCount; ++j)
        article.ParagraphText[j] = StoredFile::readText(holderPath(n, j)).value_or(QString());
    return article;
}

bool ArticleFiles::writeKeys(int n, const ArticleBuffer& article)
{
    const QString section = articleSection(n);
    bool ok = true;
    for (int i = 1; i <= ClauseCount; ++i) {
        ok = m_settings.writeString(section, clauseTextKey(i), article.ClauseText[i]) && ok;
        ok = m_settings.writeString(section, clauseName(i), article.ClauseName[i]) && ok;
        // Never read back; kept equal to the display name as the original does.
        ok = m_settings.writeString(section, clauseNameCopy(i), article.ClauseName[i]) && ok;
    }
    for (int j = 1; j <= ParagraphCount; ++j)
        ok = m_settings.writeString(titleSection(n, j), titleKey(j), article.ParagraphTitle[j]) && ok;
    return ok;
}

namespace {

// i when `key` is `prefix` followed by the number i (1..ClauseCount, as
// QString::number writes it), compared as the settings file compares ASCII
// keys; else 0.
int clauseNumberOf(QByteArrayView key, const char* prefix)
{
    const qsizetype length = qsizetype(std::strlen(prefix));
    if (key.size() <= length || key.size() > length + 2 || qstrnicmp(key.data(), prefix, size_t(length)) != 0)
        return 0;
    int i = 0;
    for (char c : key.sliced(length)) {
        if (c < '0' || c > '9' || (i == 0 && c == '0'))
            return 0;
        i = i * 10 + (c - '0');
    }
    return i <= ClauseCount ? i : 0;
}

}  // namespace

// One pass over the section instead of two look-ups per clause: a delete
// asks this of every article behind the removed one.
std::array<bool, ClauseCount + 1> ArticleFiles::namesEqualCopies(const QString& section)
{
    std::array<std::optional<QByteArrayView>, ClauseCount + 1> names;
    std::array<std::optional<QByteArrayView>, ClauseCount + 1> copies;
    bool foreignKeys = false;  // a key of other bytes: it may decode to one of the names
    m_settings.visitStoredValues(section, [&](QByteArrayView key, bool plainAscii, QByteArrayView value) {
        foreignKeys = foreignKeys || !plainAscii;
        // The first line of a key is the one that counts, as in every read.
        if (const int i = clauseNumberOf(key, kClauseNamePrefix); i && !names[size_t(i)])
            names[size_t(i)] = value;
        else if (const int c = clauseNumberOf(key, kClauseNameCopyPrefix); c && !copies[size_t(c)])
            copies[size_t(c)] = value;
    });
    std::array<bool, ClauseCount + 1> same{};
    if (foreignKeys)
        return same;  // the look-ups by key decide
    for (size_t i = 1; i <= ClauseCount; ++i)
        same[i] = names[i] && copies[i] && *names[i] == *copies[i];
    return same;
}

bool ArticleFiles::moveKeys(int from, int to)
{
    const QString source = articleSection(from);
    const QString target = articleSection(to);
    // The display name copies end equal to the names as read, defaults included.
    // No stored value holds a line break: a missing copy reads as one.
    static const QString missing(QLatin1Char('\n'));
    std::array<QString, ClauseCount + 1> names;
    std::array<bool, ClauseCount + 1> copyDiffers{};
    const std::array<bool, ClauseCount + 1> sameBytes = namesEqualCopies(source);
    for (int i = 1; i <= ClauseCount; ++i) {
        if (sameBytes[size_t(i)])
            continue;  // nearly always: the texts need no decoding
        names[size_t(i)] = m_settings.readString(source, clauseName(i), missing);
        if (names[size_t(i)] == missing)
            names[size_t(i)] = defaultClauseName(i);
        const QString copy = m_settings.readString(source, clauseNameCopy(i), missing);
        copyDiffers[size_t(i)] = copy != names[size_t(i)];
    }
    // Missing keys read as their defaults from the copy too.
    bool ok = m_settings.copySection(source, target);
    for (int i = 1; i <= ClauseCount; ++i)
        if (copyDiffers[size_t(i)])
            ok = m_settings.writeString(target, clauseNameCopy(i), names[size_t(i)]) && ok;
    for (int j = 2; j <= ParagraphCount; ++j) {
        const QString titleFrom = titleSection(from, j);
        // A title found only under another data folder's section, or the
        // default one, is written under this folder's name as it was shown.
        if (m_settings.hasKey(titleFrom, titleKey(j)))
            ok = m_settings.copySection(titleFrom, titleSection(to, j)) && ok;
        else
            ok = m_settings.writeString(titleSection(to, j), titleKey(j), readTitle(from, j)) && ok;
    }
    return ok;
}

WriteResult ArticleFiles::writeContent(int n, int j, const QString& text)
{
    const auto guard = m_renames ? m_renames->lock() : std::unique_lock<std::mutex>();
    return StoredFile::writeText(holderPath(n, j), text);
}

WriteResult ArticleFiles::renameContent(int from, int to, int j)
{
    const QString source = contentPath(from, j);
    const QString target = contentPath(to, j);
    if (renameFault()) {
        const QString reason = renameFault()(target);
        if (!reason.isEmpty())
            return renameFailure(target, reason);
    }
    // Replaces the target in one step (QFile::rename refuses an existing
    // target). No flush: a rename moves no data.
    std::error_code error;
    std::filesystem::rename(nativePath(source), nativePath(target), error);
    if (error)
        return renameFailure(target, QString::fromLocal8Bit(error.message()));
    return {};
}

QStringList ArticleFiles::write(int n, const ArticleBuffer& article, const std::function<bool()>& alsoInBatch)
{
    QStringList errors;
    {
        SettingsFile::Batch batch(m_settings);
        bool stored = writeKeys(n, article);
        if (alsoInBatch)
            stored = alsoInBatch() && stored;
        if (!batch.commit() || !stored)
            errors << m_settings.lastError();
    }
    for (int j = 1; j <= ParagraphCount; ++j) {
        const WriteResult result = writeContent(n, j, article.ParagraphText[j]);
        if (!result)
            errors << result.error;
    }
    return errors;
}
