// Card selection and move entry: where clicks hit, the status line, the move
// requests, the Choose Action dialog for every menu code, the hint offer, the
// Discard button and the hidden debug controls.
#include "link/selection.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "dialogs/ambiguous.h"
#include "dialogs/boxes.h"
#include "link/replies.h"
#include "table/tableview.h"
#include "test_support.h"
#include "window/application.h"
#include "window/casinogui.h"

namespace {

using Requests = std::vector<std::string>;

// Runs `seen` at every paint of `widget` while it lives.
class PaintSpy : public QObject {
  public:
    PaintSpy(QWidget* widget, std::function<void()> seen)
        : widget_(widget), seen_(std::move(seen)) {
        widget_->installEventFilter(this);
    }
    ~PaintSpy() override { widget_->removeEventFilter(this); }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) seen_();
        return false;
    }

  private:
    QWidget* widget_;
    std::function<void()> seen_;
};

}  // namespace

class SelectionTest : public QObject {
    Q_OBJECT

    TCasinoGUI* window = nullptr;

    QString Status() const { return TestView().StatusText(); }
    static void Select(const QPoint& at) { CardSelect(TestView(), TestLink(), at.x(), at.y()); }

  private slots:
    void init() { window = FreshTest(); }
    void cleanup() { CloseTestWindow(); }

    // x from 0 to 11 is column 1; the 16 pixels between two columns are no column.
    void tableColumnsAndGaps() {
        DealPile(1, 1);
        DealPile(2, 1);
        for (int x : {0, 11, 82}) {
            CardSelect(TestView(), TestLink(), x, 200);
            QCOMPARE(TestView().table.highlight[0][1], 1);
            QCOMPARE(Status(), QStringLiteral("tableau clicked. col1=1 col2=1"));
            CardSelect(TestView(), TestLink(), x, 200);
            QCOMPARE(TestView().table.highlight[0][1], 0);
        }
        for (int x : {83, 90, 98}) {
            CardSelect(TestView(), TestLink(), x, 200);
            QCOMPARE(TestView().table.highlight[0][1] + TestView().table.highlight[0][2], 0);
            QCOMPARE(Status(), QStringLiteral("no card selected on tableau"));
        }
        CardSelect(TestView(), TestLink(), 99, 200);
        QCOMPARE(TestView().table.highlight[0][2], 1);
        QCOMPARE(Status(), QStringLiteral("tableau clicked. col1=2 col2=2"));
        CardSelect(TestView(), TestLink(), 791, 200);  // right of the last column: c2 is 10
        QVERIFY(Sent::requests.empty());
    }

    // A pile takes clicks from just below the table top to 17 pixels below its top card.
    void pileHeights() {
        DealPile(5, 2);
        const int x = PileSpot(5).x();
        CardSelect(TestView(), TestLink(), x, 180);
        QCOMPARE(TestView().table.highlight[0][5], 0);
        CardSelect(TestView(), TestLink(), x, 181);
        QCOMPARE(TestView().table.highlight[0][5], 1);
        CardSelect(TestView(), TestLink(), x, 309);  // 197 + 96 + 16
        QCOMPARE(TestView().table.highlight[0][5], 0);
        CardSelect(TestView(), TestLink(), x, 310);
        QCOMPARE(TestView().table.highlight[0][5], 0);
        Select(PileSpot(6));  // column 6 holds nothing
        QCOMPARE(TestView().table.highlight[0][6], 0);
        QCOMPARE(Status(), QStringLiteral("no card selected on tableau"));
    }

    // Columns 7, 2 and 3, then player 1's slot 1: the move names the slot and
    // the columns in ascending order, and the clicked card is highlighted.
    void moveMessageListsTheHighlightedColumns() {
        DealHands();
        for (int column : {7, 2, 3, 5})
            DealPile(column, 1);
        for (int column : {7, 2, 3, 5})
            Select(PileSpot(column));
        Select(PileSpot(5));  // 5 again: deselected
        Select(HandSpot(1, 1));
        QCOMPARE(Sent::requests, Requests{"<1>1237</>"});
        QCOMPARE(Status(),
                 QStringLiteral("legal players hand clicked. legal card selected. column= 1"));
        QCOMPARE(TestView().table.highlight[1][1], 1);
    }

    // The window's mouse press reaches CardSelect; a hand card alone is a Put.
    void clicksOnTheWindow() {
        DealHands();
        StandIn::Script({"<1>1100<P>1</>"});
        QTest::mouseClick(window->Table, Qt::LeftButton, {}, HandSpot(1, 4));
        QCOMPARE(Sent::requests, Requests{"<1>4</>"});
        QCOMPARE(TestView().table.highlight[1][4], 0);  // "P" took the highlight off
    }

    void handClicksThatSendNothing() {
        DealHands();
        TestView().DisplayCard(1, 2, 1, 0, kShow);
        Select(HandSpot(1, 2));  // player 1's empty slot 2
        QCOMPARE(Status(), QStringLiteral("illegal selection"));
        CardSelect(TestView(), TestLink(), HandPlace(1, 1).x(),
                   60);  // the hand's edges are not in it
        CardSelect(TestView(), TestLink(), HandPlace(1, 4).x() + kCardWidth, 60);
        CardSelect(TestView(), TestLink(), 100,
                   kHandBottom);  // the row between the hands and the table
        Select(HandSpot(2, 2));   // player 2's hand while player 1 is to move
        QCOMPARE(Status(), QStringLiteral("illegal selection"));
        QVERIFY(Sent::requests.empty());

        TestMirror().SetCurrentPlayer(2);
        Select(HandSpot(1, 2));
        QVERIFY(Sent::requests.empty());
        CardSelect(TestView(), TestLink(), HandPlace(2, 3).x() + 5, kHandBottom - 1);
        QCOMPARE(Sent::requests, Requests{"<2>3</>"});
    }

    void chooseAction_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("take");
        QTest::addColumn<bool>("build");
        QTest::addColumn<bool>("block");
        QTest::addColumn<QString>("sentence");
        QTest::newRow("8") << 8 << false << false << false
                           << "You may only Put this card on the table.";
        QTest::newRow("11") << 11 << true << true << false << "You may Take, Build, or Put.";
        QTest::newRow("13") << 13 << false << true << true << "You may Build, Block, or Put.";
        QTest::newRow("14") << 14 << true << false << true << "You may Take, Block, or Put.";
        QTest::newRow("15") << 15 << true << true << true << "You may Take, Build, Block, or Put.";
    }

    // Every enabled button answers its own choice; Escape and the title bar are Cancel.
    void chooseAction() {
        QFETCH(int, code);
        QFETCH(bool, take);
        QFETCH(bool, build);
        QFETCH(bool, block);
        QFETCH(QString, sentence);

        QString text, title;
        QList<bool> enabled;
        QRect placed;
        AnswerNext<TAmbiguous>([&](TAmbiguous* box) {
            title = box->windowTitle();
            text = box->Label1->text();
            enabled = {box->TakeButton->isEnabled(), box->BuildButton->isEnabled(),
                       box->BlockButton->isEnabled(), box->PutButton->isEnabled(),
                       box->CancelButton->isEnabled()};
            placed = box->frameGeometry();
            box->PutButton->click();
        });
        QCOMPARE(ChooseAction(code), 4);
        QCOMPARE(title, QStringLiteral("Choose Action"));
        QCOMPARE(text, QStringLiteral("Please indicate how to play your card.  ") + sentence);
        QCOMPARE(enabled, (QList<bool>{take, build, block, true, true}));
        const QRect main = window->frameGeometry();
        QCOMPARE(placed.top(), main.top() + 350);
        QVERIFY(qAbs(placed.center().x() - main.center().x()) <= 1);

        const std::pair<QPushButton * TAmbiguous::*, int> buttons[] = {
            {&TAmbiguous::TakeButton, 2},
            {&TAmbiguous::BuildButton, 1},
            {&TAmbiguous::BlockButton, 3},
            {&TAmbiguous::CancelButton, 0}};
        for (const auto& [button, result] : buttons) {
            bool pressed = false;
            AnswerNext<TAmbiguous>([&, button = button](TAmbiguous* box) {
                if ((box->*button)->isEnabled()) {
                    (box->*button)->click();
                    pressed = true;
                } else {
                    box->close();
                }
            });
            const int choice = ChooseAction(code);
            QCOMPARE(choice, pressed ? result : 0);
        }
        AnswerNext<TAmbiguous>([](TAmbiguous* box) { QTest::keyClick(box, Qt::Key_Escape); });
        QCOMPARE(ChooseAction(code), 0);
        AnswerNext<TAmbiguous>([](TAmbiguous* box) { box->close(); });
        QCOMPARE(ChooseAction(code), 0);
    }

    void chooseActionLayout() {
        TAmbiguous box(15);
        QCOMPARE(box.size(), QSize(288, 103));
        QCOMPARE(box.Label1->geometry(), QRect(8, 8, 273, 57));
        QVERIFY(box.Label1->wordWrap());
        QCOMPARE(box.TakeButton->geometry(), QRect(8, 72, 49, 25));
        QCOMPARE(box.BuildButton->geometry(), QRect(64, 72, 49, 25));
        QCOMPARE(box.BlockButton->geometry(), QRect(120, 72, 49, 25));
        QCOMPARE(box.PutButton->geometry(), QRect(176, 72, 49, 25));
        QCOMPARE(box.CancelButton->geometry(), QRect(232, 72, 49, 25));
        QCOMPARE(box.CancelButton->text(), QStringLiteral("Cancel"));
    }

    // A menu reply to a move is answered from the dialog and sent at once.
    void menuReplyIsAnsweredFromTheDialog() {
        DealHands();
        DealPile(3, 1);
        Select(PileSpot(3));
        StandIn::Script({"<M>11<E>HumanMove failed</>", "<0>23xx<P>2</>"});
        AnswerNext<TAmbiguous>([](TAmbiguous* box) { box->TakeButton->click(); });
        Select(HandSpot(1, 2));
        QCOMPARE(Sent::requests, (Requests{"<1>23</>", "<Y>2</>", "<C></>"}));
    }

    void menuCancelledClearsTheSelection() {
        DealHands();
        DealPile(3, 2);
        Select(PileSpot(3));
        StandIn::Script({"<M>08</>"});
        AnswerNext<TAmbiguous>([](TAmbiguous* box) { box->CancelButton->click(); });
        Select(HandSpot(1, 1));
        QCOMPARE(Sent::requests, (Requests{"<1>13</>", "<Y>0</>"}));
        QCOMPARE(TestView().table.highlight[0][3], 0);
        QCOMPARE(TestView().table.highlight[1][1], 0);
    }

    // The hint's hand card and piles are highlighted while the question is
    // open; declined, all three highlights go.
    // The question opens inside the window, below the piles it offers.
    void hintDeclined() {
        DealHands();
        DealPile(4, 8);
        DealPile(6, 1);
        DealPile(8, 1);
        Select(PileSpot(8));  // a selection of the user's own goes first
        StandIn::Script({"<?>1246</>"});
        ConfirmAnswer seen;
        QList<int> lit;
        QRect box;
        AnswerNextModal([&](QWidget* modal) {
            box = modal->frameGeometry();
            lit = {TestView().table.highlight[1][2], TestView().table.highlight[0][4],
                   TestView().table.highlight[0][6], TestView().table.highlight[0][8]};
            seen.caption = modal->windowTitle();
            seen.text = static_cast<TConfirmBox*>(modal)->Label1->text();
            static_cast<TConfirmBox*>(modal)->CancelButton->click();
        });
        HintClick(TestView(), TestLink());
        QCOMPARE(lit, (QList<int>{1, 1, 1, 0}));
        QVERIFY(window->frameGeometry().contains(box));
        for (const QRect& pile : {PileExtent(4, 8, false), PileExtent(6, 1, false)})
            QVERIFY(!box.intersects(QRect(TestView().TableToGlobal(pile.topLeft()), pile.size())));
        QCOMPARE(seen.caption, QStringLiteral("Hint"));
        QVERIFY(seen.text.startsWith(QStringLiteral("The computer recommends this move:")));
        QVERIFY(seen.text.endsWith(QStringLiteral("Would you like to use it?")));
        QCOMPARE(Sent::requests, Requests{"<?></>"});
        for (int area = 0; area <= 2; ++area)
            for (int column = 1; column <= 9; ++column)
                QCOMPARE(TestView().table.highlight[area][column], 0);
    }

    // The computer's move stays outlined and told until the player clicks or
    // presses a play key; the outline lies on the window, not in the back buffer.
    void computerMoveMarkedUntilThePlayerActs() {
        DealHands();
        DealPile(5, {19});  // the 6 of diamonds
        const char* take =
            "<2>316c<D>0<0>5100<A>046d5112<4>116d<2>3100<A>246c3111<4>116c<P>1"
            "<G>100000000400<G>200000000200</>";
        const QRect pile = PileExtent(5, 1, false);
        const QPoint onOutline(pile.left() - kMarkGap - 2, pile.center().y());
        for (int key : {0, int('1')}) {
            ProcessReply(take);
            QCOMPARE(TestView().MoveMarks(), (std::vector<QRect>{pile, CapturePileExtent(4, 2)}));
            QCOMPARE(TestView().MoveWords(),
                     QStringLiteral("Player No. 2 took the 6 of diamonds with the 6 of clubs"));
            QCOMPARE(window->Table->grab().toImage().pixel(onOutline), kMarkColour);
            QCOMPARE(TestView().BackBuffer().pixel(onOutline), kTableColour);
            if (key)
                KeyboardPlay(TestView(), TestLink(), key);
            else
                Select(PileSpot(1));
            QVERIFY(TestView().MoveMarks().empty());
            QVERIFY(TestView().MoveWords().isEmpty());
            QCOMPARE(window->Table->grab().toImage().pixel(onOutline), kTableColour);
            TestView().ClearTable();
            DealHands();
            DealPile(5, {19});
        }
    }

    // A hint asked while the computer moved comes after its move and leaves
    // its marks and words on the table while the question is open.
    void hintKeepsTheComputersMoveShown() {
        DealHands();
        DealPile(5, {19});
        ProcessReply("<2>316c<D>0<0>5100<A>046d5112<4>116d<2>3100<A>246c3111<4>116c<P>1</>");
        const QString words = TestView().MoveWords();
        QVERIFY(!words.isEmpty());
        StandIn::Script({"<?>11</>"});
        QString shown;
        AnswerNextModal([&](QWidget* modal) {
            shown = TestView().MoveWords();
            static_cast<TConfirmBox*>(modal)->CancelButton->click();
        });
        HintClick(TestView(), TestLink());
        QCOMPARE(shown, words);
        QCOMPARE(TestView().MoveWords(), words);
    }

    // The player's own move stays marked until the computer's move, shown
    // face up in its hand, is about to be drawn.
    void ownMoveMarkedWhileTheComputerThinks() {
        DealHands();
        ProcessReply("<1>1100<0>51As<P>2</>");
        QCOMPARE(TestView().MoveWords(),
                 QStringLiteral("Player No. 1 put the ace of spades on the table"));
        QStringList wordsAtPaints;
        PaintSpy spy(window->Table, [&] { wordsAtPaints << TestView().MoveWords(); });
        ProcessReply("<2>21Ks<D>0<2>2100<0>61Ks<P>1</>");
        QVERIFY(!wordsAtPaints.isEmpty());
        QCOMPARE(wordsAtPaints.first(),
                 QStringLiteral("Player No. 1 put the ace of spades on the table"));
        QCOMPARE(TestView().MoveWords(),
                 QStringLiteral("Player No. 2 put the king of spades on the table"));
        QCOMPARE(TestView().MoveMarks(), std::vector<QRect>{PileExtent(6, 1, false)});
    }

    void hintAccepted() {
        DealHands();
        DealPile(4, 2);
        DealPile(6, 1);
        StandIn::Script({"<?>1246</>", "<P>2</>"});
        AnswerNextConfirm(true);
        HintClick(TestView(), TestLink());
        QCOMPARE(Sent::requests, (Requests{"<?></>", "<1>246</>", "<C></>"}));
    }

    // Where the hint's cards also allow another kind of move, OK plays the
    // kind the hint names: the library's menu is answered without a box.
    void hintAcceptedPlaysTheKindItNames() {
        DealHands();       // the 2 to the 5 of spades
        DealPile(4, {2});  // the 2 of clubs: the 2 takes it, or builds 4 on it
        StandIn::Script({"<?>114</>", "<M>11</>", "<P>2</>"});
        QStringList boxes;
        ModalAnswerer answerer([&](QWidget* modal) {
            boxes << modal->windowTitle();
            if (auto* confirm = dynamic_cast<TConfirmBox*>(modal))
                confirm->OKButton->click();
            else
                modal->close();
        });
        HintClick(TestView(), TestLink());
        QCOMPARE(boxes, QStringList{QStringLiteral("Hint")});
        QCOMPARE(Sent::requests, (Requests{"<?></>", "<1>14</>", "<Y>2</>", "<C></>"}));
    }

    void hintWithoutCardsSendsNothing() {
        HintClick(TestView(), TestLink());
        TestMirror().SetCurrentPlayer(2);
        TestView().DisplayCard(1, 1, 1, 5, kShow);
        HintClick(TestView(), TestLink());
        QVERIFY(Sent::requests.empty());
        TestView().DisplayCard(2, 3, 1, 58, kShow);
        window->Hint->click();
        QCOMPARE(Sent::requests, Requests{"<?></>"});
    }

    void discardPutsTheFirstCard() {
        TestView().DisplayCard(1, 3, 1, 7, kShow);
        TestView().DisplayCard(1, 4, 1, 8, kShow);
        TestMirror().SetCurrentPlayer(2);
        PlayPutClick(TestView(), TestLink());
        QVERIFY(Sent::requests.empty());
        TestMirror().SetCurrentPlayer(1);
        window->PutButton->click();
        QCOMPARE(Sent::requests, Requests{"<1>3</>"});
        QCOMPARE(TestView().table.highlight[1][3], 1);
        TestView().ClearTable();
        PlayPutClick(TestView(), TestLink());
        QCOMPARE(Sent::requests.size(), std::size_t(1));
    }

    // "k" then "z" on the remaining-cards button shows H; "z" again hides it;
    // any other key disarms the sequence.
    void accessSequence() {
        QPushButton* button = window->RemainingCardsButton;
        QVERIFY(!window->H->isVisible());
        QTest::keyClicks(button, "z");
        QVERIFY(!window->H->isVisible());
        QTest::keyClicks(button, "kz");
        QVERIFY(window->H->isVisible());
        QTest::keyClicks(button, "z");
        QVERIFY(!window->H->isVisible());
        QTest::keyClicks(button, "xz");
        QVERIFY(!window->H->isVisible());
        QTest::keyClicks(button, "KKZ");
        QVERIFY(window->H->isVisible());
        window->H->click();
        for (QWidget* control :
             {(QWidget*)window->Button8, (QWidget*)window->Button9, (QWidget*)window->Button10,
              (QWidget*)window->Button7, (QWidget*)window->NewGame, (QWidget*)window->Edit2,
              (QWidget*)window->Edit3, (QWidget*)window->Label1, (QWidget*)window->PutButton})
            QVERIFY(control->isVisible());
        window->H->click();
        QVERIFY(!window->Label1->isVisible());
        QTest::keyClicks(button, "z");
        QVERIFY(!window->H->isVisible());
    }

    // "CardArray" lists every place's pile depth and "Clicks" its highlight, as
    // area.place= value.
    void debugDumps() {
        window->HClick();  // the debug controls show
        DealPile(2, 3);
        TestView().DisplayCard(1, 4, 1, 9, kShow);
        Select(PileSpot(2));
        const auto nonZero = [](QLineEdit* dump) {
            QTest::mouseClick(dump, Qt::LeftButton);
            QStringList found;
            int places = 0;
            static const QRegularExpression entry(QStringLiteral("(\\d\\.\\d)= (\\d+)"));
            for (const auto& m : entry.globalMatch(dump->text())) {
                ++places;
                if (m.captured(2) != QStringLiteral("0"))
                    found << m.captured(1) + "=" + m.captured(2);
            }
            return places == 27 ? found : QStringList{QStringLiteral("places: %1").arg(places)};
        };
        QCOMPARE(nonZero(window->Edit2), (QStringList{"0.2=3", "1.4=1"}));
        QCOMPARE(nonZero(window->Edit3), QStringList{"0.2=1"});
        window->HClick();
    }

    // GUI > LOG asks for the version and shows both sides of the exchange.
    void guiToLogShowsTheVersionExchange() {
        MessageLog log;
        StandIn::Script({"<V>Casino logic 2.1</>"});
        window->Button8->click();
        QCOMPARE(Sent::requests, Requests{"<V></>"});
        QCOMPARE(log.texts.size(), 1);
        QVERIFY(log.texts[0].contains(QStringLiteral("sent: <V></>")));
        QVERIFY(log.texts[0].contains(QStringLiteral("received: <V>Casino logic 2.1</>")));
        QCOMPARE(TestLink().Waiting().writePos, 0);
        TestLink().SetEntry(nullptr);
        window->Button8->click();
        QCOMPARE(log.texts.last(), QStringLiteral("DLL FUNCTION NOT ASSIGNED!"));
    }

    // Each switch does what its caption then says: "1=C" makes player 1 the
    // computer, "2=H" player 2 a human; Debug toggles the debug mode.
    void playerAndDebugSwitches() {
        for (int round = 0; round < 2; ++round) {  // each click turns a player over
            window->Button9->click();
            window->Button10->click();
            QCOMPARE(TestMirror().playerIsComputer[1], round == 0 ? 1 : 0);
            QCOMPARE(TestMirror().playerIsComputer[2], round == 0 ? 0 : 1);
            for (int player : {1, 2}) {
                const QPushButton* button = player == 1 ? window->Button9 : window->Button10;
                QCOMPARE(button->text(), QStringLiteral("%1=%2").arg(player).arg(
                                             TestMirror().playerIsComputer[player] ? 'C' : 'H'));
            }
        }
        window->Button7->click();
        QVERIFY(TestMirror().debugFlag);
        window->Button7->click();
        QVERIFY(!TestMirror().debugFlag);
    }
};

int main(int argc, char** argv) {
    CasinoApplication app(argc, argv);
    SelectionTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "selection_test.moc"
