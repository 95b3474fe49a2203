#include "InterfaceTexts.h"

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

}  // namespace

void LoadInterfaceTexts()
{
    static const char* const texts[SlotCount] = {
        "网址列表", "文章列表", "编辑", "文章内容", "文章编辑", "文章名称", "短句名称", "快捷键",
        "短句内容", "短句%d", "段落%d", "请填入一个文章名", "段落名称%d", "网址编辑", "新增网址",
        "编辑网址", "请输入一个网站名称", "请输入一个网址", "网站名称", "网址URL", "用户名(Ctrl+U)",
        "密码(Ctrl+W)", "可以为空", "段落", "请先加入一个文章", "已经保存右边『文章内容』中的修改",
        "退出全屏显示", "全屏显示", "导出文件夹选择", "zevi导出文件\\", "正在导出文档...",
        "成功导出档到:%s", "导入文件夹选择", "正在导入文档...", "成功导入文档:%s", "上移", "下移",
        "新增网站", "修改网站", "删除网站", "关闭当前页", "关闭所有页", "鼠标右键有更多功能",
        "打开网址栏中的网页", "刷新网页", "全屏显示", "后退到上一页", "下一页", "退出",
        "鼠标点击可进入官方主页", "短句", "退回", "网址文章唯一ID(Ctrl+O)",
        "(快捷鍵快捷键：Ctrl+%d)",
    };
    QStringList table;
    for (const char* t : texts)
        table << QString::fromUtf8(t);
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

QString productName() { return QString::fromUtf8("QVB信息zevi"); }
QString homePageAddress() { return QString::fromLatin1(VendorHost); }
QString onlineHelpAddress() { return homePageAddress() + QLatin1String("demo/issuehelp/"); }
QString updateAddress() { return homePageAddress() + QLatin1String("download/update/"); }
double versionNumber() { return 2.3; }
QString versionText() { return QString::number(versionNumber(), 'f', 1); }

}  // namespace InterfaceTexts
