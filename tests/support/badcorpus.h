#pragma once
// Damaged and hostile photo files, written by the tests themselves, for the metadata reader,
// the listing and the photo decoder.
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>

namespace orvello::test {

struct CorpusFile {
    // The path to open. A relative path is relative to the corpus folder (it tests names that
    // look like addresses), so open it with that folder as the current folder.
    QString path;
    // Set for a name that is not UTF-8 (path is then its shown form): open it by these bytes,
    // relative to the corpus folder, and remove it with removeNativeNames.
    QByteArray nativePath;
    QString what;  // what the file tests
    // How the metadata reader ends: with a listing, or with an error description.
    bool readerLists = true;
    QString captureDate;  // the capture date the listing yields; empty for none

    // How decoding for display ends, and for a refusal a part of its reason.
    enum class Shown { Whole, Incomplete, Refused } shown = Shown::Whole;
    QString refusal;
    QStringList listed;  // lines the listing must hold

    CorpusFile& refused(const QString& reason)
    {
        shown = Shown::Refused;
        refusal = reason;
        return *this;
    }
    CorpusFile& incomplete()
    {
        shown = Shown::Incomplete;
        return *this;
    }
    CorpusFile& lists(const QStringList& lines)
    {
        listed = lines;
        return *this;
    }
};

// The capture date of the valid photos inside the corpus.
inline constexpr const char* corpusDate = "2001:02:03 04:05:06";

// Writes the corpus into dir (which must exist) and lists its files.
QList<CorpusFile> writeBadCorpus(const QString& dir);

// Adds the HEIC and HEIF files to the corpus.
void addHeifCases(QList<CorpusFile>& corpus, const QString& dir);

// Removes the files Qt cannot name, so that the folder can be removed.
void removeNativeNames(const QString& dir, const QList<CorpusFile>& corpus);

}  // namespace orvello::test

Q_DECLARE_METATYPE(orvello::test::CorpusFile)
