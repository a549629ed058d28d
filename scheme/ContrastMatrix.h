#pragma once

#include "scheme/SchemeColors.h"

#include <QWidget>

#include <array>

class QLabel;
class QPushButton;

// The contrast of every pair of scheme colours that a page depends on, with
// the WCAG verdicts; a failing pair stands out in red. Rows follow
// schemecontrast::Pairs: the body text and the four links on the background
// (lblBg..._0 to _4, with AA and AAA for normal and large text), then the
// four links against the body text (lblLink..._0 to _3, with the 3:1 check).
class ContrastMatrix : public QWidget
{
    Q_OBJECT
public:
    enum class Fixes { Offered, None };
    explicit ContrastMatrix(Fixes fixes, QWidget* parent = nullptr);

    // The figures for the colours as they are shown.
    void showColors(const SchemeColors& shown);
    // Fix buttons are enabled for failing pairs only, and only while allowed.
    void setFixesAllowed(bool allowed);

    // Whether the pair (an index of schemecontrast::Pairs) failed in the
    // colours last shown.
    bool failing(int pair) const;

signals:
    void fixRequested(int pair);

private:
    struct Row
    {
        QLabel* name = nullptr;
        QLabel* sample = nullptr;
        QLabel* ratio = nullptr;
        std::array<QLabel*, 4> verdicts{}; // AA, AA large, AAA, AAA large; or the 3:1 check
        QPushButton* fix = nullptr;
        bool failing = false;
    };

    void buildRows(Fixes fixes);
    void updateFixButtons();

    std::array<Row, 9> m_rows;
    bool m_fixesAllowed = true;
};
