#include "app/StartProgram.h"

#include "common/OperatorChoice.h"
#include "common/WindowRegistry.h"
#include "startup/frmSplash.h"

#include <QPushButton>

namespace zq {

bool startProgram()
{
    installOperatorChoiceAccessibility();
    frmSplash& splash = DefaultInstance<frmSplash>();
    splash.Form_Load();
    splash.show();
    splash.Command1->setFocus();
    return true;
}

} // namespace zq
