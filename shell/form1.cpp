#include "form1.h"

#include "builder.h"
#include "regions.h"
#include "services.h"

#include <QCloseEvent>
#include <QIcon>
#include <QPaintEvent>
#include <QPainter>

QString PlayerName;

FieldBase::FieldBase(TForm1 *form, const char *name, layout::Kind kind)
    : m_form(form), m_name(name), m_kind(kind) {
    form->m_fields.push_back(this);
}

QWidget *FieldBase::widget() const {
    return m_form->widgetAt(m_index);
}

const QHash<QByteArray, QMetaMethod> &TForm1::handlers() {
    static const QHash<QByteArray, QMetaMethod> table = [] {
        QHash<QByteArray, QMetaMethod> own;
        const QMetaObject &meta = staticMetaObject;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
            const QMetaMethod method = meta.method(i);
            if (method.methodType() == QMetaMethod::Slot)
                own.insert(method.name(), method);
        }
        return own;
    }();
    return table;
}

TForm1::TForm1(std::vector<layout::Region> regions, TextFit fit)
    : QWidget(nullptr), m_regions(std::move(regions)) {
    setWindowTitle(tr("ホシフルツルギ２"));
    // Screen readers name the window by its title; Qt 6.11 no longer does
    // so by itself.
    setAccessibleName(windowTitle());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(clientWidth, clientHeight);
    move(position);
    setFont(fontValue(layout::windowFont));
    setAttribute(Qt::WA_OpaquePaintEvent);

    m_builder = std::make_unique<LayoutBuilder>(this);
    m_builder->build(fit == TextFit::AfterShow);
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
    if (!built.widget) {
        if (built.row->topLevel)
            m_builder->makeScene(index);
        else
            m_builder->buildScene(m_sceneOf[size_t(index)]);
    }
    return built.widget;
}

void TForm1::buildEverything() {
    for (size_t i = 0; i < m_built.size(); ++i) {
        if (m_built[i].row->topLevel)
            m_builder->buildScene(int(i));
    }
}

void TForm1::fitShownText() {
    m_builder->fitPendingText();
}

QList<QWidget *> TForm1::topLevelWidgets() const {
    QList<QWidget *> made;
    for (const Built &built : m_built) {
        if (built.row->topLevel && built.widget)
            made.append(built.widget);
    }
    return made;
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
    // While a dialog waits for the player, the window stays whoever asks to
    // close it (its close control, the desktop's keys or overview, which on
    // Wayland reach the window even while the dialog blocks it); only an
    // end of the game closes it then.
    if (Services::instance().dialogOpen() && !Services::instance().endRequested()) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}

void TForm1::end() {
    Services::instance().requestEnd();
    close();
}

void TForm1::beep() {
    Services::instance().beep();
}

void TForm1::message(const StoryText &text) {
    Services::instance().message(this, text);
}

void TForm1::message(const QString &pattern, const QString &name) {
    message(StoryText(pattern, name));
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
