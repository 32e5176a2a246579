// Opening a file with FFmpeg the safe way: local files only, and only the containers
// that hold sound or video a game may use. (FFmpeg also reads play lists that fetch
// other files or addresses, text shown as "video", image sequences and subtitles;
// none of that belongs in a game's media.)
#pragma once

#include <QString>

struct AVFormatContext;

namespace qm::media {

// The containers accepted, by FFmpeg's demuxer names.
extern const char* const kAcceptedContainers;

// Opens `path` into `*format` (detected from the content) and reads its stream
// information. Returns 0 or FFmpeg's error code; on failure `*format` is null and
// `error` says why in words.
int openMediaInput(const QString& path, AVFormatContext** format, QString* error);

// FFmpeg's words for one of its error codes.
QString ffmpegErrorText(int code);

}  // namespace qm::media
