#pragma once

#include "InterfaceLanguage.h"

#include <QFont>
#include <QStringList>

// "宋体" 11 points, with CJK fallbacks where SimSun is not installed.
inline QFont articleFont()
{
    QFont font;
    font.setFamilies(InterfaceLanguages::preferredCjkFamilies()
                     + QStringList{QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC"),
                                   QStringLiteral("Noto Serif CJK SC"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPointSize(11);
    return font;
}
