#pragma once
// The image runtime: started once at start-up, stopped once at the close.
#include <QByteArrayList>

namespace orvello {

class GdiPlusRuntime {
public:
    // The image formats the program cannot work without: JPEG and TIFF decoding.
    static QByteArrayList requiredFormats();

    explicit GdiPlusRuntime(QByteArrayList formats = requiredFormats());
    // True when the metadata library starts and every required image decoder is present.
    bool Initialise();
    void Shutdown();
    bool isRunning() const { return running_; }

private:
    QByteArrayList formats_;
    bool running_ = false;
};

}  // namespace orvello
