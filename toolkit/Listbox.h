#pragma once
// The list box: rows of text cells under an optional heading. The control holds the cells;
// its widget shows them and hands the user's edits of editable columns back. Every operation
// is a user-interface one.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "toolkit/Control.h"
#include "toolkit/Event.h"
#include "toolkit/Graphics.h"

namespace toolkit {

class Listbox;

// Raised before a cell is drawn, with the cell's graphics context, its row and its column.
// A handler that returns true has drawn the whole background itself, so the list draws no
// selection highlight of its own under the cell's text.
class CellBackgroundPaintEvent {
 public:
  using Handler = std::function<bool(Listbox&, Graphics&, int32_t row, int32_t column)>;
  void Bind(Handler handler) { handler_ = std::move(handler); }
  bool Raise(Listbox& list, Graphics& g, int32_t row, int32_t column) const {
    return handler_ && handler_(list, g, row, column);
  }

 private:
  Handler handler_;
};

class Listbox : public RectControl {
 public:
  enum : int32_t { TypeDefault = 0, TypeEditable = 3 };
  enum : int32_t { AlignDefault = 0, AlignLeft = 1, AlignCenter = 2, AlignRight = 3 };

  int32_t ColumnCount() const;
  int32_t ListCount() const;
  // The heading of a column; empty for a column without one.
  std::string Heading(int32_t column) const;
  // Appends a row whose first cell holds the text and whose other cells are empty.
  void AddRow(const std::string& firstCell);
  // A cell's text; empty outside the list. Setting a cell outside the list does nothing.
  std::string Cell(int32_t row, int32_t column) const;
  void SetCell(int32_t row, int32_t column, const std::string& text);
  // TypeEditable lets the user edit the column's cells; any other type shows plain text.
  int32_t ColumnType(int32_t column) const;
  void SetColumnType(int32_t column, int32_t type);
  int32_t ColumnAlignment(int32_t column) const;
  void SetColumnAlignment(int32_t column, int32_t alignment);

  Event<Listbox&> Open;
  CellBackgroundPaintEvent CellBackgroundPaint;
  // The widget is about to draw a cell: raises CellBackgroundPaint; its result, or false
  // when the handler failed.
  bool PaintCellBackground(Graphics& g, int32_t row, int32_t column);

 protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void SyncWidget(std::string_view key) override;
  // Takes the headings from InitialValue (tab-separated) when HasHeading, then raises Open.
  void Opened() override;

 private:
  bool HasCell(int32_t row, int32_t column) const;
  void StoreCell(int32_t row, int32_t column, const std::string& text);
  void ShowCell(int32_t row, int32_t column);
  void ShowColumn(int32_t column);
  void ShowHeading();
  void ShowColumnWidths();
  void ShowScrollBars();

  std::vector<std::string> headings_;
  std::vector<std::vector<std::string>> rows_;
  std::map<int32_t, int32_t> columnTypes_;
  std::map<int32_t, int32_t> columnAlignments_;
};

}  // namespace toolkit
