// The game's window: every widget of every scene as a field, and every story
// handler as a method. The handlers are defined with their scenes' rows in
// scenes/, one file per region of the story.
#pragma once

#include "layout.h"
#include "regions.h"
#include "storytext.h"
#include "widgets.h"

#include <QHash>
#include <QMetaMethod>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

// The player's name: set by START, read by the narration.
extern QString PlayerName;

class TForm1;
class LayoutBuilder;

// A widget of the layout as a field of the window, declared with its kind
// and the name of its row; it finds its widget by that name when the window
// is built (start-up stops when no row of that name and kind exists, or two
// fields name one row). Handlers use it like a pointer to the widget. A
// scene (a top-level widget) is made when a handler first reaches it, and
// the widgets inside it when it first comes on screen, so that the window is
// up without waiting for the dozens of scenes not shown yet.
class FieldBase {
public:
    FieldBase(const FieldBase &) = delete;
    FieldBase &operator=(const FieldBase &) = delete;

protected:
    FieldBase(TForm1 *form, const char *name, layout::Kind kind);
    ~FieldBase() = default;
    QWidget *widget() const;

private:
    friend class LayoutBuilder;
    TForm1 *m_form;
    const char *m_name;
    layout::Kind m_kind;
    int m_index = -1; // position in TForm1::built()
};

template <class Kind> class Field : public FieldBase {
public:
    Field(TForm1 *form, const char *name) : FieldBase(form, name, Kind::layoutKind) {}
    Kind *operator->() const { return get(); }
    operator Kind *() const { return get(); }
    Kind *get() const { return static_cast<Kind *>(widget()); }
};

class TForm1 : public QWidget {
    Q_OBJECT
public:
    // One widget of the layout with the row it is made from; widget stays
    // null until it has been made.
    struct Built {
        const layout::Row *row;
        QWidget *widget;
        QString parentName;
        layout::FontSpec font; // effective font after inheritance
    };

    // When the text of the labels made with the window is measured: as the
    // window is built, or once it is shown (fitShownText()), so that the
    // display maps the window meanwhile: the title's font is the costliest
    // thing the first frame needs.
    enum class TextFit { WhenBuilt, AfterShow };

    // The window built from the given regions' rows (the story's own by
    // default); a layout that does not match the fields and handlers
    // declared below throws LayoutError. Only what is on screen at start is
    // made now.
    explicit TForm1(std::vector<layout::Region> regions = layoutRegions(),
                    TextFit fit = TextFit::WhenBuilt);
    ~TForm1() override;

    // Every widget of the layout in creation order, parents before children.
    const std::vector<Built> &built() const { return m_built; }
    // The named widget's entry, its scene built first; null for an unknown name.
    const Built *find(const QString &name);
    // The widget at a position of built(), its scene built first.
    QWidget *widgetAt(int index);
    // Builds every scene not built yet: for tools that look at all of them.
    void buildEverything();
    // Measures the text of the labels made with the window (TextFit::AfterShow).
    void fitShownText();
    // The window's top-level widgets made so far, in creation order (one
    // not made yet is not on screen).
    QList<QWidget *> topLevelWidgets() const;
    layout::ColorName colorName() const { return m_color; }
    // The story handlers by name: TForm1's own slots (never an inherited
    // one such as close()), to which the layout's OnClick names are bound
    // when the window is built.
    static const QHash<QByteArray, QMetaMethod> &handlers();

    static constexpr int clientWidth = 383;
    static constexpr int clientHeight = 359;
    static constexpr QPoint position{307, 169};

    // Ends the game whatever is open: a dialog closes as cancelled, then the
    // window closes. For the ends that come from outside the story (a
    // signal, a window destroyed by another program).
    void end();

signals:
    void closed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    friend class LayoutBuilder;
    friend class FieldBase;

    // Services for the handlers.
    void beep();
    void message(const StoryText &text);
    // A narration that names the player: `pattern` with the name in place
    // of its "%1".
    void message(const QString &pattern, const QString &name);
    QString inputName(const QString &caption, const QString &prompt, const QString &defaultText);
    void setColor(layout::ColorName color);

    std::vector<FieldBase *> m_fields; // every field below, in declaration order
    std::vector<layout::Region> m_regions;
    std::vector<Built> m_built;
    QHash<QString, int> m_byName;
    std::vector<int> m_sceneOf; // for each widget, the position of its scene
    std::unique_ptr<LayoutBuilder> m_builder;
    layout::ColorName m_color = layout::clMaroon;
    bool m_iconSet = false;

public slots:
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

public:
    // Widgets, by region, each named as in its row.
    // Opening and crossroads
    Field<kinds::TLabel> Label1{this, "Label1"};
    Field<kinds::TButton> start{this, "start"};
    Field<kinds::TPanel> hajimari{this, "hajimari"};
    Field<kinds::TLabel> Label3{this, "Label3"};
    Field<kinds::TBitBtn> BitBtn1{this, "BitBtn1"};
    Field<kinds::TListBox> Box1{this, "Box1"};
    // North road
    Field<kinds::TButton> namiki{this, "namiki"};
    Field<kinds::TPanel> namiki1{this, "namiki1"};
    Field<kinds::TImage> Image1{this, "Image1"};
    Field<kinds::TComboBox> Box2{this, "Box2"};
    Field<kinds::TBitBtn> BitBtn2{this, "BitBtn2"};
    Field<kinds::TPanel> Panel1{this, "Panel1"};
    Field<kinds::TImage> Image3{this, "Image3"};
    Field<kinds::TMemo> memo1{this, "memo1"};
    Field<kinds::TBitBtn> BitBtn5{this, "BitBtn5"};
    Field<kinds::TPanel> shiro{this, "shiro"};
    Field<kinds::TImage> Image2{this, "Image2"};
    Field<kinds::TBitBtn> BitBtn4{this, "BitBtn4"};
    Field<kinds::TListBox> List1{this, "List1"};
    // West road
    Field<kinds::TButton> nageki{this, "nageki"};
    Field<kinds::TPanel> nageki1{this, "nageki1"};
    Field<kinds::TLabel> Label2{this, "Label2"};
    Field<kinds::TImage> Image5{this, "Image5"};
    Field<kinds::TBitBtn> BitBtn3{this, "BitBtn3"};
    Field<kinds::TListBox> box3{this, "box3"};
    Field<kinds::TPanel> Panel2{this, "Panel2"};
    Field<kinds::TImage> Image6{this, "Image6"};
    Field<kinds::TMemo> Memo2{this, "Memo2"};
    Field<kinds::TBitBtn> BitBtn8{this, "BitBtn8"};
    Field<kinds::TPanel> Panel3{this, "Panel3"};
    Field<kinds::TImage> Image7{this, "Image7"};
    Field<kinds::TMemo> Memo3{this, "Memo3"};
    Field<kinds::TBitBtn> BitBtn9{this, "BitBtn9"};
    // Slime and companions
    Field<kinds::TButton> suraimu{this, "suraimu"};
    Field<kinds::TPanel> suraim{this, "suraim"};
    Field<kinds::TImage> Image9{this, "Image9"};
    Field<kinds::TListBox> ListBox1{this, "ListBox1"};
    Field<kinds::TBitBtn> BitBtn17{this, "BitBtn17"};
    Field<kinds::TPanel> Panel5{this, "Panel5"};
    Field<kinds::TButton> Button32{this, "Button32"};
    Field<kinds::TButton> Button33{this, "Button33"};
    Field<kinds::TPanel> Panel6{this, "Panel6"};
    Field<kinds::TButton> Button34{this, "Button34"};
    Field<kinds::TButton> Button35{this, "Button35"};
    // Castle interior
    Field<kinds::TPanel> Panel4{this, "Panel4"};
    Field<kinds::TLabel> Label5{this, "Label5"};
    Field<kinds::TListBox> list2{this, "list2"};
    Field<kinds::TBitBtn> BitBtn10{this, "BitBtn10"};
    Field<kinds::TPanel> hime{this, "hime"};
    Field<kinds::TImage> Image10{this, "Image10"};
    Field<kinds::TListBox> List3{this, "List3"};
    Field<kinds::TBitBtn> BitBtn18{this, "BitBtn18"};
    Field<kinds::TPanel> hime1{this, "hime1"};
    Field<kinds::TImage> Image11{this, "Image11"};
    Field<kinds::TMemo> Memo5{this, "Memo5"};
    Field<kinds::TBitBtn> BitBtn20{this, "BitBtn20"};
    Field<kinds::TPanel> kudoku{this, "kudoku"};
    Field<kinds::TLabel> Label11{this, "Label11"};
    Field<kinds::TButton> Button1{this, "Button1"};
    Field<kinds::TButton> Button2{this, "Button2"};
    Field<kinds::TButton> Button3{this, "Button3"};
    Field<kinds::TButton> nakama{this, "nakama"};
    Field<kinds::TPanel> nakama1{this, "nakama1"};
    Field<kinds::TImage> Image13{this, "Image13"};
    Field<kinds::TMemo> Memo6{this, "Memo6"};
    Field<kinds::TButton> Button7{this, "Button7"};
    Field<kinds::TButton> Button8{this, "Button8"};
    Field<kinds::TPanel> ido{this, "ido"};
    Field<kinds::TLabel> Label18{this, "Label18"};
    Field<kinds::TButton> Button30{this, "Button30"};
    Field<kinds::TButton> Button31{this, "Button31"};
    // Forest of Confusion
    Field<kinds::TPanel> mori1{this, "mori1"};
    Field<kinds::TLabel> Label6{this, "Label6"};
    Field<kinds::TListBox> moribox1{this, "moribox1"};
    Field<kinds::TBitBtn> BitBtn11{this, "BitBtn11"};
    Field<kinds::TPanel> mori2{this, "mori2"};
    Field<kinds::TLabel> Label7{this, "Label7"};
    Field<kinds::TListBox> moribox2{this, "moribox2"};
    Field<kinds::TBitBtn> BitBtn12{this, "BitBtn12"};
    Field<kinds::TPanel> mori3{this, "mori3"};
    Field<kinds::TLabel> Label8{this, "Label8"};
    Field<kinds::TBitBtn> BitBtn13{this, "BitBtn13"};
    Field<kinds::TListBox> moribox3{this, "moribox3"};
    Field<kinds::TPanel> mori4{this, "mori4"};
    Field<kinds::TLabel> Label9{this, "Label9"};
    Field<kinds::TListBox> moribox4{this, "moribox4"};
    Field<kinds::TBitBtn> BitBtn14{this, "BitBtn14"};
    Field<kinds::TPanel> mori5{this, "mori5"};
    Field<kinds::TLabel> Label10{this, "Label10"};
    Field<kinds::TListBox> moribox5{this, "moribox5"};
    Field<kinds::TBitBtn> BitBtn16{this, "BitBtn16"};
    Field<kinds::TButton> kozuesensei{this, "kozuesensei"};
    Field<kinds::TPanel> kozuesan{this, "kozuesan"};
    Field<kinds::TImage> Image8{this, "Image8"};
    Field<kinds::TMemo> Memo4{this, "Memo4"};
    Field<kinds::TBitBtn> BitBtn15{this, "BitBtn15"};
    // Town of Bonjour
    Field<kinds::TPanel> machi{this, "machi"};
    Field<kinds::TLabel> Label19{this, "Label19"};
    Field<kinds::TButton> Button36{this, "Button36"};
    Field<kinds::TButton> Button37{this, "Button37"};
    Field<kinds::TPanel> machi1{this, "machi1"};
    Field<kinds::TButton> Button38{this, "Button38"};
    Field<kinds::TButton> Button39{this, "Button39"};
    Field<kinds::TButton> Button40{this, "Button40"};
    Field<kinds::TPanel> bukiya{this, "bukiya"};
    Field<kinds::TImage> Image19{this, "Image19"};
    Field<kinds::TImage> Image20{this, "Image20"};
    Field<kinds::TButton> Button41{this, "Button41"};
    Field<kinds::TButton> Button42{this, "Button42"};
    Field<kinds::TButton> Button43{this, "Button43"};
    Field<kinds::TPanel> sakaba{this, "sakaba"};
    Field<kinds::TLabel> Label20{this, "Label20"};
    Field<kinds::TButton> Button44{this, "Button44"};
    Field<kinds::TButton> Button45{this, "Button45"};
    Field<kinds::TButton> Button46{this, "Button46"};
    Field<kinds::TButton> Button47{this, "Button47"};
    Field<kinds::TPanel> jiyuu{this, "jiyuu"};
    Field<kinds::TImage> Image21{this, "Image21"};
    Field<kinds::TMemo> Memo7{this, "Memo7"};
    Field<kinds::TBitBtn> BitBtn22{this, "BitBtn22"};
    Field<kinds::TPanel> ryuu{this, "ryuu"};
    Field<kinds::TImage> Image22{this, "Image22"};
    Field<kinds::TMemo> Memo8{this, "Memo8"};
    Field<kinds::TBitBtn> BitBtn23{this, "BitBtn23"};
    Field<kinds::TPanel> nami{this, "nami"};
    Field<kinds::TImage> Image23{this, "Image23"};
    Field<kinds::TMemo> Memo9{this, "Memo9"};
    Field<kinds::TBitBtn> BitBtn24{this, "BitBtn24"};
    // First Demon King
    Field<kinds::TButton> daimaou{this, "daimaou"};
    Field<kinds::TPanel> maou{this, "maou"};
    Field<kinds::TImage> Image4{this, "Image4"};
    Field<kinds::TLabel> Label4{this, "Label4"};
    Field<kinds::TListBox> box4{this, "box4"};
    Field<kinds::TBitBtn> BitBtn6{this, "BitBtn6"};
    Field<kinds::TButton> ougi{this, "ougi"};
    Field<kinds::TButton> sanda{this, "sanda"};
    // Demon King battle
    Field<kinds::TButton> bosu{this, "bosu"};
    Field<kinds::TPanel> bosu1{this, "bosu1"};
    Field<kinds::TImage> Image12{this, "Image12"};
    Field<kinds::TLabel> Label12{this, "Label12"};
    Field<kinds::TButton> Button4{this, "Button4"};
    Field<kinds::TButton> Button5{this, "Button5"};
    Field<kinds::TButton> Button6{this, "Button6"};
    Field<kinds::TPanel> bosu3{this, "bosu3"};
    Field<kinds::TImage> Image15{this, "Image15"};
    Field<kinds::TLabel> Label14{this, "Label14"};
    Field<kinds::TButton> Button14{this, "Button14"};
    Field<kinds::TButton> Button15{this, "Button15"};
    Field<kinds::TButton> Button16{this, "Button16"};
    Field<kinds::TPanel> bosu4{this, "bosu4"};
    Field<kinds::TImage> Image16{this, "Image16"};
    Field<kinds::TLabel> Label15{this, "Label15"};
    Field<kinds::TButton> Button17{this, "Button17"};
    Field<kinds::TButton> Button18{this, "Button18"};
    Field<kinds::TButton> Button19{this, "Button19"};
    Field<kinds::TPanel> bosu5{this, "bosu5"};
    Field<kinds::TImage> Image17{this, "Image17"};
    Field<kinds::TLabel> Label16{this, "Label16"};
    Field<kinds::TButton> Button20{this, "Button20"};
    Field<kinds::TButton> Button21{this, "Button21"};
    Field<kinds::TButton> Button22{this, "Button22"};
    Field<kinds::TPanel> bosu6{this, "bosu6"};
    Field<kinds::TImage> Image18{this, "Image18"};
    Field<kinds::TLabel> Label17{this, "Label17"};
    Field<kinds::TButton> Button27{this, "Button27"};
    Field<kinds::TButton> Button28{this, "Button28"};
    Field<kinds::TButton> Button29{this, "Button29"};
    Field<kinds::TPanel> mahou{this, "mahou"};
    Field<kinds::TButton> Button12{this, "Button12"};
    Field<kinds::TButton> Button13{this, "Button13"};
    Field<kinds::TPanel> mahou2{this, "mahou2"};
    Field<kinds::TButton> Button23{this, "Button23"};
    Field<kinds::TButton> Button24{this, "Button24"};
    Field<kinds::TPanel> mahou3{this, "mahou3"};
    Field<kinds::TButton> Button25{this, "Button25"};
    Field<kinds::TButton> Button26{this, "Button26"};
    // Battle with the swordsman
    Field<kinds::TButton> bossu{this, "bossu"};
    Field<kinds::TPanel> bosu2{this, "bosu2"};
    Field<kinds::TImage> Image14{this, "Image14"};
    Field<kinds::TLabel> Label13{this, "Label13"};
    Field<kinds::TButton> Button9{this, "Button9"};
    Field<kinds::TButton> Button10{this, "Button10"};
    Field<kinds::TButton> Button11{this, "Button11"};
    // Endings
    Field<kinds::TBitBtn> BitBtn7{this, "BitBtn7"};
    Field<kinds::TBitBtn> BitBtn19{this, "BitBtn19"};
    Field<kinds::TBitBtn> BitBtn21{this, "BitBtn21"};
};
