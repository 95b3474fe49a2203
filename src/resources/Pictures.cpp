#include "Pictures.h"

#include "InterfaceLanguage.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDirIterator>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSvgRenderer>

static void registerPictureResources() { Q_INIT_RESOURCE(pictures); }

namespace Pictures {

namespace {

const char* const PictureFolder = ":/pictures";

struct PictureIndex {
    QHash<QString, QString> pathByKey;  // lower-case name, "<language>/name" for a copy -> resource path
    QStringList names;
};

const PictureIndex& index()
{
    static const PictureIndex built = [] {
        initResources();
        PictureIndex idx;
        const QDir top(QString::fromLatin1(PictureFolder));
        QDirIterator it(top.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info(it.next());
            const QString suffix = info.suffix().toLower();
            if (suffix != QLatin1String("svg") && suffix != QLatin1String("jpg") && suffix != QLatin1String("png"))
                continue;
            // A picture with words on it has a copy per interface language in a
            // folder named after the language ("en/BtnClose.svg").
            const QString folder = top.relativeFilePath(info.path());
            const bool copy = folder != QLatin1String(".");
            idx.pathByKey.insert((copy ? folder + QLatin1Char('/') : QString()) + info.completeBaseName().toLower(),
                                 info.filePath());
            if (!copy)
                idx.names << info.completeBaseName();
        }
        idx.names.sort(Qt::CaseInsensitive);
        return idx;
    }();
    return built;
}

// The copy for the interface's language where there is one.
QString pathOf(const QString& name)
{
    const QString key = name.trimmed().toLower();
    if (InterfaceLanguages::current() != InterfaceLanguage::SimplifiedChinese) {
        const QString copy = index().pathByKey.value(InterfaceLanguages::fileSuffix(InterfaceLanguages::current())
                                                     + QLatin1Char('/') + key);
        if (!copy.isEmpty())
            return copy;
    }
    return index().pathByKey.value(key);
}

bool isSvg(const QString& path) { return path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive); }

// The words on each face with words, as the interface's language says them: a
// screen reader reads out what the picture shows.
QString faceWords(const QString& name)
{
    static const QHash<QString, const char*> words = {
        {QStringLiteral("btnaddurlbtn"), QT_TRANSLATE_NOOP("Pictures", "新增")},
        {QStringLiteral("btnaddarticle2"), QT_TRANSLATE_NOOP("Pictures", "新增")},
        {QStringLiteral("btnupdateasite"), QT_TRANSLATE_NOOP("Pictures", "修改")},
        {QStringLiteral("btnupdatearticlecont"), QT_TRANSLATE_NOOP("Pictures", "修改")},
        {QStringLiteral("btndeleteasite"), QT_TRANSLATE_NOOP("Pictures", "删除")},
        {QStringLiteral("btndeletearticlecont"), QT_TRANSLATE_NOOP("Pictures", "删除")},
        {QStringLiteral("btnihexport"), QT_TRANSLATE_NOOP("Pictures", "导出")},
        {QStringLiteral("btnihimport"), QT_TRANSLATE_NOOP("Pictures", "导入")},
        {QStringLiteral("btnihhelpdoc"), QT_TRANSLATE_NOOP("Pictures", "帮助")},
        {QStringLiteral("btnihaboutus"), QT_TRANSLATE_NOOP("Pictures", "关于")},
        {QStringLiteral("btnihexit"), QT_TRANSLATE_NOOP("Pictures", "退出")},
        {QStringLiteral("btnfullscreen1"), QT_TRANSLATE_NOOP("Pictures", "全屏")},
        {QStringLiteral("btnfullscreen2"), QT_TRANSLATE_NOOP("Pictures", "退出全屏")},
        {QStringLiteral("btnclose"), QT_TRANSLATE_NOOP("Pictures", "关闭")},
        {QStringLiteral("confirm"), QT_TRANSLATE_NOOP("Pictures", "确定")},
        {QStringLiteral("cancel"), QT_TRANSLATE_NOOP("Pictures", "取消")},
        {QStringLiteral("newdir"), QT_TRANSLATE_NOOP("Pictures", "新建文件夹")},
    };
    const char* const source = words.value(name.trimmed().toLower());
    return source ? QCoreApplication::translate("Pictures", source) : QString();
}

qreal screenPixelRatio() { return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0; }

QPixmap renderSvg(const QString& path, QSize size)
{
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return {};
    if (size.isEmpty())
        size = renderer.defaultSize();
    const qreal ratio = screenPixelRatio();
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
    painter.end();
    image.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(image);
}

// The hover face: the same picture under a faint blue wash, so a flat picture
// button still answers the pointer.
QPixmap hoverFace(const QPixmap& face)
{
    QPixmap lit = face;
    QPainter painter(&lit);
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    painter.fillRect(QRect(QPoint(0, 0), face.deviceIndependentSize().toSize()), QColor(43, 123, 185, 28));
    return lit;
}

}  // namespace

void initResources()
{
    static const bool done = (registerPictureResources(), true);
    Q_UNUSED(done);
}

QSize pictureSize(const QString& name)
{
    const QString path = pathOf(name);
    if (path.isEmpty())
        return {};
    if (isSvg(path))
        return QSvgRenderer(path).defaultSize();
    return QImage(path).size();
}

bool exists(const QString& name) { return !pathOf(name).isEmpty(); }

QStringList names() { return index().names; }

QIcon applicationIcon()
{
    initResources();
    return QIcon(QStringLiteral(":/qvbzevi.svg"));
}

}  // namespace Pictures

QPixmap picture(const QString& name, QSize size)
{
    const QString path = Pictures::pathOf(name);
    if (path.isEmpty())
        return {};
    if (Pictures::isSvg(path))
        return Pictures::renderSvg(path, size);
    QPixmap pixmap(path);
    if (pixmap.isNull() || size.isEmpty() || pixmap.size() == size)
        return pixmap;
    return pixmap.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

bool LoadButtonPicture(QAbstractButton* button, const QString& name)
{
    const QString words = Pictures::faceWords(name);
    if (button && !words.isEmpty())
        button->setAccessibleName(words);
    const QString path = Pictures::pathOf(name);
    const bool isFace = Pictures::isSvg(path) || path.endsWith(QLatin1String(".png"));
    if (!button || !isFace)
        return false;
    const QPixmap face = picture(name);
    if (face.isNull())
        return false;
    QIcon icon;
    icon.addPixmap(face, QIcon::Normal);
    icon.addPixmap(Pictures::hoverFace(face), QIcon::Active);
    button->setIcon(icon);
    button->setIconSize(face.deviceIndependentSize().toSize());
    return true;
}

bool LoadButtonPicture(QAbstractButton* button, const QString& name, QStyle::StandardPixmap standIn)
{
    if (LoadButtonPicture(button, name))
        return true;
    if (button)
        button->setIcon(button->style()->standardIcon(standIn));
    return false;
}

bool LoadJpegPicture(QLabel* label, const QString& name)
{
    const QString path = Pictures::pathOf(name);
    if (!label || !path.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive))
        return false;
    const QPixmap pixmap(path, "JPG");
    if (pixmap.isNull())
        return false;
    label->setPixmap(pixmap);
    return true;
}
