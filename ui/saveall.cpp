#include "ui/saveall.h"

#include "app/appinfo.h"
#include "app/messages.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>

namespace orvello {

namespace {

// Failures listed one by one in the summary; the rest are counted.
constexpr int kListedFailures = 15;

QString progressLabel(int done, int total)
{
    return QCoreApplication::translate("ui", "正在保存照片：%1 / %2").arg(done).arg(total);
}

}  // namespace

SaveAllCommand::SaveAllCommand(Host& host, std::function<SaveAllInput()> input, QObject* parent)
    : QObject(parent), host_(host), input_(std::move(input))
{
}

SaveAllCommand::~SaveAllCommand()
{
    if (!thread_.joinable()) return;
    cancel_ = true;
    thread_.join();
}

void SaveAllCommand::run()
{
    if (running()) return;
    SaveAllInput input = input_();
    if (input.sources.isEmpty()) {
        showNotice(host_, QCoreApplication::translate("ui", "照片列表是空的，没有可保存的照片。"),
                   MsgIcon::Information);
        return;
    }
    const std::optional<SaveAllOptions> options = host_.chooseSaveAllOptions(input.options);
    if (!options) return;
    if (input.remember) input.remember(*options);
    CopyOptions& copy = input.recipe.copy;
    copy.keepMetadata = options->keepMetadata;
    copy.quality = options->quality;
    copy.lossless = options->lossless;
    const std::optional<QString> folder = host_.chooseFolder(
        options->keepMetadata ? QCoreApplication::translate("ui", "全部保存到文件夹…")
                              : QCoreApplication::translate(
                                    "ui", "全部保存到文件夹…(注:保存后的文件不包含相关EXIF信息)"),
        input.photoFolder);
    if (!folder) return;
    folder_ = *folder;
    const QByteArray out = QFile::encodeName(folder_);
    items_ = planStampBatch(input.sources, out, ExistingCopies::Overwrite);
    if (const int existing = countExistingCopies(items_); existing > 0) {
        MessageRequest ask;
        ask.title = appinfo::applicationTitle();
        ask.text = QCoreApplication::translate("ui",
                                               "文件夹“%1”中已有 %2 个同名的文件。\n\n"
                                               "是：全部覆盖\n否：跳过已有的文件\n取消：不保存")
                       .arg(folder_)
                       .arg(existing);
        ask.icon = MsgIcon::Question;
        ask.buttons = MsgButtons::YesNoCancel;
        ask.defaultButton = MsgAnswer::Cancel;
        switch (host_.showMessage(ask)) {
        case MsgAnswer::Yes: break;
        case MsgAnswer::No:
            items_ = planStampBatch(input.sources, out, ExistingCopies::Skip);
            break;
        default: return;
        }
    }

    outcomes_ = QList<StampOutcome>(items_.size());
    done_ = 0;
    cancel_ = false;
    const int total = int(items_.size());
    progress_ = host_.showProgress({QCoreApplication::translate("ui", "全部保存"),
                                    progressLabel(0, total), total, [this] { cancel_ = true; }});
    // The worker threads report each photo to this object's thread, in the order they finish.
    const StampDone onDone = [this](int index, const StampOutcome& outcome) {
        QMetaObject::invokeMethod(
            this, [this, index, outcome] { itemDone(index, outcome); }, Qt::QueuedConnection);
    };
    thread_ = std::thread([this, items = items_, recipe = std::move(input.recipe), onDone] {
        runStampBatch(items, recipe, defaultStampJobs(), onDone, &cancel_);
        // Queued behind the reports of the last photos.
        QMetaObject::invokeMethod(this, &SaveAllCommand::finish, Qt::QueuedConnection);
    });
}

void SaveAllCommand::itemDone(int index, const StampOutcome& outcome)
{
    outcomes_[index] = outcome;
    ++done_;
    if (progress_) progress_->setProgress(done_, progressLabel(done_, int(items_.size())));
}

void SaveAllCommand::finish()
{
    if (!thread_.joinable()) return;
    thread_.join();
    // The progress window goes before the summary is shown; the host deletes it from the event
    // loop, so this is safe even when a report is still being drawn on it.
    progress_.reset();
    const QString text = summary();
    const bool failed = std::any_of(outcomes_.begin(), outcomes_.end(), [](const StampOutcome& o) {
        return o.status == StampOutcome::Status::Failed;
    });
    showNotice(host_, text, failed ? MsgIcon::Exclamation : MsgIcon::Information);
    emit finished();
}

QString SaveAllCommand::summary() const
{
    using Status = StampOutcome::Status;
    int written = 0, skipped = 0, cancelled = 0;
    QStringList failures, warnings, notes;
    for (const StampOutcome& o : outcomes_) {
        if (!o.warning.isEmpty()) warnings << o.warning;
        // Written, but not losslessly as asked: encoded in full instead.
        if (!o.notice.isEmpty()) notes << o.notice;
        written += o.status == Status::Written;
        skipped += o.status == Status::Skipped;
        cancelled += o.status == Status::Cancelled;
        if (o.status == Status::Failed) failures << o.message;
    }
    QString text = QCoreApplication::translate("ui", "已保存 %1 张照片到文件夹“%2”。")
                       .arg(written)
                       .arg(folder_);
    if (skipped) text += QCoreApplication::translate("ui", "\n跳过已有的文件 %1 个。").arg(skipped);
    if (cancelled)
        text += QCoreApplication::translate("ui", "\n已取消，%1 张照片未保存。").arg(cancelled);
    const auto list = [&text](const QString& heading, const QStringList& lines) {
        if (lines.isEmpty()) return;
        text += QStringLiteral("\n\n") + heading.arg(lines.size());
        for (int i = 0; i < lines.size() && i < kListedFailures; ++i)
            text += QLatin1Char('\n') + lines[i];
        if (lines.size() > kListedFailures)
            text += QCoreApplication::translate("ui", "\n……另有 %1 张")
                        .arg(lines.size() - kListedFailures);
    };
    list(QCoreApplication::translate("ui", "%1 张照片未能保存："), failures);
    list(QCoreApplication::translate("ui", "%1 张照片的副本不含EXIF信息："), warnings);
    list(QCoreApplication::translate("ui", "%1 张照片未能无损加字，已完整重新编码："), notes);
    return text;
}

}  // namespace orvello
