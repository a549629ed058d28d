#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class frmshowcolor;

// The scheme preview: the main window's scheme on a larger surface, a line of
// body text and one line per link state, each in its colour on the page
// background. A snapshot taken when the window is built.
class frmShowweb : public QDialog
{
    Q_OBJECT
public:
    explicit frmShowweb(frmshowcolor& owner);

    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QLineEdit* txtTxt = nullptr;
    QLineEdit* txtNl = nullptr;
    QLineEdit* txtvl = nullptr;
    QLineEdit* txtal = nullptr;
    QLineEdit* txthl = nullptr;

private:
    void Form_Load();
    void Command1_Click();
    void Command2_Click();

    frmshowcolor& m_owner;
};
