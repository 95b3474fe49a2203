#pragma once

#include <QString>
#include <QStringList>

// The languages the interface speaks. The source texts are simplified
// Chinese; traditional Chinese and English are translations built into the
// program (translations/qvbzevi_zh_TW.ts, qvbzevi_en.ts, embedded under
// :/i18n). Nothing stored depends on the language: a data folder reads and
// writes the same bytes in all three.
enum class InterfaceLanguage {
    SimplifiedChinese,
    TraditionalChinese,
    English,
};

namespace InterfaceLanguages {

// The language for a list of preferred languages as Qt lists them
// (QLocale::uiLanguages(): LANGUAGE first, else LC_ALL, LC_MESSAGES or LANG).
// The first entry the program has a language for decides: Chinese in
// traditional characters (zh_TW, zh_HK, zh_MO, zh-Hant) gets traditional
// Chinese, any English gets English, any other Chinese and the C or POSIX
// locale get simplified Chinese. Entries of other languages are passed over,
// as gettext passes over LANGUAGE entries it has no translation for; a list
// without any of these gets simplified Chinese.
InterfaceLanguage choose(const QStringList& uiLanguages);

// The language for the system's locale.
InterfaceLanguage fromSystem();

// The suffix of the language's translation files: "zh_CN", "zh_TW", "en".
QString fileSuffix(InterfaceLanguage language);

// Installs the translators of `language` on the application, replacing the
// ones an earlier call installed: the program's own translation and Qt's
// (qtbase_*.qm in Qt's translations folder, for the buttons of Qt's dialogs).
// Simplified Chinese installs none, so the program shows its source texts and
// Qt its own. False when a translation could not be loaded (what could be is
// installed anyway). Install before any window is built: texts are taken as
// the windows are made.
bool install(InterfaceLanguage language);

// The language install() installed last; simplified Chinese before any.
InterfaceLanguage current();

// Font families to put before a font's own list, so that Chinese characters
// take the shapes the interface language's readers expect (traditional
// Chinese: Taiwan's); empty for simplified Chinese and English.
QStringList preferredCjkFamilies();

// `source` of `context` in `language`, from the program's own translations
// whatever language is installed; the source text itself in simplified
// Chinese, or when the translation lacks it.
QString translate(InterfaceLanguage language, const char* context, const char* source);

}  // namespace InterfaceLanguages
