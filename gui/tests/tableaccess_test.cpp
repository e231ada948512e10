// The table as a screen reader finds it: the accessible interface of the
// painted table names every place with its cards and key, leaves hidden
// controls out, follows the keyboard focus, and speaks the words of every
// move once, through a notification, after any box that was open has closed.
#include "table/tableaccess.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>

#include "dialogs/boxes.h"
#include "link/selection.h"
#include "table/remainingpanel.h"
#include "test_support.h"
#include "window/casinogui.h"

namespace {

// The events sent, each with the name and description of its object then.
struct Told {
    QAccessible::Event type;
    QString name;
    QString description;
};
std::vector<Told> told;

void Record(QAccessibleEvent* event) {
    QAccessibleInterface* object = event->accessibleInterface();
    if (!object) return;
    told.push_back(
        {event->type(), object->text(QAccessible::Name), object->text(QAccessible::Description)});
}

QStringList Names(QAccessibleInterface* parent) {
    QStringList names;
    for (int i = 0; i < parent->childCount(); ++i)
        names << parent->child(i)->text(QAccessible::Name);
    return names;
}

// The children of `parent`, those of its lists in their place.
std::vector<QAccessibleInterface*> Places(QAccessibleInterface* parent) {
    std::vector<QAccessibleInterface*> places;
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface* child = parent->child(i);
        if (child->role() != QAccessible::List) places.push_back(child);
        for (int j = 0; child->role() == QAccessible::List && j < child->childCount(); ++j)
            places.push_back(child->child(j));
    }
    return places;
}

QStringList PlaceNames(QAccessibleInterface* parent) {
    QStringList names;
    for (QAccessibleInterface* place : Places(parent))
        names << place->text(QAccessible::Name);
    return names;
}

QAccessibleInterface* Child(QAccessibleInterface* parent, const QString& start) {
    for (QAccessibleInterface* place : Places(parent))
        if (place->text(QAccessible::Name).startsWith(start)) return place;
    return nullptr;
}

}  // namespace

class TableAccessTest : public QObject {
    Q_OBJECT

    TCasinoGUI* window = nullptr;

    QAccessibleInterface* Table() { return QAccessible::queryAccessibleInterface(window->Table); }

  private slots:
    void init() {
        window = FreshTest();
        QVERIFY(window);
        TestView().accessEvents = Record;
        told.clear();
    }
    void cleanup() { CloseTestWindow(); }

    // Each place that shows cards is a child named with its cards, its key,
    // its value and tag, placed where it is drawn; a selection is named and
    // marked; the other hand is a count while it is face down.
    void placesAreNamedWithTheirCards() {
        DealHands();
        DealPile(3, {5, 17});  // 5 of clubs, 4 of diamonds
        TestView().DrawTag(3, '9');
        DealPile(5, {30, 43});  // two 4s
        TestView().DrawTag(5, '4');
        TestView().DisplayCard(3, 1, 1, 22, kShow);
        TestView().DisplayCard(3, 1, 1, 36, kShow);
        TestView().DisplayCard(0, 3, 2, 1, kToggleHighlight);
        const QStringList names = PlaceNames(Table());
        for (const QString& name :
             {QStringLiteral("Your hand, card 2 of 4: 3 of spades (key I)"),
              QStringLiteral("Player No. 2's hand: 4 cards, face down"),
              QStringLiteral("Table pile 3 (key 3): 5 of clubs and 4 of diamonds, build of 9, "
                             "selected"),
              QStringLiteral("Table pile 5 (key 5): 4 of hearts and 4 of spades, block of 4s"),
              QStringLiteral("Player No. 1's capture pile: 2 cards, top card 10 of hearts")})
            QVERIFY2(names.contains(name), qPrintable(names.join(QLatin1Char('\n'))));

        QAccessibleInterface* pile = Child(Table(), QStringLiteral("Table pile 3"));
        QCOMPARE(pile->role(), QAccessible::ListItem);
        QVERIFY(pile->state().selected);
        QCOMPARE(pile->rect(), QRect(TestView().TableToGlobal(PileExtent(3, 2, true).topLeft()),
                                     PileExtent(3, 2, true).size()));
        const QPoint at = pile->rect().center();
        QCOMPARE(Table()->childAt(at.x(), at.y())->childAt(at.x(), at.y()), pile);
        QCOMPARE(Child(Table(), QStringLiteral("Your hand"))->role(), QAccessible::Button);
    }

    // The cards of the hand and the table piles are each a list, so that a
    // place's position is told in its row: pile 5 is the second of two. The
    // score sheet is no part of the card table but a table of its own in the
    // window, each cell with its player and row as headers.
    void rowsAreListsAndTheScoreSheetStandsApart() {
        DealHands();
        DealPile(3, 1);
        DealPile(5, 2);
        QAccessibleInterface* pile = Child(Table(), QStringLiteral("Table pile 5"));
        QAccessibleInterface* piles = pile->parent();
        QCOMPARE(piles->role(), QAccessible::List);
        QCOMPARE(piles->text(QAccessible::Name), QStringLiteral("Table piles"));
        QCOMPARE(piles->indexOfChild(pile), 1);
        QCOMPARE(piles->childCount(), 2);
        QCOMPARE(piles->parent(), Table());
        QVERIFY(Table()->indexOfChild(piles) >= 0);
        QAccessibleInterface* card = Child(Table(), QStringLiteral("Your hand, card 3 of 4"));
        QCOMPARE(card->parent()->childCount(), 4);
        QCOMPARE(card->parent()->indexOfChild(card), 2);

        for (int i = 0; i < Table()->childCount(); ++i)
            QVERIFY(Table()->child(i)->role() != QAccessible::Table);
        QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(window);
        QAccessibleInterface* sheet = Child(frame, QStringLiteral("Score sheet"));
        QVERIFY(sheet);
        QCOMPARE(sheet->role(), QAccessible::Table);
        QCOMPARE(frame->indexOfChild(sheet), frame->childCount() - 1);
        QCOMPARE(sheet->parent(), frame);
        QAccessibleInterface* points = sheet->tableInterface()->cellAt(6, 1);
        QVERIFY(points->text(QAccessible::Name).startsWith(QStringLiteral("Player No. 2, points")));
        QAccessibleTableCellInterface* cell = points->tableCellInterface();
        const auto header = [](const QList<QAccessibleInterface*>& cells) {
            return cells.size() == 1 ? cells[0]->text(QAccessible::Name) : QString();
        };
        QCOMPARE(header(cell->columnHeaderCells()), QStringLiteral("Player No. 2"));
        QCOMPARE(header(cell->rowHeaderCells()), QStringLiteral("points"));
    }

    // Hidden controls are not children, and a reader is told when they are
    // shown; the remaining-cards panel is one while it is raised; every
    // control that is shown has a name.
    void hiddenControlsAreLeftOut() {
        const auto isChild = [&](QWidget* control) {
            return Table()->indexOfChild(QAccessible::queryAccessibleInterface(control)) >= 0;
        };
        QVERIFY(!isChild(window->PutButton));
        QVERIFY(!isChild(window->RemainingCards));
        for (int i = 0; i < Table()->childCount(); ++i)
            QVERIFY(!Table()->child(i)->text(QAccessible::Name).isEmpty());
        told.clear();
        window->HClick();
        QVERIFY(isChild(window->PutButton));
        QVERIFY(std::any_of(told.begin(), told.end(), [](const Told& event) {
            return event.type == QAccessible::ObjectCreated && event.name == "Discard";
        }));
        window->HClick();

        // While hidden, the status line and the dumps are not written: a
        // screen reader would hear each change. Shown, they tell what is now.
        window->Label1->setText(QString());
        window->Edit3->setText(QString());
        TestView().ShowStatus(QStringLiteral("tableau clicked"));
        window->DebugCardClicked();
        QVERIFY(window->Label1->text().isEmpty() && window->Edit3->text().isEmpty());
        window->HClick();
        QCOMPARE(window->Label1->text(), QStringLiteral("tableau clicked"));
        QVERIFY(window->Edit3->text().startsWith(QStringLiteral("Cl")));
        window->HClick();

        RemainingCardsButtonClick(TestView());
        QVERIFY(isChild(window->RemainingCards));
        QVERIFY(Names(QAccessible::queryAccessibleInterface(window->RemainingCards))
                    .contains(QStringLiteral("Clubs not yet seen: 2, 3, 4, 5, 6, 7, 8, 9, 10, "
                                             "jack, queen, king, ace")));
        RemainingCardsButtonClick(TestView());
    }

    // Tab goes from Hint to the remaining-cards button to the table; there the
    // arrow keys move the focus over the places that are there, Space selects
    // the focused pile and Enter sends what the focused card's key sends.
    void focusKeysSelectAndPlay() {
        DealHands();
        DealPile(2, 1);
        DealPile(6, 1);
        window->activateWindow();
        window->Hint->setFocus();
        for (QWidget* next :
             {static_cast<QWidget*>(window->RemainingCardsButton),
              static_cast<QWidget*>(window->Table), static_cast<QWidget*>(window->Hint)}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        window->Table->setFocus();
        const auto focused = [&] {
            QAccessibleInterface* focus = Table()->focusChild();
            return focus ? focus->text(QAccessible::Name) : QString();
        };
        QVERIFY(focused().startsWith(QStringLiteral("Your hand, card 1 of 4")));
        QVERIFY(TableKey(TestView(), TestLink(), Qt::Key_Down));
        QVERIFY(focused().startsWith(QStringLiteral("Table pile 2")));
        QVERIFY(TableKey(TestView(), TestLink(), Qt::Key_Right));
        QVERIFY(focused().startsWith(QStringLiteral("Table pile 6")));
        QVERIFY(Table()->focusChild()->state().focused);
        QVERIFY(TableKey(TestView(), TestLink(), Qt::Key_Space));
        QCOMPARE(TestView().table.highlight[0][6], 1);
        QVERIFY(TableKey(TestView(), TestLink(), Qt::Key_Up));
        QVERIFY(TableKey(TestView(), TestLink(), Qt::Key_Right));
        QVERIFY(focused().startsWith(QStringLiteral("Your hand, card 4 of 4")));
        Sent::Clear();
        QVERIFY(TableKey(TestView(), TestLink(), Qt::Key_Return));
        QCOMPARE(Sent::List(), QStringList{QStringLiteral("<1>46</>")});
        QVERIFY(!TableKey(TestView(), TestLink(), Qt::Key_A));
    }

    // A move's words are spoken once, as a notification shown; words drawn
    // while a box is open are not lost: a box that opens at once tells them
    // itself, before its own words. Opening the remaining-cards panel is told.
    void movesAreSpokenOnceAndNotLostBehindABox() {
        DealHands();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        window->Table->setFocus();
        QCoreApplication::processEvents();
        const auto spoken = [] {
            QStringList words;
            for (const Told& event : told)
                if (event.type == QAccessible::ObjectShow) words << event.name;
            return words;
        };
        const QString move = QStringLiteral("Player No. 2 put the 7 of clubs on the table");
        told.clear();
        for (int i = 0; i < 2; ++i) {
            TestView().ShowMoveMarks(move);
            TestView().ShowBackBuffer();
            QCoreApplication::processEvents();
        }
        QCOMPARE(spoken(), QStringList{move});

        // A round's deal is told as dealt, ahead of the computer's first move,
        // though that move fills a capture pile before the words go out.
        window = FreshTest();
        TestView().accessEvents = Record;
        told.clear();
        DealHands();
        DealPile(2, {1});
        TestView().DisplayCard(0, 2, 1, 0, kErase);
        TestView().DisplayCard(4, 1, 1, 1, kShow);
        const QString lead =
            QStringLiteral("Player No. 2 took the ace of clubs with the ace of spades");
        TestView().ShowMoveMarks(lead);
        TestView().ShowBackBuffer();
        QCoreApplication::processEvents();
        QCOMPARE(spoken(), QStringList{QStringLiteral("New round: you hold 2 of spades, 3 of "
                                                      "spades, 4 of spades and 5 of spades; on "
                                                      "the table ace of clubs.\n") +
                                       lead});

        // A move that takes the chosen pile is told; not that the pile was left.
        SetFocusPlace(TestView(), {0, 3});
        DealPile(3, {3});
        QVERIFY(TableKey(TestView(), TestLink(), Qt::Key_Space));
        QCoreApplication::processEvents();
        told.clear();
        TestView().DisplayCard(0, 3, 1, 3, kToggleHighlight);
        const QString take =
            QStringLiteral("Player No. 2 took the 3 of clubs with the 3 of hearts");
        TestView().ShowMoveMarks(take);
        TestView().ShowBackBuffer();
        QCoreApplication::processEvents();
        QCOMPARE(spoken(), QStringList{take});

        const QString next = QStringLiteral("Player No. 2 put the 8 of clubs on the table");
        told.clear();
        QString described;
        ModalAnswerer answer([&](QWidget* box) {
            described = box->accessibleDescription();
            box->close();
        });
        TestView().ShowMoveMarks(next);
        TestView().ShowBackBuffer();
        ShowConfirmBox(TestView(), QStringLiteral("Continue Game"), QStringLiteral("Continue?"), {},
                       QStringLiteral("points"));
        QCoreApplication::processEvents();
        QCOMPARE(described, next + QStringLiteral("\npoints"));
        QVERIFY(spoken().isEmpty());

        // The remaining-cards panel, raised, reads its rows; lowered, says so.
        // Its button is expanded while it is raised, and says so at once.
        told.clear();
        QAccessibleInterface* button =
            QAccessible::queryAccessibleInterface(window->RemainingCardsButton);
        QVERIFY(button->state().expandable && !button->state().expanded);
        RemainingCardsButtonClick(TestView());
        QVERIFY(button->state().expanded);
        QVERIFY(std::any_of(told.begin(), told.end(), [](const Told& event) {
            return event.type == QAccessible::StateChanged && event.name == "Cards not yet seen";
        }));
        QTRY_COMPARE(spoken().size(), 1);  // once the window is active again
        RemainingCardsButtonClick(TestView());
        QTRY_COMPARE(spoken().size(), 2);
        QVERIFY(spoken().first().startsWith(
            QStringLiteral("Cards not yet seen expanded. Clubs not yet seen: ")));
        QCOMPARE(spoken().last(), QStringLiteral("Cards not yet seen collapsed."));
    }
};

QTEST_MAIN(TableAccessTest)
#include "tableaccess_test.moc"
