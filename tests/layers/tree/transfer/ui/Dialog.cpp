#include "transfer/ui/Dialog.h"
#include "editors/ui/Window.h"
#include "link/Commands.h"
#include "factory/Tools.h"
