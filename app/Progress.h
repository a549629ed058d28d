#pragma once

#include <QtGlobal>

#include <functional>

// Told how far a long operation has come (`done` of `total` units, bytes as a
// rule) between its steps; answers false to stop it. An operation stopped so
// leaves every file as it was.
using Progress = std::function<bool(qint64 done, qint64 total)>;
