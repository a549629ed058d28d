#pragma once

#include "scheme/SchemeColors.h"

#include <QDialog>

class Platform;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The code window: the scheme on display in the main window as an HTML body
// tag, an inline style sheet and an external style sheet. The window is given
// the scheme when it is built; it is modal, so the scheme cannot change while
// it is open.
class frmcss : public QDialog
{
    Q_OBJECT
public:
    frmcss(Platform& platform, const SchemeColors& colors, QWidget* parent);

    // Fills the three boxes from the scheme.
    void ShowHtml();

    QLabel* Label1 = nullptr;
    QPlainTextEdit* txthtml = nullptr;
    QLabel* Label2 = nullptr;
    QPlainTextEdit* txtic = nullptr;
    QLabel* Label3 = nullptr;
    QPlainTextEdit* txtec = nullptr;
    QPushButton* cmdexit = nullptr;

private:
    Platform& m_platform;
    SchemeColors m_colors;
};
