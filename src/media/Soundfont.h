// Which General MIDI soundfont the MIDI players use.
#pragma once

#include <QString>
#include <QStringList>

namespace qm::media {

// The environment variable that names a soundfont file to use instead of the installed one.
inline constexpr const char* kSoundfontVariable = "QM_SOUNDFONT";

// The soundfont to load: QM_SOUNDFONT when it names an existing file, else the first
// existing file of soundfontCandidates(). Empty when there is none.
QString findSoundfont();

// The installed soundfonts looked for, best first.
QStringList soundfontCandidates();

}  // namespace qm::media
