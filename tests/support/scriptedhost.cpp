#include "tests/support/scriptedhost.h"

#include <QPrinter>

namespace orvello::test {

MsgAnswer ScriptedHost::showMessage(const MessageRequest& request)
{
    messages << request;
    if (onMessage) onMessage(request);
    if (!messageAnswers.isEmpty()) return messageAnswers.takeFirst();
    return request.buttons == MsgButtons::YesNo ? request.defaultButton : MsgAnswer::Ok;
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

}  // namespace orvello::test
