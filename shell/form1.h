// The game's window: every widget of every scene as a field, and every story
// handler as a method. The handlers are defined with their scenes' rows in
// scenes/, one file per region of the story.
#pragma once

#include "layout.h"
#include "widgets.h"

#include <QHash>
#include <QString>
#include <QWidget>
#include <vector>

// The player's name: set by START, read by the narration.
extern QString PlayerName;

class TForm1 : public QWidget {
    Q_OBJECT
public:
    // One built widget with the row it was made from.
    struct Built {
        const layout::Row *row;
        QWidget *widget;
        QString parentName;
        layout::FontSpec font; // effective font after inheritance
    };
    using Handler = void (TForm1::*)();

    TForm1();

    const std::vector<Built> &built() const { return m_built; }
    const Built *find(const QString &name) const;
    // The window's top-level widgets in creation order.
    QList<QWidget *> topLevelWidgets() const { return m_topLevel; }
    layout::ColorName colorName() const { return m_color; }
    static const QHash<QString, Handler> &handlers();

    static constexpr int clientWidth = 383;
    static constexpr int clientHeight = 359;
    static constexpr QPoint position{307, 169};

signals:
    void closed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    friend class LayoutBuilder;

    // Services for the handlers.
    void beep();
    void message(const QString &text);
    QString inputName(const QString &caption, const QString &prompt, const QString &defaultText);
    void setColor(layout::ColorName color);

    std::vector<layout::Region> m_regions;
    std::vector<Built> m_built;
    QHash<QString, int> m_byName;
    QList<QWidget *> m_topLevel;
    layout::ColorName m_color = layout::clMaroon;
    bool m_iconSet = false;

public:
    // Story handlers, by region.
    // Opening and crossroads
    void startClick();
    void BitBtn1Click();
    // North road
    void namikiClick();
    void BitBtn2Click();
    void BitBtn5Click();
    void BitBtn4Click();
    // West road
    void nagekiClick();
    void BitBtn3Click();
    void BitBtn8Click();
    void BitBtn9Click();
    // Slime and companions
    void suraimuClick();
    void BitBtn17Click();
    void Button32Click();
    void Button33Click();
    void Button34Click();
    void Button35Click();
    // Castle interior
    void BitBtn10Click();
    void BitBtn18Click();
    void BitBtn20Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void nakamaClick();
    void Button7Click();
    void Button8Click();
    void Button30Click();
    void Button31Click();
    // Forest of Confusion
    void BitBtn11Click();
    void BitBtn12Click();
    void BitBtn13Click();
    void BitBtn14Click();
    void BitBtn16Click();
    void kozuesenseiClick();
    void BitBtn15Click();
    // Town of Bonjour
    void Button36Click();
    void Button37Click();
    void Button38Click();
    void Button39Click();
    void Button40Click();
    void Button41Click();
    void Button42Click();
    void Button43Click();
    void Button44Click();
    void Button45Click();
    void Button46Click();
    void Button47Click();
    void BitBtn22Click();
    void BitBtn23Click();
    void BitBtn24Click();
    // First Demon King
    void daimaouClick();
    void BitBtn6Click();
    void ougiClick();
    void sandaClick();
    // Demon King battle
    void bosuClick();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button14Click();
    void Button15Click();
    void Button16Click();
    void Button17Click();
    void Button18Click();
    void Button19Click();
    void Button20Click();
    void Button21Click();
    void Button22Click();
    void Button27Click();
    void Button28Click();
    void Button29Click();
    void Button12Click();
    void Button13Click();
    void Button23Click();
    void Button24Click();
    void Button25Click();
    void Button26Click();
    // Battle with the swordsman
    void bossuClick();
    void Button9Click();
    void Button10Click();
    void Button11Click();

    // Widgets, by region, each named as in its row.
    // Opening and crossroads
    kinds::TLabel *Label1 = nullptr;
    kinds::TButton *start = nullptr;
    kinds::TPanel *hajimari = nullptr;
    kinds::TLabel *Label3 = nullptr;
    kinds::TBitBtn *BitBtn1 = nullptr;
    kinds::TListBox *Box1 = nullptr;
    // North road
    kinds::TButton *namiki = nullptr;
    kinds::TPanel *namiki1 = nullptr;
    kinds::TImage *Image1 = nullptr;
    kinds::TComboBox *Box2 = nullptr;
    kinds::TBitBtn *BitBtn2 = nullptr;
    kinds::TPanel *Panel1 = nullptr;
    kinds::TImage *Image3 = nullptr;
    kinds::TMemo *memo1 = nullptr;
    kinds::TBitBtn *BitBtn5 = nullptr;
    kinds::TPanel *shiro = nullptr;
    kinds::TImage *Image2 = nullptr;
    kinds::TBitBtn *BitBtn4 = nullptr;
    kinds::TListBox *List1 = nullptr;
    // West road
    kinds::TButton *nageki = nullptr;
    kinds::TPanel *nageki1 = nullptr;
    kinds::TLabel *Label2 = nullptr;
    kinds::TImage *Image5 = nullptr;
    kinds::TBitBtn *BitBtn3 = nullptr;
    kinds::TListBox *box3 = nullptr;
    kinds::TPanel *Panel2 = nullptr;
    kinds::TImage *Image6 = nullptr;
    kinds::TMemo *Memo2 = nullptr;
    kinds::TBitBtn *BitBtn8 = nullptr;
    kinds::TPanel *Panel3 = nullptr;
    kinds::TImage *Image7 = nullptr;
    kinds::TMemo *Memo3 = nullptr;
    kinds::TBitBtn *BitBtn9 = nullptr;
    // Slime and companions
    kinds::TButton *suraimu = nullptr;
    kinds::TPanel *suraim = nullptr;
    kinds::TImage *Image9 = nullptr;
    kinds::TListBox *ListBox1 = nullptr;
    kinds::TBitBtn *BitBtn17 = nullptr;
    kinds::TPanel *Panel5 = nullptr;
    kinds::TButton *Button32 = nullptr;
    kinds::TButton *Button33 = nullptr;
    kinds::TPanel *Panel6 = nullptr;
    kinds::TButton *Button34 = nullptr;
    kinds::TButton *Button35 = nullptr;
    // Castle interior
    kinds::TPanel *Panel4 = nullptr;
    kinds::TLabel *Label5 = nullptr;
    kinds::TListBox *list2 = nullptr;
    kinds::TBitBtn *BitBtn10 = nullptr;
    kinds::TPanel *hime = nullptr;
    kinds::TImage *Image10 = nullptr;
    kinds::TListBox *List3 = nullptr;
    kinds::TBitBtn *BitBtn18 = nullptr;
    kinds::TPanel *hime1 = nullptr;
    kinds::TImage *Image11 = nullptr;
    kinds::TMemo *Memo5 = nullptr;
    kinds::TBitBtn *BitBtn20 = nullptr;
    kinds::TPanel *kudoku = nullptr;
    kinds::TLabel *Label11 = nullptr;
    kinds::TButton *Button1 = nullptr;
    kinds::TButton *Button2 = nullptr;
    kinds::TButton *Button3 = nullptr;
    kinds::TButton *nakama = nullptr;
    kinds::TPanel *nakama1 = nullptr;
    kinds::TImage *Image13 = nullptr;
    kinds::TMemo *Memo6 = nullptr;
    kinds::TButton *Button7 = nullptr;
    kinds::TButton *Button8 = nullptr;
    kinds::TPanel *ido = nullptr;
    kinds::TLabel *Label18 = nullptr;
    kinds::TButton *Button30 = nullptr;
    kinds::TButton *Button31 = nullptr;
    // Forest of Confusion
    kinds::TPanel *mori1 = nullptr;
    kinds::TLabel *Label6 = nullptr;
    kinds::TListBox *moribox1 = nullptr;
    kinds::TBitBtn *BitBtn11 = nullptr;
    kinds::TPanel *mori2 = nullptr;
    kinds::TLabel *Label7 = nullptr;
    kinds::TListBox *moribox2 = nullptr;
    kinds::TBitBtn *BitBtn12 = nullptr;
    kinds::TPanel *mori3 = nullptr;
    kinds::TLabel *Label8 = nullptr;
    kinds::TBitBtn *BitBtn13 = nullptr;
    kinds::TListBox *moribox3 = nullptr;
    kinds::TPanel *mori4 = nullptr;
    kinds::TLabel *Label9 = nullptr;
    kinds::TListBox *moribox4 = nullptr;
    kinds::TBitBtn *BitBtn14 = nullptr;
    kinds::TPanel *mori5 = nullptr;
    kinds::TLabel *Label10 = nullptr;
    kinds::TListBox *moribox5 = nullptr;
    kinds::TBitBtn *BitBtn16 = nullptr;
    kinds::TButton *kozuesensei = nullptr;
    kinds::TPanel *kozuesan = nullptr;
    kinds::TImage *Image8 = nullptr;
    kinds::TMemo *Memo4 = nullptr;
    kinds::TBitBtn *BitBtn15 = nullptr;
    // Town of Bonjour
    kinds::TPanel *machi = nullptr;
    kinds::TLabel *Label19 = nullptr;
    kinds::TButton *Button36 = nullptr;
    kinds::TButton *Button37 = nullptr;
    kinds::TPanel *machi1 = nullptr;
    kinds::TButton *Button38 = nullptr;
    kinds::TButton *Button39 = nullptr;
    kinds::TButton *Button40 = nullptr;
    kinds::TPanel *bukiya = nullptr;
    kinds::TImage *Image19 = nullptr;
    kinds::TImage *Image20 = nullptr;
    kinds::TButton *Button41 = nullptr;
    kinds::TButton *Button42 = nullptr;
    kinds::TButton *Button43 = nullptr;
    kinds::TPanel *sakaba = nullptr;
    kinds::TLabel *Label20 = nullptr;
    kinds::TButton *Button44 = nullptr;
    kinds::TButton *Button45 = nullptr;
    kinds::TButton *Button46 = nullptr;
    kinds::TButton *Button47 = nullptr;
    kinds::TPanel *jiyuu = nullptr;
    kinds::TImage *Image21 = nullptr;
    kinds::TMemo *Memo7 = nullptr;
    kinds::TBitBtn *BitBtn22 = nullptr;
    kinds::TPanel *ryuu = nullptr;
    kinds::TImage *Image22 = nullptr;
    kinds::TMemo *Memo8 = nullptr;
    kinds::TBitBtn *BitBtn23 = nullptr;
    kinds::TPanel *nami = nullptr;
    kinds::TImage *Image23 = nullptr;
    kinds::TMemo *Memo9 = nullptr;
    kinds::TBitBtn *BitBtn24 = nullptr;
    // First Demon King
    kinds::TButton *daimaou = nullptr;
    kinds::TPanel *maou = nullptr;
    kinds::TImage *Image4 = nullptr;
    kinds::TLabel *Label4 = nullptr;
    kinds::TListBox *box4 = nullptr;
    kinds::TBitBtn *BitBtn6 = nullptr;
    kinds::TButton *ougi = nullptr;
    kinds::TButton *sanda = nullptr;
    // Demon King battle
    kinds::TButton *bosu = nullptr;
    kinds::TPanel *bosu1 = nullptr;
    kinds::TImage *Image12 = nullptr;
    kinds::TLabel *Label12 = nullptr;
    kinds::TButton *Button4 = nullptr;
    kinds::TButton *Button5 = nullptr;
    kinds::TButton *Button6 = nullptr;
    kinds::TPanel *bosu3 = nullptr;
    kinds::TImage *Image15 = nullptr;
    kinds::TLabel *Label14 = nullptr;
    kinds::TButton *Button14 = nullptr;
    kinds::TButton *Button15 = nullptr;
    kinds::TButton *Button16 = nullptr;
    kinds::TPanel *bosu4 = nullptr;
    kinds::TImage *Image16 = nullptr;
    kinds::TLabel *Label15 = nullptr;
    kinds::TButton *Button17 = nullptr;
    kinds::TButton *Button18 = nullptr;
    kinds::TButton *Button19 = nullptr;
    kinds::TPanel *bosu5 = nullptr;
    kinds::TImage *Image17 = nullptr;
    kinds::TLabel *Label16 = nullptr;
    kinds::TButton *Button20 = nullptr;
    kinds::TButton *Button21 = nullptr;
    kinds::TButton *Button22 = nullptr;
    kinds::TPanel *bosu6 = nullptr;
    kinds::TImage *Image18 = nullptr;
    kinds::TLabel *Label17 = nullptr;
    kinds::TButton *Button27 = nullptr;
    kinds::TButton *Button28 = nullptr;
    kinds::TButton *Button29 = nullptr;
    kinds::TPanel *mahou = nullptr;
    kinds::TButton *Button12 = nullptr;
    kinds::TButton *Button13 = nullptr;
    kinds::TPanel *mahou2 = nullptr;
    kinds::TButton *Button23 = nullptr;
    kinds::TButton *Button24 = nullptr;
    kinds::TPanel *mahou3 = nullptr;
    kinds::TButton *Button25 = nullptr;
    kinds::TButton *Button26 = nullptr;
    // Battle with the swordsman
    kinds::TButton *bossu = nullptr;
    kinds::TPanel *bosu2 = nullptr;
    kinds::TImage *Image14 = nullptr;
    kinds::TLabel *Label13 = nullptr;
    kinds::TButton *Button9 = nullptr;
    kinds::TButton *Button10 = nullptr;
    kinds::TButton *Button11 = nullptr;
    // Endings
    kinds::TBitBtn *BitBtn7 = nullptr;
    kinds::TBitBtn *BitBtn19 = nullptr;
    kinds::TBitBtn *BitBtn21 = nullptr;
};
