#include "widgets.h"

#include "bold.h"
#include "language.h"
#include "platform/readers.h"
#include "style.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

using namespace layout;

QColor colorValue(ColorName color) {
    const QPalette palette = QApplication::palette();
    switch (color) {
    case clBlack:
        return QColor(0, 0, 0);
    case clMaroon:
        return QColor(128, 0, 0);
    case clGreen:
        return QColor(0, 128, 0);
    case clOlive:
        return QColor(128, 128, 0);
    case clPurple:
        return QColor(128, 0, 128);
    case clRed:
        return QColor(255, 0, 0);
    case clLime:
        return QColor(0, 255, 0);
    case clYellow:
        return QColor(255, 255, 0);
    case clWhite:
        return QColor(255, 255, 255);
    case clSilver:
        return QColor(192, 192, 192);
    case clWindowText:
        return palette.color(QPalette::WindowText);
    case clWindow:
        return palette.color(QPalette::Base);
    case clBtnFace:
        return palette.color(QPalette::Button);
    case clInfoBk:
        return palette.color(QPalette::ToolTipBase);
    case clBtnHighlight:
        return palette.color(QPalette::Light);
    case clBtnShadow:
        return palette.color(QPalette::Dark);
    case clWindowFrame:
        return palette.color(QPalette::Shadow);
    }
    return {};
}

QFont fontValue(const FontSpec &record) {
    QFont font(QString::fromUtf8(record.name));
    font.setPixelSize(-record.height);
    if (record.style & fsBold)
        setStruckBold(font);
    font.setItalic(record.style & fsItalic);
    gameFontRendering(font);
    return font;
}

void gameFontRendering(QFont &font) {
    // Full hinting takes the face's own whole-pixel glyphs and widths (its
    // hand-made bitmaps where it has them), whatever the desktop's hinting
    // settings; without sub-pixel colour fringes text looks the same on
    // every screen.
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
}

namespace kinds {

QString literalCaption(const QString &caption) {
    QString escaped = caption;
    return escaped.replace(u'&', QStringLiteral("&&"));
}

namespace {

// Keys on a button: a hidden button keeps the focus until another takes it
// and must not be pressed meanwhile; Enter presses it as Space does. True
// when the key is dealt with here.
bool buttonKey(QAbstractButton *button, QKeyEvent *event) {
    if (!button->isVisible()) {
        event->ignore();
        return true;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !event->isAutoRepeat()) {
        button->click();
        return true;
    }
    return false;
}

} // namespace

TLabel::TLabel(QWidget *parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(false);
    setAutoFillBackground(false);
}

void TLabel::fitText(QPoint origin) {
    const QFontMetrics metrics(font());
    QRect ink = metrics.boundingRect(text()).translated(0, metrics.ascent());
    ink.adjust(0, 0, boldStrikes(font()), 0);
    const QRect box = QRect(0, 0, metrics.horizontalAdvance(text()), metrics.height()).united(ink);
    setContentsMargins(-box.left(), -box.top(), 0, 0);
    setGeometry(QRect(origin + box.topLeft(), box.size()));
}

TButton::TButton(QWidget *parent) : QPushButton(parent) {
    setAutoDefault(false);
    setFocusPolicy(Qt::StrongFocus);
}

void TButton::setCaption(const QString &caption) {
    m_caption = caption;
    setText(literalCaption(caption));
}

void TButton::keyPressEvent(QKeyEvent *event) {
    if (!buttonKey(this, event))
        QPushButton::keyPressEvent(event);
}

TBitBtn::TBitBtn(QWidget *parent, bool closeKind)
    : QAbstractButton(parent), m_closeKind(closeKind) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (m_closeKind) {
        // A closing button runs no handler: its click closes the window.
        connect(this, &QAbstractButton::clicked, this, [this] { window()->close(); });
    }
}

int TBitBtn::contentLeft(int faceWidth, int glyphWidth, int captionWidth) {
    const int pair = glyphWidth > 0 ? glyphWidth + 4 + captionWidth : captionWidth;
    return (faceWidth - pair + 1) / 2;
}

void TBitBtn::keyPressEvent(QKeyEvent *event) {
    if (!buttonKey(this, event))
        QAbstractButton::keyPressEvent(event);
}

void TBitBtn::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    QRect face = rect();
    if (hasFocus()) {
        drawRings(painter, face, 1, colorValue(clWindowFrame), colorValue(clWindowFrame));
    }
    const bool down = isDown();
    if (down) {
        drawRings(painter, face, 1, colorValue(clBtnShadow), colorValue(clBtnShadow));
        painter.fillRect(face, colorValue(clBtnFace));
    } else {
        QRect inner = face;
        drawRings(painter, inner, 1, colorValue(clBtnHighlight), colorValue(clWindowFrame));
        drawRings(painter, inner, 1, colorValue(clBtnFace), colorValue(clBtnShadow));
        painter.fillRect(inner, colorValue(clBtnFace));
    }

    const QPixmap *glyph = m_closeKind ? &closeGlyph() : nullptr;
    const int glyphWidth = glyph ? glyph->width() : 0;
    const QFontMetrics metrics(font());
    const int captionWidth = metrics.horizontalAdvance(text());
    const QPoint shift = down ? QPoint(1, 1) : QPoint(0, 0);
    int x = face.left() + contentLeft(face.width(), glyphWidth, captionWidth);
    if (glyph) {
        const int y = face.top() + (face.height() - glyph->height()) / 2;
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawPixmap(QPoint(x, y) + shift, *glyph);
        x += glyphWidth + 4;
    }
    const int textTop = face.top() + (face.height() - metrics.height()) / 2;
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.setFont(font());
    drawGameText(painter,
                 QRect(QPoint(x, textTop) + shift, QSize(captionWidth + 1, metrics.height())),
                 Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text());

    if (hasFocus()) {
        // Dotted focus rectangle 4 pixels inside the button's edge.
        const QRect focus = rect().adjusted(4, 4, -4, -4);
        const QColor dot = colorValue(clWindowFrame);
        for (int px = focus.left(); px <= focus.right(); px += 2) {
            painter.fillRect(px, focus.top(), 1, 1, dot);
            painter.fillRect(px, focus.bottom(), 1, 1, dot);
        }
        for (int py = focus.top(); py <= focus.bottom(); py += 2) {
            painter.fillRect(focus.left(), py, 1, 1, dot);
            painter.fillRect(focus.right(), py, 1, 1, dot);
        }
    }
}

TPanel::TPanel(QWidget *parent, const Frame &frame, ColorName color)
    : QWidget(parent), m_frame(frame), m_color(color) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPanel::setCaption(const QString &caption) {
    m_caption = caption;
    update();
}

QRect TPanel::clientRect() const {
    return m_frame.borderSingle ? rect().adjusted(2, 2, -2, -2) : rect();
}

void TPanel::clipToClient(QWidget *child) const {
    const QRect client = clientRect();
    if (!client.contains(child->geometry()))
        child->setMask(QRegion(client.translated(-child->pos()) & child->rect()));
}

QPoint clientOrigin(const QWidget *container) {
    if (const auto *panel = qobject_cast<const TPanel *>(container))
        return panel->clientRect().topLeft();
    // A window that draws its own frame (titlebar.h) has it in its margins.
    return container && container->isWindow() ? container->contentsRect().topLeft() : QPoint();
}

QRect TPanel::innerRect() const {
    int inset = m_frame.borderSingle ? 2 : 0;
    if (m_frame.outer != bvNone)
        inset += m_frame.bevelWidth;
    inset += m_frame.borderWidth;
    if (m_frame.inner != bvNone)
        inset += m_frame.bevelWidth;
    return rect().adjusted(inset, inset, -inset, -inset);
}

void TPanel::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    QRect area = rect();
    const QColor light = colorValue(clBtnHighlight);
    const QColor shadow = colorValue(clBtnShadow);
    const QColor own = colorValue(m_color);
    if (m_frame.borderSingle) {
        // Sunken two-pixel frame on the outside edge.
        drawRings(painter, area, 1, shadow, light);
        drawRings(painter, area, 1, colorValue(clWindowFrame), colorValue(clBtnFace));
    }
    auto bevel = [&](Bevel kind) {
        if (kind == bvRaised)
            drawRings(painter, area, m_frame.bevelWidth, light, shadow);
        else if (kind == bvLowered)
            drawRings(painter, area, m_frame.bevelWidth, shadow, light);
    };
    bevel(m_frame.outer);
    drawRings(painter, area, m_frame.borderWidth, own, own);
    bevel(m_frame.inner);
    painter.fillRect(area, own);

    if (!m_caption.isEmpty()) {
        const QFontMetrics metrics(font());
        const int textHeight = metrics.height();
        const int top = (area.top() + area.bottom() + 1 - textHeight) / 2;
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::WindowText));
        drawGameText(painter, QRect(area.left(), top, area.width(), textHeight),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine | Qt::TextExpandTabs,
                     m_caption);
    }
}

TListBox::TListBox(QWidget *parent, ColorName color, int itemHeight)
    : QListWidget(parent), m_color(color), m_itemHeight(itemHeight) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setUniformItemSizes(true);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void TListBox::setEntries(const QStringList &entries) {
    for (const QString &entry : entries) {
        auto *item = new QListWidgetItem(entry, this);
        if (m_itemHeight > 0)
            item->setSizeHint(QSize(1, m_itemHeight));
    }
}

int TListBox::itemIndex() const {
    const QModelIndexList picked = selectionModel()->selectedIndexes();
    return picked.isEmpty() ? -1 : picked.first().row();
}

void TListBox::keyPressEvent(QKeyEvent *event) {
    // Taking the focus makes the first entry current without picking it; the
    // first arrow then picks that entry, as the player sees it marked.
    const bool arrow = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down;
    if (arrow && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && itemIndex() < 0 &&
        currentIndex().isValid()) {
        selectionModel()->select(currentIndex(), QItemSelectionModel::ClearAndSelect);
        platform::announceListEntry(this, currentIndex().row());
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

TComboBox::TComboBox(QWidget *parent, int itemHeight)
    : QComboBox(parent), m_itemHeight(itemHeight) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setMaxVisibleItems(8);
    setDuplicatesEnabled(true);
}

void TComboBox::setEntries(const QStringList &entries, const QString &fieldText) {
    for (const QString &entry : entries) {
        addItem(entry);
        if (m_itemHeight > 0)
            setItemData(count() - 1, QSize(1, m_itemHeight), Qt::SizeHintRole);
    }
    setCurrentIndex(-1);
    lineEdit()->setText(fieldText);
    lineEdit()->setCursorPosition(0);
}

TMemo::TMemo(QWidget *parent, ColorName color) : QPlainTextEdit(parent), m_color(color) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setTabChangesFocus(true);
    // A one-pixel margin inside the frame, as a classic edit control has:
    // the lines were broken by hand to fill the width left inside it.
    document()->setDocumentMargin(1);
}

void TMemo::setLines(const QString &lines) {
    setPlainText(lines);
}

QStringList TMemo::lines() const {
    return toPlainText().split(u'\n');
}

TImage::TImage(QWidget *parent, const Picture &picture, const QString &subject)
    : QWidget(parent), m_picture(picture), m_subject(subject) {}

void TImage::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawPixmap(0, 0, m_picture.pixmap);
}

const TImage::Picture &picture(const QString &name) {
    static QHash<QString, TImage::Picture> cache;
    auto found = cache.find(name);
    if (found != cache.end())
        return *found;
    TImage::Picture picture;
    picture.name = name;
    QFile file(QStringLiteral(":/art/%1.bmp").arg(language::pictureFile(name)));
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        picture.pixmap.loadFromData(bytes, "BMP");
        if (bytes.size() >= 30) {
            auto u16 = [&](int at) {
                return int(uchar(bytes[at])) | int(uchar(bytes[at + 1])) << 8;
            };
            picture.width = u16(18) | u16(20) << 16;
            picture.height = u16(22) | u16(24) << 16;
            picture.depth = u16(28);
        }
    }
    return *cache.insert(name, picture);
}

const QPixmap &closeGlyph() {
    static const QPixmap glyph = [] {
        QImage stock(QStringLiteral(":/art/close_glyph.bmp"));
        if (stock.isNull())
            return QPixmap();
        // The stock picture holds the normal and the greyed copy side by side.
        QImage normal =
            stock.copy(0, 0, stock.height(), stock.height()).convertToFormat(QImage::Format_ARGB32);
        const QRgb background = normal.pixel(0, normal.height() - 1);
        for (int y = 0; y < normal.height(); ++y)
            for (int x = 0; x < normal.width(); ++x)
                if (normal.pixel(x, y) == background)
                    normal.setPixel(x, y, qRgba(0, 0, 0, 0));
        QPixmap pixmap = QPixmap::fromImage(normal);
        return pixmap;
    }();
    return glyph;
}

} // namespace kinds
