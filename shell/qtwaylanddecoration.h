// Qt 6.4's interface for title bars that Wayland clients draw themselves
// (the "wayland-decoration-client" plugins), declared as libQt6WaylandClient
// 6.4 exports it. Debian ships no private headers for Qt's Wayland client,
// so the two classes a title bar plugin needs are declared here, member for
// member as Qt 6.4 has them: the virtual functions must stay in this order.
// Qt's meta-objects for both classes come from the library: this header is
// not run through moc.
#pragma once

#include <QEventPoint>
#include <QImage>
#include <QMargins>
#include <QObject>
#include <QPointF>
#include <QString>
#include <QStringList>

#if QT_VERSION < QT_VERSION_CHECK(6, 4, 0) || QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
#error "the declarations below are those of Qt 6.4"
#endif

QT_BEGIN_NAMESPACE

class QPaintDevice;
class QWindow;

namespace QtWaylandClient {

class QWaylandWindow;
class QWaylandInputDevice;

class QWaylandAbstractDecoration : public QObject {
    Q_OBJECT
public:
    enum MarginsType { Full, ShadowsExcluded, ShadowsOnly };

    QWaylandAbstractDecoration();
    ~QWaylandAbstractDecoration() override;

    void setWaylandWindow(QWaylandWindow *window);
    QWaylandWindow *waylandWindow() const;

    void update();
    bool isDirty() const;

    virtual QMargins margins(MarginsType marginsType = Full) const = 0;

    QWindow *window() const;
    const QImage &contentImage();

    virtual bool handleMouse(QWaylandInputDevice *inputDevice, const QPointF &local,
                             const QPointF &global, Qt::MouseButtons b,
                             Qt::KeyboardModifiers mods) = 0;
    virtual bool handleTouch(QWaylandInputDevice *inputDevice, const QPointF &local,
                             const QPointF &global, QEventPoint::State state,
                             Qt::KeyboardModifiers mods) = 0;

protected:
    virtual void paint(QPaintDevice *device) = 0;

    void setMouseButtons(Qt::MouseButtons mb);

    void startResize(QWaylandInputDevice *inputDevice, Qt::Edges edges, Qt::MouseButtons buttons);
    void startMove(QWaylandInputDevice *inputDevice, Qt::MouseButtons buttons);
    void showWindowMenu(QWaylandInputDevice *inputDevice);

    bool isLeftClicked(Qt::MouseButtons newMouseButtonState);
    bool isRightClicked(Qt::MouseButtons newMouseButtonState);
    bool isLeftReleased(Qt::MouseButtons newMouseButtonState);
};

class QWaylandDecorationPlugin : public QObject {
    Q_OBJECT
public:
    explicit QWaylandDecorationPlugin(QObject *parent = nullptr);
    ~QWaylandDecorationPlugin() override;

    virtual QWaylandAbstractDecoration *create(const QString &key,
                                               const QStringList &paramList) = 0;
};

} // namespace QtWaylandClient

QT_END_NAMESPACE

#define QWaylandDecorationFactoryInterface_iid                                                     \
    "org.qt-project.Qt.WaylandClient.QWaylandDecorationFactoryInterface.5.4"
