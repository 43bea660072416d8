#pragma once
// Pieces of the start-up sequence that need no window.
#include <QString>
#include <QStringList>

namespace orvello {

// Folder of the program file, without a trailing separator.
QString appDirectory();

// The folder of the seven-segment font files: "fonts" beside the program (the build tree), else
// "../share/orvello/fonts" from it (an installed program). The first that holds all four files
// wins; when neither does, the folder beside the program, so that the font check fails there.
QString dateFontFolder(const QString& appDir);

// The four seven-segment font files, in dateFontFolder().
QStringList dateFontFiles(const QString& appDir);

// Loads the date font files and makes the face "DigifaceWide" draw in them. False when a file is
// missing or cannot be loaded.
bool loadDateFonts(const QString& appDir);

inline const char kDateFaceName[] = "DigifaceWide";

// The photo named on the command line (the first argument after the program), as an absolute
// path; empty when there is none.
QString photoArgument(const QStringList& arguments);

}  // namespace orvello
