#include "InterfaceLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace InterfaceLanguages {

namespace {

struct Installed {
    InterfaceLanguage language = InterfaceLanguage::SimplifiedChinese;
    QTranslator* program = nullptr;
    QTranslator* qt = nullptr;
};

Installed& installed()
{
    static Installed current;
    return current;
}

void remove(QTranslator*& translator)
{
    if (!translator)
        return;
    QCoreApplication::removeTranslator(translator);
    delete translator;
    translator = nullptr;
}

// A new translator loaded from `file` in `folder`, or none.
QTranslator* loaded(const QString& file, const QString& folder)
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(file, folder))
        return translator;
    delete translator;
    return nullptr;
}

}  // namespace

InterfaceLanguage choose(const QStringList& uiLanguages)
{
    for (const QString& entry : uiLanguages) {
        const QString name = entry.trimmed();
        // "C", "POSIX" and "C.UTF-8": the program as it is, untranslated.
        if (name == QLatin1String("C") || name == QLatin1String("POSIX") || name.startsWith(QLatin1String("C.")))
            return InterfaceLanguage::SimplifiedChinese;
        const QLocale locale(name);
        if (locale.language() == QLocale::Chinese)
            return locale.script() == QLocale::TraditionalHanScript ? InterfaceLanguage::TraditionalChinese
                                                                    : InterfaceLanguage::SimplifiedChinese;
        if (locale.language() == QLocale::English)
            return InterfaceLanguage::English;
    }
    return InterfaceLanguage::SimplifiedChinese;
}

InterfaceLanguage fromSystem() { return choose(QLocale::system().uiLanguages()); }

QString fileSuffix(InterfaceLanguage language)
{
    switch (language) {
    case InterfaceLanguage::TraditionalChinese: return QStringLiteral("zh_TW");
    case InterfaceLanguage::English: return QStringLiteral("en");
    case InterfaceLanguage::SimplifiedChinese: break;
    }
    return QStringLiteral("zh_CN");
}

bool install(InterfaceLanguage language)
{
    Installed& now = installed();
    remove(now.program);
    remove(now.qt);
    now.language = language;
    if (language == InterfaceLanguage::SimplifiedChinese)
        return true;
    const QString suffix = fileSuffix(language);
    now.program = loaded(QStringLiteral("qvbzevi_") + suffix, QStringLiteral(":/i18n"));
    // Qt's own texts are English; traditional Chinese takes them from Qt's translations.
    const bool qtNeeded = language == InterfaceLanguage::TraditionalChinese;
    if (qtNeeded)
        now.qt = loaded(QStringLiteral("qtbase_") + suffix, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    for (QTranslator* translator : {now.qt, now.program})
        if (translator)
            QCoreApplication::installTranslator(translator);
    return now.program && (now.qt || !qtNeeded);
}

InterfaceLanguage current() { return installed().language; }

QString translate(InterfaceLanguage language, const char* context, const char* source)
{
    // One translator per language, loaded on first use and kept, never installed.
    static QTranslator* translators[3] = {};
    QTranslator*& translator = translators[int(language)];
    if (language != InterfaceLanguage::SimplifiedChinese && !translator) {
        translator = new QTranslator;
        if (!translator->load(QStringLiteral("qvbzevi_") + fileSuffix(language), QStringLiteral(":/i18n")))
            qWarning("No built-in translation for %s", qPrintable(fileSuffix(language)));
    }
    const QString translated = translator ? translator->translate(context, source) : QString();
    return translated.isEmpty() ? QString::fromUtf8(source) : translated;
}

QStringList preferredCjkFamilies()
{
    if (current() != InterfaceLanguage::TraditionalChinese)
        return {};
    return {QStringLiteral("PMingLiU"), QStringLiteral("Noto Sans CJK TC"), QStringLiteral("Noto Serif CJK TC")};
}

}  // namespace InterfaceLanguages
