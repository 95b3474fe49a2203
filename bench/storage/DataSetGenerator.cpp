#include "DataSetGenerator.h"

#include "StoredFile.h"
#include "TextCodec.h"

#include <QStringList>

namespace {

// Common characters of forum posts and advertisements, and a few that only
// GB18030 (not GBK) can store.
const QString& characterPool()
{
    static const QString pool =
        QString::fromUtf8("我们公司专业提供各类产品服务欢迎新老客户来电咨询价格优惠质量保证全国包邮"
                          "本店长期招聘销售代理加盟商合作共赢诚信经营售后无忧免费送货上门安装调试维修"
                          "网站论坛信息发布文章标题内容段落短句联系方式地址电话手机邮箱微信号码时间"
                          "北京上海广州深圳杭州南京成都武汉西安重庆天津苏州郑州长沙东莞青岛沈阳宁波"
                          "𠀀𠀁𪚥");
    return pool;
}

// A small linear congruential generator: the same texts on every run.
class TextMaker {
public:
    explicit TextMaker(quint32 seed) : m_state(seed * 2654435761u + 1) {}

    QString chinese(int length)
    {
        const QString& pool = characterPool();
        QString text;
        text.reserve(length * 2);
        for (int i = 0; i < length; ++i) {
            int at = int(next() % quint32(pool.size()));
            if (pool.at(at).isLowSurrogate())
                --at;
            text += pool.at(at);
            if (pool.at(at).isHighSurrogate())
                text += pool.at(at + 1);
        }
        return text;
    }

    QString paragraph()
    {
        QStringList lines;
        const int count = 3 + int(next() % 4);
        for (int i = 0; i < count; ++i)
            lines << chinese(40 + int(next() % 60)) + QString::fromUtf8("。");
        return lines.join(QLatin1Char('\n'));
    }

private:
    quint32 next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }

    quint32 m_state;
};

void addLine(QByteArray& out, const QString& line)
{
    out += TextCodec::encode(line);
    out += "\r\n";
}

void addKey(QByteArray& out, const QString& key, const QString& value) { addLine(out, key + QLatin1Char('=') + value); }

void writeGeneralSection(QByteArray& ini, const DataSetShape& shape)
{
    addLine(ini, QStringLiteral("[defualt]"));
    addKey(ini, QStringLiteral("SoftwareInd"), QString::number(shape.storedArticle));
    addKey(ini, QStringLiteral("SiteInd"), QString::number(shape.storedSite));
    addKey(ini, QStringLiteral("EditPanelWidth"), QStringLiteral("400"));
    addKey(ini, QStringLiteral("CurArticlePnlWidth"), QStringLiteral("200"));
    addKey(ini, QStringLiteral("CbEditURL"), QStringLiteral("1"));
    addKey(ini, QStringLiteral("Edit"), QStringLiteral("1"));
}

void writeSites(QByteArray& ini, const DataSetShape& shape)
{
    for (int p = 0; p < shape.sites; ++p) {
        addLine(ini, QStringLiteral("[%1]").arg(p));
        const bool stored = p == shape.storedSite && !shape.storedSiteUrl.isEmpty();
        addKey(ini, QStringLiteral("url"), stored ? shape.storedSiteUrl : shape.urlPattern.arg(p));
        addKey(ini, QStringLiteral("User"), QString::fromUtf8("用户%1").arg(p));
        addKey(ini, QStringLiteral("Password"), QStringLiteral("pw-%1-secret").arg(p * 7919 % 100003));
    }
    // Identifier sections are named by the site, keyed by the article.
    for (int p = 0; p < shape.sites; ++p) {
        addLine(ini, QLatin1Char('[') + DataSetGenerator::siteName(p) + QLatin1Char(']'));
        for (int k = 0; k < shape.identifiersPerSite && shape.articles > 0; ++k) {
            const int article = (p * 37 + k * 101) % shape.articles;
            addKey(ini, DataSetGenerator::articleName(article), QStringLiteral("ID%1-%2").arg(p).arg(article));
        }
    }
}

}  // namespace

namespace DataSetGenerator {

QString siteName(int position) { return QString::fromUtf8("信息发布网站%1号").arg(position); }
QString articleName(int index) { return QString::fromUtf8("产品推广文章第%1篇").arg(index); }

bool write(const QString& folder, const DataSetShape& shape)
{
    QByteArray ini;
    ini.reserve(qsizetype(shape.sites) * 700 + qsizetype(shape.articles) * 3000);
    writeGeneralSection(ini, shape);
    writeSites(ini, shape);

    QStringList articleNames;
    for (int n = 0; n < shape.articles; ++n) {
        articleNames << articleName(n);
        TextMaker text{quint32(n)};
        addLine(ini, QStringLiteral("[software%1]").arg(n));
        for (int i = 1; i <= 15; ++i) {
            const QString name = QString::fromUtf8("短句") + QString::number(i);
            addKey(ini, QStringLiteral("ShowClause%1").arg(i), text.chinese(12 + i));
            addKey(ini, QStringLiteral("ShowClauseDisplay%1").arg(i), name);
            addKey(ini, QStringLiteral("ShowrtClauseDisplayDefault%1").arg(i), name);
        }
        addKey(ini, QStringLiteral("DetailClauseDisplay1"), text.chinese(6));
        for (int j = 1; j <= 3; ++j) {
            const QString path = folder + QStringLiteral("Content%1_%2.txt").arg(n).arg(j);
            if (j < 3) {
                // The title of paragraph j + 1 lives in the section named by this file's path.
                addLine(ini, QLatin1Char('[') + path + QLatin1Char(']'));
                addKey(ini, QStringLiteral("DetailClauseDisplay%1").arg(j + 1), text.chinese(6));
            }
            if (!StoredFile::writeText(path, text.paragraph()))
                return false;
        }
    }

    QStringList siteNames;
    for (int p = 0; p < shape.sites; ++p)
        siteNames << siteName(p);
    return StoredFile::writeBytes(folder + QStringLiteral("defualt.ini"), ini)
        && StoredFile::writeLines(folder + QStringLiteral("SDUrl.txt"), siteNames)
        && StoredFile::writeLines(folder + QStringLiteral("articles.txt"), articleNames);
}

}  // namespace DataSetGenerator
