// Starting other programs: the shell's "open" of files, web pages and
// "mailto:" addresses (through xdg-open), and running a program while waiting
// for its end.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace qm::platform {

// Opens a document, folder, web page or "mailto:" address with the desktop's
// handler. Returns false when nothing could be started. Programs and launchers
// (isProgramOrLauncher) and addresses other than web pages and mail are never
// handed over: the handler would run them. Mail addresses go through
// withMailFieldsOnly.
bool shellOpen(const QString& target);

// True for a file the desktop's handler would run rather than show: anything
// with an execute permission, a program or launcher name (.exe .com .bat .cmd
// .pif .scr .msi .lnk .jar .desktop .sh .run .appimage), or content that starts
// like a script ("#!"), a Linux or Windows program, or a desktop entry.
bool isProgramOrLauncher(const QString& native);

// A "mailto:" address as it is handed on: the addresses and only the subject,
// body, cc and bcc fields (mail programs take other fields, such as "attach",
// as orders to attach local files). Other targets come back unchanged.
QString withMailFieldsOnly(const QString& target);

// True for http://, https://, ftp:// and mailto: addresses and "www." names.
bool isWebAddress(const QString& target);

// Tests install a hook that receives the target instead of launching
// (an empty function restores the real behaviour).
void setShellOpenHookForTests(std::function<bool(const QString&)> hook);

// Starts the program and waits until it ends, letting pending window events
// run every 100 ms. Returns the program's exit code. Throws VbError 53 when the
// program does not exist or cannot be started.
int runAndWait(const QString& program, const QStringList& arguments = {});

// The interval between two looks at the child process, in milliseconds.
constexpr int kRunAndWaitPollMs = 100;

}  // namespace qm::platform
