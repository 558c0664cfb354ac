#pragma once
#include "platform/Result.h"
