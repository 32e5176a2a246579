#include "media/FfmpegInput.h"

#include <QFile>

#include "platform/FileConfinement.h"
#include "platform/GameFileOpen.h"
#include "platform/NativeFile.h"
#include "platform/NativeName.h"
#include <mutex>
#include <string>
#include <string_view>
#include <unistd.h>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/mem.h>
}

namespace qm::media {

const char* const kAcceptedContainers =
    "wav,w64,rf64,mp3,asf,ogg,au,avi,mpeg,mpegvideo,mpegts,m4v,mov,matroska,webm,aiff,flac,voc,aac,ac3,"
    "flv,smk,bink,wv,ape,amr,caf,rm,dv,mpc,mpc8,xwma,wsaud,wsvqa,nsv,mp2,mpa";

namespace {

// Uncompressed sound (WAV, AIFF, AU) is fully described by its header: reading
// on to learn more only costs time, which counts when seven sounds start at once.
bool headerTellsAll(AVFormatContext* ctx) {
  if (ctx->nb_streams != 1) return false;
  AVStream* st = ctx->streams[0];
  const AVCodecParameters* par = st->codecpar;
  const bool pcm = par->codec_id >= AV_CODEC_ID_PCM_S16LE && par->codec_id < AV_CODEC_ID_ADPCM_IMA_QT;
  if (par->codec_type != AVMEDIA_TYPE_AUDIO || !pcm || par->sample_rate <= 0 || par->ch_layout.nb_channels <= 0 ||
      st->duration == AV_NOPTS_VALUE || st->duration <= 0)
    return false;
  ctx->duration = av_rescale_q(st->duration, st->time_base, AV_TIME_BASE_Q);
  // Some readers still look at the first packets for other codecs hidden in plain
  // samples, by every reader's test, for up to megabytes: the first packet decides.
  ctx->probesize = 32;
  return true;
}

// The reader for a file whose first bytes name its container for certain. Such a
// file is opened with that reader alone: trying every reader FFmpeg has on the
// start of the file (MPEG audio and video readers scan it for their headers)
// costs far more than reading a WAV file's header. Null for anything else.
const AVInputFormat* readerNamedByHeader(int fd) {
  char head[12];
  if (::pread(fd, head, sizeof head, 0) != static_cast<ssize_t>(sizeof head)) return nullptr;
  const std::string_view start(head, 4), kind(head + 8, 4);
  const char* name = nullptr;
  if (start == "RIFF" && kind == "WAVE") name = "wav";
  else if (start == "RIFF" && kind == "AVI ") name = "avi";
  else if (start == "FORM" && (kind == "AIFF" || kind == "AIFC")) name = "aiff";
  else if (start == "OggS") name = "ogg";
  else if (start == "fLaC") name = "flac";
  else if (start == ".snd") name = "au";
  return name ? av_find_input_format(name) : nullptr;
}

// The file checked and opened for the game is the one the library reads: it
// opens the descriptor's own entry under /proc (the name is still given, for
// the format's guess by extension), and nothing else.
struct CheckedInput {
  std::string url;         // the name the library was given
  std::string descriptor;  // /proc/self/fd/N of the file opened for the game
  int (*open)(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) = nullptr;
};

int openCheckedInput(AVFormatContext* s, AVIOContext** pb, const char* url, int flags, AVDictionary** options) {
  const auto* input = static_cast<const CheckedInput*>(s->opaque);
  if (!input || input->url != url) return AVERROR(EPERM);
  return input->open(s, pb, input->descriptor.c_str(), flags, options);
}

}  // namespace

QString ffmpegErrorText(int code) {
  char buf[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, buf, sizeof buf);
  return QString::fromUtf8(buf);
}

int openMediaInput(const QString& path, AVFormatContext** format, QString* error) {
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
  *format = nullptr;
  const QString shown = platform::readableName(path);
  if (!platform::isPlainFileAt(path) || !platform::isInsideConfinement(path)) {
    if (error) *error = QStringLiteral("file not found: %1").arg(shown);
    return AVERROR(ENOENT);
  }
  const QByteArray name = platform::bytesOfName(path);  // the name may be in a code page
  const int fd = platform::openGameFile(name.toStdString(), platform::OpenFor::Reading,
                                        platform::rootsFor(platform::confinementRoots()));
  if (fd < 0) {
    if (error) *error = QStringLiteral("file not found: %1").arg(shown);
    return AVERROR(ENOENT);
  }
  CheckedInput input{name.toStdString(), "/proc/self/fd/" + std::to_string(fd), nullptr};
  AVFormatContext* ctx = nullptr;
  auto openWith = [&](const AVInputFormat* reader) {
    ctx = avformat_alloc_context();
    if (!ctx) return AVERROR(ENOMEM);
    ctx->format_whitelist = av_strdup(kAcceptedContainers);
    input.open = ctx->io_open;
    ctx->opaque = &input;
    ctx->io_open = openCheckedInput;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const int rc = avformat_open_input(&ctx, name.constData(), reader, &options);
    av_dict_free(&options);
    if (rc >= 0) {
      ctx->io_open = input.open;
      ctx->opaque = nullptr;
    }
    return rc;  // on failure avformat_open_input freed the context
  };
  const AVInputFormat* reader = readerNamedByHeader(fd);
  int r = openWith(reader);
  // The header promised more than the file holds: let FFmpeg look at the whole start.
  if (r < 0 && reader && r != AVERROR(ENOMEM)) r = openWith(nullptr);
  ::close(fd);
  if (r < 0) {
    if (error) {
      *error = (r == AVERROR_INVALIDDATA || r == AVERROR(EINVAL))
                   ? QStringLiteral("unknown or damaged media format: %1").arg(shown)
                   : QStringLiteral("cannot open %1: %2").arg(shown, ffmpegErrorText(r));
    }
    return r;
  }
  r = headerTellsAll(ctx) ? 0 : avformat_find_stream_info(ctx, nullptr);
  if (r < 0) {
    if (error) *error = QStringLiteral("damaged media file: %1").arg(shown);
    avformat_close_input(&ctx);
    return r;
  }
  *format = ctx;
  return 0;
}

}  // namespace qm::media
