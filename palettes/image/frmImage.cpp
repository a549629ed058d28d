#include "palettes/image/frmImage.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "app/ClickableLabel.h"
#include "app/ImageList.h"
#include "app/WindowRoutines.h"
#include "app/platform/Platform.h"
#include "models/notations/ColorNotations.h"
#include "models/notations/FormatChoices.h"
#include "models/notations/FormatTemplate.h"
#include "palettes/PaletteListModel.h"
#include "palettes/image/ImageCanvas.h"
#include "palettes/image/ImageSource.h"
#include "palettes/picker/PickLoupe.h"

#include <algorithm>
#include <atomic>
#include <iterator>

using bascommon::ColorToHtmlHex;
using paletteextraction::PaletteColor;

namespace {

const QString ImageWindowTitle = QStringLiteral("Colors From Image");
const int AverageSizes[] = {1, 3, 5};
// The zoom steps, as fractions of the picture's own size.
const double ZoomSteps[] = {1.0 / 16, 1.0 / 8, 1.0 / 4, 1.0 / 2, 1, 2, 4, 8, 16, 32};
constexpr int OneToOne = 4;

template <typename Widget> Widget* imageChild(Widget* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QPushButton* imageButton(const QString& caption, QWidget* parent, const char* name)
{
    auto* pushButton = imageChild(new QPushButton(caption, parent), name);
    pushButton->setAutoDefault(false);
    return pushButton;
}

QLineEdit* colourText(QWidget* parent, const char* name, int maxLength)
{
    auto* field = imageChild(new QLineEdit(parent), name);
    field->setReadOnly(true);
    field->setMaxLength(maxLength);
    return field;
}

QIcon swatchIcon(Color color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(toQColor(color));
    QPainter painter(&pixmap);
    painter.setPen(Qt::darkGray);
    painter.drawRect(0, 0, 15, 15);
    return QIcon(pixmap);
}

} // namespace

// One piece of work on another thread: the decoding of a file or the
// extraction of a palette.
struct frmImage::Run
{
    std::shared_ptr<std::atomic<bool>> cancel = std::make_shared<std::atomic<bool>>(false);
    QFutureWatcher<paletteextraction::Extraction> extraction;
    QFutureWatcher<imagesource::Loaded> load;
    // The file's name, for a decoding.
    QString name;
};

frmImage::frmImage(Platform& platform, QWidget* parent)
    : QDialog(parent, Qt::Window), m_platform(platform)
{
    setObjectName(QStringLiteral("frmImage"));
    setWindowTitle(ImageWindowTitle);
    setWindowIcon(ImageList::programIcon());
    setAttribute(Qt::WA_QuitOnClose, false);
    // A picture pasted or dropped before any file is opened is decoded by
    // Qt, within the same bounds as a file.
    imagesource::LimitDecoding();
    setAcceptDrops(true);

    cmdOpen = imageButton(QStringLiteral("&Open Image..."), this, "cmdOpen");
    cmdPaste = imageButton(QStringLiteral("&Paste"), this, "cmdPaste");
    cmdPaste->setToolTip(QStringLiteral("Paste a picture from the clipboard (Ctrl+V)"));
    auto* lblZoom = imageChild(new QLabel(QStringLiteral("&Zoom:"), this), "lblZoom");
    cmbZoom = imageChild(new QComboBox(this), "cmbZoom");
    for (const double step : ZoomSteps)
        cmbZoom->addItem(QString::number(step * 100, 'g', 4) + QLatin1Char('%'));
    cmbZoom->setCurrentIndex(OneToOne);
    lblZoom->setBuddy(cmbZoom);

    picImage = new ImageCanvas;
    scrImage = imageChild(new QScrollArea(this), "scrImage");
    scrImage->setWidget(picImage);
    scrImage->setMinimumSize(480, 360);
    scrImage->setAlignment(Qt::AlignCenter);

    lblcor = imageChild(new ClickableLabel(this), "lblcor");
    lblcor->setFrameShape(QFrame::Box);
    lblcor->setFixedSize(48, 48);
    lblcor->setBackColor(bascommon::White);
    txthex = colourText(this, "txthex", 7);
    txtRgb = colourText(this, "txtRgb", 11);
    picLoupe = new PickLoupe(this);
    auto* lblAverage = imageChild(new QLabel(QStringLiteral("Sample:"), this), "lblAverage");
    cmbAverage = imageChild(new QComboBox(this), "cmbAverage");
    cmbAverage->addItems({QStringLiteral("Single pixel"), QStringLiteral("3 x 3 average"),
                          QStringLiteral("5 x 5 average")});
    lblAverage->setBuddy(cmbAverage);
    auto* Label1 = imageChild(new QLabel(QStringLiteral("Save To:"), this), "Label1");
    cmbSaveTo = imageChild(new QComboBox(this), "cmbSaveTo");
    cmbSaveTo->setMinimumContentsLength(16);
    cmbSaveTo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Label1->setBuddy(cmbSaveTo);

    auto* lblColors = imageChild(new QLabel(QStringLiteral("Palette &colors:"), this), "lblColors");
    spnColors = imageChild(new QSpinBox(this), "spnColors");
    spnColors->setRange(paletteextraction::MinColors, paletteextraction::MaxColors);
    spnColors->setValue(paletteextraction::DefaultColors);
    lblColors->setBuddy(spnColors);
    lstPalette = imageChild(new QListWidget(this), "lstPalette");
    lstPalette->setSelectionMode(QAbstractItemView::SingleSelection);
    prgExtract = imageChild(new QProgressBar(this), "prgExtract");
    prgExtract->setRange(0, 0);
    prgExtract->hide();
    cmdCancel = imageButton(QStringLiteral("Cancel"), this, "cmdCancel");
    cmdCancel->hide();
    cmdSavePalette = imageButton(QStringLiteral("&Save as Palette..."), this, "cmdSavePalette");
    cmdCopy = imageButton(QStringLiteral("Cop&y"), this, "cmdCopy");
    mnuCopyAs = imageChild(new QMenu(cmdCopy), "mnuCopyAs");
    cmdCopy->setMenu(mnuCopyAs);
    lblStatus = imageChild(new QLabel(this), "lblStatus");
    lblStatus->setTextFormat(Qt::PlainText);
    lblStatus->setWordWrap(true);
    cmdClose = imageButton(QStringLiteral("Close"), this, "cmdClose");

    auto* sourceRow = new QHBoxLayout;
    sourceRow->addWidget(cmdOpen);
    sourceRow->addWidget(cmdPaste);
    sourceRow->addStretch();
    sourceRow->addWidget(lblZoom);
    sourceRow->addWidget(cmbZoom);

    auto* pickGrid = new QGridLayout;
    pickGrid->addWidget(lblcor, 0, 0, 2, 1);
    pickGrid->addWidget(txthex, 0, 1);
    pickGrid->addWidget(txtRgb, 1, 1);
    pickGrid->addWidget(picLoupe, 2, 0, 1, 2, Qt::AlignCenter);
    pickGrid->addWidget(lblAverage, 3, 0);
    pickGrid->addWidget(cmbAverage, 3, 1);
    pickGrid->addWidget(Label1, 4, 0);
    pickGrid->addWidget(cmbSaveTo, 4, 1);
    pickGrid->addWidget(lblColors, 5, 0);
    pickGrid->addWidget(spnColors, 5, 1);

    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(prgExtract, 1);
    progressRow->addWidget(cmdCancel);
    auto* paletteRow = new QHBoxLayout;
    paletteRow->addWidget(cmdSavePalette);
    paletteRow->addWidget(cmdCopy);

    auto* side = new QVBoxLayout;
    side->addLayout(pickGrid);
    side->addWidget(lstPalette, 1);
    side->addLayout(progressRow);
    side->addLayout(paletteRow);

    auto* body = new QHBoxLayout;
    body->addWidget(scrImage, 1);
    body->addLayout(side);

    auto* closeRow = new QHBoxLayout;
    closeRow->addWidget(lblStatus, 1);
    closeRow->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sourceRow);
    layout->addLayout(body, 1);
    layout->addLayout(closeRow);

    m_progressDelay = new QTimer(this);
    m_progressDelay->setSingleShot(true);
    m_progressDelay->setInterval(ProgressDelayMs);
    connect(m_progressDelay, &QTimer::timeout, this, [this] {
        if (!extracting() && !loading())
            return;
        prgExtract->show();
        cmdCancel->show();
    });

    auto* paste = new QShortcut(QKeySequence::Paste, this);
    connect(paste, &QShortcut::activated, this, &frmImage::pasteImage);
    auto* zoomIn = new QShortcut(QKeySequence::ZoomIn, this);
    connect(zoomIn, &QShortcut::activated, this, [this] { stepZoom(1); });
    auto* zoomOut = new QShortcut(QKeySequence::ZoomOut, this);
    connect(zoomOut, &QShortcut::activated, this, [this] { stepZoom(-1); });

    connect(cmdOpen, &QPushButton::clicked, this, [this] {
        const QString path = m_platform.chooseOpenFile(this, imagesource::OpenFilter(),
                                                       QStringLiteral("Open Image"));
        if (!path.isEmpty())
            openFile(path);
    });
    connect(cmdPaste, &QPushButton::clicked, this, &frmImage::pasteImage);
    connect(cmbZoom, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            picImage->setZoom(ZoomSteps[index]);
    });
    connect(picImage, &ImageCanvas::zoomStepRequested, this, &frmImage::stepZoom);
    connect(picImage, &ImageCanvas::hotSpotMoved, this, &frmImage::showHotSpot);
    connect(picImage, &ImageCanvas::picked, this, &frmImage::pick);
    connect(cmbAverage, &QComboBox::currentIndexChanged, this, [this] {
        picLoupe->setAverageSize(averageSize());
        showHotSpot(hotSpot());
    });
    connect(spnColors, &QSpinBox::valueChanged, this, &frmImage::extractPalette);
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        cancelLoad();
        cancelExtraction();
    });
    connect(cmdSavePalette, &QPushButton::clicked, this, &frmImage::savePalette);
    connect(mnuCopyAs, &QMenu::aboutToShow, this, &frmImage::fillCopyAsMenu);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);

    showPalette({});
    lblStatus->setText(QStringLiteral(
        "Open an image, paste one with Ctrl+V or drop one here. A click on the picture makes "
        "its color current and saves it; the arrow keys move one pixel, Enter picks."));
    if (parent)
        PlaceBeside(this, parent);
}

frmImage::~frmImage()
{
    // The threads finish on their own once told to stop; nothing of this
    // window is left for them to touch.
    for (const std::unique_ptr<Run>& run : m_runs)
        run->cancel->store(true);
}

void frmImage::setSaveTargets(const StringTable& files, const StringTable& names)
{
    const QString chosen = saveToFile();
    m_saveToFiles = files;
    const QSignalBlocker quiet(cmbSaveTo);
    ShowPaletteNames(cmbSaveTo, names);
    const qsizetype kept = chosen.isEmpty() ? -1 : files.indexOf(chosen);
    cmbSaveTo->setCurrentIndex(files.isEmpty() ? -1 : int(qMax<qsizetype>(kept, 0)));
}

QString frmImage::saveToFile() const
{
    return m_saveToFiles.value(cmbSaveTo->currentIndex());
}

void frmImage::openFile(const QString& path)
{
    // A large picture takes a while to decode: the window stays usable, and
    // the picture on display stays until the new one is ready.
    cancelLoad();
    auto run = std::make_unique<Run>();
    Run* started = run.get();
    run->name = QFileInfo(path).fileName();
    connect(&run->load, &QFutureWatcherBase::finished, this,
            [this, started] { finishLoad(started); });
    run->load.setFuture(QtConcurrent::run([path] { return imagesource::ReadImageFile(path); }));
    m_runs.push_back(std::move(run));
    m_loading = started;
    showProgressLater();
}

void frmImage::cancelLoad()
{
    if (!m_loading)
        return;
    m_loading = nullptr;
    hideProgressWhenIdle();
}

void frmImage::finishLoad(Run* run)
{
    const bool current = run == m_loading;
    bool shown = false;
    if (current) {
        m_loading = nullptr;
        hideProgressWhenIdle();
        imagesource::Loaded loaded = run->load.result();
        if (loaded.ok())
            shown = showImage(std::move(loaded.image), run->name);
        else
            showMessage(loaded.message);
    }
    release(run);
    if (current)
        emit loadFinished(shown);
}

void frmImage::release(Run* run)
{
    // The watcher that reported must outlive its report.
    const auto found =
        std::find_if(m_runs.begin(), m_runs.end(),
                     [run](const std::unique_ptr<Run>& each) { return each.get() == run; });
    if (found == m_runs.end())
        return;
    Run* finished = found->release();
    m_runs.erase(found);
    QTimer::singleShot(0, [finished] { delete finished; });
}

void frmImage::showProgressLater()
{
    if (!m_progressDelay->isActive() && !prgExtract->isVisible())
        m_progressDelay->start();
}

void frmImage::hideProgressWhenIdle()
{
    if (extracting() || loading())
        return;
    m_progressDelay->stop();
    prgExtract->hide();
    cmdCancel->hide();
}

bool frmImage::showImage(QImage image, const QString& name)
{
    imagesource::Loaded accepted = imagesource::Accept(std::move(image), name);
    if (!accepted.ok()) {
        showMessage(accepted.message);
        return false;
    }
    m_image = std::move(accepted.image);
    picImage->setImage(m_image);
    fitZoom();
    lblStatus->setText(
        QStringLiteral("%1: %2 x %3 pixels.").arg(name).arg(m_image.width()).arg(m_image.height()));
    picImage->setFocus();
    extractPalette();
    return true;
}

void frmImage::pasteImage()
{
    const QImage pasted = m_platform.clipboardImage();
    if (pasted.isNull()) {
        showMessage(QStringLiteral("The clipboard holds no picture."), Platform::Icon::Information);
        return;
    }
    showImage(pasted, QStringLiteral("The picture on the clipboard"));
}

void frmImage::dragEnterEvent(QDragEnterEvent* event)
{
    const QMimeData* data = event->mimeData();
    const bool file =
        data->hasUrls() && !data->urls().isEmpty() && data->urls().constFirst().isLocalFile();
    if (file || data->hasImage())
        event->acceptProposedAction();
}

void frmImage::dropEvent(QDropEvent* event)
{
    const QMimeData* data = event->mimeData();
    if (data->hasUrls() && !data->urls().isEmpty() && data->urls().constFirst().isLocalFile()) {
        event->acceptProposedAction();
        openFile(data->urls().constFirst().toLocalFile());
    } else if (data->hasImage()) {
        event->acceptProposedAction();
        showImage(qvariant_cast<QImage>(data->imageData()), QStringLiteral("The dropped picture"));
    }
}

QPoint frmImage::hotSpot() const
{
    return picImage->hotSpot();
}

int frmImage::averageSize() const
{
    return AverageSizes[qBound(0, cmbAverage->currentIndex(), 2)];
}

Color frmImage::hotSpotColor() const
{
    if (m_image.isNull())
        return bascommon::Black;
    return picksampling::Average(m_image, hotSpot(), averageSize());
}

void frmImage::showHotSpot(QPoint pixel)
{
    if (m_image.isNull())
        return;
    const Color color = hotSpotColor();
    lblcor->setBackColor(color);
    txthex->setText(ColorToHtmlHex(color));
    txtRgb->setText(bascommon::ColorToDecList(color));
    picksampling::ReadLoupe(m_image, pixel, m_loupePixels);
    picLoupe->showPixels(m_loupePixels);
    // The arrows can walk the hot spot out of view; a pixel that is already
    // in view (under the mouse) scrolls nothing.
    const QRect shown = picImage->pixelRect(pixel);
    scrImage->ensureVisible(shown.center().x(), shown.center().y(), shown.width() / 2 + 1,
                            shown.height() / 2 + 1);
}

void frmImage::pick()
{
    if (m_image.isNull())
        return;
    const Color color = hotSpotColor();
    emit colorPicked(color, saveToFile());
}

void frmImage::setZoom(double zoom)
{
    int best = 0;
    for (int i = 0; i < int(std::size(ZoomSteps)); ++i)
        if (ZoomSteps[i] <= zoom)
            best = i;
    cmbZoom->setCurrentIndex(best);
}

double frmImage::zoom() const
{
    return picImage->zoom();
}

void frmImage::stepZoom(int steps)
{
    cmbZoom->setCurrentIndex(
        qBound(0, cmbZoom->currentIndex() + steps, int(std::size(ZoomSteps)) - 1));
}

void frmImage::fitZoom()
{
    // The largest step up to the picture's own size at which it fits.
    const QSize room = scrImage->viewport()->size();
    double fit = 1;
    if (m_image.width() > 0 && m_image.height() > 0)
        fit = qMin(1.0, qMin(double(room.width()) / m_image.width(),
                             double(room.height()) / m_image.height()));
    setZoom(fit);
}

void frmImage::extractPalette()
{
    cancelExtraction();
    if (m_image.isNull())
        return;
    auto run = std::make_unique<Run>();
    Run* started = run.get();
    connect(&run->extraction, &QFutureWatcherBase::finished, this,
            [this, started] { finishExtraction(started); });
    const std::shared_ptr<std::atomic<bool>> cancel = run->cancel;
    const QImage image = m_image;
    const int count = spnColors->value();
    run->extraction.setFuture(QtConcurrent::run([image, count, cancel] {
        return paletteextraction::Extract(image, count, [cancel] { return cancel->load(); });
    }));
    m_runs.push_back(std::move(run));
    m_running = started;
    showProgressLater();
}

void frmImage::cancelExtraction()
{
    if (!m_running)
        return;
    m_running->cancel->store(true);
    m_running = nullptr;
    hideProgressWhenIdle();
}

void frmImage::finishExtraction(Run* run)
{
    if (run == m_running) {
        m_running = nullptr;
        hideProgressWhenIdle();
        showPalette(run->extraction.result());
    }
    release(run);
    emit extractionFinished();
}

void frmImage::showPalette(const paletteextraction::Extraction& extraction)
{
    m_palette = extraction.cancelled ? QList<PaletteColor>() : extraction.colors;
    lstPalette->clear();
    for (const PaletteColor& color : std::as_const(m_palette)) {
        auto* item = new QListWidgetItem(swatchIcon(color.color),
                                         ColorToHtmlHex(color.color) + QStringLiteral("  ") +
                                             paletteextraction::ShareText(color.share),
                                         lstPalette);
        item->setToolTip(bascommon::ColorToDecList(color.color));
    }
    cmdSavePalette->setEnabled(!m_palette.isEmpty());
    cmdCopy->setEnabled(!m_palette.isEmpty());
    if (!m_image.isNull() && m_palette.isEmpty() && !extraction.cancelled)
        lblStatus->setText(
            QStringLiteral("The picture has no colors: every pixel is transparent."));
}

void frmImage::fillCopyAsMenu()
{
    qDeleteAll(mnuCopyAs->actions());
    mnuCopyAs->clear();
    if (m_palette.isEmpty())
        return;
    const auto add = [this](const QString& label, const std::function<QString(Color)>& format,
                            const QString& name) {
        QStringList lines;
        for (const PaletteColor& color : std::as_const(m_palette))
            lines.append(format(color.color));
        QString caption = label + QLatin1Char('\t') + lines.constFirst();
        QAction* action =
            mnuCopyAs->addAction(caption.replace(QLatin1Char('&'), QStringLiteral("&&")));
        action->setObjectName(name);
        const QString text = lines.join(QLatin1Char('\n'));
        connect(action, &QAction::triggered, this, [this, text] { copyPalette(text); });
    };
    add(QStringLiteral("HEX"), &ColorToHtmlHex, QStringLiteral("fmtHtmlHex"));
    for (const notations::Notation notation : notations::AllNotations)
        add(
            notations::Label(notation),
            [notation](Color color) { return notations::Format(notation, color); },
            QStringLiteral("fmt") + notations::ShortName(notation));
    const FormatChoices choices = FormatChoices::fromSetting(
        m_platform.readSetting(FormatChoices::SettingKey, FormatChoices::Defaults().toSetting()));
    for (qsizetype i = 0; i < choices.templates.size(); ++i) {
        const formattemplate::Compiled compiled =
            formattemplate::Compile(choices.templates.at(i).text);
        if (compiled.ok)
            add(
                choices.templates.at(i).name,
                [&compiled](Color color) { return compiled.result.expand(color); },
                QStringLiteral("fmtTemplate_%1").arg(i));
    }
}

void frmImage::copyPalette(const QString& text)
{
    m_platform.clearClipboard();
    m_platform.setClipboardText(text);
}

void frmImage::savePalette()
{
    if (m_palette.isEmpty())
        return;
    QList<Color> colors;
    for (const PaletteColor& color : std::as_const(m_palette))
        colors.append(color.color);
    const QString name = AskName(m_platform, this, QStringLiteral("Save as Palette"),
                                 QStringLiteral("Please input a name of new color palette:"));
    if (!name.isEmpty())
        emit paletteRequested(name, colors);
}

void frmImage::showMessage(const QString& text, Platform::Icon icon)
{
    m_platform.showMessage(this, text, Platform::Buttons::Ok, icon, ImageWindowTitle);
}
