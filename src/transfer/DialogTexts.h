#pragma once

#include <QString>

// The texts of the folder chooser, the new-folder dialog and the title word of
// the about and help windows, in three languages. One language is selected at
// start-up; until then simplified Chinese is in use: the source texts of Qt's
// translation system (context "DialogTexts").
enum class DialogTextId {
    FolderChooserCaption,  // "文件夹选择"
    PathLabel,  // "当前路径"
    SelectAPath,  // "请选择一个路径"
    EnterAFolder,  // "请输入一个文件夹"
    NewFolderLabel,  // "文件夹名称"
    NewFolderCaption,  // "新增文件夹"
    AboutWord,  // "关于"
};

// 1 traditional Chinese, 2 English, any other value simplified Chinese.
void SelectDialogLanguage(int language);

namespace DialogTexts {

const QString& text(DialogTextId id);
int selectedLanguage();
// The word the about and help windows put in their captions.
inline const QString& aboutWord() { return text(DialogTextId::AboutWord); }

}  // namespace DialogTexts

inline const QString& dialogText(DialogTextId id) { return DialogTexts::text(id); }
