// Inside ホシフル城: the hall, the princess, the wooing lines, the wandering swordsman and the Well of Time.
#include "form1.h"
#include "regions.h"

using namespace Qt::StringLiterals;

layout::Region castleRows() {
    using namespace layout;
    return {
        scene(TPanel, "Panel4", 16, 136, 185, 113).hidden().color(clLime).tabOrder(14),
        child(TLabel, "Label5", 8, 16, 75, 12).caption("どうしますか？"),
        child(TListBox, "list2", 8, 40, 113, 57).items({"城から出る", "王様に会う", "お姫様に会いに行く", "城内をうろつく"}).itemHeight(12).tabOrder(0),
        child(TBitBtn, "BitBtn10", 128, 80, 43, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(1).click("BitBtn10Click"),

        scene(TPanel, "hime", 16, 136, 169, 97).caption("hime").hidden().color(clLime).tabOrder(25),
        child(TImage, "Image10", 8, 8, 49, 57).picture("princess"),
        child(TListBox, "List3", 64, 8, 97, 57).items({"闘う", "口説く", "その場から去る"}).itemHeight(12).tabOrder(0),
        child(TBitBtn, "BitBtn18", 128, 72, 33, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(1).click("BitBtn18Click"),

        scene(TPanel, "hime1", 16, 136, 201, 97).hidden().color(clLime).tabOrder(28),
        child(TImage, "Image11", 152, 8, 49, 57).picture("princess"),
        child(TMemo, "Memo5", 8, 8, 137, 57).lines({"姫様", "　「私と戦うなんて！なん", "て失礼な人なの！お城か", "ら出て行ってちょうだい！", "」"}).tabOrder(0),
        child(TBitBtn, "BitBtn20", 48, 72, 105, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(1).click("BitBtn20Click"),

        scene(TPanel, "kudoku", 16, 136, 185, 145).caption("kudoku").hidden().color(clBlack).tabOrder(26),
        child(TLabel, "Label11", 16, 8, 84, 16).caption("口説き文句").font(PGothic, -16, fsBold, clRed),
        child(TButton, "Button1", 16, 40, 153, 25).caption("君の瞳にフォーリンラブ").tabOrder(0).click("Button1Click"),
        child(TButton, "Button2", 16, 72, 153, 25).caption("俺とタイタニックに乗ってくれ").tabOrder(1).click("Button2Click"),
        child(TButton, "Button3", 16, 104, 153, 25).caption("僕は死にましぇん").tabOrder(2).click("Button3Click"),

        scene(TButton, "nakama", 40, 88, 145, 25).caption("サスライの剣士に会った").hidden().tabOrder(32).click("nakamaClick"),

        scene(TPanel, "nakama1", 16, 136, 193, 121).caption("nakama1").hidden().color(clLime).tabOrder(31),
        child(TImage, "Image13", 128, 8, 57, 73).picture("swordsman"),
        child(TMemo, "Memo6", 8, 8, 113, 65).lines({"ガイ疾風", "　「よお、俺っちはサ", "スライの剣士。俺っ", "ちを仲間にしろよ！」"}).tabOrder(0),
        child(TButton, "Button7", 16, 88, 75, 25).caption("仲間にする").tabOrder(1).click("Button7Click"),
        child(TButton, "Button8", 104, 88, 75, 25).caption("しない").tabOrder(2).click("Button8Click"),

        scene(TPanel, "ido", 16, 136, 185, 97).hidden().bevels(bvLowered, bvRaised).bevel(2).bsSingle().color(clOlive).tabOrder(43),
        child(TLabel, "Label18", 40, 16, 105, 12).caption("『時間の井戸』がある"),
        child(TButton, "Button30", 8, 48, 75, 25).caption("井戸に入る").tabOrder(0).click("Button30Click"),
        child(TButton, "Button31", 96, 48, 75, 25).caption("先に進む").tabOrder(1).click("Button31Click"),
    };
}

// Story handlers
