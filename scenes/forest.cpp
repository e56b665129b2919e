// The Forest of Confusion: five panels, the forest teacher and the swamp.
#include "form1.h"
#include "regions.h"

layout::Region forestRows() {
    using namespace layout;
    // clang-format off
    return {
        scene(TPanel, "mori1", 16, 136, 137, 129).caption(QT_TRANSLATE_NOOP("layout", "どちらへ行きますか？")).hidden().color(clGreen).tabOrder(15).subject(QT_TRANSLATE_NOOP("layout", "迷いの森")),
        child(TLabel, "Label6", 8, 16, 68, 16).caption(QT_TRANSLATE_NOOP("layout", "迷いの森")).font(PGothic, -16, fsBold, clWindowText),
        child(TListBox, "moribox1", 8, 80, 65, 41).items({QT_TRANSLATE_NOOP("layout", "右"), QT_TRANSLATE_NOOP("layout", "真ん中"), QT_TRANSLATE_NOOP("layout", "左")}).itemHeight(12).tabOrder(0),
        child(TBitBtn, "BitBtn11", 88, 104, 41, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(1).click("BitBtn11Click"),

        scene(TPanel, "mori2", 16, 136, 137, 129).caption(QT_TRANSLATE_NOOP("layout", "どちらへ行きますか？")).hidden().color(clGreen).tabOrder(16).subject(QT_TRANSLATE_NOOP("layout", "迷いの森")),
        child(TLabel, "Label7", 8, 16, 68, 16).caption(QT_TRANSLATE_NOOP("layout", "迷いの森")).font(PGothic, -16, fsBold, clWindowText),
        child(TListBox, "moribox2", 8, 80, 65, 41).items({QT_TRANSLATE_NOOP("layout", "右"), QT_TRANSLATE_NOOP("layout", "真ん中"), QT_TRANSLATE_NOOP("layout", "左")}).itemHeight(12).tabOrder(0),
        child(TBitBtn, "BitBtn12", 88, 104, 43, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(1).click("BitBtn12Click"),

        scene(TPanel, "mori3", 16, 136, 137, 129).caption(QT_TRANSLATE_NOOP("layout", "どちらへ行きますか？")).hidden().color(clGreen).tabOrder(17).subject(QT_TRANSLATE_NOOP("layout", "迷いの森")),
        child(TLabel, "Label8", 8, 16, 68, 16).caption(QT_TRANSLATE_NOOP("layout", "迷いの森")).font(PGothic, -16, fsBold, clWindowText),
        child(TBitBtn, "BitBtn13", 88, 104, 43, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(0).click("BitBtn13Click"),
        child(TListBox, "moribox3", 8, 80, 65, 41).items({QT_TRANSLATE_NOOP("layout", "右"), QT_TRANSLATE_NOOP("layout", "真ん中"), QT_TRANSLATE_NOOP("layout", "左")}).itemHeight(12).tabOrder(1),

        scene(TPanel, "mori4", 16, 136, 137, 129).caption(QT_TRANSLATE_NOOP("layout", "どちらへ行きますか？")).hidden().color(clGreen).tabOrder(18).subject(QT_TRANSLATE_NOOP("layout", "迷いの森")),
        child(TLabel, "Label9", 8, 16, 68, 16).caption(QT_TRANSLATE_NOOP("layout", "迷いの森")).font(PGothic, -16, fsBold, clWindowText),
        child(TListBox, "moribox4", 8, 80, 65, 41).items({QT_TRANSLATE_NOOP("layout", "右"), QT_TRANSLATE_NOOP("layout", "真ん中"), QT_TRANSLATE_NOOP("layout", "左")}).itemHeight(12).tabOrder(0),
        child(TBitBtn, "BitBtn14", 88, 104, 43, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(1).click("BitBtn14Click"),

        scene(TPanel, "mori5", 16, 136, 137, 129).caption(QT_TRANSLATE_NOOP("layout", "どちらへ行きますか？")).hidden().color(clGreen).tabOrder(21).subject(QT_TRANSLATE_NOOP("layout", "迷いの森")),
        child(TLabel, "Label10", 8, 16, 68, 16).caption(QT_TRANSLATE_NOOP("layout", "迷いの森")).font(PGothic, -16, fsBold, clWindowText),
        child(TListBox, "moribox5", 8, 80, 65, 41).items({QT_TRANSLATE_NOOP("layout", "右"), QT_TRANSLATE_NOOP("layout", "左")}).itemHeight(12).tabOrder(0),
        child(TBitBtn, "BitBtn16", 88, 104, 41, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(1).click("BitBtn16Click"),

        scene(TButton, "kozuesensei", 40, 88, 145, 25).caption(QT_TRANSLATE_NOOP("layout", "梢先生に出会った")).hidden().tabOrder(20).click("kozuesenseiClick"),

        scene(TPanel, "kozuesan", 16, 136, 233, 121).hidden().color(clGreen).tabOrder(19).subject(QT_TRANSLATE_NOOP("layout", "梢先生")),
        child(TImage, "Image8", 160, 8, 65, 73).picture("teacher", QT_TRANSLATE_NOOP("layout", "森の先生")),
        child(TMemo, "Memo4", 8, 8, 145, 73).lines(QT_TRANSLATE_NOOP("layout", "梢先生\n" "　「ははは、この森から抜け\n" "出すのは大変だぞ。ヒント\n" "は次を右だ。その次は真ん\n" "中。がんばれよ。」")).tabOrder(0),
        child(TBitBtn, "BitBtn15", 40, 88, 153, 25).caption(QT_TRANSLATE_NOOP("layout", "先に進む")).tabOrder(1).click("BitBtn15Click"),
    };
    // clang-format on
}

// Story handlers

void TForm1::BitBtn11Click() {
    if (moribox1->itemIndex() == 0) {
        mori1->hide();
        mori2->show();
    }
    if (moribox1->itemIndex() == 1) {
        mori1->hide();
        mori4->show();
    }
    if (moribox1->itemIndex() == 2) {
        mori1->hide();
        mori5->show();
    }
}

void TForm1::BitBtn12Click() {
    if (moribox2->itemIndex() == 0) {
        mori2->hide();
        mori1->show();
    }
    if (moribox2->itemIndex() == 1) {
        mori2->hide();
        mori3->show();
    }
    if (moribox2->itemIndex() == 2) {
        mori2->hide();
        mori5->show();
    }
}

void TForm1::BitBtn13Click() {
    if (moribox3->itemIndex() == 0) {
        mori3->hide();
        message(tr("どうやら迷いの森から抜け出せたようだ。"));
        message(tr("しばらく進むと....。"));
        bosu->show();
    }
    if (moribox3->itemIndex() == 1) {
        mori3->hide();
        mori1->show();
    }
    if (moribox3->itemIndex() == 2) {
        mori3->hide();
        message(tr("大変だ！底無し沼にはまったようだ！"));
        BitBtn7->show();
    }
}

void TForm1::BitBtn14Click() {
    if (moribox4->itemIndex() == 0) {
        mori4->hide();
        mori1->show();
    }
    if (moribox4->itemIndex() == 1) {
        mori4->hide();
        mori5->show();
    }
    if (moribox4->itemIndex() == 2) {
        mori4->hide();
        kozuesensei->show();
    }
}

void TForm1::BitBtn16Click() {
    if (moribox5->itemIndex() == 0) {
        mori5->hide();
        mori4->show();
    }
    if (moribox5->itemIndex() == 1) {
        mori5->hide();
        mori1->show();
    }
}

void TForm1::kozuesenseiClick() {
    kozuesensei->hide();
    kozuesan->show();
}

void TForm1::BitBtn15Click() {
    kozuesan->hide();
    mori1->show();
}
