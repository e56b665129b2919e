// The texts of the narration, and the player's name inside them.
//
// A name may hold right-to-left letters and the invisible marks that steer
// the direction of text (overrides, embeddings, isolates). Shown as typed,
// such marks would run on into the fixed text after the name and reorder
// it. A message that names the player therefore knows where the name ends,
// and the message box shows the name isolated from the rest; the text itself
// (what a screen reader and the scripted player read) stays as typed.
#pragma once

#include <QString>

class StoryText;

// The player's name as typed: a QString that, joined with a fixed text
// (name first, as every narration that names the player is), gives a
// StoryText knowing where the name ends.
class PlayerNameText : public QString {
public:
    PlayerNameText() = default;
    PlayerNameText(const QString &name) : QString(name) {}
    PlayerNameText &operator=(const QString &name) {
        QString::operator=(name);
        return *this;
    }
};

// The text of one message box, and how many of its first UTF-16 units are
// the player's name (none for a fixed text).
class StoryText {
public:
    StoryText(const QString &text) : m_text(text) {}
    StoryText(const PlayerNameText &name, const QString &rest)
        : m_text(name + rest), m_nameLength(name.size()) {}

    const QString &text() const { return m_text; }
    operator const QString &() const { return m_text; }
    qsizetype nameLength() const { return m_nameLength; }

    // The text to draw: the name in a first-strong isolate of its own, its
    // stray or unclosed direction marks balanced so that none reaches the
    // text after it. Identical to text() for a fixed text.
    QString display() const;

private:
    QString m_text;
    qsizetype m_nameLength = 0;
};

inline StoryText operator+(const PlayerNameText &name, const QString &rest) {
    return StoryText(name, rest);
}

// The name as drawn inside a message: each of its paragraphs (the bidi
// algorithm starts afresh after a paragraph separator) wrapped in FSI ... PDI,
// with its own unmatched PDIs dropped and its open isolates closed.
QString isolatedName(QStringView name);
