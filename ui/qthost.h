#pragma once
// The real host: Qt's own message boxes and dialogs, the desktop's browser, the system printers.
#include "host/host.h"

#include <QFontMetrics>
#include <QPointer>
#include <QWidget>

namespace orvello {

// The narrowest a message box is shown, so its title can be read.
inline constexpr int kMinimumMessageWidth = 260;
int messageBoxMinimumWidth(const QString& title, const QFontMetrics& metrics);

// The paper list in the properties window of Qt's print dialog. Qt does not publish it: the
// print setup finds it by this object name to keep the paper asked for.
inline constexpr char kPrintPaperListName[] = "pageSizeCombo";

class QtHost : public Host {
public:
    // Dialogs are shown over owner (the main window once it exists).
    void setOwner(QWidget* owner) { owner_ = owner; }

    MsgAnswer showMessage(const MessageRequest& request) override;
    std::optional<FileDialogResult> showFileDialog(const FileDialogRequest& request) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;
    bool printSetup(QPrinter& printer, const PrintSetupRequest& request) override;
    bool hasPrinter() override;
    void openUrl(const QUrl& url) override;
    std::optional<QString> chooseFolder(const QString& title, const QString& initial) override;
    std::optional<SaveAllOptions> chooseSaveAllOptions(const SaveAllOptions& initial) override;
    std::optional<QString> inputText(const TextInputRequest& request) override;
    std::unique_ptr<ProgressView> showProgress(const ProgressRequest& request) override;

private:
    QPointer<QWidget> owner_;
    QString lastFolder_;
};

}  // namespace orvello
