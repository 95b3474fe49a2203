#include "DialogTexts.h"

#include "InterfaceLanguage.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

constexpr int EntryCount = int(DialogTextId::AboutWord) + 1;
const char* const Context = "DialogTexts";

// The source texts in entry order, simplified Chinese.
const char* const SourceTexts[EntryCount] = {
    QT_TRANSLATE_NOOP("DialogTexts", "文件夹选择"),
    QT_TRANSLATE_NOOP("DialogTexts", "当前路径"),
    QT_TRANSLATE_NOOP("DialogTexts", "请选择一个路径"),
    QT_TRANSLATE_NOOP("DialogTexts", "请输入一个文件夹"),
    QT_TRANSLATE_NOOP("DialogTexts", "文件夹名称"),
    QT_TRANSLATE_NOOP("DialogTexts", "新增文件夹"),
    // also the about windows' caption word (AboutWord.h translates the same message)
    QT_TRANSLATE_NOOP("DialogTexts", "关于"),
};

struct Selection {
    int language = 0;
    QStringList texts;
};

Selection& selection()
{
    static Selection current;
    return current;
}

int numberOf(int language) { return language == 1 || language == 2 ? language : 0; }

QString textIn(int language, const char* source)
{
    switch (language) {
    case 1: return InterfaceLanguages::translate(InterfaceLanguage::TraditionalChinese, Context, source);
    case 2: return InterfaceLanguages::translate(InterfaceLanguage::English, Context, source);
    default: return QCoreApplication::translate(Context, source);
    }
}

}  // namespace

void SelectDialogLanguage(int language)
{
    Selection& s = selection();
    s.language = numberOf(language);
    s.texts.clear();
    for (const char* source : SourceTexts)
        s.texts << textIn(s.language, source);
}

namespace DialogTexts {

const QString& text(DialogTextId id)
{
    if (selection().texts.isEmpty())
        SelectDialogLanguage(0);
    return selection().texts.at(int(id));
}

int selectedLanguage() { return selection().language; }

}  // namespace DialogTexts
