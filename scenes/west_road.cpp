// The west road: the lamenting old man and his warning.
#include "form1.h"
#include "regions.h"

layout::Region westRoadRows() {
    using namespace layout;
    // clang-format off
    return {
        scene(TButton, "nageki", 40, 88, 145, 25).caption(QT_TRANSLATE_NOOP("layout", "嘆きの老人が現れた")).hidden().tabOrder(3).click("nagekiClick"),

        scene(TPanel, "nageki1", 16, 136, 185, 105).hidden().color(clYellow).tabOrder(5).subject(QT_TRANSLATE_NOOP("layout", "嘆きの老人")),
        child(TLabel, "Label2", 8, 8, 75, 12).caption(QT_TRANSLATE_NOOP("layout", "どうしますか？")),
        child(TImage, "Image5", 112, 8, 73, 89).picture("oldman", QT_TRANSLATE_NOOP("layout", "嘆きの老人")),
        child(TBitBtn, "BitBtn3", 16, 80, 75, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(0).click("BitBtn3Click"),
        child(TListBox, "box3", 8, 32, 97, 41).items({QT_TRANSLATE_NOOP("layout", "話かける"), QT_TRANSLATE_NOOP("layout", "殺す"), QT_TRANSLATE_NOOP("layout", "立ち去る")}).itemHeight(12).tabOrder(1),

        scene(TPanel, "Panel2", 16, 136, 185, 137).hidden().color(clYellow).tabOrder(12).subject(QT_TRANSLATE_NOOP("layout", "嘆きの老人")),
        child(TImage, "Image6", 112, 8, 73, 89).picture("oldman", QT_TRANSLATE_NOOP("layout", "嘆きの老人")),
        child(TMemo, "Memo2", 8, 8, 97, 81).lines(QT_TRANSLATE_NOOP("layout", "嘆きの老人\n" "　「東の村には蛇\n" "がでるそうじゃ。気\n" "を付けなされ。」")).tabOrder(0),
        child(TBitBtn, "BitBtn8", 16, 104, 153, 25).caption(QT_TRANSLATE_NOOP("layout", "先に進む")).tabOrder(1).click("BitBtn8Click"),

        scene(TPanel, "Panel3", 16, 136, 177, 145).hidden().color(clYellow).tabOrder(13).subject(QT_TRANSLATE_NOOP("layout", "嘆きの老人")),
        child(TImage, "Image7", 104, 8, 73, 89).picture("oldman", QT_TRANSLATE_NOOP("layout", "嘆きの老人")),
        child(TMemo, "Memo3", 8, 8, 89, 105).lines(QT_TRANSLATE_NOOP("layout", "嘆きの老人\n" "　「わしを殺そう\n" "など百万年早い\n" "わい。じゃが、そ\n" "の度胸に念じて\n" "お主に『マリリン\n" "・サンダ―』の魔\n" "法を授けよう。」")).tabOrder(0),
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
        message(tr("%1は立ち去ることにした。 "), PlayerName);
        message(tr("しばらく歩いていると.....。"));
        message(tr("！！！！！！！"));
        daimaou->show();
    }
}

void TForm1::BitBtn8Click() {
    Panel2->hide();
    message(tr("しばらく進むとモンスターに遭遇した。"));
    suraimu->show();
}

void TForm1::BitBtn9Click() {
    beep();
    Panel3->hide();
    message(tr("%1は『マリリン・サンダ―』の魔法を覚えた。"), PlayerName);
    message(tr("そして新たに冒険を再開した。"));
    message(tr("しばらく歩いていると小さな街を見つけた。"));
    machi->show();
}
