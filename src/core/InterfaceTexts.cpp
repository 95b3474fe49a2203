#include "InterfaceTexts.h"

#include <QCoreApplication>
#include <QStringList>

namespace InterfaceTexts {

namespace {

// The vendor's web site; the three addresses of the program live below it.
const char* const VendorHost = "http://www.qvbzevi.com/";

QStringList& textTable()
{
    static QStringList table;
    return table;
}

// The source texts in slot order: simplified Chinese, shown as they are while no
// translator is loaded. lupdate collects them by this context, spelled out in each
// entry because it reads only literals. The slots that name stored things (the
// default clause name and paragraph title, the export folder) are not translation
// texts: a data folder holds the same names in every language.
const char* const Context = "InterfaceTexts";
const char* const SourceTexts[SlotCount] = {
    QT_TRANSLATE_NOOP("InterfaceTexts", "网址列表"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "文章列表"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "编辑"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "文章内容"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "文章编辑"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "文章名称"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "短句名称"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "快捷键"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "短句内容"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "短句%d"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "段落%d"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "请填入一个文章名"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "段落名称%d"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "网址编辑"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "新增网址"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "编辑网址"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "请输入一个网站名称"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "请输入一个网址"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "网站名称"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "网址URL"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "用户名(Ctrl+U)"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "密码(Ctrl+W)"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "可以为空"),
    "段落",  // stored: never translated
    QT_TRANSLATE_NOOP("InterfaceTexts", "请先加入一个文章"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "已经保存右边『文章内容』中的修改"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "退出全屏显示"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "全屏显示"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "导出文件夹选择"),
    "zevi导出文件\\",  // stored: never translated
    QT_TRANSLATE_NOOP("InterfaceTexts", "正在导出文档..."),
    QT_TRANSLATE_NOOP("InterfaceTexts", "成功导出档到:%s"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "导入文件夹选择"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "正在导入文档..."),
    QT_TRANSLATE_NOOP("InterfaceTexts", "成功导入文档:%s"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "上移"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "下移"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "新增网站"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "修改网站"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "删除网站"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "关闭当前页"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "关闭所有页"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "鼠标右键有更多功能"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "打开网址栏中的网页"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "刷新网页"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "全屏显示"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "后退到上一页"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "下一页"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "退出"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "鼠标点击可进入官方主页"),
    "短句",  // stored: never translated
    QT_TRANSLATE_NOOP("InterfaceTexts", "退回"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "网址文章唯一ID(Ctrl+O)"),
    QT_TRANSLATE_NOOP("InterfaceTexts", "(快捷鍵快捷键：Ctrl+%d)"),
};

}  // namespace

bool isStoredName(TextId id)
{
    return id == TextId::ParagraphNamePart || id == TextId::ClauseNamePart || id == TextId::ExportFolderName;
}

void LoadInterfaceTexts()
{
    QStringList table;
    for (int slot = 1; slot <= SlotCount; ++slot) {
        const char* source = SourceTexts[slot - 1];
        table << (isStoredName(TextId(slot)) ? QString::fromUtf8(source)
                                             : QCoreApplication::translate(Context, source));
    }
    textTable() = table;
}

const QString& text(TextId id)
{
    if (textTable().isEmpty())
        LoadInterfaceTexts();
    return textTable().at(int(id) - 1);
}

QString format(TextId id, int number)
{
    QString out = text(id);
    const qsizetype at = out.indexOf(QLatin1String("%d"));
    return at < 0 ? out : out.replace(at, 2, QString::number(number));
}

QString format(TextId id, const QString& value)
{
    QString out = text(id);
    const qsizetype at = out.indexOf(QLatin1String("%s"));
    return at < 0 ? out : out.replace(at, 2, value);
}

QString productName()
{
    //: The product's name, in window captions and message boxes. Captions put the
    //: version right after it ("QVB信息zevi2.3"): a language that separates its
    //: words ends the name with a space.
    return QCoreApplication::translate("InterfaceTexts", "QVB信息zevi");
}
QString homePageAddress() { return QString::fromLatin1(VendorHost); }
QString onlineHelpAddress() { return homePageAddress() + QLatin1String("demo/issuehelp/"); }
QString updateAddress() { return homePageAddress() + QLatin1String("download/update/"); }
double versionNumber() { return 2.3; }
QString versionText() { return QString::number(versionNumber(), 'f', 1); }

}  // namespace InterfaceTexts
