#pragma once
// The visual controls of the toolkit. Every operation here is a user-interface operation:
// off the main thread it raises ThreadAccessingUIException.
#include <string>
#include <vector>

#include "toolkit/Control.h"
#include "toolkit/Event.h"

namespace toolkit {

class Label : public RectControl {
 public:
  std::string Text() const;
  void SetText(const std::string& text);

  void ApplyProperty(const PropertyEntry& entry) override;

 protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void StoredPropertyChanged(std::string_view key) override;
  void SyncWidget(std::string_view key) override;

 private:
  std::string text_;
};

class PushButton : public RectControl {
 public:
  std::string Caption() const;
  void SetCaption(const std::string& caption);
  Event<PushButton&> Action;
  // The user pushed the button (the widget's click, or the test runner's).
  void Push();

  void ApplyProperty(const PropertyEntry& entry) override;

 protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void SyncWidget(std::string_view key) override;

 private:
  std::string caption_;
};

class CheckBox : public RectControl {
 public:
  std::string Caption() const;
  bool Value() const;
  // Setting the value from code raises no event.
  void SetValue(bool ticked);
  std::optional<PropertyType> PropertyTypeOf(std::string_view key) const override;
  void ApplyProperty(const PropertyEntry& entry) override;
  Event<CheckBox&> Action;
  // The user clicked: the tick toggles, then Action runs.
  void Click();
  // Action raised from code, the tick kept.
  void RaiseAction();

 protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void SyncWidget(std::string_view key) override;

 private:
  std::string caption_;
  bool value_ = false;
};

class PopupMenu : public RectControl {
 public:
  int32_t ListCount() const;
  std::string List(int32_t row) const;
  void AddRow(const std::string& text);
  // Leaves no rows and no selection (ListIndex -1, raising Change when it was set).
  void DeleteAllRows();
  int32_t ListIndex() const;
  // Selects a row (-1: none; a row the list does not have selects none). Raises Change when
  // the selection changes.
  void SetListIndex(int32_t row);
  Event<PopupMenu&> Change;
  // The user picked a row.
  void Pick(int32_t row);

  void ApplyProperty(const PropertyEntry& entry) override;

 protected:
  QWidget* CreateWidget(QWidget* parent) override;

 private:
  void Select(int32_t row);
  std::vector<std::string> rows_;
  int32_t listIndex_ = 0;
};

class TabPanel : public RectControl {
 public:
  // The page in front, from 0.
  int32_t Value() const;
  void SetValue(int32_t page);
  std::vector<std::string> Pages() const;
  std::optional<PropertyType> PropertyTypeOf(std::string_view key) const override;
  void ApplyProperty(const PropertyEntry& entry) override;

 protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void SyncWidget(std::string_view key) override;

 private:
  int32_t value_ = 0;
};

class TextArea : public RectControl {
 public:
  const std::string& Text() const;
  // Copied into the room the text already has: the trace changes with every frame.
  void SetText(const std::string& text);

  void ApplyProperty(const PropertyEntry& entry) override;

 protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void SyncWidget(std::string_view key) override;

 private:
  void ShowText();

  std::string text_;   // held apart: it changes with every received frame
  std::string shown_;  // what the widget holds
};

class TextField : public RectControl {
 public:
  std::string Text() const;
  void SetText(const std::string& text);
  // The user edited the text.
  void Edited(const std::string& text);

  void ApplyProperty(const PropertyEntry& entry) override;

 protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void SyncWidget(std::string_view key) override;

 private:
  std::string text_;
};

}  // namespace toolkit
