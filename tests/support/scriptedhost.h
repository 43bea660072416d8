#pragma once
// A host that answers every interaction from a prepared script and records what was asked.
#include "host/host.h"

#include <QList>
#include <QPageLayout>
#include <functional>

namespace orvello::test {

class ScriptedHost : public Host {
public:
    // Answers, used in order. A message without a scripted answer gets its default button; a
    // file or colour dialog without one is cancelled.
    QList<MsgAnswer> messageAnswers;
    QList<std::optional<FileDialogResult>> fileAnswers;
    QList<std::optional<QColor>> colorAnswers;
    std::function<bool(QPrinter&)> printSetupAnswer;  // unset: cancelled
    bool printerInstalled = false;
    // Called as each message is shown, to look at the window while the box is up.
    std::function<void(const MessageRequest&)> onMessage;

    // What was asked.
    QList<MessageRequest> messages;
    QList<FileDialogRequest> fileDialogs;
    QList<QColor> colorDialogs;
    int printSetups = 0;
    struct PrintSetupRecord {
        PrintSetupRequest request;
        const QPrinter* printer = nullptr;
        QString outputFileName;  // the printer the dialog opened on, where it is a file
        QPageLayout layout;      // the paper and orientation it opened with
    };
    QList<PrintSetupRecord> printSetupRequests;
    QList<QUrl> openedUrls;
    // Folder dialogs: answered in order, cancelled when none is left.
    QList<std::optional<QString>> folderAnswers;
    QStringList folderDialogs;  // their titles
    // The options of 全部保存…: answered in order; without an answer left, the dialog is
    // confirmed as it opened. What it opened on is recorded.
    QList<std::optional<SaveAllOptions>> saveAllOptionAnswers;
    QList<SaveAllOptions> saveAllOptionDialogs;
    // Text inputs: answered in order, cancelled when none is left.
    QList<std::optional<QString>> textAnswers;
    QList<TextInputRequest> textInputs;
    // Progress windows: every request and every update; with cancelAtProgress >= 0 the window's
    // Cancel is pressed when that many are done.
    QList<ProgressRequest> progressRequests;
    QList<int> progressUpdates;
    int cancelAtProgress = -1;
    bool progressOpen = false;

    MsgAnswer showMessage(const MessageRequest& request) override;
    std::optional<FileDialogResult> showFileDialog(const FileDialogRequest& request) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;
    bool printSetup(QPrinter& printer, const PrintSetupRequest& request) override;
    bool hasPrinter() override { return printerInstalled; }
    void openUrl(const QUrl& url) override { openedUrls << url; }
    std::optional<QString> chooseFolder(const QString& title, const QString& initial) override;
    std::optional<SaveAllOptions> chooseSaveAllOptions(const SaveAllOptions& initial) override;
    std::optional<QString> inputText(const TextInputRequest& request) override;
    std::unique_ptr<ProgressView> showProgress(const ProgressRequest& request) override;
};

}  // namespace orvello::test
