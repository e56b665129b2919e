// The scripted player: plays a script of player actions through the real
// window and its real dialogs, and writes what a player would have seen as
// one JSON object per line.
#pragma once

#include "form1.h"
#include "services.h"

#include <QApplication>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <deque>
#include <optional>

class Player : public StoryObserver {
public:
    Player(TForm1 &form, QTextStream &out);
    ~Player() override;

    // Plays the steps; returns the exit status (0, or 2 after an error).
    int play(const QStringList &script);
    // The built widget tree as a JSON array, one widget a line.
    static void printLayout(TForm1 &form, QTextStream &out);

    void beeped() override;
    void messageOpening(MessageBox *box) override;
    void promptOpening(NamePrompt *prompt) override;
    void promptClosed(NamePrompt *prompt, const QString &result) override;
    void colorSet(layout::ColorName color) override;

private:
    struct Answer {
        enum How { Ok, Cancel, Close } how;
        std::optional<QString> text;
    };
    struct StepError {
        QString message;
    };

    void runStep(const QString &line);
    QWidget *onScreenWidget(const QString &name) const;
    QWidget *namedWidget(const QString &name) const;
    QString screenJson() const;
    QString colorJson() const;
    void emitLine(const QString &json);
    [[noreturn]] void fail(const QString &message);

    TForm1 &m_form;
    QTextStream &m_out;
    std::deque<Answer> m_answers;
    bool m_closed = false;
    QString m_promptCaption, m_promptLabel, m_promptDefault;
};

// The application of a scripted run: Qt's offscreen platform, the game's
// faces, no sound, and the game's own title on its message boxes.
class PlaybackApplication : public QApplication {
public:
    PlaybackApplication(int &argc, char **argv);

private:
    static int &offscreen(int &argc);
};

// A player's input, delivered as real mouse events: a click in the middle of
// a widget, and picking an entry of a list box or combo box (for a combo box,
// from its drop-down list). chooseEntry is false for anything else.
void clickWidget(QWidget *widget);
bool chooseEntry(QWidget *widget, int index);

// JSON text for a string, with the escapes JSON requires.
QString jsonString(const QString &text);
