// The slime and the companions met after it.
#include "form1.h"
#include "regions.h"

using namespace Qt::StringLiterals;

layout::Region slimeRows() {
    using namespace layout;
    // clang-format off
    return {
        scene(TPanel, "suraim", 16, 136, 185, 105).caption("どうする？").hidden().color(clRed).tabOrder(23).subject("スライム"),
        child(TImage, "Image9", 8, 8, 49, 41).picture("slime", "スライム"),
        child(TListBox, "ListBox1", 8, 64, 121, 33).items({"ダイナマイトクラッシュ", "逃げる"}).itemHeight(12).tabOrder(0),
        child(TBitBtn, "BitBtn17", 136, 72, 41, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(1).click("BitBtn17Click"),

        scene(TButton, "suraimu", 40, 88, 145, 25).caption("スライムが現れた").hidden().tabOrder(24).click("suraimuClick"),

        scene(TPanel, "Panel5", 16, 136, 185, 89).hidden().color(clRed).tabOrder(44).subject("スライム"),
        child(TButton, "Button32", 48, 16, 91, 25).caption("仲間にする").tabOrder(0).click("Button32Click"),
        child(TButton, "Button33", 48, 48, 91, 25).caption("しない").tabOrder(1).click("Button33Click"),

        scene(TPanel, "Panel6", 16, 136, 185, 97).hidden().color(clRed).tabOrder(45).subject("仲間たち"),
        child(TButton, "Button34", 40, 16, 105, 25).caption("みんな仲間にする").tabOrder(0).click("Button34Click"),
        child(TButton, "Button35", 40, 56, 105, 25).caption("先に進む").tabOrder(1).click("Button35Click"),
    };
    // clang-format on
}

// Story handlers

void TForm1::suraimuClick() {
    suraimu->hide();
    suraim->show();
}

void TForm1::BitBtn17Click() {
    if (ListBox1->itemIndex() == 0) {
        suraim->hide();
        message(u"バ――ン！"_s);
        message(u"スライムを倒した。"_s);
        message(u"するとスライムが立ちあがって仲間になりたそうにしています。"_s);
        Panel5->show();
    }
    if (ListBox1->itemIndex() == 1) {
        suraim->hide();
        message(u"必死にスライムから逃げようとしたらかなり遠くまで来てしまった。"_s);
        message(u"どうやら迷いの森に迷い込んだようだ。"_s);
        mori1->show();
    }
}

// Take the slime along.
void TForm1::Button32Click() {
    Panel5->hide();
    message(u"するとどんどんモンスターや動物たちが寄ってきます。"_s);
    Panel6->show();
}

// Leave the slime behind.
void TForm1::Button33Click() {
    Panel5->hide();
    message(u"とりあえず先に進むことにした。"_s);
    message(u"しばらく進むと...。"_s);
    bosu->show();
}

// Take every creature along: the animal kingdom.
void TForm1::Button34Click() {
    Panel6->hide();
    message(u"%1は動物王国を開くことにした。"_s, PlayerName);
    message(u"めでたし。めでたし。"_s);
    BitBtn21->show();
}

// Leave the creatures and walk on.
void TForm1::Button35Click() {
    Panel6->hide();
    message(u"先に進むことにした。しばらく進むと...。"_s);
    bosu->show();
}
