// The accessible table: an interface for the table widget whose children are
// the rows (the cards of a hand, the table piles, each a list of its places),
// the places in no row and the controls on the table that are shown; the
// factory that gives the table, the window and the remaining-cards button
// their interfaces; and the watcher that sends the events of every change to
// the places, the focus and the words.
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
#include "table/tableplaces.h"

const char kTableObjectName[] = "casinoTable";
const char kWindowObjectName[] = "casinoWindow";

namespace {

// Where the events of `view`'s table go.
void (*EventSink(const TableView& view))(QAccessibleEvent*) {
    return view.accessEvents ? view.accessEvents : QAccessible::updateAccessibility;
}

class TableAccessible;

// One place: a virtual child of the table, not a widget of its own.
class PlaceItem : public TableChild {
  public:
    PlaceItem(QWidget* surface, Place place) : TableChild(surface), place_(place) {}

    QString text(QAccessible::Text t) const override;
    // Its row (the hand or the piles) when it is in one, else the table.
    QAccessibleInterface* parent() const override;
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

// The places of one row as a list: the cards of a hand a person plays
// (area 1 or 2) or the table piles (area 0). A screen reader tells a place's
// position in its row ("3 of 5") and the row's name as the focus enters it.
class PlaceGroup : public TableChild {
  public:
    PlaceGroup(QWidget* surface, int area) : TableChild(surface), area_(area) {}

    bool Holds(const Place& place) const {
        return place.area == area_ && (area_ == kPilesArea || place.column > 0);
    }
    // The places of the row that show cards, in reading order.
    std::vector<Place> Members() const {
        std::vector<Place> members;
        for (const Place& place : ShownPlaces(View()))
            if (Holds(place)) members.push_back(place);
        return members;
    }

    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name) return {};
        return area_ == kPilesArea ? QStringLiteral("Table piles") : HandOwner(View(), area_);
    }
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::List; }
    QAccessible::State state() const override { return {}; }
    int childCount() const override { return int(Members().size()); }
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override;
    QAccessibleInterface* childAt(int x, int y) const override;

  private:
    TableAccessible* Table() const;

    int area_;
};

// The table widget: its rows and the places in none, then the controls on it
// that are shown.
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
        for (int area = kPilesArea; area <= kHandArea2; ++area) {
            groups_[std::size_t(area)] = new PlaceGroup(surface, area);
            QAccessible::registerAccessibleInterface(groups_[std::size_t(area)]);
        }
        announcement_ = new Announcement(surface);
        QAccessible::registerAccessibleInterface(announcement_);
        told_ = Now();  // what a reader finds when it first asks
        selectedSaid_ = told_.selected;
        panelOpen_ = RemainingPanelOpen(View());
    }
    ~TableAccessible() override {
        for (PlaceItem* item : items_)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(item));
        for (PlaceGroup* group : groups_)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(group));
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(announcement_));
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return QStringLiteral("Card table");
        // The note (how to begin, whose turn, a stopped game); the moves are
        // spoken as they come and not read again each time the table is entered.
        if (t == QAccessible::Description) return View().TableNote();
        return QAccessibleWidget::text(t);
    }
    // The rows and the places in none, then the controls shown.
    int childCount() const override { return int(Entries().size() + Controls().size()); }
    QAccessibleInterface* child(int index) const override {
        const std::vector<QAccessibleInterface*> entries = Entries();
        if (index < 0) return nullptr;
        if (index < int(entries.size())) return entries[std::size_t(index)];
        const QList<QWidget*> controls = Controls();
        index -= int(entries.size());
        return index < controls.size() ? QAccessible::queryAccessibleInterface(controls[index])
                                       : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const std::vector<QAccessibleInterface*> entries = Entries();
        const auto entry = std::find(entries.begin(), entries.end(), child);
        if (entry != entries.end()) return int(entry - entries.begin());
        if (dynamic_cast<const TableChild*>(child)) return -1;  // a place in a row, or gone
        const int at =
            child ? int(Controls().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
        return at < 0 ? -1 : int(entries.size()) + at;
    }
    QAccessibleInterface* focusChild() const override {
        if (PlaceItem* focused = FocusedItem()) return focused;
        return QAccessibleWidget::focusChild();
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        if (QAccessibleInterface* control = QAccessibleWidget::childAt(x, y)) return control;
        for (QAccessibleInterface* entry : Entries())
            if (entry->rect().contains(x, y)) return entry;
        return nullptr;
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = true;
        return s;
    }

    PlaceItem* Item(const Place& place) const { return items_[PlaceIndex(place)]; }
    // The row `place` belongs to; null for a place in none.
    PlaceGroup* GroupOf(const Place& place) const {
        for (PlaceGroup* group : groups_)
            if (group->Holds(place)) return group;
        return nullptr;
    }
    // The table's own children that stand for places: each row that shows a
    // card, and each place in no row, in reading order.
    std::vector<QAccessibleInterface*> Entries() const {
        std::vector<QAccessibleInterface*> entries;
        for (const Place& place : ShownPlaces(View())) {
            QAccessibleInterface* entry = GroupOf(place);
            if (!entry) entry = Item(place);
            if (std::find(entries.begin(), entries.end(), entry) == entries.end())
                entries.push_back(entry);
        }
        return entries;
    }
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

    // Adds the deal's words to `news`, once.
    void TellDeal(QStringList& news);

    std::array<PlaceItem*, kPlaceCount> items_{};
    std::array<PlaceGroup*, 3> groups_{};  // [area 0..2]: the piles, the hands
    Announcement* announcement_ = nullptr;
    Told told_;
    std::array<bool, kPlaceCount> selectedSaid_{};  // as last spoken of the focused place
    bool handDealt_ = false;  // the hand a person plays was dealt since the last telling
    bool newRound_ = false;   // ... at the start of a round
    qsizetype dealAt_ = 0;    // ... after this many of movesHeard_
    QString dealWords_;       // ... in words, as the cards stood when the deal was done
    bool dealDone_ = false;   // a card left its place since: the words are kept
    std::array<int, 9 + 8 + 2> shownCards_{};  // the cards of each pile, hand slot and capture pile
    bool panelOpen_ = false;                   // the remaining-cards panel is raised
    bool panelMoved_ = false;                  // ... or lowered, since the last telling
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

TableAccessible* TableOf(QWidget* surface) {
    return surface ? dynamic_cast<TableAccessible*>(QAccessible::queryAccessibleInterface(surface))
                   : nullptr;
}

QAccessibleInterface* PlaceItem::parent() const {
    TableAccessible* table = TableOf(surface());
    if (!table) return nullptr;
    if (PlaceGroup* group = table->GroupOf(place_)) return group;
    return table;
}

bool PlaceItem::Focused() const {
    TableAccessible* table = TableOf(surface());
    return table && table->FocusedItem() == this;
}

TableAccessible* PlaceGroup::Table() const {
    return TableOf(surface());
}

QRect PlaceGroup::rect() const {
    QRect all;
    if (TableAccessible* table = Table())
        for (const Place& place : Members())
            all |= table->Item(place)->rect();
    return all;
}

QAccessibleInterface* PlaceGroup::child(int index) const {
    const std::vector<Place> members = Members();
    TableAccessible* table = Table();
    return table && index >= 0 && index < int(members.size())
               ? table->Item(members[std::size_t(index)])
               : nullptr;
}

int PlaceGroup::indexOfChild(const QAccessibleInterface* child) const {
    const auto* item = dynamic_cast<const PlaceItem*>(child);
    if (!item) return -1;
    const std::vector<Place> members = Members();
    const auto at = std::find(members.begin(), members.end(), item->place());
    return at == members.end() ? -1 : int(at - members.begin());
}

QAccessibleInterface* PlaceGroup::focusChild() const {
    TableAccessible* table = Table();
    PlaceItem* focused = table ? table->FocusedItem() : nullptr;
    return focused && Holds(focused->place()) ? focused : nullptr;
}

QAccessibleInterface* PlaceGroup::childAt(int x, int y) const {
    TableAccessible* table = Table();
    if (table)
        for (const Place& place : Members())
            if (table->Item(place)->rect().contains(x, y)) return table->Item(place);
    return nullptr;
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
    const TableView& view = View();
    Told now;
    now.places = ShownPlaces(view);
    for (const Place& place : now.places) {
        now.names[PlaceIndex(place)] = PlaceName(view, place.area, place.column);
        now.selected[PlaceIndex(place)] = place.column > 0 && place.area <= kHandArea2 &&
                                          view.table.highlight[place.area][place.column] == 1;
    }
    for (QWidget* control : Controls())
        now.controls << control;
    return now;
}

void TableAccessible::Tell() {
    const TableView& view = View();
    const Told now = Now();
    const int hand = FocusHand(view);
    const auto handCards = [hand](const std::vector<Place>& places) {
        return std::count_if(places.begin(), places.end(), [hand](const Place& place) {
            return place.area == hand && place.column > 0;
        });
    };
    if (handCards(told_.places) == 0 && handCards(now.places) > 0) {
        // Told as dealt, though the computer may have moved before the words go out.
        handDealt_ = true;
        newRound_ = view.table.captureCount[3] == 0 && view.table.captureCount[4] == 0;
        dealAt_ = movesHeard_.size();
        dealDone_ = false;
    }
    // A deal only adds cards; the first card that leaves a place or reaches
    // a capture pile belongs to a move, and the deal's words are kept as they were.
    std::array<int, 9 + 8 + 2> cards{};
    for (int column = 1; column <= kNumColumns; ++column)
        cards[std::size_t(column - 1)] = view.table.pileDepth[0][column];
    for (int player = 1; player <= 2; ++player)
        for (int slot = 1; slot <= 4; ++slot)
            cards[std::size_t(9 + (player - 1) * 4 + slot - 1)] =
                view.table.pileDepth[player][slot];
    cards[17] = view.table.captureCount[3];
    cards[18] = view.table.captureCount[4];
    for (std::size_t i = 0; i < cards.size(); ++i)
        if (i >= 17 ? cards[i] > shownCards_[i] : cards[i] < shownCards_[i]) dealDone_ = true;
    shownCards_ = cards;
    if (handDealt_ && !dealDone_) dealWords_ = DealWords(view, newRound_);
    if (RemainingPanelOpen(view) != panelOpen_) {
        panelOpen_ = !panelOpen_;
        panelMoved_ = true;
        // Its button says "expanded" or "collapsed" at once.
        if (auto* button = widget()->findChild<QWidget*>(QLatin1String(kPanelButtonObjectName),
                                                         Qt::FindDirectChildrenOnly)) {
            QAccessible::State changed;
            changed.expanded = true;
            QAccessibleStateChangeEvent event(QAccessible::queryAccessibleInterface(button),
                                              changed);
            EventSink(view)(&event);
        }
    }

    const auto among = [](const std::vector<Place>& places, const Place& place) {
        return std::find(places.begin(), places.end(), place) != places.end();
    };
    // A row comes with its first card and goes with its last.
    const auto rowShown = [](const std::vector<Place>& places, const PlaceGroup* group) {
        return std::any_of(places.begin(), places.end(),
                           [&](const Place& place) { return group->Holds(place); });
    };
    for (const Place& place : told_.places)
        if (!among(now.places, place)) Send(view, Item(place), QAccessible::ObjectDestroyed);
    for (PlaceGroup* group : groups_) {
        const bool was = rowShown(told_.places, group);
        if (was != rowShown(now.places, group))
            Send(view, group, was ? QAccessible::ObjectDestroyed : QAccessible::ObjectCreated);
    }
    for (const Place& place : now.places) {
        const int i = PlaceIndex(place);
        if (!among(told_.places, place)) {
            Send(view, Item(place), QAccessible::ObjectCreated);
            continue;
        }
        if (now.names[i] != told_.names[i]) Send(view, Item(place), QAccessible::NameChanged);
        if (now.selected[i] != told_.selected[i]) {
            QAccessible::State changed;
            changed.selected = true;
            QAccessibleStateChangeEvent event(Item(place), changed);
            EventSink(view)(&event);
        }
    }
    // Controls come and go as they are shown and hidden (the debug controls,
    // the remaining-cards panel as it is raised or lowered).
    for (const QPointer<QWidget>& control : told_.controls)
        if (control && !now.controls.contains(control))
            Send(view, QAccessible::queryAccessibleInterface(control),
                 QAccessible::ObjectDestroyed);
    for (const QPointer<QWidget>& control : now.controls)
        if (!told_.controls.contains(control))
            Send(view, QAccessible::queryAccessibleInterface(control), QAccessible::ObjectCreated);
    told_ = now;
    // Every move whose words were shown is told, the player's own too, which
    // the computer's answer replaces before the window is free again.
    const QString move = view.MoveWords();
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
        // A choice on the place that keeps the focus (Space, Enter): its new
        // state. A move clears the choices; its words tell what became of them.
        const int at = PlaceIndex(focused->place());
        if (told_.selected[at] != selectedSaid_[at] && movesHeard_.isEmpty())
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
    // The deal is told in its place among the moves: after the last ones of
    // the hand before, ahead of the first of its own.
    QStringList news;
    for (qsizetype i = 0; i < movesHeard_.size(); ++i) {
        if (i == dealAt_) TellDeal(news);
        if (movesSpoken_.contains(movesHeard_[i])) continue;
        news << movesHeard_[i];
        movesSpoken_ << movesHeard_[i];
    }
    TellDeal(news);
    if (!movesHeard_.isEmpty())
        movesTold_ = movesHeard_;
    else if (View().MoveWords().isEmpty())
        movesTold_.clear();  // the player acted: the words were taken away
    movesHeard_.clear();
    if (panelMoved_) {
        panelMoved_ = false;
        // Raised, the panel's rows are read out: that is what it was opened
        // for. The button's new state leads, in a screen reader's own words:
        // the toolkit here sends no event for a change of "expanded".
        QStringList rows{QStringLiteral("Cards not yet seen expanded")};
        if (panelOpen_)
            for (int row = 1; row <= kRemainingRows; ++row)
                rows << View().AttachedWidgets().remainingRows[row]->accessibleName();
        news << (panelOpen_ ? rows.join(QStringLiteral(". ")) + QLatin1Char('.')
                            : QStringLiteral("Cards not yet seen collapsed."));
    }
    return news;
}

void TableAccessible::TellDeal(QStringList& news) {
    if (!handDealt_) return;
    handDealt_ = false;
    dealAt_ = 0;
    if (newRound_) movesSpoken_.clear();  // a new round: its cards are new
    if (!dealWords_.isEmpty()) news << dealWords_;
    dealWords_.clear();
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
    if (widget && widget->objectName() == QLatin1String(kWindowObjectName))
        return NewWindowAccessible(widget);
    if (widget && widget->objectName() == QLatin1String(kPanelButtonObjectName))
        return NewPanelButtonAccessible(widget);
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
