#include "link/Frames.h"
#include "gtest/gtest.h"
#include <QString>
#include <unistd.h>
