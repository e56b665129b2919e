// The texts of the narration, and the player's name inside them.
//
// A name may hold right-to-left letters and the invisible marks that steer
// the direction of text (overrides, embeddings, isolates). Shown as typed,
// such marks would run on into the fixed text around the name and reorder
// it. A message that names the player therefore knows where the name lies,
// and the message box shows the name isolated from the rest; the text itself
// (what a screen reader and the scripted player read) stays as typed.
#pragma once

#include <QString>

// The text of one message box, and where the player's name lies in it (a
// fixed text names no one).
class StoryText {
public:
    StoryText(const QString &text) : m_text(text) {}
    // The narration `pattern` with the name in place of its "%1", wherever
    // the sentence puts it (the Japanese narration puts it first,
    // "%1は先に進むためしばらく歩いた。"; another language's grammar may
    // want it elsewhere).
    StoryText(const QString &pattern, const QString &name);

    const QString &text() const { return m_text; }
    operator const QString &() const { return m_text; }
    qsizetype nameStart() const { return m_nameStart; }
    qsizetype nameLength() const { return m_nameLength; }

    // The text to draw: the name in a first-strong isolate of its own, its
    // stray or unclosed direction marks balanced so that none reaches the
    // text around it. Identical to text() for a fixed text.
    QString display() const;

private:
    QString m_text;
    qsizetype m_nameStart = 0;
    qsizetype m_nameLength = 0;
};

// The name as drawn inside a message: each of its paragraphs (the bidi
// algorithm starts afresh after a paragraph separator) wrapped in FSI ... PDI,
// with its own unmatched PDIs dropped and its open isolates closed.
QString isolatedName(QStringView name);
