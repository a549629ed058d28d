#pragma once

#include "scheme/SchemeColors.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Builders for saved-scheme files as the tests need them, written without the
// code under test so that both sides of a round trip are checked.
namespace schemetest {

// "set.hcs" content: each name between quotes, CR LF after each.
QByteArray nameList(const QStringList& names);

// One 36-byte record, fields given as #RRGGBB in stored order (text,
// background, normal, visited, active, hover link).
QByteArray record(const QStringList& htmlColors);

// A record whose six fields all hold one distinct grey, so that records can be
// told apart at a glance: record(n) = six times (n, n, n).
QByteArray greyRecord(int level);

// Readable output of a scheme for failure messages.
QString describe(const SchemeColors& colors);

} // namespace schemetest
