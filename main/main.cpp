// Entry routine of Orvello: one instance, one window.
#include "app/appinfo.h"
#include "app/commandline.h"
#include "app/photohandover.h"
#include "app/startup.h"
#include "ui/frame/artwork.h"
#include "ui/frmmain.h"
#include "ui/qthost.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QApplication>
#include <QLibraryInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <QTranslator>
#include <csignal>

namespace {

int signalPipe[2] = {-1, -1};

void onTerminate(int)
{
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &c, 1);
}

// A termination request (the session ending, a plain kill) quits through the event loop, so the
// window's unload step still writes the settings.
void quitOnTerminationSignals()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        char c;
        [[maybe_unused]] const auto n = ::read(signalPipe[0], &c, 1);
        QCoreApplication::quit();
    });
    struct sigaction sa = {};
    sa.sa_handler = onTerminate;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGHUP, SIGINT}) sigaction(sig, &sa, nullptr);
}

}  // namespace

int main(int argc, char** argv)
{
    if (const auto done =
            orvello::answerInfoOption(argc, argv, "orvello", orvello::orvelloHelpText()))
        return *done;
    QApplication app(argc, argv);
    QApplication::setApplicationName(orvello::appinfo::applicationTitle());
    QApplication::setOrganizationName(orvello::appinfo::applicationTitle());
    QApplication::setApplicationVersion(orvello::appinfo::version());
    QApplication::setWindowIcon(orvello::artwork::applicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("org.orvello.Orvello"));

    orvello::SingleInstance instance;
    if (!instance.acquire()) {
        // The window is up already: it opens the photo, if one was named, and this start ends.
        const QString photo = orvello::photoArgument(QCoreApplication::arguments());
        if (!photo.isEmpty()) orvello::PhotoHandover::send(photo);
        return 0;
    }

    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);
    quitOnTerminationSignals();

    orvello::QtHost host;
    orvello::FrmMainEnvironment env;
    env.host = &host;
    env.appDirectory = orvello::appDirectory();
    env.initialPhoto = orvello::photoArgument(QCoreApplication::arguments());
    orvello::frmMain window(std::move(env));
    host.setOwner(&window);
    orvello::PhotoHandover handover(
        [&window](const QString& photo) { window.openHandedPhoto(photo); });
    handover.listen();
    // The load step runs inside the event loop, so that a termination request during the first
    // open dialog still ends through the unload step.
    int status = 0;
    QTimer::singleShot(0, &window, [&] {
        status = window.load();
        if (status != 0) QCoreApplication::exit(status);
    });
    const int loopStatus = QApplication::exec();
    return status != 0 ? status : loopStatus;
}
