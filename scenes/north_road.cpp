// The north road: the villager 並木さん, his advice and the castle gate.
#include "form1.h"
#include "regions.h"

layout::Region northRoadRows() {
    using namespace layout;
    // clang-format off
    return {
        scene(TButton, "namiki", 40, 88, 145, 25).caption(QT_TRANSLATE_NOOP("layout", "並木さんに出会った")).hidden().tabOrder(2).click("namikiClick"),

        scene(TPanel, "namiki1", 16, 136, 169, 145).caption(QT_TRANSLATE_NOOP("layout", "　　　　　　　　どうしますか？")).hidden().color(clWhite).tabOrder(4).subject(QT_TRANSLATE_NOOP("layout", "並木さん")),
        child(TImage, "Image1", 0, 0, 73, 89).picture("villager", QT_TRANSLATE_NOOP("layout", "村人の並木さん")),
        child(TComboBox, "Box2", 8, 96, 145, 20).items({QT_TRANSLATE_NOOP("layout", "とりあえず話す"), QT_TRANSLATE_NOOP("layout", "立ち去る")}).fieldText(QT_TRANSLATE_NOOP("layout", "どうちます？")).itemHeight(12).tabOrder(0),
        child(TBitBtn, "BitBtn2", 48, 120, 75, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(1).click("BitBtn2Click"),

        scene(TPanel, "Panel1", 16, 136, 185, 137).hidden().color(clWhite).tabOrder(8).subject(QT_TRANSLATE_NOOP("layout", "並木さん")),
        child(TImage, "Image3", 104, 8, 73, 89).picture("villager", QT_TRANSLATE_NOOP("layout", "村人の並木さん")),
        child(TMemo, "memo1", 8, 8, 97, 89).lines(QT_TRANSLATE_NOOP("layout", "並木さん\n" "　「ここら辺は気を\n" "付けた方がいいよ\n" "。魔物がうろつい\n" "てるからね。」")).tabOrder(0),
        child(TBitBtn, "BitBtn5", 8, 104, 163, 25).caption(QT_TRANSLATE_NOOP("layout", "先に進む")).tabOrder(1).click("BitBtn5Click"),

        scene(TPanel, "shiro", 16, 136, 169, 169).caption(QT_TRANSLATE_NOOP("layout", "　　　　　ホシフル城")).font(Gothic, -12, fsBold, clWindowText).hidden().color(clLime).tabOrder(6).subject(QT_TRANSLATE_NOOP("layout", "ホシフル城")),
        child(TImage, "Image2", 96, 16, 49, 49).picture("castle", QT_TRANSLATE_NOOP("layout", "ホシフル城")),
        child(TBitBtn, "BitBtn4", 96, 144, 59, 17).caption(QT_TRANSLATE_NOOP("layout", "ＯＫ")).tabOrder(0).click("BitBtn4Click"),
        child(TListBox, "List1", 16, 104, 129, 33).items({QT_TRANSLATE_NOOP("layout", "城に入る"), QT_TRANSLATE_NOOP("layout", "危険なので立ち去る")}).font(Gothic, -12, 0, clWindowText).itemHeight(12).tabOrder(1),
    };
    // clang-format on
}

// Story handlers

void TForm1::namikiClick() {
    beep();
    namiki->hide();
    namiki1->show();
}

void TForm1::BitBtn2Click() {
    if (Box2->itemIndex() == 0) {
        namiki1->hide();
        Panel1->show();
    }
    if (Box2->itemIndex() == 1) {
        namiki1->hide();
        message(tr("先に進むと目の前に城が見える。"));
        shiro->show();
    }
}

void TForm1::BitBtn5Click() {
    Panel1->hide();
    message(tr("%1は先に進むためしばらく歩いた。"), PlayerName);
    beep();
    beep();
    message(tr("！！！！！！！"));
    daimaou->show();
}

void TForm1::BitBtn4Click() {
    if (List1->itemIndex() == 0) {
        shiro->hide();
        message(tr("%1はホシフル城の中に入ってみた。"), PlayerName);
        Panel4->show();
    }
    if (List1->itemIndex() == 1) {
        shiro->hide();
        message(tr("城に入らず先に進むことにした。"));
        message(tr("しばらく歩いて行くとどうやら迷いの森に迷い込んだようだ。"));
        mori1->show();
    }
}
