#include "dialogs.h"

#include "accessibility.h"
#include "look.h"
#include "widgets.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <cmath>

CharSize charSize(const QFont &font) {
    const QFontMetrics metrics(font);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return {metrics.horizontalAdvance(letters) / 52, metrics.height()};
}

int unitsX(int units, CharSize size) {
    return (units * size.aw * 2 + 4) / 8;
}
int unitsY(int units, CharSize size) {
    return (units * size.ah * 2 + 8) / 16;
}

MessageGeometry messageGeometry(CharSize size, QSize textSize, int buttonWidth) {
    const int marginX = unitsX(8, size);
    const int marginY = unitsY(8, size);
    const int gap = unitsY(10, size);
    const int buttonHeight = unitsY(14, size);
    MessageGeometry g;
    g.client = QSize(std::max(textSize.width(), buttonWidth) + 2 * marginX,
                     textSize.height() + buttonHeight + gap + 2 * marginY);
    g.text = QRect(QPoint(marginX, marginY), textSize);
    g.button = QRect((g.client.width() - buttonWidth) / 2, marginY + textSize.height() + gap,
                     buttonWidth, buttonHeight);
    return g;
}

PromptGeometry promptGeometry(CharSize size, int editHeight) {
    PromptGeometry g;
    g.client = QSize(unitsX(180, size), unitsY(63, size));
    g.label = QPoint(unitsX(8, size), unitsY(8, size));
    g.edit = QRect(g.label.x(), unitsY(19, size), unitsX(164, size), editHeight);
    const QSize button(unitsX(50, size), unitsY(14, size));
    g.ok = QRect(QPoint(unitsX(38, size), unitsY(41, size)), button);
    g.cancel = QRect(QPoint(unitsX(92, size), unitsY(41, size)), button);
    return g;
}

int cp932Length(const QString &text) {
    int bytes = 0;
    for (const char32_t c : text.toUcs4())
        bytes += (c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F)) ? 1 : 2;
    return bytes;
}

Cp932LimitValidator::Cp932LimitValidator(QLineEdit *field, int limit)
    : QValidator(field), m_before(field->text()), m_limit(limit) {
    connect(field, &QLineEdit::textChanged, this, [this](const QString &text) { m_before = text; });
}

QValidator::State Cp932LimitValidator::validate(QString &input, int &pos) const {
    if (cp932Length(input) <= m_limit)
        return Acceptable;
    // What this change inserted ends at the cursor (typing, pasting and an
    // input method's commit all leave the cursor after their text); what
    // follows the cursor is the unchanged rest of the old text.
    const QString &before = m_before;
    int tail = int(input.size()) - std::clamp(pos, 0, int(input.size()));
    if (tail > before.size() || !before.endsWith(QStringView(input).right(tail)))
        tail = 0;
    int head = 0;
    const int headLimit = std::min(int(input.size()) - tail, int(before.size()) - tail);
    while (head < headLimit && before[head] == input[head])
        ++head;
    // Never split a surrogate pair at the head.
    if (head > 0 && input[head - 1].isHighSurrogate())
        --head;
    const QString inserted = input.mid(head, input.size() - head - tail);
    const QString kept = input.left(head) + input.right(tail);
    const int room = m_limit - cp932Length(kept);
    if (room <= 0)
        return Invalid;
    // Keep the longest run of whole characters that fits.
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, inserted);
    int fits = 0;
    for (int at = graphemes.toNextBoundary(); at > 0; at = graphemes.toNextBoundary()) {
        if (cp932Length(inserted.left(at)) > room)
            break;
        fits = at;
    }
    if (fits == 0)
        return Invalid;
    input = input.left(head) + inserted.left(fits) + input.right(tail);
    pos = head + fits;
    return Acceptable;
}

PlainTextView::PlainTextView(const StoryText &text, const QFont &font, int maxWidth,
                             QWidget *parent)
    : QWidget(parent), m_text(text.text()) {
    setFont(font);
    const QFontMetrics metrics(font);
    // Line breaks in the text end lines; tabs stop every eight characters.
    QString shown = text.display();
    shown.replace(u'\n', QChar::LineSeparator);
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(8 * metrics.horizontalAdvance(u'x'));
    m_layout.setText(shown);
    m_layout.setFont(font);
    m_layout.setTextOption(option);
    // Every line is as high as the font's: a character drawn from another
    // face (a name's, or an invisible direction mark) never moves the lines.
    const int lineHeight = metrics.height() + std::max(0, metrics.leading());
    m_layout.beginLayout();
    qreal width = 0;
    int lines = 0;
    for (QTextLine line = m_layout.createLine(); line.isValid(); line = m_layout.createLine()) {
        line.setLineWidth(maxWidth);
        line.setPosition(QPointF(0, lines++ * lineHeight));
        width = std::max(width, line.naturalTextWidth());
    }
    m_layout.endLayout();
    m_size = QSize(std::min(int(std::ceil(width)), maxWidth), std::max(lines, 1) * lineHeight);
}

QStringList PlainTextView::lines() const {
    QStringList lines;
    for (int i = 0; i < m_layout.lineCount(); ++i) {
        const QTextLine line = m_layout.lineAt(i);
        lines << m_layout.text().mid(line.textStart(), line.textLength());
    }
    return lines;
}

void PlainTextView::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    m_layout.draw(&painter, QPointF(0, 0));
}

namespace {

constexpr Qt::WindowFlags dialogFrame = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                        Qt::MSWindowsFixedSizeDialogHint;

// Width of the message box's button, measured once per run.
int messageButtonWidth(const QFont &font, CharSize size) {
    static const int okWidth = QFontMetrics(font).horizontalAdvance(QStringLiteral("OK"));
    return std::max(unitsX(50, size), okWidth + 8);
}

} // namespace

QFont MessageBox::messageFont() {
    // The desktop's message font; Japanese it lacks is drawn in the game's
    // own proportional face rather than whatever face the system picks.
    QFont font = QApplication::font("QMessageBox");
    font.setFamilies({font.family(), QString::fromLatin1(gameFaceFamily)});
    // Its points are counted at the layout's density, as the prompt's are.
    if (font.pointSizeF() > 0)
        font.setPixelSize(qRound(font.pointSizeF() * 96 / 72));
    gameFontRendering(font);
    return font;
}

MessageBox::MessageBox(const QString &title, const StoryText &story, QWidget *parent)
    : QDialog(parent, dialogFrame) {
    setWindowTitle(title);
    setWindowModality(Qt::ApplicationModal);
    const QFont font = messageFont();
    setFont(font);
    const CharSize size = charSize(font);
    const QScreen *screen =
        parent && parent->screen() ? parent->screen() : QApplication::primaryScreen();
    const int maxWidth = screen ? screen->geometry().width() / 2 : 400;
    m_text = new PlainTextView(story, font, maxWidth, this);
    const MessageGeometry g =
        messageGeometry(size, m_text->textSize(), messageButtonWidth(font, size));
    m_text->setGeometry(g.text);
    m_button = new QPushButton(QStringLiteral("OK"), this);
    m_button->setGeometry(g.button);
    m_button->setDefault(true);
    m_button->setAutoDefault(true);
    // The button is the connection's context, so that screen readers do not
    // take the box for something the button controls.
    connect(m_button, &QPushButton::clicked, m_button, [this] { accept(); });
    setFixedSize(g.client);
    m_button->setFocus();
    centreOnScreen(this);
}

QString MessageBox::text() const {
    return m_text->text();
}

void MessageBox::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    accessibility::announceAlert(this);
}

QFont NamePrompt::dialogFont() {
    // At the layout's density: a denser display enlarges the dialog by its
    // device pixel ratio, and a larger font density alone changes nothing.
    constexpr int dpi = 96;
    if (QLocale::system().language() == QLocale::Japanese) {
        QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
        font.setPixelSize(9 * dpi / 72);
        gameFontRendering(font);
        return font;
    }
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(8 * dpi / 72);
    return font;
}

NamePrompt::NamePrompt(const QString &caption, const QString &prompt, const QString &defaultText,
                       QWidget *parent)
    : QDialog(parent, dialogFrame), m_default(defaultText), m_promptText(prompt) {
    setWindowTitle(caption);
    setWindowModality(Qt::ApplicationModal);
    const QFont font = dialogFont();
    setFont(font);
    const CharSize size = charSize(font);
    const PromptGeometry g = promptGeometry(size, unitsY(12, size));

    // As the field's buddy the label would read '&' as a mnemonic mark.
    m_prompt = new QLabel(kinds::literalCaption(prompt), this);
    m_prompt->setTextFormat(Qt::PlainText);
    m_prompt->move(g.label);
    m_field = new QLineEdit(defaultText, this);
    m_field->setGeometry(g.edit);
    m_field->setValidator(new Cp932LimitValidator(m_field, byteLimit));
    m_field->setAccessibleName(prompt);
    m_prompt->setBuddy(m_field);
    m_prompt->adjustSize();
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setGeometry(g.ok);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    m_cancel->setGeometry(g.cancel);
    connect(m_ok, &QPushButton::clicked, m_ok, [this] { accept(); });
    connect(m_cancel, &QPushButton::clicked, m_cancel, [this] { reject(); });
    setFixedSize(g.client);
    m_field->selectAll();
    m_field->setFocus();
    centreOnScreen(this);
}

QString NamePrompt::prompt() const {
    return m_promptText;
}

QString NamePrompt::result() const {
    return QDialog::result() == QDialog::Accepted ? m_field->text() : m_default;
}

void centreOnScreen(QDialog *dialog) {
    const QScreen *screen = dialog->screen() ? dialog->screen() : QApplication::primaryScreen();
    if (!screen)
        return;
    QRect client(QPoint(), dialog->size());
    client.moveCenter(screen->geometry().center());
    dialog->move(client.topLeft());
}
