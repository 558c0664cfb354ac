#include "sim/Core.h"
#include "platform/posix/PseudoTerminal.h"
#include "link/Commands.h"
#include <termios.h>
