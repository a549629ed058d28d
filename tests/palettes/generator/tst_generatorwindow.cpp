#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolTip>

#include "app/ClickableLabel.h"
#include "app/frmshowcolor.h"
#include "models/notations/ColorNotations.h"
#include "models/notations/ColorParser.h"
#include "models/notations/FormatChoices.h"
#include "palettes/generator/ColorGenerator.h"
#include "palettes/PaletteRecords.h"
#include "palettes/generator/RampTheme.h"
#include "palettes/generator/SwatchGrid.h"
#include "palettes/generator/frmGenerator.h"
#include "app/frmInput.h"
#include "models/science/Contrast.h"
#include "scheme/SchemeRole.h"
#include "tests/palettes/PaletteTestSession.h"
#include "tests/support/ModalScript.h"

#include <memory>

using bascommon::ColorToHtmlHex;
using bascommon::MakeColor;
using colorgenerator::Swatches;
using Page = frmGenerator::Page;

Q_DECLARE_METATYPE(frmGenerator::Page)

namespace {

QStringList hexesOf(const Swatches& swatches)
{
    QStringList hexes;
    for (const colorgenerator::Swatch& swatch : swatches)
        hexes.append(ColorToHtmlHex(swatch.color));
    return hexes;
}

QStringList dataFiles(const TestDataFolder& folder)
{
    return QDir(folder.path()).entryList(QDir::Files, QDir::Name);
}

} // namespace

class tst_generatorwindow : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    void toolMenu_opensTheWindowOnTheCurrentColour();
    void everyNamedControl_data();
    void everyNamedControl();
    void pages_data();
    void pages();
    void parameterChange_regeneratesThePreview();
    void makeCurrent_goesThroughCurrentColorChanged();
    void saveAsPalette_addsOneEntryAndOneFile();
    void saveAsPalette_cancel_changesNothing();
    void ramp_themeExportedAndCopied();
    void swatch_hoverShowsHexAndMenuCopiesIt();
    void contrast_followsThePageBackground();
    void typedColours_badTextKeepsTheColour();
    void window_fitsTheScreenWithEverySwatch();

private:
    frmGenerator* open(const std::function<void(TestDataFolder&)>& prepare = {});
    std::unique_ptr<PaletteSession> m_session;
};

frmGenerator* tst_generatorwindow::open(const std::function<void(TestDataFolder&)>& prepare)
{
    m_session = std::make_unique<PaletteSession>(prepare);
    m_session->window->mnuGenerator->trigger();
    frmGenerator* generator = m_session->window->generatorWindow();
    if (generator && !QTest::qWaitForWindowExposed(generator))
        qWarning("the generator was not exposed");
    return generator;
}

void tst_generatorwindow::cleanup()
{
    if (m_session)
        QVERIFY2(m_session->platform.unexpected.isEmpty(),
                 qPrintable(m_session->platform.unexpected.join('\n')));
    m_session.reset();
}

void tst_generatorwindow::toolMenu_opensTheWindowOnTheCurrentColour()
{
    frmGenerator* g = open();
    QVERIFY(g);
    frmshowcolor& w = *m_session->window;
    QVERIFY(w.mnuTool->actions().contains(w.mnuGenerator));
    QCOMPARE(w.mnuGenerator->text(), QStringLiteral("Color &Generator"));
    QCOMPARE(g->objectName(), QStringLiteral("frmGenerator"));
    QCOMPARE(g->windowTitle(), QStringLiteral("Color Generator"));
    QVERIFY(g->isVisible());
    QCOMPARE(g->baseColor(), w.currentColor());
    QCOMPARE(g->txtBase->text(), ColorToHtmlHex(w.currentColor()));
    QCOMPARE(g->swatches().constFirst().color, w.currentColor());

    // Opened again after the current colour changed: one window, the new colour.
    const Color other = MakeColor(0xE1, 0x1D, 0x48);
    w.CurrentColorChanged(other);
    w.mnuGenerator->trigger();
    QCOMPARE(w.generatorWindow(), g);
    QCOMPARE(w.findChildren<frmGenerator*>().size(), 1);
    QCOMPARE(g->baseColor(), other);
    QCOMPARE(g->swatches().constFirst().color, other);
}

void tst_generatorwindow::everyNamedControl_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    const QList<QPair<const char*, const char*>> controls = {
        {"lblBase", "QLabel"},           {"txtBase", "QLineEdit"},
        {"cmdPickBase", "QPushButton"},  {"tabGenerator", "QTabWidget"},
        {"cmbHarmony", "QComboBox"},     {"sldAngle", "QSlider"},
        {"cmbVariation", "QComboBox"},   {"spnSteps", "QSpinBox"},
        {"txtMixWith", "QLineEdit"},     {"cmdPickMix", "QPushButton"},
        {"cmbMixSpace", "QComboBox"},    {"spnMixSteps", "QSpinBox"},
        {"txtRampName", "QLineEdit"},    {"cmdExportTheme", "QPushButton"},
        {"cmdCopyTheme", "QPushButton"}, {"cmbBackground", "QComboBox"},
        {"txtBackground", "QLineEdit"},  {"cmdPickBackground", "QPushButton"},
        {"txtTargets", "QLineEdit"},     {"grdSwatches", "SwatchGrid"},
        {"lblSwatch", "QLabel"},         {"cmdMakeCurrent", "QPushButton"},
        {"cmdSave", "QPushButton"},      {"cmdClose", "QPushButton"},
        {"mnuSwatch", "QMenu"},
    };
    for (const auto& [name, kind] : controls)
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(kind);
}

void tst_generatorwindow::everyNamedControl()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    frmGenerator* g = open();
    QObject* control = g->findChild<QObject*>(name);
    QVERIFY2(control, qPrintable(name));
    QVERIFY2(control->inherits(kind.toLatin1()), control->metaObject()->className());
}

void tst_generatorwindow::pages_data()
{
    QTest::addColumn<Page>("page");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("firstLabel");
    // What each page shows first, with its parameters as they open.
    QTest::newRow("harmonies: complementary") << Page::Harmonies << 2 << "Base";
    QTest::newRow("variations: five tints") << Page::Variations << 5 << "Base";
    QTest::newRow("mix with white, five steps") << Page::Mix << 5 << "0%";
    QTest::newRow("ramp") << Page::Ramp << 11 << "50";
    QTest::newRow("contrast against white") << Page::Contrast << 5 << "1.5:1";
}

void tst_generatorwindow::pages()
{
    QFETCH(Page, page);
    QFETCH(int, count);
    QFETCH(QString, firstLabel);
    const Color base = MakeColor(0x33, 0x66, 0x99);
    frmGenerator* g = open();
    g->setBaseColor(base);
    g->tabGenerator->setCurrentIndex(int(page));
    QCOMPARE(g->page(), page);
    QCOMPARE(g->swatches().size(), count);
    QCOMPARE(g->swatches().constFirst().label, firstLabel);
    QCOMPARE(g->grdSwatches->swatches().size(), count);
    QVERIFY(g->cmdSave->isEnabled());
    QVERIFY(g->cmdMakeCurrent->isEnabled());
}

void tst_generatorwindow::parameterChange_regeneratesThePreview()
{
    frmGenerator* g = open();
    const Color base = MakeColor(0x33, 0x66, 0x99);
    g->setBaseColor(base);

    g->cmbHarmony->setCurrentIndex(int(colorgenerator::Harmony::Analogous));
    QVERIFY(g->sldAngle->isEnabled());
    g->sldAngle->setValue(45);
    QCOMPARE(hexesOf(g->swatches()),
             hexesOf(colorgenerator::Harmonize(base, colorgenerator::Harmony::Analogous, 45)));
    QCOMPARE(g->lblAngle->text(), QStringLiteral("45\u00B0"));
    g->cmbHarmony->setCurrentIndex(int(colorgenerator::Harmony::Square));
    QVERIFY(!g->sldAngle->isEnabled());
    QCOMPARE(g->swatches().size(), 4);

    g->tabGenerator->setCurrentIndex(int(Page::Variations));
    g->cmbVariation->setCurrentIndex(int(colorgenerator::Variation::Shades));
    g->spnSteps->setValue(12);
    QCOMPARE(hexesOf(g->swatches()),
             hexesOf(colorgenerator::Vary(base, colorgenerator::Variation::Shades, 12)));

    g->tabGenerator->setCurrentIndex(int(Page::Mix));
    g->txtMixWith->setText(QStringLiteral("#e11d48"));
    QTest::keyClick(g->txtMixWith, Qt::Key_Return);
    QCOMPARE(g->txtMixWith->text(), QStringLiteral("#E11D48"));
    g->cmbMixSpace->setCurrentIndex(int(colorgenerator::MixSpace::OkLch));
    g->spnMixSteps->setValue(20);
    QCOMPARE(hexesOf(g->swatches()),
             hexesOf(colorgenerator::Mix(base, MakeColor(0xE1, 0x1D, 0x48),
                                         colorgenerator::MixSpace::OkLch, 20)));
    QCOMPARE(g->swatches().constLast().color, MakeColor(0xE1, 0x1D, 0x48));
}

void tst_generatorwindow::makeCurrent_goesThroughCurrentColorChanged()
{
    frmGenerator* g = open();
    frmshowcolor& w = *m_session->window;
    g->setBaseColor(MakeColor(0x33, 0x66, 0x99));
    g->tabGenerator->setCurrentIndex(int(Page::Ramp));
    const qint64 recentBefore = m_session->folder.read("recent.rgb").size();

    // Chosen with a click and the button.
    const colorgenerator::Swatch step = g->swatches().at(2);
    QTest::mouseClick(g->grdSwatches, Qt::LeftButton, Qt::NoModifier,
                      g->grdSwatches->swatchRect(2).center());
    QCOMPARE(g->grdSwatches->currentIndex(), 2);
    QTest::mouseClick(g->cmdMakeCurrent, Qt::LeftButton);
    QCOMPARE(w.currentColor(), step.color);
    QCOMPARE(w.txtrgb->text(), ColorToHtmlHex(step.color));
    // Recorded among the recent colours, as every change of the colour is.
    const QByteArray recent = m_session->folder.read("recent.rgb");
    QCOMPARE(recent.size(), recentBefore + paletterecords::RecordLength);
    QCOMPARE(recent.right(6), ColorToHtmlHex(step.color).mid(1).toLatin1());
    // The generator keeps its own starting colour.
    QCOMPARE(g->baseColor(), MakeColor(0x33, 0x66, 0x99));

    // A double-click, and Enter on the selected swatch, do the same.
    const Color last = g->swatches().at(10).color;
    QTest::mouseDClick(g->grdSwatches, Qt::LeftButton, Qt::NoModifier,
                       g->grdSwatches->swatchRect(10).center());
    QCOMPARE(w.currentColor(), last);
    g->grdSwatches->setFocus();
    QTest::keyClick(g->grdSwatches, Qt::Key_Home);
    QTest::keyClick(g->grdSwatches, Qt::Key_Right);
    // A screen reader hears the swatch the keys moved to.
    QCOMPARE(g->grdSwatches->accessibleName(),
             ColorToHtmlHex(g->swatches().at(1).color) + QStringLiteral(", 100, swatch 2 of 11"));
    QTest::keyClick(g->grdSwatches, Qt::Key_Return);
    QCOMPARE(w.currentColor(), g->swatches().at(1).color);
}

void tst_generatorwindow::saveAsPalette_addsOneEntryAndOneFile()
{
    frmGenerator* g = open();
    frmshowcolor& w = *m_session->window;
    g->setBaseColor(MakeColor(0x33, 0x66, 0x99));
    g->tabGenerator->setCurrentIndex(int(Page::Ramp));
    const TestDataFolder& folder = m_session->folder;
    const QByteArray indexBefore = folder.read("colorchart.cci");
    const QStringList filesBefore = dataFiles(folder);
    const QString file = w.NewChartFile;
    const int listed = w.cmbChart->count();

    QString title;
    whenModalShown([&](QWidget* dialog) {
        auto* input = qobject_cast<frmInput*>(dialog);
        QVERIFY(input);
        title = input->windowTitle();
        input->txtResult->setText(QStringLiteral(" Brand ramp "));
        QTest::mouseClick(input->cmdOk, Qt::LeftButton);
    });
    QTest::mouseClick(g->cmdSave, Qt::LeftButton);

    QCOMPARE(title, QStringLiteral("Save as Palette"));
    // Exactly one entry more, at the end, of kind 1.
    QCOMPARE(folder.read("colorchart.cci"),
             indexBefore + file.toLatin1() + "\r\nBrand ramp\r\n1\r\n");
    // Exactly one file more, holding the ramp so that the view, newest
    // record first, shows 50 first.
    QStringList filesAfter = dataFiles(folder);
    QCOMPARE(filesAfter.size(), filesBefore.size() + 1);
    filesAfter.removeOne(file);
    QCOMPARE(filesAfter, filesBefore);
    QStringList newestFirst = hexesOf(g->swatches());
    std::reverse(newestFirst.begin(), newestFirst.end());
    QCOMPARE(folder.read(file), paletteRecords(newestFirst));
    QCOMPARE(ColorToHtmlHex(w.lblcor[0]->backColor()), hexesOf(g->swatches()).first());
    // Listed last and on display.
    QCOMPARE(w.cmbChart->count(), listed + 1);
    QCOMPARE(w.cmbChart->currentIndex(), listed);
    QCOMPARE(w.cmbChart->itemText(listed), QStringLiteral("Brand ramp"));
}

void tst_generatorwindow::saveAsPalette_cancel_changesNothing()
{
    frmGenerator* g = open();
    const TestDataFolder& folder = m_session->folder;
    const QByteArray indexBefore = folder.read("colorchart.cci");
    const QStringList filesBefore = dataFiles(folder);
    whenModalShown([](QWidget* dialog) {
        QTest::mouseClick(qobject_cast<frmInput*>(dialog)->cmdCancel, Qt::LeftButton);
    });
    QTest::mouseClick(g->cmdSave, Qt::LeftButton);
    QCOMPARE(folder.read("colorchart.cci"), indexBefore);
    QCOMPARE(dataFiles(folder), filesBefore);
}

void tst_generatorwindow::ramp_themeExportedAndCopied()
{
    frmGenerator* g = open();
    g->setBaseColor(MakeColor(0x0D, 0x94, 0x88));
    g->tabGenerator->setCurrentIndex(int(Page::Ramp));
    g->txtRampName->setText(QStringLiteral("Sea Green"));
    const QByteArray expected = ramptheme::TailwindTheme(QStringLiteral("Sea Green"), g->ramp());
    QVERIFY(expected.contains("--color-sea-green-500: "));

    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("theme.css"));
    m_session->platform.saveAnswers.append(path);
    QTest::mouseClick(g->cmdExportTheme, Qt::LeftButton);
    QCOMPARE(m_session->platform.saveRequests.size(), 1);
    QCOMPARE(m_session->platform.saveRequests.at(0).proposedName, QStringLiteral("sea-green"));
    QCOMPARE(m_session->platform.saveRequests.at(0).defaultSuffix, QStringLiteral("css"));
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), expected);

    // Cancelled: nothing written, nothing said.
    m_session->platform.saveAnswers.append(QString());
    QTest::mouseClick(g->cmdExportTheme, Qt::LeftButton);
    QVERIFY(m_session->platform.messages.isEmpty());

    // A file that cannot be written is reported once, naming it.
    const QString nowhere = out.filePath(QStringLiteral("missing/theme.css"));
    m_session->platform.saveAnswers.append(nowhere);
    QTest::mouseClick(g->cmdExportTheme, Qt::LeftButton);
    QCOMPARE(m_session->platform.messages.size(), 1);
    QVERIFY(m_session->platform.messages.at(0).text.contains(QDir::toNativeSeparators(nowhere)));
    QCOMPARE(m_session->platform.messages.at(0).icon, Platform::Icon::Critical);

    QTest::mouseClick(g->cmdCopyTheme, Qt::LeftButton);
    QCOMPARE(m_session->platform.clipboard, QString::fromUtf8(expected));
}

void tst_generatorwindow::swatch_hoverShowsHexAndMenuCopiesIt()
{
    frmGenerator* g = open();
    g->setBaseColor(MakeColor(0x33, 0x66, 0x99));
    g->tabGenerator->setCurrentIndex(int(Page::Harmonies));
    g->cmbHarmony->setCurrentIndex(int(colorgenerator::Harmony::Triadic));
    const colorgenerator::Swatch second = g->swatches().at(1);

    const QPoint over = g->grdSwatches->swatchRect(1).center();
    QMouseEvent move(QEvent::MouseMove, over, g->grdSwatches->mapToGlobal(over), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(g->grdSwatches, &move);
    QVERIFY2(g->lblSwatch->text().startsWith(ColorToHtmlHex(second.color)),
             qPrintable(g->lblSwatch->text()));
    QVERIFY(g->lblSwatch->text().contains(QStringLiteral("+120\u00B0")));
    QHelpEvent help(QEvent::ToolTip, over, g->grdSwatches->mapToGlobal(over));
    QApplication::sendEvent(g->grdSwatches, &help);
    QTRY_COMPARE(QToolTip::text(), ColorToHtmlHex(second.color) + QStringLiteral("  +120\u00B0"));
    // Leaving the swatches shows the selected one again.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(g->grdSwatches, &leave);
    QVERIFY(g->lblSwatch->text().startsWith(ColorToHtmlHex(g->swatches().at(0).color)));

    QString caption;
    whenPopupShown([&](QMenu* menu) {
        caption = g->mnuSwatchCopyHex->text();
        g->mnuSwatchCopyHex->trigger();
        menu->close();
    });
    QContextMenuEvent request(QContextMenuEvent::Mouse, g->grdSwatches->swatchRect(2).center(),
                              g->grdSwatches->mapToGlobal(g->grdSwatches->swatchRect(2).center()));
    QApplication::sendEvent(g->grdSwatches, &request);
    const Color third = g->swatches().at(2).color;
    QCOMPARE(caption, QStringLiteral("&Copy ") + ColorToHtmlHex(third));
    QCOMPARE(m_session->platform.clipboard, ColorToHtmlHex(third));
    QCOMPARE(g->grdSwatches->currentIndex(), 2);

    // Copied in any notation of the Color Formats window, the user's
    // templates included.
    FormatChoices choices = FormatChoices::Defaults();
    choices.templates.append({QStringLiteral("Sass"), QStringLiteral("$brand: #{hex:X};"), true});
    m_session->platform.settings.insert(FormatChoices::SettingKey, choices.toSetting());
    for (const auto& [name, expected] :
         {std::pair{QStringLiteral("fmtOklch"),
                    notations::Format(notations::Notation::Oklch, third)},
          std::pair{QStringLiteral("fmtSwiftUI"),
                    notations::Format(notations::Notation::SwiftUI, third)},
          std::pair{QStringLiteral("fmtTemplate_0"), QStringLiteral("$brand: #") +
                                                         ColorToHtmlHex(third).mid(1) +
                                                         QLatin1Char(';')}}) {
        int listed = 0;
        whenPopupShown([&, name = name](QMenu* menu) {
            listed = int(g->mnuSwatchCopyAs->actions().size());
            QAction* item = g->mnuSwatchCopyAs->findChild<QAction*>(name);
            QVERIFY2(item, qPrintable(name));
            item->trigger();
            menu->close();
        });
        QApplication::sendEvent(g->grdSwatches, &request);
        QCOMPARE(listed, notations::NotationCount + 1);
        QCOMPARE(m_session->platform.clipboard, expected);
    }
}

void tst_generatorwindow::contrast_followsThePageBackground()
{
    frmGenerator* g = open();
    frmshowcolor& w = *m_session->window;
    g->setBaseColor(MakeColor(0x33, 0x66, 0x99));
    g->tabGenerator->setCurrentIndex(int(Page::Contrast));
    g->cmbBackground->setCurrentIndex(int(frmGenerator::Background::PageBackground));
    QVERIFY(!g->txtBackground->isEnabled());

    const Color page = MakeColor(0x1E, 0x1E, 0x2E);
    w.applySchemeRoleColor(SchemeRole::Background, page);
    g->txtTargets->setText(QStringLiteral("3, 4.5, 7"));
    QCOMPARE(g->swatches().size(), 3);
    const QList<double> targets{3, 4.5, 7};
    for (int i = 0; i < 3; ++i) {
        const colorgenerator::Swatch& swatch = g->swatches().at(i);
        const double ratio = wcag::ContrastRatio(swatch.color, page);
        QVERIFY(ratio >= targets.at(i));
        QCOMPARE(swatch.detail, colorgenerator::AchievedRatioText(ratio));
        // On a dark page the colours are lighter than it.
        QVERIFY(wcag::RelativeLuminance(swatch.color) > wcag::RelativeLuminance(page));
    }

    // A target that no colour reaches is said so, and the rest still show.
    g->cmbBackground->setCurrentIndex(int(frmGenerator::Background::Other));
    QVERIFY(g->txtBackground->isEnabled());
    g->txtBackground->setText(QStringLiteral("777777"));
    QTest::keyClick(g->txtBackground, Qt::Key_Return);
    g->txtTargets->setText(QStringLiteral("3, 12"));
    QCOMPARE(g->swatches().size(), 1);
    QVERIFY2(g->lblNote->text().startsWith(
                 QStringLiteral("No color of this hue and chroma reaches 12:1 against #777777")),
             qPrintable(g->lblNote->text()));

    // Text that is no list of ratios shows nothing and says why.
    g->txtTargets->setText(QStringLiteral("3, lots"));
    QVERIFY(g->swatches().isEmpty());
    QVERIFY(!g->cmdSave->isEnabled());
    QVERIFY(g->lblNote->text().contains(QStringLiteral("\"lots\" is not a contrast ratio")));
}

void tst_generatorwindow::typedColours_badTextKeepsTheColour()
{
    frmGenerator* g = open();
    g->setBaseColor(MakeColor(0x33, 0x66, 0x99));
    g->txtBase->setText(QStringLiteral("#f0a"));
    QTest::keyClick(g->txtBase, Qt::Key_Return);
    QCOMPARE(g->baseColor(), MakeColor(0xFF, 0x00, 0xAA));
    QCOMPARE(g->txtBase->text(), QStringLiteral("#FF00AA"));
    QCOMPARE(g->swatches().constFirst().color, MakeColor(0xFF, 0x00, 0xAA));

    g->txtBase->setText(QStringLiteral("#12345G"));
    QTest::keyClick(g->txtBase, Qt::Key_Return);
    QCOMPARE(g->baseColor(), MakeColor(0xFF, 0x00, 0xAA));
    QCOMPARE(g->txtBase->text(), QStringLiteral("#FF00AA"));
    QVERIFY(!g->lblNote->text().isEmpty());
    QCOMPARE(g->lblNote->text(), colorparser::Parse(u"#12345G").message);

    // Any colour the parser reads, a CSS name among them.
    g->tabGenerator->setCurrentIndex(int(Page::Mix));
    g->txtMixWith->setText(QStringLiteral(" rebeccapurple "));
    QTest::keyClick(g->txtMixWith, Qt::Key_Return);
    QCOMPARE(g->txtMixWith->text(), QStringLiteral("#663399"));
    QCOMPARE(g->swatches().constLast().color, MakeColor(0x66, 0x33, 0x99));

    // Picked with the colour dialog, which starts on the colour in use.
    m_session->platform.colorAnswers.append(MakeColor(0x10, 0x20, 0x30));
    QTest::mouseClick(g->cmdPickBase, Qt::LeftButton);
    QCOMPARE(m_session->platform.colorDialogInitials.constLast(), MakeColor(0xFF, 0x00, 0xAA));
    QCOMPARE(g->baseColor(), MakeColor(0x10, 0x20, 0x30));
}

void tst_generatorwindow::window_fitsTheScreenWithEverySwatch()
{
    frmGenerator* g = open();
    QVERIFY(g);
    const QRect screen = g->screen()->availableGeometry();
    QVERIFY2(screen.contains(g->frameGeometry()), qPrintable(QStringLiteral("%1x%2 on %3x%4")
                                                                 .arg(g->frameGeometry().width())
                                                                 .arg(g->frameGeometry().height())
                                                                 .arg(screen.width())
                                                                 .arg(screen.height())));
    const QRect close(g->cmdClose->mapTo(g, QPoint()), g->cmdClose->size());
    QVERIFY(g->rect().contains(close));
    // The last of a ramp's swatches comes into sight when the keys select it.
    g->tabGenerator->setCurrentIndex(int(Page::Ramp));
    QCOMPARE(g->swatches().size(), colorgenerator::RampLength);
    g->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(g));
    g->grdSwatches->setFocus(Qt::TabFocusReason);
    QTest::keyClick(g->grdSwatches, Qt::Key_End);
    QCOMPARE(g->grdSwatches->currentIndex(), colorgenerator::RampLength - 1);
    const QRect last = g->grdSwatches->swatchRect(colorgenerator::RampLength - 1);
    QVERIFY(g->grdSwatches->visibleRegion().boundingRect().contains(last));
}

QTEST_MAIN(tst_generatorwindow)
#include "tst_generatorwindow.moc"
