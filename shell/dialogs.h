// The game's two dialogs: the message box that narrates the story and the
// prompt that asks for the player's name. Their geometry follows fixed rules
// in units of the dialog font's average character size.
#pragma once

#include "storytext.h"

#include <QDialog>
#include <QFont>
#include <QLineEdit>
#include <QRect>
#include <QString>
#include <QTextLayout>
#include <QValidator>
#include <limits>

class QLabel;
class QPushButton;

// Average character size of a font: aw is the width of "A".."Z""a".."z" / 52,
// ah the height of that text.
struct CharSize {
    int aw = 0;
    int ah = 0;
};
CharSize charSize(const QFont &font);

// Horizontal and vertical dialog units in pixels, halves rounded upward.
int unitsX(int units, CharSize size);
int unitsY(int units, CharSize size);

struct MessageGeometry {
    QSize client;
    QRect text;
    QRect button;
};
// Message box layout for a text measuring textSize, with buttonWidth already
// the larger of 50 units and the pixel width of "OK" plus 8.
MessageGeometry messageGeometry(CharSize size, QSize textSize, int buttonWidth);

struct PromptGeometry {
    QSize client;
    QPoint label;
    QRect edit;
    QRect ok;
    QRect cancel;
};
PromptGeometry promptGeometry(CharSize size, int editHeight);

// Bytes a text takes in the game's text encoding, code page 932: one for
// ASCII and half-width katakana, two for every other character.
int cp932Length(const QString &text);

// Keeps the name field to one line within 255 bytes of code page 932. An
// insertion keeps its first line, as a one-line field on Windows keeps of a
// paste: it is cut before its first line or paragraph break (CR, LF, VT,
// FF, NEL, U+2028, U+2029), and one that starts with a break (a break typed
// alone) inserts nothing. An insertion that would pass the limit is cut to
// the part that fits, never mid-character.
class Cp932LimitValidator : public QValidator {
    Q_OBJECT
public:
    Cp932LimitValidator(QLineEdit *field, int limit);
    State validate(QString &input, int &pos) const override;

private:
    QString m_before; // the field's text before the change being validated
    int m_limit;
};

// Text shown exactly as given, never markup, never mnemonics, left-aligned,
// tabs expanded and wrapped at word boundaries to a width; only a word wider
// than a whole line is broken inside, where it has to be. A player's name in
// it is drawn isolated from the text around it; text() is the text as given.
// Lines that would pass maxHeight are left out, the last one shown ending
// in "…".
class PlainTextView : public QWidget {
    Q_OBJECT
public:
    PlainTextView(const StoryText &text, const QFont &font, int maxWidth, QWidget *parent,
                  int maxHeight = std::numeric_limits<int>::max());
    QString text() const { return m_text; }
    // The wrapped text's extent: its widest line and all lines' height.
    QSize textSize() const { return m_size; }
    // The text of each line as drawn.
    QStringList lines() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    QTextLayout m_layout;
    QSize m_size;
};

// Screen readers meet a message box as an alert, named by its title and
// described by its text.
class MessageBox : public QDialog {
    Q_OBJECT
public:
    MessageBox(const QString &title, const StoryText &text, QWidget *parent);
    QString text() const;
    QPushButton *button() const { return m_button; }
    static QFont messageFont();

protected:
    void showEvent(QShowEvent *event) override;

private:
    PlainTextView *m_text = nullptr;
    QPushButton *m_button = nullptr;
};

// The field is labelled by the prompt for screen readers, and takes text
// from input methods as from the keyboard: the byte limit holds for both.
class NamePrompt : public QDialog {
    Q_OBJECT
public:
    NamePrompt(const QString &caption, const QString &prompt, const QString &defaultText,
               QWidget *parent);
    QString prompt() const;
    QString defaultText() const { return m_default; }
    QLineEdit *field() const { return m_field; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }
    // The field's text after OK, the default text for every other ending.
    QString result() const;
    static QFont dialogFont();
    static constexpr int byteLimit = 255;

private:
    QString m_default;
    QString m_promptText;
    QLabel *m_prompt = nullptr;
    QLineEdit *m_field = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

// Places a dialog's client area centred on the screen it belongs to.
void centreOnScreen(QDialog *dialog);
