#include "editors/Panel.h"
#include "config/Document.h"
#include "app/AppState.h"
#include "editors/ui/Window.h"
