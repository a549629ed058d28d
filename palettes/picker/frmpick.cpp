#include "palettes/picker/frmpick.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>

#include "app/ClickableLabel.h"
#include "app/ImageList.h"
#include "app/platform/Platform.h"
#include "models/FormatNames.h"
#include "app/WindowRoutines.h"
#include "palettes/PaletteIndex.h"
#include "palettes/PaletteListModel.h"
#include "palettes/picker/PickLoupe.h"

#include <algorithm>

using namespace bascommon;

namespace {

const QString AutoStopKey = QStringLiteral("autostop");
// Beside "autostop": "1", "3" or "5", the side of the averaged square.
const QString AverageKey = QStringLiteral("pickaverage");
const int AverageSizes[] = {1, 3, 5};
// Whether each pick also goes to the clipboard ("1" or "0"), and in which
// notation, by its command-line name.
const QString CopyPickKey = QStringLiteral("copypick");
const QString CopyFormatKey = QStringLiteral("copyformat");
const QString DefaultCopyFormat = QStringLiteral("hex");

// The setting is read as a number: any value other than 0 checks the box,
// and text that is no number counts as 0.
bool isNonZeroNumber(const QString& text)
{
    bool ok = false;
    const double value = TrimSpaces(text).toDouble(&ok);
    return ok && value != 0.0;
}

QLineEdit* colourText(QWidget* parent, const char* name, int maxLength)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setReadOnly(true);
    field->setMaxLength(maxLength);
    return field;
}

} // namespace

frmpick::frmpick(Platform& platform, PaletteIndexReader readIndex, QWidget* owner, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_platform(platform),
      m_readIndex(std::move(readIndex)), m_owner(owner)
{
    setObjectName(QStringLiteral("frmpick"));
    // A window title shows the ampersand as it is.
    setWindowTitle(QStringLiteral("Pick&Save Color"));
    setWindowIcon(ImageList::programIcon());
    if (owner)
        setFont(owner->font());
    setAttribute(Qt::WA_QuitOnClose, false);
    // The free area of the window reports the cursor even without a button down.
    setMouseTracking(true);

    lblcor = new ClickableLabel(this);
    lblcor->setObjectName(QStringLiteral("lblcor"));
    lblcor->setFrameShape(QFrame::Box);
    lblcor->setFixedSize(48, 48);
    lblcor->setBackColor(White);
    m_swatchPalette = lblcor->palette();
    txthex = colourText(this, "txthex", 7);
    txtRgb = colourText(this, "txtRgb", 11);
    showColor(White);

    Label1 = new QLabel(QStringLiteral("Save To:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    cmbSaveTo = new QComboBox(this);
    cmbSaveTo->setObjectName(QStringLiteral("cmbSaveTo"));
    cmbSaveTo->setMinimumContentsLength(16);
    cmbSaveTo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Label1->setBuddy(cmbSaveTo);
    Check1 = new QCheckBox(QStringLiteral("pick color continuously"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    cmdStop = new QPushButton(QStringLiteral("&Stop"), this);
    cmdStop->setObjectName(QStringLiteral("cmdStop"));
    // Enter on the focused button stops, as it would in a dialog; anywhere
    // else in this window Enter picks.
    cmdStop->setAutoDefault(true);
    picLoupe = new PickLoupe(this);
    lblAverage = new QLabel(QStringLiteral("Sample:"), this);
    lblAverage->setObjectName(QStringLiteral("lblAverage"));
    cmbAverage = new QComboBox(this);
    cmbAverage->setObjectName(QStringLiteral("cmbAverage"));
    cmbAverage->addItems({QStringLiteral("Single pixel"), QStringLiteral("3 x 3 average"),
                          QStringLiteral("5 x 5 average")});
    lblAverage->setBuddy(cmbAverage);
    cmdPick = new QPushButton(QStringLiteral("&Pick a Color"), this);
    cmdPick->setObjectName(QStringLiteral("cmdPick"));
    cmdPick->setAutoDefault(true);
    cmdPick->hide();
    lblPickerOnly = new QLabel(this);
    lblPickerOnly->setObjectName(QStringLiteral("lblPickerOnly"));
    lblPickerOnly->setTextFormat(Qt::PlainText);
    lblPickerOnly->setWordWrap(true);
    lblPickerOnly->hide();
    chkCopyPick = new QCheckBox(QStringLiteral("&Copy as"), this);
    chkCopyPick->setObjectName(QStringLiteral("chkCopyPick"));
    cmbCopyFormat = new QComboBox(this);
    cmbCopyFormat->setObjectName(QStringLiteral("cmbCopyFormat"));
    cmbCopyFormat->setMinimumContentsLength(16);
    cmbCopyFormat->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmbCopyFormat->setAccessibleName(QStringLiteral("Notation copied"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblcor, 0, 0, 2, 1);
    grid->addWidget(txthex, 0, 1, 1, 2);
    grid->addWidget(txtRgb, 1, 1, 1, 2);
    grid->addWidget(Label1, 2, 0);
    grid->addWidget(cmbSaveTo, 2, 1, 1, 2);
    grid->addWidget(lblAverage, 3, 0);
    grid->addWidget(cmbAverage, 3, 1, 1, 2);
    grid->addWidget(chkCopyPick, 4, 0);
    grid->addWidget(cmbCopyFormat, 4, 1, 1, 2);
    grid->addWidget(Check1, 5, 0, 1, 2);
    grid->addWidget(cmdStop, 5, 2);
    grid->addWidget(picLoupe, 0, 3, 6, 1, Qt::AlignCenter);
    grid->addWidget(lblPickerOnly, 6, 0, 1, 3);
    grid->addWidget(cmdPick, 7, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmbSaveTo, &QComboBox::currentIndexChanged, this, &frmpick::cmbSaveTo_Click);
    connect(Check1, &QCheckBox::toggled, this, &frmpick::Check1_Click);
    connect(cmdStop, &QPushButton::clicked, this, &frmpick::stopRequested);
    connect(cmbAverage, &QComboBox::currentIndexChanged, this, &frmpick::cmbAverage_Click);
    connect(cmdPick, &QPushButton::clicked, this, &frmpick::pickRequested);
    connect(chkCopyPick, &QCheckBox::toggled, this, &frmpick::chkCopyPick_Click);
    connect(cmbCopyFormat, &QComboBox::currentIndexChanged, this, &frmpick::cmbCopyFormat_Click);

    // Top to bottom as the rows read; the controls were made in another order.
    QWidget::setTabOrder(txthex, txtRgb);
    QWidget::setTabOrder(txtRgb, cmbSaveTo);
    QWidget::setTabOrder(cmbSaveTo, cmbAverage);
    QWidget::setTabOrder(cmbAverage, chkCopyPick);
    QWidget::setTabOrder(chkCopyPick, cmbCopyFormat);
    QWidget::setTabOrder(cmbCopyFormat, Check1);
    QWidget::setTabOrder(Check1, cmdStop);
    QWidget::setTabOrder(cmdStop, cmdPick);

    Form_Load();
}

void frmpick::Form_Load()
{
    // Before the first show: changing the flags of a shown window hides it.
    SetTopmost(m_platform, this);
    ShowSaveChart();
    Check1->setChecked(isNonZeroNumber(m_platform.readSetting(AutoStopKey, QStringLiteral("0"))));
    // Anything but 3 or 5 is the single pixel.
    const int stored = TrimSpaces(m_platform.readSetting(AverageKey, QStringLiteral("1"))).toInt();
    const QSignalBlocker quiet(cmbAverage);
    const auto* found = std::find(std::begin(AverageSizes), std::end(AverageSizes), stored);
    cmbAverage->setCurrentIndex(found == std::end(AverageSizes) ? 0 : int(found - AverageSizes));
    picLoupe->setAverageSize(averageSize());
    ShowCopyFormats();
}

void frmpick::ShowCopyFormats()
{
    m_templates =
        FormatChoices::fromSetting(m_platform.readSetting(FormatChoices::SettingKey,
                                                          FormatChoices::Defaults().toSetting()))
            .templates;
    const QString stored = m_platform.readSetting(CopyFormatKey, DefaultCopyFormat);
    const QSignalBlocker quietList(cmbCopyFormat);
    const QSignalBlocker quietBox(chkCopyPick);
    cmbCopyFormat->clear();
    int chosen = 0;
    for (const formatnames::Entry& entry : formatnames::Catalog(m_templates)) {
        // The short name is what the command line takes; what it looks like
        // is one hover away.
        cmbCopyFormat->addItem(entry.name, entry.name);
        cmbCopyFormat->setItemData(cmbCopyFormat->count() - 1, PlainToolTip(entry.label),
                                   Qt::ToolTipRole);
        if (entry.name == stored)
            chosen = cmbCopyFormat->count() - 1;
    }
    // A template deleted since, or a name edited by hand: the web notation.
    cmbCopyFormat->setCurrentIndex(chosen);
    chkCopyPick->setChecked(
        isNonZeroNumber(m_platform.readSetting(CopyPickKey, QStringLiteral("0"))));
    cmbCopyFormat->setEnabled(chkCopyPick->isChecked());
}

void frmpick::chkCopyPick_Click(bool checked)
{
    m_platform.writeSetting(CopyPickKey, checked ? QStringLiteral("1") : QStringLiteral("0"));
    cmbCopyFormat->setEnabled(checked);
}

void frmpick::cmbCopyFormat_Click(int index)
{
    if (index >= 0)
        m_platform.writeSetting(CopyFormatKey, cmbCopyFormat->itemData(index).toString());
}

std::optional<QString> frmpick::copyText(Color color) const
{
    if (!chkCopyPick->isChecked() || cmbCopyFormat->currentIndex() < 0)
        return std::nullopt;
    return formatnames::Format(cmbCopyFormat->currentData().toString(), color, m_templates);
}

void frmpick::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_centred)
        return;
    m_centred = true;
    // Shown but not yet on the screen: the frame is known, and the window
    // appears where it belongs, on the screen the user was working on.
    // Without an owner, that is the screen under the cursor.
    const QScreen* home = m_owner ? m_owner->screen() : QGuiApplication::screenAt(QCursor::pos());
    if (!home)
        home = QGuiApplication::primaryScreen();
    QRect frame = frameGeometry();
    frame.moveCenter(home->geometry().center());
    move(frame.topLeft());
}

void frmpick::ShowSaveChart()
{
    const paletteindex::Reading reading = m_readIndex();
    StringTable names;
    paletteindex::ColorTargets(reading.entries, SaveToFiles, names);
    {
        const QSignalBlocker quiet(cmbSaveTo);
        ShowPaletteNames(cmbSaveTo, names);
        cmbSaveTo->setCurrentIndex(SaveToFiles.isEmpty() ? -1 : 0);
    }
    // The first offered palette is the target until the user chooses another;
    // with none offered there is no target at all.
    SaveToFile = SaveToFiles.value(0);
}

void frmpick::cmbSaveTo_Click(int index)
{
    SaveToFile = SaveToFiles.value(index);
}

void frmpick::Check1_Click(bool checked)
{
    m_platform.writeSetting(AutoStopKey, checked ? QStringLiteral("1") : QStringLiteral("0"));
}

bool frmpick::continuous() const
{
    return Check1->isChecked();
}

int frmpick::averageSize() const
{
    return AverageSizes[qBound(0, cmbAverage->currentIndex(), 2)];
}

void frmpick::cmbAverage_Click(int)
{
    m_platform.writeSetting(AverageKey, QString::number(averageSize()));
    picLoupe->setAverageSize(averageSize());
    emit averageSizeChanged();
}

void frmpick::showPickerOnly()
{
    m_pickerOnly = true;
    {
        // Unavailable this time only: the stored choice stays for desktops
        // that hand out a picture.
        const QSignalBlocker quietCheck(Check1);
        const QSignalBlocker quietAverage(cmbAverage);
        Check1->setChecked(false);
        cmbAverage->setCurrentIndex(0);
    }
    Check1->setEnabled(false);
    lblAverage->setEnabled(false);
    cmbAverage->setEnabled(false);
    picLoupe->hide();
    lblPickerOnly->setText(QStringLiteral(
        "This desktop hands out no picture of the screen, only its own color picker: each "
        "pick takes one color and ends picking. Continuous picking and the magnifier are not "
        "available."));
    lblPickerOnly->show();
    cmdPick->show();
    cmdPick->setFocus();
}

void frmpick::showColor(Color color)
{
    // The swatch keeps a palette of its own, recoloured in place: copying
    // the label's palette on every move would cost more than the change.
    m_swatchPalette.setColor(QPalette::Window, toQColor(color));
    lblcor->setPalette(m_swatchPalette);
    txthex->setText(ColorToHtmlHex(color));
    txtRgb->setText(ColorToDecList(color));
}

void frmpick::mouseMoveEvent(QMouseEvent* event)
{
    emit pointerEntered();
    QWidget::mouseMoveEvent(event);
}

void frmpick::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        emit stopRequested();
        return;
    }
    // Only keys that no control took arrive here: the arrows of a list that
    // has the focus still choose in the list.
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit pictureKey(event->key(), event->modifiers());
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void frmpick::closeEvent(QCloseEvent* event)
{
    // Closing this window must not leave the screen frozen with the main
    // window hidden: it ends picking like "&Stop".
    event->accept();
    emit stopRequested();
}
