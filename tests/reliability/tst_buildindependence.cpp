// The numbers of contrast ratios, colour-vision simulation, the lightness
// search, the exchange readers' conversions, the CSS notations and the gamut
// mapping, as the build optimises them, against the same sources built without
// optimisation: a routine whose result moved with the optimiser would show
// here as a different digest.
#include <QProcess>
#include <QTest>

class tst_buildindependence : public QObject
{
    Q_OBJECT
private slots:
    void optimisedDigests_matchUnoptimised();
};

namespace {

QStringList linesOf(QProcess& process)
{
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        qWarning("%s did not finish: %s", qPrintable(process.program()),
                 qPrintable(process.readAllStandardError()));
        return {};
    }
    return QString::fromLatin1(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

void tst_buildindependence::optimisedDigests_matchUnoptimised()
{
    // Both at once: the unoptimised program takes most of the time.
    QProcess optimisedRun;
    QProcess plainRun;
    optimisedRun.start(QStringLiteral(TINTORA_DIGEST_BUILT), {});
    plainRun.start(QStringLiteral(TINTORA_DIGEST_UNOPTIMISED), {});
    const QStringList optimised = linesOf(optimisedRun);
    const QStringList plain = linesOf(plainRun);
    QVERIFY(!optimised.isEmpty());
    QCOMPARE(optimised.size(), plain.size());
    for (qsizetype i = 0; i < optimised.size(); ++i)
        QCOMPARE(optimised[i], plain[i]);
}

QTEST_GUILESS_MAIN(tst_buildindependence)
#include "tst_buildindependence.moc"
