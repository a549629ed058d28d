#pragma once

#include "scheme/SchemeColors.h"

#include <QDialog>

#include <vector>

class Platform;
class QLabel;
class QPushButton;
namespace colorvision {
enum class VisionMode : int;
}

// Proposes a new colour for one role of a failing pair (an index of
// schemecontrast::Pairs): the pair now and with the proposal, each in its
// colours with its ratio, and the pairs the proposal keeps passing. Accepted
// with "Apply"; the caller applies the colour.
class frmContrastFix : public QDialog
{
    Q_OBJECT
public:
    frmContrastFix(QWidget* parent, Platform& platform, int pair, const SchemeColors& before,
                   const SchemeColors& after, const std::vector<int>& kept,
                   colorvision::VisionMode mode);

    QLabel* lblQuestion = nullptr;
    QLabel* lblOld = nullptr;
    QLabel* lblNew = nullptr;
    QPushButton* cmdApply = nullptr;
    QPushButton* cmdCancel = nullptr;
};
