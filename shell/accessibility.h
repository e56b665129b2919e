// Playing without seeing the screen or without a mouse: what screen readers
// learn about the widget kinds Qt cannot describe by itself, the short
// Japanese names of the pictures and of the scenes' places and persons, and
// where the keyboard focus goes when a new scene comes on screen.
//
// The accessible interfaces are made by a factory that Qt asks only when an
// assistive tool (or a widget's own change notice) needs one; nothing here
// runs for each widget at start-up.
#pragma once

#include <QString>

class QWidget;

namespace accessibility {

// What a picture shows, by its embedded file name ("villager" gives
// 村人の並木さん); empty for a picture the game does not know.
QString pictureSubject(const QString &pictureName);

// The place or person a scene panel stands for, by the panel's name
// ("bukiya" gives 武器屋); empty for an unknown name.
QString sceneSubject(const QString &panelName);

// A panel's caption as a reader should say it: without the blanks that pad
// it (ideographic spaces included), and empty where the caption is only the
// panel's own name.
QString spokenCaption(const QString &panelName, const QString &caption);

// The name a screen reader gives a scene panel: its spoken caption, or
// where it has none, the place or person it stands for.
QString panelName(const QString &panelName, const QString &caption);

// Gives a widget an accessible name (and a description, where one is
// given) that only screen readers need: at once while an assistive tool
// listens, else when one starts listening. (Naming a widget makes Qt build
// its accessible interface, which nothing else needs.)
void nameForReaders(QWidget *widget, const QString &name, const QString &description = {});

// Starts following whether an assistive tool listens, for nameForReaders.
// Called once the accessibility bus is settled: on recent Qt, the first to
// follow makes Qt connect its reader bridge, to the bus known at that
// moment, for good.
void followReaders();

// What a reader says of a memo besides its speaker: the lines after the
// first, joined as one sentence (the lines were broken by hand to fit the
// memo's width, often inside a word).
QString memoSpeech(const QStringList &lines);

// Tells readers which entry of a list the keyboard has just picked where Qt
// itself tells nothing (the entry was marked already, only its selection
// changed).
void announceListEntry(QWidget *list, int row);

// The name screen readers give the game's message boxes.
QString gameTitle();

// Tells assistive technology that an alert (a message box) has appeared.
void announceAlert(QWidget *alert);

} // namespace accessibility
