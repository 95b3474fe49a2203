#include "DialogTexts.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

constexpr int EntryCount = int(DialogTextId::AboutWord) + 1;

// One row per entry: the source text (simplified Chinese, shown through Qt's
// translation system), then the traditional Chinese and English columns, which
// SelectDialogLanguage(1) and (2) show until those languages have .ts files.
struct Row {
    const char* source;
    const char* traditional;
    const char* english;
};

const Row Rows[EntryCount] = {
    {QT_TRANSLATE_NOOP("DialogTexts", "文件夹选择"), "文件夾選擇", "select dir"},
    {QT_TRANSLATE_NOOP("DialogTexts", "当前路径"), "當前路徑", "cur path"},
    {QT_TRANSLATE_NOOP("DialogTexts", "请选择一个路径"), "請選擇一個路徑", "Please select a path"},
    {QT_TRANSLATE_NOOP("DialogTexts", "请输入一个文件夹"), "請輸入一個文件夾", "Please enter a path"},
    // the English column repeats the path label
    {QT_TRANSLATE_NOOP("DialogTexts", "文件夹名称"), "文件夾名稱", "cur path"},
    {QT_TRANSLATE_NOOP("DialogTexts", "新增文件夹"), "新增文件夾", "Add path"},
    // also the about windows' caption word (AboutWord.h translates the same message)
    {QT_TRANSLATE_NOOP("DialogTexts", "关于"), "關於", "About"},
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

int columnOf(int language) { return language == 1 || language == 2 ? language : 0; }

}  // namespace

void SelectDialogLanguage(int language)
{
    Selection& s = selection();
    s.language = columnOf(language);
    s.texts.clear();
    for (const Row& row : Rows) {
        if (s.language == 1)
            s.texts << QString::fromUtf8(row.traditional);
        else if (s.language == 2)
            s.texts << QString::fromUtf8(row.english);
        else
            s.texts << QCoreApplication::translate("DialogTexts", row.source);
    }
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
