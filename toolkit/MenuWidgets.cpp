#include "toolkit/MenuWidgets.h"

#include <QMenu>
#include <QMenuBar>

#include "toolkit/MenuPeers.h"
#include "toolkit/Window.h"

namespace toolkit {

namespace {

enum class Container { Bar, Menu };

// The bar's children are menus even while empty; below them, an item with children is a submenu.
void AddMenuWidgets(Window& window, QWidget& container, const Ref<MenuItem>& parent, Container kind) {
  for (int32_t i = 0; i < parent->Count(); ++i) {
    Ref<MenuItem> item = parent->Item(i);
    QAction* action = nullptr;
    if (kind == Container::Bar || item->Count() > 0) {
      auto* menu = new QMenu(QString::fromStdString(item->Text()), &container);
      container.addAction(menu->menuAction());
      AddMenuWidgets(window, *menu, item, Container::Menu);
      action = menu->menuAction();
    } else if (item->IsSeparator()) {
      auto* menu = static_cast<QMenu*>(&container);
      action = menu->addSeparator();
    } else {
      action = new QAction(QString::fromStdString(item->Text()), &container);
      action->setShortcut(MenuShortcut(item->KeyboardShortcut()));
      std::string name = item->Name();
      QObject::connect(action, &QAction::triggered, action, [&window, name] { window.ChooseMenuItem(name); });
      container.addAction(action);
    }
    action->setVisible(item->Visible());
    action->setEnabled(item->Enabled());
    item->Peers().actions.emplace_back(action);
  }
}

}  // namespace

void AddMenuBarWidgets(Window& window, QMenuBar& widgets, const Ref<MenuBar>& bar) {
  AddMenuWidgets(window, widgets, bar, Container::Bar);
}

}  // namespace toolkit
