// The bytes of an INI file kept line by line, so that writing it back changes
// only the lines that were set, added or removed: a line of another program in
// another encoding (a Latin-1 "café" in a UTF-8 file), odd line ends and a
// UTF-16 file with its byte-order mark all come back byte for byte.
#pragma once

#include <QByteArray>
#include <QStringList>
#include <vector>

#include "platform/IniDocument.h"

namespace qm::platform {

class IniFileBytes {
 public:
  enum class Encoding { Utf8, Utf16LE, Utf16BE };

  // UTF-16 when the bytes start with its byte-order mark, UTF-8 otherwise.
  static IniFileBytes split(const QByteArray& bytes);

  // The lines decoded (bytes that are not valid UTF-8 read as U+FFFD).
  IniDocument document() const { return IniDocument::fromLines(text_); }

  // The file for the document made from document(): every line the document
  // still has from the file in its own bytes, the others encoded like the file.
  QByteArray join(const IniDocument& doc) const;

  Encoding encoding() const { return encoding_; }

 private:
  QByteArray encode(const QString& text) const;

  Encoding encoding_ = Encoding::Utf8;
  QByteArray bom_;
  QStringList text_;
  std::vector<QByteArray> raw_;   // each line's bytes, without its end
  std::vector<QByteArray> ends_;  // each line's end ("" for a last line without one)
};

}  // namespace qm::platform
