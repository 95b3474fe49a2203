#include "ArticleFiles.h"

#include "InterfaceTexts.h"
#include "SettingsFile.h"

#include <QFileInfo>

ArticleFiles::ArticleFiles(SettingsFile& settings, const QString& dataFolder)
    : m_settings(settings), m_dataFolder(dataFolder)
{
    if (!m_dataFolder.isEmpty() && !m_dataFolder.endsWith(QLatin1Char('/'))
        && !m_dataFolder.endsWith(QLatin1Char('\\')))
        m_dataFolder += QLatin1Char('/');
}

QString ArticleFiles::articleListPath() const { return m_dataFolder + QLatin1String("articles.txt"); }

QString ArticleFiles::contentPath(int n, int j) const
{
    return m_dataFolder + QStringLiteral("Content%1_%2.txt").arg(n).arg(j);
}

QString ArticleFiles::articleSection(int n) { return QStringLiteral("software%1").arg(n); }
QString ArticleFiles::clauseTextKey(int i) { return QStringLiteral("ShowClause%1").arg(i); }
QString ArticleFiles::titleKey(int j) { return QStringLiteral("DetailClauseDisplay%1").arg(j); }

QString ArticleFiles::titleSection(int n, int j) const
{
    return j == 1 ? articleSection(n) : contentPath(n, j - 1);
}

QString ArticleFiles::defaultClauseName(int i)
{
    return uiText(TextId::ClauseNamePart) + QString::number(i);
}

QString ArticleFiles::defaultParagraphTitle(int j)
{
    return uiText(TextId::ParagraphNamePart) + QString::number(j);
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
    const QString fileName = QFileInfo(contentPath(n, j - 1)).fileName();
    const QString slashed = QLatin1Char('/') + fileName;
    const QString backslashed = QLatin1Char('\\') + fileName;
    const QStringList sections = m_settings.sectionNames();
    for (auto it = sections.crbegin(); it != sections.crend(); ++it) {
        if ((it->endsWith(slashed, Qt::CaseInsensitive) || it->endsWith(backslashed, Qt::CaseInsensitive))
            && m_settings.hasKey(*it, key))
            return m_settings.readString(*it, key);
    }
    return defaultParagraphTitle(j);
}

ArticleBuffer ArticleFiles::read(int n)
{
    ArticleBuffer article;
    const QString section = articleSection(n);
    for (int i = 1; i <= ClauseCount; ++i) {
        article.ClauseText[i] = m_settings.readString(section, clauseTextKey(i));
        article.ClauseName[i] = m_settings.readString(section, QStringLiteral("ShowClauseDisplay%1").arg(i),
                                                      defaultClauseName(i));
    }
    for (int j = 1; j <= ParagraphCount; ++j) {
        article.ParagraphTitle[j] = readTitle(n, j);
        article.ParagraphText[j] = StoredFile::readText(contentPath(n, j)).value_or(QString());
    }
    return article;
}

bool ArticleFiles::writeKeys(int n, const ArticleBuffer& article)
{
    const QString section = articleSection(n);
    bool ok = true;
    for (int i = 1; i <= ClauseCount; ++i) {
        ok = m_settings.writeString(section, clauseTextKey(i), article.ClauseText[i]) && ok;
        ok = m_settings.writeString(section, QStringLiteral("ShowClauseDisplay%1").arg(i), article.ClauseName[i])
             && ok;
        // Never read back; kept equal to the display name as the original does.
        ok = m_settings.writeString(section, QStringLiteral("ShowrtClauseDisplayDefault%1").arg(i),
                                    article.ClauseName[i])
             && ok;
    }
    for (int j = 1; j <= ParagraphCount; ++j)
        ok = m_settings.writeString(titleSection(n, j), titleKey(j), article.ParagraphTitle[j]) && ok;
    return ok;
}

WriteResult ArticleFiles::writeContent(int n, int j, const QString& text)
{
    return StoredFile::writeText(contentPath(n, j), text);
}

QStringList ArticleFiles::write(int n, const ArticleBuffer& article)
{
    QStringList errors;
    {
        SettingsFile::Batch batch(m_settings);
        const bool stored = writeKeys(n, article);
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
