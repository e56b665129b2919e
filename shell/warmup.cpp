#include "warmup.h"

#include "dialogs.h"
#include "form1.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QSet>

namespace {

// Draws a line of text once in every font the game uses, so that each font
// and its fallbacks for kana and kanji are found and opened.
void openFonts(const TForm1 &window) {
    const QString sample = QStringLiteral("OKあア城");
    // The dialogs' first texts, as the edition played writes them.
    auto translated = [](const char *context, const char *text) {
        return QCoreApplication::translate(context, text);
    };
    QList<std::pair<QFont, QString>> texts = {
        {NamePrompt::dialogFont(), translated("TForm1", "名前を教えてちょ") + u' ' +
                                       translated("TForm1", "あなた") + QStringLiteral(" OK ") +
                                       translated("NamePrompt", "キャンセル")},
        {MessageBox::messageFont(),
         translated("TForm1", "ようこそ!冒険の島へ!さあ旅の始まりです。") + QStringLiteral(" OK")},
    };
    for (const TForm1::Built &built : window.built()) {
        if (built.row->kind != layout::TImage)
            texts.append({fontValue(built.font), sample});
    }
    QImage scratch(32, 32, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&scratch);
    QSet<QString> opened;
    for (const auto &[font, text] : texts) {
        if (opened.contains(font.key()))
            continue;
        opened.insert(font.key());
        painter.setFont(font);
        painter.drawText(0, 24, text);
    }
}

// The window takes the keyboard a moment after its first frame is on
// screen, and draws its focus then: the work waits for a frame painted
// while the window is active, so that it never holds back the window's
// complete look. (A window the desktop keeps inactive warms up once the
// player activates it.)
class FirstFrame : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::Paint || !static_cast<QWidget *>(watched)->isActiveWindow())
            return false;
        watched->removeEventFilter(this);
        // Queued: the frame being painted goes out first.
        QPointer<TForm1> window = static_cast<TForm1 *>(watched);
        QMetaObject::invokeMethod(
            this,
            [window] {
                if (window)
                    openFonts(*window);
            },
            Qt::QueuedConnection);
        return false;
    }
};

} // namespace

void warmUpAfterFirstFrame(TForm1 *window) {
    static FirstFrame watch;
    window->installEventFilter(&watch);
}
