#pragma once
// The window as the GUI tests build it: the scripted host, a settings file of the test's own,
// and the fonts of the build.
#include "tests/support/scriptedhost.h"
#include "ui/frmmain.h"

#include <memory>

namespace orvello::test {

inline FrmMainEnvironment testEnvironment(ScriptedHost& host, const QString& iniPath)
{
    FrmMainEnvironment env;
    env.host = &host;
    env.appDirectory = QStringLiteral(ORVELLO_BIN_DIR);
    env.store = SettingsStore(iniPath);
    return env;
}

// A window whose load step has run (and whose first open dialog was answered by the script).
inline std::unique_ptr<frmMain> loadedWindow(ScriptedHost& host, const QString& iniPath)
{
    auto window = std::make_unique<frmMain>(testEnvironment(host, iniPath));
    window->load();
    return window;
}

// Answers the next open dialog with path and clicks the open button.
inline void openThroughDialog(ScriptedHost& host, frmMain& window, const QString& path)
{
    FileDialogResult r;
    r.path = path;
    host.fileAnswers << r;
    window.click(QStringLiteral("XPButton1"));
}

}  // namespace orvello::test
