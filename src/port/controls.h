// The named controls of the main window that the commands write: the 37 output fields and the
// labels beside them. Their numbers are the window's own (there are no fields 37 to 48).
#pragma once

#include <string>

namespace hcurve {

enum class Field {
    Text1 = 1,
    Text2 = 2,
    Text3 = 3,
    Text4 = 4,
    Text5 = 5,
    Text6 = 6,
    Text7 = 7,
    Text8 = 8,
    Text9 = 9,
    Text10 = 10,
    Text11 = 11,
    Text12 = 12,
    Text13 = 13,
    Text14 = 14,
    Text15 = 15,
    Text16 = 16,
    Text17 = 17,
    Text18 = 18,
    Text19 = 19,
    Text20 = 20,
    Text21 = 21,
    Text22 = 22,
    Text23 = 23,
    Text24 = 24,
    Text25 = 25,
    Text26 = 26,
    Text27 = 27,
    Text28 = 28,
    Text29 = 29,
    Text30 = 30,
    Text31 = 31,
    Text32 = 32,
    Text33 = 33,
    Text34 = 34,
    Text35 = 35,
    Text36 = 36,
    Text49 = 49
};

enum class Label {
    Label1 = 1,
    Label2 = 2,
    Label3 = 3,
    Label4 = 4,
    Label5 = 5,
    Label6 = 6,
    Label7 = 7,
    Label8 = 8,
    Label9 = 9,
    Label10 = 10,
    Label11 = 11,
    Label12 = 12,
    Label13 = 13,
    Label14 = 14,
    Label15 = 15,
    Label16 = 16,
    Label17 = 17,
    Label18 = 18,
    Label19 = 19,
    Label20 = 20,
    Label21 = 21,
    Label22 = 22,
    Label23 = 23,
    Label24 = 24,
    Label25 = 25,
    Label26 = 26,
    Label27 = 27,
    Label28 = 28,
    Label29 = 29,
    Label30 = 30,
    Label31 = 31,
    Label32 = 32,
    Label33 = 33,
    Label34 = 34,
    Label35 = 35,
    Label36 = 36,
    Label37 = 37,
    Label38 = 38,
    Label39 = 39,
    Label40 = 40,
    Label41 = 41,
    Label42 = 42,
    Label43 = 43,
    Label44 = 44,
    Label45 = 45,
    Label46 = 46,
    Label47 = 47,
    Label48 = 48,
    Label49 = 49,
    Label50 = 50,
    Label51 = 51,
    Label52 = 52,
    Label53 = 53,
    Label54 = 54,
    Label55 = 55,
    Label56 = 56,
    Label57 = 57
};

/// "Text14", "Label19": the control's name as the console writes it.
inline std::string fieldName(Field field) {
    return "Text" + std::to_string(static_cast<int>(field));
}
inline std::string labelName(Label label) {
    return "Label" + std::to_string(static_cast<int>(label));
}

}  // namespace hcurve
