// The built window: its widgets, handlers, frame and start-up state, and the
// closing sequence, in-process and for the real program.
#include "builder.h"
#include "dialogs.h"
#include "fixture.h"
#include "form1.h"
#include "platform/screens.h"
#include "regions.h"
#include "services.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <csignal>

using namespace layout;

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { fixture::setUp(); }

    void buildsEveryWidgetAndHandler() {
        TForm1 form;
        form.buildEverything();
        QCOMPARE(form.built().size(), size_t(186));
        QCOMPARE(form.topLevelWidgets().size(), 54);
        QMap<QString, int> kinds;
        QSet<QString> bound;
        for (const TForm1::Built &built : form.built()) {
            ++kinds[QString::fromLatin1(kindName(built.row->kind))];
            QCOMPARE(built.widget->objectName(), QString::fromUtf8(built.row->name));
            if (built.row->onClick) {
                QVERIFY(TForm1::handlers().contains(built.row->onClick));
                QVERIFY2(!bound.contains(QString::fromUtf8(built.row->onClick)),
                         built.row->onClick);
                bound.insert(QString::fromUtf8(built.row->onClick));
            }
        }
        QCOMPARE(bound.size(), 79);
        QCOMPARE(TForm1::handlers().size(), 79);
        const QMap<QString, int> expected{{"TButton", 58}, {"TPanel", 39},  {"TBitBtn", 24},
                                          {"TImage", 23},  {"TLabel", 20},  {"TListBox", 12},
                                          {"TMemo", 9},    {"TComboBox", 1}};
        QCOMPARE(kinds, expected);
        for (qsizetype i = 0; i < form.topLevelWidgets().size(); ++i)
            QCOMPARE(form.topLevelWidgets()[i]->objectName(), creationOrder()[i]);
    }

    // A layout that does not match the window's fields and handlers stops
    // start-up with a message that names the mismatch.
    void layoutMistakesStopStartUp() {
        auto rowNamed = [](std::vector<Region> &regions, const char *name) -> Row & {
            for (Region &region : regions)
                for (Row &row : region)
                    if (QByteArray(row.name) == name)
                        return row;
            qFatal("no row %s", name);
        };
        auto failure = [](std::vector<Region> regions) {
            try {
                TForm1 form(std::move(regions));
            } catch (const LayoutError &error) {
                return QString::fromUtf8(error.what());
            }
            return QString();
        };
        std::vector<Region> regions = layoutRegions();
        rowNamed(regions, "BitBtn1").onClick = "BitBtn99Click";
        QCOMPARE(failure(regions),
                 QStringLiteral(
                     "the layout binds BitBtn1 to BitBtn99Click, which TForm1 does not have"));
        regions = layoutRegions();
        rowNamed(regions, "BitBtn1").onClick = "close"; // a slot, but not a story handler
        QVERIFY(failure(regions).contains(QStringLiteral("which TForm1 does not have")));
        regions = layoutRegions();
        rowNamed(regions, "Label3").kind = TButton;
        QCOMPARE(
            failure(regions),
            QStringLiteral("the window's field Label3 has no widget of its kind in the layout"));
        regions = layoutRegions();
        rowNamed(regions, "Label3").name = "Label3b";
        QCOMPARE(
            failure(regions),
            QStringLiteral("the window's field Label3 has no widget of its kind in the layout"));
        regions = layoutRegions();
        regions.front().push_back(child(TButton, "Button99", 0, 0, 10, 10));
        QCOMPARE(failure(regions), QStringLiteral("the layout's Button99 has no field in TForm1"));
        regions = layoutRegions();
        rowNamed(regions, "Box1").name = "Label3";
        QCOMPARE(failure(regions), QStringLiteral("the layout names Label3 twice"));
        QCOMPARE(failure(layoutRegions()), QString());
    }

    void startsWithTitleAndStartOnMaroon() {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QStringList onScreen;
        for (QWidget *widget : form.topLevelWidgets())
            if (widget->isVisible())
                onScreen << widget->objectName();
        QCOMPARE(onScreen, QStringList({"Label1", "start"}));
        QCOMPARE(form.windowTitle(), QStringLiteral("ホシフルツルギ２"));
        QCOMPARE(form.size(), QSize(383, 359));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QCOMPARE(form.pos(), QPoint(307, 169));
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(form.windowFlags() & Qt::WindowCloseButtonHint);
        const QImage image = form.grab().toImage();
        QCOMPARE(image.pixel(370, 340), qRgb(128, 0, 0));
        // Children of hidden scenes keep their own flag.
        QVERIFY(form.hajimari->isHidden());
        QVERIFY(!form.Box1->isHidden());
        QVERIFY(!form.Box1->isVisible());
    }

    // The window's frame on its screen: kept where it fits, otherwise moved
    // by the least that brings it inside, and where it is larger than the
    // available area, its top-left corner (the title bar) inside.
    void framesAreKeptInReach() {
        const QRect frame(QPoint(307, 169), QSize(385, 380));
        // Fits on a normal screen; and exactly on one just large enough.
        QCOMPARE(platform::placeInside(frame, QRect(0, 0, 1024, 768)), QPoint(307, 169));
        QCOMPARE(platform::placeInside(frame, QRect(0, 0, 692, 549)), QPoint(307, 169));
        // Too low on 800×480, too low and too far right on 640×480.
        QCOMPARE(platform::placeInside(frame, QRect(0, 0, 800, 480)), QPoint(307, 100));
        QCOMPARE(platform::placeInside(frame, QRect(0, 0, 640, 480)), QPoint(255, 100));
        // Panels at the top and on the left push it out of their way.
        QCOMPARE(platform::placeInside(frame, QRect(0, 200, 1024, 568)), QPoint(307, 200));
        QCOMPARE(platform::placeInside(frame, QRect(350, 0, 674, 768)), QPoint(350, 169));
        // A second screen to the right of the first.
        QCOMPARE(
            platform::placeInside(QRect(QPoint(1900, 700), frame.size()), QRect(1280, 0, 800, 600)),
            QPoint(1695, 220));
        // Higher and wider than the screen: its top-left corner stays in.
        QCOMPARE(
            platform::placeInside(QRect(QPoint(614, 338), QSize(768, 739)), QRect(0, 0, 640, 400)),
            QPoint(0, 0));
        QCOMPARE(platform::placeInside(QRect(QPoint(-50, -20), QSize(768, 739)),
                                       QRect(0, 24, 1280, 600)),
                 QPoint(0, 24));
    }

    void scenesAreMadeWhenFirstShown() {
        // Start-up makes what is on screen only, the title and START; a
        // scene is made when first reached, hidden, and its widgets when it
        // first shows, on screen at once, with their own flags.
        TForm1 form;
        auto made = [&form] {
            return std::count_if(form.built().begin(), form.built().end(),
                                 [](const TForm1::Built &built) { return built.widget; });
        };
        QCOMPARE(made(), 2);
        form.show();
        QCOMPARE(made(), 2);
        form.Label1->hide();
        QVERIFY(form.hajimari->isHidden());
        QCOMPARE(made(), 3);
        form.hajimari->show();
        QCOMPARE(made(), 6);
        const TForm1::Built *label = form.find(QStringLiteral("Label3"));
        QVERIFY(label->widget->isVisible());
        QVERIFY(form.Box1->isVisible());
        QCOMPARE(form.Box1->itemIndex(), -1);
        // Reaching a widget of a hidden scene makes that scene, still hidden.
        QVERIFY(!form.Button46->isVisible());
        QVERIFY(!form.Button46->isHidden());
        QVERIFY(form.find(QStringLiteral("sakaba"))->widget->isHidden());
        QCOMPARE(made(), 6 + 6);
        // (The layout test compares the whole tree made this way with its rows.)
        form.buildEverything();
        QCOMPARE(made(), 186);
    }

    void scenesMadeLateStandWhereTheyWouldHave() {
        // Scenes made in any order lie in the window as if all had been made
        // at once: labels and pictures beneath the rest, each group in
        // creation order (the stacking, and what screen readers walk), and
        // Tab walks them by their rows' tab order.
        TForm1 form;
        form.show();
        const std::vector<TForm1::Built> &built = form.built();
        for (auto it = built.rbegin(); it != built.rend(); ++it) {
            if (it->row->topLevel && it->row->kind != TLabel)
                form.find(QString::fromUtf8(it->row->name));
        }
        QStringList expected, windowed;
        for (const TForm1::Built &scene : built) {
            if (!scene.row->topLevel)
                continue;
            const bool onSurface = scene.row->kind == TLabel || scene.row->kind == TImage;
            (onSurface ? expected : windowed) << QString::fromUtf8(scene.row->name);
        }
        expected << windowed;
        QStringList actual;
        for (QObject *child : form.children()) {
            if (child->isWidgetType())
                actual << child->objectName();
        }
        QCOMPARE(actual, expected);

        QList<int> tabs;
        QWidget *first = form.start;
        for (QWidget *next = first; tabs.isEmpty() || next != first;
             next = next->nextInFocusChain()) {
            if (next->parentWidget() == &form && (next->focusPolicy() & Qt::TabFocus))
                tabs << form.find(next->objectName())->row->tab;
        }
        const auto takesFocus = [](const TForm1::Built &scene) {
            return scene.row->topLevel &&
                   (scene.row->kind == TButton || scene.row->kind == TBitBtn);
        };
        QCOMPARE(tabs.size(), std::count_if(built.begin(), built.end(), takesFocus));
        QVERIFY(std::is_sorted(tabs.begin(), tabs.end()));
    }

    void staticKindsLieBeneathWindowedSiblings() {
        TForm1 form;
        QWidget *picture = form.Image1; // made with its scene when first reached
        QWidget *list = form.Box2;
        const QObjectList children = form.namiki1->children();
        const qsizetype image = children.indexOf(picture);
        const qsizetype combo = children.indexOf(list);
        QVERIFY(image >= 0 && combo >= 0 && image < combo);
    }

    void tabOrderFollowsTheRowsWithinAScene() {
        TForm1 form;
        form.show();
        form.hajimari->show();
        form.Label1->hide();
        form.start->hide();
        // In the crossroads, OK (tab 0) comes before the list (tab 1).
        QCOMPARE(form.BitBtn1->nextInFocusChain() == form.Box1 ||
                     form.BitBtn1->nextInFocusChain()->parentWidget() == form.Box1,
                 true);
    }

    void closingButtonClosesTheWindow() {
        TForm1 form;
        form.show();
        QSignalSpy closed(&form, &TForm1::closed);
        form.BitBtn7->show();
        QTest::mouseClick(form.BitBtn7, Qt::LeftButton, {}, form.BitBtn7->rect().center());
        QCOMPARE(closed.count(), 1);
        QVERIFY(!form.isVisible());
    }

    // A close request that reaches the window itself while a dialog is open
    // (a desktop's Alt+F4 or overview on Wayland, QWindow::close()) is
    // refused under the name prompt and under a message box; the end of the
    // game (a signal) still closes it and cancels the dialog.
    void closeRefusedWhileADialogIsOpen() {
        class Closer : public StoryObserver {
        public:
            TForm1 *form = nullptr;
            QStringList stayed;
            int prompts = 0;
            void promptOpening(NamePrompt *prompt) override {
                QMetaObject::invokeMethod(
                    prompt,
                    [this, prompt] {
                        form->windowHandle()->close();
                        form->close();
                        if (form->isVisible() && prompt->isVisible())
                            stayed << QStringLiteral("prompt");
                        if (++prompts == 1)
                            prompt->reject();
                        else
                            form->end();
                    },
                    Qt::QueuedConnection);
            }
            void messageOpening(MessageBox *box) override {
                QMetaObject::invokeMethod(
                    box,
                    [this, box] {
                        form->windowHandle()->close();
                        if (form->isVisible() && box->isVisible())
                            stayed << QStringLiteral("message");
                        box->accept();
                    },
                    Qt::QueuedConnection);
            }
        } closer;
        TForm1 form;
        closer.form = &form;
        QSignalSpy closed(&form, &TForm1::closed);
        Services::instance().setObserver(&closer);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mouseClick(form.start, Qt::LeftButton, {}, form.start->rect().center());
        QCOMPARE(closer.stayed, QStringList({"prompt", "message"}));
        QCOMPARE(closed.count(), 0);
        QVERIFY(form.isVisible());
        // A second prompt (the story's own START again) ends with the game.
        form.hajimari->hide();
        form.start->show();
        QTest::mouseClick(form.start, Qt::LeftButton, {}, form.start->rect().center());
        Services::instance().setObserver(nullptr);
        Services::instance().clearEndRequest();
        QCOMPARE(closer.prompts, 2);
        QCOMPARE(closed.count(), 1);
        QVERIFY(!form.isVisible());
    }

    void endingDuringADialogFinishesTheHandler() {
        // The end is requested while the name prompt is open: the prompt
        // yields its default, the welcome message closes at once, and the
        // handler still runs to its end.
        fixture::Answerer ender;
        ender.onPrompt = [](NamePrompt *prompt) {
            QTest::keyClicks(prompt->field(), "zz");
            Services::instance().requestEnd();
        };
        fixture::Observing observing(ender);
        TForm1 form;
        form.show();
        QTest::mouseClick(form.start, Qt::LeftButton, {}, form.start->rect().center());
        observing.end();
        Services::instance().clearEndRequest();
        QCOMPARE(PlayerName, QStringLiteral("あなた"));
        QCOMPARE(ender.messages.size(), 0);
        QVERIFY(form.hajimari->isVisible());
    }

    void finalBlowNeverPaintsTheWindowRed() {
        // Every paint of the window while the final blow plays is recorded
        // with the colour it painted; each message box runs the event loop.
        class Painted : public QObject {
        public:
            TForm1 *form = nullptr;
            QList<ColorName> colours;
            bool eventFilter(QObject *watched, QEvent *event) override {
                if (watched == form && event->type() == QEvent::Paint)
                    colours << form->colorName();
                return false;
            }
        } painted;
        // A player reads each box first: let the window repaint behind it
        // (paints wait at low priority), then press Enter.
        fixture::Answerer reader;
        reader.onMessage = [](MessageBox *box) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
            QTest::keyClick(box->button(), Qt::Key_Return);
        };
        TForm1 form;
        painted.form = &form;
        fixture::Observing observing(reader);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.Label1->hide();
        form.start->hide();
        form.bosu5->show();
        form.installEventFilter(&painted);
        QTest::mouseClick(form.Button20, Qt::LeftButton, {}, form.Button20->rect().center());
        form.removeEventFilter(&painted);
        observing.end();
        QVERIFY(!painted.colours.isEmpty());
        QVERIFY(!painted.colours.contains(clRed));
        QCOMPARE(painted.colours.last(), clWhite);
        QCOMPARE(form.grab().toImage().pixel(370, 340), qRgb(255, 255, 255));
        QVERIFY(form.BitBtn21->isVisible());
    }

    void realProgramEndsWithStatusZero_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
    }

    void realProgramEndsWithStatusZero() {
        QFETCH(int, signal);
        const QString game = qEnvironmentVariable("HOSHIFURU2_GAME");
        if (game.isEmpty())
            QSKIP("HOSHIFURU2_GAME names no program");
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.start(game, {});
        QVERIFY(process.waitForStarted());
        QTest::qWait(700);
        QCOMPARE(process.state(), QProcess::Running);
        ::kill(pid_t(process.processId()), signal);
        QVERIFY(process.waitForFinished(3000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
    }
};

QTEST_MAIN(WindowTest)
#include "test_window.moc"
