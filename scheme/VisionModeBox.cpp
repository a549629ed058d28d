#include "scheme/VisionModeBox.h"

#include "scheme/ColorVision.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

using colorvision::VisionMode;

VisionModeBox::VisionModeBox(QWidget* parent) : QComboBox(parent)
{
    for (VisionMode mode : colorvision::VisionModes)
        addItem(colorvision::VisionModeName(mode), static_cast<int>(mode));
    setToolTip(QStringLiteral("Show the scheme as a reader with this color vision sees it"));
    connect(this, &QComboBox::currentIndexChanged, this, [this] { emit modeChosen(mode()); });
}

VisionMode VisionModeBox::mode() const
{
    return static_cast<VisionMode>(currentData().toInt());
}

void VisionModeBox::setMode(VisionMode mode)
{
    const QSignalBlocker quiet(this);
    setCurrentIndex(findData(static_cast<int>(mode)));
}

QHBoxLayout* VisionModeBox::labelledRow(const QString& caption)
{
    auto* label = new QLabel(caption, parentWidget());
    label->setBuddy(this);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(this);
    row->addStretch();
    return row;
}
