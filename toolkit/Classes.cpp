// The toolkit's classes that a layout may name.
#include "toolkit/Component.h"

#include "toolkit/Control.h"
#include "toolkit/OpenDialog.h"
#include "toolkit/PopupMenu.h"
#include "toolkit/Timer.h"

namespace tk {

void RegisterToolkitClasses() {
    RegisterClass(Component::StaticInfo());
    RegisterClass(Timer::StaticInfo());
    RegisterClass(PopupMenu::StaticInfo());
    RegisterClass(MenuItem::StaticInfo());
    RegisterClass(OpenDialog::StaticInfo());
    RegisterStandardClasses();  // TForm, TImage, TLabel, ... (ControlClasses.cpp)
}

}  // namespace tk
