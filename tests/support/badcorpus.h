#pragma once
// Damaged and hostile photo files, written by the tests themselves, for the metadata reader,
// the listing and the photo decoder.
#include <QList>
#include <QMetaType>
#include <QString>

namespace orvello::test {

struct CorpusFile {
    // The path to open. A relative path is relative to the corpus folder (it tests names that
    // look like addresses), so open it with that folder as the current folder.
    QString path;
    QString what;  // what the file tests
    // How the metadata reader ends: with a listing, or with an error description.
    bool readerLists = true;
    QString captureDate;  // the capture date the listing yields; empty for none
};

// The capture date of the valid photos inside the corpus.
inline constexpr const char* corpusDate = "2001:02:03 04:05:06";

// Writes the corpus into dir (which must exist) and lists its files.
QList<CorpusFile> writeBadCorpus(const QString& dir);

}  // namespace orvello::test

Q_DECLARE_METATYPE(orvello::test::CorpusFile)
