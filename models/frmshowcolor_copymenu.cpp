// The main window's copy menu.
#include "app/frmshowcolor.h"

#include "app/EntryField.h"
#include "app/platform/Platform.h"
#include "models/CopyNotations.h"

#include <QAction>
#include <QLineEdit>

namespace {

// The notations are read from the fields at the moment they are needed, so
// the menu and the clipboard always agree with what the window shows.
copynotations::FieldTexts notationFields(const frmshowcolor& window)
{
    return {window.txtrgb->text(), window.txtrgb1->text(), window.txtrh->text(),
            window.txtgh->text(), window.txtbh->text()};
}

} // namespace

void frmshowcolor::setUpCopyMenuHandlers()
{
    connect(mnuCopydec1, &QAction::triggered, this, &frmshowcolor::mnuCopydec1_Click);
    connect(mnuCopydec2, &QAction::triggered, this, &frmshowcolor::mnuCopydec2_Click);
    connect(mnuCopyhex1, &QAction::triggered, this, &frmshowcolor::mnuCopyhex1_Click);
    connect(mnuCopyhex2, &QAction::triggered, this, &frmshowcolor::mnuCopyhex2_Click);
    connect(mnuCopyhex3, &QAction::triggered, this, &frmshowcolor::mnuCopyhex3_Click);
    connect(mnuCopyhex4, &QAction::triggered, this, &frmshowcolor::mnuCopyhex4_Click);
    connect(mnuCopyhex5, &QAction::triggered, this, &frmshowcolor::mnuCopyhex5_Click);
    connect(mnuCopyCplus, &QAction::triggered, this, &frmshowcolor::mnuCopyCplus_Click);
    connect(mnuCopyVB, &QAction::triggered, this, &frmshowcolor::mnuCopyVB_Click);
    connect(mnuCopyDelphi, &QAction::triggered, this, &frmshowcolor::mnuCopyDelphi_Click);
    connect(mnuCopyJava, &QAction::triggered, this, &frmshowcolor::mnuCopyJava_Click);
}

void frmshowcolor::ChangeCopyMenu()
{
    const copynotations::FieldTexts fields = notationFields(*this);
    const std::pair<QAction*, copynotations::Notation> items[] = {
        {mnuCopydec1, copynotations::Notation::DecFunction},
        {mnuCopydec2, copynotations::Notation::DecList},
        {mnuCopyhex1, copynotations::Notation::HtmlHex},
        {mnuCopyhex2, copynotations::Notation::QuotedHtmlHex},
        {mnuCopyhex3, copynotations::Notation::BareHex},
        {mnuCopyhex4, copynotations::Notation::QuotedBareHex},
        {mnuCopyhex5, copynotations::Notation::HexBraces},
        {mnuCopyVB, copynotations::Notation::VisualBasic},
        {mnuCopyDelphi, copynotations::Notation::Delphi},
        {mnuCopyCplus, copynotations::Notation::CPlusPlus},
        {mnuCopyJava, copynotations::Notation::Java},
    };
    for (const auto& [item, notation] : items)
        item->setText(copynotations::Caption(notation, fields));
}

void frmshowcolor::copyNotation(copynotations::Notation notation)
{
    m_platform.clearClipboard();
    m_platform.setClipboardText(copynotations::ClipboardText(notation, notationFields(*this)));
}

void frmshowcolor::mnuCopydec1_Click()
{
    copyNotation(copynotations::Notation::DecFunction);
}
void frmshowcolor::mnuCopydec2_Click()
{
    copyNotation(copynotations::Notation::DecList);
}
void frmshowcolor::mnuCopyhex1_Click()
{
    copyNotation(copynotations::Notation::HtmlHex);
}
void frmshowcolor::mnuCopyhex2_Click()
{
    copyNotation(copynotations::Notation::QuotedHtmlHex);
}
void frmshowcolor::mnuCopyhex3_Click()
{
    copyNotation(copynotations::Notation::BareHex);
}
void frmshowcolor::mnuCopyhex4_Click()
{
    copyNotation(copynotations::Notation::QuotedBareHex);
}
void frmshowcolor::mnuCopyhex5_Click()
{
    copyNotation(copynotations::Notation::HexBraces);
}
void frmshowcolor::mnuCopyCplus_Click()
{
    copyNotation(copynotations::Notation::CPlusPlus);
}
void frmshowcolor::mnuCopyVB_Click()
{
    copyNotation(copynotations::Notation::VisualBasic);
}
void frmshowcolor::mnuCopyDelphi_Click()
{
    copyNotation(copynotations::Notation::Delphi);
}
void frmshowcolor::mnuCopyJava_Click()
{
    copyNotation(copynotations::Notation::Java);
}
