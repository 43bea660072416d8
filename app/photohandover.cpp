#include "app/photohandover.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QtEndian>
#include <cerrno>
#include <cstring>

namespace orvello {

namespace {

// One message: the path's length in UTF-8 bytes (32 bits, big-endian), then the path; the
// receiver answers one byte once it has taken it.
constexpr char kTaken = 'K';

// How long a socket found at the path has to accept a connection before it counts as in use.
constexpr int kProbeMs = 500;

// Clears the way for listening at path. Only a socket that refuses connections is left over by
// an instance that died; what else stands there is not ours to remove (QLocalServer would replace
// a file or a link without asking).
bool clearStaleSocket(const QString& path, QString* why)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st = {};
    if (::lstat(native.constData(), &st) != 0) {
        if (errno == ENOENT) return true;
        *why = QCoreApplication::translate("app", "无法查看 %1：%2")
                   .arg(path, QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    if (!S_ISSOCK(st.st_mode)) {
        *why = QCoreApplication::translate("app", "%1 已被其他文件占用").arg(path);
        return false;
    }
    QLocalSocket probe;
    probe.connectToServer(path);
    if (probe.waitForConnected(kProbeMs) || probe.error() != QLocalSocket::ConnectionRefusedError) {
        *why = QCoreApplication::translate("app", "%1 正被另一个程序使用").arg(path);
        return false;
    }
    if (::unlink(native.constData()) != 0 && errno != ENOENT) {
        *why = QCoreApplication::translate("app", "无法删除 %1：%2")
                   .arg(path, QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    return true;
}

}  // namespace

QString PhotoHandover::defaultSocketPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return dir + QStringLiteral("/orvello.socket");
}

PhotoHandover::PhotoHandover(std::function<void(const QString&)> onPhoto, QObject* parent)
    : QObject(parent), onPhoto_(std::move(onPhoto)), server_(new QLocalServer(this))
{
    // Only this user may connect, wherever the socket lies.
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* peer = server_->nextPendingConnection()) serve(peer);
    });
}

PhotoHandover::~PhotoHandover() = default;

bool PhotoHandover::listen(const QString& socketPath)
{
    error_.clear();
    if (!clearStaleSocket(socketPath, &error_)) return false;
    if (server_->listen(socketPath)) return true;
    error_ = server_->errorString();
    return false;
}

void PhotoHandover::serve(QLocalSocket* peer)
{
    peer->setParent(this);
    peer->setReadBufferSize(kMaxMessageBytes);
    auto* timer = new QTimer(peer);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, peer, &QLocalSocket::abort);
    connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
    connect(peer, &QLocalSocket::readyRead, peer, [this, peer] {
        if (peer->bytesAvailable() < 4) return;
        uchar head[4];
        peer->peek(reinterpret_cast<char*>(head), 4);
        const quint32 length = qFromBigEndian<quint32>(head);
        if (length == 0 || length > quint32(kMaxMessageBytes - 4)) {
            peer->abort();  // not one of ours
            return;
        }
        if (peer->bytesAvailable() < qint64(4 + length)) return;
        peer->skip(4);
        const QByteArray bytes = peer->read(length);
        const QString photo = QString::fromUtf8(bytes);
        // A path is absolute and holds no NUL; anything else is not a photo of ours.
        if (!QDir::isAbsolutePath(photo) || bytes.contains('\0')) {
            peer->abort();
            return;
        }
        peer->write(&kTaken, 1);
        peer->flush();
        peer->disconnectFromServer();
        if (onPhoto_) onPhoto_(photo);
    });
    timer->start(timeoutMs_);
}

bool PhotoHandover::send(const QString& photo, const QString& socketPath, int waitMs)
{
    const QByteArray path = photo.toUtf8();
    if (path.isEmpty() || path.size() > kMaxMessageBytes - 4) return false;
    QByteArray message(4, '\0');
    qToBigEndian<quint32>(quint32(path.size()), message.data());
    message += path;
    const QDeadlineTimer deadline(waitMs);
    // The running instance may be starting still, its socket not yet up.
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(socketPath);
        if (!socket.waitForConnected(int(std::max<qint64>(1, deadline.remainingTime())))) {
            QThread::msleep(50);
            continue;
        }
        socket.write(message);
        if (!socket.waitForBytesWritten(int(std::max<qint64>(1, deadline.remainingTime()))))
            return false;
        while (socket.bytesAvailable() < 1 &&
               socket.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())))) {
        }
        char answer = 0;
        return socket.read(&answer, 1) == 1 && answer == kTaken;
    }
    return false;
}

}  // namespace orvello
