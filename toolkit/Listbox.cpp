#include "toolkit/Listbox.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <sstream>

#include "toolkit/QtAlignment.h"
#include "toolkit/Threads.h"

namespace toolkit {
namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream input(text);
  while (std::getline(input, part, separator)) parts.push_back(part);
  return parts;
}

// Lets the control's CellBackgroundPaint event draw each cell's background before the cell.
class CellPainter : public QStyledItemDelegate {
 public:
  CellPainter(Listbox& list, QObject* parent) : QStyledItemDelegate(parent), list_(list) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    painter->save();
    painter->translate(option.rect.topLeft());
    Graphics g(*painter, option.rect.width(), option.rect.height());
    bool ownBackground = list_.PaintCellBackground(g, index.row(), index.column());
    painter->restore();
    QStyleOptionViewItem cell = option;
    if (ownBackground) cell.state &= ~QStyle::State_Selected;
    QStyledItemDelegate::paint(painter, cell, index);
  }

 private:
  Listbox& list_;
};

}  // namespace

int32_t Listbox::ColumnCount() const {
  RequireMainThread();
  return std::max(StoredInt("ColumnCount", 1), 1);
}

int32_t Listbox::ListCount() const {
  RequireMainThread();
  return static_cast<int32_t>(rows_.size());
}

std::string Listbox::Heading(int32_t column) const {
  RequireMainThread();
  return column >= 0 && column < static_cast<int32_t>(headings_.size()) ? headings_[static_cast<size_t>(column)]
                                                                         : std::string();
}

void Listbox::AddRow(const std::string& firstCell) {
  RequireMainThread();
  rows_.push_back({firstCell});
  const auto row = static_cast<int32_t>(rows_.size() - 1);
  if (auto* table = static_cast<QTableWidget*>(Widget())) {
    QSignalBlocker quiet(table);
    table->insertRow(row);
  }
  for (int32_t column = 0; column < ColumnCount(); ++column) ShowCell(row, column);
}

std::string Listbox::Cell(int32_t row, int32_t column) const {
  RequireMainThread();
  if (!HasCell(row, column)) return {};
  const std::vector<std::string>& cells = rows_[static_cast<size_t>(row)];
  return static_cast<size_t>(column) < cells.size() ? cells[static_cast<size_t>(column)] : std::string();
}

void Listbox::SetCell(int32_t row, int32_t column, const std::string& text) {
  RequireMainThread();
  if (!HasCell(row, column)) return;
  StoreCell(row, column, text);
  ShowCell(row, column);
}

int32_t Listbox::ColumnType(int32_t column) const {
  RequireMainThread();
  auto found = columnTypes_.find(column);
  return found == columnTypes_.end() ? TypeDefault : found->second;
}

void Listbox::SetColumnType(int32_t column, int32_t type) {
  RequireMainThread();
  columnTypes_[column] = type;
  ShowColumn(column);
}

int32_t Listbox::ColumnAlignment(int32_t column) const {
  RequireMainThread();
  auto found = columnAlignments_.find(column);
  return found == columnAlignments_.end() ? AlignDefault : found->second;
}

void Listbox::SetColumnAlignment(int32_t column, int32_t alignment) {
  RequireMainThread();
  columnAlignments_[column] = alignment;
  ShowColumn(column);
}

bool Listbox::PaintCellBackground(Graphics& g, int32_t row, int32_t column) {
  bool ownBackground = false;
  Deliver([&] { ownBackground = CellBackgroundPaint.Raise(*this, g, row, column); });
  return ownBackground;
}

void Listbox::Opened() {
  if (StoredBool("HasHeading", false)) headings_ = Split(StoredText("InitialValue"), '\t');
  ShowHeading();
  Deliver([this] { Open.Raise(*this); });
}

bool Listbox::HasCell(int32_t row, int32_t column) const {
  return row >= 0 && row < ListCount() && column >= 0 && column < ColumnCount();
}

// Rows hold only the cells up to the last one set.
void Listbox::StoreCell(int32_t row, int32_t column, const std::string& text) {
  std::vector<std::string>& cells = rows_[static_cast<size_t>(row)];
  if (cells.size() <= static_cast<size_t>(column)) cells.resize(static_cast<size_t>(column) + 1);
  cells[static_cast<size_t>(column)] = text;
}

void Listbox::ShowCell(int32_t row, int32_t column) {
  auto* table = static_cast<QTableWidget*>(Widget());
  if (!table) return;
  QSignalBlocker quiet(table);
  QTableWidgetItem* item = table->item(row, column);
  if (!item) {
    item = new QTableWidgetItem();
    table->setItem(row, column, item);
  }
  item->setText(QString::fromStdString(Cell(row, column)));
  item->setTextAlignment(AlignmentOf(ColumnAlignment(column)));
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (ColumnType(column) == TypeEditable) flags |= Qt::ItemIsEditable;
  item->setFlags(flags);
}

void Listbox::ShowColumn(int32_t column) {
  for (int32_t row = 0; row < ListCount(); ++row) ShowCell(row, column);
}

void Listbox::ShowHeading() {
  auto* table = static_cast<QTableWidget*>(Widget());
  QStringList labels;
  for (int32_t column = 0; column < ColumnCount(); ++column) labels << QString::fromStdString(Heading(column));
  table->setHorizontalHeaderLabels(labels);
  table->horizontalHeader()->setVisible(StoredBool("HasHeading", false));
}

// Widths in pixels, separated by blanks; a column without a width of its own keeps the
// widget's default.
void Listbox::ShowColumnWidths() {
  auto* table = static_cast<QTableWidget*>(Widget());
  std::vector<std::string> widths = Split(StoredText("ColumnWidths"), ' ');
  for (size_t column = 0; column < widths.size() && column < static_cast<size_t>(ColumnCount()); ++column) {
    bool number = false;
    int width = QString::fromStdString(widths[column]).toInt(&number);
    if (number && width >= 0) table->setColumnWidth(static_cast<int>(column), width);
  }
}

void Listbox::ShowScrollBars() {
  auto* table = static_cast<QTableWidget*>(Widget());
  const Qt::ScrollBarPolicy shown = StoredBool("AutoHideScrollbars", true) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn;
  table->setVerticalScrollBarPolicy(StoredBool("ScrollBarVertical", true) ? shown : Qt::ScrollBarAlwaysOff);
  table->setHorizontalScrollBarPolicy(StoredBool("ScrollbarHorizontal", true) ? shown : Qt::ScrollBarAlwaysOff);
}

QWidget* Listbox::CreateWidget(QWidget* parent) {
  auto* table = new QTableWidget(0, ColumnCount(), parent);
  table->verticalHeader()->setVisible(false);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setItemDelegate(new CellPainter(*this, table));
  // Cells set from code are shown under a signal blocker, so a change here is the user's.
  QObject::connect(table, &QTableWidget::itemChanged, table, [this](QTableWidgetItem* item) {
    if (HasCell(item->row(), item->column())) StoreCell(item->row(), item->column(), item->text().toStdString());
  });
  return table;
}

void Listbox::SyncWidget(std::string_view key) {
  auto* table = static_cast<QTableWidget*>(Widget());
  if (key == "ColumnCount") {
    table->setColumnCount(ColumnCount());
    for (int32_t column = 0; column < ColumnCount(); ++column) ShowColumn(column);
    ShowHeading();
    ShowColumnWidths();
  } else if (key == "ColumnWidths") {
    ShowColumnWidths();
  } else if (key == "HasHeading") {
    ShowHeading();
  } else if (key == "ColumnsResizable") {
    table->horizontalHeader()->setSectionResizeMode(StoredBool("ColumnsResizable", true) ? QHeaderView::Interactive
                                                                                         : QHeaderView::Fixed);
  } else if (key == "SelectionType") {
    table->setSelectionMode(StoredInt("SelectionType", 0) == 0 ? QAbstractItemView::SingleSelection
                                                               : QAbstractItemView::ExtendedSelection);
  } else if (key == "ScrollBarVertical" || key == "ScrollbarHorizontal" || key == "AutoHideScrollbars") {
    ShowScrollBars();
  } else {
    RectControl::SyncWidget(key);
  }
}

}  // namespace toolkit
