#pragma once
// frmMain: the one window of Orvello. It is built from the design resource and dispatches each
// command button's click to the code that owns the command.
#include "app/settings.h"
#include "components/gdiplusruntime.h"
#include "overlay/fontpicker.h"
#include "overlay/overlayredraw.h"
#include "photo/exifstep.h"
#include "photo/photodocument.h"
#include "photo/prefetch.h"
#include "ui/design.h"

#include <QHash>
#include <QWidget>
#include <functional>
#include <future>
#include <memory>

class QActionGroup;
class QCheckBox;
class QMenu;
class QPrinter;

namespace orvello {

class Host;

// The first look at the photo named at start, decoding on another thread while the window is
// built (see startFirstLook): the preview its camera put into the file, then the photo reduced.
struct FirstLook {
    QByteArray nativePath;
    std::shared_ptr<std::future<ReducedPicture>> embedded;  // none started
    std::shared_ptr<std::future<ReducedPicture>> picture;
};

struct FrmMainEnvironment {
    Host* host = nullptr;
    QString appDirectory;  // where the fonts folder lies
    QString initialPhoto;  // shown at load instead of asking with the open dialog; may be empty
    SettingsStore store;   // where the settings live
    QByteArrayList requiredImageFormats = GdiPlusRuntime::requiredFormats();
    FirstLook firstLook;  // of initialPhoto, when started early
};

// Starts decoding photo's first look on another thread.
FirstLook startFirstLook(const QString& photo);

// Exit statuses of a start-up that cannot go on.
inline constexpr int kExitFontMissing = 2;
inline constexpr int kExitRuntimeFailed = 3;

class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(FrmMainEnvironment environment, QWidget* parent = nullptr);
    ~frmMain() override;

    // The load step: checks, settings, caption, shows the window and runs the open command.
    // Returns 0 when the window is up, else the exit status the program must end with.
    int load();

    // A photo handed over by a later start ("Open with" while the window is up): the window
    // comes to the front and opens it as at a start with it.
    void openHandedPhoto(const QString& path);

    // The close command: asks, and on Yes closes the window (which writes the settings).
    void closeCommand();

    QWidget* control(const QString& name) const { return controls_.value(name); }
    template <typename T>
    T* control(const QString& name) const
    {
        return qobject_cast<T*>(control(name));
    }
    // Runs the command of a button as a click on it would.
    void click(const QString& buttonName);

    AppSettings& settings() { return settings_; }
    const PhotoDocument& document() const { return doc_; }
    // A photo is shown while the save button is enabled.
    bool photoLoaded() const;
    // The canvas's composite image: the photo with the overlay drawn on it.
    QImage canvas() const;
    PhotoPrefetcher& prefetcher() { return prefetch_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildFromDesign();
    QWidget* createControl(const ControlDesign& item);
    void wireCommands();
    void applySwitch(const char* key, bool value);

    // The overlay (frmmain_overlay.cpp).
    void wireOverlay();
    void redraw();
    void DrawOverlay();
    void ShowPreview();
    void showPhotoOnCanvas();
    void syncCanvasBox();
    void overlayButton(int number);
    void fontButton(PickerTarget target);
    void syncFontList(bool opening);
    OverlayInput overlayInput() const;
    // The preview's context menu: the date's pattern, clock shift and file-time fallback.
    void wireStampMenu();
    QActionGroup* addStyleMenu(QMenu* menu, const QString& title, StampStyle AppSettings::*field);
    void dateShiftCommand();
    void stampTextsChanged();
    // The listing box: the listing, and under it where the date came from when that is not EXIF
    // DateTimeOriginal.
    void showListing();
    QString listingText_;
    OverlayRedraw overlayRedraw_;  // keeps the canvas and preview work down to what changed

    // The photo commands (frmmain_photo.cpp).
    void openPhotoCommand();
    void openChosenFile(const QString& fileName, const QString& fileTitle);
    void openInitialPhoto();
    void openNamedPhoto(const QString& path);
    void openHandedPhotosWhenFree();
    // The first look at the photo named at start (frmmain_openwith.cpp): decoded at a reduced
    // scale, while the full picture is decoded in the background and put in its place once the
    // window's first frame is on the screen. Until then the photo counts as not loaded.
    LoadedPhoto loadFirstLook(int row);
    // A camera's preview is shown first when it is sharp enough for the preview on this screen.
    bool coversPreview(const ReducedPicture& embedded) const;
    void completePendingPhoto();
    void completePendingPhotoLater(int ms);
    void selectEntry(int row);
    void showNoPhoto();
    void rotateCommand(const QString& buttonName, QImage (*turn)(const QImage&));
    void saveCommand();
    void printCommand();
    void wireSaveAll();  // frmmain_saveall.cpp
    // The prefetch (frmmain_prefetch.cpp).
    void wirePrefetch();
    QByteArray nativePathOfRow(int row) const;
    LoadedPhoto loadForSelection(int row);
    // Shows the listing and takes the capture date; returns the listing's error, if any, for
    // the caller to report once the photo is shown.
    std::optional<QString> showExif(ExifInfo info);
    void setPhotoButtonsEnabled(bool on);
    void aboutCommand();
    void restoreDefaults();
    void unloadOnce();

    FrmMainEnvironment env_;
    Host& host_;
    AppSettings settings_;
    PhotoDocument doc_;
    QImage canvas_;   // Picture0's composite image: the photo with the overlay drawn on it
    QImage preview_;  // what Picture1 shows
    std::unique_ptr<FontPicker> picker_;
    GdiPlusRuntime runtime_;
    QHash<QString, QWidget*> controls_;
    QHash<QString, std::function<void()>> commands_;
    PhotoPrefetcher prefetch_;           // the neighbours of the selected entry
    LoadOptions loadOptions_;            // how photos are opened (the setting "AutoOrient")
    std::unique_ptr<QPrinter> printer_;  // the current printer, kept for the run
    bool shown_ = false;                 // a start-up that ends early writes nothing
    bool unloaded_ = false;
    QStringList handedPhotos_;       // waiting for the window's dialogs to close
    bool firstLookReduced_ = false;  // the next selection may show a reduced first look
    QByteArray pendingFull_;         // the photo shown reduced, whose full picture is to come
    bool reducedToCome_ = false;     // its camera's preview is shown: the reduced picture is next
    int firstLookStep_ = 0;          // counts the first looks shown; an older step's timer is void
    int pendingRow_ = -1;
};

}  // namespace orvello
