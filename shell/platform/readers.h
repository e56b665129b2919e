// Screen readers (Orca and other AT-SPI tools): finding their bus, and
// putting right what Qt's reader bridge sends them, so that a blind player
// hears each scene and message once, in order. The game describes its own
// widget kinds (shell/accessibility.h); what is here knows no game.
#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

class QObject;
class QWidget;

namespace platform {

// After the QApplication is made and before the first widget. Without a
// session bus, screen readers' bus is found where the accessibility bus
// launcher publishes it on an X display (the root window's AT_SPI_BUS) and
// handed to Qt in AT_SPI_BUS_ADDRESS; wherever that is set, Qt's AT-SPI
// bridge is started (Qt 6.4 connects to the bus named there but does not
// start the bridge by itself). (readers_bus.cpp)
void findAccessibilityBus();

// After the display is open, before the bus is found (on recent Qt that
// starts the bridge, which warns at once about what readers listen for)
// and before the first widget: what Qt's AT-SPI bridge sends goes out in
// the order and form readers expect, and its noise (isReaderNoise) is not
// printed. (readers_bridge.cpp)
void installReaderBridgeFixes();

// Whether a message from Qt is the reader bridge's noise, which the fixes
// keep off the output: its warning that a reader took long to look at a key
// (the key reaches the game all the same), and its warnings about a
// reader's questions it cannot answer (objects already gone, events and
// interfaces it does not have).
bool isReaderNoise(QtMsgType type, const char *category, const QString &text);

// Starts following whether an assistive tool listens, for nameForReaders.
// Called once the accessibility bus is settled: on recent Qt, the first to
// follow makes Qt connect its reader bridge, to the bus known at that
// moment, for good.
void followReaders();

// Gives a widget an accessible name (and a description, where one is
// given) that only screen readers need: at once while an assistive tool
// listens, else when one starts listening. (Naming a widget makes Qt build
// its accessible interface, which nothing else needs.)
void nameForReaders(QWidget *widget, const QString &name, const QString &description = {});

// Runs WORK once an assistive tool listens: at once if one does, else when
// one starts listening (unless CONTEXT is gone by then).
void whenReadersListen(QObject *context, std::function<void()> work);

// Tells readers which entry of a list the keyboard has just picked where Qt
// itself tells nothing (the entry was marked already, only its selection
// changed).
void announceListEntry(QWidget *list, int row);

// Tells assistive technology that an alert (a message box) has appeared.
void announceAlert(QWidget *alert);

} // namespace platform
