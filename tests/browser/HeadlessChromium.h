#pragma once

#include <QString>

// Headless Chromium, as the test starts it: one page from a folder of its own,
// a profile of its own, no network, and every process it started ended by
// the time `Run` returns.
namespace headlesschromium {

// The chromium program, or empty when it is not installed.
QString Program();

struct Result
{
    bool ok = false;
    // The text of the page's element with id "out" once the page has loaded.
    QString out;
    // For a failure: what went wrong, with Chromium's own error output.
    QString error;
};

// Writes `html` to a file of a temporary folder, loads it, and gives what its
// script wrote into <pre id="out">.
Result Run(const QString& html);

} // namespace headlesschromium
