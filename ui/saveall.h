#pragma once
// "全部保存…": every photo of the list stamped with the current settings and written as "PM_" +
// its name into one folder, on every core, behind a progress window that can cancel it, while
// the window goes on painting.
#include "batch/stampbatch.h"
#include "host/host.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

namespace orvello {

// What the window hands over when the command starts.
struct SaveAllInput {
    QList<QByteArray> sources;  // the list's photos, as the file system spells them
    QString photoFolder;        // where they are; the folder dialog starts there
    StampRecipe recipe;         // the current settings and title, no turns
    SaveAllOptions options;     // the options dialog opens on these
    // Keeps the options chosen for the next time.
    std::function<void(const SaveAllOptions&)> remember;
};

class SaveAllCommand : public QObject {
    Q_OBJECT
public:
    SaveAllCommand(Host& host, std::function<SaveAllInput()> input, QObject* parent = nullptr);
    // A batch still running is cancelled and waited for: no partial file is left.
    ~SaveAllCommand() override;

    // Asks for the folder and about existing copies, then starts the batch. Does nothing while a
    // batch runs.
    void run();
    bool running() const { return thread_.joinable(); }

signals:
    // The batch has ended and its summary was shown.
    void finished();

private:
    void itemDone(int index, const StampOutcome& outcome);
    void finish();
    QString summary() const;

    Host& host_;
    std::function<SaveAllInput()> input_;
    QString folder_;
    QList<StampItem> items_;
    QList<StampOutcome> outcomes_;
    int done_ = 0;
    std::atomic<bool> cancel_{false};
    std::thread thread_;
    std::unique_ptr<ProgressView> progress_;
};

}  // namespace orvello
