#include "media/FfmpegInput.h"

#include <QFile>

#include "platform/FileConfinement.h"
#include "platform/NativeFile.h"
#include "platform/NativeName.h"
#include <mutex>

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
const AVInputFormat* readerNamedByHeader(const QString& path) {
  QFile f;
  if (!platform::openForReading(f, path)) return nullptr;
  const QByteArray head = f.read(12);
  if (head.size() < 12) return nullptr;
  const QByteArray kind = head.mid(8, 4);
  const char* name = nullptr;
  if (head.startsWith("RIFF") && kind == "WAVE") name = "wav";
  else if (head.startsWith("RIFF") && kind == "AVI ") name = "avi";
  else if (head.startsWith("FORM") && (kind == "AIFF" || kind == "AIFC")) name = "aiff";
  else if (head.startsWith("OggS")) name = "ogg";
  else if (head.startsWith("fLaC")) name = "flac";
  else if (head.startsWith(".snd")) name = "au";
  return name ? av_find_input_format(name) : nullptr;
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
  AVFormatContext* ctx = nullptr;
  auto openWith = [&](const AVInputFormat* reader) {
    ctx = avformat_alloc_context();
    if (!ctx) return AVERROR(ENOMEM);
    ctx->format_whitelist = av_strdup(kAcceptedContainers);
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const int rc = avformat_open_input(&ctx, name.constData(), reader, &options);
    av_dict_free(&options);
    return rc;  // on failure avformat_open_input freed the context
  };
  const AVInputFormat* reader = readerNamedByHeader(path);
  int r = openWith(reader);
  // The header promised more than the file holds: let FFmpeg look at the whole start.
  if (r < 0 && reader && r != AVERROR(ENOMEM)) r = openWith(nullptr);
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
