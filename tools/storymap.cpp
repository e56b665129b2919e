// storymap: explores every reachable state of the story through the real
// window, checks what must hold in each, and writes the story map as a
// Graphviz graph.
//
// A state is the set of widgets on screen, at every level, plus the window's
// colour. From each state every action a player has is tried: a click on
// each button on screen, and each entry of each list or combo box on screen
// followed by a click on each button of its scene. Each try starts from a
// fresh window and replays the shortest known road to the state, so that no
// try sees what an earlier one left behind.
//
//   storymap [--language en] [--dot FILE] [--check FILE] [--screenshots FOLDER]
//
// --language en explores the English edition, where every text a player
// reads or hears (message boxes, the name prompt, every widget on screen and
// what screen readers are told of it) must be English: a Japanese character
// left in one is a problem.
// --dot writes the map; --check compares the explored map with a committed
// one; --screenshots saves a picture of the window in every state. The exit status is 0 only when
// every check holds.
#include "builder.h"
#include "dialogs.h"
#include "language.h"
#include "look.h"
#include "player.h"
#include "regions.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QSet>
#include <QTest>
#include <cstdio>
#include <deque>

using namespace layout;

namespace {

struct Action {
    QString list; // empty for a plain click
    int entry = -1;
    QString entryText;
    QString button;

    QString label() const {
        return list.isEmpty() ? button : QStringLiteral("%1 %2 → %3").arg(list, entryText, button);
    }
};

struct Outcome {
    QString state; // empty when the window closed
    int messages = 0;
};

// Whether a text holds a character of Japanese writing: kana, kanji, or the
// punctuation and full-width forms that go with them.
bool holdsJapanese(const QString &text) {
    for (const QChar c : text) {
        const QChar::Script script = c.script();
        if (script == QChar::Script_Hiragana || script == QChar::Script_Katakana ||
            script == QChar::Script_Han || (c.unicode() >= 0x3000 && c.unicode() <= 0x303F) ||
            (c.unicode() >= 0xFF00 && c.unicode() <= 0xFFEF))
            return true;
    }
    return false;
}

// The texts a player reads on a widget, and those a screen reader tells.
QStringList textsOf(QWidget *widget) {
    QStringList texts;
    if (auto *label = qobject_cast<kinds::TLabel *>(widget))
        texts << label->text();
    else if (auto *button = qobject_cast<kinds::TButton *>(widget))
        texts << button->caption();
    else if (auto *bitBtn = qobject_cast<kinds::TBitBtn *>(widget))
        texts << bitBtn->text();
    else if (auto *panel = qobject_cast<kinds::TPanel *>(widget))
        texts << panel->caption();
    else if (auto *list = qobject_cast<kinds::TListBox *>(widget))
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
    else if (auto *combo = qobject_cast<kinds::TComboBox *>(widget)) {
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        texts << combo->lineEdit()->text();
    } else if (auto *memo = qobject_cast<kinds::TMemo *>(widget))
        texts << memo->toPlainText();
    if (QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(widget))
        texts << reader->text(QAccessible::Name) << reader->text(QAccessible::Description);
    return texts;
}

// Watches the dialogs of one try: answers each at once and notes anything
// that must not happen.
class Watcher : public StoryObserver {
public:
    TForm1 *form = nullptr;
    int messages = 0;
    QStringList problems;
    QStringList allowedOverScenes{QStringLiteral("bukiya")};
    bool english = false;

    void messageOpening(MessageBox *box) override {
        ++messages;
        if (english && holdsJapanese(box->text() + box->windowTitle()))
            problems << QStringLiteral("message \"%1\" is not English").arg(box->text());
        QMetaObject::invokeMethod(
            box,
            [this, box] {
                QStringList shown;
                for (QWidget *widget : form->topLevelWidgets())
                    if (widget->isVisible())
                        shown << widget->objectName();
                for (const QString &name : shown)
                    if (!allowedOverScenes.contains(name))
                        problems << QStringLiteral("message \"%1\" opened over %2")
                                        .arg(box->text(), shown.join(u','));
                QTest::keyClick(box->button(), Qt::Key_Return);
            },
            Qt::QueuedConnection);
    }
    void promptOpening(NamePrompt *prompt) override {
        if (english) {
            QStringList texts{prompt->windowTitle(), prompt->prompt(), prompt->defaultText()};
            for (const QPushButton *button : {prompt->okButton(), prompt->cancelButton()})
                texts << button->text();
            for (const QString &text : texts)
                if (holdsJapanese(text))
                    problems << QStringLiteral("the name prompt's \"%1\" is not English").arg(text);
        }
        QMetaObject::invokeMethod(
            prompt, [prompt] { QTest::keyClick(prompt->field(), Qt::Key_Return); },
            Qt::QueuedConnection);
    }
};

class Explorer {
public:
    int run(const QString &dotPath, const QString &checkPath);
    // A developer's aid: a picture of every state, for looking at scenes.
    void saveScreenshotsIn(const QString &folder) { m_shots = folder; }
    // Every text must be English.
    void expectEnglish() { m_watcher.english = true; }

private:
    QString stateOf(const TForm1 &form) const;
    QList<Action> actionsOf(const TForm1 &form) const;
    bool perform(TForm1 &form, const Action &action);
    // Shows a fresh window and plays the road on it; false (and a problem
    // noted) when a step cannot be taken.
    bool replay(TForm1 &form, const QList<Action> &road);
    Outcome attempt(const QList<Action> &road, const Action &next);
    QString dot() const;
    void problem(const QString &text) { m_problems.insert(text); }

    QMap<QString, QList<Action>> m_roads; // state -> shortest road to it
    QStringList m_order;                  // states in the order found
    struct Edge {
        QString from, to;
        QString label;
        int messages;
    };
    QList<Edge> m_edges;
    QSet<QString> m_handlersRun;
    QSet<QString> m_closersUsed;
    QSet<QString> m_problems;
    QSet<QString> m_allHandlers;
    QSet<QString> m_allClosers;
    int m_tries = 0;
    QString m_shots;
    Watcher m_watcher;
};

QString Explorer::stateOf(const TForm1 &form) const {
    QStringList shown;
    for (const TForm1::Built &built : form.built())
        if (built.widget && built.widget->isVisible())
            shown << built.widget->objectName();
    return shown.join(u' ') + QStringLiteral(" | ") +
           QString::fromLatin1(colorName(form.colorName()));
}

QList<Action> Explorer::actionsOf(const TForm1 &form) const {
    QList<Action> actions;
    for (const TForm1::Built &built : form.built()) {
        QWidget *widget = built.widget;
        if (!widget || !widget->isVisible() || !qobject_cast<QAbstractButton *>(widget))
            continue;
        actions.append(Action{{}, -1, {}, widget->objectName()});
    }
    for (const TForm1::Built &built : form.built()) {
        QWidget *widget = built.widget;
        if (!widget || !widget->isVisible())
            continue;
        QStringList entries;
        if (auto *list = qobject_cast<kinds::TListBox *>(widget))
            for (int i = 0; i < list->count(); ++i)
                entries << list->item(i)->text();
        else if (auto *combo = qobject_cast<kinds::TComboBox *>(widget))
            for (int i = 0; i < combo->count(); ++i)
                entries << combo->itemText(i);
        else
            continue;
        for (QObject *sibling : widget->parentWidget()->children()) {
            auto *button = qobject_cast<QAbstractButton *>(sibling);
            if (!button || !button->isVisible())
                continue;
            for (int i = 0; i < entries.size(); ++i)
                actions.append(Action{widget->objectName(), i, entries[i], button->objectName()});
        }
    }
    return actions;
}

bool Explorer::perform(TForm1 &form, const Action &action) {
    if (!action.list.isEmpty()) {
        const TForm1::Built *list = form.find(action.list);
        if (!list || !list->widget->isVisible() || !chooseEntry(list->widget, action.entry))
            return false;
    }
    const TForm1::Built *button = form.find(action.button);
    if (!button || !button->widget->isVisible())
        return false;
    clickWidget(button->widget);
    return true;
}

bool Explorer::replay(TForm1 &form, const QList<Action> &road) {
    form.show();
    m_watcher.form = &form;
    for (const Action &step : road) {
        if (!perform(form, step)) {
            problem(QStringLiteral("the road to a state could not be replayed at %1")
                        .arg(step.label()));
            return false;
        }
    }
    return true;
}

Outcome Explorer::attempt(const QList<Action> &road, const Action &next) {
    ++m_tries;
    PlayerName.clear();
    TForm1 form;
    bool closed = false;
    QObject::connect(&form, &TForm1::closed, [&closed] { closed = true; });
    form.buildEverything(); // to hear every handler
    for (const TForm1::Built &built : form.built()) {
        auto *button = qobject_cast<QAbstractButton *>(built.widget);
        if (button && built.row->onClick) {
            const QString handler = QString::fromUtf8(built.row->onClick);
            QObject::connect(button, &QAbstractButton::clicked,
                             [this, handler] { m_handlersRun.insert(handler); });
        }
    }
    if (!replay(form, road))
        return {};
    m_watcher.messages = 0;
    if (!perform(form, next)) {
        problem(QStringLiteral("cannot perform %1").arg(next.label()));
        return {};
    }
    Outcome outcome;
    outcome.messages = m_watcher.messages;
    if (closed) {
        m_closersUsed.insert(next.button);
        return outcome;
    }
    outcome.state = stateOf(form);
    return outcome;
}

int Explorer::run(const QString &dotPath, const QString &checkPath) {
    Services::instance().setObserver(&m_watcher);
    {
        TForm1 form;
        form.buildEverything();
        for (const TForm1::Built &built : form.built()) {
            if (built.row->onClick)
                m_allHandlers.insert(QString::fromUtf8(built.row->onClick));
            if (built.row->kind == TBitBtn && built.row->closeKind)
                m_allClosers.insert(QString::fromUtf8(built.row->name));
        }
        form.show();
        const QString first = stateOf(form);
        m_roads.insert(first, {});
        m_order << first;
    }

    std::deque<QString> queue{m_order.first()};
    while (!queue.empty()) {
        const QString state = queue.front();
        queue.pop_front();
        const QList<Action> road = m_roads.value(state);

        // Rebuild the state to list its actions and check its shape.
        QList<Action> actions;
        {
            PlayerName.clear();
            TForm1 form;
            replay(form, road);
            actions = actionsOf(form);
            if (!m_shots.isEmpty())
                form.grab().save(QStringLiteral("%1/state-%2.png")
                                     .arg(m_shots)
                                     .arg(m_order.indexOf(state), 2, 10, QLatin1Char('0')));
            int topLevel = 0;
            for (QWidget *widget : form.topLevelWidgets())
                topLevel += widget->isVisible() ? 1 : 0;
            if (m_watcher.english) {
                QStringList texts{form.windowTitle()};
                for (const TForm1::Built &built : form.built())
                    if (built.widget && built.widget->isVisible())
                        texts << textsOf(built.widget);
                for (const QString &text : texts)
                    if (holdsJapanese(text))
                        problem(QStringLiteral("\"%1\" is not English").arg(text));
            }
            if (!road.isEmpty() && topLevel != 1)
                problem(QStringLiteral("%1 widgets on screen at once in state %2")
                            .arg(topLevel)
                            .arg(state));
        }
        if (actions.isEmpty())
            problem(QStringLiteral("state %1 offers no action and no closing button").arg(state));

        for (const Action &action : actions) {
            const Outcome outcome = attempt(road, action);
            const QString to = outcome.state.isEmpty() ? QStringLiteral("(exit)") : outcome.state;
            if (to == state && outcome.messages == 0)
                continue; // nothing happened: not a transition
            m_edges.append(Edge{state, to, action.label(), outcome.messages});
            if (!outcome.state.isEmpty() && !m_roads.contains(outcome.state)) {
                m_roads.insert(outcome.state, road + QList<Action>{action});
                m_order << outcome.state;
                queue.push_back(outcome.state);
            }
        }
    }
    for (const QString &text : m_watcher.problems)
        problem(text);
    for (const QString &handler : m_allHandlers)
        if (!m_handlersRun.contains(handler))
            problem(QStringLiteral("handler %1 never ran").arg(handler));
    for (const QString &closer : m_allClosers)
        if (!m_closersUsed.contains(closer))
            problem(QStringLiteral("closing button %1 never reached").arg(closer));
    Services::instance().setObserver(nullptr);

    const QString map = dot();
    if (!dotPath.isEmpty()) {
        QFile file(dotPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(map.toUtf8()) < 0)
            problem(QStringLiteral("cannot write %1").arg(dotPath));
    }
    if (!checkPath.isEmpty()) {
        QFile file(checkPath);
        if (!file.open(QIODevice::ReadOnly))
            problem(QStringLiteral("cannot read %1").arg(checkPath));
        else if (QString::fromUtf8(file.readAll()) != map)
            problem(
                QStringLiteral("the story map %1 differs from the explored story").arg(checkPath));
    }

    std::printf(
        "states %lld, transitions %lld, tries %d, handlers run %lld of %lld, closing buttons "
        "reached %lld of %lld\n",
        qlonglong(m_order.size()), qlonglong(m_edges.size()), m_tries,
        qlonglong(m_handlersRun.size()), qlonglong(m_allHandlers.size()),
        qlonglong(m_closersUsed.size()), qlonglong(m_allClosers.size()));
    QStringList problems(m_problems.begin(), m_problems.end());
    problems.sort();
    for (const QString &text : problems)
        std::printf("problem: %s\n", qPrintable(text));
    std::fflush(stdout);
    return problems.isEmpty() ? 0 : 1;
}

QString quoted(const QString &text) {
    // Labels hold no backslash but the line breaks they are given on purpose.
    QString escaped = text;
    escaped.replace(u'"', QStringLiteral("\\\""));
    return u'"' + escaped + u'"';
}

// The scene a state shows: its top-level widgets on screen.
QString sceneLabel(const QString &state, const QStringList &topLevel) {
    const QStringList parts = state.split(QStringLiteral(" | "));
    QStringList scenes;
    for (const QString &name : parts.value(0).split(u' ', Qt::SkipEmptyParts))
        if (topLevel.contains(name))
            scenes << name;
    QString label = scenes.join(QStringLiteral(" + "));
    if (parts.value(1) != QLatin1String("clMaroon"))
        label += QStringLiteral("\\n(%1)").arg(parts.value(1));
    return label;
}

QString Explorer::dot() const {
    QMap<QString, QString> ids;
    for (qsizetype i = 0; i < m_order.size(); ++i)
        ids.insert(m_order[i], QStringLiteral("s%1").arg(i));
    QString out = QStringLiteral("digraph story {\n"
                                 "  graph [rankdir=TB, fontname=\"IPAPGothic\"];\n"
                                 "  node [shape=box, style=rounded, fontname=\"IPAPGothic\"];\n"
                                 "  edge [fontname=\"IPAPGothic\", fontsize=9];\n"
                                 "  exit [label=\"(window closed)\", shape=doublecircle];\n");
    // Two states that show the same scenes differ by a widget inside one
    // (the tavern with or without its third patron): number them apart.
    QMap<QString, int> seen;
    for (const QString &state : m_order) {
        QString label = sceneLabel(state, creationOrder());
        const int n = seen[label]++;
        if (n > 0)
            label += QStringLiteral(" #%1").arg(n + 1);
        out += QStringLiteral("  %1 [label=%2];\n").arg(ids.value(state), quoted(label));
    }
    for (const Edge &edge : m_edges) {
        const QString to =
            edge.to == QLatin1String("(exit)") ? QStringLiteral("exit") : ids.value(edge.to);
        out += QStringLiteral("  %1 -> %2 [label=%3];\n")
                   .arg(ids.value(edge.from), to,
                        quoted(QStringLiteral("%1 (%2)").arg(edge.label).arg(edge.messages)));
    }
    return out + QStringLiteral("}\n");
}

} // namespace

int main(int argc, char *argv[]) {
    PlaybackApplication app(argc, argv);
    QString dotPath, checkPath, shots;
    bool english = false;
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--language") && i + 1 < args.size() && args[i + 1] == u"en") {
            english = true;
            ++i;
        } else if (args[i] == QLatin1String("--dot") && i + 1 < args.size())
            dotPath = args[++i];
        else if (args[i] == QLatin1String("--check") && i + 1 < args.size())
            checkPath = args[++i];
        else if (args[i] == QLatin1String("--screenshots") && i + 1 < args.size())
            shots = args[++i];
        else {
            std::fprintf(stderr, "usage: storymap [--language en] [--dot FILE] [--check FILE] "
                                 "[--screenshots FOLDER]\n");
            return 2;
        }
    }
    if (english && !language::use(language::Edition::English)) {
        std::fprintf(stderr, "storymap: the English texts cannot be loaded\n");
        return 2;
    }
    try {
        Explorer explorer;
        explorer.saveScreenshotsIn(shots);
        if (english)
            explorer.expectEnglish();
        return explorer.run(dotPath, checkPath);
    } catch (const LayoutError &error) {
        std::fprintf(stderr, "storymap: %s\n", error.what());
        return 2;
    }
}
