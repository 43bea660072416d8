#pragma once
// The host seam: every modal interaction and every call out of the process goes through this
// interface, so that the core and the window can be driven by tests with prepared answers.
#include <QColor>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

class QPrinter;
class QWidget;

namespace orvello {

enum class MsgIcon { None, Information, Question, Exclamation, Critical };
enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Yes, No, Cancel };

struct MessageRequest {
    QString text;
    QString title;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    MsgAnswer defaultButton = MsgAnswer::Ok;
};

struct FileDialogRequest {
    bool save = false;
    QString title;
    QString initialFolder;    // empty: the folder of fileName, else the dialog's own choice
    QString fileName;         // initial name or path
    QStringList nameFilters;  // Qt form: "Description (*.a *.b)"
    int filterIndex = 1;      // 1-based
    QString defaultSuffix;    // without the dot; empty: none
    bool fileMustExist = false;
    bool overwritePrompt = false;
    bool readOnly = false;  // the read-only box starts ticked
    bool hideReadOnly = false;
};

struct FileDialogResult {
    QString path;         // full path of the chosen file
    int filterIndex = 1;  // 1-based
    bool readOnly = false;
};

// The print-setup dialog. With choosePrinter it offers the installed printers beside paper,
// paper source and orientation in one dialog, opened on the printer's current printer, paper and
// orientation; the choices are made on the printer itself, which the caller keeps for the run.
struct PrintSetupRequest {
    bool choosePrinter = true;
};

// A progress window for long work that goes on behind it: it stays up until the view is
// destroyed, and its Cancel button calls onCancel.
struct ProgressRequest {
    QString title;
    QString label;
    int total = 0;
    std::function<void()> onCancel;
};

// The choices of "全部保存…" beside the folder: how each copy is written.
struct SaveAllOptions {
    bool keepMetadata = false;  // the photo's EXIF, XMP and IPTC carried into its copy
    int quality = 100;          // JPEG quality, 1 to 100
    bool lossless = true;       // JPEG photos stamped without re-compressing the whole picture
    bool operator==(const SaveAllOptions&) const = default;
};

// A one-line text input: its window title, the question, and the text it opens with.
struct TextInputRequest {
    QString title;
    QString label;
    QString text;
};

class ProgressView {
public:
    virtual ~ProgressView() = default;
    virtual void setProgress(int done, const QString& label) = 0;
};

class Host {
public:
    virtual ~Host() = default;
    virtual MsgAnswer showMessage(const MessageRequest& request) = 0;
    virtual std::optional<FileDialogResult> showFileDialog(const FileDialogRequest& request) = 0;
    // The colour dialog: the chosen colour, or nothing when cancelled.
    virtual std::optional<QColor> chooseColor(const QColor& initial) = 0;
    // The print-setup dialog on printer; false when cancelled.
    virtual bool printSetup(QPrinter& printer, const PrintSetupRequest& request) = 0;
    // True when the system has at least one printer.
    virtual bool hasPrinter() = 0;
    virtual void openUrl(const QUrl& url) = 0;
    // The folder dialog: the chosen folder, or nothing when cancelled.
    virtual std::optional<QString> chooseFolder(const QString& title, const QString& initial) = 0;
    // The options dialog of "全部保存…", opened on initial: the choices, or nothing when
    // cancelled.
    virtual std::optional<SaveAllOptions> chooseSaveAllOptions(const SaveAllOptions& initial) = 0;
    // The text input dialog: the text confirmed, or nothing when cancelled.
    virtual std::optional<QString> inputText(const TextInputRequest& request) = 0;
    // Shows a progress window that does not block the caller.
    virtual std::unique_ptr<ProgressView> showProgress(const ProgressRequest& request) = 0;
};

}  // namespace orvello
