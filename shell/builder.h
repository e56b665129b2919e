// Turns the layout rows into the window's widgets, and binds the window's
// fields and click handlers to them by name: a field by the name it is
// declared with, an OnClick name to the TForm1 slot of that name.
//
// Start-up makes only what is on screen at start (the title and START).
// Every other top-level widget is made when a handler (or a tool) first
// reaches it, or when a screen reader starts listening (readers meet hidden
// scenes too); the widgets inside a scene when the scene first comes on
// screen (or when one of them is first reached). Each is put where it would
// have been had everything been made at once: in the stacking order, the
// tab order and the screen readers' tree.
#pragma once

#include "form1.h"

#include <QObject>
#include <stdexcept>

// A layout that cannot be built: an unknown handler, a missing or doubled
// name, a field of the wrong kind. Start-up stops with its message.
class LayoutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class LayoutBuilder : public QObject {
public:
    explicit LayoutBuilder(TForm1 *form) : m_form(form) {}
    // Checks every row and makes the top-level widgets on screen at start;
    // with fitTextLater, their labels keep their rows' size until
    // fitPendingText().
    void build(bool fitTextLater);
    // Makes the top-level widget at position `scene` of built().
    void makeScene(int scene);
    // Makes the widgets inside the scene at position `scene` of built(), and
    // the scene itself first where needed.
    void buildScene(int scene);
    // Sizes the labels that build() left at their rows' size to their text.
    void fitPendingText();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void index();
    void bindFields();
    // Whether the scene's widgets are made (a scene without any always is).
    bool isMade(int scene) const;
    void makeEveryScene();
    void placeInStack(int scene);
    QWidget *make(const layout::Row &row, QWidget *parent, const layout::FontSpec &font);
    void focusShownScene(QWidget *scene);
    void bindClick(const layout::Row &row, QWidget *widget);
    void stackStaticKindsBelow(QWidget *container);
    void chainTabOrder();

    TForm1 *m_form;
    std::vector<int> m_sceneEnd;     // for a scene, the position after its last widget
    QHash<QObject *, int> m_sceneAt; // top-level widget -> its position in built()
    bool m_fitTextLater = false;
    std::vector<std::pair<kinds::TLabel *, QPoint>> m_unfitted; // label, text origin
};
