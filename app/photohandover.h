#pragma once
// "Open with" into the running window: a second start hands its photo to the first instance over
// a local socket in the per-user runtime folder (a folder only this user can enter), then ends.
#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;
class QLocalSocket;

namespace orvello {

class PhotoHandover : public QObject {
    Q_OBJECT
public:
    // Longest message taken: a path of the longest length the file system allows, in UTF-8.
    static constexpr int kMaxMessageBytes = 4 + 4096 * 4;
    // A peer that has not sent its whole message by then is dropped.
    static constexpr int kDefaultTimeoutMs = 3000;

    static QString defaultSocketPath();

    // The running instance's side. onPhoto gets each photo handed over.
    explicit PhotoHandover(std::function<void(const QString&)> onPhoto, QObject* parent = nullptr);
    ~PhotoHandover() override;
    // Listens at socketPath. A socket left there by an instance that died (nobody answers on it)
    // is replaced; anything else there (a file, a folder, a link, a socket in use) is left alone
    // and nothing listens: see errorString().
    bool listen(const QString& socketPath = defaultSocketPath());
    QString errorString() const { return error_; }
    void setTimeout(int ms) { timeoutMs_ = ms; }

    // The second start's side: hands photo over and waits for the running instance to take it,
    // trying again for a while when it is not listening yet. False when nobody took it.
    static bool send(const QString& photo, const QString& socketPath = defaultSocketPath(),
                     int waitMs = kDefaultTimeoutMs);

private:
    void serve(QLocalSocket* peer);

    std::function<void(const QString&)> onPhoto_;
    QLocalServer* server_;
    QString error_;
    int timeoutMs_ = kDefaultTimeoutMs;
};

}  // namespace orvello
