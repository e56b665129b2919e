// The Town of Bonjour: the weapon shop and the tavern with its patrons.
#include "form1.h"
#include "regions.h"

layout::Region townRows() {
    using namespace layout;
    // clang-format off
    return {
        scene(TPanel, "machi", 16, 136, 169, 121).hidden().bevels(bvLowered, bvRaised).bevel(5).border(2).bsSingle().color(clInfoBk).tabOrder(46).subject(QT_TRANSLATE_NOOP("layout", "ボンジュールの街")),
        child(TLabel, "Label19", 16, 16, 99, 12).caption(QT_TRANSLATE_NOOP("layout", "ボンジュールの街")).font(PGothic, -12, fsBold, clWindowText),
        child(TButton, "Button36", 48, 40, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "立ち寄る")).tabOrder(0).click("Button36Click"),
        child(TButton, "Button37", 48, 72, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "先に進む")).tabOrder(1).click("Button37Click"),

        scene(TPanel, "machi1", 16, 136, 289, 73).hidden().bevels(bvLowered, bvRaised).bevel(2).border(2).bsSingle().color(clInfoBk).tabOrder(47).subject(QT_TRANSLATE_NOOP("layout", "ボンジュールの街")),
        child(TButton, "Button38", 16, 24, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "武器屋")).tabOrder(0).click("Button38Click"),
        child(TButton, "Button39", 104, 24, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "酒場")).tabOrder(1).click("Button39Click"),
        child(TButton, "Button40", 192, 24, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "街から出る")).tabOrder(2).click("Button40Click"),

        scene(TPanel, "bukiya", 16, 136, 185, 177).hidden().bsSingle().color(clWhite).tabOrder(48).subject(QT_TRANSLATE_NOOP("layout", "武器屋")),
        child(TImage, "Image19", 112, 8, 73, 73).picture("shopkeeper", QT_TRANSLATE_NOOP("layout", "武器屋の主人")),
        child(TImage, "Image20", 8, 0, 105, 73).picture("balloon", QT_TRANSLATE_NOOP("layout", "吹き出し「いらっしゃい 何を買う？」")),
        child(TButton, "Button41", 8, 96, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "覇王神の剣")).tabOrder(0).click("Button41Click"),
        child(TButton, "Button42", 96, 96, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "女神の杖")).tabOrder(1).click("Button42Click"),
        child(TButton, "Button43", 96, 136, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "店から出る")).tabOrder(2).click("Button43Click"),

        scene(TPanel, "sakaba", 16, 136, 161, 185).hidden().bevels(bvRaised, bvLowered).bsSingle().color(clPurple).tabOrder(49).subject(QT_TRANSLATE_NOOP("layout", "酒場")),
        child(TLabel, "Label20", 24, 16, 49, 15).caption(QT_TRANSLATE_NOOP("layout", "北酒場")).font(PGothic, -15, fsBold, clSilver),
        child(TButton, "Button44", 24, 48, 113, 25).caption(QT_TRANSLATE_NOOP("layout", "自由の酪農家に会う")).tabOrder(0).click("Button44Click"),
        child(TButton, "Button45", 24, 80, 113, 25).caption(QT_TRANSLATE_NOOP("layout", "龍神の弟に会う")).tabOrder(1).click("Button45Click"),
        child(TButton, "Button46", 24, 112, 113, 25).caption(QT_TRANSLATE_NOOP("layout", "並木さんに会う")).tabOrder(2).click("Button46Click"),
        child(TButton, "Button47", 24, 144, 113, 25).caption(QT_TRANSLATE_NOOP("layout", "酒場から出る")).tabOrder(3).click("Button47Click"),

        scene(TPanel, "jiyuu", 56, 128, 193, 121).hidden().color(clPurple).tabOrder(50).subject(QT_TRANSLATE_NOOP("layout", "自由の酪農家")),
        child(TImage, "Image21", 112, 8, 73, 89).picture("farmer", QT_TRANSLATE_NOOP("layout", "自由の酪農家")),
        child(TMemo, "Memo7", 8, 8, 97, 81).lines(QT_TRANSLATE_NOOP("layout", "自由の酪農家\n" "　「カエルぴょこぴ\n" "ょこみぴょこぴょ\n" "こ。」")).tabOrder(0),
        child(TBitBtn, "BitBtn22", 48, 96, 89, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(1).click("BitBtn22Click"),

        scene(TPanel, "ryuu", 24, 128, 241, 105).hidden().color(clPurple).tabOrder(51).subject(QT_TRANSLATE_NOOP("layout", "龍神の弟")),
        child(TImage, "Image22", 160, 8, 73, 65).picture("dragonbrother", QT_TRANSLATE_NOOP("layout", "龍神の弟")),
        child(TMemo, "Memo8", 8, 8, 145, 65).lines(QT_TRANSLATE_NOOP("layout", "龍神の弟\n" "　「私の兄は海底の城に住\n" "んでいます。あとで会いに\n" "行ってください。」")).tabOrder(0),
        child(TBitBtn, "BitBtn23", 64, 80, 123, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(1).click("BitBtn23Click"),

        scene(TPanel, "nami", 32, 112, 233, 137).hidden().bevels(bvLowered, bvRaised).bsSingle().color(clWhite).tabOrder(52).subject(QT_TRANSLATE_NOOP("layout", "並木さん")),
        child(TImage, "Image23", 144, 8, 81, 89).picture("villager_small", QT_TRANSLATE_NOOP("layout", "村人の並木さん")),
        child(TMemo, "Memo9", 8, 8, 129, 81).lines(QT_TRANSLATE_NOOP("layout", "並木さん\n" "　「この世界には二人の\n" "達人がいます。おっと、\n" "そろそろ行かなくては。\n" "それではアディオス。")).tabOrder(0),
        child(TBitBtn, "BitBtn24", 64, 104, 113, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(1).click("BitBtn24Click"),
    };
    // clang-format on
}

// Story handlers

// Drop in at the gate.
void TForm1::Button36Click() {
    machi->hide();
    machi1->show();
}

// Move on past the gate.
void TForm1::Button37Click() {
    machi->hide();
    message(tr("とりあえず先に進むことにした。"));
    message(tr("しばらく進むと....。"));
    bosu->show();
}

void TForm1::Button38Click() {
    machi1->hide();
    bukiya->show();
}

void TForm1::Button39Click() {
    machi1->hide();
    sakaba->show();
}

// Leave the town from the streets.
void TForm1::Button40Click() {
    machi1->hide();
    message(tr("街から出てしばらく進むと...。"));
    bosu->show();
}

// Both wares are sold out; the shop stays open.
void TForm1::Button41Click() {
    message(tr("悪いけどちょっとそれは品切れなんだよ。"));
}

void TForm1::Button42Click() {
    message(tr("すまん！それはもう売りきれちゃったよぉ。"));
}

// The keeper says goodbye before the shop closes behind the player.
void TForm1::Button43Click() {
    message(tr("また来て下さいな！"));
    bukiya->hide();
    machi1->show();
}

void TForm1::Button44Click() {
    sakaba->hide();
    jiyuu->show();
}

void TForm1::BitBtn22Click() {
    jiyuu->hide();
    sakaba->show();
}

void TForm1::Button45Click() {
    sakaba->hide();
    ryuu->show();
}

void TForm1::BitBtn23Click() {
    ryuu->hide();
    sakaba->show();
}

void TForm1::Button46Click() {
    sakaba->hide();
    nami->show();
}

// The villager leaves the tavern for good once he has been met.
void TForm1::BitBtn24Click() {
    nami->hide();
    sakaba->show();
    Button46->hide();
}

void TForm1::Button47Click() {
    sakaba->hide();
    machi1->show();
}
