#pragma once

#include "app/handover/WlCopy.h"

#include <QString>

// A command that copies and then exits would take its text with it: X11 and
// Wayland ask the owner of a selection for its content each time another
// program pastes, and an owner that has exited answers nothing. So the text is
// handed to a small background process that owns the clipboard until another
// program takes it over (a clipboard manager included) and then ends, as
// xclip does. That process holds no lock, socket or window of the program, so
// starting Tintora meanwhile works as always.
namespace clipboardkeeper {

// The hidden command-line option that makes the program such a keeper.
inline constexpr char Option[] = "keep-clipboard";

// Starts a keeper for `text` and waits until it owns the clipboard. On
// Wayland the keeper is wl-copy (from wl-clipboard), since a Wayland client
// without a focused window cannot set the selection; on X11 it is this
// program started again with --keep-clipboard. Needs a running
// QGuiApplication on the desktop's own platform. Returns an empty string, or
// why the text could not be kept (it is then still on the clipboard for as
// long as this process runs). `keeperPid` receives the keeper's process id
// where the program started it itself.
QString KeepAfterExit(const QString& text, qint64* keeperPid = nullptr);

// The keeper's own main: reads the text from standard input (at most
// MaxTextBytes), takes the clipboard and runs until it loses it. Creates its
// own QGuiApplication on the xcb platform. Returns the exit code.
int Serve(int argc, char* argv[]);

constexpr qsizetype MaxTextBytes = 1024 * 1024;

} // namespace clipboardkeeper
