#pragma once

#include <QString>

#include <array>

// The eleven text notations of the current colour that the Edit menu copies.
// They are built from the main window's notation fields, not from a colour
// value, so the menu always offers exactly what those fields show.
namespace copynotations {

// The texts of txtrgb (#RRGGBB), txtrgb1 (R,G,B) and txtrh, txtgh, txtbh.
struct FieldTexts
{
    QString htmlHex;
    QString decList;
    QString redHex;
    QString greenHex;
    QString blueHex;
};

enum class Notation {
    DecFunction, // RGB(R,G,B)
    DecList,     // R,G,B
    HtmlHex,     // #RRGGBB
    QuotedHtmlHex,
    BareHex, // RRGGBB
    QuotedBareHex,
    HexBraces,   // Hex={RR,GG,BB}
    CPlusPlus,   // 0xBBGGRR
    VisualBasic, // &H00BBGGRR&
    Delphi,      // $00BBGGRR
    Java,        // 0xRRGGBB
};

constexpr std::array<Notation, 11> AllNotations{
    Notation::DecFunction, Notation::DecList,       Notation::HtmlHex,   Notation::QuotedHtmlHex,
    Notation::BareHex,     Notation::QuotedBareHex, Notation::HexBraces, Notation::CPlusPlus,
    Notation::VisualBasic, Notation::Delphi,        Notation::Java,
};

// The text that choosing the notation puts on the clipboard.
QString ClipboardText(Notation notation, const FieldTexts& fields);

// The menu caption: the clipboard text behind the notation's label, with
// ampersands doubled so that the menu shows them instead of taking them as
// mnemonics.
QString Caption(Notation notation, const FieldTexts& fields);

} // namespace copynotations
