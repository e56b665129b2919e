// Turns the layout rows into the window's widgets, and binds the window's
// fields and click handlers to them by name: a field by the name it is
// declared with, an OnClick name to the TForm1 slot of that name.
//
// The window's top-level widgets are made at start-up; the widgets inside a
// scene are made when the scene first comes on screen (or when one of them
// is first reached), so that start-up does only a handful of widgets' work.
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
    // Checks every row and makes the top-level widgets.
    void build();
    // Makes the widgets inside the scene at position `scene` of built().
    void buildScene(int scene);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void index();
    void bindFields();
    // Whether the scene's widgets are made (a scene without any always is).
    bool isMade(int scene) const;
    QWidget *make(const layout::Row &row, QWidget *parent, const layout::FontSpec &font);
    void focusShownScene(QWidget *scene);
    void bindClick(const layout::Row &row, QWidget *widget);
    void stackStaticKindsBelow(QWidget *container);
    void chainTabOrder();

    TForm1 *m_form;
    std::vector<int> m_sceneEnd;     // for a scene, the position after its last widget
    QHash<QObject *, int> m_sceneAt; // top-level widget -> its position in built()
};
