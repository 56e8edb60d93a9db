#pragma once
// The Qt actions that show one menu item (one per window carrying its menu bar).
// Internal to the toolkit.
#include <QAction>
#include <QKeySequence>
#include <QPointer>
#include <string>
#include <vector>

namespace toolkit {

class MenuItemPeers {
 public:
  std::vector<QPointer<QAction>> actions;
  template <class Apply>
  void ForEach(Apply apply) {
    for (auto& action : actions)
      if (action) apply(*action);
  }
};

QKeySequence MenuShortcut(const std::string& shortcut);

}  // namespace toolkit
