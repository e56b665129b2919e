#include "services.h"

#include "dialogs.h"
#include "platform/alert_sound.h"
#include "platform/desktop.h"

#include <QApplication>
#include <QFileInfo>

Services &Services::instance() {
    static Services services;
    return services;
}

void Services::beep() {
    if (m_observer)
        m_observer->beeped();
    if (!m_silent)
        platform::playAlertSound();
}

int Services::run(QDialog *dialog) {
    if (m_ending)
        return QDialog::Rejected;
    platform::prepareDialog(dialog);
    m_active = dialog;
    const int result = dialog->exec();
    m_active = nullptr;
    return m_ending ? int(QDialog::Rejected) : result;
}

void Services::message(QWidget *parent, const StoryText &text) {
    MessageBox box(m_title, text, parent);
    if (m_observer && !m_ending)
        m_observer->messageOpening(&box);
    run(&box);
}

QString Services::askName(QWidget *parent, const QString &caption, const QString &prompt,
                          const QString &defaultText) {
    NamePrompt dialog(caption, prompt, defaultText, parent);
    if (m_observer && !m_ending)
        m_observer->promptOpening(&dialog);
    if (run(&dialog) != QDialog::Accepted)
        dialog.setResult(QDialog::Rejected);
    const QString result = dialog.result();
    if (m_observer)
        m_observer->promptClosed(&dialog, result);
    return result;
}

void Services::colorSet(layout::ColorName color) {
    if (m_observer)
        m_observer->colorSet(color);
}

void Services::requestEnd() {
    m_ending = true;
    if (m_active)
        m_active->reject();
}

QString applicationTitle(const QString &programPath) {
    QString name = QFileInfo(programPath).fileName();
    const qsizetype stop = name.indexOf(u'.');
    if (stop >= 0)
        name.truncate(stop);
    if (name.size() > 1)
        name = name.left(1) + name.mid(1).toLower();
    return name;
}
