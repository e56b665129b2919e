// Playing without seeing the screen: what screen readers learn about the
// game's widget kinds that Qt cannot describe by itself, and how the game's
// scenes and memos are spoken. (Finding the readers' bus and putting Qt's
// reader bridge right is the platform's: platform/readers.h. The names of
// the scenes' places and persons and of the pictures are the scenes' own,
// in their rows.)
//
// The accessible interfaces are made by a factory that Qt asks only when an
// assistive tool (or a widget's own change notice) needs one; nothing here
// runs for each widget at start-up.
#pragma once

#include <QString>
#include <QStringList>

namespace accessibility {

// Installs the factory of the game's interfaces. Once the application
// object is made, before the first widget.
void installInterfaces();

// A panel's caption as a reader should say it: without the blanks that pad
// it (ideographic spaces included), and empty where the caption is only the
// panel's own name.
QString spokenCaption(const QString &panelName, const QString &caption);

// The name a screen reader gives a scene panel: its spoken caption, or
// where it has none, the place or person it stands for (its subject).
QString panelName(const QString &panelName, const QString &caption, const QString &subject);

// What a reader says of a memo besides its speaker: the lines after the
// first, joined as one sentence. The lines were broken by hand to fit the
// memo's width: Japanese often inside a word, so its lines join directly;
// English between words, so its lines join with a blank.
QString memoSpeech(const QStringList &lines);

// The name screen readers give the game's message boxes.
QString gameTitle();

// Whether a message box is described by its text and has it as its own
// text besides its static text: where Qt is 6.8 or later, whose Orca (48 and
// later) reads no Japanese static text, but a description or an alert's own
// text. (Orca 43, with Qt 6.4, reads the static text, and either again.)
bool alertHoldsItsText();

} // namespace accessibility
