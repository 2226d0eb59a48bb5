// The main window's design as data: where every field, label, line and button sits, in twips
// (1440 per inch, measured from the top-left corner of the client area), with its caption, font
// and colour. The window builds itself from these tables; the tests check it against them.
#pragma once

#include <array>
#include <cstddef>

#include "commands/command_list.h"
#include "port/controls.h"

namespace hcurve::layout {

/// The twips the whole design needs; every control and line lies inside.
inline constexpr int kDesignWidthTwips = 12480;
inline constexpr int kDesignHeightTwips = 10215;

inline constexpr int kTwipsPerInch = 1440;

/// Converts a length in twips to device pixels at the given logical dots per inch.
int twipsToPixels(int twips, double dotsPerInch);

struct Rgb {
    int red, green, blue;
};

inline constexpr Rgb kBackground{192, 255, 255};  // light cyan, behind every label too
inline constexpr Rgb kWhite{255, 255, 255};

struct TwipsRect {
    int left, top, width, height;
};

/// The three kinds of face the design names: the dialog face of the original design (its Latin
/// face never held Chinese), a Song-style face, and a Latin sans face. Any installed faces that
/// show Chinese stand in for them.
enum class Face { Ui, Song, Sans };

struct FontStyle {
    Face face;
    double points;
    bool bold;
};

inline constexpr FontStyle kUiBold{Face::Ui, 8.25, true};
inline constexpr FontStyle kSongBold9{Face::Song, 9, true};
inline constexpr FontStyle kSongBold15{Face::Song, 15, true};
inline constexpr FontStyle kSansBold105{Face::Sans, 10.5, true};
inline constexpr FontStyle kUiBold12{Face::Ui, 12, true};
/// The window's own font; no control uses it, every one sets its own.
inline constexpr FontStyle kWindowFont{Face::Song, 10.5, false};

struct LabelLayout {
    Label label;
    const char* name;     // the window's own name of the control: "Label16"
    const char* caption;  // exact text, leading blanks included
    TwipsRect rect;
    FontStyle font;
    bool autoSize;  // the label takes the width of its text; rect.height stays
};

struct FieldLayout {
    Field field;
    const char* name;  // the window's own name of the control: "Text14"
    TwipsRect rect;
    bool whiteBackground;  // sets the white edit background itself instead of the platform's
};

struct LineLayout {
    int number;  // LineN
    Rgb colour;
    int widthPixels;  // pen width at 96 dots per inch
    int x1, y1, x2, y2;
};

/// The buttons are commands of the list; their captions come from there.
using Button = Command;

struct ButtonLayout {
    Button button;
    const char* name;  // the window's own name of the button: "command1"
    TwipsRect rect;
    Rgb colour;
};

/// The product name the title heading shows, with a blank between its characters, and the same
/// name for the title bar.
inline constexpr const char* kTitleHeading = "平 曲 线 计 算";
inline constexpr const char* kWindowTitle = "平曲线计算";

extern const std::array<LabelLayout, 57> kLabels;
extern const std::array<FieldLayout, 37> kFields;
extern const std::array<LineLayout, 25> kLines;
extern const std::array<ButtonLayout, 4> kButtons;

/// The names of the controls that take the keyboard focus, in Tab order; the first one has the
/// focus when the window opens.
extern const std::array<const char*, 41> kFocusOrder;

const LabelLayout& labelLayout(Label label);
const FieldLayout& fieldLayout(Field field);
const LineLayout& lineLayout(int number);
const ButtonLayout& buttonLayout(Button button);

}  // namespace hcurve::layout
