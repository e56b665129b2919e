// The services the story handlers call: message box, name prompt, beep, and
// the report of a colour change. The game and the scripted player use the
// same real dialogs; an observer can watch every call and answer dialogs.
#pragma once

#include "layout.h"
#include "storytext.h"

#include <QDialog>
#include <QPointer>
#include <QString>

class QWidget;
class MessageBox;
class NamePrompt;

class StoryObserver {
public:
    virtual ~StoryObserver() = default;
    virtual void beeped() {}
    // Called when a dialog is about to run; the observer may queue its answer.
    virtual void messageOpening(MessageBox *) {}
    virtual void promptOpening(NamePrompt *) {}
    virtual void promptClosed(NamePrompt *, const QString &) {}
    virtual void colorSet(layout::ColorName) {}
};

class Services {
public:
    static Services &instance();

    void setObserver(StoryObserver *observer) { m_observer = observer; }
    // Without sound: for scripted play and tests.
    void setSilent(bool silent) { m_silent = silent; }
    void setApplicationTitle(const QString &title) { m_title = title; }
    QString applicationTitle() const { return m_title; }

    void beep();
    void message(QWidget *parent, const StoryText &text);
    QString askName(QWidget *parent, const QString &caption, const QString &prompt,
                    const QString &defaultText);
    void colorSet(layout::ColorName color);

    // The program is to end: the open dialog closes as cancelled, and every
    // later dialog closes at once the same way, so the running handler ends.
    void requestEnd();
    // Lets dialogs run again: for tests that play on after an end request.
    void clearEndRequest() { m_ending = false; }
    bool endRequested() const { return m_ending; }
    // Whether a message box or the name prompt is running.
    bool dialogOpen() const { return !m_active.isNull(); }

private:
    int run(QDialog *dialog);

    StoryObserver *m_observer = nullptr;
    bool m_silent = false;
    bool m_ending = false;
    QString m_title;
    QPointer<QDialog> m_active;
};

// The application title from the program file's name: the name without its
// directory, cut before its first full stop, all but the first character in
// lower case ("STORY.V2.EXE" gives "Story").
QString applicationTitle(const QString &programPath);
