// Inside ホシフル城: the hall, the princess, the wooing lines, the wandering swordsman and the Well
// of Time.
#include "form1.h"
#include "regions.h"

layout::Region castleRows() {
    using namespace layout;
    // clang-format off
    return {
        scene(TPanel, "Panel4", 16, 136, 185, 113).hidden().color(clLime).tabOrder(14).subject(QT_TRANSLATE_NOOP("layout", "ホシフル城の広間")),
        child(TLabel, "Label5", 8, 16, 75, 12).caption(QT_TRANSLATE_NOOP("layout", "どうしますか？")),
        child(TListBox, "list2", 8, 40, 113, 57).items({QT_TRANSLATE_NOOP("layout", "城から出る"), QT_TRANSLATE_NOOP("layout", "王様に会う"), QT_TRANSLATE_NOOP("layout", "お姫様に会いに行く"), QT_TRANSLATE_NOOP("layout", "城内をうろつく")}).itemHeight(12).tabOrder(0),
        child(TBitBtn, "BitBtn10", 128, 80, 43, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(1).click("BitBtn10Click"),

        scene(TPanel, "hime", 16, 136, 169, 97).caption("hime").hidden().color(clLime).tabOrder(25).subject(QT_TRANSLATE_NOOP("layout", "お姫様")),
        child(TImage, "Image10", 8, 8, 49, 57).picture("princess", QT_TRANSLATE_NOOP("layout", "お姫様")),
        child(TListBox, "List3", 64, 8, 97, 57).items({QT_TRANSLATE_NOOP("layout", "闘う"), QT_TRANSLATE_NOOP("layout", "口説く"), QT_TRANSLATE_NOOP("layout", "その場から去る")}).itemHeight(12).tabOrder(0),
        child(TBitBtn, "BitBtn18", 128, 72, 33, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(1).click("BitBtn18Click"),

        scene(TPanel, "hime1", 16, 136, 201, 97).hidden().color(clLime).tabOrder(28).subject(QT_TRANSLATE_NOOP("layout", "お姫様")),
        child(TImage, "Image11", 152, 8, 49, 57).picture("princess", QT_TRANSLATE_NOOP("layout", "お姫様")),
        child(TMemo, "Memo5", 8, 8, 137, 57).lines(QT_TRANSLATE_NOOP("layout", "姫様\n" "　「私と戦うなんて！なん\n" "て失礼な人なの！お城か\n" "ら出て行ってちょうだい！\n" "」")).tabOrder(0),
        child(TBitBtn, "BitBtn20", 48, 72, 105, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(1).click("BitBtn20Click"),

        scene(TPanel, "kudoku", 16, 136, 185, 145).caption("kudoku").hidden().color(clBlack).tabOrder(26).subject(QT_TRANSLATE_NOOP("layout", "お姫様")),
        child(TLabel, "Label11", 16, 8, 84, 16).caption(QT_TRANSLATE_NOOP("layout", "口説き文句")).font(PGothic, -16, fsBold, clRed),
        child(TButton, "Button1", 16, 40, 153, 25).caption(QT_TRANSLATE_NOOP("layout", "君の瞳にフォーリンラブ")).tabOrder(0).click("Button1Click"),
        child(TButton, "Button2", 16, 72, 153, 25).caption(QT_TRANSLATE_NOOP("layout", "俺とタイタニックに乗ってくれ")).tabOrder(1).click("Button2Click"),
        child(TButton, "Button3", 16, 104, 153, 25).caption(QT_TRANSLATE_NOOP("layout", "僕は死にましぇん")).tabOrder(2).click("Button3Click"),

        scene(TButton, "nakama", 40, 88, 145, 25).caption(QT_TRANSLATE_NOOP("layout", "サスライの剣士に会った")).hidden().tabOrder(32).click("nakamaClick"),

        scene(TPanel, "nakama1", 16, 136, 193, 121).caption("nakama1").hidden().color(clLime).tabOrder(31).subject(QT_TRANSLATE_NOOP("layout", "サスライの剣士")),
        child(TImage, "Image13", 128, 8, 57, 73).picture("swordsman", QT_TRANSLATE_NOOP("layout", "サスライの剣士")),
        child(TMemo, "Memo6", 8, 8, 113, 65).lines(QT_TRANSLATE_NOOP("layout", "ガイ疾風\n" "　「よお、俺っちはサ\n" "スライの剣士。俺っ\n" "ちを仲間にしろよ！」")).tabOrder(0),
        child(TButton, "Button7", 16, 88, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "仲間にする")).tabOrder(1).click("Button7Click"),
        child(TButton, "Button8", 104, 88, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "しない")).tabOrder(2).click("Button8Click"),

        scene(TPanel, "ido", 16, 136, 185, 97).hidden().bevels(bvLowered, bvRaised).bevel(2).bsSingle().color(clOlive).tabOrder(43).subject(QT_TRANSLATE_NOOP("layout", "時間の井戸")),
        child(TLabel, "Label18", 40, 16, 105, 12).caption(QT_TRANSLATE_NOOP("layout", "『時間の井戸』がある")),
        child(TButton, "Button30", 8, 48, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "井戸に入る")).tabOrder(0).click("Button30Click"),
        child(TButton, "Button31", 96, 48, 75, 25).caption(QT_TRANSLATE_NOOP("layout", "先に進む")).tabOrder(1).click("Button31Click"),
    };
    // clang-format on
}

// Story handlers

void TForm1::BitBtn10Click() {
    if (list2->itemIndex() == 0) {
        Panel4->hide();
        message(tr("城から出ることにした。"));
        message(tr("城から出てしばらく歩いているとどうやら迷いの森に迷いこんだようだ"));
        mori1->show();
    }
    if (list2->itemIndex() == 1) {
        Panel4->hide();
        message(tr("残念ながら王様は留守だった。"));
        message(tr("と言う事で城から出ることにした。"));
        message(tr("しばらく進むと...。"));
        message(tr("どうやら迷いの森に迷い込んだようだ。"));
        mori1->show();
    }
    if (list2->itemIndex() == 2) {
        Panel4->hide();
        hime->show();
    }
    if (list2->itemIndex() == 3) {
        Panel4->hide();
        message(tr("とりあえず城内を回ってみることにした。"));
        nakama->show();
    }
}

void TForm1::BitBtn18Click() {
    if (List3->itemIndex() == 0) {
        hime->hide();
        hime1->show();
    }
    if (List3->itemIndex() == 1) {
        hime->hide();
        kudoku->show();
    }
    if (List3->itemIndex() == 2) {
        hime->hide();
        Panel4->show();
    }
}

void TForm1::BitBtn20Click() {
    hime1->hide();
    message(tr("%1はお城から追い出された。仕方なく先に進むことにした。"), PlayerName);
    message(tr("しばらく進むと..."));
    suraimu->show();
}

// The line that wins her heart.
void TForm1::Button1Click() {
    kudoku->hide();
    message(tr("見事に姫は恋に落ちた"));
    message(tr("二人は幸せな家庭を築くため新たな旅に出た。"));
    BitBtn19->show();
}

void TForm1::Button2Click() {
    kudoku->hide();
    message(tr("見事にふられてしまった。と言う事で城から出よう。"));
    message(tr("しばらくの間歩いていると...。"));
    bosu->show();
}

void TForm1::Button3Click() {
    kudoku->hide();
    message(tr("見事にふられてしまった。と言う事で城から出よう。"));
    message(tr("しばらくの間歩いていると...。"));
    bosu->show();
}

void TForm1::nakamaClick() {
    nakama->hide();
    nakama1->show();
}

// Take the swordsman along.
void TForm1::Button7Click() {
    nakama1->hide();
    message(tr("サスライの剣士・ガイ疾風が仲間になった。"));
    message(tr("とりあえず二人は城から出て先に進むことにした。"));
    message(tr("しばらく進むと....。"));
    bossu->show();
}

void TForm1::Button8Click() {
    nakama1->hide();
    message(tr("仲間にせずとりあえず一人で先に進むことにした。"));
    message(tr("しばらく進むと....。"));
    ido->show();
}

// Into the Well of Time: back to START, with the title left hidden.
void TForm1::Button30Click() {
    ido->hide();
    message(tr("時間が戻った.....。"));
    start->show();
}

void TForm1::Button31Click() {
    ido->hide();
    message(tr("先に進むことにした。"));
    message(tr("しばらく進むと...。"));
    bosu->show();
}
