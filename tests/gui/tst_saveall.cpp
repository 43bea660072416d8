// "全部保存…" in the window: one question about existing copies, no source ever replaced, damage
// and cancelling confined, and the copies equal to what the window's own save writes.
#include "components/exifreader.h"
#include "components/jpegwriter.h"
#include "tests/gui/testwindow.h"
#include "tools/fixtures/heifwriter.h"
#include "tools/fixtures/photowriter.h"
#include "tools/fixtures/variantwriter.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace orvello;

Q_DECLARE_METATYPE(std::optional<orvello::SaveAllOptions>)

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A JPEG's first quantization table segment: whose quality its blocks are at.
QByteArray quantization(const QByteArray& jpeg)
{
    const qsizetype at = jpeg.indexOf("\xFF\xDB");
    if (at < 0 || at + 4 > jpeg.size()) return {};
    return jpeg.mid(at, 2 + (quint8(jpeg[at + 2]) << 8 | quint8(jpeg[at + 3])));
}

}  // namespace

class SaveAllTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir;
    test::ScriptedHost host;
    std::unique_ptr<frmMain> window;
    std::unique_ptr<QTemporaryDir> dir;

    QString in(const QString& name) const { return dir->filePath(QStringLiteral("in/") + name); }
    QString out(const QString& name) const { return dir->filePath(QStringLiteral("out/") + name); }
    QStringList outFiles() const
    {
        return QDir(dir->filePath(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden);
    }
    // Starts the command as the menu would and waits for its summary.
    bool saveAll()
    {
        auto* command = window->findChild<QObject*>(QStringLiteral("saveAll"));
        QSignalSpy done(command, SIGNAL(finished()));
        window->findChild<QAction*>(QStringLiteral("saveAllAction"))->trigger();
        return done.wait(120000);
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QDir().mkpath(in(QString()));
        QDir().mkpath(out(QString()));
        fixtures::ExifContent exif;
        exif.dateTimeOriginal = QStringLiteral("2007:12:10 14:30:00");
        QImage img(320, 240, QImage::Format_RGB32);
        img.fill(qRgb(30, 60, 90));
        fixtures::writeFile(in(QStringLiteral("a.jpg")), fixtures::makeJpeg(img, exif));
        fixtures::writeFile(in(QStringLiteral("b.jpg")),
                            fixtures::makeJpeg(img.scaled(200, 300), {}));
        QByteArray cut = fixtures::makeJpeg(img, {});
        cut.truncate(cut.size() / 2);
        fixtures::writeFile(in(QStringLiteral("d.jpg")), cut);
        fixtures::writeFile(out(QStringLiteral("PM_b.jpg")), "an earlier copy");
        host = test::ScriptedHost();
        window = test::loadedWindow(host, settingsDir.filePath(QStringLiteral("s.ini")));
        window->settings().addTXB = true;
        window->control<QLineEdit>(QStringLiteral("Text1"))->setText(QStringLiteral("全部"));
        test::openThroughDialog(host, *window, in(QStringLiteral("a.jpg")));
        host.messages.clear();
    }
    void cleanup() { window.reset(); }

    void reachedFromTheListAndTheKeyboard()
    {
        auto* action = window->findChild<QAction*>(QStringLiteral("saveAllAction"));
        QCOMPARE(action->text(), QStringLiteral("全部保存…"));
        QCOMPARE(action->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+S")));
        auto* menu = window->control(QStringLiteral("List1"))->findChild<QMenu*>();
        QVERIFY(menu && menu->actions().contains(action));
    }

    // One question about the existing copy; the damaged photo fails alone and is named in the
    // summary; with 无损 unchecked, a.jpg's copy is byte for byte the window's own save of the
    // photo it shows.
    void existingCopiesAskedOnce_data()
    {
        QTest::addColumn<MsgAnswer>("answer");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QByteArray>("earlierCopy");
        const QStringList both{QStringLiteral("PM_a.jpg"), QStringLiteral("PM_b.jpg")};
        QTest::newRow("overwrite all") << MsgAnswer::Yes << both << QByteArray();
        QTest::newRow("skip existing") << MsgAnswer::No << both << QByteArray("an earlier copy");
        QTest::newRow("cancel") << MsgAnswer::Cancel << QStringList{QStringLiteral("PM_b.jpg")}
                                << QByteArray("an earlier copy");
    }
    void existingCopiesAskedOnce()
    {
        QFETCH(MsgAnswer, answer);
        QFETCH(QStringList, files);
        QFETCH(QByteArray, earlierCopy);
        host.saveAllOptionAnswers << std::optional(SaveAllOptions{false, 100, false});
        host.folderAnswers << dir->filePath(QStringLiteral("out"));
        host.messageAnswers << answer;
        if (answer == MsgAnswer::Cancel) {
            window->findChild<QAction*>(QStringLiteral("saveAllAction"))->trigger();
            QVERIFY(host.progressRequests.isEmpty());
        } else {
            QVERIFY(saveAll());
        }
        QCOMPARE(host.messages.first().buttons, MsgButtons::YesNoCancel);
        QVERIFY(host.messages.first().text.contains(QStringLiteral("1 个同名的文件")));
        QCOMPARE(outFiles(), files);
        if (!earlierCopy.isEmpty()) QCOMPARE(readAll(out(QStringLiteral("PM_b.jpg"))), earlierCopy);
        if (answer == MsgAnswer::Cancel) return;
        QCOMPARE(readAll(out(QStringLiteral("PM_a.jpg"))), encodeJpeg(window->canvas(), {}));
        QCOMPARE(host.messages.size(), 2);
        const QString summary = host.messages.last().text;
        QVERIFY2(summary.contains(QStringLiteral("1 张照片未能保存")) &&
                     summary.contains(QStringLiteral("d.jpg")),
                 qPrintable(summary));
        QCOMPARE(host.messages.last().icon, MsgIcon::Exclamation);
        QCOMPARE(host.progressUpdates.size(), 3);
        QVERIFY(!host.progressOpen);
    }

    // A phone's photo in the list is stamped with the rest, its copy named .jpg.
    void phonePhotosAreCopiedAsJpeg()
    {
        QImage img(240, 160, QImage::Format_RGB32);
        img.fill(qRgb(90, 60, 30));
        fixtures::ExifContent exif;
        exif.dateTimeOriginal = QStringLiteral("2024:01:02 03:04:05");
        QVERIFY(fixtures::writeFile(in(QStringLiteral("e.HEIC")),
                                    fixtures::makeHeic(img, fixtures::makeExifTiff(exif))));
        test::openThroughDialog(host, *window, in(QStringLiteral("e.HEIC")));
        QCOMPARE(window->document().photoName, QStringLiteral("e.HEIC"));
        host.messages.clear();
        const QString phone = dir->filePath(QStringLiteral("phone"));
        QVERIFY(QDir().mkpath(phone));
        host.folderAnswers << phone;
        QVERIFY(saveAll());
        QCOMPARE(QDir(phone).entryList(QDir::Files),
                 (QStringList{QStringLiteral("PM_a.jpg"), QStringLiteral("PM_b.jpg"),
                              QStringLiteral("PM_e.jpg")}));
        QCOMPARE(readAll(phone + QStringLiteral("/PM_e.jpg")), encodeJpeg(window->canvas(), {}));
    }

    // The options are asked first, opened on the last choice and remembered; keeping the EXIF
    // drops the note that the copies have none, and the copies carry it.
    void optionsAskedAndRemembered_data()
    {
        QTest::addColumn<std::optional<SaveAllOptions>>("answer");
        QTest::newRow("cancelled") << std::optional<SaveAllOptions>();
        QTest::newRow("keep exif at 60") << std::optional(SaveAllOptions{true, 60, false});
        QTest::newRow("plain") << std::optional(SaveAllOptions{false, 100, false});
        QTest::newRow("lossless, exif kept") << std::optional(SaveAllOptions{true, 60, true});
    }
    void optionsAskedAndRemembered()
    {
        QFETCH(std::optional<SaveAllOptions>, answer);
        const SaveAllOptions earlier{false, 85, true};
        SettingsStore(settingsDir.filePath(QStringLiteral("s.ini"))).writeSaveAllOptions(earlier);
        QFile::remove(out(QStringLiteral("PM_b.jpg")));
        // A photo whose EXIF cannot be read: its copy is written without it, and the summary
        // says so when the EXIF was to be kept.
        fixtures::writeFile(in(QStringLiteral("e.jpg")),
                            fixtures::insertAfterSoi(
                                fixtures::makeJpeg(QImage(40, 30, QImage::Format_RGB32), {}),
                                {fixtures::jpegSegment(0xE1, QByteArray("Exif\0\0junk", 10))}));
        // A CMYK photo, which only the full re-encode can stamp: the summary lists it.
        fixtures::JpegVariant cmyk;
        cmyk.colour = fixtures::JpegVariant::Colour::Cmyk;
        fixtures::writeFile(in(QStringLiteral("c.jpg")),
                            fixtures::makeJpegLayout(QImage(64, 48, QImage::Format_RGB32), cmyk));
        test::openThroughDialog(host, *window, in(QStringLiteral("a.jpg")));
        host.messages.clear();
        host.saveAllOptionAnswers << answer;
        host.folderAnswers << dir->filePath(QStringLiteral("out"));
        if (answer)
            QVERIFY(saveAll());
        else
            window->findChild<QAction*>(QStringLiteral("saveAllAction"))->trigger();
        QCOMPARE(host.saveAllOptionDialogs, QList<SaveAllOptions>{earlier});
        const SaveAllOptions stored =
            SettingsStore(settingsDir.filePath(QStringLiteral("s.ini"))).readSaveAllOptions();
        if (!answer) {
            QVERIFY(host.folderDialogs.isEmpty());
            QCOMPARE(stored, earlier);
            QCOMPARE(outFiles(), QStringList());
            return;
        }
        QCOMPARE(stored, *answer);
        QCOMPARE(host.folderDialogs.first().contains(QStringLiteral("不包含相关EXIF信息")),
                 !answer->keepMetadata);
        const QByteArray copy = readAll(out(QStringLiteral("PM_a.jpg")));
        QCOMPARE(findExifBlock(copy).isEmpty(), !answer->keepMetadata);
        JpegOptions atQuality;
        atQuality.quality = answer->quality;
        if (!answer->keepMetadata) QCOMPARE(copy, encodeJpeg(window->canvas(), atQuality));
        // Lossless: the photo's own blocks at its own quality, not the quality chosen.
        const QByteArray photoTables = quantization(readAll(in(QStringLiteral("a.jpg"))));
        QCOMPARE(quantization(copy) == photoTables, answer->lossless);
        QVERIFY(QFile::exists(out(QStringLiteral("PM_e.jpg"))));
        QVERIFY(QFile::exists(out(QStringLiteral("PM_c.jpg"))));
        const QString summary = host.messages.last().text;
        QVERIFY2(summary.contains(QStringLiteral("1 张照片的副本不含EXIF信息")) ==
                         answer->keepMetadata &&
                     summary.contains(QStringLiteral("已保存 4 张照片")) &&
                     summary.contains(QStringLiteral("1 张照片未能无损加字")) == answer->lossless &&
                     summary.contains(QStringLiteral("c.jpg")) == answer->lossless,
                 qPrintable(summary));
    }

    // Into the photos' own folder: a photo that bears a copy's name is a source and stays.
    void neverOverASourcePhoto()
    {
        const QByteArray source = readAll(in(QStringLiteral("a.jpg")));
        fixtures::writeFile(in(QStringLiteral("PM_a.jpg")), source);
        test::openThroughDialog(host, *window, in(QStringLiteral("a.jpg")));
        host.messages.clear();
        host.folderAnswers << dir->filePath(QStringLiteral("in"));
        host.messageAnswers << MsgAnswer::Yes;
        QVERIFY(saveAll());
        QCOMPARE(readAll(in(QStringLiteral("PM_a.jpg"))), source);
        QVERIFY(host.messages.last().text.contains(QStringLiteral("目标文件是要处理的照片")));
        QVERIFY(QFile::exists(in(QStringLiteral("PM_PM_a.jpg"))));
    }

    // Cancelled as the progress window opens: nothing is written; cancelled after the first
    // photo: whatever is there is whole, and nothing else lies about.
    void cancellingLeavesWholeFilesOnly_data()
    {
        QTest::addColumn<int>("cancelAt");
        QTest::newRow("at once") << 0;
        QTest::newRow("after one") << 1;
    }
    void cancellingLeavesWholeFilesOnly()
    {
        QFETCH(int, cancelAt);
        QFile::remove(out(QStringLiteral("PM_b.jpg")));
        host.folderAnswers << dir->filePath(QStringLiteral("out"));
        host.cancelAtProgress = cancelAt;
        QVERIFY(saveAll());
        const QString summary = host.messages.last().text;
        if (cancelAt == 0) {
            QCOMPARE(outFiles(), QStringList());
            QVERIFY2(summary.contains(QStringLiteral("已取消，3 张照片未保存")),
                     qPrintable(summary));
        }
        for (const QString& name : outFiles()) {
            QVERIFY2(name == QStringLiteral("PM_a.jpg") || name == QStringLiteral("PM_b.jpg"),
                     qPrintable(name));
            QImage decoded;
            QVERIFY(decoded.loadFromData(readAll(out(name))));
        }
    }

    // The window closed while a batch runs: it is cancelled and waited for.
    void closingDuringABatch()
    {
        host.folderAnswers << dir->filePath(QStringLiteral("out"));
        host.messageAnswers << MsgAnswer::Yes;
        window->findChild<QAction*>(QStringLiteral("saveAllAction"))->trigger();
        window.reset();
        for (const QString& name : outFiles()) {
            QImage decoded;
            QVERIFY2(name == QStringLiteral("PM_b.jpg") || decoded.loadFromData(readAll(out(name))),
                     qPrintable(name));
        }
    }
};

QTEST_MAIN(SaveAllTest)
#include "tst_saveall.moc"
