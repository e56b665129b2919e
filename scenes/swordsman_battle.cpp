// The battle with the Demon King fought beside the swordsman.
#include "form1.h"
#include "regions.h"

layout::Region swordsmanBattleRows() {
    using namespace layout;
    // clang-format off
    return {
        scene(TButton, "bossu", 40, 88, 145, 25).caption(QT_TRANSLATE_NOOP("layout", "大魔王が現れた！！")).hidden().tabOrder(34).click("bossuClick"),

        scene(TPanel, "bosu2", 16, 136, 185, 137).hidden().bevels(bvLowered, bvLowered).bsSingle().color(clWhite).tabOrder(33).subject(QT_TRANSLATE_NOOP("layout", "大魔王")),
        child(TImage, "Image14", 8, 8, 65, 97).picture("demonking", QT_TRANSLATE_NOOP("layout", "大魔王")),
        child(TLabel, "Label13", 16, 112, 36, 12).caption(QT_TRANSLATE_NOOP("layout", "大魔王")),
        child(TButton, "Button9", 80, 16, 97, 25).caption(QT_TRANSLATE_NOOP("layout", "普通に攻撃")).tabOrder(0).click("Button9Click"),
        child(TButton, "Button10", 80, 56, 97, 25).caption(QT_TRANSLATE_NOOP("layout", "ガイ疾風の攻撃")).tabOrder(1).click("Button10Click"),
        child(TButton, "Button11", 80, 96, 97, 25).caption(QT_TRANSLATE_NOOP("layout", "逃げる")).tabOrder(2).click("Button11Click"),
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
    message(tr("%1の攻撃！"), PlayerName);
    beep();
    message(tr("ズドン！！"));
    message(tr("1のダメージしか与えられない。"));
    bosu1->show();
}

// The swordsman's blow ends the battle and turns the window white.
void TForm1::Button10Click() {
    bosu2->hide();
    message(tr("ガイ疾風の攻撃"));
    message(tr("スパッ！！"));
    message(tr("急所を突いた。"));
    message(tr("そして.....、"));
    message(tr("%1の攻撃！"), PlayerName);
    setColor(layout::clWhite);
    message(tr("ドドドドド――――ン！！！！"));
    message(tr("大魔王を倒した。"));
    message(tr("そして世界は恐怖の大王の魔の手から救われた。"));
    BitBtn21->show();
}

void TForm1::Button11Click() {
    bosu2->hide();
    message(tr("%1は逃げる事にした。"), PlayerName);
    message(tr("スタタタタタタタ...."));
    message(tr("ずいぶん遠くまで逃げて来たようだ。"));
    message(tr("どうやら迷いの森に迷い込んだようだ。"));
    mori1->show();
}
