// INI files as the Windows profile functions read and write them: sections
// "[name]" and "key=value" lines, names compared without regard to letter case,
// blanks around names and values ignored, the first matching section and key
// win, lines that are neither (comments, junk) kept untouched on writing.
// Files are Windows-1252 text with CR LF line ends.
#pragma once

#include <QString>

namespace qm::platform {

// The value, at most 254 characters (what a 255-character buffer holds with
// its terminating zero), "" when the file, section or key is
// absent. A value wrapped in one pair of matching quotes loses them.
QString readIniValue(const QString& file, const QString& section, const QString& key);

// True when the text holds a CR or LF: such a section or key name would add
// lines of its own to the file.
bool breaksLine(const QString& name);

// Sets key=value in the section, creating the file and the section when needed
// and keeping the rest of the file as it was; a line break in the value is
// written as a blank. Returns false when the file cannot be written or the
// section or key name breaks a line.
bool writeIniValue(const QString& file, const QString& section, const QString& key, const QString& value);

// Removes the key (value nullopt in the Windows function) / the whole section.
bool deleteIniKey(const QString& file, const QString& section, const QString& key);
bool deleteIniSection(const QString& file, const QString& section);

}  // namespace qm::platform
