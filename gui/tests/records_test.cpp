// The records file as the player meets it, against the real library in a
// folder of the test's own: a save that fails on the way out is told and can
// be tried again, and what stands in the way of the records at start-up (a
// damaged file kept aside, a place they cannot be saved to) is told once.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "dialogs/boxes.h"
#include "test_support.h"
#include "window/application.h"
#include "window/casinogui.h"

class RecordsTest : public QObject {
    Q_OBJECT

    QString home;
    std::unique_ptr<QTemporaryDir> folder;

  private slots:
    void init() {
        NewTestGame();
        home = QDir::currentPath();
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
        QVERIFY(QDir::setCurrent(folder->path()));
    }
    void cleanup() {
        QDir::setCurrent(home);
        folder.reset();
    }

    // A folder named kzq.gds cannot be replaced, by root either. Try Again
    // sends the save again and asks again when it fails again.
    void failedSaveAtExitIsTold() {
        QVERIFY(QDir().mkdir(QStringLiteral("kzq.gds")));
        MessageLog log;
        TCasinoGUI window;
        QVERIFY(window.FormCreate(QStringLiteral(CASINO_LIB_DIR)));
        QVERIFY(PassThrough::Install(window.TheGame().link));
        window.show();
        QStringList asked;
        ModalAnswerer answerer([&](QWidget* modal) {
            if (auto* confirm = dynamic_cast<TConfirmBox*>(modal)) {
                confirm->OKButton->click();
            } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                asked << box->text();
                box->button(asked.size() == 1 ? QMessageBox::Retry : QMessageBox::Discard)->click();
            }
        });
        window.Exit1Click();
        QCOMPARE(asked.size(), 2);
        QVERIFY2(asked[0].contains(QDir::currentPath()), qPrintable(asked[0]));
        QCOMPARE(Sent::requests, (std::vector<std::string>{"<W></>", "<W></>"}));
        QVERIFY(window.Ended());
        QVERIFY(QFileInfo(QStringLiteral("kzq.gds")).isDir());
        // Told at start, too.
        QCOMPARE(log.texts.size(), 1);
        QVERIFY2(log.texts[0].contains(QStringLiteral("kzq.gds is not a file")),
                 qPrintable(log.texts[0]));
    }

    // A read-only records file (read-only to the superuser too), and for a
    // normal user a folder without write permission: told once the window is
    // up, naming the folder and the reason; play goes on.
    void unwritablePlaceIsToldAtStart() {
        const QString folderPath = QDir::currentPath();
        struct Case {
            const char* reason;
            std::function<void()> make, undo;
        };
        const QString sub = QDir::current().filePath(QStringLiteral("locked"));
        const std::vector<Case> cases = {
            {"the file is read-only",
             [] {
                 {  // a sound file, saved by the library
                     TCasinoGUI window;
                     QVERIFY(window.FormCreate(QStringLiteral(CASINO_LIB_DIR)));
                     char reply[kReplySize];
                     window.TheGame().link.Entry()("<W></>", reply);
                 }
                 QVERIFY(QFile::setPermissions(QStringLiteral("kzq.gds"), QFile::ReadOwner));
             },
             [] { QFile::remove(QStringLiteral("kzq.gds")); }},
            {"permission denied",
             [&] {
                 QVERIFY(QDir().mkdir(sub));
                 QVERIFY(QFile::setPermissions(sub, QFile::ReadOwner | QFile::ExeOwner));
                 QVERIFY(QDir::setCurrent(sub));
             },
             [&] {
                 QVERIFY(QDir::setCurrent(folderPath));
                 QFile::setPermissions(sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
             }},
        };
        for (const Case& c : cases) {
            if (geteuid() == 0 && std::strcmp(c.reason, "permission denied") == 0) continue;
            NewTestGame();
            c.make();
            MessageLog log;
            {
                TCasinoGUI window;
                QVERIFY(window.FormCreate(QStringLiteral(CASINO_LIB_DIR)));
                QVERIFY(log.texts.isEmpty());
                window.show();
                QTRY_COMPARE(log.texts.size(), 1);
                QVERIFY2(log.texts[0].contains(QDir::currentPath()) &&
                             log.texts[0].contains(QLatin1String(c.reason)),
                         qPrintable(log.texts[0]));
                QVERIFY(!window.Ended());
            }
            c.undo();
        }
    }

    // A folder whose name is not UTF-8 takes the records like any other
    // (nothing to tell at start), and a folder removed in mid-game is still
    // named when the save fails.
    void foldersAreNamedWhateverTheirBytes() {
        const QByteArray odd = QFile::encodeName(folder->path()) + "/caf\xe9";
        QVERIFY(mkdir(odd.constData(), 0700) == 0 && chdir(odd.constData()) == 0);
        {
            MessageLog log;
            TCasinoGUI window;
            QVERIFY(window.FormCreate(QStringLiteral(CASINO_LIB_DIR)));
            window.show();
            QTest::qWait(50);
            QVERIFY2(log.texts.isEmpty(), qPrintable(log.texts.join(QLatin1Char('\n'))));
        }
        QVERIFY(QDir::setCurrent(folder->path()));
        unlink((odd + "/kzq.gds").constData());
        QVERIFY(rmdir(odd.constData()) == 0);

        const QString gone = QDir::current().filePath(QStringLiteral("gone"));
        QVERIFY(QDir().mkdir(gone) && QDir::setCurrent(gone));
        TCasinoGUI window;
        QVERIFY(window.FormCreate(QStringLiteral(CASINO_LIB_DIR)));
        QVERIFY(PassThrough::Install(window.TheGame().link));
        window.show();
        QVERIFY(QDir().rmdir(gone));
        QStringList asked;
        ModalAnswerer answerer([&](QWidget* modal) {
            if (auto* confirm = dynamic_cast<TConfirmBox*>(modal)) {
                confirm->OKButton->click();
            } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                asked << box->text();
                box->button(QMessageBox::Discard)->click();
            }
        });
        window.Exit1Click();
        QCOMPARE(asked.size(), 1);
        QVERIFY2(asked[0].contains(gone + QLatin1Char('\n')), qPrintable(asked[0]));
    }

    // One byte too many: the begin request keeps the file aside under the
    // first free name, and the player is told where, once the window is up.
    void damagedFileKeptAsideIsTold() {
        for (const char* name : {"kzq.gds", "kzq.gds.bad"}) {
            QFile file(QString::fromLatin1(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(513, 'x'));
        }
        MessageLog log;
        TCasinoGUI window;
        QVERIFY(window.FormCreate(QStringLiteral(CASINO_LIB_DIR)));
        QVERIFY(log.texts.isEmpty());
        window.show();
        QTRY_COMPARE(log.texts.size(), 1);
        const QString kept = QDir::current().absoluteFilePath(QStringLiteral("kzq.gds.bad1"));
        QVERIFY(QFileInfo(kept).isFile());
        QVERIFY2(log.texts[0].contains(kept), qPrintable(log.texts[0]));
        window.hide();
        window.show();
        QTest::qWait(20);
        QCOMPARE(log.texts.size(), 1);
    }
};

int main(int argc, char** argv) {
    CasinoApplication app(argc, argv);
    RecordsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "records_test.moc"
