#include "tests/support/scriptedhost.h"

#include <QPrinter>

namespace orvello::test {

MsgAnswer ScriptedHost::showMessage(const MessageRequest& request)
{
    messages << request;
    if (onMessage) onMessage(request);
    if (!messageAnswers.isEmpty()) return messageAnswers.takeFirst();
    return request.buttons == MsgButtons::Ok ? MsgAnswer::Ok : request.defaultButton;
}

std::optional<FileDialogResult> ScriptedHost::showFileDialog(const FileDialogRequest& request)
{
    fileDialogs << request;
    return fileAnswers.isEmpty() ? std::nullopt : fileAnswers.takeFirst();
}

std::optional<QColor> ScriptedHost::chooseColor(const QColor& initial)
{
    colorDialogs << initial;
    return colorAnswers.isEmpty() ? std::nullopt : colorAnswers.takeFirst();
}

bool ScriptedHost::printSetup(QPrinter& printer, const PrintSetupRequest& request)
{
    ++printSetups;
    printSetupRequests << PrintSetupRecord{request, &printer, printer.outputFileName(),
                                           printer.pageLayout()};
    return printSetupAnswer ? printSetupAnswer(printer) : false;
}

std::optional<QString> ScriptedHost::chooseFolder(const QString& title, const QString&)
{
    folderDialogs << title;
    return folderAnswers.isEmpty() ? std::nullopt : folderAnswers.takeFirst();
}

std::optional<SaveAllOptions> ScriptedHost::chooseSaveAllOptions(const SaveAllOptions& initial)
{
    saveAllOptionDialogs << initial;
    return saveAllOptionAnswers.isEmpty() ? std::optional(initial)
                                          : saveAllOptionAnswers.takeFirst();
}

std::optional<QString> ScriptedHost::inputText(const TextInputRequest& request)
{
    textInputs << request;
    return textAnswers.isEmpty() ? std::nullopt : textAnswers.takeFirst();
}

namespace {

class ScriptedProgress : public ProgressView {
public:
    ScriptedProgress(ScriptedHost& host, std::function<void()> cancel)
        : host_(host), cancel_(std::move(cancel))
    {
        host_.progressOpen = true;
    }
    ~ScriptedProgress() override { host_.progressOpen = false; }
    void setProgress(int done, const QString&) override
    {
        host_.progressUpdates << done;
        if (done == host_.cancelAtProgress && cancel_) cancel_();
    }

private:
    ScriptedHost& host_;
    std::function<void()> cancel_;
};

}  // namespace

std::unique_ptr<ProgressView> ScriptedHost::showProgress(const ProgressRequest& request)
{
    progressRequests << request;
    auto view = std::make_unique<ScriptedProgress>(*this, request.onCancel);
    if (cancelAtProgress == 0 && request.onCancel) request.onCancel();
    return view;
}

}  // namespace orvello::test
