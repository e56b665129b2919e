// Turns the layout rows into the window's widgets, and binds the window's
// fields and click handlers to them by name.
#pragma once

#include "form1.h"

#include <stdexcept>

// A layout that cannot be built: an unknown handler, a missing or doubled
// name, a field of the wrong kind. Start-up stops with its message.
class LayoutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class LayoutBuilder {
public:
    explicit LayoutBuilder(TForm1 *form) : m_form(form) {}
    void build();

private:
    QWidget *make(const layout::Row &row, QWidget *parent, const layout::FontSpec &font);
    void bindClick(const layout::Row &row, QWidget *widget);
    void stackStaticKindsBelow(QWidget *container);
    void chainTabOrder();

    TForm1 *m_form;
};

class FieldBinder {
public:
    explicit FieldBinder(const TForm1 &form) : m_form(form) {}

    template <class Kind> void bind(const char *name, Kind *&field) {
        const TForm1::Built *built = m_form.find(QString::fromUtf8(name));
        Kind *widget = built ? qobject_cast<Kind *>(built->widget) : nullptr;
        if (!widget)
            throw LayoutError(std::string("the window's field ") + name +
                              " has no widget of its kind in the layout");
        field = widget;
        ++m_bound;
    }
    void checkAllBound() const;

private:
    const TForm1 &m_form;
    size_t m_bound = 0;
};
