#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class frmshowcolor;

// The code window: the scheme on display in the main window as an HTML body
// tag, an inline style sheet and an external style sheet. The texts are taken
// once, when the window is built; it is modal, so the scheme cannot change
// while it is open.
class frmcss : public QDialog
{
    Q_OBJECT
public:
    explicit frmcss(frmshowcolor& owner);

    // Fills the three boxes from the main window's scheme.
    void ShowHtml();

    QLabel* Label1 = nullptr;
    QPlainTextEdit* txthtml = nullptr;
    QLabel* Label2 = nullptr;
    QPlainTextEdit* txtic = nullptr;
    QLabel* Label3 = nullptr;
    QPlainTextEdit* txtec = nullptr;
    QPushButton* cmdexit = nullptr;

private:
    frmshowcolor& m_owner;
};
