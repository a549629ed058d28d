#pragma once

#include <QString>

#include <utility>

// Outcome of a file operation. Logic never shows anything itself: it hands the
// window a sentence that names the file and the reason, ready for a message box.
struct [[nodiscard]] FileResult
{
    bool ok = true;
    QString message;

    static FileResult success() { return {}; }
    static FileResult failure(QString message) { return {false, std::move(message)}; }
    // The user stopped the operation; nothing changed and nothing is to be told.
    static FileResult cancelled() { return {false, QString()}; }
    bool wasCancelled() const { return !ok && message.isEmpty(); }
    explicit operator bool() const { return ok; }
};

// "Could not <action> "<native path>": <reason>."
QString describeFileError(const QString& action, const QString& path, const QString& reason);
