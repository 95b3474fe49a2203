#pragma once

#include <QCoreApplication>
#include <QString>

// Messages of the article library that the interface text table has no slot
// for: they explain why a name or text cannot be stored. Source texts of Qt's
// translation system (context "ArticleMessages").
namespace ArticleMessages {

inline QString nameUnstorable()
{
    return QCoreApplication::translate("ArticleMessages", "文章名称不能含有换行或“=”，也不能以“[”或“;”开头");
}

inline QString textHoldsLineBreak()
{
    return QCoreApplication::translate("ArticleMessages", "短句名称、短句内容和段落名称不能含有换行");
}

// "保存失败：" followed by the files that could not be written.
inline QString saveFailed(const QString& errors)
{
    //: %1: the files that could not be written, one per line
    return QCoreApplication::translate("ArticleMessages", "保存失败：\n%1").arg(errors);
}

}  // namespace ArticleMessages
