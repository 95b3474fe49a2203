#include "DialogTexts.h"

#include <QStringList>

namespace {

constexpr int EntryCount = int(DialogTextId::AboutWord) + 1;

// One row per entry, one column per language: simplified, traditional, English.
const char* const Columns[EntryCount][3] = {
    {"文件夹选择", "文件夾選擇", "select dir"},
    {"当前路径", "當前路徑", "cur path"},
    {"请选择一个路径", "請選擇一個路徑", "Please select a path"},
    {"请输入一个文件夹", "請輸入一個文件夾", "Please enter a path"},
    {"文件夹名称", "文件夾名稱", "cur path"},  // the English column repeats the path label
    {"新增文件夹", "新增文件夾", "Add path"},
    {"关于", "關於", "About"},
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

int columnOf(int language)
{
    return language == 1 || language == 2 ? language : 0;
}

}  // namespace

void SelectDialogLanguage(int language)
{
    Selection& s = selection();
    s.language = columnOf(language);
    s.texts.clear();
    for (const auto& row : Columns)
        s.texts << QString::fromUtf8(row[s.language]);
}

namespace DialogTexts {

const QString& text(DialogTextId id)
{
    if (selection().texts.isEmpty())
        SelectDialogLanguage(0);
    return selection().texts.at(int(id));
}

int selectedLanguage()
{
    return selection().language;
}

}  // namespace DialogTexts
