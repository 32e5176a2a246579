#include "media/FfmpegInput.h"

#include <QFile>
#include <QFileInfo>

#include "platform/FileConfinement.h"
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

QString describe(int code) {
  char buf[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, buf, sizeof buf);
  return QString::fromUtf8(buf);
}

}  // namespace

int openMediaInput(const QString& path, AVFormatContext** format, QString* error) {
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
  *format = nullptr;
  const QFileInfo info(path);
  if (!info.exists() || !info.isFile() || !platform::isInsideConfinement(path)) {
    if (error) *error = QStringLiteral("file not found: %1").arg(path);
    return AVERROR(ENOENT);
  }
  AVFormatContext* ctx = avformat_alloc_context();
  if (!ctx) return AVERROR(ENOMEM);
  ctx->format_whitelist = av_strdup(kAcceptedContainers);
  AVDictionary* options = nullptr;
  av_dict_set(&options, "protocol_whitelist", "file", 0);
  const QByteArray name = QFile::encodeName(path);
  int r = avformat_open_input(&ctx, name.constData(), nullptr, &options);
  av_dict_free(&options);
  if (r < 0) {
    if (error) {
      *error = (r == AVERROR_INVALIDDATA || r == AVERROR(EINVAL))
                   ? QStringLiteral("unknown or damaged media format: %1").arg(path)
                   : QStringLiteral("cannot open %1: %2").arg(path, describe(r));
    }
    return r;  // avformat_open_input freed the context
  }
  r = avformat_find_stream_info(ctx, nullptr);
  if (r < 0) {
    if (error) *error = QStringLiteral("damaged media file: %1").arg(path);
    avformat_close_input(&ctx);
    return r;
  }
  *format = ctx;
  return 0;
}

}  // namespace qm::media
