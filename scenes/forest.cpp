// The Forest of Confusion: five panels, the forest teacher and the swamp.
#include "form1.h"
#include "regions.h"

using namespace Qt::StringLiterals;

layout::Region forestRows() {
    using namespace layout;
    return {
        scene(TPanel, "mori1", 16, 136, 137, 129).caption("どちらへ行きますか？").hidden().color(clGreen).tabOrder(15),
        child(TLabel, "Label6", 8, 16, 68, 16).caption("迷いの森").font(PGothic, -16, fsBold, clWindowText),
        child(TListBox, "moribox1", 8, 80, 65, 41).items({"右", "真ん中", "左"}).itemHeight(12).tabOrder(0),
        child(TBitBtn, "BitBtn11", 88, 104, 41, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(1).click("BitBtn11Click"),

        scene(TPanel, "mori2", 16, 136, 137, 129).caption("どちらへ行きますか？").hidden().color(clGreen).tabOrder(16),
        child(TLabel, "Label7", 8, 16, 68, 16).caption("迷いの森").font(PGothic, -16, fsBold, clWindowText),
        child(TListBox, "moribox2", 8, 80, 65, 41).items({"右", "真ん中", "左"}).itemHeight(12).tabOrder(0),
        child(TBitBtn, "BitBtn12", 88, 104, 43, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(1).click("BitBtn12Click"),

        scene(TPanel, "mori3", 16, 136, 137, 129).caption("どちらへ行きますか？").hidden().color(clGreen).tabOrder(17),
        child(TLabel, "Label8", 8, 16, 68, 16).caption("迷いの森").font(PGothic, -16, fsBold, clWindowText),
        child(TBitBtn, "BitBtn13", 88, 104, 43, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(0).click("BitBtn13Click"),
        child(TListBox, "moribox3", 8, 80, 65, 41).items({"右", "真ん中", "左"}).itemHeight(12).tabOrder(1),

        scene(TPanel, "mori4", 16, 136, 137, 129).caption("どちらへ行きますか？").hidden().color(clGreen).tabOrder(18),
        child(TLabel, "Label9", 8, 16, 68, 16).caption("迷いの森").font(PGothic, -16, fsBold, clWindowText),
        child(TListBox, "moribox4", 8, 80, 65, 41).items({"右", "真ん中", "左"}).itemHeight(12).tabOrder(0),
        child(TBitBtn, "BitBtn14", 88, 104, 43, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(1).click("BitBtn14Click"),

        scene(TPanel, "mori5", 16, 136, 137, 129).caption("どちらへ行きますか？").hidden().color(clGreen).tabOrder(21),
        child(TLabel, "Label10", 8, 16, 68, 16).caption("迷いの森").font(PGothic, -16, fsBold, clWindowText),
        child(TListBox, "moribox5", 8, 80, 65, 41).items({"右", "左"}).itemHeight(12).tabOrder(0),
        child(TBitBtn, "BitBtn16", 88, 104, 41, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(1).click("BitBtn16Click"),

        scene(TButton, "kozuesensei", 40, 88, 145, 25).caption("梢先生に出会った").hidden().tabOrder(20).click("kozuesenseiClick"),

        scene(TPanel, "kozuesan", 16, 136, 233, 121).hidden().color(clGreen).tabOrder(19),
        child(TImage, "Image8", 160, 8, 65, 73).picture("teacher"),
        child(TMemo, "Memo4", 8, 8, 145, 73).lines({"梢先生", "　「ははは、この森から抜け", "出すのは大変だぞ。ヒント", "は次を右だ。その次は真ん", "中。がんばれよ。」"}).tabOrder(0),
        child(TBitBtn, "BitBtn15", 40, 88, 153, 25).caption("先に進む").tabOrder(1).click("BitBtn15Click"),
    };
}

// Story handlers
