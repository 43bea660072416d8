#include "app/commandline.h"

#include <cstdio>
#include <cstring>

namespace orvello {

const char* orvelloHelpText()
{
    return R"(Usage: orvello [--] [PHOTO]
       orvello --help | --version

Orvello shows a JPEG or TIFF photo, lists its EXIF items and stamps the capture date and a
title onto it. With PHOTO it shows that photo and lists the photos of its folder; without it,
it asks for a photo in the open dialog. A PHOTO that cannot be opened is reported, then the
open dialog follows. One window runs per user: a second start ends at once.

Options:
  -h, --help      show this help and exit
  -V, --version   show the version and exit

Exit status:
  0  the window was closed, or another instance was already running
  2  the seven-segment font files are missing
  3  the image libraries could not be started

Files:
  $XDG_CONFIG_HOME/Orvello/Orvello.ini (by default ~/.config/Orvello/Orvello.ini)
      the settings, group SetLog: read at start, written when the window closes
)";
}

const char* stampHelpText()
{
    return R"(Usage: orvello-stamp exif PHOTO...
       orvello-stamp stamp [--title TEXT] [--rotate left|right]... [--lossless] [--out DIR]
                           [--overwrite] [--jobs N] [--quiet] PHOTO|FOLDER...
       orvello-stamp --help | --version

Commands:
  exif PHOTO...    list every EXIF item of each photo and its capture date
  stamp PHOTO...   stamp each photo as the window would, with the overlay settings the
                   window stored, and write "PM_" + the photo's name (JPEG, quality 100;
                   a TIFF photo's copy is named .jpg). A FOLDER stands for its .jpg and .tif
                   photos, in the order of the window's photo list. The photos are stamped on
                   every core; the lines on standard output keep the order of the arguments.

Options of stamp:
  --title TEXT          draw this title, whether or not the window has the title switched on
                        (without it: the stored switch and the default title 标题文字)
  --rotate left|right   turn the photo a quarter turn first; may be repeated
  --lossless            JPEG photos: keep every block of the photo but those under the stamps,
                        with its own quality and sampling, turning it losslessly (upright by its
                        EXIF orientation, then --rotate). A photo that cannot be copied so (a turn
                        that would lose edge pixels, grey or CMYK) is encoded in full, with a
                        line on standard error saying why.
  --out DIR             write into DIR instead of each photo's own folder
  --overwrite           replace an existing PM_ file (a link is replaced, not written through);
                        without it such a photo is refused. An input photo is never written over.
  --jobs N              stamp N photos at a time (default: one per core)
  --quiet               no progress line on standard error (shown only on a terminal)

Options:
  -h, --help      show this help and exit
  -V, --version   show the version and exit

Exit status:
  0  every photo was done
  1  the command line was not understood
  2  at least one photo could not be read, listed or written
  3  the font files are missing or the image libraries could not be started

Files:
  $XDG_CONFIG_HOME/Orvello/Orvello.ini (by default ~/.config/Orvello/Orvello.ini)
      the window's settings, read by stamp
)";
}

std::optional<int> answerInfoOption(int argc, char** argv, const char* program, const char* help)
{
    if (argc < 2) return std::nullopt;
    const char* a = argv[1];
    if (std::strcmp(a, "-h") == 0 || std::strcmp(a, "--help") == 0) {
        std::fputs(help, stdout);
        return 0;
    }
    if (std::strcmp(a, "-V") == 0 || std::strcmp(a, "--version") == 0) {
        std::printf("%s (Orvello) %s\n", program, ORVELLO_VERSION);
        return 0;
    }
    return std::nullopt;
}

}  // namespace orvello
