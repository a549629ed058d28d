#pragma once

#include <QString>

class QProcess;
class QTemporaryFile;

// The Wayland side of keeping a picked colour on the clipboard after the
// command has ended. Qt Core alone: a command that hands its pick over keeps
// the text without loading the windows.
namespace clipboardkeeper {

// Hands `text` to wl-copy (from wl-clipboard), which serves the selection
// from the background until another program takes it. Returns an empty
// string, or why the text was not kept.
QString KeepWithWlCopy(const QString& text);

// For a command whose colour another Tintora copied, with no window of its
// own: on a Wayland desktop (WAYLAND_DISPLAY set) the compositor gives the
// selection only to a client with the keyboard focus, which that instance
// need not have once its picture has gone, so wl-copy keeps the text. An
// instance under XWayland loses nothing by it: both offer the same text.
// Elsewhere the instance's own copy stands and nothing is done. Needs no
// application object. Returns an empty string, or why the text was not kept.
QString KeepForHandedOverPick(const QString& text);

// The text reaches a keeper on its standard input from a file that is gone
// from the file system as soon as the keeper has opened it: neither the
// process list nor a file left behind shows what was copied.
bool WriteTextFile(QTemporaryFile& file, const QString& text);

// Where a keeper's output goes: never the caller's own, so that a pipe such
// as `tintora --pick --print | wc` ends when the command does.
void Silence(QProcess& process);

// How long a keeper may take to own the clipboard.
constexpr int TakeOverWaitMs = 3000;

} // namespace clipboardkeeper
