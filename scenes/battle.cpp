// The battle with the Demon King: battle panels, magic panels and the final blow.
#include "form1.h"
#include "regions.h"

layout::Region battleRows() {
    using namespace layout;
    // clang-format off
    return {
        scene(TButton, "bosu", 40, 88, 145, 25).caption(QT_TRANSLATE_NOOP("layout", "大魔王が現れた！")).hidden().tabOrder(29).click("bosuClick"),

        scene(TPanel, "bosu1", 16, 136, 185, 137).hidden().bevels(bvLowered, bvLowered).border(1).bsSingle().color(clWhite).tabOrder(30).subject(QT_TRANSLATE_NOOP("layout", "大魔王")),
        child(TImage, "Image12", 8, 8, 65, 97).picture("demonking", QT_TRANSLATE_NOOP("layout", "大魔王")),
        child(TLabel, "Label12", 16, 112, 36, 12).caption(QT_TRANSLATE_NOOP("layout", "大魔王")),
        child(TButton, "Button4", 96, 16, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "攻撃")).tabOrder(0).click("Button4Click"),
        child(TButton, "Button5", 96, 56, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "魔法")).tabOrder(1).click("Button5Click"),
        child(TButton, "Button6", 96, 96, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "逃げる")).tabOrder(2).click("Button6Click"),

        scene(TPanel, "bosu3", 16, 136, 185, 137).hidden().bevels(bvLowered, bvLowered).bsSingle().color(clWhite).tabOrder(36).subject(QT_TRANSLATE_NOOP("layout", "大魔王")),
        child(TImage, "Image15", 8, 8, 65, 97).picture("demonking", QT_TRANSLATE_NOOP("layout", "大魔王")),
        child(TLabel, "Label14", 16, 112, 36, 12).caption(QT_TRANSLATE_NOOP("layout", "大魔王")),
        child(TButton, "Button14", 96, 16, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "攻撃")).tabOrder(0).click("Button14Click"),
        child(TButton, "Button15", 96, 56, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "魔法")).tabOrder(1).click("Button15Click"),
        child(TButton, "Button16", 96, 96, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "逃げる")).tabOrder(2).click("Button16Click"),

        scene(TPanel, "bosu4", 16, 136, 185, 137).hidden().bevels(bvLowered, bvLowered).bsSingle().color(clWhite).tabOrder(37).subject(QT_TRANSLATE_NOOP("layout", "大魔王")),
        child(TImage, "Image16", 8, 8, 65, 97).picture("demonking", QT_TRANSLATE_NOOP("layout", "大魔王")),
        child(TLabel, "Label15", 16, 112, 36, 12).caption(QT_TRANSLATE_NOOP("layout", "大魔王")),
        child(TButton, "Button17", 96, 16, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "攻撃")).tabOrder(0).click("Button17Click"),
        child(TButton, "Button18", 96, 56, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "魔法")).tabOrder(1).click("Button18Click"),
        child(TButton, "Button19", 96, 96, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "逃げる")).tabOrder(2).click("Button19Click"),

        scene(TPanel, "bosu5", 16, 136, 185, 137).hidden().bevels(bvLowered, bvLowered).bsSingle().color(clWhite).tabOrder(38).subject(QT_TRANSLATE_NOOP("layout", "大魔王")),
        child(TImage, "Image17", 8, 8, 65, 97).picture("demonking", QT_TRANSLATE_NOOP("layout", "大魔王")),
        child(TLabel, "Label16", 16, 112, 36, 12).caption(QT_TRANSLATE_NOOP("layout", "大魔王")),
        child(TButton, "Button20", 96, 16, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "攻撃")).tabOrder(0).click("Button20Click"),
        child(TButton, "Button21", 96, 56, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "道具")).tabOrder(1).click("Button21Click"),
        child(TButton, "Button22", 96, 96, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "逃げる")).tabOrder(2).click("Button22Click"),

        scene(TPanel, "bosu6", 16, 136, 185, 137).hidden().bevels(bvLowered, bvLowered).bsSingle().color(clWhite).tabOrder(42).subject(QT_TRANSLATE_NOOP("layout", "大魔王")),
        child(TImage, "Image18", 8, 8, 65, 97).picture("demonking", QT_TRANSLATE_NOOP("layout", "大魔王")),
        child(TLabel, "Label17", 16, 112, 36, 12).caption(QT_TRANSLATE_NOOP("layout", "大魔王")),
        child(TButton, "Button27", 96, 16, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "攻撃")).tabOrder(0).click("Button27Click"),
        child(TButton, "Button28", 96, 56, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "道具")).tabOrder(1).click("Button28Click"),
        child(TButton, "Button29", 96, 96, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "逃げる")).tabOrder(2).click("Button29Click"),

        scene(TPanel, "mahou", 8, 184, 305, 57).hidden().bevels(bvRaised, bvRaised).bevel(3).border(1).bsSingle().color(clRed).tabOrder(35).subject(QT_TRANSLATE_NOOP("layout", "魔法")),
        child(TButton, "Button12", 24, 16, 113, 25).caption(QT_TRANSLATE_NOOP("layout", "メラゾーマ")).tabOrder(0).click("Button12Click"),
        child(TButton, "Button13", 168, 16, 113, 25).caption(QT_TRANSLATE_NOOP("layout", "ムロマチバクファ―")).tabOrder(1).click("Button13Click"),

        scene(TPanel, "mahou2", 6, 184, 305, 57).hidden().bevels(bvRaised, bvRaised).bevel(3).border(1).bsSingle().color(clRed).tabOrder(39).subject(QT_TRANSLATE_NOOP("layout", "魔法")),
        child(TButton, "Button23", 24, 16, 113, 25).caption(QT_TRANSLATE_NOOP("layout", "メラゾーマ")).tabOrder(0).click("Button23Click"),
        child(TButton, "Button24", 168, 16, 113, 25).caption(QT_TRANSLATE_NOOP("layout", "ムロマチバクファ―")).tabOrder(1).click("Button24Click"),

        scene(TPanel, "mahou3", 6, 184, 305, 57).hidden().bevels(bvRaised, bvRaised).bevel(3).border(1).bsSingle().color(clRed).tabOrder(40).subject(QT_TRANSLATE_NOOP("layout", "魔法")),
        child(TButton, "Button25", 24, 16, 113, 25).caption(QT_TRANSLATE_NOOP("layout", "パナソニックス")).tabOrder(0).click("Button25Click"),
        child(TButton, "Button26", 168, 16, 113, 25).caption(QT_TRANSLATE_NOOP("layout", "イソノワカメデュ―ム")).tabOrder(1).click("Button26Click"),
    };
    // clang-format on
}

// Story handlers

void TForm1::bosuClick() {
    bosu->hide();
    bosu1->show();
}

// Attacks: a feeble tap that changes nothing.

void TForm1::Button4Click() {
    bosu1->hide();
    message(tr("%1の攻撃！"), PlayerName);
    message(tr("ぺこん！"));
    message(tr("ぜんぜん効かない"));
    bosu6->show();
}

void TForm1::Button14Click() {
    bosu3->hide();
    message(tr("%1の攻撃！"), PlayerName);
    message(tr("ぺこん！"));
    message(tr("ぜんぜん効かない"));
    bosu6->show();
}

void TForm1::Button17Click() {
    bosu4->hide();
    message(tr("%1の攻撃！"), PlayerName);
    message(tr("ぺこん！"));
    message(tr("ぜんぜん効かない"));
    bosu1->show();
}

void TForm1::Button27Click() {
    bosu6->hide();
    message(tr("%1の攻撃！"), PlayerName);
    message(tr("ぺこん！"));
    message(tr("ぜんぜん効かない"));
    bosu1->show();
}

// Magic: each battle panel opens its own pair of spells.

void TForm1::Button5Click() {
    bosu1->hide();
    mahou->show();
}

void TForm1::Button15Click() {
    bosu3->hide();
    mahou2->show();
}

void TForm1::Button18Click() {
    bosu4->hide();
    mahou3->show();
}

// Spells. Only メラゾーマ, メラゾーマ, イソノワカメデュ―ム in a row reaches bosu5.

void TForm1::Button12Click() {
    mahou->hide();
    message(tr("『メラゾーマ！！』"));
    message(tr("チュド―――ン！！"));
    message(tr("しかし効かない！"));
    bosu3->show();
}

void TForm1::Button13Click() {
    mahou->hide();
    message(tr("『ムロマチバクファー！！』"));
    message(tr("チュド―――ン！！"));
    message(tr("22のダメージをあたえた。！"));
    bosu6->show();
}

void TForm1::Button23Click() {
    mahou2->hide();
    message(tr("『メラゾーマ！！』"));
    message(tr("チュド―――ン！！"));
    message(tr("しかし効かない！"));
    bosu4->show();
}

void TForm1::Button24Click() {
    mahou2->hide();
    message(tr("『ムロマチバクファー！！』"));
    message(tr("チュド―――ン！！"));
    message(tr("15のダメージをあたえた！"));
    bosu1->show();
}

void TForm1::Button25Click() {
    mahou3->hide();
    message(tr("『パナソニックス！！』"));
    message(tr("チュド―――ン！！"));
    message(tr("45のダメージをあたえた！"));
    bosu6->show();
}

void TForm1::Button26Click() {
    mahou3->hide();
    message(tr("『イソノワカメデュ―ム！！』"));
    message(tr("チュド―――ン！！"));
    message(tr("１億３千万のダメージをあたえた！"));
    bosu5->show();
}

// Items: there are none, and the battle starts over at bosu1.

void TForm1::Button21Click() {
    bosu5->hide();
    message(tr("道具は持ってない。"));
    bosu1->show();
}

void TForm1::Button28Click() {
    bosu6->hide();
    message(tr("道具は持ってない。"));
    bosu1->show();
}

// Escapes: every one ends in the forest.

void TForm1::Button6Click() {
    bosu1->hide();
    message(tr("%1は逃げる事にした。"), PlayerName);
    message(tr("スタタタタタタタ...."));
    message(tr("ずいぶん遠くまで逃げて来たようだ。"));
    message(tr("どうやら迷いの森に迷い込んだようだ。"));
    mori1->show();
}

void TForm1::Button16Click() {
    bosu3->hide();
    message(tr("%1は逃げる事にした。"), PlayerName);
    message(tr("スタタタタタタタ...."));
    message(tr("ずいぶん遠くまで逃げて来たようだ。"));
    message(tr("どうやら迷いの森に迷い込んだようだ。"));
    mori1->show();
}

void TForm1::Button19Click() {
    bosu4->hide();
    message(tr("%1は逃げる事にした。"), PlayerName);
    message(tr("スタタタタタタタ...."));
    message(tr("ずいぶん遠くまで逃げて来たようだ。"));
    message(tr("どうやら迷いの森に迷い込んだようだ。"));
    mori1->show();
}

void TForm1::Button22Click() {
    bosu5->hide();
    message(tr("%1は逃げる事にした。"), PlayerName);
    message(tr("スタタタタタタタ...."));
    message(tr("ずいぶん遠くまで逃げて来たようだ。"));
    message(tr("どうやら迷いの森に迷い込んだようだ。"));
    mori1->show();
}

void TForm1::Button29Click() {
    bosu6->hide();
    message(tr("%1は逃げる事にした。"), PlayerName);
    message(tr("スタタタタタタタ...."));
    message(tr("ずいぶん遠くまで逃げて来たようだ。"));
    message(tr("どうやら迷いの森に迷い込んだようだ。"));
    mori1->show();
}

// The final blow. Red and white follow each other with nothing but the beep
// between them, so the window is next painted white, never red.
void TForm1::Button20Click() {
    bosu5->hide();
    message(tr("『くらえ！』"));
    message(tr("ピキ――――ン！"));
    message(tr("『ステラフィナーレ！！』"));
    setColor(layout::clRed);
    beep();
    setColor(layout::clWhite);
    message(tr("%1『.....。』"), PlayerName);
    message(tr("そして世界に平和が戻った。"));
    BitBtn21->show();
}
