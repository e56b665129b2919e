#include "dialogs.h"

#include "look.h"
#include "platform/clipboard_wait.h"
#include "platform/readers.h"
#include "widgets.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
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

namespace {

// Where the first line or paragraph break in the text is, or -1.
qsizetype firstLineBreak(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        switch (text[i].unicode()) {
        case 0x0A:
        case 0x0B:
        case 0x0C:
        case 0x0D:
        case 0x85:
        case 0x2028:
        case 0x2029:
            return i;
        default:
            break;
        }
    }
    return -1;
}

} // namespace

QValidator::State Cp932LimitValidator::validate(QString &input, int &pos) const {
    const bool hasBreak = firstLineBreak(input) >= 0;
    if (!hasBreak && cp932Length(input) <= m_limit)
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
    QString inserted = input.mid(head, input.size() - head - tail);
    if (hasBreak) {
        const qsizetype cut = firstLineBreak(inserted);
        if (cut == 0 || firstLineBreak(QStringView(input).left(head)) >= 0 ||
            firstLineBreak(QStringView(input).right(tail)) >= 0)
            return Invalid;
        if (cut > 0)
            inserted.truncate(cut);
    }
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
                             QWidget *parent, int maxHeight)
    : QWidget(parent), m_text(text.text()) {
    setFont(font);
    const QFontMetrics metrics(font);
    // Line breaks in the text end lines; tabs stop every eight characters.
    QString shown = text.display();
    shown.replace(u'\n', QChar::LineSeparator);
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(8 * metrics.horizontalAdvance(u'x'));
    m_layout.setFont(font);
    m_layout.setTextOption(option);
    // Every line is as high as the font's: a character drawn from another
    // face (a name's, or an invisible direction mark) never moves the lines.
    const int lineHeight = metrics.height() + std::max(0, metrics.leading());
    qreal width = 0;
    const auto layOut = [&](const QString &lines) {
        m_layout.setText(lines);
        m_layout.beginLayout();
        width = 0;
        int count = 0;
        for (QTextLine line = m_layout.createLine(); line.isValid(); line = m_layout.createLine()) {
            line.setLineWidth(maxWidth);
            line.setPosition(QPointF(0, count++ * lineHeight));
            width = std::max(width, line.naturalTextWidth());
        }
        m_layout.endLayout();
        return count;
    };
    int lines = layOut(shown);
    const int fitting = std::max(1, maxHeight / std::max(1, lineHeight));
    if (lines > fitting) {
        const QTextLine last = m_layout.lineAt(fitting - 1);
        qsizetype end = last.textStart() + last.textLength();
        do {
            end = std::max<qsizetype>(0, end - 1);
            lines = layOut(shown.left(end) + QChar(0x2026));
        } while (lines > fitting && end > 0);
    }
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

// A paste into the field waits for the clipboard's owner at most a second:
// where it does not answer by then, the paste (by key, by the middle button
// or through the context menu, which reads the clipboard to offer Paste)
// does nothing.
class PasteGuard : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *, QEvent *event) override {
        constexpr int limitMs = 1000;
        switch (event->type()) {
        case QEvent::KeyPress:
            return static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste) &&
                   !platform::clipboardAnswers(false, limitMs);
        case QEvent::ContextMenu:
            return !platform::clipboardAnswers(false, limitMs);
        case QEvent::MouseButtonRelease:
            return static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton &&
                   !platform::clipboardAnswers(true, limitMs);
        default:
            return false;
        }
    }
};

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
    // The box with its frame stays within the screen's available area (the
    // frame allowed for as a title bar and a border).
    const int buttonWidth = messageButtonWidth(font, size);
    const int frame = style()->pixelMetric(QStyle::PM_TitleBarHeight) +
                      2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8;
    const int maxHeight = screen ? screen->availableGeometry().height() - frame -
                                       messageGeometry(size, QSize(), buttonWidth).client.height()
                                 : 1 << 20;
    m_text = new PlainTextView(story, font, maxWidth, this, maxHeight);
    const MessageGeometry g = messageGeometry(size, m_text->textSize(), buttonWidth);
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
    platform::announceAlert(this);
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
    m_field->installEventFilter(new PasteGuard(m_field));
    m_field->setAccessibleName(prompt);
    m_prompt->setBuddy(m_field);
    m_prompt->adjustSize();
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setGeometry(g.ok);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(tr("キャンセル"), this);
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
    // Never above or left of the available area (a panel), where the title
    // bar would be out of reach.
    const QRect available = screen->availableGeometry();
    client.moveTop(std::max(client.top(), available.top()));
    client.moveLeft(std::max(client.left(), available.left()));
    dialog->move(client.topLeft());
}
