// Finding the pictures, sounds and videos a game names. A built project may
// keep a media file under a coded name (hall.bmp stored as hall.223); the
// locator finds either form, then asks the CD support, then warns.
#pragma once

#include <QString>

namespace qm::startup {

// The name under which a built project stores the media file: the last four
// characters (the extension) replaced by "." and a number of at least three
// digits; plainCode leaves out the mix of the name's first three letters.
// Paths whose title is shorter than 5 characters or whose extension is not a
// media type come back unchanged.
QString GetStoredMediaFileName(const QString& path, bool plainCode);

// The type code of an extension (".bmp" -> 4), or -1. ext is compared lower-cased.
int storedMediaTypeCode(const QString& ext);

// The path under which the file exists: as given, under its stored names, or
// on the current CD. When none exists (and the game is not stopping) the
// missing-file warning is shown, and the path is returned anyway.
QString LocateMediaFile(const QString& path);

// A media file a game names inside one of its folders (folder ends with a
// backslash), as the players open it: located as above, then given the letter
// case it has on disk. A file that is not there comes back as located, so a
// player reports it missing in its own words.
QString locatedMedia(const QString& folder, const QString& fileName);

// The missing-file warning box (text 33, the path, text 34).
void ShowMissingFileWarning(const QString& path);

}  // namespace qm::startup
