#include "fixture.h"

#include "accessibility.h"
#include "dialogs.h"
#include "look.h"
#include "platform/readers.h"

#include <QPushButton>
#include <QTest>

namespace fixture {

void setUp() {
    installLook();
    accessibility::installInterfaces();
    platform::installReaderBridgeFixes();
    Services::instance().setSilent(true);
}

Observing::Observing(StoryObserver &observer) {
    Services::instance().setObserver(&observer);
}

void Observing::end() {
    if (m_watching)
        Services::instance().setObserver(nullptr);
    m_watching = false;
}

void Answerer::beeped() {
    ++beeps;
}

void Answerer::promptOpening(NamePrompt *prompt) {
    QMetaObject::invokeMethod(
        prompt,
        [this, prompt] {
            if (onPrompt)
                onPrompt(prompt);
            else
                QTest::keyClick(prompt->windowHandle(), Qt::Key_Return);
        },
        Qt::QueuedConnection);
}

void Answerer::messageOpening(MessageBox *box) {
    QMetaObject::invokeMethod(
        box,
        [this, box] {
            messages << box->text();
            if (onMessage)
                onMessage(box);
            else
                QTest::keyClick(box->button(), Qt::Key_Return);
        },
        Qt::QueuedConnection);
}

void typeText(QWidget *widget, const QString &text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace fixture
