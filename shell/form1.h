// The game's window: every widget of every scene as a field, and every story
// handler as a method. The handlers are defined with their scenes' rows in
// scenes/, one file per region of the story.
#pragma once

#include "layout.h"
#include "storytext.h"
#include "widgets.h"

#include <QHash>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

// The player's name: set by START, read by the narration.
extern PlayerNameText PlayerName;

class TForm1;
class LayoutBuilder;

// A widget inside a scene. The scene's widgets are made when the scene first
// comes on screen, or when a handler first reaches one of them, so that the
// window is up without waiting for the dozens of scenes not shown yet.
// Handlers use it like a pointer to the widget.
template <class Kind> class SceneChild {
public:
    Kind *operator->() const { return get(); }
    operator Kind *() const { return get(); }
    Kind *get() const;

private:
    friend class FieldBinder;
    TForm1 *m_form = nullptr;
    int m_index = -1;
};

class TForm1 : public QWidget {
    Q_OBJECT
public:
    // One widget of the layout with the row it is made from; widget stays
    // null until its scene has been built.
    struct Built {
        const layout::Row *row;
        QWidget *widget;
        QString parentName;
        layout::FontSpec font; // effective font after inheritance
    };
    using Handler = void (TForm1::*)();

    TForm1();
    ~TForm1() override;

    // Every widget of the layout in creation order, parents before children.
    const std::vector<Built> &built() const { return m_built; }
    // The named widget's entry, its scene built first; null for an unknown name.
    const Built *find(const QString &name);
    // The widget at a position of built(), its scene built first.
    QWidget *widgetAt(int index);
    // Builds every scene not built yet: for tools that look at all of them.
    void buildEverything();
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
    friend class FieldBinder;

    // Services for the handlers.
    void beep();
    void message(const StoryText &text);
    QString inputName(const QString &caption, const QString &prompt, const QString &defaultText);
    void setColor(layout::ColorName color);

    std::vector<layout::Region> m_regions;
    std::vector<Built> m_built;
    QHash<QString, int> m_byName;
    std::vector<int> m_sceneOf; // for each widget, the position of its scene
    QList<QWidget *> m_topLevel;
    std::unique_ptr<LayoutBuilder> m_builder;
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
    SceneChild<kinds::TLabel> Label3;
    SceneChild<kinds::TBitBtn> BitBtn1;
    SceneChild<kinds::TListBox> Box1;
    // North road
    kinds::TButton *namiki = nullptr;
    kinds::TPanel *namiki1 = nullptr;
    SceneChild<kinds::TImage> Image1;
    SceneChild<kinds::TComboBox> Box2;
    SceneChild<kinds::TBitBtn> BitBtn2;
    kinds::TPanel *Panel1 = nullptr;
    SceneChild<kinds::TImage> Image3;
    SceneChild<kinds::TMemo> memo1;
    SceneChild<kinds::TBitBtn> BitBtn5;
    kinds::TPanel *shiro = nullptr;
    SceneChild<kinds::TImage> Image2;
    SceneChild<kinds::TBitBtn> BitBtn4;
    SceneChild<kinds::TListBox> List1;
    // West road
    kinds::TButton *nageki = nullptr;
    kinds::TPanel *nageki1 = nullptr;
    SceneChild<kinds::TLabel> Label2;
    SceneChild<kinds::TImage> Image5;
    SceneChild<kinds::TBitBtn> BitBtn3;
    SceneChild<kinds::TListBox> box3;
    kinds::TPanel *Panel2 = nullptr;
    SceneChild<kinds::TImage> Image6;
    SceneChild<kinds::TMemo> Memo2;
    SceneChild<kinds::TBitBtn> BitBtn8;
    kinds::TPanel *Panel3 = nullptr;
    SceneChild<kinds::TImage> Image7;
    SceneChild<kinds::TMemo> Memo3;
    SceneChild<kinds::TBitBtn> BitBtn9;
    // Slime and companions
    kinds::TButton *suraimu = nullptr;
    kinds::TPanel *suraim = nullptr;
    SceneChild<kinds::TImage> Image9;
    SceneChild<kinds::TListBox> ListBox1;
    SceneChild<kinds::TBitBtn> BitBtn17;
    kinds::TPanel *Panel5 = nullptr;
    SceneChild<kinds::TButton> Button32;
    SceneChild<kinds::TButton> Button33;
    kinds::TPanel *Panel6 = nullptr;
    SceneChild<kinds::TButton> Button34;
    SceneChild<kinds::TButton> Button35;
    // Castle interior
    kinds::TPanel *Panel4 = nullptr;
    SceneChild<kinds::TLabel> Label5;
    SceneChild<kinds::TListBox> list2;
    SceneChild<kinds::TBitBtn> BitBtn10;
    kinds::TPanel *hime = nullptr;
    SceneChild<kinds::TImage> Image10;
    SceneChild<kinds::TListBox> List3;
    SceneChild<kinds::TBitBtn> BitBtn18;
    kinds::TPanel *hime1 = nullptr;
    SceneChild<kinds::TImage> Image11;
    SceneChild<kinds::TMemo> Memo5;
    SceneChild<kinds::TBitBtn> BitBtn20;
    kinds::TPanel *kudoku = nullptr;
    SceneChild<kinds::TLabel> Label11;
    SceneChild<kinds::TButton> Button1;
    SceneChild<kinds::TButton> Button2;
    SceneChild<kinds::TButton> Button3;
    kinds::TButton *nakama = nullptr;
    kinds::TPanel *nakama1 = nullptr;
    SceneChild<kinds::TImage> Image13;
    SceneChild<kinds::TMemo> Memo6;
    SceneChild<kinds::TButton> Button7;
    SceneChild<kinds::TButton> Button8;
    kinds::TPanel *ido = nullptr;
    SceneChild<kinds::TLabel> Label18;
    SceneChild<kinds::TButton> Button30;
    SceneChild<kinds::TButton> Button31;
    // Forest of Confusion
    kinds::TPanel *mori1 = nullptr;
    SceneChild<kinds::TLabel> Label6;
    SceneChild<kinds::TListBox> moribox1;
    SceneChild<kinds::TBitBtn> BitBtn11;
    kinds::TPanel *mori2 = nullptr;
    SceneChild<kinds::TLabel> Label7;
    SceneChild<kinds::TListBox> moribox2;
    SceneChild<kinds::TBitBtn> BitBtn12;
    kinds::TPanel *mori3 = nullptr;
    SceneChild<kinds::TLabel> Label8;
    SceneChild<kinds::TBitBtn> BitBtn13;
    SceneChild<kinds::TListBox> moribox3;
    kinds::TPanel *mori4 = nullptr;
    SceneChild<kinds::TLabel> Label9;
    SceneChild<kinds::TListBox> moribox4;
    SceneChild<kinds::TBitBtn> BitBtn14;
    kinds::TPanel *mori5 = nullptr;
    SceneChild<kinds::TLabel> Label10;
    SceneChild<kinds::TListBox> moribox5;
    SceneChild<kinds::TBitBtn> BitBtn16;
    kinds::TButton *kozuesensei = nullptr;
    kinds::TPanel *kozuesan = nullptr;
    SceneChild<kinds::TImage> Image8;
    SceneChild<kinds::TMemo> Memo4;
    SceneChild<kinds::TBitBtn> BitBtn15;
    // Town of Bonjour
    kinds::TPanel *machi = nullptr;
    SceneChild<kinds::TLabel> Label19;
    SceneChild<kinds::TButton> Button36;
    SceneChild<kinds::TButton> Button37;
    kinds::TPanel *machi1 = nullptr;
    SceneChild<kinds::TButton> Button38;
    SceneChild<kinds::TButton> Button39;
    SceneChild<kinds::TButton> Button40;
    kinds::TPanel *bukiya = nullptr;
    SceneChild<kinds::TImage> Image19;
    SceneChild<kinds::TImage> Image20;
    SceneChild<kinds::TButton> Button41;
    SceneChild<kinds::TButton> Button42;
    SceneChild<kinds::TButton> Button43;
    kinds::TPanel *sakaba = nullptr;
    SceneChild<kinds::TLabel> Label20;
    SceneChild<kinds::TButton> Button44;
    SceneChild<kinds::TButton> Button45;
    SceneChild<kinds::TButton> Button46;
    SceneChild<kinds::TButton> Button47;
    kinds::TPanel *jiyuu = nullptr;
    SceneChild<kinds::TImage> Image21;
    SceneChild<kinds::TMemo> Memo7;
    SceneChild<kinds::TBitBtn> BitBtn22;
    kinds::TPanel *ryuu = nullptr;
    SceneChild<kinds::TImage> Image22;
    SceneChild<kinds::TMemo> Memo8;
    SceneChild<kinds::TBitBtn> BitBtn23;
    kinds::TPanel *nami = nullptr;
    SceneChild<kinds::TImage> Image23;
    SceneChild<kinds::TMemo> Memo9;
    SceneChild<kinds::TBitBtn> BitBtn24;
    // First Demon King
    kinds::TButton *daimaou = nullptr;
    kinds::TPanel *maou = nullptr;
    SceneChild<kinds::TImage> Image4;
    SceneChild<kinds::TLabel> Label4;
    SceneChild<kinds::TListBox> box4;
    SceneChild<kinds::TBitBtn> BitBtn6;
    kinds::TButton *ougi = nullptr;
    kinds::TButton *sanda = nullptr;
    // Demon King battle
    kinds::TButton *bosu = nullptr;
    kinds::TPanel *bosu1 = nullptr;
    SceneChild<kinds::TImage> Image12;
    SceneChild<kinds::TLabel> Label12;
    SceneChild<kinds::TButton> Button4;
    SceneChild<kinds::TButton> Button5;
    SceneChild<kinds::TButton> Button6;
    kinds::TPanel *bosu3 = nullptr;
    SceneChild<kinds::TImage> Image15;
    SceneChild<kinds::TLabel> Label14;
    SceneChild<kinds::TButton> Button14;
    SceneChild<kinds::TButton> Button15;
    SceneChild<kinds::TButton> Button16;
    kinds::TPanel *bosu4 = nullptr;
    SceneChild<kinds::TImage> Image16;
    SceneChild<kinds::TLabel> Label15;
    SceneChild<kinds::TButton> Button17;
    SceneChild<kinds::TButton> Button18;
    SceneChild<kinds::TButton> Button19;
    kinds::TPanel *bosu5 = nullptr;
    SceneChild<kinds::TImage> Image17;
    SceneChild<kinds::TLabel> Label16;
    SceneChild<kinds::TButton> Button20;
    SceneChild<kinds::TButton> Button21;
    SceneChild<kinds::TButton> Button22;
    kinds::TPanel *bosu6 = nullptr;
    SceneChild<kinds::TImage> Image18;
    SceneChild<kinds::TLabel> Label17;
    SceneChild<kinds::TButton> Button27;
    SceneChild<kinds::TButton> Button28;
    SceneChild<kinds::TButton> Button29;
    kinds::TPanel *mahou = nullptr;
    SceneChild<kinds::TButton> Button12;
    SceneChild<kinds::TButton> Button13;
    kinds::TPanel *mahou2 = nullptr;
    SceneChild<kinds::TButton> Button23;
    SceneChild<kinds::TButton> Button24;
    kinds::TPanel *mahou3 = nullptr;
    SceneChild<kinds::TButton> Button25;
    SceneChild<kinds::TButton> Button26;
    // Battle with the swordsman
    kinds::TButton *bossu = nullptr;
    kinds::TPanel *bosu2 = nullptr;
    SceneChild<kinds::TImage> Image14;
    SceneChild<kinds::TLabel> Label13;
    SceneChild<kinds::TButton> Button9;
    SceneChild<kinds::TButton> Button10;
    SceneChild<kinds::TButton> Button11;
    // Endings
    kinds::TBitBtn *BitBtn7 = nullptr;
    kinds::TBitBtn *BitBtn19 = nullptr;
    kinds::TBitBtn *BitBtn21 = nullptr;
};

template <class Kind> Kind *SceneChild<Kind>::get() const {
    return static_cast<Kind *>(m_form->widgetAt(m_index));
}
