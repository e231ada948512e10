// Two rounds against the real library, played as a person would: piles and
// hand cards are clicked where the table shows them, hints are asked for,
// taken and declined, menus and questions are answered as they open. Every
// call of the library first checks that what the window has drawn matches
// the cards that the library's replies reported so far.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cctype>
#include <cstring>

#include "dialogs/ambiguous.h"
#include "dialogs/boxes.h"
#include "link/logiclink.h"
#include "link/operations.h"
#include "table/tableview.h"
#include "test_support.h"
#include "window/application.h"
#include "window/casinogui.h"

namespace {

// The cards the library has reported, read from its replies by this test's own parser.
struct Reported {
    int pile[10][10] = {};   // [column 1..9][place 1..9] picture numbers
    int hand[3][5] = {};     // [player 1..2][slot 1..4]
    int captureTop[5] = {};  // [area 3..4] the last card put on each capture pile
    int points[3] = {};      // [player 1..2] points of the last score line
    int endOfRound = 0;      // the last end-of-round code, 0 for none
    int totals[3] = {};      // [player 1..2] game totals of the last end of a round

    int Depth(int column) const {
        int depth = 0;
        for (int place = 1; place <= 9; ++place)
            if (pile[column][place] != 0) depth = place;
        return depth;
    }
};

int CardNumber(char rank, char suit) {
    const char* ranks = "A23456789TJQK";
    const char* suits = "cdhsb";
    const char* r = rank ? std::strchr(ranks, rank) : nullptr;
    const char* s = suit ? std::strchr(suits, char(std::tolower(suit))) : nullptr;
    if (!r || !s) return 0;
    return int(r - ranks) + 1 + 13 * int(s - suits);
}

void Read(const std::string& reply, Reported& cards) {
    for (const auto& [code, item] : ReplyItems(reply)) {
        auto digit = [&](std::size_t i) { return i < item.size() ? item[i] - '0' : -1; };
        auto card = [&](std::size_t i) {
            return i + 1 < item.size() ? CardNumber(item[i], item[i + 1]) : 0;
        };
        switch (code) {
            case '0':
                cards.pile[digit(0)][digit(1)] = card(2);
                break;
            case '1':
            case '2':
                cards.hand[code - '0'][digit(0)] = card(2);
                break;
            case '3':
            case '4':
                if (card(2) != 0) cards.captureTop[code - '0'] = card(2);
                break;
            case 'G':
                cards.points[digit(0)] = std::stoi(item.substr(10, 2));
                break;
            case 'M':
                if (item.size() >= 6) {
                    cards.endOfRound = std::stoi(item.substr(0, 2));
                    cards.totals[1] = std::stoi(item.substr(2, 2));
                    cards.totals[2] = std::stoi(item.substr(4, 2));
                }
                break;
            default:
                break;
        }
    }
}

Reported reported;
QStringList faults;  // what the drawing got wrong, with the request it was found before
int calls = 0;
std::vector<std::string> exchanges;  // every request and reply, for the failure messages

QString LastExchanges(std::size_t count) {
    QStringList lines;
    for (std::size_t i = exchanges.size() > count ? exchanges.size() - count : 0;
         i < exchanges.size(); ++i)
        lines << QString::fromStdString(exchanges[i]);
    return lines.join('\n');
}

// The inside of a card (off its rounded edge) at `at`, rows first..last,
// shown as `picture`, inverted when highlighted.
bool Shows(const QPoint& at, int picture, bool highlighted, int first, int last) {
    static QImage images[66];
    if (images[picture].isNull())
        images[picture] = TestView().Picture(picture).toImage().convertToFormat(
            QImage::Format_ARGB32_Premultiplied);
    const QImage& card = images[picture];
    const QImage& buffer = TestView().BackBuffer();
    const QRgb invert = highlighted ? 0xffffff : 0;
    for (int y = first; y <= last; ++y)
        for (int x = 4; x < kCardWidth - 4; ++x)
            if ((buffer.pixel(at.x() + x, at.y() + y) & 0xffffff) !=
                ((card.pixel(x, y) ^ invert) & 0xffffff))
                return false;
    return true;
}

bool Green(const QRect& area) {
    const QImage& buffer = TestView().BackBuffer();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (buffer.pixel(x, y) != kTableColour) return false;
    return true;
}

// Compares the table mirror and the back buffer with the reported cards.
void CheckDrawing(const std::string& before) {
    auto fault = [&](const QString& what) {
        faults << what + QStringLiteral(" (before ") + QString::fromStdString(before) + ')';
    };
    for (int column = 1; column <= 9; ++column) {
        const int depth = reported.Depth(column);
        const bool lit = TestView().table.highlight[0][column] == 1;
        if (TestView().table.pileDepth[0][column] != depth)
            fault(QStringLiteral("depth of column %1").arg(column));
        for (int place = 1; place <= depth; ++place) {
            const int picture = reported.pile[column][place];
            if (TestView().table.pileCards[column][place] != picture)
                fault(QStringLiteral("mirror of column %1 place %2").arg(column).arg(place));
            const bool top = place == depth;
            if (!Shows(TestView().CardPosition(0, column, place), picture, lit, 4, top ? 91 : 16))
                fault(QStringLiteral("card of column %1 place %2").arg(column).arg(place));
        }
        const int below = depth > 0 ? PilePlace(column, depth).y() + kCardHeight : kTableTop;
        if (!Green(QRect(ColumnLeft(column), below, kCardWidth, 413 - below)))
            fault(QStringLiteral("table below column %1").arg(column));
    }
    for (int player = 1; player <= 2; ++player)
        for (int slot = 1; slot <= 4; ++slot) {
            const int picture = reported.hand[player][slot];
            const QPoint at = TestView().CardPosition(player, slot, 1);
            if (TestView().table.handCards[player][slot] != picture ||
                TestView().table.pileDepth[player][slot] != (picture ? 1 : 0))
                fault(QStringLiteral("mirror of hand %1 slot %2").arg(player).arg(slot));
            const bool drawn =
                picture ? Shows(at, picture, TestView().table.highlight[player][slot] == 1, 4, 91)
                        : Green(QRect(at, QSize(kCardWidth, kCardHeight)));
            if (!drawn) fault(QStringLiteral("hand %1 slot %2").arg(player).arg(slot));
        }
    for (int area = 3; area <= 4; ++area) {
        const int picture = reported.captureTop[area];
        if (picture == 0) continue;
        const int count = TestView().table.captureCount[area];
        const QPoint at = CapturePlace(area, count - 1);
        if (count == 0 || !Shows(at, picture, false, 4, 91))
            fault(QStringLiteral("top of capture pile %1").arg(area));
    }
}

// Before each request: a new game or round starts from a cleared table, and
// the drawing so far matches what the library reported.
void BeforeRequest(const std::string& request) {
    if (request.find("<K>") != std::string::npos || request.find("<R>") != std::string::npos)
        reported = Reported{};
    CheckDrawing(request);
    ++calls;
    exchanges.push_back("-> " + request);
}

void AfterReply(const std::string& reply) {
    exchanges.push_back("<- " + reply);
    Read(reply, reported);
}

// What the test answers when a box opens.
enum class Menu { kCapture, kPut, kCancel };

struct Answers {
    Menu menu = Menu::kCapture;
    bool acceptHint = true;
    bool continueRound = true;
    int menusSeen = 0;
    int menusCancelled = 0;
    int hintsOffered = 0;
    int roundsEnded = 0;
    bool gameWon = false;
    QStringList captions;

    void Answer(QWidget* modal) {
        if (auto* box = dynamic_cast<TAmbiguous*>(modal)) {
            ++menusSeen;
            QPushButton* press = box->PutButton;
            if (menu == Menu::kCancel) {
                ++menusCancelled;
                press = box->CancelButton;
            } else if (menu == Menu::kCapture) {
                for (QPushButton* b : {box->TakeButton, box->BuildButton, box->BlockButton})
                    if (b->isEnabled()) {
                        press = b;
                        break;
                    }
            }
            menu = Menu::kCapture;
            press->click();
            return;
        }
        if (auto* box = dynamic_cast<TConfirmBox*>(modal)) {
            const QString caption = box->windowTitle();
            captions << caption;
            bool ok = false;
            if (caption == QStringLiteral("Hint")) {
                ++hintsOffered;
                ok = acceptHint;
            } else if (caption == QStringLiteral("Continue Game")) {
                ++roundsEnded;
                ok = continueRound;
            } else if (caption == QStringLiteral("New Game")) {
                ++roundsEnded;  // a player has won: the game ends here
                gameWon = true;
            }
            (ok ? box->OKButton : box->CancelButton)->click();
            return;
        }
        modal->close();
    }
};

}  // namespace

class PlayRoundTest : public QObject {
    Q_OBJECT

    TCasinoGUI* window = nullptr;
    Answers answers;
    std::unique_ptr<ModalAnswerer> answerer;

    static QPoint HandSpot(int slot) { return ::HandSpot(1, slot); }

    void Click(const QPoint& at) { QTest::mouseClick(window->Table, Qt::LeftButton, {}, at); }

    // The library's recommendation, asked for directly as a person who knows the game.
    std::pair<int, std::vector<int>> Recommendation() {
        char reply[kReplySize] = {};
        PassThrough::Real()("<?></>", reply);
        for (const auto& [code, item] : ReplyItems(reply)) {
            if (code != '?' || item.size() < 2) continue;
            std::vector<int> columns;
            for (std::size_t i = 2; i < item.size(); ++i)
                columns.push_back(item[i] - '0');
            return {item[1] - '0', columns};
        }
        return {0, {}};
    }

    bool PlayerOneHoldsACard() const {
        for (int slot = 1; slot <= 4; ++slot)
            if (TestView().table.pileDepth[1][slot] > 0) return true;
        return false;
    }

    // One turn of the person, in one of several ways.
    void PlayTurn(int turn) {
        switch (turn % 5) {
            case 0:  // the Hint button, accepted
                answers.acceptHint = true;
                QTest::mouseClick(window->Hint, Qt::LeftButton);
                return;
            case 1: {  // a hint declined, then the same move by hand, a pile changed in between
                answers.acceptHint = false;
                QTest::mouseClick(window->Hint, Qt::LeftButton);
                const auto [slot, columns] = Recommendation();
                QVERIFY(slot >= 1);
                for (int column = 1; column <= 9; ++column)
                    if (TestView().table.pileDepth[0][column] > 0) {
                        Click(PileSpot(column));  // selected and deselected again
                        Click(PileSpot(column));
                        break;
                    }
                for (int column : columns)
                    Click(PileSpot(column));
                Click(HandSpot(slot));
                return;
            }
            case 2: {  // the recommended move by hand, the first menu cancelled
                const auto [slot, columns] = Recommendation();
                if (!columns.empty()) {
                    const int cancelled = answers.menusCancelled;
                    answers.menu = Menu::kCancel;
                    for (int column : columns)
                        Click(PileSpot(column));
                    // A selection the library refuses opens the menu; one it
                    // takes is played. Cancelled, it is made again.
                    for (int column = 9; column >= 1; --column)
                        if (TestView().table.pileDepth[0][column] > 0 &&
                            std::find(columns.begin(), columns.end(), column) == columns.end()) {
                            Click(PileSpot(column));
                            break;
                        }
                    Click(HandSpot(slot));
                    if (answers.menusCancelled == cancelled) return;  // played as selected
                }
                answers.menu = Menu::kCapture;
                for (int column : columns)
                    Click(PileSpot(column));
                Click(HandSpot(slot));
                return;
            }
            case 3: {  // the last card in hand put on the table
                answers.menu = Menu::kPut;
                for (int slot = 4; slot >= 1; --slot)
                    if (TestView().table.pileDepth[1][slot] > 0) {
                        Click(HandSpot(slot));
                        return;
                    }
                return;
            }
            default: {  // the recommended move by hand
                const auto [slot, columns] = Recommendation();
                for (int column : columns)
                    Click(PileSpot(column));
                Click(HandSpot(slot));
                return;
            }
        }
    }

  private slots:
    void initTestCase() {
        window = OpenTestWindow(true);
        QVERIFY(window);
        PassThrough::before = &BeforeRequest;
        PassThrough::after = &AfterReply;
        QVERIFY(PassThrough::Install());
        answerer =
            std::make_unique<ModalAnswerer>([this](QWidget* modal) { answers.Answer(modal); });
    }
    void cleanupTestCase() {
        answerer.reset();
        PassThrough::before = {};
        PassThrough::after = {};
        CloseTestWindow();
    }

    void twoRoundsByMouse() {
        MessageLog messages;  // "no room on the table" notes are not boxes here
        TestMirror().settings.animation = false;
        TestMirror().settings.delayUnit = 0;
        TestMirror().settings.sound = false;
        StartNewGame(TestLink(), TestMirror(), TestView());
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
        QCOMPARE(window->Player1Name->text(), QStringLiteral("Player No. 1"));

        int turn = 0;
        for (int guard = 0; guard < 200 && answers.roundsEnded < 2 && !answers.gameWon; ++guard) {
            if (answers.roundsEnded == 1) answers.continueRound = false;
            QCOMPARE(TestMirror().CurrentPlayer(),
                     1);  // the computer's moves follow the person's at once
            QVERIFY2(PlayerOneHoldsACard(), qPrintable(QStringLiteral("turn %1, rounds ended %2\n")
                                                           .arg(turn)
                                                           .arg(answers.roundsEnded) +
                                                       LastExchanges(8)));
            const int before = calls;
            PlayTurn(turn++);
            QVERIFY(calls > before);
            CheckDrawing("the end of the turn");
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
            if (answers.roundsEnded < 2 && !answers.gameWon) {
                for (int area = 0; area <= 2; ++area)
                    for (int column = 1; column <= 9; ++column)
                        QCOMPARE(TestView().table.highlight[area][column], 0);
            }
        }
        qInfo("%d turns, %d calls, %d menus (%d cancelled), %d hints, boxes: %s", turn, calls,
              answers.menusSeen, answers.menusCancelled, answers.hintsOffered,
              qPrintable(answers.captions.join(QStringLiteral(", ")).left(200)));
        // Two rounds, or one that a player won outright.
        QCOMPARE(answers.roundsEnded, answers.gameWon && answers.roundsEnded == 1 ? 1 : 2);
        const int* totals = reported.totals;
        if (answers.gameWon) {
            QCOMPARE(reported.endOfRound, totals[1] > totals[2] ? 50 : 51);
            QVERIFY(std::max(totals[1], totals[2]) >= 21);
        } else {
            QCOMPARE(reported.endOfRound, 49);
        }
        QCOMPARE(turn, 24 * answers.roundsEnded);  // the person plays 24 cards a round

        // The round's end: the table and the hands are empty, the names tell the totals.
        for (int column = 1; column <= 9; ++column)
            QCOMPARE(TestView().table.pileDepth[0][column], 0);
        auto named = [](int total) {
            return QString::number(total) + (total == 1 ? " point" : " points");
        };
        QCOMPARE(window->Player1Name->text(), "Player No. 1 has " + named(totals[1]));
        QCOMPARE(window->Player2Name->text(), "Player No. 2 has " + named(totals[2]));
        QCOMPARE(window->Points1->text(), QString::number(reported.points[1]));
        QCOMPARE(window->Points2->text(), QString::number(reported.points[2]));
        QVERIFY(faults.isEmpty());
    }
};

int main(int argc, char** argv) {
    CasinoApplication app(argc, argv);
    PlayRoundTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "playround_test.moc"
