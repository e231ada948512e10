// Keyboard play: every key, typed on the main window, does what the click it
// stands for does: the same highlights, the same status line and the same
// requests to the library. Keys do nothing while the computer is to move.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "dialogs/boxes.h"
#include "link/selection.h"
#include "table/tablefocus.h"
#include "table/tableview.h"
#include "test_support.h"
#include "window/application.h"
#include "window/casinogui.h"

namespace {

using Requests = std::vector<std::string>;

// What an action left behind.
struct Outcome {
    Requests requests;
    std::vector<int> highlights;  // areas 0 to 2, columns 1 to 9
    QString status;
    bool operator==(const Outcome&) const = default;
};

char* toString(const Outcome& outcome) {
    QString text = QStringLiteral("requests:");
    for (const std::string& request : outcome.requests)
        text += QLatin1Char(' ') + QString::fromStdString(request);
    text += QStringLiteral(" highlights:");
    for (int flag : outcome.highlights)
        text += QString::number(flag);
    text += QStringLiteral(" status: ") + outcome.status;
    return qstrdup(qPrintable(text));
}

// Piles in columns 1 to 8 (column 9 empty) and four cards in each hand.
void DealTable() {
    for (int column = 1; column <= 8; ++column)
        DealPile(column, 1 + column % 3);
    DealHands();
}

const Qt::Key kSlotKey[] = {Qt::Key_U, Qt::Key_I, Qt::Key_O, Qt::Key_P};

}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

    TCasinoGUI* window = nullptr;

    // Runs `act` on a freshly dealt table with `player` to move; player 2 is
    // the computer unless `humans`.
    Outcome Run(const std::function<void()>& act, int player = 1, bool humans = false) {
        window = FreshTest();
        DealTable();
        TestMirror().SetCurrentPlayer(player);
        if (humans) TestMirror().playerIsComputer[2] = 0;
        TestView().ShowStatus(QString());
        act();
        Outcome outcome{Sent::requests, {}, TestView().StatusText()};
        for (int area = 0; area <= 2; ++area)
            for (int column = 1; column <= kNumColumns; ++column)
                outcome.highlights.push_back(TestView().table.highlight[area][column]);
        return outcome;
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(window, key, modifiers);
    }
    void Click(const QPoint& at) { QTest::mouseClick(window->Table, Qt::LeftButton, {}, at); }

  private slots:
    void cleanup() { CloseTestWindow(); }

    // Each digit, once and twice, is a click on that column's pile; 9 finds no pile.
    void digitKeysSelectLikeClicks() {
        for (int column = 1; column <= 9; ++column) {
            const auto key = Qt::Key(Qt::Key_0 + column);
            const Outcome typed = Run([&] { Key(key); });
            QCOMPARE(typed, Run([&] { Click(PileSpot(column)); }));
            QCOMPARE(typed.highlights[column - 1], column < 9 ? 1 : 0);
            const Outcome twice = Run([&] {
                Key(key);
                Key(key);
            });
            QCOMPARE(twice, Run([&] {
                         Click(PileSpot(column));
                         Click(PileSpot(column));
                     }));
            QCOMPARE(twice.highlights[column - 1], 0);
        }
        // A keypad digit is the same key.
        QCOMPARE(Run([&] { Key(Qt::Key_4, Qt::KeypadModifier); }), Run([&] { Key(Qt::Key_4); }));
    }

    // A slot key sends the hand card with the selected columns, as its click does.
    void slotKeysSendLikeClicks() {
        for (int slot = 1; slot <= 4; ++slot) {
            const Outcome typed = Run([&] {
                Key(Qt::Key_7);
                Key(Qt::Key_2);
                Key(kSlotKey[slot - 1]);
            });
            QCOMPARE(typed, Run([&] {
                         Click(PileSpot(7));
                         Click(PileSpot(2));
                         Click(HandSpot(1, slot));
                     }));
            QCOMPARE(typed.requests, Requests{"<1>" + std::to_string(slot) + "27</>"});
        }
        // With player 2 as a human to move, the keys play player 2's hand.
        for (int slot = 1; slot <= 4; ++slot) {
            const Outcome typed = Run([&] { Key(kSlotKey[slot - 1], Qt::ShiftModifier); }, 2, true);
            QCOMPARE(typed, Run([&] { Click(HandSpot(2, slot)); }, 2, true));
            QCOMPARE(typed.requests, Requests{"<2>" + std::to_string(slot) + "</>"});
        }
        // An empty slot sends nothing, as a click on it does.
        const auto emptySlot = [] { TestView().DisplayCard(1, 3, 1, 0, kErase); };
        const Outcome typed = Run([&] {
            emptySlot();
            Key(Qt::Key_O);
        });
        QCOMPARE(typed, Run([&] {
                     emptySlot();
                     Click(HandSpot(1, 3));
                 }));
        QVERIFY(typed.requests.empty());
    }

    void hintKeyLikeHintButton() {
        const Outcome typed = Run([&] { Key(Qt::Key_Question, Qt::ShiftModifier); });
        QCOMPARE(typed, Run([&] { QTest::mouseClick(window->Hint, Qt::LeftButton); }));
        QCOMPARE(typed.requests, Requests{"<?></>"});
        const auto noHand = [] {
            for (int slot = 1; slot <= 4; ++slot)
                TestView().DisplayCard(1, slot, 1, 0, kErase);
        };
        QVERIFY(window->Hint->isEnabled());
        QVERIFY(Run([&] {
                    noHand();
                    Key(Qt::Key_Question);
                }).requests.empty());
        // Without a card to play Hint does nothing, and looks it.
        QVERIFY(!window->Hint->isEnabled());
    }

    // Each pile shows its key above it, and that key chooses that pile; an
    // empty column shows none.
    void shownKeyChoosesThePileBelowIt() {
        Run([&] {
            for (int column = 1; column <= kNumColumns; ++column)
                if (column < 4 || column > 6) TestView().DisplayCard(0, column, 1, 0, kErase);
            const std::vector<ShownKey> keys = TestView().ShownPileKeys();
            QCOMPARE(int(keys.size()), 3);
            const QImage shown = window->Table->grab().toImage();
            for (const ShownKey& key : keys) {
                QVERIFY(shown.pixel(key.at.center()) != kTableColour);
                QTest::keyClick(window, key.key);
                int chosen = 0;
                for (int column = 1; column <= kNumColumns; ++column)
                    if (TestView().table.highlight[0][column] == 1) chosen = column;
                QVERIFY2(chosen > 0, &key.key);
                const QRect pile = PileExtent(chosen, TestView().table.pileDepth[0][chosen], true);
                QVERIFY(key.at.left() >= pile.left() && key.at.right() <= pile.right());
                QVERIFY(key.at.bottom() < pile.top());
                QTest::keyClick(window, key.key);  // and deselects it
            }
        });
    }

    // The dashed outline shows once the arrow keys are used on the table,
    // lies on no card, and goes with a mouse click.
    void focusOutlineIsForKeys() {
        Run([&] {
            SetFocusPlace(TestView(),
                          {});  // from the first card of the hand, whatever a test before chose
            window->Table->setFocus();
            const QPoint green = WordsBand().center();
            Click(green);
            const QImage plain = window->Table->grab().toImage();
            for (Qt::Key key : {Qt::Key_Right, Qt::Key_Up, Qt::Key_Right}) {
                QTest::keyClick(window->Table, key);
                const QImage outlined = window->Table->grab().toImage();
                QVERIFY(outlined != plain);
                QVERIFY(window->Table->FocusOutlineShown());
                for (int y = 0; y < plain.height(); ++y)
                    for (int x = 0; x < plain.width(); ++x) {
                        if (outlined.pixel(x, y) == plain.pixel(x, y)) continue;
                        for (int column = 1; column <= kNumColumns; ++column)
                            QVERIFY(!PileExtent(column, TestView().table.pileDepth[0][column], true)
                                         .contains(x, y));
                        for (int area = 1; area <= 2; ++area)
                            for (int slot = 1; slot <= 4; ++slot)
                                QVERIFY(
                                    !QRect(HandPlace(area, slot), QSize(kCardWidth, kCardHeight))
                                         .contains(x, y));
                    }
            }
            Click(green);
            QVERIFY(!window->Table->FocusOutlineShown());
            QCOMPARE(window->Table->grab().toImage(), plain);
        });
    }

    // While the computer is to move, and with Ctrl, Alt or Meta, and for a
    // held key's repeats, the keys do nothing.
    void keysThatDoNothing() {
        const Outcome untouched = Run([] {}, 2);
        for (Qt::Key key : {Qt::Key_3, Qt::Key_U, Qt::Key_P, Qt::Key_Question})
            QCOMPARE(Run([&] { Key(key); }, 2), untouched);
        const Outcome idle = Run([] {});
        for (auto modifier : {Qt::ControlModifier, Qt::AltModifier, Qt::MetaModifier}) {
            QCOMPARE(Run([&] { Key(Qt::Key_3, modifier); }), idle);
            QCOMPARE(Run([&] { Key(Qt::Key_U, modifier); }), idle);
        }
        QCOMPARE(Run([&] {
                     QKeyEvent repeat(QEvent::KeyPress, Qt::Key_U, Qt::NoModifier, "u", true);
                     QApplication::sendEvent(window, &repeat);
                 }),
                 idle);
    }

    // Keys typed while a button has the focus reach the window; the access
    // sequence on the remaining-cards button still works and plays nothing.
    void keysPassTheButtons() {
        QCOMPARE(Run([&] { QTest::keyClick(window->Hint, Qt::Key_U); }).requests,
                 Requests{"<1>1</>"});
        const bool shown = window->H->isVisible();
        const Outcome typed = Run([&] {
            QTest::keyClick(window->RemainingCardsButton, Qt::Key_K);
            QTest::keyClick(window->RemainingCardsButton, Qt::Key_Z);
            QTest::keyClick(window->RemainingCardsButton, Qt::Key_5);
        });
        QCOMPARE(window->H->isVisible(), !shown);
        QCOMPARE(typed, Run([&] { Click(PileSpot(5)); }));
        window->H->setVisible(shown);
    }
};

int main(int argc, char** argv) {
    CasinoApplication app(argc, argv);
    KeyboardTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "keyboard_test.moc"
