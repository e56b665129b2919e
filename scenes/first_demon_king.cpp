// The first meeting with the Demon King and his two special moves.
#include "form1.h"
#include "regions.h"

layout::Region firstDemonKingRows() {
    using namespace layout;
    // clang-format off
    return {
        scene(TButton, "daimaou", 40, 88, 145, 25).caption(QT_TRANSLATE_NOOP("layout", "大魔王が現れた")).hidden().tabOrder(7).click("daimaouClick"),

        scene(TPanel, "maou", 16, 136, 193, 105).hidden().color(clWhite).tabOrder(9).subject(QT_TRANSLATE_NOOP("layout", "大魔王")),
        child(TImage, "Image4", 0, 0, 65, 97).picture("demonking", QT_TRANSLATE_NOOP("layout", "大魔王")),
        child(TLabel, "Label4", 88, 8, 75, 12).caption(QT_TRANSLATE_NOOP("layout", "どうしますか？")),
        child(TListBox, "box4", 72, 24, 113, 41).items({QT_TRANSLATE_NOOP("layout", "『奥義・覇王絶滅拳』"), QT_TRANSLATE_NOOP("layout", "『サンダ―ストーム』"), QT_TRANSLATE_NOOP("layout", "逃げる")}).itemHeight(12).tabOrder(0),
        child(TBitBtn, "BitBtn6", 96, 72, 75, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(1).click("BitBtn6Click"),

        scene(TButton, "ougi", 16, 136, 281, 49).caption(QT_TRANSLATE_NOOP("layout", "奥義・覇王絶滅拳")).font(PGothic, -27, fsBold, clWindowText).hidden().tabOrder(10).click("ougiClick"),

        scene(TButton, "sanda", 16, 136, 281, 49).caption(QT_TRANSLATE_NOOP("layout", "サンダ―ストーム")).font(PGothic, -24, fsBold, clWindowText).hidden().tabOrder(22).click("sandaClick"),
    };
    // clang-format on
}

// Story handlers

void TForm1::daimaouClick() {
    beep();
    daimaou->hide();
    maou->show();
}

void TForm1::BitBtn6Click() {
    if (box4->itemIndex() == 0) {
        maou->hide();
        ougi->show();
    }
    if (box4->itemIndex() == 1) {
        maou->hide();
        sanda->show();
    }
    if (box4->itemIndex() == 2) {
        maou->hide();
        message(tr("とりあえず逃げ切ることには成功した。"));
        message(tr("しかしずいぶん遠くまで逃げて来たようだ。"));
        message(tr("どうやら迷いの森に迷い込んだらしい。"));
        mori1->show();
    }
}

void TForm1::ougiClick() {
    beep();
    ougi->hide();
    message(tr("%1は覇王絶滅拳を使った！"), PlayerName);
    message(tr("バシッ！大魔王に５ポイントのダメ―ジをあたえた"));
    message(tr("大魔王の攻撃！！"));
    message(tr("ドカ――ン！！5000000のダメージをくらった！"));
    BitBtn7->show();
}

void TForm1::sandaClick() {
    sanda->hide();
    message(tr("%1はサンダーストームを使った！"), PlayerName);
    message(tr("チュドーン！18ポイントのダメージをあたえた。"));
    message(tr("大魔王の攻撃！！"));
    message(tr("ボカーン！！3500000のダメージをくらった。"));
    BitBtn7->show();
}
