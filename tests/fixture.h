// What the QtTest suites share: the set-up every suite starts with, an
// observer that is the story's only while it lives, and one dialog answerer.
#pragma once

#include "services.h"

#include <QString>
#include <QStringList>
#include <functional>

class MessageBox;
class NamePrompt;
class QWidget;

namespace fixture {

// The game's faces, style and palette, its interfaces for screen readers
// with the fixes to Qt's reader bridge, and no sound: what the game has set
// up before it shows its window.
void setUp();

// Makes the observer the story's for as long as this lives. Leaving the
// scope unsets it, also when a failed check returns from the test function
// partway: a story left watched by an observer gone from the stack would
// call into it from the next test.
class Observing {
public:
    explicit Observing(StoryObserver &observer);
    ~Observing() { end(); }
    Observing(const Observing &) = delete;
    Observing &operator=(const Observing &) = delete;
    // Unsets the observer before the scope ends.
    void end();

private:
    bool m_watching = true;
};

// Answers each dialog as it opens, queued into the dialog's own event loop as
// a player's input would be: the name prompt with onPrompt (unset: Enter on
// the prompt's window), every message box with onMessage (unset: Enter on
// its button). Keeps the text of every message box, and counts the beeps.
class Answerer : public StoryObserver {
public:
    std::function<void(NamePrompt *)> onPrompt;
    std::function<void(MessageBox *)> onMessage;
    QStringList messages;
    int beeps = 0;

    void beeped() override;
    void promptOpening(NamePrompt *prompt) override;
    void messageOpening(MessageBox *box) override;
};

// Types the text into the widget a character at a time, each a key with no
// key code, as an input method hands text on.
void typeText(QWidget *widget, const QString &text);

} // namespace fixture
