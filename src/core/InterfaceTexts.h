#pragma once

#include <QString>

// Every caption, hint, message and format the program sets at run time, in
// one table (the window layouts only carry placeholders). Slots keep the
// numbers users and translators know them by; each text is a source text of
// Qt's translation system (context "InterfaceTexts").
enum class TextId {
    SiteListCaption = 1,  // "网址列表"
    ArticleListCaption,  // "文章列表"
    EditCheckCaption,  // "编辑"
    ArticleContentCaption,  // "文章内容"
    ArticleEditorCaption,  // "文章编辑"
    ArticleNameLabel,  // "文章名称"
    ClauseNameHeading,  // "短句名称"
    HotkeyHeading,  // "快捷键"
    ClauseTextHeading,  // "短句内容"
    ClauseNameFormat,  // "短句%d"
    ParagraphNameFormat,  // "段落%d"
    ArticleNameEmpty,  // "请填入一个文章名"
    ParagraphTitleFormat,  // "段落名称%d"
    SiteEditorCaption,  // "网址编辑"
    SiteEditorAddCaption,  // "新增网址"
    SiteEditorUpdateCaption,  // "编辑网址"
    SiteNameEmpty,  // "请输入一个网站名称"
    SiteUrlEmpty,  // "请输入一个网址"
    SiteNameLabel,  // "网站名称"
    SiteUrlLabel,  // "网址URL"
    UserNameLabel,  // "用户名(Ctrl+U)"
    PasswordLabel,  // "密码(Ctrl+W)"
    MayBeEmptyNote,  // "可以为空"
    ParagraphNamePart,  // "段落"
    AddArticleFirst,  // "请先加入一个文章"
    ArticleSaved,  // "已经保存右边『文章内容』中的修改"
    LeaveFullScreenHint,  // "退出全屏显示"
    FullScreenHintAfter,  // "全屏显示"
    ExportChooserCaption,  // "导出文件夹选择"
    ExportFolderName,  // "zevi导出文件\"
    Exporting,  // "正在导出文档..."
    ExportedFormat,  // "成功导出档到:%s"
    ImportChooserCaption,  // "导入文件夹选择"
    Importing,  // "正在导入文档..."
    ImportedFormat,  // "成功导入文档:%s"
    MoveUp,  // "上移"
    MoveDown,  // "下移"
    AddWebsite,  // "新增网站"
    UpdateWebsite,  // "修改网站"
    DeleteWebsite,  // "删除网站"
    CloseCurrentTab,  // "关闭当前页"
    CloseAllTabs,  // "关闭所有页"
    SiteListHint,  // "鼠标右键有更多功能"
    RunHint,  // "打开网址栏中的网页"
    RefreshHint,  // "刷新网页"
    FullScreenHint,  // "全屏显示"
    BackHint,  // "后退到上一页"
    ForwardHint,  // "下一页"
    ExitHint,  // "退出"
    AboutPictureHint,  // "鼠标点击可进入官方主页"
    ClauseNamePart,  // "短句"
    BackCaption,  // "退回"
    SiteArticleIdLabel,  // "网址文章唯一ID(Ctrl+O)"
    ParagraphHotkeyFormat,  // "(快捷鍵快捷键：Ctrl+%d)"
};

namespace InterfaceTexts {

constexpr int SlotCount = 54;

// Fills the table through the installed translators; start-up runs it before any
// window but the main one exists.
void LoadInterfaceTexts();

const QString& text(TextId id);
// The slots that name stored things: the default clause name ("短句") and
// paragraph title ("段落") parts and the export folder. They hold their source
// texts in every language, so what is stored never depends on it.
bool isStoredName(TextId id);
// printf-style "%d" / "%s" of the table, filled in order.
QString format(TextId id, int number);
QString format(TextId id, const QString& value);

QString productName();  // "QVB信息zevi"
QString onlineHelpAddress();  // <vendor>/demo/issuehelp/
QString homePageAddress();  // <vendor>/
QString updateAddress();  // <vendor>/download/update/
double versionNumber();  // 2.3, always shown with one decimal
QString versionText();  // "2.3"

}  // namespace InterfaceTexts

inline const QString& uiText(TextId id) { return InterfaceTexts::text(id); }
