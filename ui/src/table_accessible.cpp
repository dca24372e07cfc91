// The table window as assistive technology sees it: one child for each
// thing a person can see and act on (the core's table items), named as the
// core names them and placed where the table is drawn at its present scale.
#include "ui/table_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>
#include <string>
#include <vector>

#include "game/table_items.h"
#include "ui/quorla_client.h"

namespace {

TableAnnouncementListener Listener = nullptr;

// The cards are named with the marks the picture draws on them.
std::vector<TableItem> ItemsOf(QuorlaClient& table) { return TableItems(table.Table().Deck, table.Picture().Marks()); }

// Screen pixels of a table area: through the picture's scale to the composed
// table, then from device pixels to the widget's and the screen's.
QRect ScreenRect(const QuorlaClient& table, const TRect& area) {
  const TRect device = table.Picture().ToBuffer(area);
  const double ratio = table.devicePixelRatioF();
  const QRect place = table.TablePlace();
  const QRect local = QRectF((place.left() + device.left) / ratio, (place.top() + device.top) / ratio,
                             device.Width() / ratio, device.Height() / ratio)
                          .toAlignedRect();
  return {table.mapToGlobal(local.topLeft()), local.size()};
}

std::optional<size_t> FocusedIndex(QuorlaClient& table, const std::vector<TableItem>& items) {
  const std::optional<TableFocus> focus = table.KeyboardFocus();
  return focus ? FocusedItem(items, *focus) : std::nullopt;
}

// One card or place, by its index among the table's items; it reads the
// table anew on every question, so it never holds a stale name.
class TableItemAccessible : public QAccessibleInterface {
 public:
  TableItemAccessible(QuorlaClient* table, int index) : Table(table), Index(index) {}

  bool isValid() const override { return Table && Item().has_value(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return Table ? Table->window()->windowHandle() : nullptr; }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(Table); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text kind) const override {
    const std::optional<TableItem> item = Item();
    if (kind != QAccessible::Name || !item) return {};
    return QString::fromStdString(item->Name);
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    const std::optional<TableItem> item = Item();
    return item ? ScreenRect(*Table, item->Rect) : QRect();
  }
  QAccessible::Role role() const override { return QAccessible::ListItem; }
  QAccessible::State state() const override {
    QAccessible::State state;
    const std::optional<TableItem> item = Item();
    if (!item) {
      state.invalid = true;
      return state;
    }
    const TableItem::Kind kind = item->What;
    state.focusable = kind == TableItem::Kind::HAND_CARD || kind == TableItem::Kind::STOCK ||
                      kind == TableItem::Kind::DISCARD_PILE;
    const std::vector<TableItem> items = ItemsOf(*Table);
    state.focused = Table->hasFocus() && FocusedIndex(*Table, items) == static_cast<size_t>(Index);
    return state;
  }

 private:
  std::optional<TableItem> Item() const {
    if (!Table) return std::nullopt;
    std::vector<TableItem> items = ItemsOf(*Table);
    if (Index < 0 || static_cast<size_t>(Index) >= items.size()) return std::nullopt;
    return std::move(items[static_cast<size_t>(Index)]);
  }

  QPointer<QuorlaClient> Table;
  int Index;
};

// The table window with its items as children. The children are made
// when first asked for and live as long as the window's interface.
class TableAccessible : public QAccessibleWidget {
 public:
  explicit TableAccessible(QuorlaClient* table) : QAccessibleWidget(table), Table(table) {}
  ~TableAccessible() override {
    for (QAccessible::Id id : ChildIds) QAccessible::deleteAccessibleInterface(id);
  }

  int childCount() const override { return static_cast<int>(ItemsOf(*Table).size()); }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    while (ChildIds.size() <= static_cast<size_t>(index))
      ChildIds.push_back(QAccessible::registerAccessibleInterface(
          new TableItemAccessible(Table, static_cast<int>(ChildIds.size()))));
    return QAccessible::accessibleInterface(ChildIds[static_cast<size_t>(index)]);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
    for (size_t i = 0; i < ChildIds.size(); ++i)
      if (ChildIds[i] == id) return i < static_cast<size_t>(childCount()) ? static_cast<int>(i) : -1;
    return -1;
  }
  // A card held by the mouse lies above everything; otherwise the items
  // that show do not overlap, apart from a place under a card.
  QAccessibleInterface* childAt(int x, int y) const override {
    const std::vector<TableItem> items = ItemsOf(*Table);
    std::optional<size_t> found;
    for (size_t i = 0; i < items.size(); ++i) {
      if (!ScreenRect(*Table, items[i].Rect).contains(x, y)) continue;
      if (!found || items[i].What == TableItem::Kind::HELD_CARD || items[*found].What != TableItem::Kind::HELD_CARD)
        found = i;
    }
    return found ? child(static_cast<int>(*found)) : nullptr;
  }
  QAccessibleInterface* focusChild() const override {
    if (!Table->hasFocus()) return nullptr;
    const std::optional<size_t> index = FocusedIndex(*Table, ItemsOf(*Table));
    return index ? child(static_cast<int>(*index)) : nullptr;
  }

  // A move of the focus is said as a focus change; a new card or count
  // under the same focus as a change of name.
  void AnnounceFocus() {
    const std::vector<TableItem> items = ItemsOf(*Table);
    const std::optional<size_t> index = FocusedIndex(*Table, items);
    const std::string name = index ? items[*index].Name : std::string();
    if (index == Announced && name == AnnouncedName) return;
    const bool moved = index != Announced;
    Announced = index;
    AnnouncedName = name;
    if (!index) return;
    QAccessibleEvent event(Table, moved ? QAccessible::Focus : QAccessible::NameChanged);
    event.setChild(static_cast<int>(*index));
    if (Listener) Listener(&event);
    QAccessible::updateAccessibility(&event);
  }

 private:
  QuorlaClient* Table;
  mutable std::vector<QAccessible::Id> ChildIds;
  std::optional<size_t> Announced;
  std::string AnnouncedName;
};

QAccessibleInterface* TableInterfaceFactory(const QString&, QObject* object) {
  if (auto* table = qobject_cast<QuorlaClient*>(object)) return new TableAccessible(table);
  return nullptr;
}

}  // namespace

void InstallTableAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(TableInterfaceFactory);
    return true;
  }();
  (void)installed;
}

void AnnounceTableFocus(QuorlaClient& table) {
  // Without anyone listening no interface is made for it.
  if (!QAccessible::isActive() && !Listener) return;
  if (auto* iface = dynamic_cast<TableAccessible*>(QAccessible::queryAccessibleInterface(&table)))
    iface->AnnounceFocus();
}

void ListenToTableAnnouncements(TableAnnouncementListener listener) { Listener = listener; }
