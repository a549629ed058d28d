#pragma once

#include "app/InstanceMessage.h"

#include <QString>
#include <QStringList>

#include <optional>

// A later start's side of the single-instance test, with nothing but Qt Core
// and a local socket: whether an instance runs on the same data folder, and
// handing it a request. A start that only hands over (`tintora --pick` while
// Tintora runs) so never connects to the display.
namespace secondstart {

// Where a running instance listens for later starts, in the order tried: a
// socket in the data folder, which every run on the folder can reach, then a
// name of the data folder's own in the user's temporary folder.
QStringList Addresses(const QString& dataFolder);

// The lock in the runtime folder, for a data folder that gives no lock of
// its own (read-only, no locking).
QString RuntimeLockPath(const QString& dataFolder);

// Whether another process holds the instance lock of `dataFolder`. Leaves no
// lock behind: a start that finds none takes it afterwards as it always has.
bool InstanceRunning(const QString& dataFolder);

// Asks the running instance to show its window, or hands it a request and
// waits for its answer however long it takes (a pick waits for the user).
// Quietly gives up on the window when the instance does not answer; nothing
// when a request got no answer.
std::optional<instancemessage::Reply> Ask(const QString& dataFolder,
                                          const instancemessage::Request& request);

// How long a later start waits for the instance to take its connection and
// its bytes, and the instance for the request.
constexpr int WaitMs = 2000;

} // namespace secondstart
