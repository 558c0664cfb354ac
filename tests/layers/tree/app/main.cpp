#include "app/AppState.h"
#include "app/ui/frmMain.h"
#include "platform/qt/QtPlatform.h"
