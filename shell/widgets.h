// The eight widget kinds of the layout, each a small Qt widget that paints and
// behaves as the game's scenes expect.
#pragma once

#include "layout.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

class QPainter;

// A colour of the layout as RGB; the desktop colours come from the palette.
QColor colorValue(layout::ColorName color);

// A font record of the layout as a Qt font (pixel height, bold, italic).
QFont fontValue(const layout::FontSpec &record);

// Renders the font the same way on every desktop (see widgets.cpp).
void gameFontRendering(QFont &font);

namespace kinds {

// A caption for a widget that reads '&' as a mnemonic mark, so that it shows
// as given: every '&' stays a literal ampersand.
QString literalCaption(const QString &caption);

// Static one-line text on its container's surface, sized to its text.
class TLabel : public QLabel {
    Q_OBJECT
public:
    static constexpr layout::Kind layoutKind = layout::TLabel;
    explicit TLabel(QWidget *parent);
    // Sizes the label to its text with the text's top-left corner at
    // `origin`: the text's advance and line height, grown wherever its
    // drawn pixels reach beyond them (the slant of an italic, a bold drawn
    // from a regular face), so that no pixel of the text is cut.
    void fitText(QPoint origin);
};

// Standard push button; Enter and Space press it while it has the focus.
class TButton : public QPushButton {
    Q_OBJECT
public:
    static constexpr layout::Kind layoutKind = layout::TButton;
    explicit TButton(QWidget *parent);
    void setCaption(const QString &caption);
    QString caption() const { return m_caption; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString m_caption;
};

// Push button with a face of its own drawing and an optional glyph. A closing
// button shows the closing glyph and closes the window when clicked.
class TBitBtn : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr layout::Kind layoutKind = layout::TBitBtn;
    TBitBtn(QWidget *parent, bool closeKind);
    bool isCloseKind() const { return m_closeKind; }
    QSize sizeHint() const override { return size(); }

    // Left edge of the glyph-and-caption pair inside a face of the given width.
    static int contentLeft(int faceWidth, int glyphWidth, int captionWidth);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_closeKind;
};

// Bevelled container of a scene.
class TPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr layout::Kind layoutKind = layout::TPanel;
    struct Frame {
        layout::Bevel outer = layout::bvRaised;
        layout::Bevel inner = layout::bvNone;
        int bevelWidth = 1;
        int borderWidth = 0;
        bool borderSingle = false;
    };
    TPanel(QWidget *parent, const Frame &frame, layout::ColorName color);
    void setCaption(const QString &caption);
    QString caption() const { return m_caption; }
    // The place or person the scene stands for, as readers name it.
    void setSubject(const QString &subject) { m_subject = subject; }
    QString subject() const { return m_subject; }
    layout::ColorName colorName() const { return m_color; }
    const Frame &frame() const { return m_frame; }
    // The area left inside the frame, border and bevels.
    QRect innerRect() const;
    // Where the children live: inside the sunken frame of a bsSingle panel,
    // the whole panel otherwise. The frame is never painted over.
    QRect clientRect() const;
    // Cuts a child off at the client area's edges, as it is at the panel's
    // own edges.
    void clipToClient(QWidget *child) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Frame m_frame;
    layout::ColorName m_color;
    QString m_caption;
    QString m_subject;
};

// Single-selection list; its index is the player's pick, -1 until there is one.
// With nothing picked yet, the first Up or Down picks the entry under the
// keyboard cursor rather than its neighbour.
class TListBox : public QListWidget {
    Q_OBJECT
public:
    static constexpr layout::Kind layoutKind = layout::TListBox;
    TListBox(QWidget *parent, layout::ColorName color, int itemHeight);
    void setEntries(const QStringList &entries);
    int itemIndex() const;
    layout::ColorName colorName() const { return m_color; }
    int itemHeight() const { return m_itemHeight; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    layout::ColorName m_color;
    int m_itemHeight;
};

// Editable drop-down list; only choosing from the list sets its index.
class TComboBox : public QComboBox {
    Q_OBJECT
public:
    static constexpr layout::Kind layoutKind = layout::TComboBox;
    TComboBox(QWidget *parent, int itemHeight);
    void setEntries(const QStringList &entries, const QString &fieldText);
    int itemIndex() const { return currentIndex(); }
    int itemHeight() const { return m_itemHeight; }

private:
    int m_itemHeight;
};

// Editable, word-wrapped text without scroll bars.
class TMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr layout::Kind layoutKind = layout::TMemo;
    TMemo(QWidget *parent, layout::ColorName color);
    // Its lines, a line break between lines.
    void setLines(const QString &lines);
    QStringList lines() const;
    layout::ColorName colorName() const { return m_color; }

private:
    layout::ColorName m_color;
};

// A picture at natural size from the top-left corner, clipped by the widget.
// On a denser display it is enlarged by whole pixels, never smoothed.
class TImage : public QWidget {
    Q_OBJECT
public:
    static constexpr layout::Kind layoutKind = layout::TImage;
    struct Picture {
        QString name; // the embedded file's name, without ".bmp"
        QPixmap pixmap;
        int width = 0, height = 0, depth = 0;
    };
    TImage(QWidget *parent, const Picture &picture, const QString &subject);
    const Picture &picture() const { return m_picture; }
    // What the picture shows, as readers name it.
    QString subject() const { return m_subject; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const Picture &m_picture;
    QString m_subject;
};

// Embedded pictures by name, decoded once and shared by every widget showing them.
const TImage::Picture &picture(const QString &name);

// The closing buttons' glyph, loaded once; its olive background is transparent.
const QPixmap &closeGlyph();

// The top-left corner of a container's client area in its own coordinates:
// the children's positions in the layout count from there.
QPoint clientOrigin(const QWidget *container);

} // namespace kinds
