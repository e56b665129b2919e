// The layout description: the widget records from which the window is built.
//
// Each story region lists its rows in creation order with scene(...) for a
// top-level widget of the window and child(...) for a widget inside the most
// recent scene, followed by the properties that differ from the kind's
// defaults. The chain reads like the row it comes from:
//
//   scene(TPanel, "hajimari", 16, 152, 153, 113)
//       .font(PGothic, -12, 0, clWhite).hidden().bevels(bvRaised, bvLowered)
//       .color(clBlack).tabOrder(1).subject("分かれ道"),
//
// A scene panel's subject and a picture's second word are what screen
// readers hear for them; nothing draws them.
//
// Every text a player reads or hears in a row is marked for translation
// where it is written, QT_TRANSLATE_NOOP("layout", "..."), so that lupdate
// finds it; the builder looks each text of a row up in that context when it
// makes the widget. The Japanese as written is the source of every
// translation (translations/).
#pragma once

#include <optional>
#include <utility>
#include <vector>

namespace layout {

enum Kind { TLabel, TButton, TBitBtn, TPanel, TListBox, TComboBox, TMemo, TImage };

const char *kindName(Kind kind);

// Colour names of the layout. The first group are fixed RGB values, the
// second the desktop's own colours, taken from the palette at run time.
enum ColorName {
    clBlack,
    clMaroon,
    clGreen,
    clOlive,
    clPurple,
    clRed,
    clLime,
    clYellow,
    clWhite,
    clSilver,
    clWindowText,
    clWindow,
    clBtnFace,
    clInfoBk,
    clBtnHighlight,
    clBtnShadow,
    clWindowFrame,
};

const char *colorName(ColorName color);

enum Bevel { bvNone, bvLowered, bvRaised };
const char *bevelName(Bevel bevel);

enum FontStyle { fsBold = 1, fsItalic = 2 };

// The context in which the rows' texts are translated.
inline constexpr const char *textContext = "layout";

// The two faces the layout names; the program maps them to installed fonts.
inline constexpr const char *PGothic = "ＭＳ Ｐゴシック";
inline constexpr const char *Gothic = "ＭＳ ゴシック";

struct FontSpec {
    const char *name;
    int height; // negative: character height in pixels
    int style;  // FontStyle bits
    ColorName color;
};

// The window's own font, inherited by every widget without a font of its own.
inline constexpr FontSpec windowFont{PGothic, -12, 0, clWindowText};

struct Row {
    Kind kind = TPanel;
    const char *name = "";
    bool topLevel = false;
    int left = 0, top = 0, width = 0, height = 0;

    const char *captionText = "";
    std::vector<const char *> entries; // Items of a list or combo box
    const char *linesText = "";        // Lines of a memo, a line break between lines
    const char *text = "";             // combo box field text
    std::optional<FontSpec> ownFont;
    bool visible = true;
    std::optional<ColorName> ownColor;
    int tab = 0;
    Bevel bevelInner = bvNone;
    Bevel bevelOuter = bvRaised;
    int bevelWidth = 1;
    int borderWidth = 0;
    bool borderSingle = false;
    int itemHeightPx = 0;
    bool closeKind = false;
    const char *pictureName = nullptr; // embedded picture, by file name without ".bmp"
    // What a scene panel stands for or a picture shows, as screen readers
    // name it ("分かれ道", "村人の並木さん"): never drawn.
    const char *subjectText = "";
    const char *onClick = nullptr;

    Row &&caption(const char *c) && {
        captionText = c;
        return std::move(*this);
    }
    Row &&items(std::vector<const char *> e) && {
        entries = std::move(e);
        return std::move(*this);
    }
    // A memo's lines as one text, so that each language breaks its lines
    // where its own words fill a row: "並木さん\n" "　「ここら辺は気を\n" ...
    Row &&lines(const char *text) && {
        linesText = text;
        return std::move(*this);
    }
    Row &&fieldText(const char *t) && {
        text = t;
        return std::move(*this);
    }
    Row &&font(const char *name, int height, int style, ColorName color) && {
        ownFont = FontSpec{name, height, style, color};
        return std::move(*this);
    }
    Row &&hidden() && {
        visible = false;
        return std::move(*this);
    }
    Row &&color(ColorName c) && {
        ownColor = c;
        return std::move(*this);
    }
    Row &&tabOrder(int t) && {
        tab = t;
        return std::move(*this);
    }
    Row &&bevels(Bevel inner, Bevel outer) && {
        bevelInner = inner;
        bevelOuter = outer;
        return std::move(*this);
    }
    Row &&bevel(int width) && {
        bevelWidth = width;
        return std::move(*this);
    }
    Row &&border(int width) && {
        borderWidth = width;
        return std::move(*this);
    }
    Row &&bsSingle() && {
        borderSingle = true;
        return std::move(*this);
    }
    Row &&itemHeight(int h) && {
        itemHeightPx = h;
        return std::move(*this);
    }
    Row &&bkClose() && {
        closeKind = true;
        return std::move(*this);
    }
    // The picture and what it shows.
    Row &&picture(const char *name, const char *shows) && {
        pictureName = name;
        subjectText = shows;
        return std::move(*this);
    }
    // The place or person a scene stands for.
    Row &&subject(const char *standsFor) && {
        subjectText = standsFor;
        return std::move(*this);
    }
    Row &&click(const char *handler) && {
        onClick = handler;
        return std::move(*this);
    }
};

inline Row makeRow(Kind kind, const char *name, bool topLevel, int left, int top, int width,
                   int height) {
    Row row;
    row.kind = kind;
    row.name = name;
    row.topLevel = topLevel;
    row.left = left;
    row.top = top;
    row.width = width;
    row.height = height;
    return row;
}
inline Row scene(Kind kind, const char *name, int left, int top, int width, int height) {
    return makeRow(kind, name, true, left, top, width, height);
}
inline Row child(Kind kind, const char *name, int left, int top, int width, int height) {
    return makeRow(kind, name, false, left, top, width, height);
}

using Region = std::vector<Row>;

} // namespace layout
