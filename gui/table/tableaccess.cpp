// The accessible table: an interface for the table widget whose children are
// the places that show cards and the controls on the table that are shown,
// and the watcher that sends the events of every change to the places, the
// focus and the words.
#include "table/tableaccess.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <array>
#include <vector>

#include "table/announcement.h"
#include "table/remainingpanel.h"
#include "table/scoresheet.h"

const char kTableObjectName[] = "casinoTable";

namespace {

// Where the events of `view`'s table go.
void (*EventSink(const TableView& view))(QAccessibleEvent*) {
    return view.accessEvents ? view.accessEvents : QAccessible::updateAccessibility;
}

QString PlayerName(const TableView& view, int player) {
    return WireToText(player == 1 ? view.ShownMirror().settings.player1Name
                                  : view.ShownMirror().settings.player2Name);
}

// A person plays this hand: its cards are told one by one, with their keys.
bool CardsTold(const TableView& view, int player) {
    return view.ShownMirror().playerIsComputer[player] == 0;
}

QString Cards(int count) {
    return count == 1 ? QStringLiteral("1 card") : QStringLiteral("%1 cards").arg(count);
}

// "a", "a and b", "a, b and c".
QString Listed(const QStringList& names) {
    if (names.size() <= 1) return names.value(0);
    return QStringList(names.mid(0, names.size() - 1)).join(QStringLiteral(", ")) +
           QStringLiteral(" and ") + names.last();
}

QString HandCardName(const TableView& view, int player, int slot) {
    int count = 0;
    int number = 0;
    for (int s = 1; s <= 4; ++s)
        if (view.table.pileDepth[player][s] > 0) {
            ++count;
            if (s == slot) number = count;
        }
    const QString owner = CardsTold(view, 3 - player)
                              ? PlayerName(view, player) + QStringLiteral("'s hand")
                              : QStringLiteral("Your hand");
    QString name = QStringLiteral("%1, card %2 of %3: %4")
                       .arg(owner)
                       .arg(number)
                       .arg(count)
                       .arg(PictureName(view.table.handCards[player][slot]));
    if (player == view.ShownMirror().CurrentPlayer())
        name +=
            QStringLiteral(" (key ") + QChar::fromLatin1(kSlotKeys[slot - 1]) + QLatin1Char(')');
    if (view.table.highlight[player][slot] == 1) name += QStringLiteral(", selected");
    return name;
}

QString HandCountName(const TableView& view, int player) {
    int count = 0;
    QStringList faceUp;
    for (int slot = 1; slot <= 4; ++slot)
        if (view.table.pileDepth[player][slot] > 0) {
            ++count;
            if (const QString card = PictureName(view.table.handCards[player][slot]);
                !card.isEmpty())
                faceUp << card;
        }
    if (count == 0) return {};
    QString name = PlayerName(view, player) + QStringLiteral("'s hand: ") + Cards(count);
    if (faceUp.isEmpty()) return name + QStringLiteral(", face down");
    return name + QStringLiteral(", face up: ") + Listed(faceUp);
}

QString PileName(const TableView& view, int column) {
    const int depth = view.table.pileDepth[0][column];
    if (depth == 0) return {};
    QStringList cards;
    bool allOfTagRank = true;
    const char tag = view.table.tagLetter[column];
    for (int d = 1; d <= depth; ++d) {
        const int picture = view.table.pileCards[column][d];
        cards << PictureName(picture);
        if (PictureRank(picture) != RankValue(tag)) allOfTagRank = false;
    }
    QString name = QStringLiteral("Table pile %1 (key %2): ")
                       .arg(column)
                       .arg(QChar::fromLatin1(PileKey(column))) +
                   Listed(cards);
    if (view.table.tagShown[column] == 1 && RankValue(tag) != 0) {
        // A block's cards are all of the rank its tag names; a build's add up to it.
        if (allOfTagRank)
            name += QStringLiteral(", block of ") + RankPlural(tag);
        else
            name += QStringLiteral(", build of %1").arg(RankValue(tag) == 1 ? 14 : RankValue(tag));
    }
    if (view.table.highlight[0][column] == 1) name += QStringLiteral(", selected");
    return name;
}

QString CaptureName(const TableView& view, int area) {
    const int count = view.table.captureCount[area];
    if (count == 0) return {};
    QString name = PlayerName(view, area - 2) + QStringLiteral("'s capture pile: ") + Cards(count);
    const int top = view.table.capturedCards[area][std::min(count, kCapturedMost)];
    if (const QString card = PictureName(top); !card.isEmpty())
        name += QStringLiteral(", top card ") + card;
    return name;
}

// A place of the table: a pile (area 0), a hand card (area 1 or 2, column
// the slot), a hand told as a count (column 0), a capture pile (area 3 or 4).
struct Place {
    int area;
    int column;
    bool operator==(const Place&) const = default;
};
constexpr int kPlaceCount = 9 + 2 * 5 + 2;

int PlaceIndex(const Place& place) {
    if (place.area == kPilesArea) return place.column - 1;
    if (place.area <= kHandArea2) return 9 + (place.area - 1) * 5 + place.column;
    return 19 + place.area - 3;
}

// The places that show cards, in reading order: the hands, the table piles,
// the capture piles.
std::vector<Place> ShownPlaces(const TableView& view) {
    std::vector<Place> shown;
    for (int player = 1; player <= 2; ++player) {
        if (!CardsTold(view, player)) {
            if (!HandCountName(view, player).isEmpty()) shown.push_back({player, 0});
            continue;
        }
        for (int slot = 1; slot <= 4; ++slot)
            if (view.table.pileDepth[player][slot] > 0) shown.push_back({player, slot});
    }
    for (int column = 1; column <= kNumColumns; ++column)
        if (view.table.pileDepth[0][column] > 0) shown.push_back({0, column});
    for (int area = kCaptureArea1; area <= kCaptureArea2; ++area)
        if (view.table.captureCount[area] > 0) shown.push_back({area, 0});
    return shown;
}

QRect PlaceRect(const TableView& view, const Place& place) {
    if (place.area == kPilesArea)
        return PileExtent(place.column, view.table.pileDepth[0][place.column],
                          view.table.tagShown[place.column] == 1);
    if (IsCaptureArea(place.area))
        return CapturePileExtent(place.area, view.table.captureCount[place.area]);
    if (place.column > 0)
        return QRect(HandPlace(place.area, place.column), QSize(kCardWidth, kCardHeight));
    const QPoint left = HandPlace(place.area, 1);
    return QRect(left, QSize(4 * kCardWidth, kCardHeight));
}

class TableAccessible;

// One place: a virtual child of the table, not a widget of its own.
class PlaceItem : public TableChild {
  public:
    PlaceItem(QWidget* surface, Place place) : TableChild(surface), place_(place) {}

    QString text(QAccessible::Text t) const override;
    QRect rect() const override {
        if (!surface()) return {};
        const QRect at = PlaceRect(View(), place_);
        return QRect(surface()->mapToGlobal(at.topLeft()), at.size());
    }
    // A card of the hand is pressed; the rest are items, not labels: a screen
    // reader would read every label of the table each time the focus comes
    // back to it.
    QAccessible::Role role() const override {
        return IsHandArea(place_.area) && place_.column > 0 ? QAccessible::Button
                                                            : QAccessible::ListItem;
    }
    QAccessible::State state() const override;

    Place place() const { return place_; }
    bool Focused() const;

  private:
    Place place_;
};

// The table widget: its places, then the controls on it that are shown.
class TableAccessible : public QAccessibleWidget {
  public:
    explicit TableAccessible(QWidget* surface) : QAccessibleWidget(surface, QAccessible::Pane) {
        std::vector<Place> all;
        for (int column = 1; column <= kNumColumns; ++column)
            all.push_back({0, column});
        for (int player = 1; player <= 2; ++player)
            for (int slot = 0; slot <= 4; ++slot)
                all.push_back({player, slot});
        all.push_back({3, 0});
        all.push_back({4, 0});
        for (const Place& place : all)
            items_[PlaceIndex(place)] = new PlaceItem(surface, place);
        for (PlaceItem* item : items_)
            QAccessible::registerAccessibleInterface(item);
        announcement_ = new Announcement(surface);
        QAccessible::registerAccessibleInterface(announcement_);
        scoreSheet_ = NewScoreSheetAccessible(surface);
        QAccessible::registerAccessibleInterface(scoreSheet_);
        told_ = Now();  // what a reader finds when it first asks
        selectedSaid_ = told_.selected;
        panelOpen_ = RemainingPanelOpen(View());
    }
    ~TableAccessible() override {
        for (PlaceItem* item : items_)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(item));
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(announcement_));
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(scoreSheet_));
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return QStringLiteral("Card table");
        // The note (how to begin, whose turn, a stopped game); the moves are
        // spoken as they come and not read again each time the table is entered.
        if (t == QAccessible::Description) return View().TableNote();
        return QAccessibleWidget::text(t);
    }
    // The places, the score sheet, then the controls shown.
    int childCount() const override {
        return int(ShownPlaces(View()).size() + 1 + Controls().size());
    }
    QAccessibleInterface* child(int index) const override {
        const std::vector<Place> places = ShownPlaces(View());
        if (index < 0) return nullptr;
        if (index < int(places.size())) return Item(places[std::size_t(index)]);
        index -= int(places.size());
        if (index == 0) return scoreSheet_;
        const QList<QWidget*> controls = Controls();
        index -= 1;
        return index < controls.size() ? QAccessible::queryAccessibleInterface(controls[index])
                                       : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const std::vector<Place> places = ShownPlaces(View());
        if (const auto* item = dynamic_cast<const PlaceItem*>(child)) {
            for (std::size_t i = 0; i < places.size(); ++i)
                if (places[i] == item->place()) return int(i);
            return -1;
        }
        if (child == scoreSheet_) return int(places.size());
        const int at =
            child ? int(Controls().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
        return at < 0 ? -1 : int(places.size()) + 1 + at;
    }
    QAccessibleInterface* focusChild() const override {
        if (PlaceItem* focused = FocusedItem()) return focused;
        return QAccessibleWidget::focusChild();
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        if (scoreSheet_->rect().contains(x, y)) return scoreSheet_;
        if (QAccessibleInterface* control = QAccessibleWidget::childAt(x, y)) return control;
        for (const Place& place : ShownPlaces(View())) {
            PlaceItem* item = Item(place);
            if (item->rect().contains(x, y)) return item;
        }
        return nullptr;
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = true;
        return s;
    }

    PlaceItem* Item(const Place& place) const { return items_[PlaceIndex(place)]; }
    // The place with the keyboard focus, while the table has it.
    PlaceItem* FocusedItem() const {
        const TablePlace focus = FocusPlace(View());
        if (!widget()->hasFocus() || !Focusable(View(), focus)) return nullptr;
        return Item({focus.area, focus.column});
    }

    // The view that draws the table.
    const TableView& View() const { return ViewOf(widget()); }

    // Sends the events of what changed since the last call: the places at
    // once, the focus and the words once the event loop runs again.
    void Tell();
    void TellFocusAndWords();
    // The words of the moves and the deal not spoken yet, taken as spoken.
    QStringList TakeNews();

  private:
    // The controls on the table that are shown: the hidden debug controls,
    // the remaining-cards panel while it waits below the window and the
    // panels the score sheet stands for are left out.
    QList<QWidget*> Controls() const {
        QList<QWidget*> shown;
        const QList<QWidget*>& scorePanels = View().AttachedWidgets().scorePanels;
        for (QObject* child : widget()->children()) {
            auto* control = qobject_cast<QWidget*>(child);
            if (!control || control->isWindow() || control->isHidden()) continue;
            if (scorePanels.contains(control)) continue;
            if (control == View().RemainingPanel() && !RemainingPanelOpen(View())) continue;
            shown << control;
        }
        return shown;
    }

    struct Told {
        std::vector<Place> places;
        QList<QPointer<QWidget>> controls;
        std::array<QString, kPlaceCount> names;
        std::array<bool, kPlaceCount> selected{};
    };
    // The places and controls as they are now.
    Told Now() const;

    // The words of a deal: the cards of the hand a person plays, and at a
    // round's first deal the table's cards as well.
    QString DealWords() const;

    std::array<PlaceItem*, kPlaceCount> items_{};
    Announcement* announcement_ = nullptr;
    QAccessibleInterface* scoreSheet_ = nullptr;
    Told told_;
    std::array<bool, kPlaceCount> selectedSaid_{};  // as last spoken of the focused place
    bool handDealt_ = false;   // the hand a person plays was dealt since the last telling
    bool panelOpen_ = false;   // the remaining-cards panel is raised
    bool panelMoved_ = false;  // ... or lowered, since the last telling
    static constexpr int kAfterActivation = 400;  // ms
    bool flushPending_ = false;
    bool waited_ = false;                      // the words waited for a box or for the window
    static constexpr int kInactiveWaits = 10;  // of 100 ms
    int inactiveWaits_ = 0;
    PlaceItem* focusTold_ = nullptr;
    QString noteTold_;
    QStringList movesHeard_;  // the words of moves shown since the last telling
    QStringList movesTold_;
    QStringList movesSpoken_;  // the sentences of the round told so far
};

QString PlaceItem::text(QAccessible::Text t) const {
    if (t == QAccessible::Name) return PlaceName(View(), place_.area, place_.column);
    return {};
}

bool PlaceItem::Focused() const {
    auto* table = dynamic_cast<TableAccessible*>(parent());
    return table && table->FocusedItem() == this;
}

QAccessible::State PlaceItem::state() const {
    QAccessible::State s;
    if (place_.area <= kHandArea2 && place_.column > 0) {
        s.focusable = Focusable(View(), {place_.area, place_.column});
        s.focused = Focused();
        s.selectable = place_.area == kPilesArea;
        s.selected = View().table.highlight[place_.area][place_.column] == 1;
    }
    return s;
}

void Send(const TableView& view, QAccessibleInterface* iface, QAccessible::Event type) {
    QAccessibleEvent event(iface, type);
    EventSink(view)(&event);
}

TableAccessible::Told TableAccessible::Now() const {
    Told now;
    now.places = ShownPlaces(View());
    for (const Place& place : now.places) {
        now.names[PlaceIndex(place)] = PlaceName(View(), place.area, place.column);
        now.selected[PlaceIndex(place)] = place.column > 0 && place.area <= kHandArea2 &&
                                          View().table.highlight[place.area][place.column] == 1;
    }
    for (QWidget* control : Controls())
        now.controls << control;
    return now;
}

void TableAccessible::Tell() {
    const Told now = Now();
    const int hand = FocusHand(View());
    const auto handCards = [hand](const std::vector<Place>& places) {
        return std::count_if(places.begin(), places.end(), [hand](const Place& place) {
            return place.area == hand && place.column > 0;
        });
    };
    if (handCards(told_.places) == 0 && handCards(now.places) > 0) handDealt_ = true;
    if (RemainingPanelOpen(View()) != panelOpen_) {
        panelOpen_ = !panelOpen_;
        panelMoved_ = true;
    }

    const auto among = [](const std::vector<Place>& places, const Place& place) {
        return std::find(places.begin(), places.end(), place) != places.end();
    };
    for (const Place& place : told_.places)
        if (!among(now.places, place)) Send(View(), Item(place), QAccessible::ObjectDestroyed);
    for (const Place& place : now.places) {
        const int i = PlaceIndex(place);
        if (!among(told_.places, place)) {
            Send(View(), Item(place), QAccessible::ObjectCreated);
            continue;
        }
        if (now.names[i] != told_.names[i]) Send(View(), Item(place), QAccessible::NameChanged);
        if (now.selected[i] != told_.selected[i]) {
            QAccessible::State changed;
            changed.selected = true;
            QAccessibleStateChangeEvent event(Item(place), changed);
            EventSink(View())(&event);
        }
    }
    // Controls come and go as they are shown and hidden (the debug controls,
    // the remaining-cards panel as it is raised or lowered).
    for (const QPointer<QWidget>& control : told_.controls)
        if (control && !now.controls.contains(control))
            Send(View(), QAccessible::queryAccessibleInterface(control),
                 QAccessible::ObjectDestroyed);
    for (const QPointer<QWidget>& control : now.controls)
        if (!told_.controls.contains(control))
            Send(View(), QAccessible::queryAccessibleInterface(control),
                 QAccessible::ObjectCreated);
    told_ = now;
    // Every move whose words were shown is told, the player's own too, which
    // the computer's answer replaces before the window is free again.
    const QString move = View().MoveWords();
    const QStringList& last = movesHeard_.isEmpty() ? movesTold_ : movesHeard_;
    if (!move.isEmpty() && (last.isEmpty() || last.last() != move)) movesHeard_ << move;
    // The focus and the words are told once the event loop runs again: a
    // move and the computer's answer change them many times in one go, and a
    // screen reader should speak only what stands at the end.
    if (!flushPending_) QTimer::singleShot(0, widget(), [this] { TellFocusAndWords(); });
    flushPending_ = true;
}

void TableAccessible::TellFocusAndWords() {
    // While a box is open, or the window is not the active one, the screen
    // reader speaks of that: what happened on the table meanwhile waits. When
    // the window is active again the reader first tells it, which would cut
    // short words spoken at once, so they wait a moment more.
    // No window of the program active is the moment after a box closed,
    // before the window is given back; or the player is elsewhere, and after
    // a second the words go out all the same.
    flushPending_ = true;
    const QWidget* active = QApplication::activeWindow();
    const bool busy = QApplication::activeModalWidget() || (active && active != widget()->window());
    const bool away = !active;
    if (busy || (away && inactiveWaits_ < kInactiveWaits)) {
        if (!busy) ++inactiveWaits_;
        waited_ = true;
        QTimer::singleShot(100, widget(), [this] { TellFocusAndWords(); });
        return;
    }
    if (waited_ && !away) {
        waited_ = false;
        QTimer::singleShot(kAfterActivation, widget(), [this] { TellFocusAndWords(); });
        return;
    }
    waited_ = false;
    inactiveWaits_ = 0;
    flushPending_ = false;
    QStringList spoken;
    PlaceItem* focused = FocusedItem();
    if (focused != focusTold_) {
        focusTold_ = focused;
        if (focused) Send(View(), focused, QAccessible::Focus);  // its name tells its state
    } else if (focused) {
        // A choice on the place that keeps the focus (Space, Enter): its new state.
        const int at = PlaceIndex(focused->place());
        if (told_.selected[at] != selectedSaid_[at])
            spoken << (told_.selected[at] ? QStringLiteral("selected")
                                          : QStringLiteral("not selected"));
    }
    selectedSaid_ = told_.selected;
    spoken << TakeNews();
    if (!spoken.isEmpty()) announcement_->Say(spoken.join(QLatin1Char('\n')), EventSink(View()));

    if (View().TableNote() != noteTold_) {
        noteTold_ = View().TableNote();
        Send(View(), this, QAccessible::DescriptionChanged);
    }
}

QStringList TableAccessible::TakeNews() {
    // A move is told once: words shown again (taken away by a key and put
    // back, as around a hint) are not news. Within a round every move names
    // a card of its own, so the round's sentences are all that is kept.
    QStringList news;
    for (const QString& move : movesHeard_)
        if (!movesSpoken_.contains(move)) news << move;
    movesSpoken_ << news;
    if (!movesHeard_.isEmpty())
        movesTold_ = movesHeard_;
    else if (View().MoveWords().isEmpty())
        movesTold_.clear();  // the player acted: the words were taken away
    movesHeard_.clear();
    if (handDealt_) {
        handDealt_ = false;
        const QString deal = DealWords();
        if (deal.startsWith(QLatin1String("New round"))) movesSpoken_.clear();
        if (!deal.isEmpty()) news << deal;
    }
    if (panelMoved_) {
        panelMoved_ = false;
        // Raised, the panel's rows are read out: that is what it was opened for.
        QStringList rows;
        if (panelOpen_)
            for (int row = 1; row <= kRemainingRows; ++row)
                rows << View().AttachedWidgets().remainingRows[row]->accessibleName();
        news << (panelOpen_ ? rows.join(QStringLiteral(". ")) + QLatin1Char('.')
                            : QStringLiteral("Cards not yet seen put away."));
    }
    return news;
}

QString TableAccessible::DealWords() const {
    const TableView& view = View();
    const int hand = FocusHand(view);
    QStringList cards;
    for (int slot = 1; slot <= 4; ++slot)
        if (view.table.pileDepth[hand][slot] > 0)
            cards << PictureName(view.table.handCards[hand][slot]);
    if (cards.isEmpty()) return {};
    const QString held = QStringLiteral("you hold ") + Listed(cards);
    if (view.table.captureCount[3] > 0 || view.table.captureCount[4] > 0)
        return QStringLiteral("New hand: ") + held + QLatin1Char('.');
    QStringList piles;
    for (int column = 1; column <= kNumColumns; ++column)
        if (view.table.pileDepth[0][column] > 0)
            piles << PictureName(view.table.pileCards[column][view.table.pileDepth[0][column]]);
    return QStringLiteral("New round: ") + held + QStringLiteral("; on the table ") +
           Listed(piles) + QLatin1Char('.');
}

void TableChanged(TableView& view) {
    QWidget* surface = view.SurfaceWidget();
    if (!surface || (!QAccessible::isActive() && !view.accessEvents)) return;
    if (auto* accessible =
            dynamic_cast<TableAccessible*>(QAccessible::queryAccessibleInterface(surface)))
        accessible->Tell();
}

QAccessibleInterface* TableFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget && widget->objectName() == QLatin1String(kTableObjectName))
        return new TableAccessible(widget);
    return nullptr;
}

}  // namespace

void InstallTableAccessible(TableView& view) {
    QAccessible::removeFactory(TableFactory);  // installed once
    QAccessible::installFactory(TableFactory);
    view.SetTableWatcher(TableChanged);
}

QString TakeUntoldWords(const TableView& view) {
    QWidget* surface = view.SurfaceWidget();
    if (!surface || (!QAccessible::isActive() && !view.accessEvents)) return {};
    auto* accessible =
        dynamic_cast<TableAccessible*>(QAccessible::queryAccessibleInterface(surface));
    return accessible ? accessible->TakeNews().join(QLatin1Char('\n')) : QString();
}

QString PlaceName(const TableView& view, int area, int column) {
    if (area == kPilesArea) return PileName(view, column);
    if (IsHandArea(area)) {
        if (column == 0) return HandCountName(view, area);
        return view.table.pileDepth[area][column] > 0 ? HandCardName(view, area, column)
                                                      : QString();
    }
    if (IsCaptureArea(area)) return CaptureName(view, area);
    return {};
}
