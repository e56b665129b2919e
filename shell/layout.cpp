#include "layout.h"

namespace layout {

const char *kindName(Kind kind) {
    static const char *const names[] = {"TLabel",   "TButton",   "TBitBtn", "TPanel",
                                        "TListBox", "TComboBox", "TMemo",   "TImage"};
    return names[kind];
}

const char *colorName(ColorName color) {
    static const char *const names[] = {
        "clBlack",   "clMaroon", "clGreen",        "clOlive",     "clPurple",     "clRed",
        "clLime",    "clYellow", "clWhite",        "clSilver",    "clWindowText", "clWindow",
        "clBtnFace", "clInfoBk", "clBtnHighlight", "clBtnShadow", "clWindowFrame"};
    return names[color];
}

const char *bevelName(Bevel bevel) {
    static const char *const names[] = {"bvNone", "bvLowered", "bvRaised"};
    return names[bevel];
}

} // namespace layout
