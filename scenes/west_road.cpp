// The west road: the lamenting old man and his warning.
#include "form1.h"
#include "regions.h"

using namespace Qt::StringLiterals;

layout::Region westRoadRows() {
    using namespace layout;
    // clang-format off
    return {
        scene(TButton, "nageki", 40, 88, 145, 25).caption("嘆きの老人が現れた").hidden().tabOrder(3).click("nagekiClick"),

        scene(TPanel, "nageki1", 16, 136, 185, 105).hidden().color(clYellow).tabOrder(5).subject("嘆きの老人"),
        child(TLabel, "Label2", 8, 8, 75, 12).caption("どうしますか？"),
        child(TImage, "Image5", 112, 8, 73, 89).picture("oldman", "嘆きの老人"),
        child(TBitBtn, "BitBtn3", 16, 80, 75, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(0).click("BitBtn3Click"),
        child(TListBox, "box3", 8, 32, 97, 41).items({"話かける", "殺す", "立ち去る"}).itemHeight(12).tabOrder(1),

        scene(TPanel, "Panel2", 16, 136, 185, 137).hidden().color(clYellow).tabOrder(12).subject("嘆きの老人"),
        child(TImage, "Image6", 112, 8, 73, 89).picture("oldman", "嘆きの老人"),
        child(TMemo, "Memo2", 8, 8, 97, 81).lines({"嘆きの老人", "　「東の村には蛇", "がでるそうじゃ。気", "を付けなされ。」"}).tabOrder(0),
        child(TBitBtn, "BitBtn8", 16, 104, 153, 25).caption("先に進む").tabOrder(1).click("BitBtn8Click"),

        scene(TPanel, "Panel3", 16, 136, 177, 145).hidden().color(clYellow).tabOrder(13).subject("嘆きの老人"),
        child(TImage, "Image7", 104, 8, 73, 89).picture("oldman", "嘆きの老人"),
        child(TMemo, "Memo3", 8, 8, 89, 105).lines({"嘆きの老人", "　「わしを殺そう", "など百万年早い", "わい。じゃが、そ", "の度胸に念じて", "お主に『マリリン", "・サンダ―』の魔", "法を授けよう。」"}).tabOrder(0),
        child(TBitBtn, "BitBtn9", 24, 120, 129, 17).caption("OK").tabOrder(1).click("BitBtn9Click"),
    };
    // clang-format on
}

// Story handlers

void TForm1::nagekiClick() {
    beep();
    nageki->hide();
    nageki1->show();
}

void TForm1::BitBtn3Click() {
    if (box3->itemIndex() == 0) {
        beep();
        nageki1->hide();
        Panel2->show();
    }
    if (box3->itemIndex() == 1) {
        beep();
        nageki1->hide();
        Panel3->show();
    }
    if (box3->itemIndex() == 2) {
        nageki1->hide();
        message(u"%1は立ち去ることにした。 "_s, PlayerName);
        message(u"しばらく歩いていると.....。"_s);
        message(u"！！！！！！！"_s);
        daimaou->show();
    }
}

void TForm1::BitBtn8Click() {
    Panel2->hide();
    message(u"しばらく進むとモンスターに遭遇した。"_s);
    suraimu->show();
}

void TForm1::BitBtn9Click() {
    beep();
    Panel3->hide();
    message(u"%1は『マリリン・サンダ―』の魔法を覚えた。"_s, PlayerName);
    message(u"そして新たに冒険を再開した。"_s);
    message(u"しばらく歩いていると小さな街を見つけた。"_s);
    machi->show();
}
