#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSet>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "app/frmInput.h"
#include "app/ClickableLabel.h"
#include "app/frmshowcolor.h"
#include "models/notations/ColorNotations.h"
#include "palettes/image/ImageCanvas.h"
#include "palettes/image/frmImage.h"
#include "palettes/picker/PickLoupe.h"
#include "tests/palettes/PaletteTestSession.h"
#include "tests/palettes/image/SyntheticImages.h"
#include "tests/support/ModalScript.h"

#include <cmath>
#include <memory>

using bascommon::ColorToHtmlHex;
using bascommon::MakeColor;

namespace {

const Color Blue = MakeColor(0x3A, 0x6E, 0xA5);
const Color Yellow = MakeColor(0xF2, 0xC1, 0x4E);

// Every pixel a colour of its own: red counts the column, green the row.
QImage coordinates(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x, y, 77));
    return image;
}

QStringList rowsOf(const QListWidget* list)
{
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows.append(list->item(i)->text());
    return rows;
}

QStringList itemsOf(const QComboBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items.append(list->itemText(i));
    return items;
}

} // namespace

class tst_imagewindow : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    void toolMenu_opensOneWindow_offeringThePickersPalettes();
    void everyNamedControl_data();
    void everyNamedControl();
    void openFile_showsThePictureAndItsPalette();
    void openFile_notAnImage_saysSoAndKeepsThePicture();
    void pasteAndDrop_bringPictures();
    void keys_moveOneImagePixel_andAverage();
    void click_savesAsThePickerSaves_andMakesCurrent_data();
    void click_savesAsThePickerSaves_andMakesCurrent();
    void zoom_keepsPixelsUnderTheMouse();
    void saveAsPalette_keepsTheViewsOrder();
    void copyAs_givesEveryColourInTheNotation();
    void colourCount_andCancel_startAnew();

private:
    frmImage* open(const std::function<void(TestDataFolder&)>& prepare = {});
    // Shows `image` and waits until its palette is on display.
    void show(frmImage* window, const QImage& image);
    std::unique_ptr<PaletteSession> m_session;
};

frmImage* tst_imagewindow::open(const std::function<void(TestDataFolder&)>& prepare)
{
    m_session = std::make_unique<PaletteSession>(prepare);
    m_session->window->mnuFromImage->trigger();
    frmImage* window = m_session->window->imageWindow();
    if (window && !QTest::qWaitForWindowExposed(window))
        qWarning("the image window was not exposed");
    // Its shortcuts (Ctrl+V, Ctrl and + or -) work in the active window.
    if (window && !QTest::qWaitForWindowActive(window))
        qWarning("the image window was not activated");
    return window;
}

void tst_imagewindow::show(frmImage* window, const QImage& image)
{
    QSignalSpy finished(window, &frmImage::extractionFinished);
    QVERIFY(window->showImage(image, QStringLiteral("test picture")));
    QVERIFY(finished.wait(10000));
    QVERIFY(!window->extracting());
}

void tst_imagewindow::cleanup()
{
    if (m_session)
        QVERIFY2(m_session->platform.unexpected.isEmpty(),
                 qPrintable(m_session->platform.unexpected.join('\n')));
    m_session.reset();
}

void tst_imagewindow::toolMenu_opensOneWindow_offeringThePickersPalettes()
{
    frmImage* window = open([](TestDataFolder& folder) {
        writeIndex(folder, {{"mycolor.rgb", "My Colors", "0"},
                            {"recent.rgb", "Recent Colors", "0"},
                            {"c1.rgb", "Web Safe Colors", "2"},
                            {"c4.rgb", "Brand & Co", "1"}});
        folder.write("c4.rgb", "");
    });
    QVERIFY(window);
    frmshowcolor& main = *m_session->window;
    QVERIFY(main.mnuTool->actions().contains(main.mnuFromImage));
    QCOMPARE(main.mnuFromImage->text(), QStringLiteral("Colors From &Image..."));
    // Each item of the menu answers its own letter.
    QSet<QChar> letters;
    for (const QAction* action : main.mnuTool->actions()) {
        if (action->isSeparator())
            continue;
        const QString text = action->text();
        const qsizetype at = text.indexOf(QLatin1Char('&'));
        QVERIFY2(at >= 0 && at + 1 < text.size(), qPrintable(text));
        QVERIFY2(!letters.contains(text.at(at + 1).toLower()), qPrintable(text));
        letters.insert(text.at(at + 1).toLower());
    }
    QCOMPARE(window->objectName(), QStringLiteral("frmImage"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Colors From Image"));
    // The palettes of kinds 0 and 1, as "Pick&Save Color" offers them.
    QCOMPARE(itemsOf(window->cmbSaveTo), QStringList({"My Colors", "Recent Colors", "Brand & Co"}));
    QCOMPARE(window->saveToFile(), QStringLiteral("mycolor.rgb"));
    window->cmbSaveTo->setCurrentIndex(2);

    // Opened again: the same window, the chosen palette still chosen.
    main.mnuFromImage->trigger();
    QCOMPARE(main.imageWindow(), window);
    QCOMPARE(main.findChildren<frmImage*>().size(), 1);
    QCOMPARE(window->saveToFile(), QStringLiteral("c4.rgb"));
    QVERIFY(!window->cmdSavePalette->isEnabled());
    QVERIFY(!window->cmdCopy->isEnabled());

    // The chosen palette deleted while the window stays open is no longer
    // offered, nor saved to.
    m_session->choosePalette(3);
    m_session->platform.answers.append(Platform::Answer::Yes);
    main.mnuDelChart->trigger();
    QVERIFY(!m_session->folder.exists(QStringLiteral("c4.rgb")));
    QCOMPARE(itemsOf(window->cmbSaveTo), QStringList({"My Colors", "Recent Colors"}));
    QCOMPARE(window->saveToFile(), QStringLiteral("mycolor.rgb"));
}

void tst_imagewindow::everyNamedControl_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    const QList<QPair<const char*, const char*>> controls = {
        {"cmdOpen", "QPushButton"},    {"cmdPaste", "QPushButton"},
        {"cmbZoom", "QComboBox"},      {"scrImage", "QScrollArea"},
        {"picImage", "ImageCanvas"},   {"lblcor", "ClickableLabel"},
        {"txthex", "QLineEdit"},       {"txtRgb", "QLineEdit"},
        {"picLoupe", "PickLoupe"},     {"cmbAverage", "QComboBox"},
        {"cmbSaveTo", "QComboBox"},    {"spnColors", "QSpinBox"},
        {"lstPalette", "QListWidget"}, {"prgExtract", "QProgressBar"},
        {"cmdCancel", "QPushButton"},  {"cmdSavePalette", "QPushButton"},
        {"cmdCopy", "QPushButton"},    {"mnuCopyAs", "QMenu"},
        {"lblStatus", "QLabel"},       {"cmdClose", "QPushButton"},
    };
    for (const auto& [name, kind] : controls)
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(kind);
}

void tst_imagewindow::everyNamedControl()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    frmImage* window = open();
    QObject* control = window->findChild<QObject*>(name);
    QVERIFY2(control, qPrintable(name));
    QVERIFY(control->inherits(kind.toLatin1()));
}

void tst_imagewindow::openFile_showsThePictureAndItsPalette()
{
    frmImage* window = open();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("mock-up.png"));
    QVERIFY(syntheticimages::Stripes({{Yellow, 6}, {Blue, 4}}, 10).save(path));
    m_session->platform.openAnswers.append(path);

    QSignalSpy loaded(window, &frmImage::loadFinished);
    QSignalSpy finished(window, &frmImage::extractionFinished);
    QTest::mouseClick(window->cmdOpen, Qt::LeftButton);
    QCOMPARE(m_session->platform.openRequests.size(), 1);
    QVERIFY(m_session->platform.openRequests.constFirst().contains(QStringLiteral("*.png")));
    QVERIFY(loaded.wait(10000));
    QCOMPARE(loaded.takeFirst().at(0).toBool(), true);
    QCOMPARE(window->image().size(), QSize(10, 10));
    QVERIFY(finished.size() > 0 || finished.wait(10000));
    QCOMPARE(rowsOf(window->lstPalette), QStringList({"#F2C14E  60.0%", "#3A6EA5  40.0%"}));
    QVERIFY(window->cmdSavePalette->isEnabled());
    QVERIFY(window->lblStatus->text().contains(QStringLiteral("mock-up.png")));
    // The hot spot starts in the middle of the picture.
    QCOMPARE(window->hotSpot(), QPoint(5, 5));
    QCOMPARE(window->txthex->text(), QStringLiteral("#F2C14E"));

    // Cancelled: nothing changes.
    m_session->platform.openAnswers.append(QString());
    QTest::mouseClick(window->cmdOpen, Qt::LeftButton);
    QVERIFY(!window->loading());
    QCOMPARE(window->image().size(), QSize(10, 10));
    QVERIFY(m_session->platform.messages.isEmpty());

    // A second file opened while the first is still decoding replaces it:
    // only the second is shown, whichever finishes first.
    const QString first = folder.filePath(QStringLiteral("first.png"));
    const QString second = folder.filePath(QStringLiteral("second.png"));
    QVERIFY(syntheticimages::Photo(640, 480).save(first));
    QVERIFY(coordinates(33, 22).save(second));
    window->openFile(first);
    window->openFile(second);
    QVERIFY(loaded.wait(10000));
    QCOMPARE(loaded.size(), 1);
    QCOMPARE(window->image().size(), QSize(33, 22));
    QVERIFY(!window->loading());
}

void tst_imagewindow::openFile_notAnImage_saysSoAndKeepsThePicture()
{
    frmImage* window = open();
    show(window, coordinates(30, 20));
    QTemporaryDir folder;
    const QString bomb = folder.filePath(QStringLiteral("bomb.png"));
    QFile file(bomb);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(syntheticimages::PngClaiming(20000, 10000));
    file.close();

    QSignalSpy loaded(window, &frmImage::loadFinished);
    window->openFile(bomb);
    QVERIFY(loaded.wait(10000));
    QCOMPARE(loaded.takeFirst().at(0).toBool(), false);
    QCOMPARE(m_session->platform.messages.size(), 1);
    const FakePlatform::Message& message = m_session->platform.messages.constFirst();
    QVERIFY2(message.text.contains(QStringLiteral("more than 100 megapixels")),
             qPrintable(message.text));
    QVERIFY(message.text.contains(QDir::toNativeSeparators(bomb)));
    QCOMPARE(message.icon, Platform::Icon::Critical);
    QCOMPARE(message.title, QStringLiteral("Colors From Image"));
    QCOMPARE(window->image().size(), QSize(30, 20));
    QCOMPARE(window->lstPalette->count(), 8);
}

void tst_imagewindow::pasteAndDrop_bringPictures()
{
    frmImage* window = open();
    FakePlatform& platform = m_session->platform;

    // Ctrl+V with no picture on the clipboard says so.
    QTest::keyClick(window, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(platform.clipboardPictureReads, 1);
    QCOMPARE(platform.messageTexts(), QStringList({"The clipboard holds no picture."}));
    QCOMPARE(platform.messages.constFirst().icon, Platform::Icon::Information);

    platform.clipboardPicture = syntheticimages::Stripes({{Blue, 3}, {Yellow, 1}}, 4);
    QSignalSpy finished(window, &frmImage::extractionFinished);
    QTest::keyClick(window, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(window->image().size(), QSize(4, 4));
    QVERIFY(finished.wait(10000));
    QCOMPARE(rowsOf(window->lstPalette), QStringList({"#3A6EA5  75.0%", "#F2C14E  25.0%"}));

    // A file dropped on the window.
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("dropped.bmp"));
    QVERIFY(coordinates(7, 9).save(path));
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    QVERIFY(enter.isAccepted());
    QSignalSpy loaded(window, &frmImage::loadFinished);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
    QVERIFY(loaded.wait(10000));
    QCOMPARE(window->image().size(), QSize(7, 9));

    // Text is not taken.
    QMimeData text;
    text.setText(QStringLiteral("#3A6EA5"));
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    refused.setAccepted(false);
    QApplication::sendEvent(window, &refused);
    QVERIFY(!refused.isAccepted());
    QCOMPARE(platform.messages.size(), 1);
}

void tst_imagewindow::keys_moveOneImagePixel_andAverage()
{
    frmImage* window = open();
    show(window, coordinates(60, 40));
    window->setZoom(4);
    ImageCanvas* canvas = window->picImage;
    canvas->setFocus();
    QCOMPARE(window->hotSpot(), QPoint(30, 20));

    QTest::keyClick(canvas, Qt::Key_Right);
    QCOMPARE(window->hotSpot(), QPoint(31, 20));
    QCOMPARE(window->txtRgb->text(), QStringLiteral("31,20,77"));
    QTest::keyClick(canvas, Qt::Key_Up);
    QCOMPARE(window->hotSpot(), QPoint(31, 19));
    QTest::keyClick(canvas, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(window->hotSpot(), QPoint(21, 19));
    // Never beyond the picture.
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(canvas, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(window->hotSpot(), QPoint(21, 39));
    QCOMPARE(window->txthex->text(), ColorToHtmlHex(MakeColor(21, 39, 77)));

    // The loupe centres on the hot spot and hatches what lies beyond.
    QCOMPARE(window->picLoupe->shownPixel(0, 0), std::optional<Color>(MakeColor(21, 39, 77)));
    QCOMPARE(window->picLoupe->shownPixel(1, -1), std::optional<Color>(MakeColor(22, 38, 77)));
    QCOMPARE(window->picLoupe->shownPixel(0, 1), std::optional<Color>());

    // 3 x 3 around (21, 30): the mean of columns 20-22 and rows 29-31.
    QTest::keyClick(canvas, Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyClick(canvas, Qt::Key_Down, Qt::NoModifier);
    QCOMPARE(window->hotSpot(), QPoint(21, 30));
    window->cmbAverage->setCurrentIndex(1);
    QCOMPARE(window->averageSize(), 3);
    QCOMPARE(window->picLoupe->averageSize(), 3);
    QCOMPARE(window->txtRgb->text(), QStringLiteral("21,30,77"));
    // At the corner, only the pixels inside count: columns 0-2 of rows 0-2.
    window->picImage->setHotSpot(QPoint(0, 0));
    window->cmbAverage->setCurrentIndex(2);
    QCOMPARE(window->txtRgb->text(), QStringLiteral("1,1,77"));
}

void tst_imagewindow::click_savesAsThePickerSaves_andMakesCurrent_data()
{
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("file");
    QTest::newRow("first offered palette") << 0 << "mycolor.rgb";
    QTest::newRow("another palette") << 1 << "recent.rgb";
}

void tst_imagewindow::click_savesAsThePickerSaves_andMakesCurrent()
{
    QFETCH(int, target);
    QFETCH(QString, file);
    frmImage* window = open();
    show(window, coordinates(60, 40));
    window->setZoom(4);
    window->cmbSaveTo->setCurrentIndex(target);
    const TestDataFolder& folder = m_session->folder;
    const QByteArray before = folder.read(file);
    QSignalSpy current(m_session->window.get(), &frmshowcolor::currentColorChanged);

    ImageCanvas* canvas = window->picImage;
    // The scroll area places the enlarged picture once events have run.
    QApplication::processEvents();
    const QPoint at = canvas->pixelRect(QPoint(12, 34)).center();
    QMouseEvent move(QEvent::MouseMove, QPointF(at), canvas->mapToGlobal(QPointF(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &move);
    QCOMPARE(window->hotSpot(), QPoint(12, 34));
    QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, at);

    const Color picked = MakeColor(12, 34, 77);
    QCOMPARE(m_session->window->currentColor(), picked);
    QCOMPARE(current.size(), 1);
    const QByteArray record = ColorToHtmlHex(picked).mid(1).toLatin1();
    // The record once in the chosen palette; recent.rgb takes the current colour too.
    if (file == QLatin1String("recent.rgb"))
        QCOMPARE(folder.read(file), before + record + record);
    else
        QCOMPARE(folder.read(file), before + record);

    // Enter picks what the arrows reached.
    canvas->setFocus();
    QTest::keyClick(canvas, Qt::Key_Right);
    QTest::keyClick(canvas, Qt::Key_Enter);
    QCOMPARE(m_session->window->currentColor(), MakeColor(13, 34, 77));
    QVERIFY(m_session->platform.messages.isEmpty());
}

void tst_imagewindow::zoom_keepsPixelsUnderTheMouse()
{
    frmImage* window = open();
    show(window, coordinates(200, 150));
    ImageCanvas* canvas = window->picImage;
    for (const double zoom : {0.25, 0.5, 1.0, 8.0, 32.0}) {
        window->setZoom(zoom);
        QCOMPARE(window->zoom(), zoom);
        QCOMPARE(canvas->size(), QSize(int(std::ceil(200 * zoom)), int(std::ceil(150 * zoom))));
        // Reduced, several image pixels share a screen pixel.
        if (zoom < 1)
            continue;
        const QPoint pixel(123, 45);
        const QRect rect = canvas->pixelRect(pixel);
        QCOMPARE(canvas->pixelAt(rect.center()), std::optional<QPoint>(pixel));
        QCOMPARE(canvas->pixelAt(rect.topLeft()), std::optional<QPoint>(pixel));
        QCOMPARE(canvas->pixelAt(rect.bottomRight()), std::optional<QPoint>(pixel));
    }
    QCOMPARE(canvas->pixelAt(QPointF(-1, 3)), std::optional<QPoint>());
    // Ctrl and + steps up, Ctrl and - down.
    window->setZoom(1);
    QTest::keyClick(window, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(window->zoom(), 2.0);
    QTest::keyClick(window, Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(window, Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(window->zoom(), 0.5);
}

void tst_imagewindow::saveAsPalette_keepsTheViewsOrder()
{
    frmImage* window = open();
    show(window, syntheticimages::Stripes({{Blue, 2}, {Yellow, 5}, {MakeColor(255, 0, 0), 3}}, 4));
    const TestDataFolder& folder = m_session->folder;
    frmshowcolor& main = *m_session->window;
    const QByteArray indexBefore = folder.read("colorchart.cci");
    const QString file = main.NewChartFile;

    whenModalShown([](QWidget* dialog) {
        auto* input = qobject_cast<frmInput*>(dialog);
        QVERIFY(input);
        input->txtResult->setText(QStringLiteral("From the mock-up"));
        QTest::mouseClick(input->cmdOk, Qt::LeftButton);
    });
    QTest::mouseClick(window->cmdSavePalette, Qt::LeftButton);

    QCOMPARE(folder.read("colorchart.cci"),
             indexBefore + file.toLatin1() + "\r\nFrom the mock-up\r\n1\r\n");
    // Largest share first, as the list shows them: the view shows the
    // newest record first.
    QCOMPARE(folder.read(file), paletteRecords({"#3A6EA5", "#FF0000", "#F2C14E"}));
    QCOMPARE(main.lblcor[0]->backColor(), Yellow);
    QCOMPARE(main.cmbChart->currentText(), QStringLiteral("From the mock-up"));

    // Cancelled: nothing more.
    whenModalShown([](QWidget* dialog) {
        QTest::mouseClick(qobject_cast<frmInput*>(dialog)->cmdCancel, Qt::LeftButton);
    });
    const QByteArray indexAfter = folder.read("colorchart.cci");
    QTest::mouseClick(window->cmdSavePalette, Qt::LeftButton);
    QCOMPARE(folder.read("colorchart.cci"), indexAfter);
}

void tst_imagewindow::copyAs_givesEveryColourInTheNotation()
{
    frmImage* window = open();
    show(window, syntheticimages::Stripes({{Yellow, 6}, {Blue, 4}}, 10));
    emit window->mnuCopyAs->aboutToShow();
    const QStringList expected = {
        notations::Format(notations::Notation::Oklch, Yellow),
        notations::Format(notations::Notation::Oklch, Blue),
    };
    QAction* oklch = window->mnuCopyAs->findChild<QAction*>(QStringLiteral("fmtOklch"));
    QVERIFY(oklch);
    QVERIFY(oklch->text().endsWith(QLatin1Char('\t') + expected.constFirst()));
    oklch->trigger();
    QCOMPARE(m_session->platform.clipboard, expected.join(QLatin1Char('\n')));
    QAction* hex = window->mnuCopyAs->findChild<QAction*>(QStringLiteral("fmtHtmlHex"));
    QVERIFY(hex);
    hex->trigger();
    QCOMPARE(m_session->platform.clipboard, QStringLiteral("#F2C14E\n#3A6EA5"));
    QCOMPARE(m_session->platform.clipboardClears, 2);
    // Every notation of the Color Formats window is there.
    for (const notations::Notation notation : notations::AllNotations)
        QVERIFY(window->mnuCopyAs->findChild<QAction*>(QStringLiteral("fmt") +
                                                       notations::ShortName(notation)));
}

void tst_imagewindow::colourCount_andCancel_startAnew()
{
    frmImage* window = open();
    show(window, syntheticimages::Photo(400, 300));
    QCOMPARE(window->lstPalette->count(), 8);

    QSignalSpy finished(window, &frmImage::extractionFinished);
    window->spnColors->setValue(5);
    QVERIFY(window->extracting());
    QVERIFY(finished.wait(10000));
    QCOMPARE(window->lstPalette->count(), 5);
    QCOMPARE(window->palette().size(), 5);

    // Cancelled at once: the last palette stays on display, and the next
    // request extracts again.
    finished.clear();
    window->spnColors->setValue(6);
    window->cancelExtraction();
    QVERIFY(!window->extracting());
    QVERIFY(!window->prgExtract->isVisible());
    QVERIFY(finished.wait(10000));
    QCOMPARE(window->lstPalette->count(), 5);
    window->extractPalette();
    QVERIFY(finished.wait(10000));
    QCOMPARE(window->lstPalette->count(), 6);
}

QTEST_MAIN(tst_imagewindow)
#include "tst_imagewindow.moc"
