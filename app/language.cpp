#include "app/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>
#include <vector>

namespace orvello {

namespace {

std::vector<std::unique_ptr<QTranslator>> installed;
InterfaceLanguage current = InterfaceLanguage::Chinese;

bool isEnglish(const QByteArray& locale)
{
    return locale == "en" || locale.startsWith("en_") || locale.startsWith("en.") ||
           locale.startsWith("en@");
}

bool loadAndInstall(const QString& file, const QString& folder)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(file, folder)) return false;
    QCoreApplication::installTranslator(translator.get());
    installed.push_back(std::move(translator));
    return true;
}

}  // namespace

InterfaceLanguage chooseInterfaceLanguage(const QByteArray& language, const QByteArray& lcAll,
                                          const QByteArray& lcMessages, const QByteArray& lang)
{
    // LANGUAGE is a list of preferences; only its first counts here.
    const QByteArray first = language.split(':').constFirst();
    for (const QByteArray& value : {first, lcAll, lcMessages, lang})
        if (!value.isEmpty())
            return isEnglish(value) ? InterfaceLanguage::English : InterfaceLanguage::Chinese;
    return InterfaceLanguage::Chinese;
}

InterfaceLanguage interfaceLanguageFromEnvironment()
{
    return chooseInterfaceLanguage(qgetenv("LANGUAGE"), qgetenv("LC_ALL"), qgetenv("LC_MESSAGES"),
                                   qgetenv("LANG"));
}

bool installInterfaceLanguage(InterfaceLanguage language)
{
    for (auto& translator : installed) QCoreApplication::removeTranslator(translator.get());
    installed.clear();
    current = language;
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (language == InterfaceLanguage::Chinese)
        return loadAndInstall(QStringLiteral("qt_zh_CN"), qtFolder);
    // Qt's own texts are English as written; qt_en only fixes plural forms, so its absence is
    // no failure.
    loadAndInstall(QStringLiteral("qt_en"), qtFolder);
    bool ok = true;
    for (const char* name : {"orvello_en", "design_en"})
        ok = loadAndInstall(QString::fromLatin1(name), QStringLiteral(":/i18n")) && ok;
    return ok;
}

InterfaceLanguage installedInterfaceLanguage()
{
    return current;
}

}  // namespace orvello
