#include "storytext.h"

namespace {

constexpr char16_t firstStrongIsolate = u'\u2068';
constexpr char16_t popDirectionalIsolate = u'\u2069';

bool opensIsolate(QChar c) {
    return c == u'\u2066' || c == u'\u2067' || c == firstStrongIsolate;
}

} // namespace

QString isolatedName(QStringView name) {
    QString shown;
    shown.reserve(name.size() + 4);
    shown += firstStrongIsolate;
    int open = 0; // the name's own isolates not closed yet
    for (const QChar c : name) {
        if (c.direction() == QChar::DirB) {
            // A paragraph ends here: close it and isolate the next one.
            shown += QString(open + 1, popDirectionalIsolate);
            shown += c;
            shown += firstStrongIsolate;
            open = 0;
        } else if (opensIsolate(c)) {
            ++open;
            shown += c;
        } else if (c == popDirectionalIsolate) {
            // One without its opener would close the isolate around the name.
            if (open > 0) {
                --open;
                shown += c;
            }
        } else {
            shown += c;
        }
    }
    shown += QString(open + 1, popDirectionalIsolate);
    return shown;
}

StoryText::StoryText(const QString &pattern, const QString &name) {
    const qsizetype at = pattern.indexOf(QLatin1String("%1"));
    if (at < 0) {
        m_text = pattern;
        return;
    }
    m_text = pattern.left(at) + name + pattern.mid(at + 2);
    m_nameStart = at;
    m_nameLength = name.size();
}

QString StoryText::display() const {
    if (m_nameLength == 0)
        return m_text;
    return m_text.left(m_nameStart) +
           isolatedName(QStringView(m_text).mid(m_nameStart, m_nameLength)) +
           m_text.mid(m_nameStart + m_nameLength);
}
