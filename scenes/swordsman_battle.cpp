// The battle with the Demon King fought beside the swordsman.
#include "form1.h"
#include "regions.h"

using namespace Qt::StringLiterals;

layout::Region swordsmanBattleRows() {
    using namespace layout;
    return {
        scene(TButton, "bossu", 40, 88, 145, 25).caption("大魔王が現れた！！").hidden().tabOrder(34).click("bossuClick"),

        scene(TPanel, "bosu2", 16, 136, 185, 137).hidden().bevels(bvLowered, bvLowered).bsSingle().color(clWhite).tabOrder(33),
        child(TImage, "Image14", 8, 8, 65, 97).picture("demonking"),
        child(TLabel, "Label13", 16, 112, 36, 12).caption("大魔王"),
        child(TButton, "Button9", 80, 16, 97, 25).caption("普通に攻撃").tabOrder(0).click("Button9Click"),
        child(TButton, "Button10", 80, 56, 97, 25).caption("ガイ疾風の攻撃").tabOrder(1).click("Button10Click"),
        child(TButton, "Button11", 80, 96, 97, 25).caption("逃げる").tabOrder(2).click("Button11Click"),
    };
}

// Story handlers
