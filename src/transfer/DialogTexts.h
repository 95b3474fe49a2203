#pragma once

#include <QString>

// The texts of the folder chooser, the new-folder dialog and the title word of
// the about and help windows. SelectDialogLanguage picks their language; until
// it is called they are in the interface's language. The simplified Chinese
// source texts are Qt translation texts (context "DialogTexts"); traditional
// Chinese and English are in translations/qvbzevi_zh_TW.ts and qvbzevi_en.ts.
enum class DialogTextId {
    FolderChooserCaption,  // "文件夹选择"
    PathLabel,  // "当前路径"
    SelectAPath,  // "请选择一个路径"
    EnterAFolder,  // "请输入一个文件夹"
    NewFolderLabel,  // "文件夹名称"
    NewFolderCaption,  // "新增文件夹"
    AboutWord,  // "关于"
};

// 1 traditional Chinese, 2 English, taken from the program's translations
// whatever the interface's language; 0 or any other value the interface's
// language (the installed translators: simplified Chinese, the source texts,
// when none is installed). Start-up selects 0, so the dialogs speak the
// language the system's locale chose.
void SelectDialogLanguage(int language);

namespace DialogTexts {

const QString& text(DialogTextId id);
// The number SelectDialogLanguage was given: 1, 2, or 0 for any other.
int selectedLanguage();
// The word the about and help windows put in their captions.
inline const QString& aboutWord() { return text(DialogTextId::AboutWord); }

}  // namespace DialogTexts

inline const QString& dialogText(DialogTextId id) { return DialogTexts::text(id); }
