// The battle with the Demon King fought beside the swordsman.
#include "form1.h"
#include "regions.h"

using namespace Qt::StringLiterals;

layout::Region swordsmanBattleRows() {
    using namespace layout;
    // clang-format off
    return {
        scene(TButton, "bossu", 40, 88, 145, 25).caption("大魔王が現れた！！").hidden().tabOrder(34).click("bossuClick"),

        scene(TPanel, "bosu2", 16, 136, 185, 137).hidden().bevels(bvLowered, bvLowered).bsSingle().color(clWhite).tabOrder(33).subject("大魔王"),
        child(TImage, "Image14", 8, 8, 65, 97).picture("demonking", "大魔王"),
        child(TLabel, "Label13", 16, 112, 36, 12).caption("大魔王"),
        child(TButton, "Button9", 80, 16, 97, 25).caption("普通に攻撃").tabOrder(0).click("Button9Click"),
        child(TButton, "Button10", 80, 56, 97, 25).caption("ガイ疾風の攻撃").tabOrder(1).click("Button10Click"),
        child(TButton, "Button11", 80, 96, 97, 25).caption("逃げる").tabOrder(2).click("Button11Click"),
    };
    // clang-format on
}

// Story handlers

void TForm1::bossuClick() {
    bossu->hide();
    bosu2->show();
}

// Fighting alone: the battle goes on at bosu1, without the swordsman.
void TForm1::Button9Click() {
    bosu2->hide();
    message(u"%1の攻撃！"_s, PlayerName);
    beep();
    message(u"ズドン！！"_s);
    message(u"1のダメージしか与えられない。"_s);
    bosu1->show();
}

// The swordsman's blow ends the battle and turns the window white.
void TForm1::Button10Click() {
    bosu2->hide();
    message(u"ガイ疾風の攻撃"_s);
    message(u"スパッ！！"_s);
    message(u"急所を突いた。"_s);
    message(u"そして.....、"_s);
    message(u"%1の攻撃！"_s, PlayerName);
    setColor(layout::clWhite);
    message(u"ドドドドド――――ン！！！！"_s);
    message(u"大魔王を倒した。"_s);
    message(u"そして世界は恐怖の大王の魔の手から救われた。"_s);
    BitBtn21->show();
}

void TForm1::Button11Click() {
    bosu2->hide();
    message(u"%1は逃げる事にした。"_s, PlayerName);
    message(u"スタタタタタタタ...."_s);
    message(u"ずいぶん遠くまで逃げて来たようだ。"_s);
    message(u"どうやら迷いの森に迷い込んだようだ。"_s);
    mori1->show();
}
