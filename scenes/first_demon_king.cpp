// The first meeting with the Demon King and his two special moves.
#include "form1.h"
#include "regions.h"

using namespace Qt::StringLiterals;

layout::Region firstDemonKingRows() {
    using namespace layout;
    // clang-format off
    return {
        scene(TButton, "daimaou", 40, 88, 145, 25).caption("大魔王が現れた").hidden().tabOrder(7).click("daimaouClick"),

        scene(TPanel, "maou", 16, 136, 193, 105).hidden().color(clWhite).tabOrder(9).subject("大魔王"),
        child(TImage, "Image4", 0, 0, 65, 97).picture("demonking", "大魔王"),
        child(TLabel, "Label4", 88, 8, 75, 12).caption("どうしますか？"),
        child(TListBox, "box4", 72, 24, 113, 41).items({"『奥義・覇王絶滅拳』", "『サンダ―ストーム』", "逃げる"}).itemHeight(12).tabOrder(0),
        child(TBitBtn, "BitBtn6", 96, 72, 75, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(1).click("BitBtn6Click"),

        scene(TButton, "ougi", 16, 136, 281, 49).caption("奥義・覇王絶滅拳").font(PGothic, -27, fsBold, clWindowText).hidden().tabOrder(10).click("ougiClick"),

        scene(TButton, "sanda", 16, 136, 281, 49).caption("サンダ―ストーム").font(PGothic, -24, fsBold, clWindowText).hidden().tabOrder(22).click("sandaClick"),
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
        message(u"とりあえず逃げ切ることには成功した。"_s);
        message(u"しかしずいぶん遠くまで逃げて来たようだ。"_s);
        message(u"どうやら迷いの森に迷い込んだらしい。"_s);
        mori1->show();
    }
}

void TForm1::ougiClick() {
    beep();
    ougi->hide();
    message(u"%1は覇王絶滅拳を使った！"_s, PlayerName);
    message(u"バシッ！大魔王に５ポイントのダメ―ジをあたえた"_s);
    message(u"大魔王の攻撃！！"_s);
    message(u"ドカ――ン！！5000000のダメージをくらった！"_s);
    BitBtn7->show();
}

void TForm1::sandaClick() {
    sanda->hide();
    message(u"%1はサンダーストームを使った！"_s, PlayerName);
    message(u"チュドーン！18ポイントのダメージをあたえた。"_s);
    message(u"大魔王の攻撃！！"_s);
    message(u"ボカーン！！3500000のダメージをくらった。"_s);
    BitBtn7->show();
}
