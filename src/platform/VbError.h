// The one exception type of the player: a failure with a VB error number and its
// description, thrown by readers and operations and caught by the procedure that
// owns the message shown to the player.
#pragma once

#include <QString>
#include <exception>
#include <string>

namespace qm {

struct VbError : std::exception {
  VbError(int number, QString description);

  int number = 0;
  QString description;

  const char* what() const noexcept override { return utf8_.c_str(); }

  // The standard description of a VB error number ("File not found" for 53 ...).
  static QString standardDescription(int number);

  // An error with its standard description.
  static VbError of(int number);

  // What to show for any failure: a VbError's description, else the
  // exception's own text.
  static QString describe(const std::exception& e);

  static VbError invalidCall() { return of(5); }        // 5  Invalid procedure call or argument
  static VbError overflow() { return of(6); }           // 6  Overflow
  static VbError typeMismatch() { return of(13); }      // 13 Type mismatch
  static VbError fileNotFound(const QString& path = {});  // 53 File not found
  static VbError inputPastEnd() { return of(62); }      // 62 Input past end of file
  static VbError badFileName(const QString& path = {}); // 52 Bad file name or number
  static VbError pathNotFound(const QString& path = {});  // 76 Path not found
  static VbError permissionDenied(const QString& path = {});  // 70 Permission denied

  // The path involved, when there is one (not part of the description).
  QString path;

 private:
  std::string utf8_;
};

}  // namespace qm
