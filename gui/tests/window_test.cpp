// The main window: its fixed size and controls, the menus and the pop-up
// menu, start-up, the About command, the two ways out, and a range error
// that abandons a handler while the program goes on.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <tuple>

#include "core/mirror.h"
#include "dialogs/boxes.h"
#include "link/logiclink.h"
#include "table/tableview.h"
#include "test_support.h"
#include "window/application.h"
#include "window/casinogui.h"

class WindowTest : public QObject {
    Q_OBJECT

    int beeps = 0;

  private slots:
    void init() {
        NewTestGame();
        StandIn::Install();
        beeps = 0;
        SetBeepSink([this] { ++beeps; });
    }

    void fixedGreenWindow() {
        TCasinoGUI window;
        StandIn::Attach(window.TheGame().link);
        QCOMPARE(window.windowTitle(), QStringLiteral("Casino"));
        QCOMPARE(window.centralWidget(), window.Table);
        QCOMPARE(window.Table->size(), QSize(792, 553));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window.windowFlags() & Qt::WindowMinimizeButtonHint);
        window.TheGame().view.ClearTable();
        QCOMPARE(window.TheGame().view.BackBuffer().pixel(400, 300), kTableColour);
        QCOMPARE(window.TheGame().view.BackBuffer().pixel(0, 300),
                 qRgb(0, 0, 0));  // the fill's outline
        QCOMPARE(window.TheGame().view.BackBuffer().size(), QSize(800, 600));
    }

    void menusAndShortcuts() {
        TCasinoGUI window;
        StandIn::Attach(window.TheGame().link);
        QCOMPARE(window.File1->title(), QStringLiteral("&File"));  // shown "File", Alt+F
        const QStringList captions = {"&How to Play", "&New Game", "&Game Settings",
                                      "High &Scores", "&About",    "&Exit"};
        const QList<QAction*> actions = window.File1->actions();
        QCOMPARE(actions.size(), 6);
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(actions[i]->text(), captions[i]);
            QCOMPARE(actions[i]->shortcut(), QKeySequence(Qt::Key(Qt::Key_F1 + i)));
        }
        QCOMPARE(window.PopupMenu1->actions(), actions);
        QVERIFY(!window.HintMenu->menuAction()->isVisible());
        QCOMPARE(window.HintMenu->title(), QStringLiteral("Hint"));
    }

    // The pop-up menu opens by keys too, from the table or a button.
    void popupMenuByKeys() {
        TCasinoGUI window;
        StandIn::Attach(window.TheGame().link);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (const auto& [focus, key, modifiers] :
             {std::tuple<QWidget*, Qt::Key, Qt::KeyboardModifiers>{window.Table, Qt::Key_F10,
                                                                   Qt::ShiftModifier},
              {window.Hint, Qt::Key_Menu, Qt::NoModifier}}) {
            bool opened = false;
            QTimer::singleShot(50, [&] {
                opened = QApplication::activePopupWidget() == window.PopupMenu1;
                window.PopupMenu1->close();
            });
            focus->setFocus();
            QTest::keyClick(focus, key, modifiers);
            QVERIFY(opened);
        }
    }

    // A click at the centre of each control the player sees reaches that
    // control (the row names lie above both value panels, the button above
    // its panel), and the debug controls stay hidden.
    void controlsReachableAndDebugHidden() {
        TCasinoGUI window;
        StandIn::Attach(window.TheGame().link);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget* seen[] = {window.Hint, window.Panel1, window.Player1Name, window.Player2Name,
                           window.RemainingCardsButton};
        for (QWidget* control : seen) {
            const QPoint centre = control->mapTo(window.Table, control->rect().center());
            QWidget* hit = window.Table->childAt(centre);
            QVERIFY(hit == control || control->isAncestorOf(hit));
        }
        QVERIFY(window.Points1->font().bold());
        QWidget* hidden[] = {window.Label1,  window.PutButton, window.H,       window.Button7,
                             window.NewGame, window.Button8,   window.Button9, window.Button10,
                             window.Edit2,   window.Edit3};
        for (QWidget* control : hidden)
            QVERIFY(!control->isVisible());
    }

    void startUpBeginsWithNineColumns() {
        TCasinoGUI window;
        StandIn::Attach(window.TheGame().link);
        window.TheGame().mirror.SetCurrentPlayer(2);
        window.TheGame().view.DisplayCard(0, 1, 1, 5, kShow);
        window.StartUp();
        QCOMPARE(Sent::requests, std::vector<std::string>{"<B>9</>"});
        QCOMPARE(window.TheGame().mirror.CurrentPlayer(), 1);
        QCOMPARE(window.TheGame().view.table.pileDepth[0][1], 0);
    }

    void failedLoadStopsStartUp() {
        MessageLog log;
        TCasinoGUI window;
        StandIn::Attach(window.TheGame().link);
        QVERIFY(!window.FormCreate(QStringLiteral("/nonexistent-folder")));
        QCOMPARE(log.texts.size(), 1);
        QVERIFY(Sent::requests.empty());
    }

    void aboutSendsTheVersionRequestFirst() {
        TCasinoGUI window;
        StandIn::Attach(window.TheGame().link);
        std::size_t sentBeforeBox = 99;
        QString title;
        AnswerNextModal([&](QWidget* modal) {
            sentBeforeBox = Sent::requests.size();
            title = modal->windowTitle();
            modal->close();
        });
        window.About2Click();
        QCOMPARE(sentBeforeBox, std::size_t(1));
        QCOMPARE(Sent::requests, std::vector<std::string>{"<V></>"});
        QCOMPARE(title, QStringLiteral("About Casino"));
    }

    void exitCommandCancelledSendsNothing() {
        TCasinoGUI window;
        StandIn::Attach(window.TheGame().link);
        ConfirmAnswer seen;
        AnswerNextConfirm(false, &seen);
        window.Exit1Click();
        QCOMPARE(seen.caption, QStringLiteral("Exit Casino?"));
        QCOMPARE(seen.text, QStringLiteral("Are you certain you want to stop playing Casino?"));
        QVERIFY(Sent::requests.empty());
        QVERIFY(!window.Ended());
    }

    // Confirmed once, the command saves and ends; the window's close does not ask again.
    void exitCommandAsksOnceAndSaves() {
        TCasinoGUI window;
        StandIn::Attach(window.TheGame().link);
        window.show();
        AnswerNextConfirm(true);
        window.Exit1Click();
        QCOMPARE(Sent::requests, std::vector<std::string>{"<W></>"});
        QVERIFY(window.Ended());
        QVERIFY(window.close());
        QCOMPARE(beeps, 1);
        QCOMPARE(Sent::requests.size(), std::size_t(1));
    }

    void closeCancelledKeepsTheWindow() {
        TCasinoGUI window;
        StandIn::Attach(window.TheGame().link);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        AnswerNextConfirm(false);
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QVERIFY(Sent::requests.empty());
        QVERIFY(window.TheGame().link.Entry() != nullptr);
    }

    void closeConfirmedSavesAndReleasesTheLibrary() {
        TCasinoGUI window;
        StandIn::Attach(window.TheGame().link);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ConfirmAnswer seen;
        AnswerNextConfirm(true, &seen);
        QVERIFY(window.close());
        QCOMPARE(seen.caption, QStringLiteral("Exit Casino?"));
        QCOMPARE(Sent::requests, std::vector<std::string>{"<W></>"});
        QVERIFY(window.TheGame().link.Entry() == nullptr);
    }

    void functionKeyF6AsksToExit() {
        TCasinoGUI window;
        StandIn::Attach(window.TheGame().link);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        ConfirmAnswer seen;
        AnswerNextConfirm(false, &seen);
        QTest::keyClick(&window, Qt::Key_F6);
        QVERIFY(seen.asked);
        QVERIFY(Sent::requests.empty());
    }

    void popupMenuIsCentredOnThePointer() {
        TCasinoGUI window;
        StandIn::Attach(window.TheGame().link);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint pointer = window.Table->mapToGlobal(QPoint(400, 300));
        QRect shown;
        QTimer::singleShot(50, [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                shown = popup->geometry();
                popup->close();
            }
        });
        window.ShowPopupMenu(pointer);
        QVERIFY(shown.isValid());
        QCOMPARE(shown.top(), pointer.y());
        QVERIFY(qAbs(shown.center().x() - pointer.x()) <= 1);
    }

    // A bad index in a reply abandons the handler it happened in; the error
    // is reported and later events are still handled.
    void rangeErrorLeavesTheProgramRunning() {
        TCasinoGUI window;
        StandIn::Attach(window.TheGame().link);
        MessageLog log;
        StandIn::Script({"<P>7</>"});
        bool aboutShown = false;
        bool laterEventRan = false;
        QTimer::singleShot(0, &window, [&] {
            window.About2Click();
            aboutShown = true;  // not reached: the range error abandons the handler
        });
        QTimer::singleShot(20, &window, [&] { laterEventRan = true; });
        QTRY_VERIFY(laterEventRan);
        QVERIFY(!aboutShown);
        QCOMPARE(
            log.texts,
            QStringList{QStringLiteral("Range check error: current player 7 is outside 1..2")});
        QCOMPARE(Sent::requests, std::vector<std::string>{"<V></>"});
    }
};

int main(int argc, char** argv) {
    CasinoApplication app(argc, argv);
    WindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "window_test.moc"
