// Picks the decoder for a file from its content: MIDI (plain or RIFF-wrapped) goes to
// the synthesizer, everything else to FFmpeg. The file's extension plays no part, as
// built games store media under names like "hall.223".
#pragma once

#include <QString>
#include <memory>

#include "media/Decoder.h"

namespace qm::media {

enum class MediaKind { Missing, Midi, Other };

// What the first bytes say the file is.
MediaKind detectMediaKind(const QString& path);

// Opens a decoder for the file; nullptr with a description when it cannot be played.
std::unique_ptr<Decoder> openDecoder(const QString& path, QString* error);

}  // namespace qm::media
