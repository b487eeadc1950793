#include "skin/base/MenuController.h"

#include "host/ui/Application.h"
#include "host/ui/Forms.h"

namespace qz {

TqzMenuController* FirstController(const TComponent& component) {
  for (int i = 0; i < component.ComponentCount(); ++i)
    if (auto* controller = dynamic_cast<TqzMenuController*>(component.Components(i))) return controller;
  return nullptr;
}

TqzMenuController* MenuControllerOf(TCustomForm& form) {
  TqzMenuController* own = FirstController(form);
  if (form.FormStyle() != fsMDIChild) return own;
  TCustomForm* main = Application ? Application->MainForm() : nullptr;
  TqzMenuController* mains = main && main != &form ? FirstController(*main) : nullptr;
  return mains ? mains : own;
}

TqzMenuController* MenuController(TComponent* component) {
  for (TComponent* c = component; c != nullptr; c = c->Owner())
    if (auto* form = dynamic_cast<TCustomForm*>(c)) return MenuControllerOf(*form);
  return nullptr;
}

}  // namespace qz
