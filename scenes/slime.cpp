// The slime and the companions met after it.
#include "form1.h"
#include "regions.h"

layout::Region slimeRows() {
    using namespace layout;
    // clang-format off
    return {
        scene(TPanel, "suraim", 16, 136, 185, 105).caption(QT_TRANSLATE_NOOP("layout", "どうする？")).hidden().color(clRed).tabOrder(23).subject(QT_TRANSLATE_NOOP("layout", "スライム")),
        child(TImage, "Image9", 8, 8, 49, 41).picture("slime", QT_TRANSLATE_NOOP("layout", "スライム")),
        child(TListBox, "ListBox1", 8, 64, 121, 33).items({QT_TRANSLATE_NOOP("layout", "ダイナマイトクラッシュ"), QT_TRANSLATE_NOOP("layout", "逃げる")}).itemHeight(12).tabOrder(0),
        child(TBitBtn, "BitBtn17", 136, 72, 41, 17).caption("OK").font(PGothic, -12, fsBold, clWindowText).tabOrder(1).click("BitBtn17Click"),

        scene(TButton, "suraimu", 40, 88, 145, 25).caption(QT_TRANSLATE_NOOP("layout", "スライムが現れた")).hidden().tabOrder(24).click("suraimuClick"),

        scene(TPanel, "Panel5", 16, 136, 185, 89).hidden().color(clRed).tabOrder(44).subject(QT_TRANSLATE_NOOP("layout", "スライム")),
        child(TButton, "Button32", 48, 16, 91, 25).caption(QT_TRANSLATE_NOOP("layout", "仲間にする")).tabOrder(0).click("Button32Click"),
        child(TButton, "Button33", 48, 48, 91, 25).caption(QT_TRANSLATE_NOOP("layout", "しない")).tabOrder(1).click("Button33Click"),

        scene(TPanel, "Panel6", 16, 136, 185, 97).hidden().color(clRed).tabOrder(45).subject(QT_TRANSLATE_NOOP("layout", "仲間たち")),
        child(TButton, "Button34", 40, 16, 105, 25).caption(QT_TRANSLATE_NOOP("layout", "みんな仲間にする")).tabOrder(0).click("Button34Click"),
        child(TButton, "Button35", 40, 56, 105, 25).caption(QT_TRANSLATE_NOOP("layout", "先に進む")).tabOrder(1).click("Button35Click"),
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
        message(tr("バ――ン！"));
        message(tr("スライムを倒した。"));
        message(tr("するとスライムが立ちあがって仲間になりたそうにしています。"));
        Panel5->show();
    }
    if (ListBox1->itemIndex() == 1) {
        suraim->hide();
        message(tr("必死にスライムから逃げようとしたらかなり遠くまで来てしまった。"));
        message(tr("どうやら迷いの森に迷い込んだようだ。"));
        mori1->show();
    }
}

// Take the slime along.
void TForm1::Button32Click() {
    Panel5->hide();
    message(tr("するとどんどんモンスターや動物たちが寄ってきます。"));
    Panel6->show();
}

// Leave the slime behind.
void TForm1::Button33Click() {
    Panel5->hide();
    message(tr("とりあえず先に進むことにした。"));
    message(tr("しばらく進むと...。"));
    bosu->show();
}

// Take every creature along: the animal kingdom.
void TForm1::Button34Click() {
    Panel6->hide();
    message(tr("%1は動物王国を開くことにした。"), PlayerName);
    message(tr("めでたし。めでたし。"));
    BitBtn21->show();
}

// Leave the creatures and walk on.
void TForm1::Button35Click() {
    Panel6->hide();
    message(tr("先に進むことにした。しばらく進むと...。"));
    bosu->show();
}
