#include "toolkit/Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextCursor>
#include <optional>
#include <type_traits>

#include "toolkit/QtAlignment.h"
#include "toolkit/Threads.h"
#include "toolkit/Window.h"

namespace toolkit {
namespace {

QString ToQt(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QColor ToQt(const Colour& colour) { return QColor(colour.red, colour.green, colour.blue); }

// The font a record names; "System" at size 0 is the system font. A family that is not
// installed falls back to a fixed-pitch font when the record asked for one.
QFont FontOf(const Control& control, const QFont& systemFont) {
  QFont font = systemFont;
  const std::string family = ValueOr<std::string>(control.StoredProperty("TextFont"), "System");
  if (family != "System") {
    QString name = ToQt(family);
    if (QFontDatabase::hasFamily(name)) {
      font.setFamily(name);
    } else {
      font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    }
  }
  const float size = ValueOr<float>(control.StoredProperty("TextSize"), 0);
  if (size > 0) {
    const bool pixels = ValueOr<TextUnitCode>(control.StoredProperty("TextUnit"), {}).code == 1;
    if (pixels)
      font.setPixelSize(static_cast<int>(size));
    else
      font.setPointSizeF(size);
  }
  font.setBold(ValueOr<bool>(control.StoredProperty("Bold"), false));
  return font;
}

bool IsFontKey(std::string_view key) {
  return key == "TextFont" || key == "TextSize" || key == "TextUnit" || key == "Bold";
}

// Applies a record entry for a control with one property of its own: that key's value goes
// through the setter, any other entry to the base.
template <class ControlClass, class Value>
void ApplyThroughSetter(ControlClass& control, const PropertyEntry& entry, std::string_view key,
                        void (ControlClass::*setter)(Value)) {
  if (entry.key == key)
    (control.*setter)(std::get<std::decay_t<Value>>(entry.value));
  else
    control.RectControl::ApplyProperty(entry);
}

}  // namespace

// --- Label -------------------------------------------------------------------------------

std::string Label::Text() const {
  RequireMainThread();
  return text_;
}

void Label::SetText(const std::string& text) {
  RequireMainThread();
  Assign("Text", text_, text);
}

void Label::ApplyProperty(const PropertyEntry& entry) {
  ApplyThroughSetter(*this, entry, "Text", &Label::SetText);
}

QWidget* Label::CreateWidget(QWidget* parent) { return new QLabel(parent); }

void Label::StoredPropertyChanged(std::string_view key) {
  if (key == "Text")
    SyncWidgetSoon(key);
  else
    RectControl::StoredPropertyChanged(key);
}

void Label::SyncWidget(std::string_view key) {
  auto* label = static_cast<QLabel*>(Widget());
  if (key == "Text") {
    label->setText(ToQt(text_));
  } else if (key == "TextAlign") {
    label->setAlignment(AlignmentOf(StoredInt("TextAlign", 0)));
  } else if (key == "TextColor") {
    const PropertyValue* colour = StoredProperty("TextColor");
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ToQt(std::get<Colour>(*colour)));
    label->setPalette(palette);
  } else if (IsFontKey(key)) {
    label->setFont(FontOf(*this, QFont()));
  } else {
    RectControl::SyncWidget(key);
  }
}

// --- PushButton --------------------------------------------------------------------------

std::string PushButton::Caption() const {
  RequireMainThread();
  return caption_;
}

void PushButton::SetCaption(const std::string& caption) {
  RequireMainThread();
  Assign("Caption", caption_, caption);
}

void PushButton::ApplyProperty(const PropertyEntry& entry) {
  ApplyThroughSetter(*this, entry, "Caption", &PushButton::SetCaption);
}

void PushButton::Push() {
  Deliver([this] { Action.Raise(*this); });
}

QWidget* PushButton::CreateWidget(QWidget* parent) {
  auto* button = new QPushButton(parent);
  QObject::connect(button, &QPushButton::clicked, button, [this] { Push(); });
  return button;
}

void PushButton::SyncWidget(std::string_view key) {
  auto* button = static_cast<QPushButton*>(Widget());
  if (key == "Caption")
    button->setText(ToQt(caption_));
  else if (key == "Default")
    button->setDefault(StoredBool("Default", false));
  else
    RectControl::SyncWidget(key);
}

// --- CheckBox ----------------------------------------------------------------------------

std::string CheckBox::Caption() const {
  RequireMainThread();
  return caption_;
}

bool CheckBox::Value() const {
  RequireMainThread();
  return value_;
}

void CheckBox::SetValue(bool ticked) {
  RequireMainThread();
  Assign("Value", value_, ticked);
}

std::optional<PropertyType> CheckBox::PropertyTypeOf(std::string_view key) const {
  if (key == "Value") return PropertyType::Boolean;
  return RectControl::PropertyTypeOf(key);
}

void CheckBox::ApplyProperty(const PropertyEntry& entry) {
  if (entry.key == "Caption")
    Assign("Caption", caption_, std::get<std::string>(entry.value));
  else if (entry.key == "Value")
    SetValue(std::get<bool>(entry.value));
  else if (entry.key != "State")  // the tick again, as Value gives it
    RectControl::ApplyProperty(entry);
}

void CheckBox::Click() {
  SetValue(!value_);
  RaiseAction();
}

void CheckBox::RaiseAction() {
  Deliver([this] { Action.Raise(*this); });
}

QWidget* CheckBox::CreateWidget(QWidget* parent) {
  auto* box = new QCheckBox(parent);
  // The widget shows the control's value; a user click goes through Click, which sets it.
  QObject::connect(box, &QCheckBox::clicked, box, [this, box] {
    box->setChecked(value_);
    Click();
  });
  return box;
}

void CheckBox::SyncWidget(std::string_view key) {
  auto* box = static_cast<QCheckBox*>(Widget());
  if (key == "Caption")
    box->setText(ToQt(caption_));
  else if (key == "Value")
    box->setChecked(value_);
  else
    RectControl::SyncWidget(key);
}

// --- PopupMenu ---------------------------------------------------------------------------

int32_t PopupMenu::ListCount() const {
  RequireMainThread();
  return static_cast<int32_t>(rows_.size());
}

std::string PopupMenu::List(int32_t row) const {
  RequireMainThread();
  return row >= 0 && row < ListCount() ? rows_[static_cast<size_t>(row)] : std::string();
}

void PopupMenu::AddRow(const std::string& text) {
  RequireMainThread();
  rows_.push_back(text);
  if (auto* combo = static_cast<QComboBox*>(Widget())) {
    QSignalBlocker quiet(combo);
    combo->addItem(ToQt(text));
    combo->setCurrentIndex(listIndex_ < ListCount() ? listIndex_ : -1);
  }
}

void PopupMenu::DeleteAllRows() {
  RequireMainThread();
  rows_.clear();
  if (auto* combo = static_cast<QComboBox*>(Widget())) {
    QSignalBlocker quiet(combo);
    combo->clear();
  }
  Select(-1);
}

int32_t PopupMenu::ListIndex() const {
  RequireMainThread();
  return listIndex_;
}

void PopupMenu::SetListIndex(int32_t row) {
  RequireMainThread();
  Select(row);
}

void PopupMenu::Pick(int32_t row) {
  Deliver([this, row] { Select(row); });
}

void PopupMenu::Select(int32_t row) {
  int32_t selected = row >= 0 && row < ListCount() ? row : -1;
  if (selected == listIndex_) return;
  listIndex_ = selected;
  if (auto* combo = static_cast<QComboBox*>(Widget())) {
    QSignalBlocker quiet(combo);
    combo->setCurrentIndex(listIndex_);
  }
  Change.Raise(*this);
}

void PopupMenu::ApplyProperty(const PropertyEntry& entry) {
  // The record's ListIndex is the initial selection as stored, rows or not; it raises nothing.
  if (entry.key == "ListIndex")
    listIndex_ = std::get<int32_t>(entry.value);
  else
    RectControl::ApplyProperty(entry);
}

QWidget* PopupMenu::CreateWidget(QWidget* parent) {
  auto* combo = new QComboBox(parent);
  QObject::connect(combo, QOverload<int>::of(&QComboBox::activated), combo, [this](int row) { Pick(row); });
  return combo;
}

// --- TabPanel ----------------------------------------------------------------------------

int32_t TabPanel::Value() const {
  RequireMainThread();
  return value_;
}

void TabPanel::SetValue(int32_t page) {
  RequireMainThread();
  Assign("Value", value_, page);
}

std::vector<std::string> TabPanel::Pages() const {
  std::vector<std::string> pages;
  std::string definition = StoredText("TabDefinition");
  size_t start = 0;
  while (start <= definition.size()) {
    size_t end = definition.find('\r', start);
    if (end == std::string::npos) end = definition.size();
    pages.push_back(definition.substr(start, end - start));
    start = end + 1;
  }
  return pages;
}

std::optional<PropertyType> TabPanel::PropertyTypeOf(std::string_view key) const {
  if (key == "Value") return PropertyType::Int32;
  return RectControl::PropertyTypeOf(key);
}

void TabPanel::ApplyProperty(const PropertyEntry& entry) {
  ApplyThroughSetter(*this, entry, "Value", &TabPanel::SetValue);
}

QWidget* TabPanel::CreateWidget(QWidget* parent) {
  auto* tabs = new QTabWidget(parent);
  QObject::connect(tabs, &QTabWidget::currentChanged, tabs, [this](int page) {
    if (page >= 0) Assign("Value", value_, page);
  });
  return tabs;
}

void TabPanel::SyncWidget(std::string_view key) {
  auto* tabs = static_cast<QTabWidget*>(Widget());
  if (key == "TabDefinition") {
    QSignalBlocker quiet(tabs);
    while (tabs->count() > 0) delete tabs->widget(0);
    for (const std::string& page : Pages()) tabs->addTab(new QWidget(), ToQt(page));
    tabs->setCurrentIndex(value_);
  } else if (key == "Value") {
    QSignalBlocker quiet(tabs);
    tabs->setCurrentIndex(value_);
    if (Ref<Window> window = OwnerWindow()) window->RefreshShownControls();
  } else {
    RectControl::SyncWidget(key);
  }
}

// --- TextArea ----------------------------------------------------------------------------

const std::string& TextArea::Text() const {
  RequireMainThread();
  return text_;
}

void TextArea::SetText(const std::string& text) {
  RequireMainThread();
  text_ = text;
  SyncWidgetSoon("Text");
}

void TextArea::ApplyProperty(const PropertyEntry& entry) {
  ApplyThroughSetter(*this, entry, "Text", &TextArea::SetText);
}

namespace {

// The place in `after` where the text `before` carries on: `after` is the lines put in front of
// it, then its beginning (the trace grows at its top and is cut at its end). None when no line
// start of `after` is such a place.
std::optional<size_t> WhereEarlierTextCarriesOn(const std::string& before, const std::string& after) {
  size_t start = 0;
  while (true) {
    const size_t kept = after.size() - start;
    if (kept <= before.size() && after.compare(start, kept, before, 0, kept) == 0) return start;
    const size_t lineEnd = after.find('\n', start);
    if (lineEnd == std::string::npos) return std::nullopt;
    start = lineEnd + 1;
  }
}

}  // namespace

// Only what changed reaches the widget, so its unchanged lines keep their layout and its
// scroll bar, which repaints dearly, stays as it is while the trace holds as many lines.
void TextArea::ShowText() {
  auto* edit = static_cast<QPlainTextEdit*>(Widget());
  const std::optional<size_t> carriesOn = WhereEarlierTextCarriesOn(shown_, text_);
  if (!carriesOn || shown_.empty()) {
    edit->setPlainText(ToQt(text_));
  } else {
    const bool atTop = edit->verticalScrollBar()->value() == 0;
    const std::string_view kept = std::string_view(text_).substr(*carriesOn);
    QTextCursor cursor(edit->document());
    cursor.beginEditBlock();
    cursor.setPosition(static_cast<int>(QString::fromUtf8(kept.data(), static_cast<qsizetype>(kept.size())).size()));
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.setPosition(0);
    cursor.insertText(QString::fromUtf8(text_.data(), static_cast<qsizetype>(*carriesOn)));
    cursor.endEditBlock();
    // The newest line is on top: a view at the top stays there.
    if (atTop) edit->verticalScrollBar()->setValue(0);
  }
  shown_ = text_;
}

QWidget* TextArea::CreateWidget(QWidget* parent) {
  auto* edit = new QPlainTextEdit(parent);
  edit->setUndoRedoEnabled(false);  // edits come from code only; a history would grow forever
  edit->setReadOnly(true);
  edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  return edit;
}

void TextArea::SyncWidget(std::string_view key) {
  auto* edit = static_cast<QPlainTextEdit*>(Widget());
  if (key == "Text") {
    ShowText();
  } else if (key == "ReadOnly") {
    edit->setReadOnly(StoredBool("ReadOnly", true));
  } else if (key == "BackColor" || key == "TextColor") {
    QPalette palette = edit->palette();
    if (auto* back = StoredProperty("BackColor")) palette.setColor(QPalette::Base, ToQt(std::get<Colour>(*back)));
    if (auto* fore = StoredProperty("TextColor")) palette.setColor(QPalette::Text, ToQt(std::get<Colour>(*fore)));
    edit->setPalette(palette);
  } else {
    RectControl::SyncWidget(key);
  }
}

// --- TextField ---------------------------------------------------------------------------

std::string TextField::Text() const {
  RequireMainThread();
  return text_;
}

void TextField::SetText(const std::string& text) {
  RequireMainThread();
  Assign("Text", text_, text);
}

void TextField::Edited(const std::string& text) { Assign("Text", text_, text); }

void TextField::ApplyProperty(const PropertyEntry& entry) {
  ApplyThroughSetter(*this, entry, "Text", &TextField::SetText);
}

QWidget* TextField::CreateWidget(QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  QObject::connect(edit, &QLineEdit::textEdited, edit, [this](const QString& text) { Edited(text.toStdString()); });
  return edit;
}

void TextField::SyncWidget(std::string_view key) {
  auto* edit = static_cast<QLineEdit*>(Widget());
  if (key == "Text") {
    QString text = ToQt(text_);
    if (edit->text() != text) edit->setText(text);
  } else if (key == "ReadOnly") {
    edit->setReadOnly(StoredBool("ReadOnly", false));
  } else {
    RectControl::SyncWidget(key);
  }
}

}  // namespace toolkit
