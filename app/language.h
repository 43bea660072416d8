#pragma once
// The interface's language: Chinese, in which the texts are written, or English from the
// translation built into the program. The locale of the environment chooses.
#include <QByteArray>

namespace orvello {

enum class InterfaceLanguage { Chinese, English };

// The first of LANGUAGE (its first entry), LC_ALL, LC_MESSAGES and LANG that is set decides, as it
// does for the messages of other programs: English for en and en_*, Chinese for anything else.
InterfaceLanguage chooseInterfaceLanguage(const QByteArray& language, const QByteArray& lcAll,
                                          const QByteArray& lcMessages, const QByteArray& lang);
InterfaceLanguage interfaceLanguageFromEnvironment();

// Installs the program's translation and Qt's own (its dialogs and buttons) for that language on
// the running application, replacing those of an earlier call. Returns false when a translation
// could not be loaded; the texts then stay as written.
bool installInterfaceLanguage(InterfaceLanguage language);
InterfaceLanguage installedInterfaceLanguage();

}  // namespace orvello
