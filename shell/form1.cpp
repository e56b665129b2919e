#include "form1.h"

#include "builder.h"
#include "regions.h"
#include "services.h"

#include <QCloseEvent>
#include <QIcon>
#include <QPaintEvent>
#include <QPainter>

PlayerNameText PlayerName;

const QStringList &creationOrder() {
    static const QStringList order = {
        "Label1",  "start",   "hajimari", "namiki", "nageki",   "namiki1",     "nageki1", "shiro",
        "daimaou", "Panel1",  "maou",     "ougi",   "BitBtn7",  "Panel2",      "Panel3",  "Panel4",
        "mori1",   "mori2",   "mori3",    "mori4",  "kozuesan", "kozuesensei", "mori5",   "sanda",
        "suraim",  "suraimu", "hime",     "kudoku", "BitBtn19", "hime1",       "bosu",    "bosu1",
        "nakama1", "nakama",  "bosu2",    "bossu",  "mahou",    "bosu3",       "bosu4",   "bosu5",
        "mahou2",  "mahou3",  "BitBtn21", "bosu6",  "ido",      "Panel5",      "Panel6",  "machi",
        "machi1",  "bukiya",  "sakaba",   "jiyuu",  "ryuu",     "nami",
    };
    return order;
}

const QHash<QString, TForm1::Handler> &TForm1::handlers() {
    static const QHash<QString, Handler> table = {
        {"startClick", &TForm1::startClick},
        {"BitBtn1Click", &TForm1::BitBtn1Click},
        {"namikiClick", &TForm1::namikiClick},
        {"BitBtn2Click", &TForm1::BitBtn2Click},
        {"BitBtn5Click", &TForm1::BitBtn5Click},
        {"BitBtn4Click", &TForm1::BitBtn4Click},
        {"nagekiClick", &TForm1::nagekiClick},
        {"BitBtn3Click", &TForm1::BitBtn3Click},
        {"BitBtn8Click", &TForm1::BitBtn8Click},
        {"BitBtn9Click", &TForm1::BitBtn9Click},
        {"suraimuClick", &TForm1::suraimuClick},
        {"BitBtn17Click", &TForm1::BitBtn17Click},
        {"Button32Click", &TForm1::Button32Click},
        {"Button33Click", &TForm1::Button33Click},
        {"Button34Click", &TForm1::Button34Click},
        {"Button35Click", &TForm1::Button35Click},
        {"BitBtn10Click", &TForm1::BitBtn10Click},
        {"BitBtn18Click", &TForm1::BitBtn18Click},
        {"BitBtn20Click", &TForm1::BitBtn20Click},
        {"Button1Click", &TForm1::Button1Click},
        {"Button2Click", &TForm1::Button2Click},
        {"Button3Click", &TForm1::Button3Click},
        {"nakamaClick", &TForm1::nakamaClick},
        {"Button7Click", &TForm1::Button7Click},
        {"Button8Click", &TForm1::Button8Click},
        {"Button30Click", &TForm1::Button30Click},
        {"Button31Click", &TForm1::Button31Click},
        {"BitBtn11Click", &TForm1::BitBtn11Click},
        {"BitBtn12Click", &TForm1::BitBtn12Click},
        {"BitBtn13Click", &TForm1::BitBtn13Click},
        {"BitBtn14Click", &TForm1::BitBtn14Click},
        {"BitBtn16Click", &TForm1::BitBtn16Click},
        {"kozuesenseiClick", &TForm1::kozuesenseiClick},
        {"BitBtn15Click", &TForm1::BitBtn15Click},
        {"Button36Click", &TForm1::Button36Click},
        {"Button37Click", &TForm1::Button37Click},
        {"Button38Click", &TForm1::Button38Click},
        {"Button39Click", &TForm1::Button39Click},
        {"Button40Click", &TForm1::Button40Click},
        {"Button41Click", &TForm1::Button41Click},
        {"Button42Click", &TForm1::Button42Click},
        {"Button43Click", &TForm1::Button43Click},
        {"Button44Click", &TForm1::Button44Click},
        {"Button45Click", &TForm1::Button45Click},
        {"Button46Click", &TForm1::Button46Click},
        {"Button47Click", &TForm1::Button47Click},
        {"BitBtn22Click", &TForm1::BitBtn22Click},
        {"BitBtn23Click", &TForm1::BitBtn23Click},
        {"BitBtn24Click", &TForm1::BitBtn24Click},
        {"daimaouClick", &TForm1::daimaouClick},
        {"BitBtn6Click", &TForm1::BitBtn6Click},
        {"ougiClick", &TForm1::ougiClick},
        {"sandaClick", &TForm1::sandaClick},
        {"bosuClick", &TForm1::bosuClick},
        {"Button4Click", &TForm1::Button4Click},
        {"Button5Click", &TForm1::Button5Click},
        {"Button6Click", &TForm1::Button6Click},
        {"Button14Click", &TForm1::Button14Click},
        {"Button15Click", &TForm1::Button15Click},
        {"Button16Click", &TForm1::Button16Click},
        {"Button17Click", &TForm1::Button17Click},
        {"Button18Click", &TForm1::Button18Click},
        {"Button19Click", &TForm1::Button19Click},
        {"Button20Click", &TForm1::Button20Click},
        {"Button21Click", &TForm1::Button21Click},
        {"Button22Click", &TForm1::Button22Click},
        {"Button27Click", &TForm1::Button27Click},
        {"Button28Click", &TForm1::Button28Click},
        {"Button29Click", &TForm1::Button29Click},
        {"Button12Click", &TForm1::Button12Click},
        {"Button13Click", &TForm1::Button13Click},
        {"Button23Click", &TForm1::Button23Click},
        {"Button24Click", &TForm1::Button24Click},
        {"Button25Click", &TForm1::Button25Click},
        {"Button26Click", &TForm1::Button26Click},
        {"bossuClick", &TForm1::bossuClick},
        {"Button9Click", &TForm1::Button9Click},
        {"Button10Click", &TForm1::Button10Click},
        {"Button11Click", &TForm1::Button11Click},
    };
    return table;
}

TForm1::TForm1() : QWidget(nullptr) {
    setWindowTitle(QStringLiteral("ホシフルツルギ２"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(clientWidth, clientHeight);
    move(position);
    setFont(fontValue(layout::windowFont));
    setAttribute(Qt::WA_OpaquePaintEvent);

    m_regions = {openingRows(), northRoadRows(),       westRoadRows(), slimeRows(),
                 castleRows(),  forestRows(),          townRows(),     firstDemonKingRows(),
                 battleRows(),  swordsmanBattleRows(), endingsRows()};
    m_builder = std::make_unique<LayoutBuilder>(this);
    m_builder->build();

    FieldBinder fields(*this);
    fields.bind("Label1", Label1);
    fields.bind("start", start);
    fields.bind("hajimari", hajimari);
    fields.bind("Label3", Label3);
    fields.bind("BitBtn1", BitBtn1);
    fields.bind("Box1", Box1);
    fields.bind("namiki", namiki);
    fields.bind("namiki1", namiki1);
    fields.bind("Image1", Image1);
    fields.bind("Box2", Box2);
    fields.bind("BitBtn2", BitBtn2);
    fields.bind("Panel1", Panel1);
    fields.bind("Image3", Image3);
    fields.bind("memo1", memo1);
    fields.bind("BitBtn5", BitBtn5);
    fields.bind("shiro", shiro);
    fields.bind("Image2", Image2);
    fields.bind("BitBtn4", BitBtn4);
    fields.bind("List1", List1);
    fields.bind("nageki", nageki);
    fields.bind("nageki1", nageki1);
    fields.bind("Label2", Label2);
    fields.bind("Image5", Image5);
    fields.bind("BitBtn3", BitBtn3);
    fields.bind("box3", box3);
    fields.bind("Panel2", Panel2);
    fields.bind("Image6", Image6);
    fields.bind("Memo2", Memo2);
    fields.bind("BitBtn8", BitBtn8);
    fields.bind("Panel3", Panel3);
    fields.bind("Image7", Image7);
    fields.bind("Memo3", Memo3);
    fields.bind("BitBtn9", BitBtn9);
    fields.bind("suraimu", suraimu);
    fields.bind("suraim", suraim);
    fields.bind("Image9", Image9);
    fields.bind("ListBox1", ListBox1);
    fields.bind("BitBtn17", BitBtn17);
    fields.bind("Panel5", Panel5);
    fields.bind("Button32", Button32);
    fields.bind("Button33", Button33);
    fields.bind("Panel6", Panel6);
    fields.bind("Button34", Button34);
    fields.bind("Button35", Button35);
    fields.bind("Panel4", Panel4);
    fields.bind("Label5", Label5);
    fields.bind("list2", list2);
    fields.bind("BitBtn10", BitBtn10);
    fields.bind("hime", hime);
    fields.bind("Image10", Image10);
    fields.bind("List3", List3);
    fields.bind("BitBtn18", BitBtn18);
    fields.bind("hime1", hime1);
    fields.bind("Image11", Image11);
    fields.bind("Memo5", Memo5);
    fields.bind("BitBtn20", BitBtn20);
    fields.bind("kudoku", kudoku);
    fields.bind("Label11", Label11);
    fields.bind("Button1", Button1);
    fields.bind("Button2", Button2);
    fields.bind("Button3", Button3);
    fields.bind("nakama", nakama);
    fields.bind("nakama1", nakama1);
    fields.bind("Image13", Image13);
    fields.bind("Memo6", Memo6);
    fields.bind("Button7", Button7);
    fields.bind("Button8", Button8);
    fields.bind("ido", ido);
    fields.bind("Label18", Label18);
    fields.bind("Button30", Button30);
    fields.bind("Button31", Button31);
    fields.bind("mori1", mori1);
    fields.bind("Label6", Label6);
    fields.bind("moribox1", moribox1);
    fields.bind("BitBtn11", BitBtn11);
    fields.bind("mori2", mori2);
    fields.bind("Label7", Label7);
    fields.bind("moribox2", moribox2);
    fields.bind("BitBtn12", BitBtn12);
    fields.bind("mori3", mori3);
    fields.bind("Label8", Label8);
    fields.bind("BitBtn13", BitBtn13);
    fields.bind("moribox3", moribox3);
    fields.bind("mori4", mori4);
    fields.bind("Label9", Label9);
    fields.bind("moribox4", moribox4);
    fields.bind("BitBtn14", BitBtn14);
    fields.bind("mori5", mori5);
    fields.bind("Label10", Label10);
    fields.bind("moribox5", moribox5);
    fields.bind("BitBtn16", BitBtn16);
    fields.bind("kozuesensei", kozuesensei);
    fields.bind("kozuesan", kozuesan);
    fields.bind("Image8", Image8);
    fields.bind("Memo4", Memo4);
    fields.bind("BitBtn15", BitBtn15);
    fields.bind("machi", machi);
    fields.bind("Label19", Label19);
    fields.bind("Button36", Button36);
    fields.bind("Button37", Button37);
    fields.bind("machi1", machi1);
    fields.bind("Button38", Button38);
    fields.bind("Button39", Button39);
    fields.bind("Button40", Button40);
    fields.bind("bukiya", bukiya);
    fields.bind("Image19", Image19);
    fields.bind("Image20", Image20);
    fields.bind("Button41", Button41);
    fields.bind("Button42", Button42);
    fields.bind("Button43", Button43);
    fields.bind("sakaba", sakaba);
    fields.bind("Label20", Label20);
    fields.bind("Button44", Button44);
    fields.bind("Button45", Button45);
    fields.bind("Button46", Button46);
    fields.bind("Button47", Button47);
    fields.bind("jiyuu", jiyuu);
    fields.bind("Image21", Image21);
    fields.bind("Memo7", Memo7);
    fields.bind("BitBtn22", BitBtn22);
    fields.bind("ryuu", ryuu);
    fields.bind("Image22", Image22);
    fields.bind("Memo8", Memo8);
    fields.bind("BitBtn23", BitBtn23);
    fields.bind("nami", nami);
    fields.bind("Image23", Image23);
    fields.bind("Memo9", Memo9);
    fields.bind("BitBtn24", BitBtn24);
    fields.bind("daimaou", daimaou);
    fields.bind("maou", maou);
    fields.bind("Image4", Image4);
    fields.bind("Label4", Label4);
    fields.bind("box4", box4);
    fields.bind("BitBtn6", BitBtn6);
    fields.bind("ougi", ougi);
    fields.bind("sanda", sanda);
    fields.bind("bosu", bosu);
    fields.bind("bosu1", bosu1);
    fields.bind("Image12", Image12);
    fields.bind("Label12", Label12);
    fields.bind("Button4", Button4);
    fields.bind("Button5", Button5);
    fields.bind("Button6", Button6);
    fields.bind("bosu3", bosu3);
    fields.bind("Image15", Image15);
    fields.bind("Label14", Label14);
    fields.bind("Button14", Button14);
    fields.bind("Button15", Button15);
    fields.bind("Button16", Button16);
    fields.bind("bosu4", bosu4);
    fields.bind("Image16", Image16);
    fields.bind("Label15", Label15);
    fields.bind("Button17", Button17);
    fields.bind("Button18", Button18);
    fields.bind("Button19", Button19);
    fields.bind("bosu5", bosu5);
    fields.bind("Image17", Image17);
    fields.bind("Label16", Label16);
    fields.bind("Button20", Button20);
    fields.bind("Button21", Button21);
    fields.bind("Button22", Button22);
    fields.bind("bosu6", bosu6);
    fields.bind("Image18", Image18);
    fields.bind("Label17", Label17);
    fields.bind("Button27", Button27);
    fields.bind("Button28", Button28);
    fields.bind("Button29", Button29);
    fields.bind("mahou", mahou);
    fields.bind("Button12", Button12);
    fields.bind("Button13", Button13);
    fields.bind("mahou2", mahou2);
    fields.bind("Button23", Button23);
    fields.bind("Button24", Button24);
    fields.bind("mahou3", mahou3);
    fields.bind("Button25", Button25);
    fields.bind("Button26", Button26);
    fields.bind("bossu", bossu);
    fields.bind("bosu2", bosu2);
    fields.bind("Image14", Image14);
    fields.bind("Label13", Label13);
    fields.bind("Button9", Button9);
    fields.bind("Button10", Button10);
    fields.bind("Button11", Button11);
    fields.bind("BitBtn7", BitBtn7);
    fields.bind("BitBtn19", BitBtn19);
    fields.bind("BitBtn21", BitBtn21);
    fields.checkAllBound();
}

TForm1::~TForm1() = default;

const TForm1::Built *TForm1::find(const QString &name) {
    const auto found = m_byName.find(name);
    if (found == m_byName.end())
        return nullptr;
    widgetAt(*found);
    return &m_built[size_t(*found)];
}

QWidget *TForm1::widgetAt(int index) {
    Built &built = m_built[size_t(index)];
    if (!built.widget)
        m_builder->buildScene(m_sceneOf[size_t(index)]);
    return built.widget;
}

void TForm1::buildEverything() {
    for (size_t i = 0; i < m_built.size(); ++i) {
        if (m_built[i].row->topLevel)
            m_builder->buildScene(int(i));
    }
}

void TForm1::paintEvent(QPaintEvent *event) {
    // The window's own background; the widgets keep the desktop's palette.
    QPainter painter(this);
    painter.fillRect(event->rect(), colorValue(m_color));
}

void TForm1::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!m_iconSet) {
        // The icon is decoded once the first frame is on its way: the
        // window need not wait for it.
        m_iconSet = true;
        QMetaObject::invokeMethod(
            this, [this] { setWindowIcon(QIcon(QStringLiteral(":/art/castle_icon.ico"))); },
            Qt::QueuedConnection);
    }
}

void TForm1::closeEvent(QCloseEvent *event) {
    event->accept();
    emit closed();
}

void TForm1::beep() {
    Services::instance().beep();
}

void TForm1::message(const StoryText &text) {
    Services::instance().message(this, text);
}

QString TForm1::inputName(const QString &caption, const QString &prompt,
                          const QString &defaultText) {
    return Services::instance().askName(this, caption, prompt, defaultText);
}

void TForm1::setColor(layout::ColorName color) {
    if (color != m_color) {
        m_color = color;
        update(); // painted when the event loop next runs
    }
    Services::instance().colorSet(color);
}
