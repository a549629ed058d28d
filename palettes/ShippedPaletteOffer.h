#pragma once

#include <QString>

class Platform;

// Offers the user the palettes that this release ships and their own data
// folder has not seen yet; their answer is kept, so each is offered once.
// Failures are shown in a message box naming the file.
void offerShippedPalettes(Platform& platform, const QString& shippedFolder,
                          const QString& dataFolder);
