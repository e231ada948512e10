#include "window/casinogui.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <utility>

#include "dialogs/boxes.h"
#include "dialogs/formparts.h"
#include "link/logiclink.h"
#include "link/saving.h"
#include "link/selection.h"
#include "table/remainingpanel.h"
#include "table/tableaccess.h"
#include "table/tablefocus.h"
#include "table/tableview.h"
#include "window/commands.h"
#include "window/recordsfile.h"

const char kExitCaption[] = "Exit Casino?";
const char kExitText[] = "Are you certain you want to stop playing Casino?";

static_assert(TCasinoGUI::kClientWidth == kTableWidth && TCasinoGUI::kClientHeight == kTableHeight,
              "the table's layout fills the window's client area");

TableSurface::TableSurface(TCasinoGUI* window) : QWidget(window), window_(window) {
    // Named first: the accessible table's factory knows the widget by its name.
    setObjectName(QString::fromLatin1(kTableObjectName));
    setFixedSize(TCasinoGUI::kClientWidth, TCasinoGUI::kClientHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void TableSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    TableView& view = window_->TheGame().view;
    view.PaintTable(painter);
    if (keysInUse_) DrawFocus(view, painter);
}

void TableSurface::UseKeys(bool keys) {
    if (keys == keysInUse_) return;
    keysInUse_ = keys;
    update();
}

void TableSurface::mousePressEvent(QMouseEvent* event) {
    UseKeys(false);
    const QPoint at = event->position().toPoint();
    CardSelect(window_->TheGame().view, window_->TheGame().link, at.x(), at.y());
}

void TableSurface::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        window_->DebugCardClicked();
}

void TableSurface::contextMenuEvent(QContextMenuEvent* event) {
    window_->ShowPopupMenu(event->globalPos());
    event->accept();
}

void TableSurface::keyPressEvent(QKeyEvent* event) {
    const bool click = event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
                       event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers commandKeys =
        Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (!(event->modifiers() & commandKeys) && !(click && event->isAutoRepeat()) &&
        TableKey(window_->TheGame().view, window_->TheGame().link, event->key())) {
        UseKeys(true);
        if (click) window_->DebugCardClicked();  // as the release of a click on the table
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TableSurface::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        UseKeys(true);
    TableFocusChanged(window_->TheGame().view);
}

void TableSurface::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    TableFocusChanged(window_->TheGame().view);
}

TCasinoGUI::TCasinoGUI()
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                               Qt::WindowCloseButtonHint) {
    SetMainWindow(this);
    setWindowTitle(QStringLiteral("Casino"));
    // Named before a reader asks: the factory gives the window the score sheet by its name.
    setObjectName(QString::fromLatin1(kWindowObjectName));
    InstallTableAccessible(game_.view);
    Table = new TableSurface(this);
    setCentralWidget(Table);
    BuildMenus();
    menuBar()->setAccessibleName(QStringLiteral("Menu"));
    BuildControls();
    Table->setFocus();  // the keys of play reach the table from the start
    // The client area is exactly 792 x 553 and the window cannot be resized or maximized.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

TCasinoGUI::~TCasinoGUI() {
    game_.link.Release();
    game_.link.CloseTraceLog();
    game_.view.AttachWidgets({});
    SetMainWindow(nullptr);
}

void TCasinoGUI::BuildMenus() {
    File1 = menuBar()->addMenu(QStringLiteral("&File"));  // Alt+F opens it
    auto add = [this](const char* caption, Qt::Key key, void (TCasinoGUI::*handler)()) {
        QAction* action = File1->addAction(QString::fromLatin1(caption));
        action->setShortcut(QKeySequence(key));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    HowtoPlay2 = add("&How to Play", Qt::Key_F1, &TCasinoGUI::HowtoPlay2Click);
    NewGame1 = add("&New Game", Qt::Key_F2, &TCasinoGUI::NewGame1Click);
    GameSettings1 = add("&Game Settings", Qt::Key_F3, &TCasinoGUI::GameSettingsClick);
    HighScores1 = add("High &Scores", Qt::Key_F4, &TCasinoGUI::HighScores1Click);
    About2 = add("&About", Qt::Key_F5, &TCasinoGUI::About2Click);
    Exit1 = add("&Exit", Qt::Key_F6, &TCasinoGUI::Exit1Click);

    HintMenu = menuBar()->addMenu(QStringLiteral("Hint"));
    connect(HintMenu->menuAction(), &QAction::triggered, this,
            [this] { HintClick(game_.view, game_.link); });
    HintMenu->menuAction()->setVisible(false);

    // The pop-up menu holds the same six commands; sharing the actions keeps
    // one shortcut per key.
    PopupMenu1 = new QMenu(this);
    PopupMenu1->addActions(File1->actions());
}

void TCasinoGUI::ShowPopupMenu(const QPoint& globalPos) {
    const int width = PopupMenu1->sizeHint().width();
    PopupMenu1->exec(QPoint(globalPos.x() - width / 2, globalPos.y()));
}

bool TCasinoGUI::FormCreate(const QString& libraryFolder) {
    if (!game_.link.Bind(libraryFolder)) return false;
    StartUp();
    return true;
}

void TCasinoGUI::StartUp() {
    // Without a log if it cannot be opened.
    if (kTraceSwitch) game_.link.OpenTraceLog(QString::fromLatin1(kTraceFile));
    const KeptAsideCheck keptAside;
    RequestBuffer buffer;
    MakeMessage('B', buffer);
    AddDigit(kNumColumns, buffer);
    game_.link.Send(buffer);
    const std::string begun = game_.link.LastReply();
    game_.view.ClearTable();
    game_.view.SetTableNote(QString::fromLatin1(kStartNote));
    game_.mirror.SetCurrentPlayer(1);
    game_.view.LoadPictures();
    startNotice_ = StartUpNotice(begun, keptAside, game_.saver);
    // Told once the window is up: the program starts before the window shows.
    if (!startNotice_.isEmpty() && isVisible())
        QTimer::singleShot(0, this, &TCasinoGUI::TellStartNotice);
}

void TCasinoGUI::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!startNotice_.isEmpty()) QTimer::singleShot(0, this, &TCasinoGUI::TellStartNotice);
}

void TCasinoGUI::TellStartNotice() {
    if (startNotice_.isEmpty()) return;
    ShowMessage(std::exchange(startNotice_, QString()));
}

void TCasinoGUI::HowtoPlay2Click() {
    ShowHelpBox();
}

void TCasinoGUI::NewGame1Click() {
    NewGameCommand(game_);
}

void TCasinoGUI::GameSettingsClick() {
    GameSettingsCommand(game_);
}

void TCasinoGUI::HighScores1Click() {
    HighScoresCommand(game_);
}

void TCasinoGUI::About2Click() {
    RequestBuffer buffer;
    MakeMessage('V', buffer);
    game_.link.Send(buffer);
    ShowAboutBox();
}

// Outside debug mode too, a save that failed is told: the player may try
// again (after freeing the disk or the folder) or leave without saving.
void TCasinoGUI::SendSave() {
    game_.saver.SaveRecords(QString::fromLatin1(kExitWithoutSaving));
    ended_ = true;
    game_.link.Release();
    game_.link.CloseTraceLog();
}

void TCasinoGUI::EndSession() {
    if (ended_) return;
    // The library stays bound until the window goes: a handler that a box
    // of this signal's arrival interrupted may still send as it unwinds.
    game_.saver.SaveRecords(QString::fromLatin1(kExitWithoutSaving));
    ended_ = true;
    game_.saver.StopAsking();
    QCoreApplication::exit(0);
}

void TCasinoGUI::CommitData() {
    if (!ended_) game_.saver.SaveRecords(QString::fromLatin1(kContinueWithoutSaving), false);
}

void TCasinoGUI::Exit1Click() {
    if (!ShowConfirmBox(game_.view, QString::fromLatin1(kExitCaption),
                        QString::fromLatin1(kExitText)))
        return;
    SendSave();
    // Ends the event loop without a close request, so the user is asked only once.
    if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
}

void TCasinoGUI::closeEvent(QCloseEvent* event) {
    if (ended_) {
        event->accept();
        return;
    }
    if (!ShowConfirmBox(game_.view, QString::fromLatin1(kExitCaption),
                        QString::fromLatin1(kExitText))) {
        event->ignore();
        return;
    }
    SendSave();
    event->accept();
}

void TCasinoGUI::keyPressEvent(QKeyEvent* event) {
    // The menu of the right mouse button, by keys: the Menu key or Shift+F10,
    // opened at what has the focus.
    if (event->key() == Qt::Key_Menu ||
        (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        QWidget* at = QApplication::focusWidget() ? QApplication::focusWidget() : Table;
        ShowPopupMenu(at->mapToGlobal(at->rect().center()));
        event->accept();
        return;
    }
    const Qt::KeyboardModifiers commandKeys =
        Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (!event->isAutoRepeat() && !(event->modifiers() & commandKeys) &&
        KeyboardPlay(game_.view, game_.link, event->key())) {
        DebugCardClicked();  // as the release of a click on the table
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

bool TCasinoGUI::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == Edit2) DebugCardArrays();
        if (watched == Edit3) DebugCardClicked();
        if (watched == RemainingCards) {
            // The panel takes its own clicks: none reaches a pile that lies under it.
            RemainingCardsClick(game_.view);
            return true;
        }
    } else if (event->type() == QEvent::KeyPress && watched == RemainingCardsButton) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (!text.isEmpty()) RemainingCardsButtonKeyPress(text.at(0).toLatin1());
    }
    return QMainWindow::eventFilter(watched, event);
}
