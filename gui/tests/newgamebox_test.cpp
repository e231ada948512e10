// The New Game dialog: what OK stores and refuses, the reduced settings form,
// the back chooser's clicks and its exclusive-or tick, the help box over the
// dialog, and the New Game and Game Settings commands against the real library.
#include "dialogs/newgamebox.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <algorithm>

#include "core/mirror.h"
#include "dialogs/boxes.h"
#include "dialogs/choicelist.h"
#include "link/logiclink.h"
#include "link/operations.h"
#include "table/tableview.h"
#include "test_support.h"
#include "window/application.h"
#include "window/casinogui.h"
#include "window/commands.h"

namespace {

// The chooser index that a press at (dx, dy) from the chooser's top left selects.
int IndexAfterPress(TNewGameBox& box, int dx, int dy, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(&box, button, {}, box.ChooserPlace() + QPoint(dx, dy));
    return box.ChosenBack();
}

// The names of the list items that a screen reader is told take the focus,
// while it lives.
struct FocusedItems {
    FocusedItems() {
        names.clear();
        SetChoiceEventSink([](QAccessibleEvent* event) {
            QAccessibleInterface* object = event->accessibleInterface();
            if (event->type() == QAccessible::Focus && object->role() == QAccessible::ListItem)
                names << object->text(QAccessible::Name);
        });
    }
    ~FocusedItems() { SetChoiceEventSink(nullptr); }
    static inline QStringList names;
};

}  // namespace

class NewGameBoxTest : public QObject {
    Q_OBJECT

    TCasinoGUI* window = nullptr;

  private slots:
    void initTestCase() {
        QFile::remove(QStringLiteral("kzq.gds"));
        window = OpenTestWindow(true);
        QVERIFY(window);
        QVERIFY(PassThrough::Install());
    }
    void cleanupTestCase() { CloseTestWindow(); }

    void init() {
        TestMirror() = GameMirror{};
        QVERIFY(PassThrough::Install());
    }

    void cleanName_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored");
        QTest::newRow("plain") << "Ann"
                               << "Ann";
        QTest::newRow("empty") << ""
                               << "Anonymous";
        QTest::newRow("one blank") << " "
                                   << "Anonymous";
        QTest::newRow("two blanks stay") << "  "
                                         << "  ";
        QTest::newRow("brackets only") << "()"
                                       << "Anonymous";
        QTest::newRow("brackets around a blank") << "( )"
                                                 << "Anonymous";
        QTest::newRow("item brackets") << "<Ann>"
                                       << "Ann";
        QTest::newRow("blanks kept where they are") << " (Ann) Lee "
                                                    << " Ann Lee ";
        QTest::newRow("cut to 20") << "abcdefghijklmnopqrstuvwxyz"
                                   << "abcdefghijklmnopqrst";
        QTest::newRow("cut after cleaning") << "(((((abcdefghijklmnopqrstuvwxyz"
                                            << "abcdefghijklmnopqrst";
    }
    void cleanName() {
        QFETCH(QString, text);
        QFETCH(QString, stored);
        QCOMPARE(WireToText(StoredName(text)), stored);
    }

    void typingStopsAtNineteenCharacters() {
        TNewGameBox box(NewGameMode::kNewGame, TestMirror());
        box.PName1->clearEditText();
        QTest::keyClicks(box.PName1->lineEdit(), QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
        QCOMPARE(box.PName1->currentText(), QStringLiteral("abcdefghijklmnopqrs"));
    }

    void fillsFromSettingsAndHallOfFame() {
        TestMirror().settings.player1Name = "Ann";
        TestMirror().settings.player2Name = "Amy";
        TestMirror().settings.backRank = 'q';
        TestMirror().settings.delaySetting = 7;
        TestMirror().settings.sound = false;
        TestMirror().settings.animation = true;
        TestMirror().hallOfFame[1].name = "Zed";
        TestMirror().hallOfFame[3].name = "Amy";
        TNewGameBox box(NewGameMode::kNewGame, TestMirror());
        QCOMPARE(box.windowTitle(), QStringLiteral("New Game Settings"));
        QCOMPARE(box.size(), QSize(498, 414));
        QCOMPARE(box.PName1->currentText(), QStringLiteral("Ann"));
        QCOMPARE(box.PName2->currentText(), QStringLiteral("Amy"));
        QCOMPARE(box.PName1->currentIndex(), -1);
        QCOMPARE(box.PName2->currentIndex(), 1);  // the list shows the name's own entry
        for (QComboBox* names : {box.PName1, box.PName2}) {
            QCOMPARE(names->count(), 2);  // rows without a name are left out
            QCOMPARE(names->itemText(0), QStringLiteral("Zed"));
            QCOMPARE(names->itemText(1), QStringLiteral("Amy"));
        }
        QCOMPARE(box.ChosenBack(), 12);
        QCOMPARE(box.SpinEdit3->value(), 7);
        QVERIFY(!box.GameSoundCheckbox->isChecked());
        QVERIFY(box.GameAnimateCheckbox->isChecked());
        QCOMPARE(box.SpinEdit2->value(), 1);
        QVERIFY(!box.SpinEdit2->isEnabled());
        QVERIFY(box.GameNumber->isHidden());
        QVERIFY(box.GameNumberSpinEdit->isHidden());
        QCOMPARE(box.ChooserPlace(), QPoint(15, 125));
        QVERIFY(box.StartButton->isDefault());
    }

    // A back rank that names no back gives the first back.
    void unknownBackGivesTheFirst() {
        TestMirror().settings.backRank = 'A';
        TNewGameBox box(NewGameMode::kNewGame, TestMirror());
        QCOMPARE(box.ChosenBack(), TNewGameBox::kFirstIndex);
        box.OKButtonClick();
        QCOMPARE(TestMirror().settings.backRank, '2');
        QCOMPARE(TestMirror().settings.backSuit, 'B');
    }

    void okStoresTheDialog_data() {
        QTest::addColumn<QString>("name1");
        QTest::addColumn<QString>("name2");
        QTest::addColumn<char>("rankShown");
        QTest::addColumn<int>("delay");
        QTest::addColumn<QString>("stored1");
        QTest::addColumn<QString>("stored2");
        QTest::addColumn<char>("rankStored");
        QTest::newRow("as shown") << "Ann"
                                  << "Bob" << '6' << 0 << "Ann"
                                  << "Bob" << '6';
        QTest::newRow("cleaned") << "(Ann)"
                                 << " " << 't' << 9 << "Ann"
                                 << "Anonymous" << 'T';
        QTest::newRow("Western letters and a lower-case king") << "Åsa Ødegård"
                                                               << "<>" << 'k' << 4 << "Åsa Ødegård"
                                                               << "Anonymous" << 'K';
    }
    void okStoresTheDialog() {
        QFETCH(QString, name1);
        QFETCH(QString, name2);
        QFETCH(char, rankShown);
        QFETCH(int, delay);
        QFETCH(QString, stored1);
        QFETCH(QString, stored2);
        QFETCH(char, rankStored);
        TestMirror().settings.backRank = rankShown;
        TestMirror().settings.backSuit = '5';
        TestMirror().settings.player2Level = 7;  // as an "I" item may have set it
        TestMirror().settings.player1Level = 0;
        TestMirror().settings.gameNumber = 4;
        TNewGameBox box(NewGameMode::kNewGame, TestMirror());
        box.PName1->setEditText(name1);
        box.PName2->setEditText(name2);
        box.SpinEdit3->setValue(delay);
        box.GameSoundCheckbox->setChecked(false);
        box.GameAnimateCheckbox->setChecked(true);
        box.show();
        box.StartButton->click();
        QVERIFY(!box.isVisible());
        QCOMPARE(box.Outcome(), int(kOutcomeStartGame));
        QCOMPARE(WireToText(TestMirror().settings.player1Name), stored1);
        QCOMPARE(WireToText(TestMirror().settings.player2Name), stored2);
        QCOMPARE(TestMirror().settings.player1Level, 0);
        QCOMPARE(TestMirror().settings.player2Level, 1);  // from the level control
        QCOMPARE(TestMirror().settings.backRank, rankStored);
        QCOMPARE(TestMirror().settings.backSuit, 'B');
        QCOMPARE(TestMirror().settings.delaySetting, delay);
        QCOMPARE(TestMirror().settings.delayUnit, 20 * delay);
        QVERIFY(!TestMirror().settings.sound);
        QVERIFY(TestMirror().settings.animation);
        QCOMPARE(TestMirror().settings.gameNumber, 0);  // outside debug mode
    }

    void gameNumberOnlyInDebugMode() {
        TestMirror().debugFlag = true;
        {
            TNewGameBox box(NewGameMode::kNewGame, TestMirror());
            QVERIFY(!box.GameNumber->isHidden());
            QVERIFY(!box.GameNumberSpinEdit->isHidden());
            QCOMPARE(box.GameNumberSpinEdit->value(), 0);
            QCOMPARE(box.GameNumberSpinEdit->maximum(), 9);
            box.GameNumberSpinEdit->setValue(3);
            box.OKButtonClick();
            QCOMPARE(TestMirror().settings.gameNumber, 3);
        }
        {
            TNewGameBox box(NewGameMode::kNewGame, TestMirror());
            QCOMPARE(box.GameNumberSpinEdit->value(), 0);  // starts at 0 at every opening
        }
        TestMirror().debugFlag = false;
        TNewGameBox box(NewGameMode::kNewGame, TestMirror());
        box.GameNumberSpinEdit->setValue(5);
        box.OKButtonClick();
        QCOMPARE(TestMirror().settings.gameNumber, 0);
    }

    void equalNamesAreRefused_data() {
        QTest::addColumn<QString>("name1");
        QTest::addColumn<QString>("name2");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("same text") << "Ann"
                                   << "Ann" << false;
        QTest::newRow("Anonymous twice") << "Anonymous"
                                         << "Anonymous" << false;
        QTest::newRow("empty and one blank") << ""
                                             << " " << false;
        QTest::newRow("equal once cleaned") << "(Ann)"
                                            << "Ann" << false;
        QTest::newRow("differing in case") << "ann"
                                           << "Ann" << true;
        QTest::newRow("differing in a blank") << "Ann "
                                              << "Ann" << true;
    }
    void equalNamesAreRefused() {
        QFETCH(QString, name1);
        QFETCH(QString, name2);
        QFETCH(bool, accepted);
        MessageLog log;
        for (NewGameMode mode : {NewGameMode::kNewGame, NewGameMode::kSettings}) {
            TestMirror() = GameMirror{};
            TNewGameBox box(mode, TestMirror());
            box.PName1->setEditText(name1);
            box.PName2->setEditText(name2);
            box.SpinEdit3->setValue(5);
            box.show();
            box.StartButton->click();
            QCOMPARE(box.isVisible(), !accepted);
            if (accepted) continue;
            QCOMPARE(box.Outcome(), int(kOutcomeNone));
            QCOMPARE(TestMirror().settings.player1Name, std::string("Player No. 1"));
            QCOMPARE(TestMirror().settings.delaySetting, 0);
            QCOMPARE(TestMirror().settings.delayUnit, 10);
        }
        QCOMPARE(log.texts,
                 accepted ? QStringList()
                          : QStringList(2, QStringLiteral("Please enter unique player names.")));
    }

    // A name that would be stored otherwise than typed is refused, with the
    // reason; either box, in both modes.
    void unstorableNamesAreRefused_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("told");
        QTest::newRow("three blanks") << "   "
                                      << "only blanks";
        QTest::newRow("outside Latin-1") << "Łukasz Żak"  // "?ukasz ?ak" in the records
                                         << "\"Ł\", \"Ż\" cannot be written";
        QTest::newRow("outside the first plane") << "Ann \U0001F0A1"
                                                 << "\"\U0001F0A1\" cannot be written";
    }
    void unstorableNamesAreRefused() {
        QFETCH(QString, name);
        QFETCH(QString, told);
        for (NewGameMode mode : {NewGameMode::kNewGame, NewGameMode::kSettings})
            for (bool first : {true, false}) {
                MessageLog log;
                TestMirror() = GameMirror{};
                TNewGameBox box(mode, TestMirror());
                (first ? box.PName1 : box.PName2)->setEditText(name);
                box.show();
                box.StartButton->click();
                QVERIFY(box.isVisible());
                QCOMPARE(box.Outcome(), int(kOutcomeNone));
                QCOMPARE(log.texts.size(), 1);
                QVERIFY2(log.texts[0].contains(told), qPrintable(log.texts[0]));
            }
    }

    // A screen reader finds each name box's label, and hears the back chooser as
    // a list of the backs whose focused item follows the arrow keys.
    void screenReaderHearsLabelsAndBacks() {
        TestMirror().settings.backRank = '2';
        TNewGameBox box(NewGameMode::kNewGame, TestMirror());
        box.show();
        box.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        for (const auto& [label, field] :
             {std::pair{box.Name1, box.PName1}, {box.Name2, box.PName2}}) {
            const auto labels =
                QAccessible::queryAccessibleInterface(field)->relations(QAccessible::Label);
            QVERIFY(std::any_of(labels.begin(), labels.end(), [&](const auto& relation) {
                return relation.first->object() == label;
            }));
        }
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(box.BackChooser);
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->childCount(), 12);
        FocusedItems focused;
        box.BackChooser->setFocus();
        QTRY_COMPARE(focused.names, QStringList{TNewGameBox::BackName(2)});
        QTest::keyClick(box.BackChooser, Qt::Key_Down);
        QTest::keyClick(box.BackChooser, Qt::Key_Down);  // no row below: the back stays
        QCOMPARE(focused.names, (QStringList{TNewGameBox::BackName(2), TNewGameBox::BackName(8)}));
        QAccessibleInterface* item = list->focusChild();
        QCOMPARE(list->indexOfChild(item), 6);
        QVERIFY(item->state().focused && item->state().selected);
        QVERIFY(!list->child(0)->state().selected);
    }

    void reducedSettingsDialog() {
        TNewGameBox full(NewGameMode::kNewGame, TestMirror());
        TNewGameBox box(NewGameMode::kSettings, TestMirror());
        QCOMPARE(box.windowTitle(), QStringLiteral("Modify Game Settings"));
        QCOMPARE(box.size(), QSize(498, 314));
        QVERIFY(box.Player1Group->isHidden());
        QVERIFY(box.Player2Group->isHidden());
        QVERIFY(box.PName1->isHidden());
        QCOMPARE(box.CardBack->pos(), QPoint(16, 4));
        QCOMPARE(box.Bevel1->geometry(), QRect(8, 9, 481, 2));
        QCOMPARE(box.Bevel2->geometry(), QRect(8, 233, 481, 2));
        QCOMPARE(box.Bevel3->geometry(), QRect(8, 9, 2, 226));
        QCOMPARE(box.Bevel4->geometry(), QRect(488, 9, 2, 226));
        QCOMPARE(box.OtherGroup->geometry(), QRect(8, 240, 209, 65));
        QCOMPARE(box.GroupBox2->geometry(), QRect(224, 240, 265, 65));
        QCOMPARE(box.ChooserPlace(), QPoint(15, 25));
        QCOMPARE(full.OtherGroup->geometry(), QRect(8, 340, 209, 65));

        // OK applies the settings (the hidden level control still sets player 2's level).
        TestMirror().settings.player2Level = 6;
        box.SpinEdit3->setValue(9);
        box.OKButtonClick();
        QCOMPARE(box.Outcome(), int(kOutcomeApplySettings));
        QCOMPARE(TestMirror().settings.player2Level, 1);
        QCOMPARE(TestMirror().settings.delayUnit, 180);
    }

    // The dialog shows the chooser picture at its place, in both forms.
    void chooserIsPaintedAtItsPlace() {
        for (NewGameMode mode : {NewGameMode::kNewGame, NewGameMode::kSettings}) {
            TNewGameBox box(mode, TestMirror());
            box.show();
            QVERIFY(QTest::qWaitForWindowExposed(&box));
            QCOMPARE(box.ChooserPicture().devicePixelRatio(), box.devicePixelRatioF());
            const QImage shown = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QRect place(box.ChooserPlace(), QSize(466, 200));
            QCOMPARE(shown.copy(place), box.ChooserPicture());
            // Just outside it is the dialog's own colour, not silver.
            QVERIFY(shown.pixel(place.left() - 2, place.top() + 50) != qRgb(192, 192, 192));
        }
    }

    void backChooserPresses_data() {
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::addColumn<int>("index");  // 0: unchanged
        QTest::newRow("inside the first back") << 30 << 40 << 2;
        QTest::newRow("inside the fourth back") << 3 * 79 + 30 << 40 << 5;
        QTest::newRow("inside the second row") << 2 * 79 + 30 << 104 + 50 << 10;
        QTest::newRow("gap right of the third back") << 2 * 79 + 74 << 40 << 4;
        QTest::newRow("gap below the sixth back") << 5 * 79 + 30 << 100 << 7;
        QTest::newRow("near the left edge") << 1 << 40 << 2;
        QTest::newRow("left strip of the second back") << 79 + 5 << 40 << 2;
        QTest::newRow("just past that strip") << 79 + 8 << 40 << 3;
        QTest::newRow("near the top edge") << 3 * 79 + 30 << 1 << 5;
        QTest::newRow("bottom right corner") << 465 << 199 << 13;
        QTest::newRow("on the left edge") << 0 << 40 << 0;
        QTest::newRow("on the top edge") << 30 << 0 << 0;
        QTest::newRow("on the right edge") << 466 << 40 << 0;
        QTest::newRow("on the bottom edge") << 30 << 200 << 0;
        QTest::newRow("far outside") << -10 << -50 << 0;
    }
    void backChooserPresses() {
        QFETCH(int, dx);
        QFETCH(int, dy);
        QFETCH(int, index);
        TestMirror().settings.backRank = '8';
        for (NewGameMode mode : {NewGameMode::kNewGame, NewGameMode::kSettings}) {
            TNewGameBox box(mode, TestMirror());
            box.show();
            QCOMPARE(IndexAfterPress(box, dx, dy, Qt::RightButton), index ? index : 8);
        }
    }

    // The tick is drawn by exclusive-or: moving it away restores the old back
    // exactly, and it marks only the selected back.
    void tickMovesByExclusiveOr() {
        TestMirror().settings.backRank = '2';
        TNewGameBox box(NewGameMode::kNewGame, TestMirror());
        box.show();
        const QImage onFirst = box.ChooserPicture();
        QCOMPARE(IndexAfterPress(box, 4 * 79 + 20, 104 + 20), 12);
        const QImage onQueen = box.ChooserPicture();
        QVERIFY(onQueen != onFirst);
        // Only the two cells involved changed.
        const QRect first(0, 0, 71, 96);
        const QRect queen(4 * 79, 104, 71, 96);
        for (int y = 0; y < 200; y += 3)
            for (int x = 0; x < 466; x += 3)
                if (!first.contains(x, y) && !queen.contains(x, y))
                    QCOMPARE(onQueen.pixel(x, y), onFirst.pixel(x, y));
        // The same back again, or a press outside, changes nothing.
        IndexAfterPress(box, 4 * 79 + 40, 104 + 60);
        IndexAfterPress(box, 500, 60);
        QCOMPARE(box.ChooserPicture(), onQueen);
        QCOMPARE(IndexAfterPress(box, 10, 10), 2);
        QCOMPARE(box.ChooserPicture(), onFirst);
        // The tick's fill inverts the back under it.
        const QPoint inside(17, 40);  // within the tick's corners (8,24)..(23,48)..(23,72)
        const QPoint beside = inside + QPoint(79, 0);
        TestMirror().settings.backRank = '3';
        TNewGameBox other(NewGameMode::kNewGame, TestMirror());
        QCOMPARE(other.ChooserPicture().pixel(beside), onFirst.pixel(beside) ^ 0x00ffffffu);
        QCOMPARE(other.ChooserPicture().pixel(inside), onFirst.pixel(inside) ^ 0x00ffffffu);
    }

    void soundAndAnimationLabelsToggle() {
        TestMirror().settings.sound = true;
        TestMirror().settings.animation = false;
        TNewGameBox box(NewGameMode::kNewGame, TestMirror());
        box.show();
        QTest::mouseClick(box.GameSound, Qt::LeftButton);
        QTest::mouseClick(box.GameAnimation, Qt::LeftButton);
        QVERIFY(!box.GameSoundCheckbox->isChecked());
        QVERIFY(box.GameAnimateCheckbox->isChecked());
        QTest::mouseClick(box.GameSound, Qt::LeftButton);
        QVERIFY(box.GameSoundCheckbox->isChecked());
    }

    void cancellingStoresNothing_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("Cancel") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("title bar") << 2;
    }
    void cancellingStoresNothing() {
        QFETCH(int, how);
        AnswerNextModal([how](QWidget* modal) {
            auto* box = dynamic_cast<TNewGameBox*>(modal);
            QVERIFY(box);
            box->PName1->setEditText(QStringLiteral("Changed"));
            box->SpinEdit3->setValue(4);
            if (how == 0) box->CancelButton->click();
            if (how == 1) QTest::keyClick(box, Qt::Key_Escape);
            if (how == 2) box->close();
        });
        QCOMPARE(ShowNewGameBox(TestGame(), NewGameMode::kNewGame), int(kOutcomeNone));
        QCOMPARE(TestMirror().settings.player1Name, std::string("Player No. 1"));
        QCOMPARE(TestMirror().settings.delayUnit, 10);
    }

    // Help opens the help box over the dialog, which stays open behind it.
    void helpOpensOverTheDialog() {
        bool helpShown = false;
        bool dialogOpenBehind = false;
        bool dialogOpenAfter = false;
        AnswerNextModal([&](QWidget* modal) {
            auto* box = dynamic_cast<TNewGameBox*>(modal);
            QVERIFY(box);
            AnswerNextModal([&, box](QWidget* help) {
                helpShown = dynamic_cast<THelpBox*>(help) != nullptr;
                dialogOpenBehind = box->isVisible();
                help->close();
            });
            box->HelpButton->click();
            dialogOpenAfter = box->isVisible();
            QTest::keyClick(box->StartButton, Qt::Key_Return);
        });
        QCOMPARE(ShowNewGameBox(TestGame(), NewGameMode::kNewGame), int(kOutcomeStartGame));
        QVERIFY(helpShown);
        QVERIFY(dialogOpenBehind);
        QVERIFY(dialogOpenAfter);
    }

    // The New Game command: the settings and the names by name order from the
    // library, the dialog, and a dealt game on OK.
    void newGameCommandDealsAGame() {
        QStringList listed;
        QString shown1;
        AnswerNextModal([&](QWidget* modal) {
            auto* box = dynamic_cast<TNewGameBox*>(modal);
            QVERIFY(box);
            QCOMPARE(box->windowTitle(), QStringLiteral("New Game Settings"));
            for (int i = 0; i < box->PName2->count(); ++i)
                listed << box->PName2->itemText(i);
            shown1 = box->PName1->currentText();
            box->PName2->setEditText(QStringLiteral("(Robot)"));
            QTest::keyClick(box->StartButton, Qt::Key_Return);
        });
        NewGameCommand(TestGame());

        QCOMPARE(listed.size(), 15);
        QStringList sorted = listed;
        sorted.sort(Qt::CaseSensitive);
        QCOMPARE(listed, sorted);
        QCOMPARE(shown1, QStringLiteral("Alice Brown"));  // the library's player 1
        QCOMPARE(Sent::List().value(0), QStringLiteral("<I></>"));
        QCOMPARE(Sent::List().value(1), QStringLiteral("<I>61</>"));
        QCOMPARE(Sent::List().value(16), QStringLiteral("<H>15</>"));
        const QString start = Sent::List().value(17);
        QVERIFY2(start.startsWith(QStringLiteral("<I>02B<I>10Alice Brown<I>21Robot<I>3")),
                 qPrintable(start));
        QVERIFY2(start.endsWith(QStringLiteral("<Z><K>0<U></>")), qPrintable(start));
        QCOMPARE(window->Player2Name->text(), QStringLiteral("Robot"));
        // Dealt: four cards in each hand and four on the table.
        for (int slot = 1; slot <= 4; ++slot) {
            QVERIFY(TestView().table.handCards[1][slot] >= 1 &&
                    TestView().table.handCards[1][slot] <= 52);
            QCOMPARE(TestView().table.handCards[2][slot],
                     54);  // the computer's hand shows the back
        }
        int tableCards = 0;
        for (int column = 1; column <= kNumColumns; ++column)
            tableCards += TestView().table.pileDepth[0][column];
        QCOMPARE(tableCards, 4);
    }

    // Game Settings during the game: no names fetched, no new deal; the
    // computer's hand shows the chosen back at once.
    void gameSettingsApplyWithoutADeal() {
        {
            RequestBuffer buffer;
            MakeMessage('I', buffer);
            TestLink().Send(buffer);
            StartNewGame(TestLink(), TestMirror(), TestView());
            Sent::Clear();
        }
        AnswerNextModal([&](QWidget* modal) {
            auto* box = dynamic_cast<TNewGameBox*>(modal);
            QVERIFY(box);
            QCOMPARE(box->windowTitle(), QStringLiteral("Modify Game Settings"));
            IndexAfterPress(*box, 5 * 79 + 20, 104 + 20);  // the king's back
            box->SpinEdit3->setValue(3);
            box->StartButton->click();
        });
        const int firstCard = TestView().table.handCards[1][1];
        GameSettingsCommand(TestGame());
        QCOMPARE(Sent::List().size(), 2);
        QCOMPARE(Sent::List().value(0), QStringLiteral("<I></>"));
        QVERIFY2(Sent::List().value(1).startsWith(QStringLiteral("<I>0KB<I>10Alice Brown<I>21")),
                 qPrintable(Sent::List().value(1)));
        QVERIFY(!Sent::List().value(1).contains(QStringLiteral("<K>")));
        QCOMPARE(TestView().table.handCards[1][1], firstCard);
        int backsShown = 0;
        for (int slot = 1; slot <= 4; ++slot) {
            if (TestView().table.pileDepth[2][slot] == 0) continue;
            QCOMPARE(TestView().table.handCards[2][slot], 65);
            ++backsShown;
        }
        QVERIFY(backsShown >= 3);  // the computer may have played first
        QCOMPARE(TestMirror().settings.delayUnit, 60);
        // The library keeps the new back.
        RequestBuffer buffer;
        MakeMessage('I', buffer);
        TestLink().Send(buffer);
        QCOMPARE(TestMirror().settings.backRank, 'K');
        QCOMPARE(TestMirror().settings.delaySetting, 3);
    }
};

int main(int argc, char** argv) {
    CasinoApplication app(argc, argv);
    NewGameBoxTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "newgamebox_test.moc"
