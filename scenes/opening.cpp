// The opening: the title, START and the crossroads.
#include "form1.h"
#include "regions.h"

// clang-format off
layout::Region openingRows() {
    using namespace layout;
    return {
        scene(TLabel, "Label1", 8, 64, 335, 37).caption(QT_TRANSLATE_NOOP("layout", "ホシフルツルギⅡ")).font(PGothic, -37, fsBold | fsItalic, clRed),

        scene(TButton, "start", 16, 128, 75, 17).caption("START").font(PGothic, -12, fsBold, clWindowText).tabOrder(0).click("startClick"),

        scene(TPanel, "hajimari", 16, 152, 153, 113).font(PGothic, -12, 0, clWhite).hidden().bevels(bvRaised, bvLowered).color(clBlack).tabOrder(1).subject(QT_TRANSLATE_NOOP("layout", "分かれ道")),
        child(TLabel, "Label3", 24, 16, 111, 12).caption(QT_TRANSLATE_NOOP("layout", "行き先を選んで下さい")),
        child(TBitBtn, "BitBtn1", 48, 88, 67, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(0).click("BitBtn1Click"),
        child(TListBox, "Box1", 16, 48, 121, 33).items({QT_TRANSLATE_NOOP("layout", "まずは北に向かう"), QT_TRANSLATE_NOOP("layout", "とりあえず西へ行く")}).font(PGothic, -12, 0, clWhite).color(clBlack).itemHeight(12).tabOrder(1),
    };
}
// clang-format on

// Story handlers

void TForm1::startClick() {
    beep();
    Label1->hide();
    start->hide();
    PlayerName = inputName(tr("ホシフルツルギⅡ"), tr("名前を教えてちょ"), tr("あなた"));
    message(tr("ようこそ!冒険の島へ!さあ旅の始まりです。"));
    hajimari->show();
}

void TForm1::BitBtn1Click() {
    if (Box1->itemIndex() == 0) {
        hajimari->hide();
        message(tr("北に向かうことにした。しばらく歩くと怪しい人影を見つけた。"));
        namiki->show();
    }
    if (Box1->itemIndex() == 1) {
        hajimari->hide();
        message(tr("西に進んでしばらくたつと、前方に小さな人影を見つけた。"));
        nageki->show();
    }
}
