#include "builder.h"

#include "accessibility.h"
#include "platform/readers.h"
#include "regions.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QMetaMethod>
#include <algorithm>
#include <span>
#include <utility>

using namespace layout;

namespace {

// A row's text as the edition played writes it.
QString translated(const char *text) {
    return QCoreApplication::translate(textContext, text);
}

QStringList translated(const std::vector<const char *> &texts) {
    QStringList all;
    for (const char *text : texts)
        all << translated(text);
    return all;
}

void applyFontColor(QWidget *widget, ColorName color) {
    QPalette own = widget->palette();
    const QColor value = colorValue(color);
    own.setColor(QPalette::WindowText, value);
    own.setColor(QPalette::ButtonText, value);
    own.setColor(QPalette::Text, value);
    widget->setPalette(own);
}

// A list's or memo's own background. The style draws the keyboard's place
// in a list as a dotted frame in the inverse of the background it is given
// (the Window role), so both roles take the list's colour: the frame then
// shows on a black list as on a white one.
void applyBackground(QWidget *widget, ColorName color) {
    QPalette own = widget->palette();
    own.setColor(QPalette::Base, colorValue(color));
    own.setColor(QPalette::Window, colorValue(color));
    widget->setPalette(own);
}

bool takesFocus(Kind kind) {
    return kind == TButton || kind == TBitBtn || kind == TListBox || kind == TComboBox ||
           kind == TMemo;
}

// Screen readers name a scene's lists by the question the scene asks (its
// caption, else its label, else its place or person) and its memos by their
// first line, the speaker. The scene comes first, then its children.
void nameForReaders(std::span<const TForm1::Built> scene) {
    const Row &sceneRow = *scene.front().row;
    const QString sceneName = QString::fromUtf8(sceneRow.name);
    QString question = accessibility::spokenCaption(sceneName, translated(sceneRow.captionText));
    for (const TForm1::Built &child : scene.subspan(1)) {
        if (question.isEmpty() && child.row->kind == TLabel)
            question = translated(child.row->captionText);
    }
    if (question.isEmpty())
        question = translated(sceneRow.subjectText);
    for (const TForm1::Built &child : scene.subspan(1)) {
        if (child.row->kind == TListBox)
            platform::nameForReaders(child.widget, question);
        else if (child.row->kind == TMemo && *child.row->linesText) {
            const QStringList lines = static_cast<kinds::TMemo *>(child.widget)->lines();
            platform::nameForReaders(child.widget, lines.front(), accessibility::memoSpeech(lines));
        }
    }
}

} // namespace

void LayoutBuilder::index() {
    // Every scene's rows by its top-level name.
    QHash<QString, std::pair<const Region *, size_t>> scenes;
    for (const Region &region : m_form->m_regions) {
        for (size_t i = 0; i < region.size(); ++i) {
            if (!region[i].topLevel)
                continue;
            const QString name = QString::fromUtf8(region[i].name);
            if (scenes.contains(name))
                throw LayoutError("the layout names " + name.toStdString() + " twice");
            scenes.insert(name, {&region, i});
        }
    }
    if (size_t(scenes.size()) != size_t(creationOrder().size()))
        throw LayoutError("the layout's scenes and the window's creation order differ");

    // Every widget in creation order, each scene followed by its widgets.
    for (const QString &name : creationOrder()) {
        const auto found = scenes.find(name);
        if (found == scenes.end())
            throw LayoutError("the creation order names " + name.toStdString() +
                              ", which no region lays out");
        const Region &region = *found->first;
        size_t at = found->second;
        const Row &sceneRow = region[at];
        const FontSpec sceneFont = sceneRow.ownFont.value_or(windowFont);
        const int scene = int(m_form->m_built.size());
        m_form->m_built.push_back({&sceneRow, nullptr, QStringLiteral("Form1"), sceneFont});
        m_form->m_sceneOf.push_back(scene);
        for (++at; at < region.size() && !region[at].topLevel; ++at) {
            const Row &row = region[at];
            m_form->m_built.push_back({&row, nullptr, name, row.ownFont.value_or(sceneFont)});
            m_form->m_sceneOf.push_back(scene);
        }
    }
    m_sceneEnd.assign(m_form->m_built.size(), 0);
    for (size_t i = 0; i < m_form->m_built.size(); ++i)
        m_sceneEnd[size_t(m_form->m_sceneOf[i])] = int(i) + 1;

    // Names and handlers are checked now, for the scenes not built yet too.
    for (size_t i = 0; i < m_form->m_built.size(); ++i) {
        const Row &row = *m_form->m_built[i].row;
        const QString name = QString::fromUtf8(row.name);
        if (m_form->m_byName.contains(name))
            throw LayoutError("the layout names " + name.toStdString() + " twice");
        m_form->m_byName.insert(name, int(i));
        if (!row.onClick)
            continue;
        if (!TForm1::handlers().contains(QByteArray(row.onClick)))
            throw LayoutError(std::string("the layout binds ") + row.name + " to " + row.onClick +
                              ", which TForm1 does not have");
        if (row.kind != TButton && row.kind != TBitBtn)
            throw LayoutError(std::string(row.name) + " takes no clicks but names " + row.onClick);
    }
}

void LayoutBuilder::bindFields() {
    const std::vector<TForm1::Built> &built = m_form->m_built;
    std::vector<bool> bound(built.size(), false);
    for (FieldBase *field : m_form->m_fields) {
        const auto found = m_form->m_byName.find(QString::fromUtf8(field->m_name));
        if (found == m_form->m_byName.end() || built[size_t(*found)].row->kind != field->m_kind)
            throw LayoutError(std::string("the window's field ") + field->m_name +
                              " has no widget of its kind in the layout");
        if (bound[size_t(*found)])
            throw LayoutError(std::string("two of the window's fields name ") + field->m_name);
        bound[size_t(*found)] = true;
        field->m_index = *found;
    }
    for (size_t i = 0; i < built.size(); ++i) {
        if (!bound[i])
            throw LayoutError(std::string("the layout's ") + built[i].row->name +
                              " has no field in TForm1");
    }
}

void LayoutBuilder::build(bool fitTextLater) {
    index();
    bindFields();
    m_fitTextLater = fitTextLater;
    for (size_t i = 0; i < m_form->m_built.size(); ++i) {
        const TForm1::Built &scene = m_form->m_built[i];
        if (scene.row->topLevel && scene.row->visible)
            buildScene(int(i));
    }
    m_fitTextLater = false; // what is made later is measured at once
    // Readers meet the hidden scenes too, as hidden.
    platform::whenReadersListen(this, [this] { makeEveryScene(); });
}

void LayoutBuilder::makeScene(int at) {
    TForm1::Built &scene = m_form->m_built[size_t(at)];
    if (scene.widget)
        return;
    scene.widget = make(*scene.row, m_form, scene.font);
    bindClick(*scene.row, scene.widget);
    m_sceneAt.insert(scene.widget, at);
    scene.widget->installEventFilter(this);
    placeInStack(at);
    // A widget made after the window is shown stays hidden until shown;
    // one made before keeps its own flag hidden when the window shows.
    if (!scene.row->visible)
        scene.widget->hide();
    chainTabOrder();
}

void LayoutBuilder::makeEveryScene() {
    for (size_t i = 0; i < m_form->m_built.size(); ++i) {
        if (m_form->m_built[i].row->topLevel)
            makeScene(int(i));
    }
}

void LayoutBuilder::placeInStack(int at) {
    // Among the window's children, labels and pictures lie beneath the rest,
    // each group in creation order: the scene goes right below the first
    // made scene that follows it in that order, or else right above the
    // last that precedes it (the window's own title bar, where there is one,
    // stays above them all).
    const std::vector<TForm1::Built> &built = m_form->m_built;
    const auto rank = [&built](size_t i) {
        const layout::Kind kind = built[i].row->kind;
        return (kind == TLabel || kind == TImage ? 0 : built.size()) + i;
    };
    QWidget *widget = built[size_t(at)].widget;
    QWidget *next = nullptr;
    QWidget *previous = nullptr;
    size_t nextRank = 0, previousRank = 0;
    for (size_t i = 0; i < built.size(); ++i) {
        if (!built[i].row->topLevel || !built[i].widget || int(i) == at)
            continue;
        const size_t r = rank(i);
        if (r > rank(size_t(at)) && (!next || r < nextRank)) {
            next = built[i].widget;
            nextRank = r;
        } else if (r < rank(size_t(at)) && (!previous || r > previousRank)) {
            previous = built[i].widget;
            previousRank = r;
        }
    }
    if (next) {
        widget->stackUnder(next);
        return;
    }
    if (!previous)
        return;
    const QObjectList &children = m_form->children();
    for (qsizetype i = children.indexOf(previous) + 1; i < children.size(); ++i) {
        if (children[i] == widget)
            return; // already right above it
        if (children[i]->isWidgetType()) {
            widget->stackUnder(static_cast<QWidget *>(children[i]));
            return;
        }
    }
}

bool LayoutBuilder::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::Show)
        return false;
    // Before the scene's first frame: its widgets are made and shown with it.
    buildScene(m_sceneAt.value(watched));
    // A scene that comes on screen after the one holding the focus was hidden
    // takes the focus; the window's own showing (restoring) does not count.
    if (!event->spontaneous())
        focusShownScene(static_cast<QWidget *>(watched));
    return false;
}

void LayoutBuilder::focusShownScene(QWidget *scene) {
    const QWidget *focus = m_form->focusWidget();
    if (focus && focus->isVisible())
        return;
    // The focus is chained by the rows' tab order: the first of the scene's
    // widgets met in the chain is its first in tab order. A scene that asks
    // a question gives the focus to its list or drop-down list, the first in
    // tab order, so that a reader says the question with the choices before
    // the player moves on; any other scene to its first widget.
    QWidget *first = nullptr;
    for (QWidget *next = m_form->nextInFocusChain(); next != m_form;
         next = next->nextInFocusChain()) {
        if ((next == scene || scene->isAncestorOf(next)) && (next->focusPolicy() & Qt::TabFocus) &&
            next->isEnabled() && next->isVisible()) {
            if (qobject_cast<kinds::TListBox *>(next) || qobject_cast<kinds::TComboBox *>(next)) {
                first = next;
                break;
            }
            if (!first)
                first = next;
        }
    }
    if (first)
        first->setFocus(Qt::OtherFocusReason);
}

bool LayoutBuilder::isMade(int scene) const {
    const int end = m_sceneEnd[size_t(scene)];
    return end == scene + 1 || m_form->m_built[size_t(scene) + 1].widget;
}

void LayoutBuilder::buildScene(int scene) {
    makeScene(scene);
    if (isMade(scene))
        return;
    QWidget *container = m_form->m_built[size_t(scene)].widget;
    for (int i = scene + 1; i < m_sceneEnd[size_t(scene)]; ++i) {
        TForm1::Built &child = m_form->m_built[size_t(i)];
        child.widget = make(*child.row, container, child.font);
        bindClick(*child.row, child.widget);
    }
    stackStaticKindsBelow(container);
    for (int i = scene + 1; i < m_sceneEnd[size_t(scene)]; ++i) {
        const TForm1::Built &child = m_form->m_built[size_t(i)];
        child.widget->setVisible(child.row->visible);
    }
    nameForReaders(
        {m_form->m_built.begin() + scene, m_form->m_built.begin() + m_sceneEnd[size_t(scene)]});
    chainTabOrder();
}

QWidget *LayoutBuilder::make(const Row &row, QWidget *parent, const FontSpec &font) {
    QWidget *widget = nullptr;
    const QString caption = translated(row.captionText);
    switch (row.kind) {
    case TLabel: {
        auto *label = new kinds::TLabel(parent);
        label->setText(caption);
        widget = label;
        break;
    }
    case TButton: {
        auto *button = new kinds::TButton(parent);
        button->setCaption(caption);
        widget = button;
        break;
    }
    case TBitBtn: {
        auto *button = new kinds::TBitBtn(parent, row.closeKind);
        button->setText(caption);
        widget = button;
        break;
    }
    case TPanel: {
        kinds::TPanel::Frame frame{row.bevelOuter, row.bevelInner, row.bevelWidth, row.borderWidth,
                                   row.borderSingle};
        auto *panel = new kinds::TPanel(parent, frame, row.ownColor.value_or(clBtnFace));
        panel->setCaption(caption);
        panel->setSubject(translated(row.subjectText));
        widget = panel;
        break;
    }
    case TListBox: {
        auto *list = new kinds::TListBox(parent, row.ownColor.value_or(clWindow), row.itemHeightPx);
        applyBackground(list, list->colorName());
        list->setEntries(translated(row.entries));
        widget = list;
        break;
    }
    case TComboBox: {
        auto *combo = new kinds::TComboBox(parent, row.itemHeightPx);
        combo->setEntries(translated(row.entries), translated(row.text));
        widget = combo;
        break;
    }
    case TMemo: {
        auto *memo = new kinds::TMemo(parent, row.ownColor.value_or(clWindow));
        applyBackground(memo, memo->colorName());
        memo->setLines(translated(row.linesText));
        widget = memo;
        break;
    }
    case TImage:
        widget = new kinds::TImage(parent, kinds::picture(QString::fromUtf8(row.pictureName)),
                                   translated(row.subjectText));
        break;
    }
    widget->setObjectName(QString::fromUtf8(row.name));
    if (row.kind != TImage) {
        widget->setFont(fontValue(font));
        applyFontColor(widget, font.color);
    }
    // Labels are sized to their text (the rows give the size the text had
    // when the layout was made); every other kind keeps its row's size.
    // Positions count from the container's client area.
    const QPoint origin = kinds::clientOrigin(parent) + QPoint(row.left, row.top);
    if (row.kind == TLabel && !m_fitTextLater)
        static_cast<kinds::TLabel *>(widget)->fitText(origin);
    else
        widget->setGeometry(QRect(origin, QSize(row.width, row.height)));
    if (row.kind == TLabel && m_fitTextLater)
        m_unfitted.emplace_back(static_cast<kinds::TLabel *>(widget), origin);
    if (auto *panel = qobject_cast<kinds::TPanel *>(parent))
        panel->clipToClient(widget);
    return widget;
}

void LayoutBuilder::fitPendingText() {
    for (const auto &[label, origin] : std::exchange(m_unfitted, {}))
        label->fitText(origin);
}

void LayoutBuilder::bindClick(const Row &row, QWidget *widget) {
    if (!row.onClick)
        return;
    const QMetaMethod handler = TForm1::handlers().value(QByteArray(row.onClick));
    TForm1 *form = m_form;
    // The button itself is the connection's context, not the window: screen
    // readers list a widget's receivers as the widgets it controls, and a
    // button controls no window.
    QObject::connect(static_cast<QAbstractButton *>(widget), &QAbstractButton::clicked, widget,
                     [form, handler] { handler.invoke(form, Qt::DirectConnection); });
}

void LayoutBuilder::stackStaticKindsBelow(QWidget *container) {
    // Labels and pictures are drawn on their container's own surface,
    // beneath every windowed sibling, in their own creation order.
    QList<QWidget *> statics;
    for (QObject *object : container->children()) {
        if (qobject_cast<kinds::TLabel *>(object) || qobject_cast<kinds::TImage *>(object))
            statics.append(static_cast<QWidget *>(object));
    }
    for (auto it = statics.rbegin(); it != statics.rend(); ++it)
        (*it)->lower();
}

void LayoutBuilder::chainTabOrder() {
    // Focus moves through the top-level widgets by their tab order, and
    // through each made scene's widgets, in order, where the scene stands.
    const std::vector<TForm1::Built> &built = m_form->m_built;
    auto byTab = [&built](int a, int b) {
        return built[size_t(a)].row->tab < built[size_t(b)].row->tab;
    };
    std::vector<int> scenes;
    for (size_t i = 0; i < built.size(); ++i) {
        if (built[i].row->topLevel && built[i].widget)
            scenes.push_back(int(i));
    }
    std::stable_sort(scenes.begin(), scenes.end(), byTab);
    QList<QWidget *> chain;
    for (const int scene : scenes) {
        std::vector<int> members{scene};
        for (int i = scene + 1; i < m_sceneEnd[size_t(scene)] && built[size_t(i)].widget; ++i)
            members.push_back(i);
        std::stable_sort(members.begin() + 1, members.end(), byTab);
        for (const int i : members) {
            if (takesFocus(built[size_t(i)].row->kind))
                chain.append(built[size_t(i)].widget);
        }
    }
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}
