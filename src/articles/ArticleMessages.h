#pragma once

#include <QString>

// Messages of the article library that the interface text table has no slot
// for: they explain why a name or text cannot be stored.
namespace ArticleMessages {

inline QString nameUnstorable()
{
    return QString::fromUtf8("文章名称不能含有换行或“=”，也不能以“[”或“;”开头");
}

inline QString textHoldsLineBreak()
{
    return QString::fromUtf8("短句名称、短句内容和段落名称不能含有换行");
}

// "保存失败：" followed by the files that could not be written.
inline QString saveFailed(const QString& errors) { return QString::fromUtf8("保存失败：\n") + errors; }

}  // namespace ArticleMessages
