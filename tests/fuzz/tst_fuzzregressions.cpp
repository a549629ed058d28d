// Replays through the fuzz checks every input that once broke one of them
// (regressions/), the hand-made seeds of fuzz/seeds and the shipped data files,
// so that whatever fuzzing found stays mended in every build.
#include "fuzz/FuzzChecks.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Target
{
    QString name;
    QStringList shippedSeeds;
    QStringList seedFolders = {};
};

const QList<Target> Targets = {
    {"paletteindex", {"colorchart.cci"}},
    {"paletterecords", {"mycolor.rgb", "c1.rgb", "c2.rgb", "c3.rgb", "c4.rgb", "c5.rgb"}},
    {"palettenames", {}},
    {"schemenames", {"set.hcs"}},
    {"schemecolors", {"colorset.dat"}},
    {"exchange", {}, {"tests/data/gimp", "tests/data/ase", "tests/data/soc"}},
    {"aco", {}},
    {"soc", {}, {"tests/data/soc"}},
    {"sketch", {}},
    {"tokens", {}},
    {"stylesheet", {}},
    {"harvest", {}},
    {"colortext", {}},
};

const QString SourceDir = QStringLiteral(TINTORA_SOURCE_DIR);

} // namespace

class tst_fuzzregressions : public QObject
{
    Q_OBJECT
private slots:
    void replay_data();
    void replay();
};

void tst_fuzzregressions::replay_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("input");
    for (const Target& target : Targets) {
        QStringList inputs;
        QStringList folders = {SourceDir + "/tests/fuzz/regressions/" + target.name,
                               SourceDir + "/fuzz/seeds/" + target.name};
        for (const QString& folder : target.seedFolders)
            folders.append(SourceDir + "/" + folder);
        for (const QString& folder : folders) {
            const QDir dir(folder);
            for (const QString& file : dir.entryList(QDir::Files, QDir::Name))
                inputs.append(dir.filePath(file));
        }
        for (const QString& shipped : target.shippedSeeds)
            inputs.append(SourceDir + "/data/" + shipped);
        for (const QString& input : inputs)
            QTest::addRow("%s: %s", qPrintable(target.name),
                          qPrintable(QDir(SourceDir).relativeFilePath(input)))
                << target.name << input;
    }
}

void tst_fuzzregressions::replay()
{
    QFETCH(QString, target);
    QFETCH(QString, input);
    const fuzzchecks::Check check = fuzzchecks::CheckNamed(target);
    QVERIFY(check);
    QFile file(input);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(input));
    const QByteArray content = file.readAll();
    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    // A broken promise aborts the test with its description.
    check(scratch.path(), content);
}

QTEST_GUILESS_MAIN(tst_fuzzregressions)
#include "tst_fuzzregressions.moc"
