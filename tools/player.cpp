#include "player.h"

#include "accessibility.h"
#include "dialogs.h"
#include "look.h"
#include "platform/readers.h"

#include <QAbstractItemView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdlib>

using namespace layout;

QString jsonString(const QString &text) {
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        case '\b':
            out += QStringLiteral("\\b");
            break;
        case '\f':
            out += QStringLiteral("\\f");
            break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x2028 || c.unicode() == 0x2029)
                out += QStringLiteral("\\u%1").arg(uint(c.unicode()), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + u'"';
}

namespace {

QString jsonStrings(const QStringList &list) {
    QStringList quoted;
    for (const QString &item : list)
        quoted << jsonString(item);
    return u'[' + quoted.join(u',') + u']';
}

QString jsonBool(bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

// Sends text as key presses, one character (or surrogate pair) at a time.
void typeKeys(QWidget *widget, const QString &text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n') {
            QTest::keyClick(widget, Qt::Key_Return);
            continue;
        }
        qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(i, length),
                            Qt::NoModifier);
        i += length - 1;
    }
}

// Reads one JSON string literal from the start of text.
std::optional<QString> parseJsonString(const QString &text) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(('[' + text + ']').toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray() || doc.array().size() != 1 ||
        !doc.array().at(0).isString())
        return std::nullopt;
    return doc.array().at(0).toString();
}

QStringList listEntries(const QListWidget *list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->item(i)->text();
    return entries;
}

QStringList comboEntries(const QComboBox *combo) {
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i)
        entries << combo->itemText(i);
    return entries;
}

QString fontJson(const FontSpec &font) {
    QStringList style;
    if (font.style & fsBold)
        style << QStringLiteral("fsBold");
    if (font.style & fsItalic)
        style << QStringLiteral("fsItalic");
    return QStringLiteral("{\"Name\":%1,\"Height\":%2,\"Style\":%3,\"Color\":%4}")
        .arg(jsonString(QString::fromUtf8(font.name)))
        .arg(font.height)
        .arg(jsonStrings(style), jsonString(QString::fromLatin1(colorName(font.color))));
}

} // namespace

int &PlaybackApplication::offscreen(int &argc) {
    // Set before the application picks its platform.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return argc;
}

PlaybackApplication::PlaybackApplication(int &argc, char **argv)
    : QApplication(offscreen(argc), argv) {
    // As the game does once Qt has started.
    platform::installReaderBridgeFixes();
    accessibility::installInterfaces();
    installLook();
    Services::instance().setSilent(true);
    Services::instance().setApplicationTitle(QStringLiteral("hoshifuru2"));
}

void clickWidget(QWidget *widget) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

bool chooseEntry(QWidget *widget, int index) {
    if (auto *list = qobject_cast<kinds::TListBox *>(widget)) {
        if (index < 0 || index >= list->count())
            return false;
        list->scrollToItem(list->item(index));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(list->item(index)).center());
        return true;
    }
    if (auto *combo = qobject_cast<kinds::TComboBox *>(widget)) {
        if (index < 0 || index >= combo->count())
            return false;
        combo->showPopup();
        QAbstractItemView *view = combo->view();
        const QModelIndex entry = view->model()->index(index, combo->modelColumn());
        view->scrollTo(entry);
        const QPoint at = view->visualRect(entry).center();
        QTest::mouseMove(view->viewport(), at);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        if (view->isVisible())
            combo->hidePopup();
        return true;
    }
    return false;
}

Player::Player(TForm1 &form, QTextStream &out) : m_form(form), m_out(out) {
    Services::instance().setObserver(this);
    QObject::connect(&m_form, &TForm1::closed, [this] { m_closed = true; });
}

Player::~Player() {
    Services::instance().setObserver(nullptr);
}

void Player::emitLine(const QString &json) {
    m_out << json << '\n';
    m_out.flush();
}

void Player::fail(const QString &message) {
    emitLine(QStringLiteral("{\"event\":\"error\",\"message\":%1}").arg(jsonString(message)));
    std::fflush(stdout);
    std::_Exit(2);
}

QString Player::screenJson() const {
    QStringList names;
    for (QWidget *widget : m_form.topLevelWidgets()) {
        if (widget->isVisible())
            names << widget->objectName();
    }
    return jsonStrings(names);
}

QString Player::colorJson() const {
    return jsonString(QString::fromLatin1(colorName(m_form.colorName())));
}

int Player::play(const QStringList &script) {
    for (const QString &raw : script) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        emitLine(QStringLiteral("{\"event\":\"step\",\"line\":%1}").arg(jsonString(line)));
        try {
            runStep(line);
        } catch (const StepError &error) {
            emitLine(QStringLiteral("{\"event\":\"error\",\"message\":%1}")
                         .arg(jsonString(error.message)));
            return 2;
        }
        if (m_closed) {
            emitLine(QStringLiteral("{\"event\":\"exit\",\"code\":0}"));
            return 0;
        }
        emitLine(QStringLiteral("{\"event\":\"state\",\"screen\":%1,\"color\":%2}")
                     .arg(screenJson(), colorJson()));
    }
    return 0;
}

QWidget *Player::namedWidget(const QString &name) const {
    const TForm1::Built *built = m_form.find(name);
    if (!built)
        throw StepError{QStringLiteral("no widget is named %1").arg(name)};
    return built->widget;
}

QWidget *Player::onScreenWidget(const QString &name) const {
    QWidget *widget = namedWidget(name);
    if (!widget->isVisible())
        throw StepError{QStringLiteral("%1 is not on screen").arg(name)};
    return widget;
}

void Player::runStep(const QString &line) {
    const QString command = line.section(u' ', 0, 0);
    const QString rest = line.section(u' ', 1).trimmed();
    const QString name = rest.section(u' ', 0, 0);
    const QString argument = rest.section(u' ', 1).trimmed();

    if (command == QLatin1String("click") && argument.isEmpty() && !name.isEmpty()) {
        clickWidget(onScreenWidget(name));
    } else if (command == QLatin1String("select") && !name.isEmpty()) {
        QWidget *widget = onScreenWidget(name);
        bool isNumber = false;
        const int index = argument.toInt(&isNumber);
        if (!isNumber)
            throw StepError{QStringLiteral("select needs an entry index: %1").arg(line)};
        if (!qobject_cast<kinds::TListBox *>(widget) && !qobject_cast<kinds::TComboBox *>(widget))
            throw StepError{QStringLiteral("%1 is not a list box or combo box").arg(name)};
        if (!chooseEntry(widget, index))
            throw StepError{QStringLiteral("%1 has no entry %2").arg(name).arg(index)};
    } else if (command == QLatin1String("type") && !name.isEmpty()) {
        QWidget *widget = onScreenWidget(name);
        const std::optional<QString> text = parseJsonString(argument);
        if (!text)
            throw StepError{QStringLiteral("type needs a JSON string: %1").arg(line)};
        QWidget *target = nullptr;
        if (auto *memo = qobject_cast<kinds::TMemo *>(widget)) {
            memo->setFocus();
            memo->moveCursor(QTextCursor::End);
            target = memo;
        } else if (auto *combo = qobject_cast<kinds::TComboBox *>(widget)) {
            combo->setFocus();
            combo->lineEdit()->end(false);
            target = combo->lineEdit();
        } else {
            throw StepError{QStringLiteral("%1 takes no typing").arg(name)};
        }
        typeKeys(target, *text);
    } else if (command == QLatin1String("prompt")) {
        Answer answer{Answer::Ok, std::nullopt};
        if (name == QLatin1String("ok"))
            answer.how = Answer::Ok;
        else if (name == QLatin1String("cancel"))
            answer.how = Answer::Cancel;
        else if (name == QLatin1String("close") && argument.isEmpty())
            answer.how = Answer::Close;
        else
            throw StepError{QStringLiteral("unknown prompt answer: %1").arg(line)};
        if (!argument.isEmpty()) {
            answer.text = parseJsonString(argument);
            if (!answer.text)
                throw StepError{QStringLiteral("prompt needs a JSON string: %1").arg(line)};
        }
        m_answers.push_back(answer);
    } else if (command == QLatin1String("inspect") && !name.isEmpty() && argument.isEmpty()) {
        QWidget *widget = namedWidget(name);
        QString json =
            QStringLiteral("{\"event\":\"inspect\",\"name\":%1,\"visible\":%2,\"onScreen\":%3")
                .arg(jsonString(name), jsonBool(!widget->isHidden()),
                     jsonBool(widget->isVisible()));
        if (auto *list = qobject_cast<kinds::TListBox *>(widget))
            json += QStringLiteral(",\"index\":%1").arg(list->itemIndex());
        if (auto *combo = qobject_cast<kinds::TComboBox *>(widget))
            json += QStringLiteral(",\"index\":%1,\"text\":%2")
                        .arg(combo->itemIndex())
                        .arg(jsonString(combo->currentText()));
        if (auto *memo = qobject_cast<kinds::TMemo *>(widget))
            json += QStringLiteral(",\"lines\":%1").arg(jsonStrings(memo->lines()));
        emitLine(json + u'}');
    } else if (command == QLatin1String("screenshot") && !rest.isEmpty()) {
        // A developer's aid: the window as the player sees it, as a PNG file.
        const std::optional<QString> path = parseJsonString(rest);
        if (!path || !m_form.grab().save(*path, "PNG"))
            throw StepError{QStringLiteral("cannot write the screenshot: %1").arg(line)};
    } else if (command == QLatin1String("close") && rest.isEmpty()) {
        m_form.close();
    } else {
        throw StepError{QStringLiteral("unknown step: %1").arg(line)};
    }
}

void Player::beeped() {
    emitLine(QStringLiteral("{\"event\":\"beep\"}"));
}

void Player::messageOpening(MessageBox *box) {
    QMetaObject::invokeMethod(
        box,
        [this, box] {
            emitLine(
                QStringLiteral("{\"event\":\"message\",\"text\":%1,\"screen\":%2,\"color\":%3}")
                    .arg(jsonString(box->text()), screenJson(), colorJson()));
            QTest::keyClick(box->button(), Qt::Key_Return);
        },
        Qt::QueuedConnection);
}

void Player::promptOpening(NamePrompt *prompt) {
    if (m_answers.empty())
        fail(QStringLiteral("a name prompt opened with no answer queued"));
    const Answer answer = m_answers.front();
    m_answers.pop_front();
    QMetaObject::invokeMethod(
        prompt,
        [this, prompt, answer] {
            m_promptCaption = prompt->windowTitle();
            m_promptLabel = prompt->prompt();
            m_promptDefault = prompt->field()->text();
            QLineEdit *field = prompt->field();
            if (answer.text) {
                if (answer.text->isEmpty())
                    QTest::keyClick(field, Qt::Key_Delete);
                else
                    typeKeys(field, *answer.text);
            }
            switch (answer.how) {
            case Answer::Ok:
                QTest::keyClick(field, Qt::Key_Return);
                break;
            case Answer::Cancel:
                QTest::keyClick(field, Qt::Key_Escape);
                break;
            case Answer::Close:
                prompt->close();
                break;
            }
        },
        Qt::QueuedConnection);
}

void Player::promptClosed(NamePrompt *, const QString &result) {
    emitLine(QStringLiteral("{\"event\":\"prompt\",\"caption\":%1,\"label\":%2,\"default\":%3,"
                            "\"result\":%4}")
                 .arg(jsonString(m_promptCaption), jsonString(m_promptLabel),
                      jsonString(m_promptDefault), jsonString(result)));
}

void Player::colorSet(ColorName color) {
    emitLine(QStringLiteral("{\"event\":\"color\",\"value\":%1}")
                 .arg(jsonString(QString::fromLatin1(colorName(color)))));
}

void Player::printLayout(TForm1 &form, QTextStream &out) {
    form.buildEverything();
    QStringList objects;
    objects << QStringLiteral(
                   "{\"Name\":\"Form1\",\"Class\":\"TForm1\",\"Parent\":null,\"Caption\":%1,"
                   "\"ClientWidth\":%2,\"ClientHeight\":%3,\"Left\":%4,\"Top\":%5,"
                   "\"Color\":%6,\"Font\":%7}")
                   .arg(jsonString(form.windowTitle()))
                   .arg(form.width())
                   .arg(form.height())
                   .arg(form.pos().x())
                   .arg(form.pos().y())
                   .arg(jsonString(QString::fromLatin1(colorName(form.colorName()))),
                        fontJson(windowFont));
    for (const TForm1::Built &built : form.built()) {
        const Row &row = *built.row;
        const QWidget *w = built.widget;
        const QPoint place = w->pos() - kinds::clientOrigin(w->parentWidget());
        QString o = QStringLiteral("{\"Name\":%1,\"Class\":\"%2\",\"Parent\":%3,\"Left\":%4,"
                                   "\"Top\":%5,\"Width\":%6,\"Height\":%7")
                        .arg(jsonString(w->objectName()), QString::fromLatin1(kindName(row.kind)),
                             jsonString(built.parentName))
                        .arg(place.x())
                        .arg(place.y())
                        .arg(w->width())
                        .arg(w->height());
        auto add = [&o](const char *key, const QString &value) {
            o += QStringLiteral(",\"%1\":%2").arg(QString::fromLatin1(key), value);
        };
        if (auto *label = qobject_cast<const kinds::TLabel *>(w))
            add("Caption", jsonString(label->text()));
        if (auto *button = qobject_cast<const kinds::TButton *>(w))
            add("Caption", jsonString(button->caption()));
        if (auto *button = qobject_cast<const kinds::TBitBtn *>(w))
            add("Caption", jsonString(button->text()));
        if (auto *panel = qobject_cast<const kinds::TPanel *>(w))
            add("Caption", jsonString(panel->caption()));
        if (auto *list = qobject_cast<const kinds::TListBox *>(w))
            add("Items", jsonStrings(listEntries(list)));
        if (auto *combo = qobject_cast<const kinds::TComboBox *>(w)) {
            add("Items", jsonStrings(comboEntries(combo)));
            add("Text", jsonString(combo->currentText()));
        }
        if (auto *memo = qobject_cast<const kinds::TMemo *>(w))
            add("Lines", jsonStrings(memo->lines()));
        add("Visible", jsonBool(!w->isHidden()));
        if (auto *panel = qobject_cast<const kinds::TPanel *>(w))
            add("Color", jsonString(QString::fromLatin1(colorName(panel->colorName()))));
        if (auto *list = qobject_cast<const kinds::TListBox *>(w))
            add("Color", jsonString(QString::fromLatin1(colorName(list->colorName()))));
        if (auto *memo = qobject_cast<const kinds::TMemo *>(w))
            add("Color", jsonString(QString::fromLatin1(colorName(memo->colorName()))));
        if (row.kind != TImage)
            add("Font", fontJson(built.font));
        if (row.kind != TImage && row.kind != TLabel)
            add("TabOrder", QString::number(row.tab));
        if (auto *panel = qobject_cast<const kinds::TPanel *>(w)) {
            const kinds::TPanel::Frame &frame = panel->frame();
            add("BevelInner", jsonString(QString::fromLatin1(bevelName(frame.inner))));
            add("BevelOuter", jsonString(QString::fromLatin1(bevelName(frame.outer))));
            add("BevelWidth", QString::number(frame.bevelWidth));
            add("BorderWidth", QString::number(frame.borderWidth));
            add("BorderStyle", jsonString(frame.borderSingle ? QStringLiteral("bsSingle")
                                                             : QStringLiteral("bsNone")));
        }
        if (auto *list = qobject_cast<const kinds::TListBox *>(w))
            add("ItemHeight", QString::number(list->itemHeight()));
        if (auto *combo = qobject_cast<const kinds::TComboBox *>(w))
            add("ItemHeight", QString::number(combo->itemHeight()));
        if (auto *button = qobject_cast<const kinds::TBitBtn *>(w))
            add("Kind", jsonString(button->isCloseKind() ? QStringLiteral("bkClose")
                                                         : QStringLiteral("bkCustom")));
        if (auto *image = qobject_cast<const kinds::TImage *>(w)) {
            const kinds::TImage::Picture &picture = image->picture();
            add("Picture", QStringLiteral("{\"Width\":%1,\"Height\":%2,\"Depth\":%3}")
                               .arg(picture.width)
                               .arg(picture.height)
                               .arg(picture.depth));
        }
        if (row.onClick)
            add("OnClick", jsonString(QString::fromUtf8(row.onClick)));
        objects << o + u'}';
    }
    out << "[\n" << objects.join(QStringLiteral(",\n")) << "\n]\n";
    out.flush();
}
