#include "ui/mcmndlg.h"

#include "host/host.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace orvello::mCmnDlg {

namespace {

const QChar kZero(u'\0');

qint32 withoutHookAndTemplate(qint32 flags)
{
    return flags & ~(OFN_ENABLEHOOK | OFN_ENABLETEMPLATE);
}

FileDialogRequest baseRequest(bool save, const QString& title, const QString& initialFolder,
                              const QString& defaultExtension)
{
    FileDialogRequest request;
    request.save = save;
    request.title = title;
    request.initialFolder = initialFolder;
    request.defaultSuffix = defaultExtension;
    return request;
}

struct Outcome {
    bool confirmed = false;
    FileDialogResult result;
};

// Builds the request both dialogs share, shows it, and fills the common outputs.
Outcome run(Host& owner, FileDialogRequest request, QString& fileName, QString& fileTitle,
            QString& filter, qint32& filterIndex)
{
    const QString converted = convertFilter(filter);
    Outcome out;
    const bool fits = fileName.size() <= kFileBufferChars && fileTitle.size() <= kTitleBufferChars;
    std::optional<FileDialogResult> chosen;
    if (fits) {
        request.nameFilters = nameFilters(converted);
        request.filterIndex = filterIndex;
        request.fileName = fileName;
        chosen = owner.showFileDialog(request);
    }
    if (!chosen || chosen->path.isEmpty()) {
        fileName.clear();
        fileTitle.clear();
        filter.clear();
        return out;
    }
    out.confirmed = true;
    out.result = *chosen;
    fileName = chosen->path;
    fileTitle = QFileInfo(chosen->path).fileName();
    filterIndex = chosen->filterIndex;
    filter = FilterEntry(converted, chosen->filterIndex);
    return out;
}

}  // namespace

qint32 openFlags(qint32 callerFlags, bool fileMustExist, bool multiSelect, bool readOnly,
                 bool hideReadOnly)
{
    qint32 f = withoutHookAndTemplate(callerFlags);
    if (fileMustExist) f |= OFN_FILEMUSTEXIST;
    if (multiSelect) f |= OFN_ALLOWMULTISELECT;
    if (readOnly) f |= OFN_READONLY;
    if (hideReadOnly) f |= OFN_HIDEREADONLY;
    return f;
}

qint32 saveFlags(qint32 callerFlags, bool overwritePrompt)
{
    qint32 f = withoutHookAndTemplate(callerFlags);
    if (overwritePrompt) f |= OFN_OVERWRITEPROMPT;
    return f | OFN_HIDEREADONLY;
}

QString convertFilter(const QString& filter)
{
    QString out;
    out.reserve(filter.size() + 2);
    for (const QChar c : filter) out += (c == u'|' || c == u':') ? kZero : c;
    out += kZero;
    out += kZero;
    return out;
}

QString FilterEntry(const QString& convertedFilter, qint32 index)
{
    if (index <= 0) return {};
    qsizetype start = 0;
    while (start < convertedFilter.size()) {
        const qsizetype descriptionEnd = convertedFilter.indexOf(kZero, start);
        if (descriptionEnd < 0) return {};
        const qsizetype patternEnd = convertedFilter.indexOf(kZero, descriptionEnd + 1);
        if (patternEnd < 0) return {};
        if (index == 1) return convertedFilter.mid(start, patternEnd - start);
        --index;
        start = patternEnd + 1;
    }
    return {};
}

QStringList nameFilters(const QString& convertedFilter)
{
    QStringList filters;
    for (qint32 i = 1;; ++i) {
        const QString entry = FilterEntry(convertedFilter, i);
        if (entry.isEmpty()) break;
        const qsizetype zero = entry.indexOf(kZero);
        QString description = entry.left(zero).trimmed();
        QString patterns = entry.mid(zero + 1);
        patterns.replace(u';', u' ');
        // Qt reads the patterns from the last parentheses of a filter: give it ours.
        description.remove(QRegularExpression(QStringLiteral("\\s*\\([^()]*\\)$")));
        filters << description + QStringLiteral(" (") + patterns.simplified() + u')';
    }
    return filters;
}

bool ShowOpenDialog(QString& fileName, QString& fileTitle, bool fileMustExist, bool multiSelect,
                    bool& readOnly, bool hideReadOnly, QString& filter, qint32& filterIndex,
                    const QString& initialFolder, const QString& title,
                    const QString& defaultExtension, Host& owner, qint32& flags)
{
    const qint32 requestFlags =
        openFlags(flags, fileMustExist, multiSelect, readOnly, hideReadOnly);
    FileDialogRequest request = baseRequest(false, title, initialFolder, defaultExtension);
    request.fileMustExist = requestFlags & OFN_FILEMUSTEXIST;
    request.readOnly = requestFlags & OFN_READONLY;
    request.hideReadOnly = requestFlags & OFN_HIDEREADONLY;
    const Outcome out = run(owner, request, fileName, fileTitle, filter, filterIndex);
    if (!out.confirmed) {
        filterIndex = -1;
        flags = 0;
        return false;
    }
    flags = out.result.readOnly ? (requestFlags | OFN_READONLY) : (requestFlags & ~OFN_READONLY);
    if (flags & OFN_READONLY) readOnly = true;
    return true;
}

bool ShowSaveDialog(QString& fileName, QString& fileTitle, bool overwritePrompt, QString& filter,
                    qint32& filterIndex, const QString& initialFolder, const QString& title,
                    const QString& defaultExtension, Host& owner, qint32& flags)
{
    const qint32 requestFlags = saveFlags(flags, overwritePrompt);
    FileDialogRequest request = baseRequest(true, title, initialFolder, defaultExtension);
    request.overwritePrompt = requestFlags & OFN_OVERWRITEPROMPT;
    request.hideReadOnly = true;
    const Outcome out = run(owner, request, fileName, fileTitle, filter, filterIndex);
    if (!out.confirmed) {
        filterIndex = 0;
        flags = 0;
        return false;
    }
    flags = requestFlags;
    return true;
}

}  // namespace orvello::mCmnDlg
