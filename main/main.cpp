// Entry routine of Orvello: one instance, one window.
#include "app/appinfo.h"
#include "app/commandline.h"
#include "app/language.h"
#include "app/photohandover.h"
#include "app/singleinstance.h"
#include "app/startup.h"
#include "ui/frame/artwork.h"
#include "ui/frmmain.h"
#include "ui/qthost.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QApplication>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <memory>

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

// For the start-up benchmark: with ORVELLO_EXIT_AT_FIRST_PAINT set to "window" (the window with
// the photo it was started with) or "dialog" (the open dialog), the program ends once that has
// been painted, so the time to the first frame can be measured from outside.
class FirstPaintExit : public QObject {
public:
    explicit FirstPaintExit(QByteArray what) : what_(std::move(what))
    {
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || done_) return false;
        const bool dialog = watched->inherits("QFileDialog");
        const bool window = watched->inherits("orvello::frmMain");
        if ((what_ == "dialog" && dialog) || (what_ == "window" && window)) {
            done_ = true;
            // Once this paint has reached the screen.
            QTimer::singleShot(0, qApp, [] { ::_exit(0); });
        }
        return false;
    }

private:
    QByteArray what_;
    bool done_ = false;
};

}  // namespace

int main(int argc, char** argv)
{
    if (const auto done =
            orvello::answerInfoOption(argc, argv, "orvello", orvello::orvelloHelpText()))
        return *done;
    // What holds up the first frame most is decoding the photo: once this start is known to be
    // the one instance, that begins on another thread, before the window (and Qt) is set up.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const QString photo = orvello::photoArgument(arguments);
    orvello::SingleInstance instance;
    const orvello::SingleInstance::Outcome lock = instance.acquire();
    orvello::FrmMainEnvironment env;
    if (lock == orvello::SingleInstance::Outcome::Acquired && !photo.isEmpty())
        env.firstLook = orvello::startFirstLook(photo);

    QApplication app(argc, argv);
    std::unique_ptr<FirstPaintExit> benchmarkExit;
    if (const QByteArray what = qgetenv("ORVELLO_EXIT_AT_FIRST_PAINT"); !what.isEmpty())
        benchmarkExit = std::make_unique<FirstPaintExit>(what);
    QApplication::setApplicationName(orvello::appinfo::applicationTitle());
    QApplication::setOrganizationName(orvello::appinfo::applicationTitle());
    QApplication::setApplicationVersion(orvello::appinfo::version());
    QApplication::setWindowIcon(orvello::artwork::applicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("org.orvello.Orvello"));

    // The locale chooses the interface's language (Qt's own dialogs follow it), before any text
    // is made.
    orvello::installInterfaceLanguage(orvello::interfaceLanguageFromEnvironment());
    orvello::QtHost host;
    const orvello::StartDecision start = orvello::decideStart(
        instance, lock, photo, host, orvello::PhotoHandover::defaultSocketPath(),
        orvello::PhotoHandover::kDefaultTimeoutMs);
    if (start.mode == orvello::StartDecision::End) return start.exitStatus;
    quitOnTerminationSignals();

    env.host = &host;
    env.appDirectory = orvello::appDirectory();
    env.initialPhoto = photo;
    orvello::frmMain window(std::move(env));
    host.setOwner(&window);
    // Only the one instance takes the photos of later starts; a window of its own does not.
    orvello::PhotoHandover handover(
        [&window](const QString& handed) { window.openHandedPhoto(handed); });
    if (start.mode == orvello::StartDecision::MainWindow && !handover.listen())
        std::fputs(QCoreApplication::translate("app", "orvello：无法接收以后启动时交来的照片：%1\n")
                       .arg(handover.errorString())
                       .toLocal8Bit()
                       .constData(),
                   stderr);
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
