// The Help, About and Confirm boxes: how each one closes, what the confirm
// box and the retry question return, the confirm box's beep, messages shown
// as plain text, and the order and content of the help text.
#include "dialogs/boxes.h"

#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "core/mirror.h"
#include "test_support.h"
#include "window/application.h"

class BoxesTest : public QObject {
    Q_OBJECT

    int beeps = 0;

  private slots:
    void init() {
        NewTestGame();
        beeps = 0;
        SetBeepSink([this] { ++beeps; });
    }

    void confirmBoxLayout() {
        TConfirmBox box;
        QCOMPARE(box.size(), QSize(201, 113));
        QCOMPARE(box.windowTitle(), QStringLiteral("Casino Confirm Exit"));
        QCOMPARE(box.Label1->text(), QStringLiteral("Are you sure you want to exit?"));
        QVERIFY(box.Label1->wordWrap());
        QCOMPARE(box.OKButton->geometry(), QRect(16, 80, 80, 25));
        QCOMPARE(box.CancelButton->geometry(), QRect(104, 80, 80, 25));
        QVERIFY(!box.confirmed);
    }

    void confirmBoxAnswers_data() {
        QTest::addColumn<int>("how");
        QTest::addColumn<bool>("result");
        QTest::newRow("OK") << 0 << true;
        QTest::newRow("Cancel") << 1 << false;
        QTest::newRow("Escape") << 2 << false;
        QTest::newRow("title bar") << 3 << false;
        QTest::newRow("Enter on the first focus") << 4 << true;
    }
    void confirmBoxAnswers() {
        QFETCH(int, how);
        QFETCH(bool, result);
        QString caption;
        QString text;
        AnswerNextModal([&](QWidget* modal) {
            auto* box = dynamic_cast<TConfirmBox*>(modal);
            QVERIFY(box);
            caption = box->windowTitle();
            text = box->Label1->text();
            switch (how) {
                case 0:
                    box->OKButton->click();
                    break;
                case 1:
                    box->CancelButton->click();
                    break;
                case 2:
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                    break;
                case 3:
                    box->close();
                    break;
                case 4:
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                    break;
            }
        });
        QCOMPARE(ShowConfirmBox(TestView(), QStringLiteral("Hint"),
                                QStringLiteral("The computer recommends this move.  Would you "
                                               "like to use it?")),
                 result);
        QCOMPARE(caption, QStringLiteral("Hint"));
        QCOMPARE(text, QStringLiteral("The computer recommends this move.  Would you like to "
                                      "use it?"));
    }

    void confirmBoxBeepsOnlyWithSound() {
        for (int i = 0; i < 2; ++i) {
            AnswerNextConfirm(false);
            ShowConfirmBox(TestView(), QStringLiteral("a"), QStringLiteral("b"));
        }
        QCOMPARE(beeps, 2);
        TestMirror().settings.sound = false;
        AnswerNextConfirm(true);
        QVERIFY(ShowConfirmBox(TestView(), QStringLiteral("a"), QStringLiteral("b")));
        QCOMPARE(beeps, 2);
    }

    // Nothing is given up by Escape or by closing the box: only the choice itself.
    void retryBoxAnswers_data() {
        QTest::addColumn<int>("how");
        QTest::addColumn<bool>("retry");
        QTest::newRow("try again") << 0 << true;
        QTest::newRow("give up") << 1 << false;
        QTest::newRow("Escape") << 2 << true;
        QTest::newRow("title bar") << 3 << true;
    }
    void retryBoxAnswers() {
        QFETCH(int, how);
        QFETCH(bool, retry);
        AnswerNext<QMessageBox>([how](QMessageBox* box) {
            if (how == 0) box->button(QMessageBox::Retry)->click();
            if (how == 1) box->button(QMessageBox::Discard)->click();
            if (how == 2) QTest::keyClick(box, Qt::Key_Escape);
            if (how == 3) box->close();
        });
        QCOMPARE(ShowRetryBox(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("again"),
                              QStringLiteral("leave")),
                 retry);
    }

    // Requests and replies shown in debug mode read as sent, item codes included.
    void messagesShowTheirTextAsItIs() {
        Qt::TextFormat format = Qt::RichText;
        AnswerNext<QMessageBox>([&](QMessageBox* box) {
            format = box->textFormat();
            box->close();
        });
        ShowMessage(QStringLiteral("sending <B>9</>"));
        QCOMPARE(format, Qt::PlainText);
    }

    void aboutBox() {
        TAboutBox box;
        QCOMPARE(box.windowTitle(), QStringLiteral("About Casino"));
        QCOMPARE(box.size(), QSize(193, 164));
        QCOMPARE(box.Label1->text(), QStringLiteral("Casino"));
        QVERIFY(box.Label1->font().bold());
        QCOMPARE(box.Version->text(), QStringLiteral("Version 2.1"));
        QCOMPARE(box.OKButton->text(), QStringLiteral("OK"));
        // The address line names the licence, and every line fits its panel.
        QStringList lines;
        for (const QLabel* label : box.findChildren<QLabel*>()) {
            lines << label->text();
            const QWidget* panel = label->parentWidget();
            QVERIFY2(panel->rect().contains(label->geometry()), qPrintable(label->text()));
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
        }
        QVERIFY(lines.contains(QStringLiteral("Free software: GNU GPL 3 or later")));
        QVERIFY(lines.contains(QStringLiteral("(c) 2026 the Casino developers")));
        QVERIFY(!lines.join(' ').contains(QStringLiteral("example")));
    }

    // The distribution terms say what LICENSE and NOTICE say, and no
    // address is shown that leads nowhere.
    void helpTextTellsTheLicence() {
        const QString head =
            QString::fromLatin1(kHelpText).section(QStringLiteral("CONTENTS"), 0, 0);
        for (const char* part : {"Copyright (c) 2026 the Casino developers",
                                 "GNU General Public License, version 3 or", "later", "no warranty",
                                 "version 2 or later", "NOTICE"})
            QVERIFY2(head.contains(QLatin1String(part)), part);
        for (const char* gone : {"not sell", "example", "@", "http"})
            QVERIFY2(!head.contains(QLatin1String(gone)), gone);
    }

    // Arrow keys scroll the help text; the first key that types a character closes it.
    void helpBoxClosesOnATypedCharacter() {
        bool stillOpenAfterArrows = false;
        int scrolled = 0;
        AnswerNextModal([&](QWidget* modal) {
            auto* box = dynamic_cast<THelpBox*>(modal);
            QVERIFY(box);
            QCOMPARE(box->windowTitle(), QStringLiteral("Casino Help"));
            QCOMPARE(box->size(), QSize(721, 503));
            box->Memo1->setFocus();
            for (int i = 0; i < 5; ++i)
                QTest::keyClick(box->Memo1, Qt::Key_PageDown);
            QTest::keyClick(box->Memo1, Qt::Key_Down);
            scrolled = box->Memo1->verticalScrollBar()->value();
            stillOpenAfterArrows = box->isVisible();
            QTest::keyClick(box->Memo1, Qt::Key_Q);
        });
        ShowHelpBox();
        QVERIFY(stillOpenAfterArrows);
        QVERIFY(scrolled > 0);
    }

    void helpBoxClosesOnOK() {
        AnswerNextModal([](QWidget* modal) { dynamic_cast<THelpBox*>(modal)->OKButton->click(); });
        ShowHelpBox();
    }

    void helpTextOrder() {
        const QString help = QString::fromLatin1(kHelpText);
        const QStringList inOrder = {"CASINO\n",
                                     "version 2.1",
                                     "CONTENTS",
                                     "a. rules of Casino",
                                     "b. scoring",
                                     "c. how to play the computer game",
                                     "d. hints and tips",
                                     "A. RULES OF CASINO",
                                     "B. SCORING",
                                     "C. HOW TO  PLAY THE COMPUTER GAME",
                                     "i. Playing a game",
                                     "ii. Other functions",
                                     "HOW TO PLAY",
                                     "NEW GAME",
                                     "GAME SETTINGS",
                                     "HALL OF FAME",
                                     "ABOUT",
                                     "D. HINTS AND TIPS",
                                     "\n1. ",
                                     "\n2. ",
                                     "\n3. ",
                                     "\n4. ",
                                     "\n5. "};
        qsizetype at = -1;
        for (const QString& part : inOrder) {
            const qsizetype next = help.indexOf(part, at + 1);
            QVERIFY2(next > at, qPrintable(part));
            at = next;
        }
        QVERIFY(help.startsWith(QStringLiteral("CASINO\n")));
    }

    void helpTextScoringTable() {
        const QString help = QString::fromLatin1(kHelpText);
        const qsizetype table = help.indexOf(QStringLiteral("B. SCORING"));
        const QStringList rows = {"1        each ace",
                                  "1        the 2 of spades",
                                  "2        the 10 of diamonds",
                                  "3        twenty-seven or more cards",
                                  "1        seven or more spades",
                                  "1        each sweep"};
        qsizetype at = table;
        for (const QString& row : rows) {
            const qsizetype next = help.indexOf(row, at);
            QVERIFY2(next > at, qPrintable(row));
            at = next;
        }
        QVERIFY(help.indexOf(QStringLiteral("2 points"), at) > at);
    }
};

int main(int argc, char** argv) {
    CasinoApplication app(argc, argv);
    BoxesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "boxes_test.moc"
